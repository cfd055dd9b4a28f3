// The built plug-in library, loaded through the test host and driven through
// its exported entry like any host would.
#include "host/CVstHost.h"
#include "host/VstAbi.h"
#include "io/CMemoryStream.h"
#include "synth/CSynth.h"
#include "synth/ParameterTable.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace
{
constexpr int32_t kBlock = 256;
constexpr float kGuard = -777.0f;
constexpr int32_t kGuardSamples = 32;

// Two channels with guard samples before and after the block.
struct Channels
{
    Channels() : left(kBlock + 2 * kGuardSamples, kGuard), right(kBlock + 2 * kGuardSamples, kGuard)
    {
        pointers[0] = left.data() + kGuardSamples;
        pointers[1] = right.data() + kGuardSamples;
    }
    bool GuardsIntact() const
    {
        for (int32_t i = 0; i < kGuardSamples; ++i)
            for (const std::vector<float>* channel : {&left, &right})
                if ((*channel)[static_cast<size_t>(i)] != kGuard ||
                    (*channel)[static_cast<size_t>(kGuardSamples + kBlock + i)] != kGuard)
                    return false;
        return true;
    }
    bool AllFinite() const
    {
        for (int32_t i = 0; i < kBlock; ++i)
            if (!std::isfinite(pointers[0][i]) || !std::isfinite(pointers[1][i]))
                return false;
        return true;
    }
    // The block's left channel followed by its right one.
    std::vector<float> Both() const
    {
        std::vector<float> both(pointers[0], pointers[0] + kBlock);
        both.insert(both.end(), pointers[1], pointers[1] + kBlock);
        return both;
    }
    std::vector<float> left;
    std::vector<float> right;
    float* pointers[2];
};

void Start(CVstHost& host)
{
    ASSERT_TRUE(host.Load(VELMORA_PLUGIN)) << host.Error();
    host.SetSampleRate(44100.0f);
    host.SetBlockSize(kBlock);
    host.Resume();
}

std::string Text(CVstHost& host, int32_t opcode, int32_t index)
{
    char text[256];
    std::memset(text, 0, sizeof text);
    host.Dispatch(opcode, index, 0, text, 0.0f);
    return text;
}

TEST(VstEntry, BothEntryNamesAreExportedAndRefuseAMissingCallback)
{
    void* library = dlopen(VELMORA_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain"));
    auto legacy = reinterpret_cast<VstPluginMainProc>(dlsym(library, "main"));
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(legacy, nullptr);
    EXPECT_EQ(entry(nullptr), nullptr);
    EXPECT_EQ(legacy(nullptr), nullptr);
    EXPECT_EQ(dlsym(library, "CreateEditor"), nullptr);  // the core stays hidden
    dlclose(library);
}

TEST(VstEntry, RecordDescribesTheInstrument)
{
    CVstHost host;
    Start(host);
    AEffect* effect = host.Effect();
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(host.NumPrograms(), 64);
    EXPECT_EQ(host.NumParams(), kParameterTableSize);
    EXPECT_EQ(host.NumInputs(), 0);
    EXPECT_EQ(host.NumOutputs(), 2);
    EXPECT_EQ(host.Flags(), 0x131);
    EXPECT_EQ(host.UniqueId(), VstFourCC('v', 'l', 'm', '1'));
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_TRUE(host.WantsMidi());
}

TEST(VstEntry, AnswersOfTheRealCore)
{
    CVstHost host;
    Start(host);
    EXPECT_EQ(host.Dispatch(effIdentify, 0, 0, nullptr, 0.0f), VstFourCC('N', 'v', 'E', 'f'));
    EXPECT_EQ(host.Dispatch(effGetVstVersion, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ(host.Dispatch(effGetPlugCategory, 0, 0, nullptr, 0.0f), kPlugCategSynth);
    EXPECT_EQ(host.Dispatch(effGetCurrentMidiProgram, 0, 0, nullptr, 0.0f), -1);
    EXPECT_EQ(host.Dispatch(effCanBeAutomated, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent"), 0.0f), 1);
    EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, const_cast<char*>("sendVstMidiEvent"), 0.0f), -1);
    EXPECT_EQ(Text(host, effGetParamName, 13), "Filter Cutoff");
    EXPECT_EQ(Text(host, effGetParamLabel, 13), "%");
    EXPECT_EQ(Text(host, effGetParamName, kParameterTableSize), "");
    EXPECT_EQ(host.Effect()->getParameter(host.Effect(), kParameterTableSize), 0.0f);
    EXPECT_EQ(host.Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstTimeInfo"), 0.0f), 1);
    EXPECT_EQ(Text(host, effGetEffectName, 0), "Velmora");
    EXPECT_EQ(Text(host, effGetVendorString, 0), "Velmora Instruments");
    EXPECT_EQ(Text(host, effGetProductString, 0), "Velmora");
    EXPECT_EQ(host.Dispatch(effGetVendorVersion, 0, 0, nullptr, 0.0f), 1200);

    VstPinProperties pin{};
    EXPECT_EQ(host.Dispatch(effGetOutputProperties, 1, 0, &pin, 0.0f), 1);
    EXPECT_STREQ(pin.label, "2 Out");
    EXPECT_EQ(pin.flags, 3);
    EXPECT_EQ(host.Dispatch(effGetOutputProperties, 2, 0, &pin, 0.0f), 0);

    ERect* rect = nullptr;
    EXPECT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 824);
    EXPECT_EQ(rect->bottom - rect->top, 376);
    EXPECT_EQ(host.Dispatch(effEditIdle, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(host.Dispatch(effEditClose, 0, 0, nullptr, 0.0f), 0);
}

TEST(VstEntry, ProgramsAndNamesCutTo24Characters)
{
    CVstHost host;
    Start(host);
    host.SetProgram(63);
    EXPECT_EQ(host.GetProgram(), 63);
    host.SetProgram(64);
    EXPECT_EQ(host.GetProgram(), 63);

    const std::string longName = "A name much longer than the host may show";
    host.SetProgramName(longName);
    EXPECT_EQ(host.GetProgramName(), longName.substr(0, 24));
    std::string indexed;
    ASSERT_TRUE(host.GetProgramNameIndexed(63, indexed));
    EXPECT_EQ(indexed, longName.substr(0, 24));
    EXPECT_FALSE(host.GetProgramNameIndexed(64, indexed));
    EXPECT_EQ(indexed, longName.substr(0, 24));

    host.SetProgram(2);
    host.SetProgramName("Short");
    EXPECT_EQ(host.GetProgramName(), "Short");
    ASSERT_TRUE(host.GetProgramNameIndexed(63, indexed));
    EXPECT_EQ(indexed, longName.substr(0, 24));
}

TEST(VstEntry, TimeInfoIsAskedOncePerBlock)
{
    CVstHost host;
    Start(host);
    Channels channels;
    for (int block = 0; block < 5; ++block)
        ASSERT_TRUE(host.Process(channels.pointers, kBlock));
    EXPECT_EQ(host.TimeQueries(), 5);
    EXPECT_EQ(host.SamplePosition(), 5.0 * kBlock);
}

TEST(VstEntry, BadEventOffsetsNeverWritePastTheBuffers)
{
    CVstHost host;
    Start(host);
    Channels channels;
    ASSERT_TRUE(host.QueueMidi(200, 0x90, 60, 100));
    ASSERT_TRUE(host.QueueMidi(50, 0x90, 64, 100));      // out of order
    ASSERT_TRUE(host.QueueMidi(-40, 0x90, 67, 100));     // before the block
    ASSERT_TRUE(host.QueueMidi(kBlock + 500, 0x90, 72, 100));  // past it
    ASSERT_TRUE(host.QueueMidi(0x7FFFFFFF, 0x80, 60, 0));
    ASSERT_TRUE(host.Process(channels.pointers, kBlock));
    EXPECT_TRUE(channels.GuardsIntact());
    EXPECT_TRUE(channels.AllFinite());
    for (int block = 0; block < 20; ++block)
    {
        ASSERT_TRUE(host.Process(channels.pointers, kBlock));
        ASSERT_TRUE(channels.GuardsIntact()) << block;
        ASSERT_TRUE(channels.AllFinite()) << block;
    }
}

TEST(VstEntry, BankChunkCarriesProgramsToAnotherInstance)
{
    CVstHost first;
    Start(first);
    first.SetProgram(5);
    first.SetProgramName("Carried over");
    first.SetProgram(7);
    const std::vector<uint8_t> bank = first.GetChunk(false);
    ASSERT_FALSE(bank.empty());

    CVstHost second;
    Start(second);
    second.SetChunk(bank, false);
    std::string name;
    ASSERT_TRUE(second.GetProgramNameIndexed(5, name));
    EXPECT_EQ(name, "Carried over");
    EXPECT_EQ(second.GetProgram(), 7);
    EXPECT_EQ(second.GetChunk(false), bank);
}

TEST(VstEntry, ProgramChunkReplacesOnlyTheCurrentProgram)
{
    CVstHost first;
    Start(first);
    first.SetProgram(3);
    first.SetProgramName("Single");
    const std::vector<uint8_t> program = first.GetChunk(true);
    ASSERT_FALSE(program.empty());
    EXPECT_LT(program.size(), first.GetChunk(false).size());

    CVstHost second;
    Start(second);
    std::string untouched;
    ASSERT_TRUE(second.GetProgramNameIndexed(3, untouched));
    second.SetProgram(10);
    second.SetChunk(program, true);
    EXPECT_EQ(second.GetProgramName(), "Single");
    std::string name;
    ASSERT_TRUE(second.GetProgramNameIndexed(3, name));
    EXPECT_EQ(name, untouched);
    EXPECT_EQ(second.GetChunk(true), program);
}
}

namespace
{
// The first block's left and right channels after a note-on at offset.
std::vector<float> FirstBlockWithNoteAt(int32_t offset)
{
    CVstHost host;
    Start(host);
    Channels channels;
    host.QueueMidi(offset, 0x90, 60, 100);
    host.Process(channels.pointers, kBlock);
    EXPECT_TRUE(channels.GuardsIntact());
    return channels.Both();
}

// Index of the first sample where either channel is not exactly zero; the
// block size when there is none.
int32_t FirstSound(const std::vector<float>& both)
{
    for (int32_t i = 0; i < kBlock; ++i)
        if (both[static_cast<size_t>(i)] != 0.0f || both[static_cast<size_t>(kBlock + i)] != 0.0f)
            return i;
    return kBlock;
}

TEST(VstEntry, NoteSoundsFromTheSampleItWasSentFor)
{
    // The amplitude envelope starts from zero, so the note's own first sample
    // may still be silent; the next one is not.
    for (int32_t offset : {100, 37, 0, 254})
    {
        const int32_t first = FirstSound(FirstBlockWithNoteAt(offset));
        EXPECT_GE(first, offset) << offset;
        EXPECT_LE(first, offset + 1) << offset;
    }
}

TEST(VstEntry, SilenceWithoutNotesIsExactZero)
{
    CVstHost host;
    Start(host);
    Channels channels;
    for (int block = 0; block < 4; ++block)
    {
        ASSERT_TRUE(host.Process(channels.pointers, kBlock));
        ASSERT_EQ(FirstSound(channels.Both()), kBlock) << block;
    }
}

// Renders blocks of one instance that plays key from the first block; when
// other is given, it plays otherKey in the same process, block by block.
std::vector<float> Render(int32_t blocks, uint8_t key, CVstHost* other, uint8_t otherKey,
                          std::vector<float>* otherOut)
{
    CVstHost host;
    Start(host);
    Channels mine;
    Channels theirs;
    std::vector<float> out;
    host.QueueMidi(10, 0x90, key, 100);
    if (other)
        other->QueueMidi(20, 0x90, otherKey, 120);
    for (int32_t block = 0; block < blocks; ++block)
    {
        host.Process(mine.pointers, kBlock);
        out.insert(out.end(), mine.pointers[0], mine.pointers[0] + kBlock);
        if (!other)
            continue;
        other->Process(theirs.pointers, kBlock);
        otherOut->insert(otherOut->end(), theirs.pointers[0], theirs.pointers[0] + kBlock);
    }
    return out;
}

TEST(VstEntry, TwoInstancesRenderIndependently)
{
    const std::vector<float> alone = Render(40, 60, nullptr, 0, nullptr);
    CVstHost other;
    Start(other);
    std::vector<float> otherOut;
    const std::vector<float> together = Render(40, 60, &other, 72, &otherOut);
    ASSERT_EQ(together.size(), alone.size());
    EXPECT_TRUE(together == alone) << "the other instance changed this one's sound";
    EXPECT_FALSE(otherOut == alone);
    EXPECT_NE(std::count(otherOut.begin(), otherOut.end(), 0.0f), static_cast<long>(otherOut.size()));
}
}

namespace
{
// A host playing, block by block, a factory program whose tails end within
// kTailSeconds: "Fast Chorus Keys", or "E Piano" with its reverb.
constexpr int32_t kShortTails = 18;
constexpr int32_t kReverbProgram = 14;

struct Player
{
    explicit Player(int32_t program = kShortTails)
    {
        Start(host);
        host.SetProgram(program);
    }

    void Midi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2)
    {
        ASSERT_TRUE(host.QueueMidi(offset, status, data1, data2));
    }
    // Renders one block; true when it is exact silence.
    bool Block()
    {
        EXPECT_TRUE(host.Process(channels.pointers, kBlock));
        return FirstSound(channels.Both()) == kBlock;
    }
    // Renders seconds of audio; true when its last block is exact silence.
    bool Seconds(double seconds)
    {
        bool silent = false;
        for (int32_t b = 0; b < static_cast<int32_t>(seconds * 44100.0 / kBlock); ++b)
            silent = Block();
        return silent;
    }
    void Chord(int32_t offset)
    {
        for (uint8_t key : {48, 55, 60, 64})
            Midi(offset, 0x90, key, 100);
    }

    CVstHost host;
    Channels channels;
};

// Longer than the release of the short-tailed program and its chorus.
constexpr double kTailSeconds = 3.0;

TEST(VstEntryChannelMode, AllNotesOffLetsTailsRingThenFallSilent)
{
    Player player;
    player.Chord(0);
    EXPECT_FALSE(player.Seconds(1.0));
    player.Midi(17, 0xB3, 123, 0);  // any channel
    EXPECT_FALSE(player.Block());    // release tails go on
    EXPECT_TRUE(player.Seconds(kTailSeconds));
    EXPECT_TRUE(player.Seconds(1.0));

    Player held;  // without it the chord never ends
    held.Chord(0);
    EXPECT_FALSE(held.Seconds(1.0 + kTailSeconds));
}

TEST(VstEntryChannelMode, AllSoundOffIsSilentFromItsSample)
{
    Player player(kReverbProgram);
    player.Chord(0);
    EXPECT_FALSE(player.Seconds(1.0));
    player.Midi(100, 0xB0, 120, 0);
    player.Block();
    EXPECT_EQ(FirstSound(player.channels.Both()), 0);
    const std::vector<float> both = player.channels.Both();
    for (int32_t i = 100; i < kBlock; ++i)
        ASSERT_TRUE(both[static_cast<size_t>(i)] == 0.0f && both[static_cast<size_t>(kBlock + i)] == 0.0f) << i;
    EXPECT_TRUE(player.Block());
    EXPECT_TRUE(player.Seconds(1.0));
}

TEST(VstEntryChannelMode, SustainPedalHoldsUntilLiftedAndResetControllersLiftsIt)
{
    for (uint8_t lift : {64, 121})  // pedal up, or reset all controllers
    {
        Player player;
        player.Midi(0, 0xB0, 64, 127);
        player.Chord(10);
        for (uint8_t key : {48, 55, 60, 64})
            player.Midi(200, 0x80, key, 0);
        EXPECT_FALSE(player.Seconds(2.0 + kTailSeconds)) << int(lift);
        player.Midi(0, 0xB0, lift, 0);
        EXPECT_TRUE(player.Seconds(kTailSeconds)) << int(lift);
    }
}

TEST(VstEntry, ProgramChangeMessageSelectsTheProgram)
{
    Player player;
    player.Midi(5, 0xC2, 17, 0);
    player.Block();
    EXPECT_EQ(player.host.GetProgram(), 17);
    player.Midi(5, 0xC0, 64, 0);  // no such program
    player.Midi(6, 0xC0, 127, 0);
    player.Block();
    EXPECT_EQ(player.host.GetProgram(), 17);
}

TEST(VstEntry, ResumeClearsEveryTail)
{
    Player player(kReverbProgram);
    player.Chord(0);
    player.Seconds(0.5);
    for (uint8_t key : {48, 55, 60, 64})
        player.Midi(0, 0x80, key, 0);
    EXPECT_FALSE(player.Seconds(0.3));
    player.host.Suspend();
    player.host.Resume();
    EXPECT_TRUE(player.Block());
    EXPECT_TRUE(player.Seconds(1.0));
}

// effProcessEvents called twice before one block plays both lists, as one
// list of both would.
TEST(VstEntry, EventListsSentTwiceBeforeABlockBothPlay)
{
    struct List
    {
        int32_t numEvents = 0;
        intptr_t reserved = 0;
        VstEvent* events[2] = {};
        VstMidiEvent midi[2] = {};
        void Add(int32_t offset, uint8_t key)
        {
            VstMidiEvent& event = midi[numEvents];
            event.type = kVstMidiType;
            event.byteSize = sizeof event;
            event.deltaFrames = offset;
            event.midiData[0] = static_cast<char>(0x90);
            event.midiData[1] = static_cast<char>(key);
            event.midiData[2] = 100;
            events[numEvents++] = reinterpret_cast<VstEvent*>(&event);
        }
    };
    List first, second, both;
    first.Add(10, 60);
    second.Add(90, 67);
    both.Add(10, 60);
    both.Add(90, 67);

    Player split;
    split.host.Dispatch(effProcessEvents, 0, 0, &first, 0.0f);
    split.host.Dispatch(effProcessEvents, 0, 0, &second, 0.0f);
    Player whole;
    whole.host.Dispatch(effProcessEvents, 0, 0, &both, 0.0f);
    Player onlySecond;
    onlySecond.host.Dispatch(effProcessEvents, 0, 0, &second, 0.0f);
    for (int32_t block = 0; block < 8; ++block)
    {
        split.Block();
        whole.Block();
        onlySecond.Block();
        ASSERT_EQ(split.channels.Both(), whole.channels.Both()) << block;
    }
    EXPECT_NE(split.channels.Both(), onlySecond.channels.Both());
}

// Hosts that undo or compare hand back the very buffer they were given.
TEST(VstEntry, ChunkSetFromItsOwnBufferLoads)
{
    for (intptr_t preset : {0, 1})
    {
        CVstHost host;
        Start(host);
        host.SetProgram(3);
        host.SetProgramName("Before the change");
        void* data = nullptr;
        const intptr_t size = host.Dispatch(effGetChunk, static_cast<int32_t>(preset), 0, &data, 0.0f);
        ASSERT_GT(size, 0);
        host.SetProgramName("After the change");
        host.Dispatch(effSetChunk, static_cast<int32_t>(preset), size, data, 0.0f);
        EXPECT_EQ(host.GetProgramName(), "Before the change") << preset;
        EXPECT_EQ(host.GetProgram(), 3) << preset;
    }
}
}

namespace
{
// Fields the patch format does not store: they move the sound, not the chunk.
const std::set<std::string> kNeverStored = {"LFO1 Noise", "LFO1 Mix",    "EQ Freq Low", "EQ Freq High",
                                            "EQ Gain",    "EQ Low",      "EQ Mid",      "EQ High"};

void SetParameter(CVstHost& host, int32_t index, float value)
{
    host.Effect()->setParameter(host.Effect(), index, value);
}

float GetParameter(CVstHost& host, int32_t index)
{
    return host.Effect()->getParameter(host.Effect(), index);
}

// The current program of a bank chunk, read by a synth of our own.
class CChunkReader
{
public:
    const SynthProgram& Read(const std::vector<uint8_t>& bank)
    {
        CMemoryStream stream;
        stream.Write(bank.data(), static_cast<int32_t>(bank.size()));
        stream.Seek(0, CStream::FromStart);
        synth.LoadState(&stream, false);
        return *synth.currentProgram;
    }

private:
    CSynth synth;
};
}

TEST(VstEntryParameters, EveryParameterIsNamedOnceAndAutomatable)
{
    CVstHost host;
    Start(host);
    std::set<std::string> names;
    for (int32_t i = 0; i < host.NumParams(); ++i)
    {
        const std::string name = Text(host, effGetParamName, i);
        EXPECT_FALSE(name.empty()) << i;
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(host.Dispatch(effCanBeAutomated, i, 0, nullptr, 0.0f), 1) << name;
    }
    EXPECT_EQ(host.Dispatch(effCanBeAutomated, host.NumParams(), 0, nullptr, 0.0f), 0);
    EXPECT_EQ(host.Dispatch(effCanBeAutomated, -1, 0, nullptr, 0.0f), 0);
}

// 0, 1 and 0.5 put the knob at its ends and its middle; the bank chunk
// carries the value and getParameter gives it back.
TEST(VstEntryParameters, HostValuesReachTheRangeEndsAndMiddleInTheChunk)
{
    CVstHost host;
    Start(host);
    host.SetProgram(9);
    CChunkReader reader;
    for (int32_t i = 0; i < host.NumParams(); ++i)
    {
        const ParameterInfo& info = kParameters[i];
        SCOPED_TRACE(info.name);
        SetParameter(host, i, 0.0f);
        EXPECT_EQ(GetParameter(host, i), 0.0f);
        const std::vector<uint8_t> low = host.GetChunk(false);
        SetParameter(host, i, 1.0f);
        EXPECT_EQ(GetParameter(host, i), 1.0f);
        const std::vector<uint8_t> high = host.GetChunk(false);
        SetParameter(host, i, 0.5f);
        const std::vector<uint8_t> middle = host.GetChunk(false);
        EXPECT_NEAR(GetParameter(host, i), 0.5f, 0.5 / (info.maximum - info.minimum) + 1e-6);

        if (kNeverStored.count(info.name))
        {
            EXPECT_EQ(low, high);
            continue;
        }
        EXPECT_NE(low, high);
        EXPECT_EQ(KnobValue(reader.Read(low), info), info.minimum);
        EXPECT_EQ(KnobValue(reader.Read(high), info), info.maximum);
        EXPECT_LE(std::abs(2 * KnobValue(reader.Read(middle), info) - (info.minimum + info.maximum)), 1);
    }
}

TEST(VstEntryParameters, ValuesRoundTripWithinOneStep)
{
    CVstHost host;
    Start(host);
    for (int32_t i = 0; i < host.NumParams(); ++i)
    {
        const ParameterInfo& info = kParameters[i];
        for (float v : {0.05f, 0.3f, 0.61f, 0.99f})
        {
            SetParameter(host, i, v);
            EXPECT_NEAR(GetParameter(host, i), v, 1.0 / (info.maximum - info.minimum)) << info.name << " " << v;
        }
    }
}

TEST(VstEntryParameters, DisplayAndTypedValuesUseTheKnobsUnits)
{
    CVstHost host;
    Start(host);
    const int32_t cutoff = FindParameterByName("Filter Cutoff");
    const int32_t wave = FindParameterByName("Oscillators Wave1");
    const int32_t mono = FindParameterByName("Master Mono");
    SetParameter(host, cutoff, 0.3f);
    EXPECT_EQ(Text(host, effGetParamDisplay, cutoff), "30");
    EXPECT_EQ(Text(host, effGetParamLabel, cutoff), "%");
    SetParameter(host, wave, 1.0f);
    EXPECT_EQ(Text(host, effGetParamDisplay, wave), "SAW2");
    SetParameter(host, mono, 1.0f);
    EXPECT_EQ(Text(host, effGetParamDisplay, mono), "ON");

    EXPECT_EQ(host.Dispatch(effString2Parameter, cutoff, 0, const_cast<char*>("75"), 0.0f), 1);
    EXPECT_EQ(GetParameter(host, cutoff), 0.75f);
    EXPECT_EQ(Text(host, effGetParamDisplay, cutoff), "75");
    EXPECT_EQ(host.Dispatch(effString2Parameter, wave, 0, const_cast<char*>("square"), 0.0f), 1);
    EXPECT_EQ(Text(host, effGetParamDisplay, wave), "SQUARE");
    EXPECT_EQ(host.Dispatch(effString2Parameter, cutoff, 0, const_cast<char*>("loud"), 0.0f), 0);
    EXPECT_EQ(host.Dispatch(effString2Parameter, cutoff, 0, const_cast<char*>("150"), 0.0f), 0);
    EXPECT_EQ(GetParameter(host, cutoff), 0.75f);
}
