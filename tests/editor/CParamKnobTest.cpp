#include "editor/CParamKnob.h"

#include "core/WindowTestKit.h"
#include "editor/CBaseGroup.h"
#include "gui/core/InputCodes.h"
#include "synth/CSynth.h"
#include "editor/CSynthResources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

// A borderless window at the screen's origin (window = screen coordinates)
// holding one panel; knobs go into the panel's first row from x = 4, y = 24.
class CParamKnobTest : public ::testing::Test, public WindowTestKit
{
protected:
    CParamKnobTest()
    {
        win = new CWin(&app, nullptr, kWinNoBorder, "knobs", 0, 0, 300, 200);
        panel = new CBaseGroup(win, &view);
        panel->background = 0x00FF00;
        win->AddChild(panel);
        program = synth.currentProgram;
    }
    ~CParamKnobTest() override { delete win; }

    void Show()
    {
        win->Show(true);
        Pump();
    }
    // Presses at (x, y), moves by (dx, dy) and releases there, 500 ms after anything before.
    void Drag(int32_t x, int32_t y, int32_t dx, int32_t dy)
    {
        screen.Advance(500);
        screen.Press(x, y, kMouseLeft);
        screen.Move(x + dx, y + dy, kMouseLeft);
        screen.Release(x + dx, y + dy, kMouseLeft);
        Pump();
    }
    void Click(int32_t x, int32_t y, int32_t button)
    {
        screen.Advance(500);
        screen.Press(x, y, button);
        screen.Release(x, y, button);
        Pump();
    }

    CSynth synth;
    CSynthResources view{synth};
    CWin* win;
    CBaseGroup* panel;
    SynthProgram* program;
};

TEST_F(CParamKnobTest, FloatFieldShowsItsValueWhilePressedAndItsLabelOtherwise)
{
    program->cutoff = 0.57f;
    CParamValueKnob* knob = panel->FloatKnob("CUTOFF", &program->cutoff, 0, 100, 100);
    panel->Place(knob);
    Show();
    EXPECT_EQ(knob->value, 57);
    EXPECT_EQ(knob->DisplayText(), "CUTOFF");
    screen.Press(30, 50, kMouseLeft);
    Pump();
    EXPECT_EQ(knob->DisplayText(), "57");
    screen.Release(30, 50, kMouseLeft);
    Pump();
    EXPECT_EQ(knob->DisplayText(), "CUTOFF");
    EXPECT_FLOAT_EQ(program->cutoff, 0.57f); // a click without movement writes nothing
}

TEST_F(CParamKnobTest, ValueTextsOfEachBinding)
{
    // Each knob goes into the panel, which owns it.
    auto own = [this](CParamValueKnob* knob) {
        panel->AddChild(knob);
        return knob;
    };
    // x 100 a stored 0.53 is 52.999996: every stored hundredth shows as itself.
    program->keyCutoff = -0.53f;
    CParamValueKnob* bipolar = own(panel->FloatKnob("CUTOFF", &program->keyCutoff, -100, 100, 0));
    EXPECT_EQ(bipolar->value, -53);
    EXPECT_EQ(bipolar->ValueText(), "-53");
    for (int32_t hundredths = 0; hundredths <= 100; ++hundredths)
    {
        program->cutoff = static_cast<float>(hundredths) / 100.0f;
        CParamValueKnob* knob = own(panel->FloatKnob("CUTOFF", &program->cutoff, 0, 100, 0));
        ASSERT_EQ(knob->value, hundredths);
        ASSERT_EQ(knob->ValueText(), std::to_string(hundredths));
    }

    program->coarse = -12;
    EXPECT_EQ(own(panel->IntKnob("COARSE", &program->coarse, -48, 48, 0, kKnobPlain))->ValueText(), "-12");

    program->delayBeats = 3;
    program->delayDiv = 16;
    CParamValueKnob* beats = own(panel->IntKnob("TIME", &program->delayBeats, 1, 32, 1, kKnobBeatCount));
    beats->secondaryField = &program->delayDiv;
    EXPECT_EQ(beats->ValueText(), "3/16");

    program->wave1 = 3;
    CParamValueKnob* wave = own(
        panel->IntKnob("WAVE1", &program->wave1, 0, 4, 0, kKnobCyclingList, {"SAW", "SQUARE", "PULSE", "PM", "SAW2"}));
    EXPECT_EQ(wave->DisplayText(), "PM"); // a cycling list always shows its item
    program->wave1 = 7;
    wave->SetValue(7, false);
    EXPECT_EQ(wave->DisplayText(), "");
}

TEST_F(CParamKnobTest, DraggingRightAndUpTurnsTheKnobAndWritesTheField)
{
    program->detune = 0.10f;
    auto* knob = static_cast<CParamValueKnob*>(panel->Place(panel->FloatKnob("DETUNE", &program->detune, 0, 100, 0)));
    Show();
    Drag(30, 50, 4, -4);
    EXPECT_EQ(knob->value, 12);
    EXPECT_FLOAT_EQ(program->detune, 0.12f);
    // Left and down turn it back; 3 pixels of movement are not a step.
    Drag(30, 50, -3, 0);
    EXPECT_EQ(knob->value, 12);
    Drag(30, 50, -8, 8);
    EXPECT_EQ(knob->value, 8);
}

