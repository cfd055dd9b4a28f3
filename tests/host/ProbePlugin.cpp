// A plug-in library for testing hosts: it writes the time info its host gave
// into its left output, one value per sample, so a test can read it back
// from the audio: 0 tempo, 1 quarter-note position, 2 sample position, 3
// flags (all -1 when the host gave none). The right output is all sample
// rate.
#include "host/VstAbi.h"

#include <cstring>

namespace
{
struct Probe
{
    AEffect effect;
    audioMasterCallback host;
    float sampleRate;
};

intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t, intptr_t, void*, float opt)
{
    Probe* probe = static_cast<Probe*>(effect->object);
    if (opcode == effClose)
        delete probe;
    else if (opcode == effSetSampleRate)
        probe->sampleRate = opt;
    return 0;
}

void ProcessReplacing(AEffect* effect, float**, float** outputs, int32_t frames)
{
    const Probe* probe = static_cast<Probe*>(effect->object);
    const VstTimeInfo* info = reinterpret_cast<const VstTimeInfo*>(
        probe->host(effect, audioMasterGetTime, 0, kVstTempoValid | kVstPpqPosValid, nullptr, 0.0f));
    const double reported[] = {info ? info->tempo : -1.0, info ? info->ppqPos : -1.0, info ? info->samplePos : -1.0,
                               info ? static_cast<double>(info->flags) : -1.0};
    for (int32_t i = 0; i < frames; ++i)
    {
        outputs[0][i] = i < 4 ? static_cast<float>(reported[i]) : 0.0f;
        outputs[1][i] = probe->sampleRate;
    }
}
}

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host)
{
    Probe* probe = new Probe();
    probe->host = host;
    std::memset(&probe->effect, 0, sizeof probe->effect);
    probe->effect.magic = kEffectMagic;
    probe->effect.dispatcher = Dispatch;
    probe->effect.processReplacing = ProcessReplacing;
    probe->effect.numOutputs = 2;
    probe->effect.flags = effFlagsCanReplacing | effFlagsIsSynth;
    probe->effect.object = probe;
    return &probe->effect;
}
