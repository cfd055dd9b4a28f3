#include "host/CVST24Plugin.h"

#include "host/CPluginBase.h"
#include "io/CStream.h"
#include "io/HeapString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace
{
std::string Midi(uint32_t message)
{
    char text[16];
    std::snprintf(text, sizeof text, "midi %06x", static_cast<unsigned>(message));
    return text;
}

// A core that logs what the adapter asks of it, one line per call.
// ProcessBlock adds a ramp of recognisable values (each call's frames
// numbered from 1), so tests can see which samples each call covered and that
// the block was cleared first. Every text it hands out is text.
class CRecordingCore : public CPluginBase
{
public:
    ~CRecordingCore() override { ++*destroyed; }

    void HandleMidi(uint32_t message) override { calls.push_back(Midi(message)); }
    void ProcessBlock(float**, float** outputs, int32_t frames) override
    {
        calls.push_back("block " + std::to_string(frames));
        for (int32_t i = 0; i < frames; ++i)
        {
            outputs[0][i] += static_cast<float>(i + 1);
            outputs[1][i] -= static_cast<float>(i + 1);
        }
    }
    void Reset() override { calls.push_back("reset"); }
    void SetSampleRate(int32_t rate) override { calls.push_back("rate " + std::to_string(rate)); }
    void SetProgram(int32_t index) override { calls.push_back("program " + std::to_string(index)); }
    int32_t GetProgram() override { return program; }
    void SetProgramName(int32_t index, char* name) override
    {
        calls.push_back("name program " + std::to_string(index) + " " + name);
        FreeString(name);
    }
    char* GetProgramName(int32_t index) override { return Text("program", index); }
    int32_t GetParameterCount() override { return kParameters; }
    char* GetParameterName(int32_t index) override { return Text("name", index); }
    char* GetParameterDisplay(int32_t index) override { return Text("display", index); }
    char* GetParameterLabel(int32_t index) override { return Text("label", index); }
    bool SetParameterFromText(int32_t index, const char* typed) override
    {
        calls.push_back("typed " + std::to_string(index) + " " + typed);
        return std::string(typed) == "good";
    }
    void SetTransport(bool playing) override { calls.push_back(playing ? "playing" : "stopped"); }
    void SetTempo(float bpm) override { calls.push_back("tempo " + std::to_string(bpm)); }
    void SaveState(CStream* stream, bool isPreset) override
    {
        calls.push_back(isPreset ? "save program" : "save bank");
        stream->Write(state.data(), static_cast<int32_t>(state.size()));
    }
    void LoadState(CStream* stream, bool isPreset) override
    {
        std::string bytes(static_cast<size_t>(stream->Size()), 0);
        stream->Read(bytes.data(), stream->Size());
        calls.push_back((isPreset ? "load program " : "load bank ") + bytes);
    }

    static constexpr int32_t kParameters = 12;

    int32_t* destroyed = nullptr;
    std::vector<std::string> calls;
    int32_t program = 0;
    std::string text;
    std::string state = "STATE";

private:
    char* Text(const char* what, int32_t index)
    {
        calls.push_back(std::string(what) + " " + std::to_string(index));
        return NewString(text.c_str());
    }
};

// A request to the host: opcode, index, value, opt.
using HostRequest = std::tuple<int32_t, int32_t, intptr_t, float>;

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
    host->requests.emplace_back(opcode, index, value, opt);
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
        if (type < 0)
        {
            events[numEvents++] = nullptr;
            return;
        }
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

// Two output channels holding stale data, with guard samples on both sides
// of the block.
struct Outputs
{
    explicit Outputs(int32_t frames) : frames(frames)
    {
        for (int32_t i = 0; i < 2; ++i)
        {
            channels[i].assign(static_cast<size_t>(frames + 2 * kGuardSamples), kGuard);
            pointers[i] = channels[i].data() + kGuardSamples;
            std::fill_n(pointers[i], frames, 7.0f);
        }
    }
    bool GuardsIntact() const
    {
        return std::count(channels[0].begin(), channels[0].end(), kGuard) == 2 * kGuardSamples &&
               std::count(channels[1].begin(), channels[1].end(), kGuard) == 2 * kGuardSamples;
    }
    std::vector<float> channels[2];
    float* pointers[2];
    int32_t frames;
};

class CVST24PluginTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = &fakeHost;
        core = new CRecordingCore;
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
    void Queue(EventList& events) { EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, events.Get()), 1); }
    void Process(Outputs& outputs) { effect->processReplacing(effect, nullptr, outputs.pointers, outputs.frames); }

    FakeHost fakeHost;
    CRecordingCore* core = nullptr;
    int32_t coreDestroyed = 0;
    CVST24Plugin* plugin = nullptr;
    AEffect* effect = nullptr;
};

