#pragma once

// The binary interface between a VST 2.4 host and an instrument plug-in, as
// far as Velmora and its test host use it: the plug-in record, the function
// types, the dispatcher and host-callback opcodes, events, time info, pin
// properties and the editor rectangle. Written from the published binary
// layout; every record's size and field offsets are pinned below for 32- and
// 64-bit builds, since hosts read these records by offset.
//
// Only src/host and the test host (apps/host) include this header.

#include <cstddef>
#include <cstdint>

// Every call across the boundary uses the C calling convention, which is the
// default of the compilers we build with on both Linux and Windows.

struct AEffect;

using VstDispatcherProc = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                       float opt);
using VstProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs, int32_t sampleFrames);
using VstProcessDoubleProc = void (*)(AEffect* effect, double** inputs, double** outputs, int32_t sampleFrames);
using VstSetParameterProc = void (*)(AEffect* effect, int32_t index, float value);
using VstGetParameterProc = float (*)(AEffect* effect, int32_t index);
// The host callback has the dispatcher's shape (see host/CPluginBase.h).
using audioMasterCallback = intptr_t (*)(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                         float opt);
// The exported entry of every plug-in library.
using VstPluginMainProc = AEffect* (*)(audioMasterCallback host);

// Four-character codes as the interface stores them: first character in the
// top byte.
constexpr int32_t VstFourCC(char a, char b, char c, char d)
{
    return static_cast<int32_t>(
        static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24 | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16 |
        static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8 | static_cast<uint32_t>(static_cast<uint8_t>(d)));
}

constexpr int32_t kEffectMagic = VstFourCC('V', 's', 't', 'P');
constexpr int32_t kVstVersion = 2400;

// The plug-in record the host sees. Fields the host may write are marked.
struct AEffect
{
    int32_t magic;  // kEffectMagic
    VstDispatcherProc dispatcher;
    VstProcessProc process;  // accumulating render of old hosts
    VstSetParameterProc setParameter;
    VstGetParameterProc getParameter;
    int32_t numPrograms;
    int32_t numParams;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;    // effFlags*
    intptr_t resvd1;  // the host's own; 0 from the plug-in
    intptr_t resvd2;
    int32_t initialDelay;  // samples
    int32_t realQualities;
    int32_t offQualities;
    float ioRatio;
    void* object;  // the plug-in's own object
    void* user;    // the host's own
    int32_t uniqueID;
    int32_t version;
    VstProcessProc processReplacing;
    VstProcessDoubleProc processDoubleReplacing;
    char future[56];
};

enum VstEffectFlags : int32_t
{
    effFlagsHasEditor = 1 << 0,
    effFlagsCanReplacing = 1 << 4,
    effFlagsProgramChunks = 1 << 5,
    effFlagsIsSynth = 1 << 8,
};

// Dispatcher opcodes (host to plug-in).
enum VstEffectOpcode : int32_t
{
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditIdle = 19,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetProgramNameIndexed = 29,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effGetEffectName = 45,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effCanDo = 51,
    effGetTailSize = 52,
    effGetVstVersion = 58,
    effEditKeyDown = 59,
    effEditKeyUp = 60,
    effSetEditKnobMode = 61,
    effGetCurrentMidiProgram = 63,
};

