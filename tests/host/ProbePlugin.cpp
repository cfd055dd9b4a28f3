// A plug-in library for testing hosts: it writes what the host told it into
// its left output, one value per sample, so a test can read the host's
// answers back from the audio.
//   0 tempo, 1 quarter-note position, 2 sample position, 3 time-info flags
//   (-1 when the host gave no time info), 4 the host's version answer,
//   5 the number of events of this block, 6.. their offsets, then their
//   packed status and data bytes; the right output is all sample rate.
#include "host/VstAbi.h"

#include <cstring>

namespace
{
struct Probe
{
    AEffect effect;
    audioMasterCallback host;
    float sampleRate;
    intptr_t version;
    VstEvents* events;
};

intptr_t Dispatch(AEffect* effect, int32_t opcode, int32_t, intptr_t, void* ptr, float opt)
{
    Probe* probe = static_cast<Probe*>(effect->object);
    switch (opcode)
    {
    case effClose:
        delete probe;
        return 0;
    case effSetSampleRate:
        probe->sampleRate = opt;
        return 0;
    case effProcessEvents:
        probe->events = static_cast<VstEvents*>(ptr);
        return 1;
    default:
        return 0;
    }
}

void ProcessReplacing(AEffect* effect, float**, float** outputs, int32_t frames)
{
    Probe* probe = static_cast<Probe*>(effect->object);
    float* out = outputs[0];
    for (int32_t i = 0; i < frames; ++i)
    {
        out[i] = 0.0f;
        outputs[1][i] = probe->sampleRate;
    }
    const VstTimeInfo* info = reinterpret_cast<const VstTimeInfo*>(
        probe->host(effect, audioMasterGetTime, 0, kVstTempoValid | kVstPpqPosValid, nullptr, 0.0f));
    int32_t at = 0;
    auto put = [&](double value) {
        if (at < frames)
            out[at] = static_cast<float>(value);
        ++at;
    };
    put(info ? info->tempo : -1.0);
    put(info ? info->ppqPos : -1.0);
    put(info ? info->samplePos : -1.0);
    put(info ? info->flags : -1);
    put(static_cast<double>(probe->version));
    const int32_t count = probe->events ? probe->events->numEvents : 0;
    put(count);
    for (int32_t i = 0; i < count; ++i)
        put(probe->events->events[i]->deltaFrames);
    for (int32_t i = 0; i < count; ++i)
    {
        const VstMidiEvent* midi = reinterpret_cast<const VstMidiEvent*>(probe->events->events[i]);
        put(static_cast<uint8_t>(midi->midiData[0]) | static_cast<uint8_t>(midi->midiData[1]) << 8 |
            static_cast<uint8_t>(midi->midiData[2]) << 16);
    }
    probe->events = nullptr;
}
}

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host)
{
    Probe* probe = new Probe();
    std::memset(&probe->effect, 0, sizeof probe->effect);
    probe->effect.magic = kEffectMagic;
    probe->effect.dispatcher = Dispatch;
    probe->effect.processReplacing = ProcessReplacing;
    probe->effect.numOutputs = 2;
    probe->effect.flags = effFlagsCanReplacing | effFlagsIsSynth;
    probe->effect.object = probe;
    probe->host = host;
    probe->version = host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f);
    return &probe->effect;
}
