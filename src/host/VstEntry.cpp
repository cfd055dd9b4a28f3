// The plug-in library's exported entry points. Built into the plug-in
// library alone, never into the core library, so that programs linking the
// core keep their own main.
#include "editor/CSynthEditorFactory.h"
#include "host/CVST24Plugin.h"
#include "synth/CSynth.h"

#include <memory>
#include <new>

// Older hosts look for the entry under the name main, which C++ reserves for
// programs. On Windows velmora.def exports VSTPluginMain under both names; on
// Linux a second function carries the symbol name main.
#if defined(_WIN32)
extern "C" AEffect* VSTPluginMain(audioMasterCallback host);
#else
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host);
extern "C" __attribute__((visibility("default"))) AEffect* VstLegacyMain(audioMasterCallback host) __asm__("main");

AEffect* VstLegacyMain(audioMasterCallback host)
{
    return VSTPluginMain(host);
}
#endif

// No exception leaves the library: a failed allocation means no plug-in.
AEffect* VSTPluginMain(audioMasterCallback host)
{
    if (!host)
        return nullptr;
    try
    {
        std::unique_ptr<CSynth> synth(new CSynth);
        auto* factory = new CSynthEditorFactory(*synth);
        CVST24Plugin* plugin = CVST24Plugin::Create(host, synth.release(), factory);
        return plugin ? plugin->getAeffect() : nullptr;
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}
