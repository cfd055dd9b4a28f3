#include "editor/CAboutGroup.h"

#include "editor/CSynthWin.h"
#include "editor/EditorColours.h"
#include "gui/draw/CGraphic.h"

#include <string>

const char* const kProductName = "Velmora";
const char* const kVersionText = "Version 1.2";
const char* const kBuildDate = "(22oct23)";
const char* const kWebAddress = "https://velmora.example.org/";

CAboutGroup::CAboutGroup(CSynthWin* window) : CGroup(window), editor(window)
{
    x = kInset;
    y = kInset;
    width = kWidth;
    height = kHeight;
}

void CAboutGroup::Paint(CGraphic& g, Rect r)
{
    CGroup::Paint(g, r);
    const std::string lines[] = {
        std::string(kProductName) + " - " + kVersionText + " " + kBuildDate,
        "VST Technology by Steinberg",
        std::string("Visit ") + kWebAddress,
    };
    int32_t top = kInset;
    for (const std::string& line : lines)
    {
        g.Text(kGreyColour, line.c_str(), Rect{kInset, top, width, top + kLineHeight}, kAlignLeft);
        top += kLineHeight;
    }
}

void CAboutGroup::MouseUp(int32_t, int32_t py, int32_t)
{
    const int32_t top = kInset + 2 * kLineHeight;
    if (py >= top && py < top + kLineHeight)
        editor->OpenWebAddress(kWebAddress);
}
