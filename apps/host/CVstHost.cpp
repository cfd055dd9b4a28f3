#include "CVstHost.h"

#include "host/VstAbi.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

// The events of one block in the layout of VstEvents, with room for all of
// them after the head.
struct CVstHost::EventQueue
{
    int32_t numEvents = 0;
    intptr_t reserved = 0;
    VstEvent* events[kMaxEventsPerBlock] = {};
    VstMidiEvent midi[kMaxEventsPerBlock] = {};
};

namespace
{
constexpr size_t kTextBytes = 256;  // more than any plug-in may write
}

CVstHost::CVstHost() : queue(new EventQueue), timeInfo(new VstTimeInfo())
{
    static_assert(offsetof(EventQueue, numEvents) == offsetof(VstEvents, numEvents) &&
                      offsetof(EventQueue, events) == offsetof(VstEvents, events),
                  "the queue must read as VstEvents");
}

CVstHost::~CVstHost()
{
    Unload();
}

bool CVstHost::Load(const std::string& path)
{
    Unload();
    error.clear();
    wantsMidi = false;
    timeQueries = 0;
    samplePosition = 0.0;
    if (!library.Open(path))
    {
        error = library.Error();
        return false;
    }
    VstPluginMainProc entry = library.Entry();
    if (!entry)
    {
        error = path + ": " + library.Error();
        library.Close();
        return false;
    }
    AEffect* created = entry(Callback);
    if (!created || created->magic != kEffectMagic)
    {
        error = path + ": the entry gave no VST 2.4 plug-in";
        library.Close();
        return false;
    }
    effect = created;
    effect->resvd1 = reinterpret_cast<intptr_t>(this);
    Dispatch(effOpen, 0, 0, nullptr, 0.0f);
    SetSampleRate(sampleRate);
    SetBlockSize(blockSize);
    return true;
}

void CVstHost::Unload()
{
    if (!effect)
        return;
    if (resumed)
        Suspend();
    Dispatch(effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
    library.Close();
}

int32_t CVstHost::NumPrograms() const
{
    return effect ? effect->numPrograms : 0;
}

int32_t CVstHost::NumParams() const
{
    return effect ? effect->numParams : 0;
}

int32_t CVstHost::NumInputs() const
{
    return effect ? effect->numInputs : 0;
}

int32_t CVstHost::NumOutputs() const
{
    return effect ? effect->numOutputs : 0;
}

int32_t CVstHost::Flags() const
{
    return effect ? effect->flags : 0;
}

int32_t CVstHost::UniqueId() const
{
    return effect ? effect->uniqueID : 0;
}

void CVstHost::SetSampleRate(float rate)
{
    sampleRate = rate;
    Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}

// Plug-ins may read their inputs even when they declare none: they always
// get at least one silent channel.
void CVstHost::SetBlockSize(int32_t frames)
{
    blockSize = std::max(frames, 0);
    const size_t channels = static_cast<size_t>(std::max(NumInputs(), 1));
    silence.assign(channels * static_cast<size_t>(blockSize) + 1, 0.0f);
    inputs.resize(channels);
    for (size_t i = 0; i < channels; ++i)
        inputs[i] = silence.data() + i * static_cast<size_t>(blockSize);
    Dispatch(effSetBlockSize, 0, blockSize, nullptr, 0.0f);
}

void CVstHost::Resume()
{
    Dispatch(effMainsChanged, 0, 1, nullptr, 0.0f);
    resumed = effect != nullptr;
}

void CVstHost::Suspend()
{
    Dispatch(effMainsChanged, 0, 0, nullptr, 0.0f);
    resumed = false;
}

void CVstHost::SetTempo(double bpm)
{
    tempo = bpm;
}

void CVstHost::SetPlaying(bool state)
{
    transportChanged = transportChanged || state != playing;
    playing = state;
}

double CVstHost::SamplePosition() const
{
    return samplePosition;
}

bool CVstHost::QueueMidi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2)
{
    if (queue->numEvents >= kMaxEventsPerBlock)
        return false;
    VstMidiEvent& event = queue->midi[queue->numEvents];
    std::memset(&event, 0, sizeof event);
    event.type = kVstMidiType;
    event.byteSize = sizeof event;
    event.deltaFrames = offset;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    queue->events[queue->numEvents++] = reinterpret_cast<VstEvent*>(&event);
    return true;
}

