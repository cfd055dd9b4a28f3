#include "synth/CSynth.h"

#include "io/CMemoryStream.h"
#include "io/HeapString.h"
#include "engine/DspMath.h"
#include "synth/CPatchReader.h"
#include "synth/CPatchWriter.h"
#include "synth/FactoryBank.h"

#include <cmath>
#include <cstdio>
#include <cstring>

// The plug-in entry makes the synth with a plain new, which 32-bit Windows
// aligns to 8 bytes only: a member that needs more would be read with
// instructions that fault there.
static_assert(alignof(CSynth) <= 8, "the synth must not hold members that need more than 8-byte alignment");

namespace
{

constexpr uint32_t kStatusMask = 0xF0;
constexpr uint32_t kNoteOff = 0x80;
constexpr uint32_t kNoteOn = 0x90;
constexpr uint32_t kController = 0xB0;
constexpr uint32_t kProgramChange = 0xC0;
constexpr uint32_t kPitchBend = 0xE0;
constexpr int32_t kModWheelController = 1;
constexpr int32_t kSustainController = 64;
constexpr int32_t kAllSoundOff = 120;
constexpr int32_t kResetAllControllers = 121;
constexpr int32_t kAllNotesOff = 123;
constexpr int32_t kPedalDownFrom = 64;  // controller 64 values 64..127 hold
constexpr int32_t kBendCentre = 8192;

}  // namespace

CSynth::CSynth()
{
    for (LfoState& lfo : globalLfos)
        lfo.countdown = -1.0;
    tables = &EngineTables::Get();
    SetSampleRate(kDefaultSampleRate);
    tempo = kDefaultTempo;
    effects.SetTempo(tempo);
    currentProgram = &programs[0];
    LoadFactoryBank();
}

NoteContext CSynth::MakeNoteContext()
{
    return NoteContext{currentProgram, &envelopeLimits, globalLfos, &random, sampleRate, &lastNote};
}

void CSynth::HandleMidi(uint32_t message)
{
    // Data bytes are seven bits; anything above belongs to no MIDI message.
    const int32_t first = static_cast<int32_t>((message >> 8) & 0x7F);
    const int32_t second = static_cast<int32_t>((message >> 16) & 0x7F);
    switch (message & kStatusMask)
    {
    case kNoteOn:
        if (second > 0)
            voicePool.NoteOn(message, MakeNoteContext());
        else
            voicePool.NoteOff(message, MakeNoteContext());
        break;
    case kNoteOff:
        voicePool.NoteOff(message, MakeNoteContext());
        break;
    case kController:
        HandleController(first, second);
        break;
    case kProgramChange:
        SetProgram(first);
        break;
    case kPitchBend:
        pitchBend = static_cast<float>(first + 128 * second - kBendCentre) * (1.0f / kBendCentre);
        break;
    default:
        break;
    }
}

void CSynth::HandleController(int32_t controller, int32_t value)
{
    switch (controller)
    {
    case kModWheelController:
        modWheel = static_cast<float>(value) / 127.0f;
        break;
    case kSustainController:
        voicePool.SetSustain(value >= kPedalDownFrom, MakeNoteContext());
        break;
    case kAllSoundOff:
        Silence();
        break;
    case kResetAllControllers:
        modWheel = 0.0f;
        pitchBend = 0.0f;
        voicePool.SetSustain(false, MakeNoteContext());
        break;
    case kAllNotesOff:
        voicePool.AllNotesOff(envelopeLimits);
        break;
    default:
    {
        const int32_t parameter = midiLearn.Take(controller);
        if (parameter != CMidiLearn::kNone)
            SetParameter(parameter, static_cast<float>(value) / 127.0f);
        break;
    }
    }
}

void CSynth::Silence()
{
    voicePool.AllSoundOff();
    effects.Reset();
    dcBlockerLeft.Reset();
    dcBlockerRight.Reset();
}

void CSynth::Reset()
{
    Silence();
    // A pedal-up lost while audio was stopped must not hold the next notes.
    voicePool.SetSustain(false, MakeNoteContext());
}

void CSynth::ProcessBlock(float**, float** outputs, int32_t frames)
{
    if (!outputs || !outputs[0] || !outputs[1])
        return;
    float* left = outputs[0];
    float* right = outputs[1];
    const int32_t count = frames > 0 ? frames : 0;
    const RenderContext context{tables, &envelopeLimits, globalLfos, &random, sampleRate, tempo, modWheel, pitchBend};
    voicePool.Render(context, left, right, count);

    effects.Process(*currentProgram, left, right, count, dcBlockerLeft, dcBlockerRight);

    if (count == 0)
        return;
    AdvanceGlobalLfos(count);
    RaisePeaks(left, right, count);
}

