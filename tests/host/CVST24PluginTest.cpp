#include "host/CVST24Plugin.h"

#include "RecordingCore.h"
#include "io/ByteOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

namespace
{
struct HostRequest
{
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
};

// What the fake host answers and what it was asked.
struct FakeHost
{
    VstTimeInfo info{};
    bool answerTime = true;
    std::vector<HostRequest> requests;
};

FakeHost* host = nullptr;

intptr_t HostCallback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void*, float opt)
{
    host->requests.push_back({opcode, index, value, opt});
    if (opcode == audioMasterGetTime)
        return host->answerTime ? reinterpret_cast<intptr_t>(&host->info) : 0;
    return 0;
}

// A list of MIDI events in the host's layout.
struct EventList
{
    int32_t numEvents = 0;
    intptr_t reserved = 0;
    VstEvent* events[16] = {};
    VstMidiEvent midi[16] = {};

    void Add(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2, int32_t type = kVstMidiType)
    {
        VstMidiEvent& event = midi[numEvents];
        event = VstMidiEvent{};
        event.type = type;
        event.byteSize = sizeof event;
        event.deltaFrames = offset;
        event.midiData[0] = static_cast<char>(status);
        event.midiData[1] = static_cast<char>(data1);
        event.midiData[2] = static_cast<char>(data2);
        events[numEvents++] = reinterpret_cast<VstEvent*>(&event);
    }
    VstEvents* Get() { return reinterpret_cast<VstEvents*>(this); }
};

constexpr float kGuard = 12345.0f;
constexpr int32_t kGuardSamples = 16;

// Two output channels with guard samples on both sides of the block.
struct Outputs
{
    explicit Outputs(int32_t frames)
        : left(static_cast<size_t>(frames + 2 * kGuardSamples), kGuard),
          right(static_cast<size_t>(frames + 2 * kGuardSamples), kGuard), frames(frames)
    {
        pointers[0] = left.data() + kGuardSamples;
        pointers[1] = right.data() + kGuardSamples;
        for (int32_t i = 0; i < frames; ++i)
            pointers[0][i] = pointers[1][i] = 7.0f;  // stale data that must be cleared
    }
    bool GuardsIntact() const
    {
        for (int32_t i = 0; i < kGuardSamples; ++i)
        {
            const size_t after = static_cast<size_t>(kGuardSamples + frames + i);
            if (left[static_cast<size_t>(i)] != kGuard || right[static_cast<size_t>(i)] != kGuard ||
                left[after] != kGuard || right[after] != kGuard)
                return false;
        }
        return true;
    }
    std::vector<float> left;
    std::vector<float> right;
    float* pointers[2];
    int32_t frames;
};

class CVST24PluginTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = &fakeHost;
        core = new RecordingCore;
        core->destroyed = &coreDestroyed;
        plugin = CVST24Plugin::Create(HostCallback, core, nullptr);
        ASSERT_NE(plugin, nullptr);
        effect = plugin->getAeffect();
    }
    void TearDown() override
    {
        if (effect)
            Dispatch(effClose);
        host = nullptr;
    }
    intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    void Process(Outputs& outputs)
    {
        effect->processReplacing(effect, nullptr, outputs.pointers, outputs.frames);
    }
    std::vector<std::string> CallKinds() const
    {
        std::vector<std::string> kinds;
        for (const RecordingCore::Call& call : core->calls)
            kinds.push_back(call.what == "block" ? "block " + std::to_string(call.frames)
                            : call.what == "midi" ? "midi " + std::to_string(call.message)
                                                  : call.what);
        return kinds;
    }

    FakeHost fakeHost;
    RecordingCore* core = nullptr;
    int32_t coreDestroyed = 0;
    CVST24Plugin* plugin = nullptr;
    AEffect* effect = nullptr;
};

