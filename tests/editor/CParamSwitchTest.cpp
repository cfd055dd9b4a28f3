#include "editor/CParamSwitch.h"

#include "ParamControlTestKit.h"
#include "editor/EditorColours.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

const std::vector<std::string> kWaves = {"SAW", "SQUARE", "PULSE", "PM", "SAW2"};

class CParamSwitchTest : public ParamControlTest
{
protected:
    CParamSwitch* Switch(const char* label, int32_t& field) { return new CParamSwitch(win, &view, label, field, 0, 1); }
    CParamList* Waves(const char* label, int32_t& field)
    {
        return new CParamList(win, &view, label, field, 0, 4, kWaves);
    }
};

TEST_F(CParamSwitchTest, SwitchTogglesOnReleaseAndListWrapsOnTheLeftButtonOnly)
{
    CRecordingHost host;
    program->mono = 1;
    program->wave2 = 4;
    CParamSwitch* mono = Place(Switch("MONO", program->mono));
    mono->ReportEditsTo(&host, 21);
    CParamList* wave = Place(Waves("WAVE2", program->wave2));
    wave->rebuildOnChange = true;
    Show();
    Click(30, 50, kMouseLeft);
    EXPECT_EQ(program->mono, 0);
    // A click is one whole edit.
    EXPECT_EQ(host.calls, (std::vector<std::string>{"begin 21", "automate 21", "end 21"}));
    EXPECT_EQ(host.values, std::vector<float>{0.0f});
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
    Click(94, 50, kMouseLeft);
    EXPECT_EQ(program->wave2, 1);
}

TEST_F(CParamSwitchTest, RightClickWithAMenuRunsTheMenuAndLeavesTheSwitch)
{
    struct Target
    {
        void Right(CCtrl*, int32_t, int32_t, int32_t flags) { seen.push_back(flags); }
        std::vector<int32_t> seen;
    } target;
    program->legato = 0;
    CParamSwitch* legato = Place(Switch("LEGATO", program->legato));
    legato->SetRightClick(new _COnMouse<Target>(&target, &Target::Right));
    Show();
    Click(30, 50, kMouseRight);
    EXPECT_EQ(target.seen, std::vector<int32_t>{kMouseRight});
    EXPECT_EQ(program->legato, 0);
    Click(30, 50, kMouseLeft);
    EXPECT_EQ(target.seen.size(), 1u);
    EXPECT_EQ(program->legato, 1);
}

TEST_F(CParamSwitchTest, ListAlwaysShowsTheNameOfItsValue)
{
    program->wave1 = 3;
    CParamList* wave = Place(Waves("WAVE1", program->wave1));
    Show();
    EXPECT_EQ(wave->DisplayText(), "PM");
    screen.Press(30, 50, kMouseLeft);
    Pump();
    EXPECT_EQ(wave->DisplayText(), "PM");
    EXPECT_EQ(wave->ValueText(), "PM");
    screen.Release(30, 50, kMouseLeft);
    Pump();
    EXPECT_EQ(wave->DisplayText(), "SAW2");
    // A damaged field has no name.
    wave->SetValue(7, false);
    EXPECT_EQ(wave->DisplayText(), "");
    wave->SetValue(-1, false);
    EXPECT_EQ(wave->DisplayText(), "");
}

}  // namespace
