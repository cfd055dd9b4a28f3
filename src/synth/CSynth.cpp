#include "synth/CSynth.h"

#include "io/CObject.h"
#include "io/HeapString.h"
#include "io/CMemoryStream.h"
#include "synth/CPatchReader.h"
#include "synth/CPatchWriter.h"
#include "synth/CSynthResources.h"
#include "synth/FactoryBank.h"

#include <cstdio>
#include <cstring>

CSynth::CSynth() : resources(new CSynthResources)
{
    SetSampleRate(kDefaultSampleRate);
    tempo = kDefaultTempo;
    currentProgram = &programs[0];
    LoadFactoryBank();
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

void CSynth::ProcessBlock(float**, float**, int32_t)
{
}

void CSynth::SetSampleRate(int32_t rate)
{
    sampleRate = rate;
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
    resources->programsChanged = 1;
}