// Host-callback opcodes (plug-in to host).
enum VstHostOpcode : int32_t
{
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

// The answer of effIdentify.
constexpr int32_t kVstIdentify = VstFourCC('N', 'v', 'E', 'f');

enum VstPlugCategory : int32_t
{
    kPlugCategUnknown = 0,
    kPlugCategSynth = 2,
};

// Text sizes in the pin record, terminator included.
constexpr int32_t kVstMaxEffectNameLen = 32;  // effGetEffectName, effGetProductString: bytes with the terminator
constexpr int32_t kVstMaxVendorStrLen = 64;
constexpr int32_t kVstMaxLabelLen = 64;
constexpr int32_t kVstMaxShortLabelLen = 8;
// Parameter names, units and displays: the bytes the interface promises.
constexpr int32_t kVstMaxParamStrLen = 8;

// The common head of every event, and the MIDI event that extends it.
struct VstEvent
{
    int32_t type;         // kVstMidiType, kVstSysExType...
    int32_t byteSize;     // of the event after these first two fields
    int32_t deltaFrames;  // sample offset into the current block
    int32_t flags;
    char data[16];
};

enum VstEventType : int32_t
{
    kVstMidiType = 1,
    kVstSysExType = 6,
};

struct VstMidiEvent
{
    int32_t type;      // kVstMidiType
    int32_t byteSize;  // sizeof(VstMidiEvent)
    int32_t deltaFrames;
    int32_t flags;
    int32_t noteLength;  // samples, 0 when unknown
    int32_t noteOffset;
    char midiData[4];  // status, data 1, data 2, zero
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};

// The host's event list: numEvents pointers, the array continuing past its
// declared two entries.
struct VstEvents
{
    int32_t numEvents;
    intptr_t reserved;
    VstEvent* events[2];
};

struct VstTimeInfo
{
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;  // quarter notes
    double tempo;   // beats per minute
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32_t timeSigNumerator;
    int32_t timeSigDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;  // kVstTransport*, kVst*Valid
};

enum VstTimeInfoFlags : int32_t
{
    kVstTransportChanged = 1,
    kVstTransportPlaying = 1 << 1,
    kVstPpqPosValid = 1 << 9,
    kVstTempoValid = 1 << 10,
    kVstTimeSigValid = 1 << 13,
};

struct VstPinProperties
{
    char label[kVstMaxLabelLen];
    int32_t flags;  // kVstPin*
    int32_t arrangementType;
    char shortLabel[kVstMaxShortLabelLen];
    char future[48];
};

enum VstPinPropertiesFlags : int32_t
{
    kVstPinIsActive = 1 << 0,
    kVstPinIsStereo = 1 << 1,
};

// Editor size in pixels, bottom and right exclusive.
struct ERect
{
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// The layout hosts rely on. The offset a field has in the 32-bit and in the
// 64-bit layout; a build checks the one of its own word size.
constexpr size_t VstOffset(size_t offset32, size_t offset64)
{
    return sizeof(void*) == 8 ? offset64 : offset32;
}

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "only 32- and 64-bit layouts exist");
static_assert(sizeof(float) == 4 && sizeof(double) == 8, "IEEE-754 single and double");

static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == VstOffset(4, 8));
static_assert(offsetof(AEffect, process) == VstOffset(8, 16));
static_assert(offsetof(AEffect, setParameter) == VstOffset(12, 24));
static_assert(offsetof(AEffect, getParameter) == VstOffset(16, 32));
static_assert(offsetof(AEffect, numPrograms) == VstOffset(20, 40));
static_assert(offsetof(AEffect, numParams) == VstOffset(24, 44));
static_assert(offsetof(AEffect, numInputs) == VstOffset(28, 48));
static_assert(offsetof(AEffect, numOutputs) == VstOffset(32, 52));
static_assert(offsetof(AEffect, flags) == VstOffset(36, 56));
static_assert(offsetof(AEffect, resvd1) == VstOffset(40, 64));
static_assert(offsetof(AEffect, resvd2) == VstOffset(44, 72));
static_assert(offsetof(AEffect, initialDelay) == VstOffset(48, 80));
static_assert(offsetof(AEffect, realQualities) == VstOffset(52, 84));
static_assert(offsetof(AEffect, offQualities) == VstOffset(56, 88));
static_assert(offsetof(AEffect, ioRatio) == VstOffset(60, 92));
static_assert(offsetof(AEffect, object) == VstOffset(64, 96));
static_assert(offsetof(AEffect, user) == VstOffset(68, 104));
static_assert(offsetof(AEffect, uniqueID) == VstOffset(72, 112));
static_assert(offsetof(AEffect, version) == VstOffset(76, 116));
static_assert(offsetof(AEffect, processReplacing) == VstOffset(80, 120));
static_assert(offsetof(AEffect, processDoubleReplacing) == VstOffset(84, 128));
static_assert(offsetof(AEffect, future) == VstOffset(88, 136));
static_assert(sizeof(AEffect) == VstOffset(144, 192));

static_assert(offsetof(VstEvent, deltaFrames) == 8);
static_assert(sizeof(VstEvent) == 32);
static_assert(offsetof(VstMidiEvent, deltaFrames) == 8);
static_assert(offsetof(VstMidiEvent, noteLength) == 16);
static_assert(offsetof(VstMidiEvent, midiData) == 24);
static_assert(offsetof(VstMidiEvent, detune) == 28);
static_assert(sizeof(VstMidiEvent) == 32);

static_assert(offsetof(VstEvents, reserved) == VstOffset(4, 8));
static_assert(offsetof(VstEvents, events) == VstOffset(8, 16));
static_assert(sizeof(VstEvents) == VstOffset(16, 32));

static_assert(offsetof(VstTimeInfo, ppqPos) == 24);
static_assert(offsetof(VstTimeInfo, tempo) == 32);
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64);
static_assert(offsetof(VstTimeInfo, samplesToNextClock) == 80);
static_assert(offsetof(VstTimeInfo, flags) == 84);
static_assert(sizeof(VstTimeInfo) == 88);

static_assert(offsetof(VstPinProperties, flags) == 64);
static_assert(offsetof(VstPinProperties, arrangementType) == 68);
static_assert(offsetof(VstPinProperties, shortLabel) == 72);
static_assert(sizeof(VstPinProperties) == 128);

static_assert(offsetof(ERect, left) == 2);
static_assert(offsetof(ERect, right) == 6);
static_assert(sizeof(ERect) == 8);
