#pragma once

#include "editor/CBaseGroup.h"

#include <cstdint>
#include <string>
#include <vector>

class CHeader;
class CParamControl;
class CSynth;
class CSynthWin;
struct SynthEnvelope;
struct SynthProgram;

// A panel of the sound editor: a CBaseGroup bound to the current program
// of the editor's synth, with its header and access to the editor's menus.
class CSynthPanel : public CBaseGroup
{
public:
    CSynthPanel(CSynthWin* window, CSynth* synth);

    // A header with one title or a row of entries selecting *selected.
    CHeader* AddHeader(std::vector<std::string> entries, int32_t* selected);
    // Runs items as a menu at (x, y) of at with marked checked; when one is
    // chosen, it is returned and the editor is asked to rebuild. -1 otherwise.
    // A knob's menu ends with "Learn MIDI CC" and "Forget MIDI CC", which
    // this runs itself (returning -1).
    int32_t Choose(CCtrl* at, int32_t x, int32_t y, const std::vector<std::string>& items, int32_t marked);
    // Right-click binder of knobs without a menu of their own: the learn items alone.
    void LearnMenu(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
    // Right-click binder of beat-count knobs: a menu of the divisions 4, 8,
    // 16 and 32 for the knob's division field.
    void DivisionMenu(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
    // A new row below the gap with the knobs A, D, S and R of envelope e.
    void PlaceEnvelopeRow(SynthEnvelope& e);
    // The control of a field of the program, a knob, switch or list as the
    // parameter table gives its kind, with the table's caption, range,
    // default and choices. It follows the field at every idle and reports
    // the player's edits to the host.
    CParamControl* Knob(float& field);
    CParamControl* Knob(int32_t& field);

private:
    CParamControl* KnobAt(const void* field);

public:
    CSynthWin* editor;
    CSynth* synth;
    SynthProgram* program;
};

// "OSCILLATORS": the two oscillators' waves, shape amounts and ratios,
// coarse tuning, phase, detune and mix.
class CWaveGroup : public CSynthPanel
{
public:
    CWaveGroup(CSynthWin* window, CSynth* synth);

private:
    // The shape knob of an oscillator; its label shows the ratio of PM and SAW2 waves.
    void AddShapeKnob(int32_t wave, float& mod);
    void WaveMenu(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
    void RatioMenu(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
};

// "X-MOD": phase modulation, feedback and noise.
class CXModGroup : public CSynthPanel
{
public:
    CXModGroup(CSynthWin* window, CSynth* synth);

private:
    void MultiplierMenu(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
};

// "FILTER": cutoff, resonance, blend, envelope depth and the filter envelope.
class CFilterGroup : public CSynthPanel
{
public:
    CFilterGroup(CSynthWin* window, CSynth* synth);
};

// "MASTER": mono and legato switches, transposition, volume and the amplitude envelope.
class CMasterGroup : public CSynthPanel
{
public:
    CMasterGroup(CSynthWin* window, CSynth* synth);
};

// The names of the oscillator waves and of the LFO waves, in field order.
const std::vector<std::string>& OscillatorWaveNames();
const std::vector<std::string>& LfoWaveNames();
