#pragma once

#include "gui/core/CGroup.h"

class CSynthWin;

// The About page: three lines of grey text (product and version, the VST
// notice, the web address); a release on the third line opens the address.
class CAboutGroup : public CGroup
{
public:
    static constexpr int32_t kWidth = 600;
    static constexpr int32_t kHeight = 320;
    static constexpr int32_t kLineHeight = 20;
    static constexpr int32_t kInset = 8;

    explicit CAboutGroup(CSynthWin* window);

    void Paint(CGraphic& g, Rect r) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    CSynthWin* editor;
};

// Texts of the editor's title, version and About page.
extern const char* const kProductName;  // "Velmora"
extern const char* const kVersionText;  // "Version 1.2"
extern const char* const kBuildDate;    // "(22oct23)"
extern const char* const kWebAddress;
