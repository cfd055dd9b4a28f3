#include "gui/core/CWin.h"

#include "gui/core/CApp.h"
#include "gui/core/CClientGroup.h"
#include "gui/core/CDragWin.h"
#include "gui/core/CHintWin.h"
#include "gui/core/WindowLoops.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"

namespace
{

constexpr int32_t kKeyF4 = kKeyF1 - 3;
constexpr int32_t kKeyF11 = kKeyF1 - 10;

}  // namespace

CWin::CWin(CApp* app, CWin* owner, uint32_t style, const char* title, int32_t x, int32_t y, int32_t width,
           int32_t height)
    : CGroup(this), clientGroup(new CClientGroup(this)), frame(*this), style(style), app(app), owner(owner)
{
    kind = kKindWindow;
    visible = 0;
    SetName(title);
    this->x = x;
    this->y = y;
    this->width = width;
    this->height = height;
    const int32_t b = BorderWidth();
    const int32_t top = b + ((style & kWinTitleBar) ? kTitleHeight : 0);
    clientGroup->x = b;
    clientGroup->y = top;
    clientGroup->width = width - 2 * b;
    clientGroup->height = height - top - b;
    clientGroup->anchor = kAnchorStretchX | kAnchorStretchY;
    clientGroup->marginX = b;
    clientGroup->marginY = b;
    CGroup::AddChild(clientGroup);
    if (style & kWinTitleBar)
    {
        titleBar = new CTitleBar(this, b);
        CGroup::AddChild(titleBar);
    }
    CWindowSystem* system = app->system;
    const bool child = (style & kWinEmbedded) && owner != nullptr;
    hwnd = system->Create(owner != nullptr ? owner->hwnd : 0, child, (style & kWinAppWindow) != 0,
                          Rect{x, y, x + width, y + height}, this);
    if (CDrawContext* dc = system->Context(hwnd))
        graphic = new CGraphic(dc);
    if (child)
        owner->ownedWindows.Add(this);
    else if (owner != nullptr)
        owner->dependentWindows.Add(this);
}

CWin::~CWin()
{
    Close();
    CWindowSystem* system = app->system;
    // From here on the system's messages for the window find no object.
    system->SetUserData(hwnd, nullptr);
    for (int32_t i = 0; i < ownedWindows.Count(); ++i)
    {
        CWin* w = static_cast<CWin*>(ownedWindows.Get(i));
        w->owner = nullptr;
        DestroySystemWindow(system, w);
    }
    for (int32_t i = 0; i < dependentWindows.Count(); ++i)
        static_cast<CWin*>(dependentWindows.Get(i))->owner = nullptr;
    if (owner != nullptr)
    {
        owner->ownedWindows.Remove(this);
        owner->dependentWindows.Remove(this);
    }
    app->WindowDestroyed(this);
    // The children still reach this window's fields while they are deleted,
    // so they go before the window's own part ends.
    CGroup::DeleteChildren();
    Forget(this);
    if (hwnd != 0)
        system->Destroy(hwnd);
    delete graphic;
    delete popupHandler;
    delete keyHandler;
    window = nullptr;
}

void CWin::Invalidate()
{
    if (!visible)
        return;
    InvalidateRect(Rect{0, 0, width, height});
    app->system->Update(hwnd);
}

void CWin::InvalidateRect(Rect r)
{
    dirty = Union(dirty, Normalised(r));
    app->system->Invalidate(hwnd, r);
}

void CWin::PaintBackground(CGraphic& g)
{
    const Rect whole{0, 0, width, height};
    const CSkinItem* item = app->theme->Find("winbkgnd");
    if (OnPaint != nullptr)
    {
        OnPaint->Call(this, g, whole);
    }
    else if (style & kWinBands)
    {
        const uint32_t colour = item != nullptr ? item->itemfillcol : 0;
        const int32_t b = BorderWidth();
        g.FillRect(colour, Rect{0, 0, width, 2 * b + kTitleHeight});
        g.FillRect(colour, Rect{0, 0, b, height});
        g.FillRect(colour, Rect{width - b, 0, width, height});
        g.FillRect(colour, Rect{0, height - b, width, height});
    }
    else
    {
        DrawItem(g, g.clip, item, kItemNoFrame);
    }
}