TEST_F(CVST24PluginTest, RecordDeclaresAStereoInstrumentWithChunks)
{
    EXPECT_EQ(effect->magic, VstFourCC('V', 's', 't', 'P'));
    EXPECT_EQ(effect->numPrograms, 64);
    EXPECT_EQ(effect->numParams, RecordingCore::kParameters);
    EXPECT_EQ(effect->numInputs, 0);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, 16 | 32 | 256);  // no editor: built without a factory
    EXPECT_EQ(std::memcmp(&effect->uniqueID, "1mlv", 4), 0);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(effect->resvd1, 0);
    EXPECT_EQ(effect->object, static_cast<void*>(plugin));
    EXPECT_NE(effect->processReplacing, nullptr);
    EXPECT_EQ(effect->processDoubleReplacing, nullptr);
}

TEST(CVST24PluginCreate, WithoutHostOrCoreBuildsNothingAndFreesTheCore)
{
    int32_t destroyed = 0;
    RecordingCore* core = new RecordingCore;
    core->destroyed = &destroyed;
    EXPECT_EQ(CVST24Plugin::Create(nullptr, core, nullptr), nullptr);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(CVST24Plugin::Create(HostCallback, nullptr, nullptr), nullptr);
}

TEST_F(CVST24PluginTest, CloseDeletesThePluginAndItsCore)
{
    EXPECT_EQ(Dispatch(effClose), 0);
    effect = nullptr;
    EXPECT_EQ(coreDestroyed, 1);
}

TEST_F(CVST24PluginTest, ProgramsGoToTheCoreWithinRange)
{
    EXPECT_EQ(Dispatch(effOpen), 0);
    EXPECT_EQ(Dispatch(effSetProgram, 0, 5), 0);
    EXPECT_EQ(Dispatch(effSetProgram, 0, 64), 0);
    EXPECT_EQ(Dispatch(effSetProgram, 0, -1), 0);
    EXPECT_EQ(core->programs, std::vector<int32_t>{5});
    EXPECT_EQ(Dispatch(effGetProgram), 5);
}

TEST_F(CVST24PluginTest, ProgramNameIsSetOnTheCurrentProgramAndCutTo24Characters)
{
    core->program = 9;
    char name[] = "Warm Pad";
    EXPECT_EQ(Dispatch(effSetProgramName, 0, 0, name), 0);
    EXPECT_EQ(core->nameIndex, 9);
    EXPECT_EQ(core->storedName, "Warm Pad");

    core->programName = std::string(40, 'n');
    char text[64];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(Dispatch(effGetProgramName, 0, 0, text), 0);
    EXPECT_EQ(std::string(text), std::string(24, 'n'));
    EXPECT_EQ(text[25], 'x');
    EXPECT_EQ(core->nameRequests.back(), 9);
}

TEST_F(CVST24PluginTest, IndexedProgramNamesStopAtTheLastProgram)
{
    core->programName = "Last one";
    char text[64];
    EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 63, 3, text), 1);
    EXPECT_STREQ(text, "Last one");
    EXPECT_EQ(core->nameRequests.back(), 63);
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 64, 0, text), 0);
    EXPECT_EQ(Dispatch(effGetProgramNameIndexed, -1, 0, text), 0);
    EXPECT_EQ(text[0], 'x');
    EXPECT_EQ(core->nameRequests.size(), 1u);
}

TEST_F(CVST24PluginTest, ParameterTextsComeFromTheCore)
{
    char text[128];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(Dispatch(effGetParamLabel, 2, 0, text), 0);
    EXPECT_STREQ(text, "unit");
    EXPECT_EQ(Dispatch(effGetParamDisplay, 2, 0, text), 0);
    EXPECT_STREQ(text, "shown");
    EXPECT_EQ(Dispatch(effGetParamName, 5, 0, text), 0);
    EXPECT_STREQ(text, "name 5");
}

