#include "synth/CSynth.h"

#include "io/CObject.h"
#include "io/HeapString.h"
#include "synth/CSynthResources.h"

#include <cstring>

CSynth::CSynth() : resources(new CSynthResources)
{
    SetSampleRate(kDefaultSampleRate);
    tempo = kDefaultTempo;
    effects.SetTempo(tempo);
    for (SynthProgram& program : programs)
    {
        std::memset(&program, 0, sizeof program);
        InitProgram(program);
    }
    programIndex = 0;
    currentProgram = &programs[0];
}

CSynth::~CSynth()
{
    delete editorWindow;
    editorWindow = nullptr;
    delete resources;
}

void CSynth::HandleMidi(uint32_t)
{
}

void CSynth::ProcessBlock(float**, float** outputs, int32_t frames)
{
    effects.Process(*currentProgram, outputs[0], outputs[1], frames);
    RaisePeak(peakLeft, outputs[0], frames);
    RaisePeak(peakRight, outputs[1], frames);
}

void CSynth::SetSampleRate(int32_t rate)
{
    sampleRate = rate;
    effects.SetSampleRate(rate);
}

void CSynth::SetProgram(int32_t index)
{
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(kProgramCount))
        return;
    programIndex = index;
    currentProgram = &programs[index];
    if (editorWindow)
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

void CSynth::SetParameter(int32_t, float)
{
}

float CSynth::GetParameter(int32_t)
{
    return 0.0f;
}

char* CSynth::GetParameterName(int32_t)
{
    return NewString("unused");
}

char* CSynth::GetParameterDisplay(int32_t)
{
    return NewString("");
}

void CSynth::Idle()
{
}

void CSynth::SetTransport(bool)
{
}

void CSynth::SetTempo(float bpm)
{
    if (!(bpm > 0.0f && bpm < kMaxTempo) || bpm == tempo)
        return;
    tempo = bpm;
    effects.SetTempo(bpm);
}

void CSynth::SaveState(CStream*, bool)
{
}

void CSynth::LoadState(CStream*, bool)
{
}

void CSynth::MarkProgramsChanged()
{
    resources->programsChanged = 1;
}
