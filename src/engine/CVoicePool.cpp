#include "engine/CVoicePool.h"

#include "engine/VoiceParams.h"

#include <cstring>
#include <initializer_list>

namespace
{

// Glide time knob 1 is 500 ms.
constexpr double kGlideMilliseconds = 500.0;

}  // namespace

CVoicePool::CVoicePool()
{
    std::memset(voices, 0, sizeof voices);
}

Voice* CVoicePool::NewestHeldVoice()
{
    for (int32_t i = count - 1; i >= 0; --i)
    {
        if (voices[i].Held())
            return &voices[i];
    }
    return nullptr;
}

void CVoicePool::NoteOn(uint32_t event, const NoteContext& context)
{
    const SynthProgram& program = *context.program;
    const EnvelopeRange& amplitudeLimits = context.limits->range[0];
    // A change of mono takes effect only once every voice has finished.
    if (count == 0)
        monoActive = program.mono != 0;
    Voice* held = program.legato ? NewestHeldVoice() : nullptr;
    if (monoActive)
    {
        // A key struck again while the pedal holds it is one key, not two.
        if (ForgetSustainedOff(EventNote(event)))
            stack.Remove(EventNote(event));
        if (program.legato)
        {
            if (stack.Empty() && count > 0)
                ForceRelease(amplitudeLimits, voices[0].envelopes[0], 0.0f);
        }
        else if (!stack.Empty())
        {
            ReleaseNote(stack.Top(), true, *context.limits);
        }
        else if (count > 0)
        {
            ForceRelease(amplitudeLimits, voices[0].envelopes[0], 0.0f);
        }
    }
    if (!StartVoice(event, held, context))
        return;
    stack.Push(event);
}

void CVoicePool::NoteOff(uint32_t event, const NoteContext& context)
{
    if (sustainDown && sustainedCount < kMaxSustainedOffs)
    {
        sustainedOffs[sustainedCount++] = event;
        return;
    }
    const SynthProgram& program = *context.program;
    const int32_t note = EventNote(event);
    if (monoActive && stack.Count() > 1)
    {
        if (EventNote(stack.Top()) != note)
        {
            // Not the sounding note: it only leaves the stack.
            stack.Remove(note);
            return;
        }
        if (program.legato)
        {
            stack.Remove(note);
            // Retune only: no new attack, no glide; heard from the next
            // sub-block.
            if (count > 0)
                voices[count - 1].note = EventNote(stack.Top());
        }
        else
        {
            ReleaseNote(event, true, *context.limits);
            stack.Remove(note);
            StartVoice(stack.Top(), nullptr, context);
        }
        return;
    }
    ReleaseNote(event, false, *context.limits);
    stack.Remove(note);
}

void CVoicePool::SetSustain(bool down, const NoteContext& context)
{
    sustainDown = down;
    if (down)
        return;
    // The sounding mono note goes last: releasing it before the other
    // waiting keys would restart one of them.
    const int32_t waiting = sustainedCount;
    sustainedCount = 0;
    const int32_t top = stack.Empty() ? -1 : EventNote(stack.Top());
    for (const bool topNote : {false, true})
    {
        for (int32_t i = 0; i < waiting; ++i)
        {
            if ((EventNote(sustainedOffs[i]) == top) == topNote)
                NoteOff(sustainedOffs[i], context);
        }
    }
}

bool CVoicePool::ForgetSustainedOff(int32_t note)
{
    int32_t kept = 0;
    for (int32_t i = 0; i < sustainedCount; ++i)
    {
        if (EventNote(sustainedOffs[i]) != note)
            sustainedOffs[kept++] = sustainedOffs[i];
    }
    const bool found = kept != sustainedCount;
    sustainedCount = kept;
    return found;
}

void CVoicePool::AllNotesOff(const EnvelopeLimits& limits)
{
    for (int32_t i = 0; i < count; ++i)
    {
        if (voices[i].Held())
            ReleaseVoice(voices[i], false, limits);
    }
    stack.Clear();
    sustainedCount = 0;
}

void CVoicePool::AllSoundOff()
{
    count = 0;
    stack.Clear();
    sustainedCount = 0;
}