// Names are cut at 63 characters, units at 7: what hosts give for them.
TEST_F(CVST24PluginTest, ParameterNamesAndUnitsAreCutForTheHostsBuffer)
{
    char text[128];
    std::memset(text, 'x', sizeof text);
    core->parameterLabel = "0123456789";
    EXPECT_EQ(Dispatch(effGetParamLabel, 0, 0, text), 0);
    EXPECT_EQ(std::string(text), "0123456");
    EXPECT_EQ(text[8], 'x');

    struct CLongNames : RecordingCore
    {
        char* GetParameterName(int32_t) override { return NewString(std::string(100, 'n').c_str()); }
    };
    CVST24Plugin* other = CVST24Plugin::Create(HostCallback, new CLongNames, nullptr);
    ASSERT_NE(other, nullptr);
    std::memset(text, 'x', sizeof text);
    AEffect* record = other->getAeffect();
    record->dispatcher(record, effGetParamName, 0, 0, text, 0.0f);
    EXPECT_EQ(std::string(text), std::string(63, 'n'));
    EXPECT_EQ(text[64], 'x');
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

TEST_F(CVST24PluginTest, ParametersPassThroughTheRecord)
{
    effect->setParameter(effect, 3, 0.5f);
    ASSERT_EQ(core->parameterWrites.size(), 1u);
    EXPECT_EQ(core->parameterWrites[0].first, 3);
    EXPECT_EQ(core->parameterWrites[0].second, 0.5f);
    EXPECT_EQ(effect->getParameter(effect, 2), 0.5f);
}

TEST_F(CVST24PluginTest, EveryParameterCanBeAutomated)
{
    EXPECT_EQ(Dispatch(effCanBeAutomated, 0), 1);
    EXPECT_EQ(Dispatch(effCanBeAutomated, RecordingCore::kParameters - 1), 1);
    EXPECT_EQ(Dispatch(effCanBeAutomated, RecordingCore::kParameters), 0);
    EXPECT_EQ(Dispatch(effCanBeAutomated, -1), 0);
}

// Typed text goes to the core, which says whether it read it; without text
// the host only asks whether the parameter takes text.
TEST_F(CVST24PluginTest, TypedTextSetsAParameterThroughTheCore)
{
    EXPECT_EQ(Dispatch(effString2Parameter, 2, 0, const_cast<char*>("good")), 1);
    EXPECT_EQ(Dispatch(effString2Parameter, 4, 0, const_cast<char*>("bad")), 0);
    EXPECT_EQ(Dispatch(effString2Parameter, 4, 0, nullptr), 1);
    EXPECT_EQ(Dispatch(effString2Parameter, RecordingCore::kParameters, 0, const_cast<char*>("good")), 0);
    EXPECT_EQ(Dispatch(effString2Parameter, -1, 0, nullptr), 0);
    using Text = std::pair<int32_t, std::string>;
    EXPECT_EQ(core->parameterTexts, (std::vector<Text>{{2, "good"}, {4, "bad"}}));
}

TEST_F(CVST24PluginTest, SampleRateIsTruncatedAndUnusableRatesAreIgnored)
{
    EXPECT_EQ(Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.9f), 0);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 0.5f);
    Dispatch(effSetSampleRate, 0, 0, nullptr, -44100.0f);
    Dispatch(effSetSampleRate, 0, 0, nullptr, std::nanf(""));
    Dispatch(effSetSampleRate, 0, 0, nullptr, 1e12f);
    EXPECT_EQ(core->sampleRates, std::vector<int32_t>{48000});
}

TEST_F(CVST24PluginTest, BlockSizeIsStoredInTheCore)
{
    EXPECT_EQ(Dispatch(effSetBlockSize, 0, 512), 0);
    EXPECT_EQ(core->blockSize, 512);
    Dispatch(effSetBlockSize, 0, 0);
    Dispatch(effSetBlockSize, 0, -64);
    EXPECT_EQ(core->blockSize, 512);
}

