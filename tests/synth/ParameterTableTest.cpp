#include "synth/ParameterTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>

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

float& FloatAt(SynthProgram& program, const ParameterInfo& info)
{
    return *reinterpret_cast<float*>(reinterpret_cast<char*>(&program) + info.offset);
}

int32_t& IntAt(SynthProgram& program, const ParameterInfo& info)
{
    return *reinterpret_cast<int32_t*>(reinterpret_cast<char*>(&program) + info.offset);
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

// One step of the host's 0..1 over an entry's range.
double Step(const ParameterInfo& info)
{
    return 1.0 / (info.maximum - info.minimum);
}

} // namespace

TEST(ParameterTable, EntriesAreNumberedNamedAndBoundToDistinctFields)
{
    std::set<std::string> names;
    std::set<size_t> fields;
    for (int32_t i = 0; i < kParameterTableSize; ++i)
    {
        const ParameterInfo& info = kParameters[i];
        SCOPED_TRACE(info.name);
        EXPECT_EQ(info.id, i);
        EXPECT_GT(std::strlen(info.name), 0u);
        EXPECT_LT(std::strlen(info.name), 64u);
        EXPECT_GT(std::strlen(info.label), 0u);
        EXPECT_TRUE(names.insert(Lower(info.name)).second) << "name taken";
        EXPECT_TRUE(fields.insert(info.offset).second) << "field taken";
        // A whole 32-bit word after the name.
        EXPECT_GE(info.offset, static_cast<size_t>(SynthProgram::kNameBytes));
        EXPECT_LE(info.offset + 4, sizeof(SynthProgram));
        EXPECT_EQ(info.offset % 4, 0u);
        EXPECT_LT(info.minimum, info.maximum);
        EXPECT_GE(info.defaultValue, info.minimum);
        EXPECT_LE(info.defaultValue, info.maximum);
        EXPECT_TRUE(std::set<std::string>({"%", "ms", "Hz", "st", ""}).count(info.unit));
        const bool named = info.kind == ParameterKind::Switch || info.kind == ParameterKind::List;
        EXPECT_EQ(info.choices != nullptr, named);
        if (info.kind == ParameterKind::Switch)
        {
            EXPECT_EQ(info.minimum, 0);
            EXPECT_EQ(info.maximum, 1);
        }
        if (info.kind == ParameterKind::Beats)
        {
            EXPECT_FALSE(fields.count(info.divisionOffset)) << "division is its own field";
        }
    }
    EXPECT_EQ(FindParameter(-1), nullptr);
    EXPECT_EQ(FindParameter(kParameterTableSize), nullptr);
    EXPECT_EQ(FindParameter(kParameterTableSize - 1), &kParameters[kParameterTableSize - 1]);
}

TEST(ParameterTable, NamesAreFoundExactlyThenIgnoringCase)
{
    EXPECT_EQ(FindParameterByName("Filter Cutoff"), 13);
    EXPECT_EQ(FindParameterByName("filter cutoff"), 13);
    EXPECT_EQ(FindParameterByName("LFO2 Rate"), 43);
    EXPECT_EQ(FindParameterByName("Chorus Depth"), 100);
    EXPECT_EQ(FindParameterByName("Filter"), -1);
    EXPECT_EQ(FindParameterByName("Filter Cutoff "), -1);
    EXPECT_EQ(FindParameterByName(""), -1);
    EXPECT_EQ(FindParameterByName(nullptr), -1);
}

