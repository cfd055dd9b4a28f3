// The host's parameters are the editor's knobs: every knob on every page of
// the editor, built on the software screen, is one entry of the parameter
// table with the same field, range, default and kind, placed in table order,
// and shows the same text.
#include "core/WindowTestKit.h"
#include "editor/CModulationGroup.h"
#include "editor/CParamKnob.h"
#include "editor/CParamSwitch.h"
#include "editor/CSynthWin.h"
#include "gui/core/CClientGroup.h"
#include "support/TakeString.h"
#include "synth/CSynth.h"
#include "editor/CSynthResources.h"
#include "synth/ParameterTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{

// Every page a panel can show: the modulation sources with their sub-pages,
// the effect levels and each effect.
struct PageChoice
{
    int32_t modSource;
    int32_t subPage;
    int32_t fxMode;
    int32_t fxIndex;
};

std::vector<PageChoice> AllPageChoices()
{
    std::vector<PageChoice> choices;
    const int32_t subPages[5] = {3, 1, 2, 2, 3};  // LFO, ENV, VEL, RND, controllers
    for (int32_t source = 0; source < 5; ++source)
        for (int32_t sub = 0; sub < subPages[source]; ++sub)
            choices.push_back({source, sub, 0, 0});
    for (int32_t effect = 0; effect < 6; ++effect)
        choices.push_back({0, 0, 1, effect});
    return choices;
}

class EditorParameterTableTest : public ::testing::Test, public WindowTestKit
{
protected:
    EditorParameterTableTest()
    {
        win = new CSynthWin(&app, &synth, &view);
        win->Show(true);
        Pump();
    }
    ~EditorParameterTableTest() override { delete win; }

    void Show(const PageChoice& page, int32_t sync)
    {
        for (SynthLfo& lfo : synth.currentProgram->lfo)
            lfo.sync = sync;
        Show(page);
    }
    void Show(const PageChoice& page)
    {
        view.modSource = page.modSource;
        view.modLfo = page.subPage;
        view.modVelPage = page.subPage;
        view.modRndPage = page.subPage;
        view.modControllerPage = page.subPage;
        view.fxMode = page.fxMode;
        view.fxIndex = page.fxIndex;
        win->Rebuild();
    }

    // Every program knob the window shows now, in any group.
    std::vector<CParamControl*> Knobs()
    {
        std::vector<CParamControl*> knobs;
        Collect(win->clientGroup, knobs);
        return knobs;
    }
    static void Collect(CGroup* group, std::vector<CParamControl*>& knobs)
    {
        for (int32_t i = 0; i < group->children.Count(); ++i)
        {
            CCtrl* child = group->Child(i);
            if (auto* knob = dynamic_cast<CParamControl*>(child))
                knobs.push_back(knob);
            else if (auto* inner = dynamic_cast<CGroup*>(child))
                Collect(inner, knobs);
        }
    }

    size_t OffsetOf(const void* field) const
    {
        return static_cast<size_t>(static_cast<const char*>(field) -
                                   reinterpret_cast<const char*>(synth.currentProgram));
    }

    // The table entry bound to the knob's field; null when none or several are.
    const ParameterInfo* EntryOf(const CParamControl* knob) const
    {
        const void* field = knob->floatField ? static_cast<const void*>(knob->floatField) : knob->intField;
        const ParameterInfo* found = nullptr;
        for (const ParameterInfo& info : kParameters)
        {
            if (info.offset != OffsetOf(field))
                continue;
            if (found != nullptr)
                return nullptr;
            found = &info;
        }
        return found;
    }

    void ExpectSameAsTable(const CParamControl* knob, const ParameterInfo& info)
    {
        SCOPED_TRACE(info.name);
        EXPECT_EQ(knob->label.rfind(info.label, 0), 0u) << knob->label;
        EXPECT_EQ(knob->parameterIndex, info.id);
        EXPECT_EQ(knob->minimum, info.minimum);
        EXPECT_EQ(knob->maximum, info.maximum);
        EXPECT_EQ(knob->floatField != nullptr, info.kind == ParameterKind::Float);
        const auto* rotary = dynamic_cast<const CParamKnob*>(knob);
        const auto* beats = dynamic_cast<const CBeatCountKnob*>(knob);
        switch (info.kind)
        {
        case ParameterKind::Switch:
            EXPECT_NE(dynamic_cast<const CParamSwitch*>(knob), nullptr);
            break;
        case ParameterKind::List:
        {
            const auto* list = dynamic_cast<const CParamList*>(knob);
            ASSERT_NE(list, nullptr);
            ASSERT_EQ(list->items.size(), static_cast<size_t>(info.maximum - info.minimum + 1));
            for (size_t i = 0; i < list->items.size(); ++i)
                EXPECT_EQ(list->items[i], info.choices[i]);
            break;
        }
        case ParameterKind::Beats:
            ASSERT_NE(beats, nullptr);
            EXPECT_EQ(OffsetOf(beats->divisionField), info.divisionOffset);
            EXPECT_EQ(beats->defaultValue, info.defaultValue);
            break;
        default:
            ASSERT_NE(rotary, nullptr);
            EXPECT_EQ(beats, nullptr);
            EXPECT_EQ(rotary->defaultValue, info.defaultValue);
            break;
        }
    }

