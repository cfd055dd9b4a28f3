#include "gui/platform/CFileSystem.h"

namespace
{

bool IsSeparator(char c)
{
    // Windows takes both; elsewhere '\\' is an ordinary byte of a name.
    return c == CFileSystem::Separator() || c == '/';
}

}  // namespace

std::string CFileSystem::Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (IsSeparator(folder.back()))
        return folder + name;
    return folder + Separator() + name;
}

std::string CFileSystem::Parent(const std::string& path)
{
    std::string p = path;
    // Trailing separators do not make a component, except the root's own.
    while (p.size() > 1 && IsSeparator(p.back()))
        p.pop_back();
    const size_t at = p.find_last_of(Separator() == '/' ? "/" : "\\/");
    if (at == std::string::npos)
        return "";
    if (at == 0)
        return p.size() > 1 ? p.substr(0, 1) : "";
    // "c:\\name" keeps the drive's root.
    if (at == 2 && p[1] == ':' && Separator() != '/')
        return p.substr(0, 3);
    return p.substr(0, at);
}
