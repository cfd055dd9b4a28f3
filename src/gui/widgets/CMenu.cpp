#include "gui/widgets/CMenu.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CPopup.h"

#include <algorithm>

namespace
{

// Room on either side of a caption.
constexpr int32_t kEntryPadding = 8;
constexpr int32_t kBarHeight = 20;

}  // namespace

CMenu::CMenu(CWin* window, int32_t look) : CGroup(window), look(look)
{
    height = kBarHeight;
    if (look == kMenuBar && window != nullptr && window->menuBar == nullptr)
        window->menuBar = this;
}

CMenu::~CMenu()
{
    if (deadFlag != nullptr)
        *deadFlag = true;
}

CMenuItem* CMenu::Add(const char* caption, int32_t id)
{
    CMenuItem* e = root.Add(caption, id);
    Invalidate();
    return e;
}

bool CMenu::HasFocus() const
{
    return window != nullptr && window->focusCtrl == this;
}

int32_t CMenu::EntryWidth(int32_t index)
{
    const char* caption = root.Entry(index)->text;
    const int32_t textWidth = MenuTextWidth(window, caption);
    const CSkinItem* sel = window != nullptr ? window->app->theme->Find("menubarsel") : nullptr;
    return std::max(textWidth + 2 * kEntryPadding, sel != nullptr ? sel->width : 0);
}

Rect CMenu::EntryRect(int32_t index)
{
    int32_t left = 0;
    for (int32_t i = 0; i < index; ++i)
        left += EntryWidth(i);
    return Rect{left, 0, left + EntryWidth(index), height};
}

int32_t CMenu::EntryAt(int32_t px)
{
    int32_t left = 0;
    for (int32_t i = 0; i < root.Count(); ++i)
    {
        const int32_t w = EntryWidth(i);
        if (px >= left && px < left + w)
            return i;
        left += w;
    }
    return -1;
}

void CMenu::Open(int32_t index)
{
    current = index;
    if (running)
    {
        pending = index;
        window->app->ClosePopups(nullptr);
        return;
    }
    CApp* app = window->app;
    bool dead = false;
    deadFlag = &dead;
    running = true;
    pending = index;
    while (pending >= 0)
    {
        current = pending;
        pending = -1;
        CMenuItem* e = root.Entry(current);
        if (e == nullptr || e->entryKind != kEntrySubmenu || e->Count() == 0)
            break;
        app->ClosePopups(nullptr);
        openIndex = current;
        Invalidate();
        bool chosen = false;
        {
            CPopup popup(app, window, e);
            const Rect bar = CPopup::ScreenRectOf(this);
            popup.PlaceBelow(Offset(EntryRect(current), bar.left, bar.top));
            popup.RunPopup();
            chosen = popup.chosen != 0;
        }
        if (dead)
            return;
        openIndex = -1;
        if (chosen && HasFocus())
            window->SetFocusCtrl(nullptr);
    }
    running = false;
    deadFlag = nullptr;
    // The press that opened the menu was spent on it.
    if (window->pressedCtrl == this)
        window->pressedCtrl = nullptr;
    Invalidate();
}

void CMenu::Paint(CGraphic& g, Rect r)
{
    CGui* theme = window->app->theme;
    const CSkinItem* back = theme->Find(look == kMenuBar ? "menubar" : "menutabs");
    DrawItem(g, r, back, 0);
    const CSkinItem* menu = theme->Find("menu");
    const CSkinItem* sel = theme->Find("menubarsel");
    const bool lit = HasFocus() || openIndex >= 0;
    for (int32_t i = 0; i < root.Count(); ++i)
    {
        const Rect er = EntryRect(i);
        uint32_t colour = menu != nullptr ? menu->itemtextcol : kWhite;
        if (look == kMenuBar)
        {
            if (i == current && lit)
                DrawMenuHighlight(g, er, sel, back, colour);
        }
        else
        {
            const CSkinItem* tab = theme->Find(i == current ? "menutabsel" : "menutab");
            DrawItem(g, er, tab, 0);
            colour = tab != nullptr ? tab->itemtextcol : colour;
        }
        g.Text(colour, root.Entry(i)->text, er, 0);
    }
}

void CMenu::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    CCtrl::MouseDown(px, py, flags);
    const int32_t i = EntryAt(px);
    if (!(flags & kMouseLeft) || i < 0)
        return;
    // The press closed the open popup on its way here: on its own entry it stays closed.
    if (running && openIndex == i)
    {
        pending = -1;
        return;
    }
    window->SetFocusCtrl(this);
    CMenuItem* e = root.Entry(i);
    if (e->entryKind == kEntrySubmenu)
    {
        Open(i);
        return;
    }
    current = i;
    Invalidate();
    e->Report();
}

void CMenu::MouseMove(int32_t px, int32_t py, int32_t flags)
{
    CCtrl::MouseMove(px, py, flags);
    if (!running || openIndex < 0)
        return;
    const int32_t i = EntryAt(px);
    CMenuItem* e = root.Entry(i);
    if (e != nullptr && i != openIndex && e->entryKind == kEntrySubmenu && e->Count() > 0)
        Open(i);
}

bool CMenu::KeyDown(int32_t key, int32_t mods)
{
    const int32_t n = root.Count();
    switch (key)
    {
    case kKeyEscape:
        window->SetFocusCtrl(nullptr);
        return true;
    case kKeyEnter:
    case kKeyDown:
    {
        if (n == 0)
            return true;
        const int32_t i = current >= 0 && current < n ? current : 0;
        CMenuItem* e = root.Entry(i);
        current = i;
        if (e->entryKind == kEntrySubmenu && openIndex != i)
            Open(i);
        else if (key == kKeyEnter && e->entryKind == kEntryPlain)
            e->Report();
        else
            Invalidate();
        return true;
    }
    case kKeyLeft:
    case kKeyRight:
    {
        if (n == 0)
            return true;
        const int32_t dir = key == kKeyLeft ? -1 : 1;
        const int32_t from = current >= 0 && current < n ? current : (dir > 0 ? -1 : n);
        const int32_t i = (from + dir + n) % n;
        if (openIndex >= 0)
        {
            Open(i);
            return true;
        }
        current = i;
        Invalidate();
        return true;
    }
    default:
        return CCtrl::KeyDown(key, mods);
    }
}

void CMenu::Focus(bool gained)
{
    if (gained && (current < 0 || current >= root.Count()) && root.Count() > 0)
        current = 0;
}