    // Over the range, the host's display is the knob's own value text.
    // Effect settings in their own units show through the effect panel's
    // caption, which the effect value text test pins.
    void ExpectSameText(CParamControl* knob, const ParameterInfo& info)
    {
        if (info.displayStep != 1.0 || info.displayShift != 0)
            return;
        for (float v : {0.0f, 0.25f, 0.5f, 0.83f, 1.0f})
        {
            synth.SetParameter(info.id, v);
            knob->SetValue(KnobValue(*synth.currentProgram, info), false);
            const std::string shown = TakeString(synth.GetParameterDisplay(info.id));
            if (info.kind == ParameterKind::Switch)
                EXPECT_EQ(shown, info.choices[knob->value]) << info.name;
            else
                EXPECT_EQ(shown, knob->ValueText()) << info.name << " " << v;
        }
    }

    CSynth synth;
    CSynthResources view{synth};
    CSynthWin* win = nullptr;
};

TEST_F(EditorParameterTableTest, EveryKnobOnEveryPageIsOneTableEntry)
{
    std::map<int32_t, int32_t> seen;  // entry -> knobs showing it
    for (int32_t sync = 0; sync <= 1; ++sync)
    {
        // The modulation panel's pages, one after the other, run through its
        // entries in order, none shown twice.
        int32_t lastModulation = -1;
        for (const PageChoice& page : AllPageChoices())
        {
            Show(page, sync);
            const std::vector<CParamControl*> knobs = Knobs();
            ASSERT_FALSE(knobs.empty());
            const CGroup* panel = nullptr;
            int32_t last = -1;
            for (CParamControl* knob : knobs)
            {
                const ParameterInfo* info = EntryOf(knob);
                ASSERT_NE(info, nullptr) << "knob " << knob->label << " has no single entry";
                ExpectSameAsTable(knob, *info);
                if (seen[info->id]++ == 0)
                    ExpectSameText(knob, *info);
                // Each panel places its knobs in table order.
                if (knob->parent != panel)
                    last = -1;
                panel = knob->parent;
                EXPECT_GT(info->id, last) << info->name;
                last = info->id;
                if (page.fxMode == 0 && dynamic_cast<const CModulationGroup*>(panel) != nullptr)
                {
                    EXPECT_GT(info->id, lastModulation) << info->name;
                    lastModulation = info->id;
                }
            }
        }
    }
    // Each entry is some knob, and the host sees exactly as many parameters.
    EXPECT_EQ(seen.size(), static_cast<size_t>(kParameterTableSize));
    EXPECT_EQ(synth.GetParameterCount(), static_cast<int32_t>(seen.size()));
}

// Every word of the record after the name NaN, huge or negative in turn:
// every page still draws, shows a text while pressed and
// takes the default.
TEST_F(EditorParameterTableTest, DamagedProgramShowsAndEditsOnEveryPage)
{
    SynthProgram& p = *synth.currentProgram;
    for (uint32_t pattern : {0x7FC00000u, 0x7F7FFFFFu, 0xFFFFFFFFu, 0x80000000u})
    {
        uint8_t* words = reinterpret_cast<uint8_t*>(&p) + SynthProgram::kNameBytes;
        for (size_t i = 0; i + 4 <= sizeof(SynthProgram) - SynthProgram::kNameBytes; i += 4)
            std::memcpy(words + i, &pattern, 4);
        for (const PageChoice& page : AllPageChoices())
        {
            Show(page);
            win->PaintWindow(Rect{0, 0, win->width, win->height});
            for (CParamControl* knob : Knobs())
            {
                win->pressedCtrl = knob;
                char* text = nullptr;
                knob->OnGetText->Call(knob, text, knob->value);
                EXPECT_NE(text, nullptr);
                FreeString(text);
                win->pressedCtrl = nullptr;
                knob->SetValue(FindParameter(knob->parameterIndex)->defaultValue, true);
                EXPECT_GE(knob->value, knob->minimum);
                EXPECT_LE(knob->value, knob->maximum);
            }
        }
    }
}

}  // namespace
