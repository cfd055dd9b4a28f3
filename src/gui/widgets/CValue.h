#pragma once

#include "gui/widgets/CEdit.h"

#include <cstdint>
#include <string>

// A whole number shown in an edit field (item "value"), kept within
// [minimum, maximum] (a range whose maximum does not exceed its minimum
// holds only the minimum).
//
// Without the keyboard focus, dragging with the left button changes the
// number: value = start value + whole part of ((pixels moved up + pixels
// moved right) x 0.5 / sensitivity) x step x multiplier, where the
// multiplier is 10 with Shift held and 1 otherwise; when it changes during a
// drag, the drag starts afresh from the cursor and the current value. With
// live set every change is reported at once, otherwise once on release. A
// click that changes nothing gives the field the focus, and its text is
// then edited; the typed number is taken (clamped) when editing ends.
// Ctrl+wheel moves the value by one notch's sign (x10 with Shift).
class CValue : public CEdit
{
public:
    explicit CValue(CWin* window);

    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;
    bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override;
    void Focus(bool gained) override;

    // Sets the value, clamped to the range, and shows it; reports nothing.
    void SetValue(int32_t v);
    // Sets the range and clamps the value into it.
    void SetRange(int32_t low, int32_t high);
    // v within the range.
    int32_t Clamp(int64_t v) const;
    // Digits after the decimal point of the shown number (0 for a whole number).
    virtual int32_t Decimals() const;

    // The number of value units as text with decimals digits after the point.
    static std::string FormatNumber(int32_t v, int32_t decimals);
    // Reads a number with an optional sign and at most one '.' or ',' into
    // units of 10^-decimals (rounded half away from zero, saturated to the
    // 32-bit range); blanks around it are allowed. False when text is no number.
    static bool ParseNumber(const char* text, int32_t decimals, int32_t& out);

    int32_t value = 0;
    int32_t minimum = 0;
    int32_t maximum = 100;
    double sensitivity = 1.0;  // drag pixels per half step; 0 or less counts as 1
    int32_t step = 1;
    uint8_t live = 0;
    // The drag: where it (re)started, from which value, and its multiplier.
    int32_t pressX = 0;
    int32_t pressY = 0;
    int32_t startValue = 0;
    int32_t multiplier = 1;
    uint8_t dragging = 0;

protected:
    bool Accepts(char c) const override;
    void Commit() override;
    // Sets the value; a change is shown and reported. True on a change.
    bool ChangeValue(int64_t v);

private:
    int32_t valueAtPress = 0;
    int32_t clickX = 0;
    int32_t clickY = 0;
};
