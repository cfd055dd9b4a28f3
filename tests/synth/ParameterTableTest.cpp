#include "synth/ParameterTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <utility>

namespace
{

const ParameterInfo& Named(const char* name)
{
    const int32_t index = FindParameterByName(name);
    EXPECT_GE(index, 0) << name;
    return kParameters[index < 0 ? 0 : index];
}

SynthProgram NewProgram()
{
    SynthProgram program{};
    InitProgram(program);
    return program;
}

std::string Text(const SynthProgram& program, const ParameterInfo& info)
{
    char text[32];
    std::memset(text, 'x', sizeof text);
    ValueText(program, info, text, sizeof text);
    return text;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

// Ids are stable, no two entries share a name or a field, names are found.
TEST(ParameterTable, EntriesAreNumberedNamedAndBoundToDistinctFields)
{
    std::set<std::string> names;
    std::set<size_t> fields;
    for (int32_t i = 0; i < kParameterTableSize; ++i)
    {
        const ParameterInfo& info = kParameters[i];
        EXPECT_EQ(info.id, i) << info.name;
        EXPECT_TRUE(names.insert(Lower(info.name)).second) << info.name;
        EXPECT_TRUE(fields.insert(info.offset).second) << info.name;
    }
    EXPECT_EQ(FindParameter(kParameterTableSize), nullptr);
    // Names are found exactly, then ignoring case.
    EXPECT_EQ(FindParameterByName("filter cutoff"), 13);
    EXPECT_EQ(FindParameterByName(nullptr), -1);
}

// Both ends and the middle reached, the host's value and the shown text read
// back, and nothing written but the entry's own field.
TEST(ParameterTable, EveryEntryReachesItsEndsAndRoundTrips)
{
    for (const ParameterInfo& info : kParameters)
    {
        SCOPED_TRACE(info.name);
        SynthProgram p = NewProgram();
        SetNormalizedValue(p, info, 0.0f);
        EXPECT_EQ(KnobValue(p, info), info.minimum);
        EXPECT_EQ(NormalizedValue(p, info), 0.0f);
        const SynthProgram low = p;
        SetNormalizedValue(p, info, 1.0f);
        EXPECT_EQ(KnobValue(p, info), info.maximum);
        EXPECT_EQ(NormalizedValue(p, info), 1.0f);
        const char* a = reinterpret_cast<const char*>(&low);
        const char* b = reinterpret_cast<const char*>(&p);
        EXPECT_NE(std::memcmp(a + info.offset, b + info.offset, 4), 0);
        EXPECT_EQ(std::memcmp(a, b, info.offset), 0);
        EXPECT_EQ(std::memcmp(a + info.offset + 4, b + info.offset + 4, sizeof p - info.offset - 4), 0);
        SetNormalizedValue(p, info, 0.5f);
        EXPECT_LE(std::abs(2 * KnobValue(p, info) - (info.minimum + info.maximum)), 1);
        for (float v : {0.0f, 0.1f, 0.37f, 0.5f, 0.93f, 1.0f})
        {
            SetNormalizedValue(p, info, v);
            const float back = NormalizedValue(p, info);
            EXPECT_NEAR(back, v, 0.5 / (info.maximum - info.minimum) + 1e-6) << v;  // half a knob step
            // The host's own value written back changes nothing; nor does
            // the text shown, typed in.
            const SynthProgram before = p;
            SetNormalizedValue(p, info, back);
            EXPECT_EQ(std::memcmp(&before, &p, sizeof p), 0) << v;
            const std::string text = Text(p, info);
            SetNormalizedValue(p, info, 1.0f - v);
            EXPECT_TRUE(SetValueFromText(p, info, text.c_str())) << text;
            EXPECT_EQ(std::memcmp(&before, &p, sizeof p), 0) << text;
        }
    }
}

// A host value off the range, or a damaged field, goes to the nearest end.
TEST(ParameterTable, UnusableValuesAndDamagedFieldsGoToTheNearestEnd)
{
    const ParameterInfo& cutoff = Named("Filter Cutoff");
    SynthProgram p = NewProgram();
    SetNormalizedValue(p, cutoff, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(p.cutoff, 0.0f);
    SetNormalizedValue(p, Named("Pitch Bend Up"), 7.0f);
    EXPECT_EQ(p.bendUp, 12);
    p.cutoff = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(NormalizedValue(p, cutoff), 0.0f);
    EXPECT_EQ(Text(p, cutoff), "0");
    p.cutoff = 3e12f;
    EXPECT_EQ(NormalizedValue(p, cutoff), 1.0f);
    EXPECT_EQ(Text(p, cutoff), "1000000000");
    p.lfo[0].wave = 999;
    EXPECT_EQ(NormalizedValue(p, Named("LFO1 Wave")), 1.0f);
    EXPECT_EQ(Text(p, Named("LFO1 Wave")), "");
}

TEST(ParameterTable, KnobValuesRoundHalvesAwayFromZeroWithinLimits)
{
    EXPECT_EQ(RoundToKnob(static_cast<double>(0.53f * 100.0f)), 53);  // 52.999996
    EXPECT_EQ(RoundToKnob(-2.5), -3);
    // 2^23 + 1: a float sum would round the half up to 8388610.
    EXPECT_EQ(RoundToKnob(8388609.0), 8388609);
    EXPECT_EQ(RoundToKnob(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundToKnob(-std::numeric_limits<double>::infinity()), -1000000000);
}

// The knob's value in its own units, or its name; cut to the buffer.
TEST(ParameterTable, TextIsTheKnobsValueOrItsName)
{
    SynthProgram p = NewProgram();
    p.keyPm = -0.25f;
    p.wave1 = 3;
    p.lfo[1].wave = 4;
    p.mono = 1;
    p.delayBeats = 3;
    p.delayDiv = 16;
    p.reverbSize = 40;
    p.chorusRate = 16;
    p.phaserRate = 0.1f;
    p.eqFreqLow = 40;
    p.eqLow = 80;
    const std::pair<const char*, const char*> cases[] = {
        {"Key Tracking PM", "-25"}, {"Oscillators Wave1", "PM"}, {"LFO2 Wave", "RND"},   {"Master Mono", "ON"},
        {"Delay Time", "3/16"},     {"Reverb Size", "4000"},     {"Chorus Rate", "1.6"}, {"Phaser Rate", "0.10"},
        {"EQ Freq Low", "800"},     {"EQ Low", "-20"},
    };
    for (const auto& [name, shown] : cases)
        EXPECT_EQ(Text(p, Named(name)), shown) << name;

    char tiny[3];
    ValueText(p, Named("Delay Time"), tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "3/");
    char untouched = 'x';
    ValueText(p, Named("Delay Time"), &untouched, 0);
    EXPECT_EQ(untouched, 'x');
}

// Typed in the knob's units, with or without the unit, rounded to its step;
// read back through the text shown.
TEST(ParameterTable, TypedValuesInKnobUnitsAreRead)
{
    const struct
    {
        const char* name;
        const char* typed;
        const char* shown;
    } cases[] = {
        {"Filter Cutoff", " 42 % ", "42"}, {"Filter Cutoff", "49.6", "50"},    {"Master Coarse", "-7 st", "-7"},
        {"Oscillators Wave2", "pm", "PM"}, {"Oscillators Wave2", "4", "SAW2"}, {"LFO1 Restart", "On", "ON"},
        {"Delay Time", "5", "5/16"},       {"Reverb Size", "2500 ms", "2500"}, {"Chorus Rate", "0.5 Hz", "0.5"},
    };
    for (const auto& c : cases)
    {
        SynthProgram p = NewProgram();
        p.delayDiv = 16;
        EXPECT_TRUE(SetValueFromText(p, Named(c.name), c.typed)) << c.name << " \"" << c.typed << "\"";
        EXPECT_EQ(Text(p, Named(c.name)), c.shown) << c.name << " \"" << c.typed << "\"";
    }
}

TEST(ParameterTable, UnreadableOrOutOfRangeTextChangesNothing)
{
    SynthProgram p = NewProgram();
    p.delayDiv = 16;
    const SynthProgram before = p;
    const struct
    {
        const char* name;
        const char* text;
    } refused[] = {
        {"Filter Cutoff", "101"},      {"Filter Cutoff", "abc"}, {"Filter Cutoff", ""},
        {"Filter Cutoff", "30 ms"},    {"Filter Cutoff", "nan"}, {"Phaser Rate", "0"},
        {"Oscillators Wave1", "SAW3"}, {"Delay Time", "3/8"},    {"Reverb Size", "11000"},
    };
    for (const auto& c : refused)
        EXPECT_FALSE(SetValueFromText(p, Named(c.name), c.text)) << c.name << " \"" << c.text << "\"";
    EXPECT_FALSE(SetValueFromText(p, Named("Filter Cutoff"), nullptr));
    EXPECT_EQ(std::memcmp(&before, &p, sizeof p), 0);
}
