#pragma once

#include "gui/dialogs/CDialog.h"

#include <cstdint>

class CValue;

// The colour chooser (296 x 256): the labels "Red", "Green", "Blue" and
// "All" with a value control (0..255) to the right of each, a 128 x 76
// preview of the colour, and "OK" and "Cancel". "All" shows the mean of the
// three channels; changing it moves all three by the same amount (each
// clamped), so a colour gets lighter or darker and keeps its tint. A
// double click on the preview chooses the colour. While a value is typed,
// Enter and Escape first end its editing (focusFirst). After RunModal with
// result OK, colour holds the choice (0x00BBGGRR).
class CColorWin : public CDialog
{
public:
    CColorWin(CApp* app, const char* title, uint32_t colour, CWin* owner = nullptr);

    // Sets the colour and shows it in the value controls and the preview.
    void SetColour(uint32_t c);

    uint32_t colour;
    CValue* channels[3];  // red, green, blue; children
    CValue* all;          // a child
    CCtrl* preview;       // a child

private:
    void ChannelChanged(CCtrl* sender);
    void AllChanged(CCtrl* sender);
    void PaintPreview(CCtrl* sender, CGraphic& g, Rect r);
    void PreviewPressed(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
    void ShowAll();
};