bool CVstHost::Process(float** outputs, int32_t frames)
{
    if (!effect || frames < 0 || frames > blockSize)
        return false;
    if (queue->numEvents > 0)
        Dispatch(effProcessEvents, 0, 0, queue.get(), 0.0f);
    effect->processReplacing(effect, inputs.data(), outputs, frames);
    queue->numEvents = 0;
    samplePosition += frames;
    return true;
}

int32_t CVstHost::GetProgram()
{
    return static_cast<int32_t>(Dispatch(effGetProgram, 0, 0, nullptr, 0.0f));
}

void CVstHost::SetProgram(int32_t index)
{
    Dispatch(effSetProgram, 0, index, nullptr, 0.0f);
}

std::string CVstHost::GetProgramName()
{
    char text[kTextBytes] = {};
    Dispatch(effGetProgramName, 0, 0, text, 0.0f);
    return std::string(text, strnlen(text, kTextBytes - 1));
}

void CVstHost::SetProgramName(const std::string& name)
{
    std::vector<char> text(name.begin(), name.end());
    text.push_back(0);
    Dispatch(effSetProgramName, 0, 0, text.data(), 0.0f);
}

bool CVstHost::GetProgramNameIndexed(int32_t index, std::string& name)
{
    char text[kTextBytes] = {};
    if (!Dispatch(effGetProgramNameIndexed, index, 0, text, 0.0f))
        return false;
    name.assign(text, strnlen(text, kTextBytes - 1));
    return true;
}

std::vector<uint8_t> CVstHost::GetChunk(bool programOnly)
{
    void* data = nullptr;
    const intptr_t size = Dispatch(effGetChunk, programOnly ? 1 : 0, 0, &data, 0.0f);
    if (!data || size <= 0)
        return {};
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

// Some plug-ins keep text in their chunks and read it as a terminated
// string: the copy they get has a zero byte after the chunk, not counted.
void CVstHost::SetChunk(const std::vector<uint8_t>& chunk, bool programOnly)
{
    std::vector<uint8_t> copy(chunk);
    copy.push_back(0);
    Dispatch(effSetChunk, programOnly ? 1 : 0, static_cast<intptr_t>(chunk.size()), copy.data(), 0.0f);
}

intptr_t CVstHost::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return effect ? effect->dispatcher(effect, opcode, index, value, ptr, opt) : 0;
}

VstTimeInfo* CVstHost::TimeInfo()
{
    ++timeQueries;
    VstTimeInfo& info = *timeInfo;
    std::memset(&info, 0, sizeof info);
    info.samplePos = samplePosition;
    info.sampleRate = sampleRate;
    info.tempo = tempo;
    info.ppqPos = sampleRate > 0.0f ? samplePosition / sampleRate * tempo / 60.0 : 0.0;
    info.timeSigNumerator = 4;
    info.timeSigDenominator = 4;
    info.flags = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
    if (playing)
        info.flags |= kVstTransportPlaying;
    if (transportChanged)
        info.flags |= kVstTransportChanged;
    transportChanged = false;
    return &info;
}

// Requests arrive before the host has tied the record to itself (during the
// entry call); those get the answers that need no instance.
intptr_t CVstHost::Callback(AEffect* effect, int32_t opcode, int32_t, intptr_t, void*, float)
{
    CVstHost* host = effect ? reinterpret_cast<CVstHost*>(effect->resvd1) : nullptr;
    switch (opcode)
    {
    case audioMasterVersion:
        return kVstVersion;
    case audioMasterWantMidi:
        if (host)
            host->wantsMidi = true;
        return 1;
    case audioMasterGetTime:
        return host ? reinterpret_cast<intptr_t>(host->TimeInfo()) : 0;
    default:
        return 0;
    }
}
