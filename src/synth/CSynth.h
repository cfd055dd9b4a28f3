#pragma once

#include "effects/CEffectChain.h"
#include "effects/MDCBlocker.h"
#include "engine/CRandom.h"
#include "engine/CVoicePool.h"
#include "engine/EngineTables.h"
#include "engine/Envelope.h"
#include "engine/Lfo.h"
#include "host/CPluginBase.h"
#include "synth/CMidiLearn.h"
#include "synth/ParameterTable.h"
#include "synth/SynthProgram.h"

#include <cstdint>

// The synthesizer: the only implementation of the core interface. Owns the 64
// programs and the pointer to the current one, the voices, the modulation
// state and the effects.
class CSynth : public CPluginBase
{
public:
    static constexpr int32_t kProgramCount = 64;
    static constexpr int32_t kParameterCount = kParameterTableSize;
    static constexpr int32_t kDefaultSampleRate = 44100;
    static constexpr float kDefaultTempo = 120.0f;
    static constexpr float kMaxTempo = 500.0f;     // exclusive
    static constexpr int32_t kGlobalLfoCount = 4;  // the fourth is never read
    // Seed of the per-instance generator (per-note random values, random LFO
    // steps): every synth plays the same sequence from construction on.
    static constexpr uint32_t kRandomSeed = 0x2545F491u;

    CSynth();

    void HandleMidi(uint32_t message) override;
    void ProcessBlock(float** inputs, float** outputs, int32_t frames) override;
    void SetSampleRate(int32_t rate) override;
    void SetProgram(int32_t index) override;
    int32_t GetProgram() override;
    void SetProgramName(int32_t index, char* name) override;
    char* GetProgramName(int32_t index) override;
    // The parameters are the entries of kParameters on the current program.
    int32_t GetParameterCount() override;
    void SetParameter(int32_t index, float value) override;
    float GetParameter(int32_t index) override;
    char* GetParameterName(int32_t index) override;
    char* GetParameterDisplay(int32_t index) override;
    char* GetParameterLabel(int32_t index) override;
    bool SetParameterFromText(int32_t index, const char* text) override;
    void SetTransport(bool playing) override;
    void SetTempo(float bpm) override;
    void Reset() override;
    void SaveState(CStream* stream, bool isPreset) override;
    void LoadState(CStream* stream, bool isPreset) override;

    // Every record zeroed, named "program-1".."program-64" and set to its
    // defaults; the current program index stays.
    void ClearAllPrograms();
    // Replaces the bank with the compiled-in factory bank; program 0 current.
    void LoadFactoryBank();

    // Raises programsChanged so that an open editor rebuilds.
    void MarkProgramsChanged();

    int32_t sampleRate = 0;
    float tempo = 0.0f;
    int32_t programIndex = 0;
    int32_t lastNote = -1;
    float modWheel = 0.0f;   // controller 1 / 127
    float pitchBend = 0.0f;  // -1..1
    float peakLeft = 0.0f;
    float peakRight = 0.0f;
    // Raised by program changes, renames and chunk loads (on either thread)
    // and by the editor itself; an editor clears it when it rebuilds. One
    // byte, written whole.
    volatile uint8_t programsChanged = 0;
    SynthProgram programs[kProgramCount];
    SynthProgram* currentProgram = nullptr;
    CVoicePool voicePool;
    EnvelopeLimits envelopeLimits = {};
    LfoState globalLfos[kGlobalLfoCount] = {};
    CRandom random{kRandomSeed};
    CEffectChain effects;
    CMidiLearn midiLearn;
    // The last stage: the feedback oscillator's offset never reaches the host.
    MDCBlocker dcBlockerLeft;
    MDCBlocker dcBlockerRight;

private:
    // Controllers: 1 mod wheel, 64 sustain pedal and the channel-mode
    // messages 120 (all sound off), 121 (reset controllers), 123 (all notes off);
    // any other moves the parameter the player bound it to.
    void HandleController(int32_t controller, int32_t value);
    // Every voice freed and every tail cleared, from the next sample on.
    void Silence();
    NoteContext MakeNoteContext();
    void AdvanceGlobalLfos(int32_t frames);
    void RaisePeaks(const float* left, const float* right, int32_t frames);

    const EngineTables* tables = nullptr;
};
