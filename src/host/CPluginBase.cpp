#include "host/CPluginBase.h"

#include "io/HeapString.h"

void CPluginBase::HandleMidi(uint32_t)
{
}

void CPluginBase::ProcessBlock(float**, float**, int32_t)
{
}

void CPluginBase::SetSampleRate(int32_t)
{
}

int32_t CPluginBase::SetBlockSize(int32_t size)
{
    blockSize = size;
    return blockSize;
}

void CPluginBase::SetProgram(int32_t)
{
}

int32_t CPluginBase::GetProgram()
{
    return 0;
}

void CPluginBase::SetProgramName(int32_t, char* name)
{
    FreeString(name);
}

char* CPluginBase::GetProgramName(int32_t)
{
    return NewString("");
}

int32_t CPluginBase::GetParameterCount()
{
    return 0;
}

void CPluginBase::SetParameter(int32_t, float)
{
}

float CPluginBase::GetParameter(int32_t)
{
    return 0.0f;
}

char* CPluginBase::GetParameterName(int32_t)
{
    return NewString("");
}

char* CPluginBase::GetParameterDisplay(int32_t)
{
    return NewString("");
}

char* CPluginBase::GetParameterLabel(int32_t)
{
    return NewString("");
}

bool CPluginBase::SetParameterFromText(int32_t, const char*)
{
    return false;
}

void CPluginBase::SetTransport(bool)
{
}

void CPluginBase::SetTempo(float)
{
}

void CPluginBase::Reset()
{
}

void CPluginBase::SaveState(CStream*, bool)
{
}

void CPluginBase::LoadState(CStream*, bool)
{
}