TEST_F(CVST24PluginTest, ProgramNamesAreCutTo24CharactersAndIndexedWithinTheBank)
{
    core->program = 9;
    char name[] = "Warm Pad";
    EXPECT_EQ(Dispatch(effSetProgramName, 0, 0, name), 0);
    core->text = std::string(40, 'n');
    char text[64];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(Dispatch(effGetProgramName, 0, 0, text), 0);
    EXPECT_EQ(std::string(text), std::string(24, 'n'));
    EXPECT_EQ(text[25], 'x');
    EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 63, 3, text), 1);
    EXPECT_EQ(std::string(text), std::string(24, 'n'));

    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 64, 0, text), 0);
    EXPECT_EQ(Dispatch(effGetProgramNameIndexed, -1, 0, text), 0);
    EXPECT_EQ(text[0], 'x');
    EXPECT_EQ(core->calls, (std::vector<std::string>{"name program 9 Warm Pad", "program 9", "program 63"}));
}

// Names are cut at 63 characters, units at 7: what hosts give for them.
// Values go whole.
TEST_F(CVST24PluginTest, ParameterTextsAreCutForTheHostsBuffer)
{
    const std::tuple<int32_t, int32_t, std::string, std::string> cases[] = {
        {effGetParamLabel, 2, "0123456789", "0123456"},
        {effGetParamName, 5, std::string(100, 'n'), std::string(63, 'n')},
        {effGetParamDisplay, 7, std::string(20, 'd'), std::string(20, 'd')},
    };
    for (const auto& [opcode, index, given, shown] : cases)
    {
        core->text = given;
        char text[128];
        std::memset(text, 'x', sizeof text);
        EXPECT_EQ(Dispatch(opcode, index, 0, text), 0);
        EXPECT_EQ(std::string(text), shown) << opcode;
        EXPECT_EQ(text[shown.size() + 1], 'x') << opcode;
    }
    EXPECT_EQ(core->calls, (std::vector<std::string>{"label 2", "name 5", "display 7"}));
}

// Typed text goes to the core, which says whether it read it; without text
// the host only asks whether the parameter takes text. Of the abilities asked
// for, only receiving events is claimed.
TEST_F(CVST24PluginTest, ParameterAndAbilityRequestsAnswerOnlyForWhatTheCoreHas)
{
    constexpr int32_t kLast = CRecordingCore::kParameters - 1;
    const std::tuple<int32_t, int32_t, const char*, intptr_t> cases[] = {
        {effCanBeAutomated, 0, nullptr, 1},         {effCanBeAutomated, kLast, nullptr, 1},
        {effCanBeAutomated, kLast + 1, nullptr, 0}, {effCanBeAutomated, -1, nullptr, 0},
        {effString2Parameter, 2, "good", 1},        {effString2Parameter, 4, "bad", 0},
        {effString2Parameter, 4, nullptr, 1},       {effString2Parameter, kLast + 1, "good", 0},
        {effString2Parameter, -1, nullptr, 0},      {effCanDo, 0, "receiveVstEvents", 1},
        {effCanDo, 0, "receiveVstMidiEvent", 1},    {effCanDo, 0, "receiveVstTimeInfo", 1},
        {effCanDo, 0, "sendVstMidiEvent", -1},      {effCanDo, 0, nullptr, -1},
    };
    for (const auto& [opcode, index, text, answer] : cases)
    {
        EXPECT_EQ(Dispatch(opcode, index, 0, const_cast<char*>(text)), answer)
            << opcode << " " << index << " " << (text ? text : "null");
    }
    EXPECT_EQ(core->calls, (std::vector<std::string>{"typed 2 good", "typed 4 bad"}));
}

// Rates the core could not hold as a positive integer, and empty blocks,
// are ignored and clear nothing.
TEST_F(CVST24PluginTest, ResumeAndUsableRatesOrBlockSizesSilenceTheCore)
{
    for (float rate : {48000.9f, 0.5f, -44100.0f, std::nanf(""), 1e12f})
        EXPECT_EQ(Dispatch(effSetSampleRate, 0, 0, nullptr, rate), 0);
    for (intptr_t size : {512, 0, -64})
        EXPECT_EQ(Dispatch(effSetBlockSize, 0, size), 0);
    EXPECT_EQ(core->blockSize, 512);
    EXPECT_EQ(Dispatch(effMainsChanged, 0, 0), 0);
    EXPECT_TRUE(fakeHost.requests.empty());
    EXPECT_EQ(Dispatch(effMainsChanged, 0, 1), 0);
    EXPECT_EQ(core->calls, (std::vector<std::string>{"rate 48000", "reset", "reset", "reset"}));
    EXPECT_EQ(fakeHost.requests, std::vector<HostRequest>{HostRequest(audioMasterWantMidi, 0, 1, 0.0f)});
}

