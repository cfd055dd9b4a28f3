#include "gui/dialogs/CDialog.h"

#include "gui/core/CApp.h"
#include "gui/core/CClientGroup.h"
#include "gui/platform/InputCodes.h"

CDialog::CDialog(CApp* app, CWin* owner, uint32_t style, const char* title, int32_t x, int32_t y, int32_t width,
                 int32_t height)
    : CWin(app, owner, style, title, x, y, width, height)
{
    keyHandler = new _COnKey<CDialog>(this, &CDialog::DialogKey);
}

void CDialog::RunModal()
{
    result = kResultNone;
    const bool deleting = deleteOnClose != 0;
    deleteOnClose = 0;
    CWin::RunModal();
    // Closed by the title bar, Alt+F4 or the system: nothing was chosen.
    if (result == kResultNone)
        result = kResultCancel;
    if (deleting)
        delete this;
}

void CDialog::ForwardUp(CCtrl* sender, int32_t value)
{
    if (sender != nullptr && sender->id != 0)
        End(sender->id);
    else
        CWin::ForwardUp(sender, value);
}

bool CDialog::DialogKey(CCtrl*, KeyRecord* key, int32_t)
{
    if (key == nullptr || (focusFirst && focusCtrl != nullptr))
        return false;
    if (key->key == kKeyEnter && !noEnter)
    {
        End(kResultOk);
        return true;
    }
    if (key->key == kKeyEscape)
    {
        End(kResultCancel);
        return true;
    }
    return false;
}

bool CDialog::Validate()
{
    return true;
}

void CDialog::End(int32_t code)
{
    result = code;
    if (code == kResultOk && !Validate() && result != kResultCancel)
    {
        result = kResultNone;
        return;
    }
    Close();
}

CClientDialog::CClientDialog(CApp* app, CWin* owner, uint32_t style, const char* title)
    : CDialog(app, owner, style, title, 0, 0, 2 * kBorder, 2 * kBorder)
{
}

void CClientDialog::SetContent(CGroup* group)
{
    if (content != nullptr)
        delete content;
    content = group;
    if (group == nullptr)
        return;
    group->x = 0;
    group->y = 0;
    group->anchor = kAnchorStretchX | kAnchorStretchY;
    group->marginX = 0;
    group->marginY = 0;
    const int32_t w = group->width + clientGroup->x + BorderWidth();
    const int32_t h = group->height + clientGroup->y + BorderWidth();
    AddChild(group);
    const Rect r = app->system->ParentRect(hwnd);
    app->system->SetRect(hwnd, Rect{r.left, r.top, r.left + w, r.top + h});
    Layout();
}
