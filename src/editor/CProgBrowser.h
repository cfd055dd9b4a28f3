#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>

class CSynth;
class CSynthResources;

// The Presets page: all 64 program names in 4 columns of 16 rows, the
// current program in the accent colour. A left release selects the program
// under the cursor, a left double click returns to the sound editor, a right
// release asks the owner for the bank menu (OnMenu, at local coordinates).
class CProgBrowser : public CCtrl
{
public:
    static constexpr int32_t kWidth = 600;
    static constexpr int32_t kHeight = 320;
    static constexpr int32_t kColumns = 4;
    static constexpr int32_t kRows = 16;
    static constexpr int32_t kRowHeight = 20;

    // synth and view are not owned.
    CProgBrowser(CWin* window, CSynth* synth, CSynthResources* view);
    ~CProgBrowser() override;

    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    // The program index under local (x, y) as the browser computes it (may lie outside 0..63).
    int32_t ProgramAt(int32_t x, int32_t y) const;

    CSynth* synth;
    CSynthResources* view;
    COnMouse* OnMenu = nullptr;  // owned
};

// The program header of the bottom strip: the current program's name, then
// a previous and a next button, each a square as high as the control. A
// release on the name switches between the sound editor and the Presets page.
class CProgHeader : public CCtrl
{
public:
    static constexpr int32_t kWidth = 160;
    static constexpr int32_t kHeight = 20;

    CProgHeader(CWin* window, CSynth* synth, CSynthResources* view);

    void Paint(CGraphic& g, Rect r) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    CSynth* synth;
    CSynthResources* view;
};