// Programs outside the bank are not selected.
TEST_F(CVST24PluginTest, EditsAndReloadsReachTheHostUntilItCloses)
{
    ASSERT_NE(core->automation, nullptr);
    core->automation->BeginEdit(13);
    core->automation->Automate(13, 0.25f);
    core->automation->EndEdit(13);
    for (intptr_t program : {5, 64, -1})
        Dispatch(effSetProgram, 0, program);
    char bytes[] = "AB";
    Dispatch(effSetChunk, 0, 2, bytes);
    EXPECT_EQ(core->calls, (std::vector<std::string>{"program 5", "load bank AB"}));
    EXPECT_EQ(fakeHost.requests, (std::vector<HostRequest>{{audioMasterBeginEdit, 13, 0, 0.0f},
                                                           {audioMasterAutomate, 13, 0, 0.25f},
                                                           {audioMasterEndEdit, 13, 0, 0.0f},
                                                           {audioMasterUpdateDisplay, 0, 0, 0.0f},
                                                           {audioMasterUpdateDisplay, 0, 0, 0.0f}}));

    // A knob handler still running when the host closed the plug-in.
    fakeHost.requests.clear();
    plugin->Hold();
    Dispatch(effClose);
    core->automation->BeginEdit(13);
    EXPECT_TRUE(fakeHost.requests.empty());
    EXPECT_EQ(coreDestroyed, 0);
    plugin->Release();
    effect = nullptr;
    EXPECT_EQ(coreDestroyed, 1);
}

// The block is cut at each event's offset; an offset before the one before
// it or before the block is held there, one past the block goes to its end.
// Other event types and missing entries are skipped. Both channels are
// cleared first and each slice rendered into its own frames.
TEST_F(CVST24PluginTest, BlockIsSlicedAtTheEventsOffsetsAndTheEventsPlayOnce)
{
    struct Event
    {
        int32_t offset;
        uint8_t status, data1, data2;
        int32_t type = kVstMidiType;  // -1: a missing entry
    };
    const struct
    {
        std::vector<Event> events;
        int32_t frames;
        std::vector<std::string> calls;
    } cases[] = {
        {{{0, 0x90, 60, 100}, {100, 0x90, 64, 90}, {100, 0x80, 60, 0}},
         256,
         {Midi(0x643C90), "block 100", Midi(0x5A4090), Midi(0x003C80), "block 156"}},
        {{{10, 0xF0, 1, 2, kVstSysExType}, {20, 0x90, 61, 1}, {0, 0, 0, 0, -1}},
         32,
         {"block 20", Midi(0x013D90), "block 12"}},
        {{{200, 0x90, 60, 1}, {100, 0x90, 61, 1}, {-5, 0x90, 62, 1}, {400, 0x90, 63, 1}, {1 << 30, 0x80, 60, 0}},
         256,
         {"block 200", Midi(0x013C90), Midi(0x013D90), Midi(0x013E90), "block 56", Midi(0x013F90), Midi(0x003C80)}},
        {{}, 256, {"block 256"}},
    };
    for (const auto& c : cases)
    {
        EventList events;
        for (const Event& e : c.events)
            events.Add(e.offset, e.status, e.data1, e.data2, e.type);
        if (events.numEvents > 0)
            Queue(events);
        core->calls.clear();
        Outputs outputs(c.frames);
        Process(outputs);
        EXPECT_EQ(core->calls, c.calls);
        int32_t start = 0;
        for (const std::string& call : c.calls)
        {
            for (int32_t i = 0; call.rfind("block ", 0) == 0 && i < std::stoi(call.substr(6)); ++i, ++start)
            {
                ASSERT_EQ(outputs.pointers[0][start], static_cast<float>(i + 1)) << start;
                ASSERT_EQ(outputs.pointers[1][start], -static_cast<float>(i + 1)) << start;
            }
        }
        EXPECT_EQ(start, c.frames);
        EXPECT_TRUE(outputs.GuardsIntact());
    }
}

