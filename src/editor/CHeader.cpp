#include "editor/CHeader.h"

#include "editor/CSynthResources.h"
#include "editor/EditorColours.h"
#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"

#include <utility>

CHeader::CHeader(CWin* window, CSynthResources* resources, std::vector<std::string> entries, int32_t* selected)
    : CGroup(window), entries(std::move(entries)), selectable(selected != nullptr), selected(selected),
      resources(resources)
{
    width = kWidth;
    height = kHeight;
}

CHeader::~CHeader()
{
    delete OnAdvance;
    delete OnMenu;
}

int32_t CHeader::RowLeft() const
{
    return (width - kEntryWidth * static_cast<int32_t>(entries.size())) / 2;
}

int32_t CHeader::EntryAt(int32_t px) const
{
    const int32_t count = static_cast<int32_t>(entries.size());
    if (count < 2)
        return -1;
    const int32_t offset = px - RowLeft();
    if (offset < 0)
        return -1;
    const int32_t entry = offset / kEntryWidth;
    return entry < count ? entry : -1;
}

void CHeader::Paint(CGraphic& g, Rect r)
{
    if (window != nullptr && window->app != nullptr)
        DrawItem(g, r, window->app->theme->Find("caption"), 0);
    const int32_t count = static_cast<int32_t>(entries.size());
    if (count < 2)
    {
        if (count == 1)
            g.Text(kAccentColour, entries[0].c_str(), r, 0);
        return;
    }
    for (int32_t i = 0; i < count; ++i)
    {
        const int32_t left = RowLeft() + i * kEntryWidth;
        const bool lit = !selectable || i == Selected();
        g.Text(lit ? kAccentColour : kGreyColour, entries[static_cast<size_t>(i)].c_str(),
               Rect{left, 0, left + kEntryWidth, height}, 0);
    }
}

void CHeader::MouseUp(int32_t px, int32_t py, int32_t flags)
{
    const int32_t entry = EntryAt(px);
    if (entry < 0 || !selectable)
        return;
    if (entry == Selected() && OnAdvance == nullptr)
        return;
    const int32_t buttons = flags & (kMouseLeft | kMouseRight | kMouseMiddle);
    if (buttons == kMouseLeft && entry == Selected() && OnAdvance != nullptr)
        OnAdvance->Call(this);
    *selected = entry;
    if (resources != nullptr)
        resources->RequestRebuild();
    if (buttons == kMouseRight && OnMenu != nullptr)
        OnMenu->Call(this, px, py, flags);
}
