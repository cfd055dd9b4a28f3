#pragma once

#include "editor/CParamControl.h"

#include <cstdint>
#include <string>

class CKnobImage;

// A rotary knob drawn from the knob filmstrip. Dragging turns it one step
// per 2 x sensitivity pixels of combined right-or-up movement from the
// press; a double click sets its default. Each drag or double click is one
// edit for the host.
class CParamKnob : public CParamControl
{
public:
    // image is shared, not owned (may be null: no picture is drawn); def is
    // the double-click value.
    CParamKnob(CWin* window, CSynthResources* resources, CKnobImage* image, const char* label, float& field, int32_t lo,
               int32_t hi, int32_t def);
    CParamKnob(CWin* window, CSynthResources* resources, CKnobImage* image, const char* label, int32_t& field,
               int32_t lo, int32_t hi, int32_t def);

    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    void SetValue(int32_t v, bool notify) override;

    // The filmstrip frame of the current value, within the strip.
    int32_t Frame() const;

    const int32_t defaultValue;

protected:
    // sensitivity: drag pixels per half step.
    CParamKnob(CWin* window, CSynthResources* resources, CKnobImage* image, const char* label, float* floatField,
               int32_t* intField, int32_t lo, int32_t hi, int32_t def, float sensitivity);

    // The current frame at (8, 4).
    void PaintBody(CGraphic& g) override;
    void Release(int32_t x, int32_t y, int32_t flags) override;
    bool IsHeld() const override;

private:
    CKnobImage* image;
    const float sensitivity;
    bool dragging = false;
    // Some notifying change has been made: every later release writes the
    // field again.
    bool changed = false;
    int32_t pressValue = 0;
    int32_t pressX = 0;
    int32_t pressY = 0;
};

// A knob over a count of beats of a division held in a second field
// ("3/16"), turned four times slower than the others so that single beats
// can be picked.
class CBeatCountKnob : public CParamKnob
{
public:
    CBeatCountKnob(CWin* window, CSynthResources* resources, CKnobImage* image, const char* label, int32_t& beats,
                   int32_t& division, int32_t lo, int32_t hi, int32_t def);

    // "beats/division".
    std::string ValueText() const override;

    int32_t* const divisionField;
};
