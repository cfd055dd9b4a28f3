#pragma once

#include "host/CAutomationHost.h"
#include "host/CEditorHosting.h"
#include "host/CVstEffect.h"

#include <cstdint>

class CEditorFactory;
class CMemoryStream;
class CPluginBase;

// The VST 2.4 adapter: declares an instrument of 64 programs, the core's
// parameters, no inputs and two outputs, and forwards every host request to the
// host-independent core, converting between the interface's conventions and
// the core's. Holds no synthesis logic.
class CVST24Plugin : public CVstEffect, private CAutomationHost
{
public:
    static constexpr int32_t kProgramCount = 64;
    static constexpr int32_t kOutputCount = 2;
    static constexpr int32_t kUniqueId = VstFourCC('v', 'l', 'm', '1');
    static constexpr int32_t kProgramNameChars = 24;  // terminator not counted
    // Parameter names and units as cut for the host's buffer, terminator not
    // counted. Officially hosts give 8 bytes, but most give more and cut
    // names themselves; every unit fits into 8.
    static constexpr int32_t kParameterNameChars = kVstMaxLabelLen - 1;
    static constexpr int32_t kParameterLabelChars = kVstMaxParamStrLen - 1;
    // MIDI events one block can take, over all of its effProcessEvents calls.
    static constexpr int32_t kMaxPendingEvents = 4096;
    // What hosts list the plug-in as.
    static constexpr const char* kProductName = "Velmora";
    static constexpr const char* kVendorName = "Velmora Instruments";
    static constexpr intptr_t kVendorVersion = 1200;  // 1.2

    // Creates the adapter around core and the factory of its editor windows
    // (null: no editor), taking ownership of both; hands the core the
    // adapter as its automation host. Null (building nothing) when host is
    // null, when core is null or when memory runs out; core and factory are
    // deleted then.
    static CVST24Plugin* Create(audioMasterCallback host, CPluginBase* core, CEditorFactory* editorFactory);

    ~CVST24Plugin() override;

    CPluginBase& Core() { return *core; }
    CEditorHosting& Editor() { return editor; }

    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void setProgram(int32_t program) override;
    int32_t getProgram() override;
    void setProgramName(char* name) override;
    void getProgramName(char* text) override;
    void getParameterLabel(int32_t index, char* label) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterName(int32_t index, char* text) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
    bool getOutputProperties(int32_t index, VstPinProperties* properties) override;
    int32_t canDo(char* text) override;
    // Asks the host for MIDI and silences the core: no old sound survives a
    // restart of audio.
    void resume() override;

    // Events beyond kMaxPendingEvents in one block, since creation.
    int64_t DroppedEvents() const { return droppedEvents; }

    // One MIDI event as the core takes it: status in bits 0-7, data bytes in
    // bits 8-15 and 16-23. A first byte below 0x80 is not a status and goes
    // alone.
    static uint32_t PackMidi(const VstMidiEvent& event);

private:
    CVST24Plugin(audioMasterCallback host, CPluginBase* core, CEditorFactory* editorFactory, CMemoryStream* chunk);

    // One MIDI event waiting for the next block.
    struct PendingEvent
    {
        int32_t frame;     // the host's offset, unchecked
        uint32_t message;  // packed
    };

    // The core's reports, passed on to the host until it has closed us.
    void BeginEdit(int32_t parameter) override;
    void Automate(int32_t parameter, float normalized) override;
    void EndEdit(int32_t parameter) override;
    void UpdateDisplay() override;
    intptr_t CallHost(int32_t opcode, int32_t index, float opt);

    void QueueEvents(const VstEvents* events);
    void ReadTimeInfo();
    void RenderSlice(int32_t frames);
    bool IsParameter(int32_t index) const;
    // effString2Parameter: text sets the parameter; without text it only
    // asks whether the parameter takes text. 1 when it does.
    intptr_t SetParameterFromText(int32_t index, const char* text);
    intptr_t GetChunk(void** data, bool isPreset);
    intptr_t SetChunk(const void* data, intptr_t size, bool isPreset);

    CEditorFactory* editorFactory;  // owned; before the editor, which uses it
    CEditorHosting editor;
    PendingEvent pending[kMaxPendingEvents] = {};
    int32_t pendingCount = 0;
    int64_t droppedEvents = 0;
    CPluginBase* core;     // owned
    CMemoryStream* chunk;  // owned; its buffer is what the host gets for effGetChunk
    float** inputPointers = nullptr;
    float* outputPointers[kOutputCount] = {};
};