void CSynth::AdvanceGlobalLfos(int32_t frames)
{
    for (int32_t i = 0; i < Voice::kModulatorCount; ++i)
        AdvanceLfo(globalLfos[i], LfoWave(currentProgram->lfo[i]), frames);
}

void CSynth::RaisePeaks(const float* left, const float* right, int32_t frames)
{
    const float l = LargestMagnitude(left, frames);
    const float r = LargestMagnitude(right, frames);
    peakLeft = l > peakLeft ? l : peakLeft;
    peakRight = r > peakRight ? r : peakRight;
}

void CSynth::SetSampleRate(int32_t rate)
{
    // A host that reports no rate leaves the previous one in place: every
    // rate-derived value divides by it.
    if (rate <= 0)
        return;
    sampleRate = rate;
    envelopeLimits.SetSampleRate(rate);
    effects.SetSampleRate(rate);
    dcBlockerLeft.SetSampleRate(static_cast<float>(rate));
    dcBlockerRight.SetSampleRate(static_cast<float>(rate));
}

void CSynth::SetProgram(int32_t index)
{
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(kProgramCount))
        return;
    programIndex = index;
    currentProgram = &programs[index];
    MarkProgramsChanged();
}

int32_t CSynth::GetProgram()
{
    return programIndex;
}

void CSynth::SetProgramName(int32_t index, char* name)
{
    if (static_cast<uint32_t>(index) < static_cast<uint32_t>(kProgramCount))
    {
        ::SetProgramName(programs[index], name);
        MarkProgramsChanged();
    }
    FreeString(name);
}

char* CSynth::GetProgramName(int32_t index)
{
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(kProgramCount))
        return NewString("");
    return NewString(programs[index].name, SynthProgram::kMaxNameChars);
}

int32_t CSynth::GetParameterCount()
{
    return kParameterCount;
}

void CSynth::SetParameter(int32_t index, float value)
{
    if (const ParameterInfo* info = FindParameter(index))
        SetNormalizedValue(*currentProgram, *info, value);
}

float CSynth::GetParameter(int32_t index)
{
    const ParameterInfo* info = FindParameter(index);
    return info != nullptr ? NormalizedValue(*currentProgram, *info) : 0.0f;
}

char* CSynth::GetParameterName(int32_t index)
{
    const ParameterInfo* info = FindParameter(index);
    return NewString(info != nullptr ? info->name : "");
}

char* CSynth::GetParameterDisplay(int32_t index)
{
    const ParameterInfo* info = FindParameter(index);
    char text[32] = "";
    if (info != nullptr)
        ValueText(*currentProgram, *info, text, sizeof text);
    return NewString(text);
}

char* CSynth::GetParameterLabel(int32_t index)
{
    const ParameterInfo* info = FindParameter(index);
    return NewString(info != nullptr ? info->unit : "");
}

bool CSynth::SetParameterFromText(int32_t index, const char* text)
{
    const ParameterInfo* info = FindParameter(index);
    return info != nullptr && SetValueFromText(*currentProgram, *info, text);
}

void CSynth::SetTransport(bool playing)
{
    if (!playing)
        return;
    for (LfoState& lfo : globalLfos)
        ResetLfo(lfo);
}

void CSynth::SetTempo(float bpm)
{
    if (!(bpm > 0.0f && bpm < kMaxTempo) || bpm == tempo)
        return;
    tempo = bpm;
    effects.SetTempo(bpm);
}

void CSynth::SaveState(CStream* stream, bool isPreset)
{
    CPatchWriter writer(*stream);
    if (isPreset)
    {
        writer.WriteProgram(*currentProgram);
        return;
    }
    for (const SynthProgram& program : programs)
        writer.WriteProgram(program);
    writer.WriteCurrentIndex(programIndex);
    writer.WriteControllerMap(midiLearn);
}

void CSynth::LoadState(CStream* stream, bool isPreset)
{
    CPatchReader reader(*this, *stream, isPreset);
    reader.Read();
}

void CSynth::ClearAllPrograms()
{
    std::memset(programs, 0, sizeof programs);
    for (int32_t i = 0; i < kProgramCount; ++i)
    {
        char name[16];
        std::snprintf(name, sizeof name, "program-%d", static_cast<int>(i + 1));
        SetProgramName(i, NewString(name));
        InitProgram(programs[i]);
    }
}

void CSynth::LoadFactoryBank()
{
    ClearAllPrograms();
    CMemoryStream stream;
    stream.Write(kFactoryBank, kFactoryBankSize);
    stream.Seek(0, CStream::FromStart);
    LoadState(&stream, false);
    SetProgram(0);
}

void CSynth::MarkProgramsChanged()
{
    programsChanged = 1;
}