void CWin::Paint(CGraphic& g, Rect r)
{
    PaintBackground(g);
    for (int32_t i = 0; i < children.Count(); ++i)
    {
        CCtrl* child = Child(i);
        PaintChild(g, child, child->x - scrollX, child->y - scrollY);
    }
    if (OnPaint == nullptr && !(style & kWinNoBorder) && !(IsEmbedded() && (style & kWinAltMaximise)))
        DrawItem(g, r, app->theme->Find("winbkgnd"), kItemFrameOnly);
}

bool CWin::RefreshGraphic()
{
    CDrawContext* dc = app->system->Context(hwnd);
    if (dc == nullptr)
        return false;
    if (graphic == nullptr)
        graphic = new CGraphic(dc);
    if (graphic->dc != dc)
    {
        // A resized window may have a new context: nothing is selected in it.
        graphic->dc = dc;
        graphic->penColour = CGraphic::kNoSelection;
        graphic->brushColour = CGraphic::kNoSelection;
    }
    return true;
}

void CWin::PaintWindow(Rect area)
{
    const Rect whole{0, 0, width, height};
    area = Intersection(Normalised(area), whole);
    if (area.IsEmpty())
        return;
    if (!RefreshGraphic())
        return;
    CGraphic* target = graphic;
    if (app->doubleBuffer)
        if (CGraphic* back = app->BackBuffer(area.right, area.bottom))
            target = back;
    target->originX = 0;
    target->originY = 0;
    target->clip = area;
    target->fullRepaint = area == whole ? 1 : 0;
    Paint(*target, whole);
    if (target != graphic)
    {
        graphic->originX = 0;
        graphic->originY = 0;
        graphic->clip = area;
        graphic->Blit(*target, area, area.left, area.top);
    }
    dirty = Rect{};
}

void CWin::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    if (app->hintWindow != nullptr && app->hintWindow != this)
    {
        app->StopTimer(app->hintWindow);
        app->hintWindow->Close();
    }
    if (!(style & kWinNoActivate))
        app->system->SetCapture(hwnd);
    app->CancelAltTap();
    if (focusCtrl != nullptr && focusCtrl == menuBar)
        SetFocusCtrl(nullptr);
    if (CCtrl* hit = HitTest(px, py))
    {
        pressedCtrl = hit;
        int32_t wx = 0;
        int32_t wy = 0;
        hit->WindowPosition(wx, wy);
        hit->MouseDown(px - wx, py - wy, flags);
        return;
    }
    const int32_t zone = frame.Zone(px, py);
    if (zone == kZoneNone)
        return;
    if (zone == kZoneCaption && (flags & kMouseDouble) && !(style & kWinAltMaximise))
    {
        ToggleMaximise();
        return;
    }
    frame.Begin(zone);
}

void CWin::UpdateHover(CCtrl* hit, int32_t px, int32_t py)
{
    app->HoverOver(hit);
    // The hover handler may have changed the tree: look again.
    hit = HitTest(px, py);
    CCtrl* over = hit != nullptr && hit->tracksHover ? hit : nullptr;
    CCtrl* old = app->ReplaceOverCtrl(over);
    if (old == over)
        return;
    int32_t wx = 0;
    int32_t wy = 0;
    if (old != nullptr)
    {
        old->WindowPosition(wx, wy);
        old->Hover(false, px - wx, py - wy);
        old->Invalidate();
    }
    if (over != nullptr && app->overCtrl == over)
    {
        over->WindowPosition(wx, wy);
        over->Hover(true, px - wx, py - wy);
        over->Invalidate();
    }
}

void CWin::TrackDrag(int32_t px, int32_t py, int32_t flags)
{
    const Rect screen = app->system->ScreenRect(hwnd);
    const int32_t sx = screen.left + px;
    const int32_t sy = screen.top + py;
    CCtrl* target = nullptr;
    if (CWin* under = app->WindowAt(sx, sy))
    {
        const Rect r = app->system->ScreenRect(under->hwnd);
        for (CCtrl* c = under->HitTest(sx - r.left, sy - r.top); c != nullptr && target == nullptr; c = c->parent)
            if (c->OnDrop != nullptr)
                target = c;
    }
    // Each target is told where the cursor is in its own coordinates, also
    // the one left behind in another window.
    const auto dragOver = [&](CCtrl* c)
    {
        if (c->OnDragOver == nullptr || c->window == nullptr)
            return;
        const Rect r = app->system->ScreenRect(c->window->hwnd);
        int32_t wx = 0;
        int32_t wy = 0;
        c->WindowPosition(wx, wy);
        c->OnDragOver->Call(c, sx - r.left - wx, sy - r.top - wy, flags);
    };
    CCtrl* previous = app->ReplaceDropTarget(target);
    if (previous != nullptr && previous != target)
        dragOver(previous);
    // The previous target's binder may have deleted the new one.
    if (target != nullptr && app->dropTarget == target)
        dragOver(target);
    if (app->dragWindow != nullptr)
        app->dragWindow->Move(sx + kDragOffsetX, sy + kDragOffsetY);
}

