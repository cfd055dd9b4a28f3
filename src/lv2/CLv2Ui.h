#pragma once

#include "host/CAutomationHost.h"
#include "host/CEditorHosting.h"

#include <lv2/ui/ui.h>

#include <cstdint>
#include <memory>

class CEditorFactory;
class CPluginBase;

// The LV2 editor (an X11 UI): the same editor window as the VST plug-in,
// embedded in the host's window and driven by its idle calls. It edits a core
// and reports every knob move to the host as a control port write. With the
// plug-in instance at hand it edits that instance's core itself (program
// browser and bank files included) and keeps the host's ports in step; without
// it, it edits a core of its own that follows the control ports, so the
// editor works through the ports alone. All calls on the host's UI thread.
class CLv2Ui : private CAutomationHost
{
public:
    // Edits core through factory (neither owned; both outlive the UI); the
    // host's port values are not applied to it: the instance applies them.
    CLv2Ui(CPluginBase& core, CEditorFactory& factory, LV2UI_Write_Function write, LV2UI_Controller controller);
    // Edits a core of its own, which follows the host's port values.
    CLv2Ui(std::unique_ptr<CPluginBase> ownCore, std::unique_ptr<CEditorFactory> ownFactory, LV2UI_Write_Function write,
           LV2UI_Controller controller);
    ~CLv2Ui() override;

    // The host's touch feature, for grab and release of a knob (may be null).
    void UseTouch(const LV2UI_Touch* hostTouch) { touch = hostTouch; }

    // Opens the editor inside parent (an X window; 0 gives a window of its
    // own) and asks the host for the editor's size. The editor's X window,
    // or 0 when none could be opened.
    uintptr_t Open(uintptr_t parent, const LV2UI_Resize* resize);
    // A control port's new value (float format only).
    void PortEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer);
    // The host's idle tick: the editor's idle step and its pending input.
    // 0 while the editor is open.
    int Idle();

    CLv2Ui(const CLv2Ui&) = delete;
    CLv2Ui& operator=(const CLv2Ui&) = delete;

private:
    void BeginEdit(int32_t parameter) override;
    void Automate(int32_t parameter, float normalized) override;
    void EndEdit(int32_t parameter) override;
    void UpdateDisplay() override;
    // Writes the port of a parameter with the core's current value.
    void WritePort(int32_t parameter);

    std::unique_ptr<CPluginBase> ownCore;
    std::unique_ptr<CEditorFactory> ownFactory;
    CPluginBase& core;
    CEditorHosting hosting;
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    const LV2UI_Touch* touch = nullptr;
    bool followPorts;
};
