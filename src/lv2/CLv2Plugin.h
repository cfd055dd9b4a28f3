#pragma once

#include "lv2/Lv2Ports.h"

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdint>

class CEditorFactory;
class CMemoryStream;
class CPluginBase;

// The LV2 adapter: an instrument with an atom MIDI input, two audio outputs
// and one control input per parameter of the table, forwarding every host
// call to the host-independent core. Control ports reach the current program
// as host parameter changes do; the state is the core's bank chunk, one
// property; presets carry a single program chunk. Holds no synthesis logic.
class CLv2Plugin
{
public:
    static constexpr const char* kUri = "urn:velmora:synth";
    // State properties: the whole bank (what a session keeps) and a single
    // program (what a preset applies to the current program).
    static constexpr const char* kBankKey = "urn:velmora:synth#bank";
    static constexpr const char* kProgramKey = "urn:velmora:synth#program";

    // Creates the adapter around core and its editor factory (may be null),
    // taking ownership of both. Null, deleting both, when the host offers no
    // URID map, the rate is no positive integer or memory runs out.
    static CLv2Plugin* Create(CPluginBase* core, CEditorFactory* editorFactory, double sampleRate,
                              const LV2_Feature* const* features);
    ~CLv2Plugin();

    CPluginBase& Core() { return *core; }
    // The factory of the editor windows, for a UI that reaches this instance.
    CEditorFactory* EditorFactory() { return editorFactory; }

    void ConnectPort(uint32_t port, void* data);
    // Silences the core: no old sound survives a restart of audio.
    void Activate();
    // Renders frames samples, cut at every event's frame. Allocates and locks
    // nothing.
    void Run(uint32_t frames);

    LV2_State_Status Save(LV2_State_Store_Function store, LV2_State_Handle handle);
    // Loads the bank, or a preset's program into the current program; a
    // property that is not a sound chunk loads nothing.
    LV2_State_Status Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    // One MIDI message as the core takes it: status in bits 0-7, data bytes
    // in bits 8-15 and 16-23; missing bytes are 0, a first byte below 0x80
    // goes alone. 0 for an empty message.
    static uint32_t PackMidi(const uint8_t* bytes, uint32_t size);

    CLv2Plugin(const CLv2Plugin&) = delete;
    CLv2Plugin& operator=(const CLv2Plugin&) = delete;

private:
    struct Uris
    {
        LV2_URID midiEvent;
        LV2_URID atomChunk;
        LV2_URID atomObject;
        LV2_URID atomBlank;
        LV2_URID atomFloat;
        LV2_URID atomDouble;
        LV2_URID timePosition;
        LV2_URID timeBeatsPerMinute;
        LV2_URID timeSpeed;
        LV2_URID bankKey;
        LV2_URID programKey;
    };

    CLv2Plugin(CPluginBase* core, CEditorFactory* editorFactory, CMemoryStream* chunk, const Uris& uris);

    // Control values that changed since the last block, as parameter changes.
    void ApplyControls();
    void HandleEvent(const LV2_Atom_Event& event);
    void HandlePosition(const LV2_Atom_Object* position);
    void RenderSlice(uint32_t frames);
    // Loads the property's chunk when it passes the patch check; true then.
    bool LoadChunk(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, LV2_URID key, bool isPreset);
    static bool ReadNumber(const LV2_Atom* atom, const Uris& uris, float& value);

    CPluginBase* core;              // owned
    CEditorFactory* editorFactory;  // owned
    CMemoryStream* chunk;           // owned; the bytes of the last state save
    Uris uris;
    const LV2_Atom_Sequence* midiIn = nullptr;
    float* outputs[2] = {};
    float* slice[2] = {};
    const float* controls[kParameterTableSize] = {};
    float seen[kParameterTableSize] = {};
    bool controlsSeen = false;
    bool playing = false;
};