TEST_F(CParamKnobTest, BeatCountKnobsTakeSixteenPixelsPerStep)
{
    CParamValueKnob* knob = panel->IntKnob("TIME", &program->delayBeats, 1, 32, 1, kKnobBeatCount);
    knob->sensitivity = 8.0f;
    knob->secondaryField = &program->delayDiv;
    panel->Place(knob);
    program->delayBeats = 1;
    knob->SetValue(1, false);
    Show();
    Drag(30, 50, 15, 0);
    EXPECT_EQ(program->delayBeats, 1);
    Drag(30, 50, 16, 0); // 16 pixels: one step
    EXPECT_EQ(program->delayBeats, 2);
}

TEST_F(CParamKnobTest, DraggingStopsAtTheRangeEndsOnTheFirstAndLastFrame)
{
    program->q = 0.5f;
    auto* knob = static_cast<CParamValueKnob*>(panel->Place(panel->FloatKnob("Q", &program->q, 0, 100, 0)));
    Show();
    EXPECT_EQ(knob->Frame(), 14); // 29 x 50 / 100 = 14.5
    Drag(30, 50, 400, -400);
    EXPECT_EQ(knob->value, 100);
    EXPECT_FLOAT_EQ(program->q, 1.0f);
    EXPECT_EQ(knob->Frame(), 29);
    Drag(30, 50, -400, 400);
    EXPECT_EQ(knob->value, 0);
    EXPECT_EQ(program->q, 0.0f);
    EXPECT_EQ(knob->Frame(), 0);
}

TEST_F(CParamKnobTest, SwitchTogglesOnReleaseAndCyclingListWrapsOnTheLeftButtonOnly)
{
    program->mono = 1;
    program->wave2 = 4;
    auto* mono = static_cast<CParamValueKnob*>(panel->Place(panel->IntKnob("MONO", &program->mono, 0, 1, 0, kKnobSwitch)));
    auto* wave = static_cast<CParamValueKnob*>(panel->Place(
        panel->IntKnob("WAVE2", &program->wave2, 0, 4, 0, kKnobCyclingList, {"SAW", "SQUARE", "PULSE", "PM", "SAW2"})));
    wave->rebuildOnChange = true;
    Show();
    Click(30, 50, kMouseLeft);
    EXPECT_EQ(program->mono, 0);
    Click(30, 50, kMouseLeft);
    EXPECT_EQ(program->mono, 1);
    EXPECT_EQ(mono->value, 1);

    synth.programsChanged = 0;
    Click(94, 50, kMouseRight);
    EXPECT_EQ(program->wave2, 4);
    EXPECT_EQ(synth.programsChanged, 0);
    Click(94, 50, kMouseLeft);
    EXPECT_EQ(program->wave2, 0);
    EXPECT_EQ(wave->value, 0);
    EXPECT_EQ(synth.programsChanged, 1);
}

TEST_F(CParamKnobTest, RightReleaseCallsTheRightClickBinderOnly)
{
    struct Target
    {
        void Right(CCtrl*, int32_t, int32_t, int32_t flags) { seen = flags; }
        int32_t seen = 0;
    } target;
    auto* knob = static_cast<CParamValueKnob*>(panel->Place(panel->FloatKnob("MOD", &program->mod1, 0, 100, 0)));
    knob->OnRightClick = new _COnMouse<Target>(&target, &Target::Right);
    const float before = program->mod1;
    Show();
    Click(30, 50, kMouseLeft);
    EXPECT_EQ(target.seen, 0);
    Click(30, 50, kMouseRight);
    EXPECT_EQ(target.seen, kMouseRight);
    EXPECT_EQ(program->mod1, before);
}

TEST_F(CParamKnobTest, DamagedFieldsShowWithinTheKnobAndEditWithoutCrashing)
{
    program->cutoff = std::numeric_limits<float>::quiet_NaN();
    program->q = 1e30f;
    program->blend = -3.0f;
    program->coarse = -2000000000;
    auto* nan = static_cast<CParamValueKnob*>(panel->Place(panel->FloatKnob("CUTOFF", &program->cutoff, 0, 100, 100)));
    auto* huge = static_cast<CParamValueKnob*>(panel->Place(panel->FloatKnob("Q", &program->q, 0, 100, 0)));
    auto* negative = static_cast<CParamValueKnob*>(panel->Place(panel->FloatKnob("BLEND", &program->blend, 0, 100, 0)));
    auto* coarse = static_cast<CParamValueKnob*>(panel->Place(panel->IntKnob("COARSE", &program->coarse, -48, 48, 0, kKnobPlain)));
    Show();
    EXPECT_EQ(nan->Frame(), 0);
    EXPECT_EQ(huge->Frame(), 29);
    EXPECT_EQ(negative->Frame(), 0);
    EXPECT_EQ(coarse->Frame(), 0);
    EXPECT_EQ(nan->ValueText(), "0");
    EXPECT_EQ(huge->ValueText(), "1000000000");
    // Nothing is drawn over the panel around the knobs.
    CDrawContext* dc = screen.Context(win->hwnd);
    for (int32_t x = 0; x < CBaseGroup::kWidth; x += 7)
    {
        EXPECT_EQ(dc->GetPixel(x, 23), 0x00FF00u) << x;
        EXPECT_EQ(dc->GetPixel(x, 88), 0x00FF00u) << x;
    }
    // Each edits from the range end it shows.
    Drag(30, 50, 4, -4);
    EXPECT_FLOAT_EQ(program->cutoff, 0.02f);
    Drag(94, 50, -4, 0);
    EXPECT_FLOAT_EQ(program->q, 0.99f);
    Drag(158, 50, 0, -4); // from 0, not from -300
    EXPECT_FLOAT_EQ(program->blend, 0.01f);
    Drag(222, 50, 4, 0);
    EXPECT_EQ(program->coarse, -47);
}

} // namespace