TEST_F(CVST24PluginTest, EventListsSentBeforeABlockAppendUpToTheCapacity)
{
    EventList first;
    first.Add(10, 0x90, 60, 1);
    EventList second;
    second.Add(20, 0x80, 60, 0);
    Queue(first);
    Queue(second);
    Outputs outputs(32);
    Process(outputs);
    EXPECT_EQ(core->calls,
              (std::vector<std::string>{"block 10", Midi(0x013C90), "block 10", Midi(0x003C80), "block 12"}));

    EventList many;
    for (int32_t i = 0; i < 16; ++i)
        many.Add(i, 0x90, 60, 1);
    for (int32_t i = 0; i < CVST24Plugin::kMaxPendingEvents / 16 + 1; ++i)
        Queue(many);
    EXPECT_EQ(plugin->DroppedEvents(), 16);
    core->calls.clear();
    Process(outputs);
    EXPECT_EQ(std::count(core->calls.begin(), core->calls.end(), Midi(0x013C90)), CVST24Plugin::kMaxPendingEvents);
}

TEST_F(CVST24PluginTest, BlocksWithoutFramesOrBuffersRenderNothing)
{
    EventList events;
    events.Add(3, 0x90, 60, 1);
    Queue(events);
    Outputs outputs(0);
    effect->processReplacing(effect, nullptr, outputs.pointers, -8);
    EXPECT_EQ(core->calls, std::vector<std::string>{Midi(0x013C90)});  // the events still play
    EXPECT_TRUE(outputs.GuardsIntact());

    core->calls.clear();
    float* none[2] = {nullptr, nullptr};
    effect->processReplacing(effect, nullptr, none, 64);
    effect->processReplacing(effect, nullptr, nullptr, 64);
    EXPECT_TRUE(core->calls.empty());
}

// A first byte below 0x80 is running status: no status byte, data dropped.
TEST(CVST24PluginPackMidi, StatusAndTwoDataBytesInTheLowThreeBytes)
{
    const std::pair<std::array<uint8_t, 4>, uint32_t> cases[] = {
        {{0x90, 60, 100, 0x7F}, 0x00643C90u},
        {{0xE5, 0xFF, 0x80, 0x7F}, 0x0080FFE5u},
        {{0x3C, 60, 100, 0x7F}, 0x3Cu},
    };
    for (const auto& [bytes, packed] : cases)
    {
        VstMidiEvent event{};
        std::memcpy(event.midiData, bytes.data(), bytes.size());
        EXPECT_EQ(CVST24Plugin::PackMidi(event), packed) << bytes[0];
    }
}

TEST_F(CVST24PluginTest, HostTempoAndTransportReachTheCore)
{
    fakeHost.info.tempo = 140.25;
    fakeHost.info.flags = kVstTempoValid | kVstTransportChanged | kVstTransportPlaying;
    Outputs outputs(16);
    Process(outputs);
    EXPECT_EQ(fakeHost.requests, std::vector<HostRequest>{HostRequest(audioMasterGetTime, 0, 0x600, 0.0f)});
    fakeHost.info.flags = kVstTransportChanged;  // stopped; tempo not valid
    Process(outputs);
    fakeHost.answerTime = false;
    Process(outputs);
    EXPECT_EQ(core->calls,
              (std::vector<std::string>{"tempo 140.250000", "playing", "block 16", "stopped", "block 16", "block 16"}));
    EXPECT_EQ(fakeHost.requests.size(), 3u);
}

// Index 1 asks for the current program, anything else for the bank. A chunk
// without bytes loads nothing.
TEST_F(CVST24PluginTest, ChunksCarryTheCoreStateForProgramOrBank)
{
    void* data = nullptr;
    EXPECT_EQ(Dispatch(effGetChunk, 1, 0, &data), 5);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(data), 5), "STATE");
    core->state = "BANK";
    EXPECT_EQ(Dispatch(effGetChunk, 0, 0, &data), 4);
    EXPECT_EQ(std::string(static_cast<const char*>(data), 4), "BANK");
    EXPECT_EQ(Dispatch(effGetChunk, 2, 0, &data), 4);
    EXPECT_EQ(Dispatch(effGetChunk, 1, 0, nullptr), 0);
    // Hosts that undo or compare hand back the very buffer they were given.
    EXPECT_EQ(Dispatch(effSetChunk, 0, 4, data), 0);

    char bytes[] = "ABCDEFG";
    for (intptr_t size : {7, 0, -3})
        EXPECT_EQ(Dispatch(effSetChunk, 1, size, bytes), 0);
    EXPECT_EQ(Dispatch(effSetChunk, 0, 3, bytes), 0);
    EXPECT_EQ(Dispatch(effSetChunk, 0, 7, nullptr), 0);
    EXPECT_EQ(core->calls, (std::vector<std::string>{"save program", "save bank", "save bank", "load bank BANK",
                                                     "load program ABCDEFG", "load bank ABC"}));
}
}
