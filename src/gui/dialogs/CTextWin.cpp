#include "gui/dialogs/CTextWin.h"

#include "gui/core/CClientGroup.h"
#include "gui/widgets/CButton.h"
#include "gui/widgets/CEdit.h"

namespace
{

constexpr int32_t kClientWidth = 240;
constexpr int32_t kMargin = 8;
constexpr int32_t kFieldHeight = 20;
constexpr int32_t kButtonWidth = 48;
constexpr int32_t kButtonHeight = 24;
constexpr int32_t kButtonsTop = kMargin + kFieldHeight + kMargin;
constexpr int32_t kClientHeight = kButtonsTop + kButtonHeight + kMargin;

}  // namespace

CTextWin::CTextWin(CApp* app, const char* title, const char* text, CWin* owner)
    : CDialog(app, owner, kWinTitleBar | kWinCentre, title, 0, 0, kClientWidth + 2 * kBorder,
              kClientHeight + kTitleHeight + 2 * kBorder),
      field(new CEdit(this))
{
    field->SetText(text);
    field->x = kMargin;
    field->y = kMargin;
    field->width = kClientWidth - 2 * kMargin;
    field->height = kFieldHeight;
    field->tabStop = 1;
    AddChild(field);
    int32_t x = kClientWidth - 2 * (kButtonWidth + kMargin);
    for (int32_t result : {kResultOk, kResultCancel})
    {
        CButton* b = new CButton(this, result == kResultOk ? "OK" : "Cancel");
        b->SetName(b->text);
        b->id = result;
        b->x = x;
        b->y = kButtonsTop;
        b->width = kButtonWidth;
        b->height = kButtonHeight;
        AddChild(b);
        x += kButtonWidth + kMargin;
    }
}

void CTextWin::RunModal()
{
    SetFocusCtrl(field);
    CDialog::RunModal();
}

const char* CTextWin::Text() const
{
    return field->text;
}
