#include "lv2/CLv2Ui.h"

#include "editor/CEditorFactory.h"
#include "editor/CPluginWin.h"
#include "host/CPluginBase.h"
#include "lv2/Lv2Ports.h"

CLv2Ui::CLv2Ui(CPluginBase& core, CEditorFactory& factory, LV2UI_Write_Function write, LV2UI_Controller controller)
    : core(core), hosting(&factory, nullptr), write(write), controller(controller), followPorts(false)
{
    core.automation = this;
}

CLv2Ui::CLv2Ui(std::unique_ptr<CPluginBase> ownCore, std::unique_ptr<CEditorFactory> ownFactory,
               LV2UI_Write_Function write, LV2UI_Controller controller)
    : ownCore(std::move(ownCore)), ownFactory(std::move(ownFactory)), core(*this->ownCore),
      hosting(this->ownFactory.get(), nullptr), write(write), controller(controller), followPorts(true)
{
    core.automation = this;
}

// The window goes before the core it shows.
CLv2Ui::~CLv2Ui()
{
    hosting.Close();
    if (core.automation == this)
        core.automation = nullptr;
}

uintptr_t CLv2Ui::Open(uintptr_t parent, const LV2UI_Resize* resize)
{
    if (!hosting.Open(reinterpret_cast<void*>(parent)) || !hosting.Window())
        return 0;
    if (resize)
        resize->ui_resize(resize->handle, CEditorHosting::kEditorWidth, CEditorHosting::kEditorHeight);
    // The host's ports may still hold values from before the program the
    // instance plays: show it the program's own.
    if (!followPorts)
        UpdateDisplay();
    return static_cast<uintptr_t>(hosting.Window()->hwnd);
}

void CLv2Ui::PortEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer)
{
    const int32_t parameter = Lv2Ports::ParameterOfPort(port);
    int32_t knob = 0;
    if (!followPorts || parameter < 0 || format != 0 || bufferSize != sizeof(float) || !buffer ||
        !Lv2Ports::KnobFromPort(kParameters[parameter], *static_cast<const float*>(buffer), knob))
        return;
    core.SetParameter(parameter, Lv2Ports::Normalized(kParameters[parameter], knob));
}

int CLv2Ui::Idle()
{
    hosting.Idle();
    return hosting.Window() ? 0 : 1;
}

void CLv2Ui::BeginEdit(int32_t parameter)
{
    if (touch)
        touch->touch(touch->handle, Lv2Ports::ControlPort(parameter), true);
}

void CLv2Ui::Automate(int32_t parameter, float)
{
    WritePort(parameter);
}

void CLv2Ui::EndEdit(int32_t parameter)
{
    if (touch)
        touch->touch(touch->handle, Lv2Ports::ControlPort(parameter), false);
}

void CLv2Ui::UpdateDisplay()
{
    for (int32_t i = 0; i < kParameterTableSize; ++i)
        WritePort(i);
}

void CLv2Ui::WritePort(int32_t parameter)
{
    const ParameterInfo* info = FindParameter(parameter);
    if (!info || !write)
        return;
    const float value = Lv2Ports::PortValue(*info, Lv2Ports::KnobOfNormalized(*info, core.GetParameter(parameter)));
    write(controller, Lv2Ports::ControlPort(parameter), sizeof value, 0, &value);
}
