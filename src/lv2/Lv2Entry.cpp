// The bundle library's exported entry points: the plug-in and its editor.
// The callbacks only find the instance and forward; no exception leaves the
// library.
#include "editor/CSynthEditorFactory.h"
#include "lv2/CLv2Plugin.h"
#include "lv2/CLv2Ui.h"
#include "synth/CSynth.h"

#include <lv2/instance-access/instance-access.h>

#include <cstring>
#include <memory>
#include <new>

namespace
{
constexpr const char* kUiUri = "urn:velmora:synth#ui";

CLv2Plugin* Plugin(LV2_Handle handle)
{
    return static_cast<CLv2Plugin*>(handle);
}

LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features)
{
    try
    {
        std::unique_ptr<CSynth> synth(new CSynth);
        auto* factory = new CSynthEditorFactory(*synth);
        return CLv2Plugin::Create(synth.release(), factory, rate, features);
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

void ConnectPort(LV2_Handle handle, uint32_t port, void* data)
{
    Plugin(handle)->ConnectPort(port, data);
}

void Activate(LV2_Handle handle)
{
    Plugin(handle)->Activate();
}

void Run(LV2_Handle handle, uint32_t frames)
{
    Plugin(handle)->Run(frames);
}

void Cleanup(LV2_Handle handle)
{
    delete Plugin(handle);
}

LV2_State_Status Save(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state, uint32_t,
                      const LV2_Feature* const*)
{
    try
    {
        return Plugin(handle)->Save(store, state);
    }
    catch (const std::bad_alloc&)
    {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

LV2_State_Status Restore(LV2_Handle handle, LV2_State_Retrieve_Function retrieve, LV2_State_Handle state, uint32_t,
                         const LV2_Feature* const*)
{
    try
    {
        return Plugin(handle)->Restore(retrieve, state);
    }
    catch (const std::bad_alloc&)
    {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

const void* ExtensionData(const char* uri)
{
    static const LV2_State_Interface state = {Save, Restore};
    return std::strcmp(uri, LV2_STATE__interface) == 0 ? &state : nullptr;
}

const LV2_Descriptor kDescriptor = {CLv2Plugin::kUri, Instantiate, ConnectPort,  Activate, Run,
                                    nullptr,          Cleanup,     ExtensionData};

const void* FindFeature(const LV2_Feature* const* features, const char* uri)
{
    for (int32_t i = 0; features && features[i]; ++i)
    {
        if (std::strcmp(features[i]->URI, uri) == 0)
            return features[i]->data;
    }
    return nullptr;
}

CLv2Ui* Ui(LV2UI_Handle handle)
{
    return static_cast<CLv2Ui*>(handle);
}

// With the instance at hand the editor shows its core; without, a core of
// the editor's own follows the ports.
CLv2Ui* MakeUi(const LV2_Feature* const* features, LV2UI_Write_Function write, LV2UI_Controller controller)
{
    if (auto* plugin = static_cast<CLv2Plugin*>(const_cast<void*>(FindFeature(features, LV2_INSTANCE_ACCESS_URI))))
    {
        if (plugin->EditorFactory())
            return new CLv2Ui(plugin->Core(), *plugin->EditorFactory(), write, controller);
    }
    auto synth = std::make_unique<CSynth>();
    auto factory = std::make_unique<CSynthEditorFactory>(*synth);
    return new CLv2Ui(std::move(synth), std::move(factory), write, controller);
}

LV2UI_Handle InstantiateUi(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                           LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    if (!pluginUri || std::strcmp(pluginUri, CLv2Plugin::kUri) != 0 || !widget)
        return nullptr;
    try
    {
        std::unique_ptr<CLv2Ui> ui(MakeUi(features, write, controller));
        ui->UseTouch(static_cast<const LV2UI_Touch*>(FindFeature(features, LV2_UI__touch)));
        const uintptr_t parent = reinterpret_cast<uintptr_t>(FindFeature(features, LV2_UI__parent));
        const uintptr_t window =
            ui->Open(parent, static_cast<const LV2UI_Resize*>(FindFeature(features, LV2_UI__resize)));
        if (window == 0)
            return nullptr;
        *widget = reinterpret_cast<LV2UI_Widget>(window);
        return ui.release();
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

void CleanupUi(LV2UI_Handle handle)
{
    delete Ui(handle);
}

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer)
{
    Ui(handle)->PortEvent(port, bufferSize, format, buffer);
}

int IdleUi(LV2UI_Handle handle)
{
    return Ui(handle)->Idle();
}

const void* UiExtensionData(const char* uri)
{
    static const LV2UI_Idle_Interface idle = {IdleUi};
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idle : nullptr;
}

const LV2UI_Descriptor kUiDescriptor = {kUiUri, InstantiateUi, CleanupUi, PortEvent, UiExtensionData};
}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
    return index == 0 ? &kUiDescriptor : nullptr;
}
