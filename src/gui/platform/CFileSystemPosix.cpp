#include "gui/platform/CFileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"))
        if (home[0] != '\0')
            return home;
    if (const passwd* pw = getpwuid(getuid()))
        if (pw->pw_dir != nullptr && pw->pw_dir[0] != '\0')
            return pw->pw_dir;
    return "/";
}

}  // namespace

std::vector<std::string> CFileSystem::Roots()
{
    std::vector<std::string> roots{"/"};
    const std::string home = HomeFolder();
    if (home != "/")
        roots.push_back(home);
    return roots;
}

std::string CFileSystem::DefaultFolder()
{
    return HomeFolder();
}

bool CFileSystem::List(const std::string& folder, std::vector<FileEntry>& entries)
{
    entries.clear();
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return false;
    while (const dirent* e = readdir(dir))
    {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        FileEntry entry;
        entry.name = name;
        // The entry type is not known on every file system; links count as what they point at.
        if (e->d_type == DT_DIR)
            entry.folder = true;
        else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK)
            entry.folder = (Attributes(Join(folder, name)) & kFileFolder) != 0;
        entries.push_back(entry);
    }
    closedir(dir);
    return true;
}

uint32_t CFileSystem::Attributes(const std::string& path)
{
    struct stat s;
    if (path.empty() || stat(path.c_str(), &s) != 0)
        return 0;
    return S_ISDIR(s.st_mode) ? kFileExists | kFileFolder : kFileExists;
}

bool CFileSystem::CreateFolder(const std::string& path)
{
    return !path.empty() && mkdir(path.c_str(), 0777) == 0;
}

char CFileSystem::Separator()
{
    return '/';
}
