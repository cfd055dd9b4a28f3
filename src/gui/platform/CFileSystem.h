#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Attribute bits of CFileSystem::Attributes; 0 means the path does not exist.
constexpr uint32_t kFileExists = 1;
constexpr uint32_t kFileFolder = 2;

// One entry of a folder listing: its name (bytes as the system gives them) and kind.
struct FileEntry
{
    std::string name;
    bool folder = false;
};

// The file system as the file browser sees it: roots, folder listings,
// attributes and making folders. Paths are byte strings exactly as the
// system gives them (no character set conversion), of any length: nothing
// is cut. One implementation per system: POSIX, and win32 (its ANSI calls,
// drive letters as roots).
class CFileSystem
{
public:
    // The roots to browse from: the drives present on Windows ("A:" ... "Z:"),
    // the root folder and the home folder elsewhere.
    static std::vector<std::string> Roots();
    // The folder a browser opens when none is given: the home folder
    // elsewhere, "c:" on Windows.
    static std::string DefaultFolder();
    // The entries of folder, without "." and ".."; false (and no entries)
    // when the folder cannot be read.
    static bool List(const std::string& folder, std::vector<FileEntry>& entries);
    // kFileExists, with kFileFolder for a folder; 0 when path does not exist.
    static uint32_t Attributes(const std::string& path);
    // Makes the folder path (its parent must exist); false on failure.
    static bool CreateFolder(const std::string& path);

    // The separator of path components ('\\' on Windows, '/' elsewhere).
    static char Separator();
    // folder and name joined with one separator.
    static std::string Join(const std::string& folder, const std::string& name);
    // The folder holding path ("" for a root or a bare name).
    static std::string Parent(const std::string& path);
};
