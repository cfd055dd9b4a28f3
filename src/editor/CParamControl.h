#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>
#include <string>

class CAutomationHost;
class CSynthResources;

// The base of the editor's controls, 64 pixels square, bound to one field of
// the current program: a float shown x 100 or an integer shown as it is, in
// minimum..maximum. Every notifying change writes the field and repaints the
// window; a control marked rebuildOnChange also asks the editor to rebuild
// its panels. The subclasses give the picture and the handling of the mouse.
// Runs on the user-interface thread.
class CParamControl : public CCtrl
{
public:
    ~CParamControl() override;

    // Black, the subclass's picture, then the caption of OnGetText at the bottom.
    void Paint(CGraphic& g, Rect r) override;
    // A right release with a menu runs the menu only: choosing "Learn MIDI
    // CC" must not also flip a switch. Any other release goes to Release.
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    // With notify: clamps v to the range and, when it differs, stores it,
    // writes the field, reports it to the host during an edit and repaints.
    // Without: stores v as given.
    virtual void SetValue(int32_t v, bool notify);
    // Reports grabbing, every change and letting go of the control to host
    // as edits of the parameter (a host parameter index); null host: to nobody.
    void ReportEditsTo(CAutomationHost* host, int32_t parameter);
    // Replaces the right-click binder (owned), deleting the one before.
    void SetRightClick(COnMouse* binder);
    // Takes the field's current value when something other than this control
    // (host automation, a learned controller) changed it; not while the
    // player holds it. True when the value moved.
    bool FollowField();
    // The control is the window's pressed control (during a drag or click).
    bool IsPressed() const;
    // The text of the value as the control shows it while pressed.
    virtual std::string ValueText() const;
    // What the control shows under its picture: the value text while
    // pressed, else the label.
    virtual std::string DisplayText() const;

    std::string label;
    float* const floatField;
    int32_t* const intField;
    const int32_t minimum;
    const int32_t maximum;
    int32_t value;
    int32_t parameterIndex = -1;
    bool rebuildOnChange = false;
    COnGetText* OnGetText;  // owned; DisplayText unless replaced

protected:
    // Exactly one of floatField and intField is set; the value starts as the
    // field's. resources (not owned) may be null: nothing asks for a rebuild.
    CParamControl(CWin* window, CSynthResources* resources, const char* label, float* floatField, int32_t* intField,
                  int32_t lo, int32_t hi);

    // The picture between the background and the caption.
    virtual void PaintBody(CGraphic& g) = 0;
    // A release that is not a right click with a menu.
    virtual void Release(int32_t x, int32_t y, int32_t flags) = 0;
    // The player holds the control, so FollowField leaves it alone.
    virtual bool IsHeld() const;
    // The value into the field, then the whole window repainted.
    void WriteBack();
    // One whole edit (a click, a double click): grab, change, let go.
    void SetValueAsOneEdit(int32_t v);
    void BeginEdit();
    void EndEdit();

    uint32_t textColour;

private:
    // The field in knob units.
    int32_t FieldValue() const;
    // The value normalised over the range, as the host sees the parameter.
    float HostValue() const;
    // OnGetText: DisplayText.
    void GetText(CCtrl* sender, char*& text, int32_t value);

    CSynthResources* resources;
    CAutomationHost* automation = nullptr;
    COnMouse* OnRightClick = nullptr;  // owned
    bool editing = false;
};