TEST_F(CVST24PluginTest, ResumeAsksTheHostForMidi)
{
    EXPECT_EQ(Dispatch(effMainsChanged, 0, 0), 0);
    EXPECT_TRUE(fakeHost.requests.empty());
    EXPECT_EQ(Dispatch(effMainsChanged, 0, 1), 0);
    ASSERT_EQ(fakeHost.requests.size(), 1u);
    EXPECT_EQ(fakeHost.requests[0].opcode, audioMasterWantMidi);
    EXPECT_EQ(fakeHost.requests[0].value, 1);
}

TEST_F(CVST24PluginTest, ResumeAndNewRateOrBlockSizeSilenceTheCore)
{
    Dispatch(effMainsChanged, 0, 0);
    EXPECT_TRUE(CallKinds().empty());
    Dispatch(effMainsChanged, 0, 1);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 0.0f);  // ignored, nothing to clear
    Dispatch(effSetBlockSize, 0, 512);
    Dispatch(effSetBlockSize, 0, 0);
    EXPECT_EQ(CallKinds(), (std::vector<std::string>{"reset", "reset", "reset"}));
}

TEST_F(CVST24PluginTest, EventListsSentBeforeABlockAppendUpToTheCapacity)
{
    EventList first;
    first.Add(10, 0x90, 60, 1);
    EventList second;
    second.Add(20, 0x80, 60, 0);
    Dispatch(effProcessEvents, 0, 0, first.Get());
    Dispatch(effProcessEvents, 0, 0, second.Get());
    Outputs outputs(32);
    Process(outputs);
    EXPECT_EQ(CallKinds(), (std::vector<std::string>{"block 10", "midi " + std::to_string(0x013C90), "block 10",
                                                     "midi " + std::to_string(0x003C80), "block 12"}));

    EventList many;
    for (int32_t i = 0; i < 16; ++i)
        many.Add(i, 0x90, 60, 1);
    for (int32_t i = 0; i < CVST24Plugin::kMaxPendingEvents / 16 + 1; ++i)
        Dispatch(effProcessEvents, 0, 0, many.Get());
    EXPECT_EQ(plugin->DroppedEvents(), 16);
    core->calls.clear();
    Process(outputs);
    const std::vector<std::string> kinds = CallKinds();
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), "midi " + std::to_string(0x013C90)),
              CVST24Plugin::kMaxPendingEvents);
}

TEST_F(CVST24PluginTest, EditsAndReloadsReachTheHostUntilItCloses)
{
    ASSERT_NE(core->automation, nullptr);
    core->automation->BeginEdit(13);
    core->automation->Automate(13, 0.25f);
    core->automation->EndEdit(13);
    Dispatch(effSetProgram, 0, 5);
    char bytes[] = "AB";
    Dispatch(effSetChunk, 0, 2, bytes);
    std::vector<std::tuple<int32_t, int32_t, float>> asked;
    for (const HostRequest& request : fakeHost.requests)
        asked.emplace_back(request.opcode, request.index, request.opt);
    EXPECT_EQ(asked, (std::vector<std::tuple<int32_t, int32_t, float>>{{audioMasterBeginEdit, 13, 0.0f},
                                                                         {audioMasterAutomate, 13, 0.25f},
                                                                         {audioMasterEndEdit, 13, 0.0f},
                                                                         {audioMasterUpdateDisplay, 0, 0.0f},
                                                                         {audioMasterUpdateDisplay, 0, 0.0f}}));

    // A knob handler still running when the host closed the plug-in.
    fakeHost.requests.clear();
    plugin->Hold();
    Dispatch(effClose);
    core->automation->BeginEdit(13);
    EXPECT_TRUE(fakeHost.requests.empty());
    plugin->Release();
    effect = nullptr;
    EXPECT_EQ(coreDestroyed, 1);
}

