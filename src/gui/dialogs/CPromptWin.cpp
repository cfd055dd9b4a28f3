#include "gui/dialogs/CPromptWin.h"

#include "gui/core/CApp.h"
#include "gui/core/CClientGroup.h"
#include "gui/widgets/CButton.h"
#include "gui/widgets/CLabel.h"

#include <algorithm>

namespace
{

constexpr int32_t kButtonWidth = 48;
constexpr int32_t kButtonHeight = 24;
constexpr int32_t kButtonGap = 8;
constexpr int32_t kButtonsLeft = 8;
constexpr int32_t kButtonsTop = 48;
constexpr int32_t kMinTextWidth = 160;
// The message's margins: the window is 24 wider than the text, 12 a side.
constexpr int32_t kTextMargin = 12;
constexpr int32_t kTextTop = 8;
constexpr int32_t kTextHeight = 32;
constexpr int32_t kClientHeight = kButtonsTop + kButtonHeight + kButtonGap;

struct ButtonSpec
{
    int32_t flag;
    const char* caption;
};
constexpr ButtonSpec kButtons[] = {
    {kPromptOk, "OK"}, {kPromptYes, "Yes"}, {kPromptNo, "No"}, {kPromptCancel, "Cancel"}};

}  // namespace

CPromptWin::CPromptWin(CApp* app, const char* title, const char* message, int32_t flags, CWin* owner)
    : CDialog(app, owner, kWinTitleBar | kWinCentre, title, 0, 0, kMinTextWidth, kClientHeight)
{
    const int32_t textWidth = std::max(kMinTextWidth, graphic != nullptr ? graphic->TextWidth(message) : 0);
    const int32_t b = BorderWidth();
    // A message wider than the screen is cut at the screen's edge rather than pushing the buttons off it.
    const int32_t w = std::min(textWidth + 2 * b + 2 * kTextMargin, app->system->PrimaryScreen().Width());
    const int32_t h = clientGroup->y + kClientHeight + b;
    app->system->SetRect(hwnd, Rect{0, 0, w, h});
    Layout();

    CLabel* label = new CLabel(this, message);
    label->x = kTextMargin;
    label->y = kTextTop;
    label->width = clientGroup->width - 2 * kTextMargin;
    label->height = kTextHeight;
    label->anchor = kAnchorStretchX;
    label->marginX = kTextMargin;
    AddChild(label);

    if (!(flags & (kPromptOk | kPromptYes | kPromptNo | kPromptCancel)))
        flags = kPromptOk;
    int32_t x = kButtonsLeft;
    for (const ButtonSpec& spec : kButtons)
    {
        if (!(flags & spec.flag))
            continue;
        CButton* button = new CButton(this, spec.caption);
        button->SetName(spec.caption);
        button->id = spec.flag;
        button->x = x;
        button->y = kButtonsTop;
        button->width = kButtonWidth;
        button->height = kButtonHeight;
        AddChild(button);
        x += kButtonWidth + kButtonGap;
    }
}

int32_t Ask(CWin* window, const char* title, const char* message, int32_t flags)
{
    if (window == nullptr || window->app == nullptr)
        return kResultCancel;
    CPromptWin prompt(window->app, title, message, flags, window);
    prompt.RunModal();
    return prompt.result;
}
