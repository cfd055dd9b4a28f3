#include "gui/dialogs/CColorWin.h"

#include "gui/core/CClientGroup.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CButton.h"
#include "gui/widgets/CLabel.h"
#include "gui/widgets/CValue.h"

#include <algorithm>

namespace
{

constexpr int32_t kWidth = 296;
constexpr int32_t kHeight = 256;
constexpr int32_t kLabelLeft = 16;
constexpr int32_t kLabelWidth = 48;
constexpr int32_t kRowHeight = 16;
constexpr int32_t kRowTops[4] = {16, 44, 72, 100};
constexpr int32_t kValueLeft = kLabelLeft + kLabelWidth + 8;
constexpr int32_t kValueWidth = 56;
constexpr int32_t kPreviewLeft = 144;
constexpr int32_t kPreviewTop = 16;
constexpr int32_t kPreviewWidth = 128;
constexpr int32_t kPreviewHeight = 76;
constexpr int32_t kButtonWidth = 48;
constexpr int32_t kButtonHeight = 24;
constexpr int32_t kMargin = 8;
constexpr int32_t kChannelMax = 255;
const char* const kNames[4] = {"Red", "Green", "Blue", "All"};

int32_t Channel(uint32_t c, int32_t index)
{
    return static_cast<int32_t>((c >> (8 * index)) & 0xFF);
}

}  // namespace

CColorWin::CColorWin(CApp* app, const char* title, uint32_t initial, CWin* owner)
    : CDialog(app, owner, kWinTitleBar | kWinCentre, title, 0, 0, kWidth, kHeight), colour(initial & 0xFFFFFF)
{
    // Enter and Escape first end the editing of a typed value.
    focusFirst = 1;
    for (int32_t i = 0; i < 4; ++i)
    {
        CLabel* label = new CLabel(this, kNames[i]);
        label->x = kLabelLeft;
        label->y = kRowTops[i];
        label->width = kLabelWidth;
        label->height = kRowHeight;
        AddChild(label);
        CValue* v = new CValue(this);
        v->SetName(kNames[i]);
        v->x = kValueLeft;
        v->y = kRowTops[i];
        v->width = kValueWidth;
        v->height = kRowHeight;
        v->SetRange(0, kChannelMax);
        v->live = 1;
        v->tabStop = 1;
        v->OnChange = i < 3 ? static_cast<COnChange*>(new _COnChange<CColorWin>(this, &CColorWin::ChannelChanged))
                            : new _COnChange<CColorWin>(this, &CColorWin::AllChanged);
        AddChild(v);
        if (i < 3)
            channels[i] = v;
        else
            all = v;
    }
    preview = new CCtrl(this);
    preview->x = kPreviewLeft;
    preview->y = kPreviewTop;
    preview->width = kPreviewWidth;
    preview->height = kPreviewHeight;
    preview->OnPaint = new _COnPaint<CColorWin>(this, &CColorWin::PaintPreview);
    preview->OnMouseDown = new _COnMouse<CColorWin>(this, &CColorWin::PreviewPressed);
    AddChild(preview);
    int32_t x = clientGroup->width - 2 * (kButtonWidth + kMargin);
    for (int32_t result : {kResultOk, kResultCancel})
    {
        CButton* b = new CButton(this, result == kResultOk ? "OK" : "Cancel");
        b->SetName(b->text);
        b->id = result;
        b->x = x;
        b->y = clientGroup->height - kButtonHeight - kMargin;
        b->width = kButtonWidth;
        b->height = kButtonHeight;
        AddChild(b);
        x += kButtonWidth + kMargin;
    }
    SetColour(colour);
}

void CColorWin::SetColour(uint32_t c)
{
    colour = c & 0xFFFFFF;
    for (int32_t i = 0; i < 3; ++i)
        channels[i]->SetValue(Channel(colour, i));
    ShowAll();
    preview->Invalidate();
}

void CColorWin::ShowAll()
{
    all->SetValue((Channel(colour, 0) + Channel(colour, 1) + Channel(colour, 2) + 1) / 3);
}

void CColorWin::ChannelChanged(CCtrl*)
{
    colour = static_cast<uint32_t>(channels[0]->value) | static_cast<uint32_t>(channels[1]->value) << 8 |
             static_cast<uint32_t>(channels[2]->value) << 16;
    ShowAll();
    all->Invalidate();
    preview->Invalidate();
}

void CColorWin::AllChanged(CCtrl*)
{
    const int32_t mean = (Channel(colour, 0) + Channel(colour, 1) + Channel(colour, 2) + 1) / 3;
    const int32_t delta = all->value - mean;
    uint32_t c = 0;
    for (int32_t i = 0; i < 3; ++i)
        c |= static_cast<uint32_t>(std::clamp(Channel(colour, i) + delta, 0, kChannelMax)) << (8 * i);
    colour = c;
    for (int32_t i = 0; i < 3; ++i)
    {
        channels[i]->SetValue(Channel(colour, i));
        channels[i]->Invalidate();
    }
    preview->Invalidate();
}

void CColorWin::PaintPreview(CCtrl*, CGraphic& g, Rect r)
{
    g.FillRect(colour, r);
    g.FrameRect(kWhite, r);
}

void CColorWin::PreviewPressed(CCtrl*, int32_t, int32_t, int32_t flags)
{
    if ((flags & kMouseLeft) && (flags & kMouseDouble))
        End(kResultOk);
}