TEST_F(CVST24PluginTest, FixedAnswers)
{
    char text[64];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(Dispatch(effIdentify), VstFourCC('N', 'v', 'E', 'f'));
    EXPECT_EQ(Dispatch(effGetPlugCategory), 2);
    EXPECT_EQ(Dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(Dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(Dispatch(effGetEffectName, 0, 0, text), 1);
    EXPECT_STREQ(text, "Velmora");
    EXPECT_EQ(Dispatch(effGetVendorString, 0, 0, text), 1);
    EXPECT_STREQ(text, "Velmora Instruments");
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(Dispatch(effGetProductString, 0, 0, text), 1);
    EXPECT_STREQ(text, "Velmora");
    EXPECT_EQ(Dispatch(effGetEffectName, 0, 0, nullptr), 0);
    EXPECT_EQ(Dispatch(effGetVendorVersion), 1200);
    EXPECT_EQ(Dispatch(effGetInputProperties, 0, 0, text), 0);
    for (int32_t opcode : {int32_t{effEditKeyDown}, int32_t{effEditKeyUp}, int32_t{effSetEditKnobMode}, int32_t{effGetTailSize}, 200})
        EXPECT_EQ(Dispatch(opcode, 0, 65, text), 0) << opcode;
}

TEST_F(CVST24PluginTest, CanDoOnlyReceivingEvents)
{
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstEvents")), 1);
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstMidiEvent")), 1);
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstTimeInfo")), 1);
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, const_cast<char*>("sendVstMidiEvent")), -1);
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, const_cast<char*>("")), -1);
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, nullptr), -1);
}

TEST_F(CVST24PluginTest, OutputPropertiesNameTwoStereoPins)
{
    VstPinProperties properties;
    std::memset(&properties, 0x55, sizeof properties);
    EXPECT_EQ(Dispatch(effGetOutputProperties, 1, 0, &properties), 1);
    EXPECT_STREQ(properties.label, "2 Out");
    EXPECT_EQ(properties.flags, kVstPinIsActive | kVstPinIsStereo);
    EXPECT_EQ(properties.arrangementType, 0x55555555);
    EXPECT_EQ(static_cast<uint8_t>(properties.shortLabel[0]), 0x55);
    EXPECT_EQ(Dispatch(effGetOutputProperties, 0, 0, &properties), 1);
    EXPECT_STREQ(properties.label, "1 Out");

    std::memset(&properties, 0x55, sizeof properties);
    EXPECT_EQ(Dispatch(effGetOutputProperties, 2, 0, &properties), 0);
    EXPECT_EQ(Dispatch(effGetOutputProperties, -1, 0, &properties), 0);
    EXPECT_EQ(properties.flags, 0x55555555);
}

TEST_F(CVST24PluginTest, BlockWithoutEventsIsOneClearedCall)
{
    Outputs outputs(256);
    Process(outputs);
    EXPECT_EQ(CallKinds(), std::vector<std::string>{"block 256"});
    for (int32_t i = 0; i < 256; ++i)
    {
        ASSERT_EQ(outputs.pointers[0][i], static_cast<float>(i + 1)) << i;
        ASSERT_EQ(outputs.pointers[1][i], -static_cast<float>(i + 1)) << i;
    }
    EXPECT_TRUE(outputs.GuardsIntact());
}

TEST_F(CVST24PluginTest, SilentCoreYieldsExactZeros)
{
    CVST24Plugin* silent = CVST24Plugin::Create(HostCallback, new CPluginBase, nullptr);
    ASSERT_NE(silent, nullptr);
    AEffect* record = silent->getAeffect();
    Outputs outputs(64);
    record->processReplacing(record, nullptr, outputs.pointers, 64);
    for (int32_t i = 0; i < 64; ++i)
        ASSERT_EQ(FloatBits(outputs.pointers[0][i]) | FloatBits(outputs.pointers[1][i]), 0u) << i;
    EXPECT_TRUE(outputs.GuardsIntact());
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

TEST_F(CVST24PluginTest, BlockIsSlicedAtEachEventOffset)
{
    EventList events;
    events.Add(0, 0x90, 60, 100);
    events.Add(100, 0x90, 64, 90);
    events.Add(100, 0x80, 60, 0);
    EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, events.Get()), 1);
    Outputs outputs(256);
    Process(outputs);
    EXPECT_EQ(CallKinds(), (std::vector<std::string>{"midi " + std::to_string(0x643C90), "block 100",
                                                     "midi " + std::to_string(0x5A4090),
                                                     "midi " + std::to_string(0x003C80), "block 156"}));
    for (int32_t i = 0; i < 100; ++i)
        ASSERT_EQ(outputs.pointers[0][i], static_cast<float>(i + 1)) << i;
    for (int32_t i = 100; i < 256; ++i)
        ASSERT_EQ(outputs.pointers[0][i], static_cast<float>(i - 99)) << i;
    EXPECT_TRUE(outputs.GuardsIntact());
}

