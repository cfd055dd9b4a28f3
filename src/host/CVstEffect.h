#pragma once

#include "host/VstAbi.h"

#include <atomic>
#include <cstdint>

// Our own base for a VST 2.4 plug-in object: owns the AEffect record the
// host sees, routes the host's calls through static functions to the
// virtual operations below, and answers every request that a subclass does
// not handle with the interface's defaults. Operation names follow the
// interface's own.
//
// The object deletes itself when the host sends effClose: at once, or, when
// the request comes from inside code of ours that is still running (another
// host call, or a held frame such as a menu's loop that delivered the host's
// message), as soon as that has returned; the editor is closed at once then,
// which ends its loops. Threads: the host calls processReplacing on its
// audio thread, everything else on its user-interface thread.
class CVstEffect
{
public:
    CVstEffect(audioMasterCallback host, int32_t numPrograms, int32_t numParams);
    virtual ~CVstEffect();

    AEffect* getAeffect() { return &cEffect; }
    // The object behind a record that this class made; null for null.
    static CVstEffect* Of(AEffect* effect);

    // Keeps the object alive while code of the plug-in runs that the host
    // did not call (the window procedure handling a system message): an
    // effClose meanwhile deletes it at the last Release. Every host call
    // holds it too.
    void Hold();
    void Release();

    // The request switch; the default answers are listed in the .cpp.
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    // Writes sampleFrames samples into each output buffer (the default: nothing).
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);
    virtual void setParameter(int32_t index, float value);
    virtual float getParameter(int32_t index);

    virtual void setProgram(int32_t program);
    virtual int32_t getProgram();
    // name is the host's zero-terminated text.
    virtual void setProgramName(char* name);
    // text is the host's buffer, room for 24 characters and a terminator.
    virtual void getProgramName(char* text);
    virtual void getParameterLabel(int32_t index, char* label);
    virtual void getParameterDisplay(int32_t index, char* text);
    virtual void getParameterName(int32_t index, char* text);
    virtual bool getProgramNameIndexed(int32_t category, int32_t index, char* text);
    virtual bool getOutputProperties(int32_t index, VstPinProperties* properties);
    // 1 yes, -1 no, 0 unknown.
    virtual int32_t canDo(char* text);
    // Audio starts: asks the host for MIDI events.
    virtual void resume();
    virtual void suspend();

    CVstEffect(const CVstEffect&) = delete;
    CVstEffect& operator=(const CVstEffect&) = delete;

protected:
    // effClose has come: the host takes no more calls from this object.
    bool Closing() const { return closing; }

    void setUniqueID(int32_t id) { cEffect.uniqueID = id; }
    void setNumInputs(int32_t count) { cEffect.numInputs = count; }
    void setNumOutputs(int32_t count) { cEffect.numOutputs = count; }
    void canProcessReplacing(bool state);
    void isSynth(bool state);

    audioMasterCallback audioMaster;
    AEffect cEffect;

private:
    // effClose: the last Release deletes the object; held by more than the
    // host's call, it closes its editor at once, which ends the editor's loops.
    void RequestClose();

    static intptr_t DispatchEffect(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                   float opt);
    static void AccumulateEffect(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
    static void ProcessReplacingEffect(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
    static void SetParameterEffect(AEffect* effect, int32_t index, float value);
    static float GetParameterEffect(AEffect* effect, int32_t index);

    // Atomic: hosts send some requests (effProcessEvents) from the audio thread.
    std::atomic<int32_t> holds{0};
    std::atomic<bool> closing{false};
};
