#pragma once

#include "engine/CRandom.h"
#include "engine/Envelope.h"
#include "engine/Lfo.h"
#include "engine/NoteStack.h"
#include "engine/Voice.h"
#include "engine/VoiceRender.h"
#include "synth/SynthProgram.h"

#include <cstdint>

// What starting a note needs from the synth.
struct NoteContext
{
    const SynthProgram* program;  // the current program
    const EnvelopeLimits* limits;
    const LfoState* globalLfos;  // the three free-running states
    CRandom* random;             // the two per-note random values
    int32_t sampleRate;          // > 0
    int32_t* lastNote;           // previous note started (glide), -1 for none
};

// The synth's 32 voices and the note handling of MIDI: note-on starts (or in
// mono legato retunes) a voice, note-off releases one, mono play follows the
// stack of held notes. No voice is ever stolen: a note beyond 32 sounding
// voices is dropped. Active voices are entries 0..Count()-1, oldest first; a
// voice leaves only inside Render, when its amplitude envelope has finished,
// or all at once by AllSoundOff.
//
// Sustain pedal: while it is down, note-offs wait (in arrival order) and
// their voices keep sounding; lifting it plays the waiting note-offs.
class CVoicePool
{
public:
    static constexpr int32_t kMaxVoices = 32;
    // Note-offs the pedal can hold back; one beyond is played at once.
    static constexpr int32_t kMaxSustainedOffs = 256;

    CVoicePool();

    // Packed events whose status is a note-on with velocity above 0.
    void NoteOn(uint32_t event, const NoteContext& context);
    // Note-off, or note-on with velocity 0.
    void NoteOff(uint32_t event, const NoteContext& context);
    // Sustain pedal down or up; lifting it releases every note whose key is up.
    void SetSustain(bool down, const NoteContext& context);
    // Releases every held voice as its note-off would (release tails go on)
    // and forgets the held and sustained notes.
    void AllNotesOff(const EnvelopeLimits& limits);
    // Frees every voice at once and forgets every note; the pedal stays as it is.
    void AllSoundOff();

    // Renders every active voice from the last to the first, adding into the
    // buffers, and removes the voices that finish.
    void Render(const RenderContext& context, float* left, float* right, int32_t frames);

    int32_t Count() const { return count; }
    int32_t Limit() const { return limit; }
    const Voice& VoiceAt(int32_t index) const { return voices[index]; }
    bool MonoActive() const { return monoActive; }
    bool SustainDown() const { return sustainDown; }
    int32_t SustainedOffs() const { return sustainedCount; }
    const NoteStack& Stack() const { return stack; }

private:
    bool StartVoice(uint32_t event, Voice* held, const NoteContext& context);
    void InitVoice(Voice& voice, int32_t note, int32_t velocity, const NoteContext& context);
    void ReleaseNote(uint32_t event, bool fast, const EnvelopeLimits& limits);
    // Drops the waiting note-offs of note; true when there were any.
    bool ForgetSustainedOff(int32_t note);
    // Starts the release of the voice's three envelopes; fast: the amplitude in 5 ms.
    void ReleaseVoice(Voice& voice, bool fast, const EnvelopeLimits& limits);
    void RemoveVoice(int32_t index);
    Voice* NewestHeldVoice();
    using GroupRender = void (*)(Voice* const*, const RenderContext&, float*, float*, int32_t, bool*);
    // Renders the size voices from index last down side by side.
    void RenderGroup(int32_t last, int32_t size, GroupRender render, const RenderContext& context, float* left,
                     float* right, int32_t frames);

    int32_t count = 0;
    int32_t limit = kMaxVoices;
    Voice voices[kMaxVoices];
    bool monoActive = false;
    NoteStack stack;
    bool sustainDown = false;
    uint32_t sustainedOffs[kMaxSustainedOffs] = {};
    int32_t sustainedCount = 0;
};