TEST_F(CVST24PluginTest, EventsAreConsumedByOneBlock)
{
    EventList events;
    events.Add(10, 0x90, 60, 100);
    Dispatch(effProcessEvents, 0, 0, events.Get());
    Outputs outputs(32);
    Process(outputs);
    core->calls.clear();
    Process(outputs);
    EXPECT_EQ(CallKinds(), std::vector<std::string>{"block 32"});
}

TEST_F(CVST24PluginTest, OtherEventTypesAndMissingEntriesAreSkipped)
{
    EventList events;
    events.Add(10, 0xF0, 1, 2, kVstSysExType);
    events.Add(20, 0x90, 61, 1);
    events.events[2] = nullptr;
    events.numEvents = 3;
    Dispatch(effProcessEvents, 0, 0, events.Get());
    Outputs outputs(32);
    Process(outputs);
    EXPECT_EQ(CallKinds(),
              (std::vector<std::string>{"block 20", "midi " + std::to_string(0x013D90), "block 12"}));
}

TEST_F(CVST24PluginTest, OffsetsOutsideTheBlockOrOutOfOrderAreClamped)
{
    EventList events;
    events.Add(200, 0x90, 60, 1);
    events.Add(100, 0x90, 61, 1);   // earlier than the one before: stays at 200
    events.Add(-5, 0x90, 62, 1);    // before the block: stays at 200
    events.Add(400, 0x90, 63, 1);   // past the block: at its end
    events.Add(1 << 30, 0x80, 60, 0);
    Dispatch(effProcessEvents, 0, 0, events.Get());
    Outputs outputs(256);
    Process(outputs);
    EXPECT_EQ(CallKinds(), (std::vector<std::string>{"block 200", "midi " + std::to_string(0x013C90),
                                                     "midi " + std::to_string(0x013D90),
                                                     "midi " + std::to_string(0x013E90), "block 56",
                                                     "midi " + std::to_string(0x013F90),
                                                     "midi " + std::to_string(0x003C80)}));
    EXPECT_EQ(outputs.pointers[0][255], 56.0f);
    EXPECT_TRUE(outputs.GuardsIntact());
}

TEST_F(CVST24PluginTest, EmptyOrNegativeBlocksRenderNothingButKeepTheEvents)
{
    EventList events;
    events.Add(3, 0x90, 60, 1);
    Dispatch(effProcessEvents, 0, 0, events.Get());
    Outputs outputs(0);
    effect->processReplacing(effect, nullptr, outputs.pointers, -8);
    EXPECT_EQ(CallKinds(), std::vector<std::string>{"midi " + std::to_string(0x013C90)});
    EXPECT_TRUE(outputs.GuardsIntact());
}

TEST_F(CVST24PluginTest, MissingOutputBuffersRenderNothing)
{
    float* none[2] = {nullptr, nullptr};
    effect->processReplacing(effect, nullptr, none, 64);
    effect->processReplacing(effect, nullptr, nullptr, 64);
    EXPECT_TRUE(core->calls.empty());
}

