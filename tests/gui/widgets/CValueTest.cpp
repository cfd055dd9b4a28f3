#include "gui/widgets/CValue.h"

#include "WidgetTestKit.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CDecimalValue.h"
#include "gui/widgets/CIncDec.h"
#include "gui/widgets/CTextValue.h"

#include <climits>

namespace
{

class CValueTest : public WidgetTest
{
protected:
    // A 60 x 20 number field at (20, 100) holding 50 of 0..1000.
    CValue* Number()
    {
        CValue* v = new CValue(win);
        v->SetRange(0, 1000);
        v->SetValue(50);
        v->OnChange = changes.Binder();
        return Put(v, 20, 100, 60, 20);
    }

    Reports changes{[](CCtrl* c)
                    {
                        auto* v = dynamic_cast<CValue*>(c);
                        return v != nullptr ? v->value : -1;
                    }};
};

TEST(CValueNumbers, FormatAndParseInUnitsOfTheLastDecimal)
{
    EXPECT_EQ(CValue::FormatNumber(1234, 2), "12.34");
    EXPECT_EQ(CValue::FormatNumber(-5, 2), "-0.05");
    EXPECT_EQ(CValue::FormatNumber(INT32_MIN, 0), "-2147483648");
    EXPECT_EQ(CValue::FormatNumber(INT32_MAX, 3), "2147483.647");
    struct Case
    {
        const char* text;
        int32_t decimals;
        bool ok;
        int32_t units;
    };
    const Case cases[] = {
        {"12.345", 2, true, 1235},
        {" -0,5 ", 2, true, -50},
        {".5", 1, true, 5},
        {"2.5", 0, true, 3},
        {"-2.5", 0, true, -3},
        {"99999999999", 0, true, INT32_MAX},
        {"-99999999999999999999", 3, true, INT32_MIN},
        {"", 0, false, 0},
        {"1e3", 0, false, 0},
        {"12 3", 0, false, 0},
    };
    for (const Case& c : cases)
    {
        int32_t units = 0;
        EXPECT_EQ(CValue::ParseNumber(c.text, c.decimals, units), c.ok) << c.text;
        if (c.ok)
        {
            EXPECT_EQ(units, c.units) << c.text;
        }
    }
}

TEST_F(CValueTest, TheValueIsClampedToItsRange)
{
    CValue* v = Number();
    v->SetValue(1500);
    EXPECT_EQ(v->value, 1000);
    EXPECT_STREQ(v->text, "1000");
    // A range whose maximum does not exceed its minimum holds only the minimum.
    v->SetRange(30, 10);
    v->SetValue(15);
    Turn(v, 120, kModCtrl);
    EXPECT_EQ(v->value, 30);
    EXPECT_TRUE(changes.senders.empty());

    // A typed number is clamped when editing ends; a text that is no number changes nothing.
    v->SetRange(0, 1000);
    win->SetFocusCtrl(v);
    Type("4321");
    win->SetFocusCtrl(nullptr);
    EXPECT_EQ(v->value, 1000);
    EXPECT_STREQ(v->text, "1000");
    EXPECT_EQ(changes.senders.size(), 1u);
    // Letters never enter the field.
    win->SetFocusCtrl(v);
    Type("7a8");
    EXPECT_STREQ(v->text, "78");
    Keys({kKeyEscape});
    EXPECT_STREQ(v->text, "1000");
    EXPECT_EQ(changes.senders.size(), 1u);
}

TEST_F(CValueTest, DraggingFollowsSensitivityStepAndRestartsWhenTheMultiplierChanges)
{
    CValue* v = Number();
    Press(v, 30, 10);
    // (10 up + 4 right) x 0.5 = 7 steps; (10 + 7) x 0.5 = 8.5: whole steps only.
    // Shift goes down: the drag starts again there at x10; up again, from there
    // at x1; left and down count negative.
    const int32_t drags[][3] = {{34, 0, 0},          {37, 0, 0},  {37, 0, kModShift},
                                {37, -4, kModShift}, {37, -4, 0}, {33, -2, 0}};
    std::vector<int32_t> values;
    for (const auto& d : drags)
    {
        Drag(v, d[0], d[1], d[2]);
        values.push_back(v->value);
    }
    EXPECT_EQ(values, (std::vector<int32_t>{57, 58, 58, 78, 78, 75}));
    EXPECT_TRUE(changes.senders.empty());
    Release(v, 33, -2);
    EXPECT_EQ(changes.senders.size(), 1u);

    // Live: every change is reported; sensitivity 0.5 doubles the rate, step 5 multiplies it.
    v->live = 1;
    v->sensitivity = 0.5;
    v->step = 5;
    Press(v, 30, 10);
    Drag(v, 30, 9);
    EXPECT_EQ(v->value, 80);
    Drag(v, 30, -500);
    EXPECT_EQ(v->value, 1000);
    Drag(v, 30, -600);
    Release(v, 30, -600);
    EXPECT_EQ(changes.senders.size(), 3u);
    EXPECT_EQ(win->focusCtrl, nullptr);
}

TEST_F(CValueTest, AClickEditsTheTextAndCtrlWheelSteps)
{
    CValue* v = Number();
    Click(v, 10, 10);
    EXPECT_EQ(win->focusCtrl, v);
    EXPECT_EQ(v->selectionLength, -2);
    Type("123");
    Keys({kKeyEnter});

    // Without Ctrl the wheel is left to the parent.
    EXPECT_FALSE(v->Wheel(2, 2, 0, 120, 0));
    Turn(v, 120, kModCtrl);
    Turn(v, -240, kModCtrl | kModShift);
    EXPECT_EQ(changes.values, (std::vector<int32_t>{123, 124, 114}));
}

TEST_F(CValueTest, DecimalValueShowsAndReadsDecimals)
{
    CDecimalValue* d = new CDecimalValue(win, 2);
    d->SetRange(-500, 500);
    d->SetValue(125);
    Put(d, 10, 10, 60, 20);
    EXPECT_STREQ(d->text, "1.25");
    win->SetFocusCtrl(d);
    Type("-2,006");
    win->SetFocusCtrl(nullptr);
    EXPECT_EQ(d->value, -201);
    EXPECT_STREQ(d->text, "-2.01");
}

TEST_F(CValueTest, StepArrowsAndTheLabelledFieldReport)
{
    CIncDec* arrows = new CIncDec(win);
    arrows->OnChange = changes.Binder();
    Put(arrows, 10, 10, 32, 16);
    Click(arrows, 15, 8);
    EXPECT_EQ(arrows->direction, -1);
    Click(arrows, 16, 8);
    EXPECT_EQ(arrows->direction, 1);

    CTextValue* labelled = new CTextValue(win, "Voices", 50);
    labelled->OnChange = changes.Binder();
    labelled->field->SetRange(1, 16);
    Put(labelled, 10, 40, 110, 20);
    win->Layout();
    screen.Turn(10 + 55, 40 + 5, 120, kModCtrl);
    Pump();
    EXPECT_EQ(labelled->field->value, 2);
    EXPECT_EQ(changes.senders.back(), labelled);
}

}  // namespace
