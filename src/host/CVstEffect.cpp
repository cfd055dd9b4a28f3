#include "host/CVstEffect.h"

#include <cstring>

namespace
{
CVstEffect* Owner(AEffect* effect)
{
    return static_cast<CVstEffect*>(effect->object);
}
}

CVstEffect::CVstEffect(audioMasterCallback host, int32_t numPrograms, int32_t numParams) : audioMaster(host)
{
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = DispatchEffect;
    cEffect.process = AccumulateEffect;
    cEffect.setParameter = SetParameterEffect;
    cEffect.getParameter = GetParameterEffect;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.version = 1;
    cEffect.processReplacing = ProcessReplacingEffect;
}

CVstEffect::~CVstEffect() = default;

// Defaults: 0 for every request not listed here.
intptr_t CVstEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float)
{
    char* text = static_cast<char*>(ptr);
    switch (opcode)
    {
    case effSetProgram:
        if (value >= 0 && value < cEffect.numPrograms)
            setProgram(static_cast<int32_t>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (text)
            setProgramName(text);
        return 0;
    case effGetProgramName:
        if (text)
            getProgramName(text);
        return 0;
    case effGetParamLabel:
        if (text)
            getParameterLabel(index, text);
        return 0;
    case effGetParamDisplay:
        if (text)
            getParameterDisplay(index, text);
        return 0;
    case effGetParamName:
        if (text)
            getParameterName(index, text);
        return 0;
    case effMainsChanged:
        if (value)
            resume();
        else
            suspend();
        return 0;
    case effIdentify:
        return kVstIdentify;
    case effCanBeAutomated:
        return 1;
    case effGetProgramNameIndexed:
        return text && getProgramNameIndexed(static_cast<int32_t>(value), index, text) ? 1 : 0;
    case effGetOutputProperties:
        return ptr && getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetPlugCategory:
        return (cEffect.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
    case effCanDo:
        return text ? canDo(text) : -1;
    case effGetVstVersion:
        return kVstVersion;
    case effGetCurrentMidiProgram:
        return -1;
    default:
        return 0;
    }
}

void CVstEffect::processReplacing(float**, float**, int32_t)
{
}

void CVstEffect::setParameter(int32_t, float)
{
}

float CVstEffect::getParameter(int32_t)
{
    return 0.0f;
}

void CVstEffect::setProgram(int32_t)
{
}

int32_t CVstEffect::getProgram()
{
    return 0;
}

void CVstEffect::setProgramName(char*)
{
}

void CVstEffect::getProgramName(char* text)
{
    text[0] = 0;
}

void CVstEffect::getParameterLabel(int32_t, char* label)
{
    label[0] = 0;
}

void CVstEffect::getParameterDisplay(int32_t, char* text)
{
    text[0] = 0;
}

void CVstEffect::getParameterName(int32_t, char* text)
{
    text[0] = 0;
}

bool CVstEffect::getProgramNameIndexed(int32_t, int32_t, char*)
{
    return false;
}

bool CVstEffect::getOutputProperties(int32_t, VstPinProperties*)
{
    return false;
}

int32_t CVstEffect::canDo(char*)
{
    return 0;
}

void CVstEffect::resume()
{
    if (audioMaster)
        audioMaster(&cEffect, audioMasterWantMidi, 0, 1, nullptr, 0.0f);
}

void CVstEffect::suspend()
{
}

void CVstEffect::canProcessReplacing(bool state)
{
    if (state)
        cEffect.flags |= effFlagsCanReplacing;
    else
        cEffect.flags &= ~effFlagsCanReplacing;
}

void CVstEffect::isSynth(bool state)
{
    if (state)
        cEffect.flags |= effFlagsIsSynth;
    else
        cEffect.flags &= ~effFlagsIsSynth;
}

CVstEffect* CVstEffect::Of(AEffect* effect)
{
    return effect ? Owner(effect) : nullptr;
}

void CVstEffect::Hold()
{
    ++holds;
}

// The destructor closes the editor, whose windows may be handed messages
// (holding the object again) meanwhile: only the first release at zero deletes.
void CVstEffect::Release()
{
    if (--holds == 0 && closing.exchange(false))
        delete this;
}

// The host's own call holds once. Any further hold is code of ours further
// out on the stack, which would return into a freed object.
void CVstEffect::RequestClose()
{
    closing = true;
    if (holds > 1)
        dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
}

// effClose ends the object's life: the host never calls it again.
intptr_t CVstEffect::DispatchEffect(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                    float opt)
{
    CVstEffect* owner = Owner(effect);
    owner->Hold();
    const intptr_t answer = owner->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose)
        owner->RequestClose();
    owner->Release();
    return answer;
}

// Hosts of the accumulating era get no sound; every 2.4 host renders through
// processReplacing.
void CVstEffect::AccumulateEffect(AEffect*, float**, float**, int32_t)
{
}

void CVstEffect::ProcessReplacingEffect(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames)
{
    Owner(effect)->processReplacing(inputs, outputs, sampleFrames);
}

void CVstEffect::SetParameterEffect(AEffect* effect, int32_t index, float value)
{
    Owner(effect)->setParameter(index, value);
}

float CVstEffect::GetParameterEffect(AEffect* effect, int32_t index)
{
    return Owner(effect)->getParameter(index);
}
