#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>
#include <string>
#include <vector>

class CAutomationHost;
class CKnobImage;
class CSynthResources;

// Colours of the knobs and panels (0x00BBGGRR).
constexpr uint32_t kAccentColour = 0x0080FE;  // RGB (254, 128, 0)
constexpr uint32_t kGreyColour = 0x808080;    // RGB (128, 128, 128)
constexpr uint32_t kBoxColour = 0x181818;     // RGB (24, 24, 24)

// Every program-field knob is this square, in pixels.
constexpr int32_t kKnobSide = 64;

// The integer part of v, NaN as 0 and limited to +-1e9, so that a damaged
// program field never makes an undefined conversion.
int32_t TruncateToInt(float v);
// The nearest integer to v (halves away from zero), with the same limits.
// Knob values come from fields this way: a stored 0.53 is 52.999996 x 100
// and must show as 53.
int32_t RoundToInt(float v);

// A value with a range that the mouse drags, drawn from the knob filmstrip:
// one step per 2 x sensitivity pixels of combined right-or-up movement.
// Notifying changes call OnChange. Runs on the user-interface thread.
class CParamKnobBase : public CCtrl
{
public:
    // image is shared, not owned (may be null: no picture is drawn).
    CParamKnobBase(CWin* window, CKnobImage* image);
    ~CParamKnobBase() override;

    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    // Blits the filmstrip frame of the current value at (8, 4).
    virtual void DrawKnob(CGraphic& g);
    // With notify: clamps v to the range and, when it differs, stores it,
    // sets changed, calls OnChange and repaints. Without: stores v as given.
    virtual void SetValue(int32_t v, bool notify);
    // value / maximum.
    virtual float GetNormalized();

    // The filmstrip frame of the current value, within the strip.
    int32_t Frame();
    // The knob is the window's pressed control (during a drag or click).
    bool IsPressed() const;

    bool dragging = false;
    int32_t value = 0;
    int32_t pressValue = 0;
    int32_t pressX = 0;
    int32_t pressY = 0;
    int32_t lastX = 0;
    int32_t lastY = 0;
    bool changed = false;
    int32_t backRed = 0;
    int32_t backGreen = 0;
    int32_t backBlue = 0;
    CKnobImage* image;
    int32_t step = 1;
    int32_t minimum = 0;
    int32_t maximum = 100;
    int32_t parameterIndex = -1;
    float sensitivity = 2.0f;
    uint32_t textColour;
    COnPaint* OnPrePaint = nullptr;   // owned
    COnGetText* OnGetText = nullptr;  // owned

protected:
    // The knob kind's picture between the background and the text.
    virtual void PaintBody(CGraphic& g);
};

// A plain knob; nothing of its own.
class CParamKnob : public CParamKnobBase
{
public:
    using CParamKnobBase::CParamKnobBase;
};

// Kinds of CParamValueKnob.
enum ParamKnobKind : int32_t
{
    kKnobPlain = 0,
    kKnobSwitch = 1,
    kKnobRadioList = 2,
    kKnobCyclingList = 3,
    kKnobBeatCount = 4
};

// A knob bound to one field of the current program (a float shown x 100 or
// an integer shown as it is), also drawn as a switch, a radio list, a
// cycling list or a beat-count knob (beats over a secondary division field).
// Every notifying change writes the field and repaints the window; a knob
// marked rebuildOnChange also asks the editor to rebuild its panels.
class CParamValueKnob : public CParamKnobBase
{
public:
    // Exactly one of floatField and intField is set; resources may be null.
    CParamValueKnob(CWin* window, CKnobImage* image, CSynthResources* resources, const char* label,
                    float* floatField, int32_t* intField);
    ~CParamValueKnob() override;

    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;
    void SetValue(int32_t v, bool notify) override;

    // Sets the range of both the knob and its binding.
    void SetRange(int32_t lo, int32_t hi);
    // Reports grabbing, every change and letting go of the knob to host as
    // edits of the parameter (a host parameter index); null host: to nobody.
    void ReportEditsTo(CAutomationHost* host, int32_t parameter);
    // Replaces the right-click binder (owned), deleting the one before.
    void SetRightClick(COnMouse* binder);
    // The value normalised over the range, as the host sees the parameter.
    float HostValue() const;
    // Takes the field's current value when something other than this knob
    // (host automation, a learned controller) changed it; not while the
    // player holds the knob. True when the value moved.
    bool FollowField();
    // The text of the value as the knob shows it while pressed.
    std::string ValueText() const;
    // What the knob shows under its picture: the item of a cycling list, the
    // value text while pressed, else the label.
    std::string DisplayText() const;
    // The item name at index v, empty when there is none.
    std::string Item(int32_t v) const;

    std::string label;
    float* floatField;
    int32_t* intField;
    int32_t* secondaryField = nullptr;
    int32_t rangeMinimum = 0;
    int32_t rangeMaximum = 100;
    int32_t defaultValue = 0;
    int32_t kind = kKnobPlain;
    bool rebuildOnChange = false;
    std::vector<std::string> items;
    COnMouse* OnRightClick = nullptr; // owned
    CSynthResources* resources;       // not owned
    CAutomationHost* automation = nullptr;  // not owned

protected:
    void PaintBody(CGraphic& g) override;

private:
    // OnChange: the value into the field, then the whole window repainted.
    void WriteBack(CCtrl* sender);
    // OnGetText: DisplayText.
    void GetText(CCtrl* sender, char*& text, int32_t value);
    // One whole edit (a click, a double click): grab, change, let go.
    void SetValueAsOneEdit(int32_t v);
    void BeginEdit();
    void EndEdit();

    bool editing = false;
};
