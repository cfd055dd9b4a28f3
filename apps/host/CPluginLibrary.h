#pragma once

#include "host/VstAbi.h"

#include <string>

// A plug-in's dynamic library: loaded by path (dlopen on Linux, LoadLibrary
// on Windows), asked for its VST 2.4 entry and released again.
class CPluginLibrary
{
public:
    CPluginLibrary() = default;
    // Unloads the library.
    ~CPluginLibrary();

    // Loads the library at path; false, with Error() set, when it cannot.
    bool Open(const std::string& path);
    // Releases the library; every pointer into it becomes invalid.
    void Close();
    // The entry VSTPluginMain, else the older name main; null when neither
    // is exported (Error() says so).
    VstPluginMainProc Entry();
    const std::string& Error() const { return error; }

    CPluginLibrary(const CPluginLibrary&) = delete;
    CPluginLibrary& operator=(const CPluginLibrary&) = delete;

private:
    void* handle = nullptr;
    std::string error;
};