bool CVoicePool::StartVoice(uint32_t event, Voice* held, const NoteContext& context)
{
    if (monoActive && held)
    {
        held->note = EventNote(event);
        return true;
    }
    // No stealing: a note beyond the limit is dropped.
    if (count >= limit)
        return false;
    Voice& voice = voices[count];
    ++count;
    InitVoice(voice, EventNote(event), EventVelocity(event), context);
    voice.phase1 = 0.0;
    voice.phase2 = 0.0;
    voice.state1a = voice.state1b = voice.state2a = voice.state2b = 0.0f;
    voice.lastOsc2 = 0.0;
    voice.noiseIndex = 0;
    voice.filter.Reset();
    if (held)
    {
        // Poly legato: the new note carries on the held voice's envelopes
        // and LFOs.
        for (int32_t i = 0; i < Voice::kEnvelopeCount; ++i)
            voice.envelopes[i] = held->envelopes[i];
        for (int32_t i = 0; i < Voice::kLfoCount; ++i)
            voice.lfos[i] = held->lfos[i];
    }

    // Glide, as far as a program asks for it (no control sets its time).
    const SynthProgram& program = *context.program;
    voice.glideRemaining = 0;
    voice.glideLength = 0;
    voice.glideOffset = 0.0f;
    const int32_t previous = *context.lastNote;
    const float time = UnitField(program.glide);
    if ((count > 1 || !program.glideLegatoOnly) && previous >= 0 && time > 0.0f)
    {
        const int32_t length = static_cast<int32_t>(context.sampleRate * 0.001 * time * kGlideMilliseconds);
        if (length > 0)
        {
            voice.glideOffset = static_cast<float>(previous - voice.note);
            voice.glideLength = length;
            voice.glideRemaining = length;
        }
    }
    *context.lastNote = voice.note;
    return true;
}

void CVoicePool::InitVoice(Voice& voice, int32_t note, int32_t velocity, const NoteContext& context)
{
    const SynthProgram& program = *context.program;
    voice.program = &program;
    voice.note = note;
    const float v = static_cast<float>(velocity) * (1.0f / 127.0f);
    const float r1 = context.random->NextUnit();
    const float r2 = context.random->NextUnit();
    voice.osc1 = OscTable(program.wave1);
    voice.osc2 = OscTable(program.wave2);
    voice.factors = ComputeNoteFactors(program, note, v, r1, r2);
    for (Smoother* s :
         {&voice.amplitude, &voice.cutoff, &voice.phase, &voice.pm, &voice.shape1, &voice.shape2, &voice.mix})
        s->Start(context.sampleRate);
    for (int32_t i = 0; i < Voice::kModulatorCount; ++i)
    {
        StartEnvelope(context.limits->range[i], voice.envelopes[i], program.env[i]);
        StartLfo(context.globalLfos[i], voice.lfos[i], program.lfo[i]);
    }
}

void CVoicePool::ReleaseNote(uint32_t event, bool fast, const EnvelopeLimits& limits)
{
    const int32_t note = EventNote(event);
    for (int32_t i = 0; i < count; ++i)
    {
        Voice& voice = voices[i];
        if (voice.note != note || !voice.Held())
            continue;
        ReleaseVoice(voice, fast, limits);
        return;
    }
}

void CVoicePool::ReleaseVoice(Voice& voice, bool fast, const EnvelopeLimits& limits)
{
    const SynthProgram& program = *voice.program;
    ForceRelease(limits.range[0], voice.envelopes[0], fast ? 0.0f : program.env[0].release);
    ForceRelease(limits.range[1], voice.envelopes[1], program.env[1].release);
    ForceRelease(limits.range[2], voice.envelopes[2], program.env[2].release);
}

void CVoicePool::RemoveVoice(int32_t index)
{
    for (int32_t i = index + 1; i < count; ++i)
        voices[i - 1] = voices[i];
    --count;
}

void CVoicePool::RenderGroup(int32_t last, int32_t size, GroupRender render, const RenderContext& context, float* left,
                             float* right, int32_t frames)
{
    Voice* group[kVoiceOctet] = {};
    bool sounding[kVoiceOctet] = {};
    for (int32_t l = 0; l < size; ++l)
        group[l] = &voices[last - l];
    render(group, context, left, right, frames, sounding);
    for (int32_t l = 0; l < size; ++l)
    {
        if (!sounding[l])
            RemoveVoice(last - l);
    }
}

void CVoicePool::Render(const RenderContext& context, float* left, float* right, int32_t frames)
{
    // Last to first, eight at a time, then four, two and one; the finished
    // voices of a group leave the pool once the whole group is done, the
    // later ones first so that indices stay valid.
    int32_t i = count - 1;
    for (; i + 1 >= kVoiceOctet; i -= kVoiceOctet)
        RenderGroup(i, kVoiceOctet, &RenderVoiceOctet, context, left, right, frames);
    for (; i + 1 >= kVoiceQuad; i -= kVoiceQuad)
        RenderGroup(i, kVoiceQuad, &RenderVoiceQuad, context, left, right, frames);
    for (; i >= 1; i -= 2)
    {
        VoicePairResult result;
        RenderVoicePair(voices[i], voices[i - 1], context, left, right, frames, result);
        if (!result.laterSounding)
            RemoveVoice(i);
        if (!result.earlierSounding)
            RemoveVoice(i - 1);
    }
    if (i == 0 && !RenderVoice(voices[0], context, left, right, frames))
        RemoveVoice(0);
}
