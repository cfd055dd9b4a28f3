// The plug-in library's exported entry points. Built into the plug-in
// library alone, never into the core library, so that programs linking the
// core keep their own main.
#include "host/CVST24Plugin.h"
#include "synth/CSynth.h"

#include <new>

#if defined(_WIN32)
#define VELMORA_EXPORT extern "C" __declspec(dllexport)
#else
#define VELMORA_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The older name hosts look for is main, which C++ reserves for programs; the
// symbol is named by hand. 32-bit Windows prefixes C names with an
// underscore, which the export table drops again.
#if defined(_WIN32) && !defined(_WIN64)
#define VELMORA_LEGACY_ENTRY_SYMBOL "_main"
#else
#define VELMORA_LEGACY_ENTRY_SYMBOL "main"
#endif

VELMORA_EXPORT AEffect* VSTPluginMain(audioMasterCallback host);
VELMORA_EXPORT AEffect* VstLegacyMain(audioMasterCallback host) __asm__(VELMORA_LEGACY_ENTRY_SYMBOL);

// No exception leaves the library: a failed allocation means no plug-in.
AEffect* VSTPluginMain(audioMasterCallback host)
{
    if (!host)
        return nullptr;
    try
    {
        CVST24Plugin* plugin = CVST24Plugin::Create(host, new CSynth);
        return plugin ? plugin->getAeffect() : nullptr;
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

AEffect* VstLegacyMain(audioMasterCallback host)
{
    return VSTPluginMain(host);
}
