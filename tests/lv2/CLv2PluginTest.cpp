// The LV2 bundle loaded through lilv, rendering against the VST plug-in
// (velmora.so) through the VST test host: both adapters must give the same
// samples for the same input.
#include "Lv2TestHost.h"
#include "host/CVstHost.h"
#include "host/VstAbi.h"

#include <lv2/atom/atom.h>
#include <lv2/presets/presets.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
constexpr uint32_t kBlock = CLv2TestHost::kBlock;
using Song = std::vector<std::vector<MidiAt>>;

const Song kChord = {
    {{0, {0x90, 48, 100}}, {0, {0x90, 55, 90}}, {64, {0x90, 64, 110}}}, {}, {{100, {0x80, 48, 0}}}, {}};

std::vector<float> Render(CLv2TestHost& host, const Song& song)
{
    std::vector<float> out;
    for (const auto& block : song)
        host.Run(block, out);
    return out;
}

// The VST plug-in at the same rate and block size.
struct Vst : CVstHost
{
    Vst()
    {
        EXPECT_TRUE(Load(VELMORA_PLUGIN)) << Error();
        SetSampleRate(CLv2TestHost::kRate);
        SetBlockSize(kBlock);
        Resume();
    }

    // Its events carry three bytes: what an atom event holds beyond them is
    // cut, what it lacks is 0, an empty one is no event.
    std::vector<float> Render(const Song& song)
    {
        std::vector<float> out, left(kBlock), right(kBlock);
        for (const auto& block : song)
        {
            for (const MidiAt& e : block)
            {
                const auto byte = [&e](size_t i) { return i < e.bytes.size() ? e.bytes[i] : uint8_t(0); };
                if (!e.bytes.empty())
                    QueueMidi(static_cast<int32_t>(e.frame), byte(0), byte(1), byte(2));
            }
            float* outputs[2] = {left.data(), right.data()};
            Process(outputs, kBlock);
            for (uint32_t i = 0; i < kBlock; ++i)
                out.insert(out.end(), {left[i], right[i]});
        }
        return out;
    }
};

bool Audible(const std::vector<float>& out)
{
    return std::any_of(out.begin(), out.end(), [](float v) { return v != 0.0f; });
}

bool Finite(const std::vector<float>& out)
{
    return std::all_of(out.begin(), out.end(), [](float v) { return std::isfinite(v); });
}

}  // namespace

// Every MIDI path the adapters share (notes at odd frames and on another
// channel, mod wheel, bend, sustain, program change and the channel-mode
// controllers), then events out of order, past the block, before it or
// malformed: the same late sounding as the VST adapter gives its events, and
// nothing else.
TEST(CLv2Plugin, RendersMidiBitIdenticalToTheVstPlugin)
{
    const Song song = {
        {{0, {0x90, 60, 100}}, {37, {0x90, 64, 90}}, {200, {0xB0, 1, 90}}},
        {{5, {0xE0, 0, 80}}, {128, {0xB0, 64, 127}}, {129, {0x80, 60, 0}}},
        {{17, {0xC0, 7}}, {18, {0x91, 67, 110}}},
        {{0, {0xB0, 64, 0}}, {255, {0xB0, 123, 0}}},
        {{10, {0xB0, 120, 0}}, {11, {0x90, 72, 127}}},
        {{3, {0xB0, 121, 0}}},
        {},
        {{200, {0x90, 60, 100}}, {50, {0x90, 64, 100}}, {100000, {0x90, 67, 100}}},
        {{-5, {0x90, 70, 100}}, {0, {}}, {1, {0x90}}, {2, {0x45, 0x10}}, {3, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}}},
        {{40, {0xE0, 0x7F}}, {300, {0x80, 60, 0}}},
        {}};
    CLv2TestHost lv2;
    ASSERT_TRUE(lv2.Ok());
    const std::vector<float> out = Render(lv2, song);
    EXPECT_TRUE(Audible(out) && Finite(out));
    EXPECT_EQ(out, Vst().Render(song));
}

TEST(CLv2Plugin, StartsANoteOnItsFrame)
{
    CLv2TestHost lv2;
    const std::vector<float> out = Render(lv2, {{{100, {0x90, 60, 127}}}});
    EXPECT_FALSE(Audible({out.begin(), out.begin() + 2 * 100}));
    EXPECT_TRUE(Audible({out.begin() + 2 * 100, out.begin() + 2 * 104}));
}