// Hand-worked: the knob value nearest to minimum + v x (maximum - minimum),
// halves away from zero, float fields stored as value / 100.
TEST(ParameterTable, HostValuesLandOnTheKnobsSteps)
{
    SynthProgram p = NewProgram();
    SetNormalizedValue(p, Named("Filter Cutoff"), 0.3f);
    EXPECT_EQ(p.cutoff, 0.3f);
    SetNormalizedValue(p, Named("Filter Cutoff"), 0.534f);
    EXPECT_EQ(p.cutoff, 0.53f);
    SetNormalizedValue(p, Named("Key Tracking Cutoff"), 0.25f);
    EXPECT_EQ(p.keyCutoff, -0.5f);
    SetNormalizedValue(p, Named("Phaser Rate"), 0.0f);
    EXPECT_EQ(p.phaserRate, 0.01f);
    SetNormalizedValue(p, Named("Chorus Delay"), 0.5f);  // 75.5
    EXPECT_EQ(p.chorusDelay, 76);
    SetNormalizedValue(p, Named("Master Coarse"), 0.75f);
    EXPECT_EQ(p.coarse, 24);
    SetNormalizedValue(p, Named("Oscillators Wave2"), 0.6f);  // 2.4
    EXPECT_EQ(p.wave2, 2);
    SetNormalizedValue(p, Named("EQ Freq High"), 1.0f);
    EXPECT_EQ(p.eqFreqHigh, 500);
    p.delayDiv = 8;
    SetNormalizedValue(p, Named("Delay Time"), 0.0f);
    EXPECT_EQ(p.delayBeats, 1);
    EXPECT_EQ(p.delayDiv, 8);
    SetNormalizedValue(p, Named("LFO3 Sync"), 0.51f);
    EXPECT_EQ(p.lfo[2].sync, 1);
    EXPECT_EQ(p.lfo[1].sync, 0);
}

TEST(ParameterTable, EveryEntryReachesBothEndsAndTheMiddleAndRoundTrips)
{
    for (const ParameterInfo& info : kParameters)
    {
        SCOPED_TRACE(info.name);
        SynthProgram p = NewProgram();
        SetNormalizedValue(p, info, 0.0f);
        EXPECT_EQ(KnobValue(p, info), info.minimum);
        EXPECT_EQ(NormalizedValue(p, info), 0.0f);
        SetNormalizedValue(p, info, 1.0f);
        EXPECT_EQ(KnobValue(p, info), info.maximum);
        EXPECT_EQ(NormalizedValue(p, info), 1.0f);
        SetNormalizedValue(p, info, 0.5f);
        EXPECT_LE(std::abs(2 * KnobValue(p, info) - (info.minimum + info.maximum)), 1);
        for (float v : {0.1f, 0.37f, 0.5f, 0.93f})
        {
            SetNormalizedValue(p, info, v);
            const float back = NormalizedValue(p, info);
            EXPECT_NEAR(back, v, Step(info) / 2 + 1e-6) << v;
            // The host's own value written back changes nothing.
            const SynthProgram before = p;
            SetNormalizedValue(p, info, back);
            EXPECT_EQ(std::memcmp(&before, &p, sizeof p), 0) << v;
        }
    }
}

TEST(ParameterTable, OnlyTheEntrysFieldIsWritten)
{
    for (const ParameterInfo& info : kParameters)
    {
        SCOPED_TRACE(info.name);
        SynthProgram p = NewProgram();
        SetNormalizedValue(p, info, 0.0f);
        SynthProgram expected = p;
        SetNormalizedValue(p, info, 1.0f);
        if (info.kind == ParameterKind::Float)
        {
            EXPECT_NE(FloatAt(p, info), FloatAt(expected, info));
            FloatAt(expected, info) = FloatAt(p, info);
        }
        else
        {
            EXPECT_NE(IntAt(p, info), IntAt(expected, info));
            IntAt(expected, info) = IntAt(p, info);
        }
        EXPECT_EQ(std::memcmp(&expected, &p, sizeof p), 0);
    }
}