void CWin::MouseMove(int32_t px, int32_t py, int32_t flags)
{
    if (frame.action != kZoneNone)
    {
        frame.Track(px, py);
        return;
    }
    if (pressedCtrl != nullptr)
    {
        CCtrl* p = pressedCtrl;
        int32_t wx = 0;
        int32_t wy = 0;
        p->WindowPosition(wx, wy);
        p->MouseMove(px - wx, py - wy, flags);
        if (pressedCtrl == p)
            app->system->SetCursor(CursorShapeOf(p->cursor));
        if (app->dropItems != nullptr)
            TrackDrag(px, py, flags);
        return;
    }
    if (CCtrl* hit = HitTest(px, py))
    {
        int32_t wx = 0;
        int32_t wy = 0;
        hit->WindowPosition(wx, wy);
        hit->MouseMove(px - wx, py - wy, flags);
    }
    // The move may have changed the tree: every later step hit-tests afresh.
    UpdateHover(HitTest(px, py), px, py);
    if (!(flags & kMouseLeft))
        frame.ShowCursor(frame.Zone(px, py), HitTest(px, py));
}

void CWin::MouseUp(int32_t px, int32_t py, int32_t flags)
{
    app->system->ReleaseCapture();
    if (CCtrl* p = pressedCtrl)
    {
        pressedCtrl = nullptr;
        int32_t wx = 0;
        int32_t wy = 0;
        p->WindowPosition(wx, wy);
        p->MouseUp(px - wx, py - wy, flags);
    }
    frame.End();
    if (app->dropItems == nullptr)
        return;
    if (app->dragWindow != nullptr)
        app->dragWindow->Close();
    if (app->dropItems->Count() > 0)
    {
        const Rect screen = app->system->ScreenRect(hwnd);
        const int32_t sx = screen.left + px;
        const int32_t sy = screen.top + py;
        if (CWin* under = app->WindowAt(sx, sy))
        {
            const Rect r = app->system->ScreenRect(under->hwnd);
            under->DeliverDrop(sx - r.left, sy - r.top, flags);
        }
    }
    app->EndDrop();
}

void CWin::DeliverDrop(int32_t px, int32_t py, int32_t flags)
{
    for (CCtrl* c = HitTest(px, py); c != nullptr && c != this; c = c->parent)
        if (c->OnDrop != nullptr)
        {
            int32_t wx = 0;
            int32_t wy = 0;
            c->WindowPosition(wx, wy);
            c->OnDrop->Call(c, px - wx, py - wy, flags);
            return;
        }
    if (OnDrop != nullptr)
        OnDrop->Call(this, px, py, flags);
}

bool CWin::Wheel(int32_t px, int32_t py, int32_t flags, int32_t delta, int32_t reserved)
{
    if (OnWheel != nullptr)
        return OnWheel->Call(this, px, py, flags, delta, reserved);
    CCtrl* hit = HitTest(px, py);
    if (hit == nullptr)
        return false;
    int32_t wx = 0;
    int32_t wy = 0;
    hit->WindowPosition(wx, wy);
    const int32_t lx = px - wx;
    const int32_t ly = py - wy;
    if (hit->Wheel(lx, ly, flags, delta, reserved))
        return true;
    for (CCtrl* c = hit->parent; c != nullptr && c != this; c = c->parent)
        if (c->Wheel(lx, ly, flags, delta, reserved))
            return true;
    return false;
}

