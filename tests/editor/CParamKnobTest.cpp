#include "editor/CParamKnob.h"

#include "ParamControlTestKit.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace
{

class CParamKnobTest : public ParamControlTest
{
protected:
    // A knob on a float or an integer field.
    template <class Field>
    CParamKnob* Knob(const char* label, Field& field, int32_t lo, int32_t hi, int32_t def = 0)
    {
        return new CParamKnob(win, &view, &view.knobImage, label, field, lo, hi, def);
    }
    CBeatCountKnob* Beats()
    {
        return new CBeatCountKnob(win, &view, &view.knobImage, "TIME", program->delayBeats, program->delayDiv, 1, 32,
                                  1);
    }
};

TEST_F(CParamKnobTest, ValueTextsOfEachBinding)
{
    // Each knob goes into the panel, which owns it.
    auto own = [this](auto* knob)
    {
        panel->AddChild(knob);
        return knob;
    };
    // x 100 a stored 0.53 is 52.999996: every stored hundredth shows as itself.
    program->keyCutoff = -0.53f;
    CParamKnob* bipolar = own(Knob("CUTOFF", program->keyCutoff, -100, 100));
    EXPECT_EQ(bipolar->value, -53);
    EXPECT_EQ(bipolar->ValueText(), "-53");
    for (int32_t hundredths = 0; hundredths <= 100; ++hundredths)
    {
        program->cutoff = static_cast<float>(hundredths) / 100.0f;
        CParamKnob* knob = own(Knob("CUTOFF", program->cutoff, 0, 100));
        ASSERT_EQ(knob->value, hundredths);
        ASSERT_EQ(knob->ValueText(), std::to_string(hundredths));
    }

    program->coarse = -12;
    EXPECT_EQ(own(Knob("COARSE", program->coarse, -48, 48))->ValueText(), "-12");

    program->delayBeats = 3;
    program->delayDiv = 16;
    CBeatCountKnob* beats = own(Beats());
    EXPECT_EQ(beats->ValueText(), "3/16");
    program->delayDiv = 4;  // read at every call
    EXPECT_EQ(beats->ValueText(), "3/4");
}

// Right and up turn the knob up, left and down back; 3 pixels of movement
// are not a step; the range ends stop it, on the first and last frame.
TEST_F(CParamKnobTest, DraggingTurnsTheKnobWithinItsRangeAndWritesTheField)
{
    program->detune = 0.10f;
    CParamKnob* knob = Place(Knob("DETUNE", program->detune, 0, 100));
    Show();
    const struct
    {
        int32_t dx, dy, value, frame;
    } drags[] = {{4, -4, 12, 3}, {-3, 0, 12, 3}, {-8, 8, 8, 2}, {400, -400, 100, 29}, {-400, 400, 0, 0}};
    for (const auto& d : drags)
    {
        Drag(30, 50, d.dx, d.dy);
        EXPECT_EQ(knob->value, d.value) << d.dx;
        EXPECT_FLOAT_EQ(program->detune, static_cast<float>(d.value) / 100.0f) << d.dx;
        EXPECT_EQ(knob->Frame(), d.frame) << d.dx;
    }
}

// The host sees each drag or double click as one edit, the value normalised
// over the knob's range.
TEST_F(CParamKnobTest, DragsAndDoubleClicksAreEditsForTheHost)
{
    CRecordingHost host;
    program->keyCutoff = 0.0f;
    CParamKnob* knob = Place(Knob("CUTOFF", program->keyCutoff, -100, 100, 50));
    knob->ReportEditsTo(&host, 89);
    Show();
    Drag(30, 50, 4, -4);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"begin 89", "automate 89", "end 89"}));
    EXPECT_EQ(host.values, std::vector<float>{0.51f});
    screen.Advance(500);
    for (int n = 0; n < 2; ++n)
    {
        screen.Press(30, 50, kMouseLeft);
        screen.Release(30, 50, kMouseLeft);
    }
    Pump();
    EXPECT_FLOAT_EQ(program->keyCutoff, 0.5f);
    ASSERT_GE(host.calls.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(host.calls.end() - 3, host.calls.end()),
              (std::vector<std::string>{"begin 89", "automate 89", "end 89"}));
    EXPECT_EQ(host.values.back(), 0.75f);
}

TEST_F(CParamKnobTest, BeatCountKnobsTakeSixteenPixelsPerStep)
{
    program->delayBeats = 1;
    Place(Beats());
    Show();
    Drag(30, 50, 15, 0);
    EXPECT_EQ(program->delayBeats, 1);
    Drag(30, 50, 16, 0);  // 16 pixels: one step
    EXPECT_EQ(program->delayBeats, 2);
}

TEST_F(CParamKnobTest, FollowsTheFieldExceptWhileHeld)
{
    program->volume = 0.25f;
    CParamKnob* knob = Place(Knob("VOLUME", program->volume, 0, 100));
    Show();
    EXPECT_FALSE(knob->FollowField());
    program->volume = 0.75f;
    EXPECT_TRUE(knob->FollowField());
    EXPECT_EQ(knob->value, 75);
    EXPECT_FALSE(knob->FollowField());

    // While the player holds the knob, its value stands.
    screen.Advance(500);
    screen.Press(30, 50, kMouseLeft);
    Pump();
    program->volume = 0.5f;
    EXPECT_FALSE(knob->FollowField());
    EXPECT_EQ(knob->value, 75);
    screen.Release(30, 50, kMouseLeft);
    Pump();
    EXPECT_TRUE(knob->FollowField());
    EXPECT_EQ(knob->value, 50);
}

TEST_F(CParamKnobTest, DamagedFieldsShowWithinTheKnobAndEditWithoutCrashing)
{
    program->cutoff = std::numeric_limits<float>::quiet_NaN();
    program->q = 1e30f;
    program->coarse = -2000000000;
    CParamKnob* nan = Place(Knob("CUTOFF", program->cutoff, 0, 100, 100));
    CParamKnob* huge = Place(Knob("Q", program->q, 0, 100));
    Place(Knob("COARSE", program->coarse, -48, 48));
    Show();
    EXPECT_EQ(nan->Frame(), 0);
    EXPECT_EQ(huge->Frame(), 29);
    EXPECT_EQ(nan->ValueText(), "0");
    // Each edits from the range end it shows.
    Drag(30, 50, 4, -4);
    EXPECT_FLOAT_EQ(program->cutoff, 0.02f);
    Drag(94, 50, -4, 0);
    EXPECT_FLOAT_EQ(program->q, 0.99f);
    Drag(158, 50, 4, 0);
    EXPECT_EQ(program->coarse, -47);
}

}  // namespace