TEST(ParameterTable, UnusableHostValuesAreClampedAndNeverStoredAsNaN)
{
    const ParameterInfo& cutoff = Named("Filter Cutoff");
    const ParameterInfo& bend = Named("Pitch Bend Up");
    SynthProgram p = NewProgram();
    SetNormalizedValue(p, cutoff, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(p.cutoff, 0.0f);
    SetNormalizedValue(p, cutoff, std::numeric_limits<float>::infinity());
    EXPECT_EQ(p.cutoff, 1.0f);
    SetNormalizedValue(p, cutoff, -3.0f);
    EXPECT_EQ(p.cutoff, 0.0f);
    SetNormalizedValue(p, bend, 7.0f);
    EXPECT_EQ(p.bendUp, 12);
    SetNormalizedValue(p, bend, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(p.bendUp, 0);
}

TEST(ParameterTable, DamagedFieldsReadAsTheNearestEnd)
{
    SynthProgram p = NewProgram();
    const ParameterInfo& cutoff = Named("Filter Cutoff");
    const ParameterInfo& wave = Named("LFO1 Wave");
    p.cutoff = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(NormalizedValue(p, cutoff), 0.0f);
    EXPECT_EQ(KnobValue(p, cutoff), 0);
    EXPECT_EQ(Text(p, cutoff), "0");
    p.cutoff = 3e12f;
    EXPECT_EQ(NormalizedValue(p, cutoff), 1.0f);
    EXPECT_EQ(Text(p, cutoff), "1000000000");
    p.lfo[0].wave = 999;
    EXPECT_EQ(NormalizedValue(p, wave), 1.0f);
    EXPECT_EQ(Text(p, wave), "");
    p.lfo[0].wave = -1;
    EXPECT_EQ(NormalizedValue(p, wave), 0.0f);
    EXPECT_EQ(Text(p, wave), "");
}

TEST(ParameterTable, KnobValuesRoundHalvesAwayFromZeroWithinLimits)
{
    EXPECT_EQ(RoundToKnob(static_cast<double>(0.53f * 100.0f)), 53);  // 52.999996
    EXPECT_EQ(RoundToKnob(2.5), 3);
    EXPECT_EQ(RoundToKnob(-2.5), -3);
    EXPECT_EQ(RoundToKnob(2.4999), 2);
    EXPECT_EQ(RoundToKnob(-2.4999), -2);
    EXPECT_EQ(RoundToKnob(-0.4), 0);
    // 2^23 + 1: a float sum would round the half up to 8388610.
    EXPECT_EQ(RoundToKnob(8388609.0), 8388609);
    EXPECT_EQ(RoundToKnob(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundToKnob(1e30), 1000000000);
    EXPECT_EQ(RoundToKnob(-std::numeric_limits<double>::infinity()), -1000000000);
}

TEST(ParameterTable, TextIsTheKnobsValueOrItsName)
{
    SynthProgram p = NewProgram();
    p.cutoff = 0.53f;  // 52.999996 x 100
    EXPECT_EQ(Text(p, Named("Filter Cutoff")), "53");
    p.keyPm = -0.25f;
    EXPECT_EQ(Text(p, Named("Key Tracking PM")), "-25");
    p.wave1 = 3;
    EXPECT_EQ(Text(p, Named("Oscillators Wave1")), "PM");
    p.lfo[1].wave = 4;
    EXPECT_EQ(Text(p, Named("LFO2 Wave")), "RND");
    p.mono = 1;
    EXPECT_EQ(Text(p, Named("Master Mono")), "ON");
    p.legato = 0;
    EXPECT_EQ(Text(p, Named("Master Legato")), "OFF");
    p.delayBeats = 3;
    p.delayDiv = 16;
    EXPECT_EQ(Text(p, Named("Delay Time")), "3/16");
    // Effect settings read in their own units.
    p.reverbSize = 40;
    EXPECT_EQ(Text(p, Named("Reverb Size")), "4000");
    p.chorusRate = 16;
    EXPECT_EQ(Text(p, Named("Chorus Rate")), "1.6");
    p.phaserRate = 0.1f;
    EXPECT_EQ(Text(p, Named("Phaser Rate")), "0.10");
    p.eqFreqLow = 40;
    EXPECT_EQ(Text(p, Named("EQ Freq Low")), "800");
    p.eqLow = 80;
    EXPECT_EQ(Text(p, Named("EQ Low")), "-20");
    EXPECT_TRUE(SetValueFromText(p, Named("Reverb Size"), "2500 ms"));
    EXPECT_EQ(p.reverbSize, 25);
    EXPECT_TRUE(SetValueFromText(p, Named("EQ Low"), "+30"));
    EXPECT_EQ(p.eqLow, 130);
    EXPECT_TRUE(SetValueFromText(p, Named("Chorus Rate"), "0.5 Hz"));
    EXPECT_EQ(p.chorusRate, 5);
    EXPECT_FALSE(SetValueFromText(p, Named("Reverb Size"), "11000"));
    p.coarse = -12;
    EXPECT_EQ(Text(p, Named("Master Coarse")), "-12");

    char tiny[3];
    ValueText(p, Named("Delay Time"), tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "3/");
    char untouched = 'x';
    ValueText(p, Named("Delay Time"), &untouched, 0);
    EXPECT_EQ(untouched, 'x');
}

TEST(ParameterTable, TypedValuesInKnobUnitsAreRead)
{
    SynthProgram p = NewProgram();
    EXPECT_TRUE(SetValueFromText(p, Named("Filter Cutoff"), "30"));
    EXPECT_EQ(p.cutoff, 0.3f);
    EXPECT_TRUE(SetValueFromText(p, Named("Filter Cutoff"), " 42 % "));
    EXPECT_EQ(p.cutoff, 0.42f);
    EXPECT_TRUE(SetValueFromText(p, Named("Filter Cutoff"), "49.6"));
    EXPECT_EQ(p.cutoff, 0.5f);
    EXPECT_TRUE(SetValueFromText(p, Named("Key Tracking Cutoff"), "-100"));
    EXPECT_EQ(p.keyCutoff, -1.0f);
    EXPECT_TRUE(SetValueFromText(p, Named("Chorus Delay"), "35ms"));
    EXPECT_EQ(p.chorusDelay, 35);
    EXPECT_TRUE(SetValueFromText(p, Named("Master Coarse"), "-7 st"));
    EXPECT_EQ(p.coarse, -7);
    EXPECT_TRUE(SetValueFromText(p, Named("Oscillators Wave2"), "pm"));
    EXPECT_EQ(p.wave2, 3);
    EXPECT_TRUE(SetValueFromText(p, Named("Oscillators Wave2"), "4"));
    EXPECT_EQ(p.wave2, 4);
    EXPECT_TRUE(SetValueFromText(p, Named("LFO1 Restart"), "On"));
    EXPECT_EQ(p.lfo[0].restart, 1);
    p.delayDiv = 16;
    EXPECT_TRUE(SetValueFromText(p, Named("Delay Time"), "5"));
    EXPECT_EQ(p.delayBeats, 5);
    EXPECT_TRUE(SetValueFromText(p, Named("Delay Time"), "7/16"));
    EXPECT_EQ(p.delayBeats, 7);
    EXPECT_EQ(p.delayDiv, 16);
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
        {"Filter Cutoff", "101"},    {"Filter Cutoff", "-1"},         {"Filter Cutoff", "abc"},
        {"Filter Cutoff", ""},       {"Filter Cutoff", "   "},        {"Filter Cutoff", "30 ms"},
        {"Filter Cutoff", "30 %x"},  {"Filter Cutoff", "nan"},        {"Filter Cutoff", "inf"},
        {"Filter Cutoff", "3 0"},    {"Phaser Rate", "0"},            {"Chorus Delay", "151"},
        {"Oscillators Wave1", "5"},  {"Oscillators Wave1", "SAW3"},   {"Master Mono", "2"},
        {"Master Mono", "yes"},      {"Delay Time", "3/8"},           {"Delay Time", "3/"},
        {"Delay Time", "33"},        {"Delay Time", "3 %"},           {"EQ Freq High", "39"},
    };
    for (const auto& c : refused)
        EXPECT_FALSE(SetValueFromText(p, Named(c.name), c.text)) << c.name << " \"" << c.text << "\"";
    EXPECT_FALSE(SetValueFromText(p, Named("Filter Cutoff"), nullptr));
    EXPECT_EQ(std::memcmp(&before, &p, sizeof p), 0);
}

TEST(ParameterTable, EveryEntryReadsBackItsOwnText)
{
    for (const ParameterInfo& info : kParameters)
    {
        SCOPED_TRACE(info.name);
        SynthProgram p = NewProgram();
        for (float v : {0.0f, 0.37f, 1.0f})
        {
            SetNormalizedValue(p, info, v);
            const SynthProgram shown = p;
            const std::string text = Text(p, info);
            SetNormalizedValue(p, info, 1.0f - v);
            EXPECT_TRUE(SetValueFromText(p, info, text.c_str())) << text;
            EXPECT_EQ(std::memcmp(&shown, &p, sizeof p), 0) << text;
        }
    }
}
