#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <sstream>

namespace fs = std::filesystem;

TempDir::TempDir()
{
    static int counter = 0;
    const fs::path base = fs::temp_directory_path();
    for (;;)
    {
        fs::path candidate = base / ("velmora-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        if (fs::create_directory(candidate))
        {
            path = candidate.string();
            return;
        }
    }
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const
{
    const std::string file = File(name);
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    return file;
}

std::string TempDir::Read(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
