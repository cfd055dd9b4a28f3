#pragma once

#include <string>

// A fresh directory under the system's temporary folder, removed with its
// contents when the object goes away.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }
    // Writes bytes to a file in the directory and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // Reads a whole file; empty when missing.
    static std::string Read(const std::string& file);

private:
    std::string path;
};