TEST(CVST24PluginPackMidi, StatusAndTwoDataBytesInTheLowThreeBytes)
{
    VstMidiEvent event{};
    event.midiData[0] = static_cast<char>(0x90);
    event.midiData[1] = 60;
    event.midiData[2] = 100;
    event.midiData[3] = 0x7F;
    EXPECT_EQ(CVST24Plugin::PackMidi(event), 0x00643C90u);
    event.midiData[0] = static_cast<char>(0xE5);
    event.midiData[1] = static_cast<char>(0xFF);
    event.midiData[2] = static_cast<char>(0x80);
    EXPECT_EQ(CVST24Plugin::PackMidi(event), 0x0080FFE5u);
    event.midiData[0] = 0x3C;  // running status: no status byte, data dropped
    EXPECT_EQ(CVST24Plugin::PackMidi(event), 0x3Cu);
}

TEST_F(CVST24PluginTest, HostTempoAndTransportReachTheCore)
{
    fakeHost.info.tempo = 140.25;
    fakeHost.info.flags = kVstTempoValid | kVstTransportChanged | kVstTransportPlaying;
    Outputs outputs(16);
    Process(outputs);
    ASSERT_FALSE(fakeHost.requests.empty());
    EXPECT_EQ(fakeHost.requests[0].opcode, audioMasterGetTime);
    EXPECT_EQ(fakeHost.requests[0].index, 0);
    EXPECT_EQ(fakeHost.requests[0].value, 0x600);
    EXPECT_EQ(core->tempos, std::vector<float>{140.25f});
    EXPECT_EQ(core->transports, std::vector<bool>{true});

    fakeHost.info.flags = kVstTransportChanged;  // stopped; tempo not valid
    Process(outputs);
    EXPECT_EQ(core->tempos.size(), 1u);
    EXPECT_EQ(core->transports, (std::vector<bool>{true, false}));

    fakeHost.info.flags = kVstTempoValid | kVstTransportPlaying;  // no change of transport
    fakeHost.info.tempo = 0.0;
    Process(outputs);
    EXPECT_EQ(core->tempos.size(), 1u);
    EXPECT_EQ(core->transports.size(), 2u);

    fakeHost.answerTime = false;
    Process(outputs);
    EXPECT_EQ(core->tempos.size(), 1u);
    EXPECT_EQ(fakeHost.requests.size(), 4u);
}

TEST_F(CVST24PluginTest, GetChunkHandsOutTheCoreStateForProgramOrBank)
{
    void* data = nullptr;
    EXPECT_EQ(Dispatch(effGetChunk, 1, 0, &data), 5);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(data), 5), "STATE");
    core->state = "BANK";
    EXPECT_EQ(Dispatch(effGetChunk, 0, 0, &data), 4);
    EXPECT_EQ(std::string(static_cast<const char*>(data), 4), "BANK");
    EXPECT_EQ(Dispatch(effGetChunk, 2, 0, &data), 4);
    EXPECT_EQ(core->saves, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Dispatch(effGetChunk, 1, 0, nullptr), 0);
}

TEST_F(CVST24PluginTest, SetChunkLoadsExactlyTheHostBytes)
{
    char bytes[] = "ABCDEFG";
    EXPECT_EQ(Dispatch(effSetChunk, 1, 7, bytes), 0);
    EXPECT_EQ(core->loaded, "ABCDEFG");
    EXPECT_EQ(Dispatch(effSetChunk, 0, 3, bytes), 0);
    EXPECT_EQ(core->loaded, "ABC");
    EXPECT_EQ(core->loads, (std::vector<bool>{true, false}));
    Dispatch(effSetChunk, 0, 0, bytes);
    Dispatch(effSetChunk, 0, -3, bytes);
    Dispatch(effSetChunk, 0, 7, nullptr);
    EXPECT_EQ(core->loads.size(), 2u);
}

// A core built without an editor factory has no editor to open.
TEST_F(CVST24PluginTest, EditorRequestsWithoutAnEditor)
{
    ERect* rect = nullptr;
    EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 824);
    EXPECT_EQ(rect->bottom, 376);
    EXPECT_EQ(Dispatch(effEditOpen), 0);
    EXPECT_EQ(Dispatch(effEditIdle), 0);
    EXPECT_EQ(Dispatch(effEditClose), 0);
}
}
