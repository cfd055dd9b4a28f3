#include "gui/core/Binders.h"
#include "gui/core/CCtrl.h"
#include "gui/draw/CGraphic.h"
#include "gui/platform/CSoftContext.h"
#include "io/HeapString.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

// Records what each handler received.
class Owner
{
public:
    void Changed(CCtrl* sender) { lastSender = sender; }
    void Mouse(CCtrl* sender, int32_t x, int32_t y, int32_t flags)
    {
        lastSender = sender;
        values[0] = x;
        values[1] = y;
        values[2] = flags;
    }
    void Painted(CCtrl* sender, CGraphic& g, Rect r)
    {
        lastSender = sender;
        graphic = &g;
        rect = r;
    }
    bool Key(CCtrl* sender, KeyRecord* key, int32_t mods)
    {
        lastSender = sender;
        values[0] = key->key;
        values[1] = key->mods;
        values[2] = mods;
        return answer;
    }
    bool Wheel(CCtrl* sender, int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved)
    {
        lastSender = sender;
        values[0] = x;
        values[1] = y;
        values[2] = flags;
        values[3] = delta;
        values[4] = reserved;
        return answer;
    }
    void Text(CCtrl* sender, char*& text, int32_t value)
    {
        lastSender = sender;
        text = NewString(value == 7 ? "seven" : "other");
    }

    CCtrl* lastSender = nullptr;
    int32_t values[5] = {};
    CGraphic* graphic = nullptr;
    Rect rect;
    bool answer = true;
};

TEST(Binders, EachCallsItsMemberWithTheArgumentsInOrderAndReturnsItsAnswer)
{
    Owner owner;
    CCtrl ctrl(nullptr);
    std::unique_ptr<COnChange> change(new _COnChange<Owner>(&owner, &Owner::Changed));
    change->Call(&ctrl);
    EXPECT_EQ(owner.lastSender, &ctrl);

    owner.lastSender = nullptr;
    std::unique_ptr<COnMouse> mouse(new _COnMouse<Owner>(&owner, &Owner::Mouse));
    mouse->Call(&ctrl, -3, 17, 1 | 32);
    EXPECT_EQ(owner.lastSender, &ctrl);
    EXPECT_EQ(owner.values[0], -3);
    EXPECT_EQ(owner.values[1], 17);
    EXPECT_EQ(owner.values[2], 33);

    CSoftContext dc(2, 2);
    CGraphic g(&dc);
    std::unique_ptr<COnPaint> paint(new _COnPaint<Owner>(&owner, &Owner::Painted));
    paint->Call(nullptr, g, Rect{1, 2, 3, 4});
    EXPECT_EQ(owner.graphic, &g);
    EXPECT_EQ(owner.rect, (Rect{1, 2, 3, 4}));

    std::unique_ptr<COnKey> key(new _COnKey<Owner>(&owner, &Owner::Key));
    KeyRecord record{-9, 16};
    EXPECT_TRUE(key->Call(nullptr, &record, 16));
    EXPECT_EQ(owner.values[0], -9);
    owner.answer = false;
    EXPECT_FALSE(key->Call(nullptr, &record, 16));

    std::unique_ptr<COnWheel> wheel(new _COnWheel<Owner>(&owner, &Owner::Wheel));
    EXPECT_FALSE(wheel->Call(nullptr, 1, 2, 32, -120, 5));
    EXPECT_EQ(owner.values[3], -120);
    EXPECT_EQ(owner.values[4], 5);
    owner.answer = true;
    EXPECT_TRUE(wheel->Call(nullptr, 1, 2, 32, -120, 5));

    std::unique_ptr<COnGetText> getText(new _COnGetText<Owner>(&owner, &Owner::Text));
    char* text = nullptr;
    getText->Call(nullptr, text, 7);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "seven");
    FreeString(text);
}

} // namespace