bool CWin::KeyDown(int32_t key, int32_t mods)
{
    app->NoteKeyDown(key, mods);
    KeyRecord record{key, mods};
    if (app->keyHook != nullptr && app->keyHook->OnKeyDown != nullptr &&
        app->keyHook->OnKeyDown->Call(app->keyHook, &record, mods))
        return true;
    if (app->globalKeyHandler != nullptr && app->globalKeyHandler->Call(this, &record, mods))
        return true;
    if (keyHandler != nullptr && keyHandler->Call(this, &record, mods))
        return true;
    if (key == kKeyF4 && (mods & kModAlt))
    {
        Close();
        return true;
    }
    const bool focused = HasFocus();
    if (focused && keyTarget != nullptr && keyTarget->KeyDown(key, mods))
        return true;
    if ((focused || (style & kWinNoActivate)) && focusCtrl != nullptr && focusCtrl->KeyDown(key, mods))
        return true;
    if (OnKeyDown != nullptr && OnKeyDown->Call(this, &record, mods))
        return true;
    if (key == kKeyEscape && (style & kWinEscapeCloses) && (focused || (style & kWinNoActivate)))
    {
        Close();
        return true;
    }
    if (key == kKeyF11)
    {
        if (style & kWinAltMaximise)
            AlternativeMaximise();
        else
            ToggleMaximise();
        return true;
    }
    if (key == kKeyTab)
    {
        if (mods & kModCtrl)
        {
            app->NextWindow(this);
            return true;
        }
        if (TabToNext())
            return true;
    }
    if ((style & kWinKeysToOwner) && owner != nullptr && !(owner->style & kWinContainer))
        return owner->KeyDown(key, mods);
    return false;
}

bool CWin::TabToNext()
{
    if (focusCtrl == nullptr || focusCtrl->parent == nullptr)
        return false;
    const CList& siblings = focusCtrl->parent->children;
    const int32_t n = siblings.Count();
    const int32_t at = siblings.IndexOf(focusCtrl);
    for (int32_t k = 1; k <= n; ++k)
    {
        CCtrl* c = static_cast<CCtrl*>(siblings.Get((at + k) % n));
        if (c->tabStop)
        {
            SetFocusCtrl(c);
            return true;
        }
    }
    return false;
}

bool CWin::KeyUp(int32_t key, int32_t mods)
{
    KeyRecord record{key, mods};
    if (HasFocus() && keyTarget != nullptr && keyTarget->KeyUp(key, mods))
        return true;
    if (OnKeyUp != nullptr && OnKeyUp->Call(this, &record, mods))
        return true;
    if (menuBar != nullptr && app->TakeAltTap())
    {
        if (focusCtrl == menuBar)
        {
            if (app->topPopup != nullptr)
                app->ClosePopups(nullptr);
            else
                SetFocusCtrl(nullptr);
        }
        return true;
    }
    if (!(mods & kModAlt))
        app->CancelAltTap();
    return false;
}

void CWin::SetFocusCtrl(CCtrl* c)
{
    if (CCtrl* old = focusCtrl)
    {
        focusCtrl = nullptr;
        old->Focus(false);
        old->Invalidate();
    }
    focusCtrl = c;
    if (c != nullptr)
    {
        c->Focus(true);
        c->Invalidate();
    }
}

void CWin::Focus(bool gained)
{
    if (IsEmbedded() && (owner->style & kWinContainer))
    {
        if (gained)
        {
            owner->SetFocusCtrl(nullptr);
            ToFront(false);
        }
        return;
    }
    if (style & kWinContainer)
    {
        if (owner != nullptr)
            owner->Focus(gained);
        return;
    }
    if (gained)
    {
        if (!HasFocus())
            app->system->SetFocus(hwnd);
        if (keyTarget != nullptr && keyTarget->OnChange != nullptr)
            keyTarget->OnChange->Call(keyTarget);
    }
    else
    {
        SetFocusCtrl(nullptr);
        if (CCtrl* p = pressedCtrl)
        {
            pressedCtrl = nullptr;
            p->Invalidate();
        }
    }
    Invalidate();
}

void CWin::Layout()
{
    // Whoever measures text on graphic after a resize finds the live context.
    RefreshGraphic();
    const Rect r = app->system->ParentRect(hwnd);
    width = r.Width();
    height = r.Height();
    x = 0;
    y = 0;
    CGroup::Layout();
}

void CWin::AddChild(CCtrl* child)
{
    clientGroup->AddChild(child);
}

void CWin::DeleteChildren()
{
    clientGroup->DeleteChildren();
}

