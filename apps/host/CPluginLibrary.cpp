#include "CPluginLibrary.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

CPluginLibrary::~CPluginLibrary()
{
    Close();
}

#if defined(_WIN32)

bool CPluginLibrary::Open(const std::string& path)
{
    Close();
    handle = LoadLibraryA(path.c_str());
    if (!handle)
        error = "cannot load " + path + " (Windows error " + std::to_string(GetLastError()) + ")";
    return handle != nullptr;
}

void CPluginLibrary::Close()
{
    if (handle)
        FreeLibrary(static_cast<HMODULE>(handle));
    handle = nullptr;
}

VstPluginMainProc CPluginLibrary::Entry()
{
    if (!handle)
        return nullptr;
    HMODULE module = static_cast<HMODULE>(handle);
    FARPROC entry = GetProcAddress(module, "VSTPluginMain");
    if (!entry)
        entry = GetProcAddress(module, "main");
    if (!entry)
        error = "the library exports neither VSTPluginMain nor main";
    return reinterpret_cast<VstPluginMainProc>(reinterpret_cast<void*>(entry));
}

#else

bool CPluginLibrary::Open(const std::string& path)
{
    Close();
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
    {
        const char* reason = dlerror();
        error = reason ? reason : "cannot load " + path;
    }
    return handle != nullptr;
}

void CPluginLibrary::Close()
{
    if (handle)
        dlclose(handle);
    handle = nullptr;
}

VstPluginMainProc CPluginLibrary::Entry()
{
    if (!handle)
        return nullptr;
    void* entry = dlsym(handle, "VSTPluginMain");
    if (!entry)
        entry = dlsym(handle, "main");
    if (!entry)
        error = "the library exports neither VSTPluginMain nor main";
    return reinterpret_cast<VstPluginMainProc>(entry);
}

#endif
