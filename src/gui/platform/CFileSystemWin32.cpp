#include "gui/platform/CFileSystem.h"

#include <windows.h>

namespace
{

constexpr int32_t kDriveCount = 26;

}  // namespace

std::vector<std::string> CFileSystem::Roots()
{
    std::vector<std::string> roots;
    const DWORD mask = GetLogicalDrives();
    for (int32_t bit = 0; bit < kDriveCount; ++bit)
        if (mask & (DWORD{1} << bit))
            roots.push_back(std::string(1, static_cast<char>('A' + bit)) + ":");
    return roots;
}

std::string CFileSystem::DefaultFolder()
{
    return "c:";
}

bool CFileSystem::List(const std::string& folder, std::vector<FileEntry>& entries)
{
    entries.clear();
    const std::string pattern = Join(folder, "*");
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        // An empty drive or folder has no match at all, yet can be read.
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do
    {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        FileEntry entry;
        entry.name = name;
        entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back(entry);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return true;
}

uint32_t CFileSystem::Attributes(const std::string& path)
{
    if (path.empty())
        return 0;
    // "c:" alone names the drive's current folder: the root is meant.
    const std::string p = path.size() == 2 && path[1] == ':' ? path + "\\" : path;
    const DWORD a = GetFileAttributesA(p.c_str());
    if (a == INVALID_FILE_ATTRIBUTES)
        return 0;
    return (a & FILE_ATTRIBUTE_DIRECTORY) ? kFileExists | kFileFolder : kFileExists;
}

bool CFileSystem::CreateFolder(const std::string& path)
{
    return !path.empty() && CreateDirectoryA(path.c_str(), nullptr) != 0;
}

char CFileSystem::Separator()
{
    return '\\';
}