void CWin::Show(bool activate)
{
    if (visible)
        return;
    CWindowSystem* system = app->system;
    Layout();
    if (style & kWinCentre)
    {
        const Rect s = system->PrimaryScreen();
        int32_t nx = s.left + (s.Width() - width) / 2;
        const int32_t ny = s.top + (s.Height() - height) / 2;
        // An owner on a second screen to the right takes its window along.
        if (owner != nullptr && system->ScreenRect(owner->hwnd).left >= s.Width())
            nx += s.Width();
        Move(nx, ny);
        style &= ~kWinCentre;
    }
    visible = 1;
    system->Show(hwnd, activate);
    system->Update(hwnd);
    app->WindowShown(this);
}

void CWin::ToFront(bool activate)
{
    app->system->Raise(hwnd, activate);
    if (IsEmbedded() && (owner->style & kWinContainer))
        owner->ChildChanged(this, false);
}

void CWin::Close()
{
    if (visible)
    {
        visible = 0;
        pressedCtrl = nullptr;
        focusCtrl = nullptr;
        app->WindowHidden(this);
        app->system->Hide(hwnd);
        if (IsEmbedded() && (owner->style & kWinContainer))
            owner->ChildChanged(this, true);
    }
    app->RemovePopup(this);
}

void CWin::RunPopup()
{
    RunPopupLoop(*this);
}

void CWin::RunModal()
{
    RunModalLoop(*this);
}

void CWin::DestroySystemWindow(CWindowSystem* system, CWin* w)
{
    for (int32_t i = 0; i < w->ownedWindows.Count(); ++i)
        DestroySystemWindow(system, static_cast<CWin*>(w->ownedWindows.Get(i)));
    if (w->hwnd == 0)
        return;
    system->SetUserData(w->hwnd, nullptr);
    system->Destroy(w->hwnd);
    w->hwnd = 0;
}

void CWin::GetSize(int32_t& w, int32_t& h)
{
    const Rect r = app->system->ScreenRect(hwnd);
    w = r.Width();
    h = r.Height();
}

void CWin::GetPos(bool relativeToParent, int32_t& px, int32_t& py)
{
    const Rect r = relativeToParent && IsEmbedded() ? app->system->ParentRect(hwnd) : app->system->ScreenRect(hwnd);
    px = r.left;
    py = r.top;
}

void CWin::Move(int32_t px, int32_t py)
{
    x = px;
    y = py;
    const Rect r = app->system->ParentRect(hwnd);
    app->system->SetRect(hwnd, Rect{px, py, px + r.Width(), py + r.Height()});
}

bool CWin::HasFocus()
{
    return hwnd != 0 && app->system->Focus() == hwnd;
}

void CWin::ToggleMaximise()
{
    CWindowSystem* system = app->system;
    if (!maximized)
    {
        restoreRect = system->ParentRect(hwnd);
        maximized = 1;
        // An embedded window fills its owner's client area, leaving the
        // owner's title bar and frame alone; any other the work area of its
        // screen, leaving task bars and docks in view.
        const CClientGroup* area = IsEmbedded() ? owner->clientGroup : nullptr;
        system->SetRect(hwnd, area != nullptr ? Rect{area->x, area->y, area->x + area->width, area->y + area->height}
                                              : system->WorkArea((restoreRect.left + restoreRect.right) / 2,
                                                                 (restoreRect.top + restoreRect.bottom) / 2));
    }
    else
    {
        maximized = 0;
        system->SetRect(hwnd, restoreRect);
    }
    Invalidate();
}

void CWin::AlternativeMaximise()
{
    if (IsEmbedded() && (owner->style & kWinContainer))
        owner->ToggleMaximise();
}

void CWin::ChildChanged(CWin*, bool)
{
    if (OnChange != nullptr)
        OnChange->Call(this);
}

CCtrl* CWin::HitTest(int32_t px, int32_t py)
{
    const int32_t cx = px + scrollX;
    const int32_t cy = py + scrollY;
    for (int32_t i = 0; i < children.Count(); ++i)
    {
        CCtrl* child = Child(i);
        if (Rect{child->x, child->y, child->x + child->width, child->y + child->height}.Contains(cx, cy))
            return CGroup::HitTest(child, cx, cy);
    }
    return nullptr;
}

void CWin::Forget(CCtrl* c)
{
    if (pressedCtrl == c)
        pressedCtrl = nullptr;
    if (focusCtrl == c)
        focusCtrl = nullptr;
    if (menuBar == c)
        menuBar = nullptr;
    if (keyTarget == c)
        keyTarget = nullptr;
    if (app != nullptr)
        app->Forget(c);
}
