#include "gui/core/Binders.h"
#include "gui/core/CApp.h"
#include "gui/core/CClientGroup.h"
#include "gui/core/CCtrl.h"
#include "gui/core/CGroup.h"
#include "gui/core/CWin.h"
#include "gui/draw/CGraphic.h"
#include "gui/platform/CSoftContext.h"
#include "gui/platform/InputCodes.h"
#include "io/HeapString.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// Records what each handler received.
class Owner
{
public:
    void Mouse(CCtrl* sender, int32_t x, int32_t y, int32_t flags) { Note(sender, x, y, flags); }
    void DragStart(CCtrl* sender, int32_t, int32_t, int32_t)
    {
        ++drags;
        last = sender;
    }
    bool Key(CCtrl* sender, KeyRecord* key, int32_t mods)
    {
        Note(sender, key->key, key->mods, mods);
        return answer;
    }
    bool Wheel(CCtrl* sender, int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved)
    {
        Note(sender, x, y, flags, delta, reserved);
        return answer;
    }
    void Painted(CCtrl* sender, CGraphic& g, Rect r)
    {
        Note(sender, r.left, r.top, r.right, r.bottom);
        g.FillRect(0xFFFFFF, r);
    }
    void Note(CCtrl* sender, int32_t a, int32_t b, int32_t c, int32_t d = 0, int32_t e = 0)
    {
        ++calls;
        last = sender;
        values = {a, b, c, d, e};
    }

    int calls = 0;
    int drags = 0;
    CCtrl* last = nullptr;
    std::vector<int32_t> values;
    bool answer = true;
};

TEST(CCtrl, TextAndNameAreCopied)
{
    CCtrl c(nullptr);
    char buffer[] = "Cutoff";
    c.SetText(buffer);
    c.SetName(buffer);
    buffer[0] = 'X';
    EXPECT_STREQ(c.text, "Cutoff");
    char* name = c.GetName();
    EXPECT_STREQ(name, "Cutoff");
    EXPECT_NE(name, c.Name());
    FreeString(name);
}

TEST(CCtrl, DefaultHandlersCallTheirBindersWithTheArgumentsInOrderAndPassTheAnswer)
{
    Owner owner;
    CCtrl c(nullptr);
    CSoftContext dc(4, 4);
    CGraphic g(&dc);
    // Without binders nothing happens and nothing is handled.
    c.MouseDown(1, 2, kMouseLeft);
    EXPECT_FALSE(c.KeyDown(kKeyEnter, 0));
    EXPECT_FALSE(c.Wheel(0, 0, 0, 120, 0));
    c.Paint(g, Rect{0, 0, 2, 2});
    EXPECT_EQ(owner.calls, 0);

    c.OnMouseDown = new _COnMouse<Owner>(&owner, &Owner::Mouse);
    c.MouseDown(-3, 17, kMouseRight | kModShift);
    EXPECT_EQ(owner.last, &c);
    EXPECT_EQ(owner.values, (std::vector<int32_t>{-3, 17, kMouseRight | kModShift, 0, 0}));

    c.OnKeyDown = new _COnKey<Owner>(&owner, &Owner::Key);
    EXPECT_TRUE(c.KeyDown(kKeyEnter, kModCtrl));
    EXPECT_EQ(owner.values, (std::vector<int32_t>{kKeyEnter, kModCtrl, kModCtrl, 0, 0}));
    owner.answer = false;

    c.OnWheel = new _COnWheel<Owner>(&owner, &Owner::Wheel);
    EXPECT_FALSE(c.Wheel(1, 2, 32, -120, 5));
    EXPECT_EQ(owner.values, (std::vector<int32_t>{1, 2, 32, -120, 5}));

    c.OnPaint = new _COnPaint<Owner>(&owner, &Owner::Painted);
    c.Paint(g, Rect{0, 0, 2, 2});
    EXPECT_EQ(owner.values, (std::vector<int32_t>{0, 0, 2, 2, 0}));
    EXPECT_EQ(dc.GetPixel(1, 1), 0xFFFFFFu);
}

class DragTest : public ::testing::Test
{
protected:
    DragTest() : win(&app, nullptr, kWinNoBorder, "", 0, 0, 200, 200), group(new CGroup(&win)), c(new CCtrl(&win))
    {
        win.AddChild(group);
        group->x = 10;
        group->y = 20;
        group->AddChild(c);
        c->x = 5;
        c->y = 5;
        c->width = 50;
        c->height = 50;
        c->OnDragStart = new _COnMouse<Owner>(&owner, &Owner::DragStart);
        // Pressed at local (4, 4): window (19, 29).
        app.pressX = 19;
        app.pressY = 29;
    }

    CApp app;
    CWin win;
    CGroup* group;
    CCtrl* c;
    Owner owner;
};

TEST_F(DragTest, NinePixelsWithTheLeftButtonAndNoDragUnderWayStartADrag)
{
    c->MouseMove(12, 12, kMouseLeft);
    c->MouseMove(-4, -4, kMouseLeft);
    c->MouseMove(30, 30, kMouseRight);
    c->MouseMove(30, 30, 0);
    CList items;
    app.dropItems = &items;
    c->MouseMove(30, 30, kMouseLeft);
    EXPECT_EQ(owner.drags, 0);
    app.dropItems = nullptr;
    c->MouseMove(13, 4, kMouseLeft | kModCtrl);
    EXPECT_EQ(owner.drags, 1);
    EXPECT_EQ(owner.last, c);
    c->MouseMove(4, -5, kMouseLeft);
    EXPECT_EQ(owner.drags, 2);
}

TEST_F(DragTest, WindowPositionSubtractsScrollOffsets)
{
    int32_t wx = 0;
    int32_t wy = 0;
    c->WindowPosition(wx, wy);
    EXPECT_EQ(wx, 15);
    EXPECT_EQ(wy, 25);
    // A window's own x and y are screen coordinates and do not count.
    group->scrollY = 7;
    win.scrollX = 2;
    win.x = 300;
    c->WindowPosition(wx, wy);
    EXPECT_EQ(wx, 13);
    EXPECT_EQ(wy, 18);
}

TEST_F(DragTest, InvalidateMarksTheControlsWindowRectangle)
{
    c->Invalidate();
    EXPECT_EQ(win.dirty, (Rect{15, 25, 65, 75}));
    win.dirty = Rect{};
    c->SetVisible(false);
    c->Invalidate();
    EXPECT_TRUE(win.dirty.IsEmpty());
}

class Recorder : public CGroup
{
public:
    explicit Recorder(CWin* window) : CGroup(window) {}
    void ForwardUp(CCtrl* sender, int32_t value) override
    {
        forwarded = sender;
        forwardedValue = value;
    }
    void ForwardTextUp(const char* text, int32_t) override { forwardedText = NewString(text); }
    ~Recorder() override { FreeString(forwardedText); }

    CCtrl* forwarded = nullptr;
    int32_t forwardedValue = 0;
    char* forwardedText = nullptr;
};

TEST(CCtrl, ForwardsReachTheNearestAncestorThatHandlesThem)
{
    Recorder top(nullptr);
    CGroup* middle = new CGroup(nullptr);
    CCtrl* button = new CCtrl(nullptr);
    top.AddChild(middle);
    middle->AddChild(button);
    button->ForwardUp(button, 3);
    button->ForwardTextUp("close", 0);
    EXPECT_EQ(top.forwarded, button);
    EXPECT_EQ(top.forwardedValue, 3);
    EXPECT_STREQ(top.forwardedText, "close");
}

}  // namespace