// A control port acts from the next run. Values out of range act as the
// nearest end of the range; NaN is no value. The ports start from the middle,
// so that either end is a change.
TEST(CLv2Plugin, ControlPortsActFromTheNextRunWithinTheirRange)
{
    const auto render = [](float value)
    {
        CLv2TestHost host;
        const auto set = [&host](float v)
        {
            for (const char* port : {"filter_cutoff", "master_volume", "filter_q"})
                host.Control(port) = v;
        };
        std::vector<float> out;
        host.Run({}, out, 0);
        set(50.0f);
        host.Run(kChord[0], out);
        set(value);
        out = Render(host, {kChord.begin() + 1, kChord.end()});
        EXPECT_TRUE(Finite(out)) << value;
        return out;
    };
    const std::vector<float> unchanged = render(50.0f), changed = render(10.0f);
    EXPECT_FALSE(std::equal(changed.begin(), changed.begin() + 2 * kBlock, unchanged.begin()));
    EXPECT_EQ(render(NAN), unchanged);
    const std::pair<float, float> ends[] = {{1e30f, 100.0f}, {INFINITY, 100.0f}, {-1e30f, 0.0f}, {-INFINITY, 0.0f}};
    for (const auto& [value, end] : ends)
        EXPECT_EQ(render(value), render(end)) << value;
}

// The state is one property holding the VST adapter's bank chunk: a session
// reopens exactly, a bank saved by either adapter loads in the other, and
// nothing of an empty or damaged one loads.
TEST(CLv2Plugin, StateIsTheVstBankChunkAndLoadsOnlyWhole)
{
    // Both on another program, with Filter Q moved to 80.
    Vst vst;
    vst.SetProgram(9);
    vst.Effect()->setParameter(vst.Effect(), 14, 0.8f);
    CLv2TestHost saved, restored, fresh;
    std::vector<float> out;
    saved.Run({{0, {0xC0, 9}}}, out, 0);
    saved.Control("filter_q") = 80.0f;
    saved.Run({}, out, 0);
    const Properties state = saved.Save();
    ASSERT_EQ(state.size(), 1u);
    EXPECT_EQ(state.begin()->first, CLv2TestHost::Map()->map(nullptr, "urn:velmora:synth#bank"));
    EXPECT_EQ(state.begin()->second.second, vst.GetChunk(false));
    EXPECT_EQ(restored.Restore(state), 0);
    EXPECT_EQ(restored.Save(), state);
    out = Render(saved, kChord);
    EXPECT_EQ(Render(restored, kChord), out);
    EXPECT_EQ(vst.Render(kChord), out);
    EXPECT_NE(Render(fresh, kChord), out);

    // Damaged forms of another bank, so that anything loaded shows.
    const Properties other = fresh.Save();
    const auto& [key, value] = *other.begin();
    const auto& [type, bank] = value;
    const uint32_t stringType = CLv2TestHost::Map()->map(nullptr, LV2_ATOM__String);
    std::vector<uint8_t> zeroTag = bank;
    std::fill_n(zeroTag.begin(), 4, 0);
    const Properties damaged[] = {{},
                                  {{key, {type, {}}}},
                                  {{key, {stringType, bank}}},
                                  {{key, {type, std::vector<uint8_t>(bank.begin(), bank.end() - 3)}}},
                                  {{key, {type, zeroTag}}},
                                  {{key, {type, std::vector<uint8_t>(bank.size(), 0xA5)}}}};
    for (const Properties& bad : damaged)
    {
        EXPECT_NE(saved.Restore(bad), 0);
        EXPECT_EQ(saved.Save(), state);
        EXPECT_TRUE(Finite(Render(saved, kChord)));
    }
}

// Applied like a host applies it (after the first block, port values
// included), each preset sounds like selecting its program in the VST plug-in.
TEST(CLv2Plugin, EachPresetSoundsLikeItsVstProgram)
{
    LilvWorld* world = CLv2TestHost::World();
    CLv2TestHost probe;
    ASSERT_TRUE(probe.Ok());
    LilvNode* presetClass = lilv_new_uri(world, LV2_PRESETS__Preset);
    LilvNodes* presets = lilv_plugin_get_related(probe.Plugin(), presetClass);
    EXPECT_EQ(lilv_nodes_size(presets), 64u);
    LILV_FOREACH(nodes, i, presets)
    {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        lilv_world_load_resource(world, preset);
        LilvState* state = lilv_state_new_from_world(world, CLv2TestHost::Map(), preset);
        ASSERT_NE(state, nullptr);
        const std::string uri = lilv_node_as_uri(preset);
        Vst vst;
        vst.SetProgram(std::atoi(uri.substr(uri.rfind(':') + 1).c_str()));
        EXPECT_EQ(lilv_state_get_label(state), vst.GetProgramName()) << uri;
        CLv2TestHost lv2;
        std::vector<float> out;
        lv2.Run({}, out, 0);
        lv2.Apply(state);
        lilv_state_free(state);
        out = Render(lv2, kChord);
        EXPECT_TRUE(Audible(out)) << uri;
        EXPECT_EQ(out, vst.Render(kChord)) << uri;
    }
    lilv_nodes_free(presets);
    lilv_node_free(presetClass);
}
