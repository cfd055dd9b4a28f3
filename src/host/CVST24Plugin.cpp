#include "host/CVST24Plugin.h"

#include "editor/CEditorFactory.h"
#include "host/CPluginBase.h"
#include "io/CMemoryStream.h"
#include "io/HeapString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <new>

namespace
{
constexpr int32_t kMaxInt32 = std::numeric_limits<int32_t>::max();

// Copies at most maxChars characters of source into text and terminates it.
void CopyCut(char* text, const char* source, size_t maxChars)
{
    size_t n = 0;
    while (n < maxChars && source[n])
        ++n;
    std::memcpy(text, source, n);
    text[n] = 0;
}

// Names go into the host's buffer, which holds at least kVstMaxVendorStrLen
// bytes for the vendor and kVstMaxEffectNameLen for the names; answers 1 when
// written.
intptr_t CopyName(void* ptr, const char* name)
{
    if (!ptr)
        return 0;
    CopyCut(static_cast<char*>(ptr), name, kVstMaxEffectNameLen - 1);
    return 1;
}

// Hands a heap string from the core to the host's buffer, then frees it.
void CopyAndFree(char* text, char* source, size_t maxChars)
{
    CopyCut(text, source, maxChars);
    FreeString(source);
}
}

CVST24Plugin* CVST24Plugin::Create(audioMasterCallback host, CPluginBase* core, CEditorFactory* editorFactory)
{
    CMemoryStream* chunk = host && core ? new (std::nothrow) CMemoryStream : nullptr;
    CVST24Plugin* plugin = chunk ? new (std::nothrow) CVST24Plugin(host, core, editorFactory, chunk) : nullptr;
    if (!plugin)
    {
        delete chunk;
        delete editorFactory;
        delete core;
        return nullptr;
    }
    core->automation = plugin;
    return plugin;
}

CVST24Plugin::CVST24Plugin(audioMasterCallback host, CPluginBase* core, CEditorFactory* editorFactory,
                           CMemoryStream* chunk)
    : CVstEffect(host, kProgramCount, core->GetParameterCount()), editorFactory(editorFactory),
      editor(editorFactory, this), core(core), chunk(chunk)
{
    setUniqueID(kUniqueId);
    setNumInputs(0);
    setNumOutputs(kOutputCount);
    canProcessReplacing(true);
    isSynth(true);
    cEffect.flags |= effFlagsProgramChunks;
    if (editorFactory)
        cEffect.flags |= effFlagsHasEditor;
}

// The editor's window shows the core: it goes first.
CVST24Plugin::~CVST24Plugin()
{
    editor.Close();
    delete editorFactory;
    delete core;
    delete chunk;
}

intptr_t CVST24Plugin::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    switch (opcode)
    {
    case effSetSampleRate:
        // Rates the core could not hold as a positive integer are ignored.
        if (opt >= 1.0f && opt < 2147483648.0f)
        {
            core->SetSampleRate(static_cast<int32_t>(opt));
            core->Reset();
        }
        return 0;
    case effSetBlockSize:
        if (value >= 1 && value <= kMaxInt32)
        {
            core->SetBlockSize(static_cast<int32_t>(value));
            core->Reset();
        }
        return 0;
    case effEditGetRect:
        return editor.GetRect(static_cast<ERect**>(ptr));
    case effEditOpen:
        return editor.Open(ptr);
    case effEditClose:
        return editor.Close();
    case effEditIdle:
        return editor.Idle();
    case effGetChunk:
        return GetChunk(static_cast<void**>(ptr), index == 1);
    case effSetChunk:
        return SetChunk(ptr, value, index == 1);
    case effProcessEvents:
        QueueEvents(static_cast<const VstEvents*>(ptr));
        return 1;
    case effGetEffectName:
    case effGetProductString:
        return CopyName(ptr, kProductName);
    case effGetVendorString:
        return CopyName(ptr, kVendorName);
    case effGetVendorVersion:
        return kVendorVersion;
    case effCanBeAutomated:
        return IsParameter(index) ? 1 : 0;
    case effString2Parameter:
        return SetParameterFromText(index, static_cast<const char*>(ptr));
    default:
        return CVstEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

// Hosts may split one block's events over several calls: each list is
// appended, up to the capacity, and everything waits for the next block.
void CVST24Plugin::QueueEvents(const VstEvents* events)
{
    const int32_t count = events && events->numEvents > 0 ? events->numEvents : 0;
    for (int32_t i = 0; i < count; ++i)
    {
        const VstEvent* event = events->events[i];
        if (!event || event->type != kVstMidiType)
            continue;
        if (pendingCount == kMaxPendingEvents)
        {
            ++droppedEvents;
            continue;
        }
        pending[pendingCount++] =
            PendingEvent{event->deltaFrames, PackMidi(*reinterpret_cast<const VstMidiEvent*>(event))};
    }
}

intptr_t CVST24Plugin::CallHost(int32_t opcode, int32_t index, float opt)
{
    if (Closing() || !audioMaster)
        return 0;
    return audioMaster(&cEffect, opcode, index, 0, nullptr, opt);
}

void CVST24Plugin::BeginEdit(int32_t parameter)
{
    CallHost(audioMasterBeginEdit, parameter, 0.0f);
}

void CVST24Plugin::Automate(int32_t parameter, float normalized)
{
    CallHost(audioMasterAutomate, parameter, normalized);
}

void CVST24Plugin::EndEdit(int32_t parameter)
{
    CallHost(audioMasterEndEdit, parameter, 0.0f);
}

void CVST24Plugin::UpdateDisplay()
{
    CallHost(audioMasterUpdateDisplay, 0, 0.0f);
}

void CVST24Plugin::resume()
{
    CVstEffect::resume();
    core->Reset();
}

void CVST24Plugin::processReplacing(float** inputs, float** outputs, int32_t sampleFrames)
{
    const int32_t count = pendingCount;
    pendingCount = 0;
    if (!outputs || !outputs[0] || !outputs[1])
        return;
    ReadTimeInfo();

    const int32_t frames = std::max(sampleFrames, 0);
    inputPointers = inputs;
    for (int32_t i = 0; i < kOutputCount; ++i)
    {
        outputPointers[i] = outputs[i];
        std::fill_n(outputPointers[i], frames, 0.0f);
    }

    // An offset outside the block or below an earlier one is moved to the
    // nearest position that is inside the block and keeps the order, so a
    // bad list can neither make the render write past the buffers nor drop
    // the rest of the block; such an event sounds late rather than never.
    int32_t position = 0;
    for (int32_t i = 0; i < count; ++i)
    {
        const int32_t offset = std::clamp(pending[i].frame, position, frames);
        RenderSlice(offset - position);
        position = offset;
        core->HandleMidi(pending[i].message);
    }
    RenderSlice(frames - position);
}

uint32_t CVST24Plugin::PackMidi(const VstMidiEvent& event)
{
    const uint32_t status = static_cast<uint8_t>(event.midiData[0]);
    if (status < 0x80)
        return status;
    return status | static_cast<uint32_t>(static_cast<uint8_t>(event.midiData[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(event.midiData[2])) << 16;
}

void CVST24Plugin::ReadTimeInfo()
{
    if (!audioMaster)
        return;
    const VstTimeInfo* info = reinterpret_cast<const VstTimeInfo*>(
        audioMaster(&cEffect, audioMasterGetTime, 0, kVstPpqPosValid | kVstTempoValid, nullptr, 0.0f));
    if (!info)
        return;
    if ((info->flags & kVstTempoValid) && info->tempo > 0.0)
        core->SetTempo(static_cast<float>(info->tempo));
    if (info->flags & kVstTransportChanged)
        core->SetTransport((info->flags & kVstTransportPlaying) != 0);
}

void CVST24Plugin::RenderSlice(int32_t frames)
{
    if (frames <= 0)
        return;
    core->ProcessBlock(inputPointers, outputPointers, frames);
    for (float*& output : outputPointers)
        output += frames;
}

intptr_t CVST24Plugin::GetChunk(void** data, bool isPreset)
{
    if (!data)
        return 0;
    chunk->SetSize(0);
    chunk->Seek(0, CStream::FromStart);
    core->SaveState(chunk, isPreset);
    *data = chunk->Data();
    return chunk->Size();
}

// A chunk without bytes, or too large for the stream, loads nothing. The
// bytes are copied into a stream of their own: hosts that compare or undo
// hand back the very buffer effGetChunk gave them, which must stay intact
// while it is read.
intptr_t CVST24Plugin::SetChunk(const void* data, intptr_t size, bool isPreset)
{
    if (!data || size <= 0 || size > kMaxInt32)
        return 0;
    CMemoryStream incoming;
    if (incoming.Write(data, static_cast<int32_t>(size)) != size)
        return 0;
    incoming.Seek(0, CStream::FromStart);
    core->LoadState(&incoming, isPreset);
    UpdateDisplay();
    return 0;
}

bool CVST24Plugin::IsParameter(int32_t index) const
{
    return index >= 0 && index < cEffect.numParams;
}

intptr_t CVST24Plugin::SetParameterFromText(int32_t index, const char* text)
{
    if (!IsParameter(index))
        return 0;
    if (!text)
        return 1;
    return core->SetParameterFromText(index, text) ? 1 : 0;
}

void CVST24Plugin::setParameter(int32_t index, float value)
{
    core->SetParameter(index, value);
}

float CVST24Plugin::getParameter(int32_t index)
{
    return core->GetParameter(index);
}

// Every parameter belongs to the current program: all may have changed.
void CVST24Plugin::setProgram(int32_t program)
{
    core->SetProgram(program);
    UpdateDisplay();
}

int32_t CVST24Plugin::getProgram()
{
    return core->GetProgram();
}

void CVST24Plugin::setProgramName(char* name)
{
    core->SetProgramName(core->GetProgram(), NewString(name));
}

void CVST24Plugin::getProgramName(char* text)
{
    CopyAndFree(text, core->GetProgramName(core->GetProgram()), kProgramNameChars);
}

void CVST24Plugin::getParameterLabel(int32_t index, char* label)
{
    CopyAndFree(label, core->GetParameterLabel(index), kParameterLabelChars);
}

void CVST24Plugin::getParameterDisplay(int32_t index, char* text)
{
    CopyAndFree(text, core->GetParameterDisplay(index), std::numeric_limits<size_t>::max());
}

void CVST24Plugin::getParameterName(int32_t index, char* text)
{
    CopyAndFree(text, core->GetParameterName(index), kParameterNameChars);
}

bool CVST24Plugin::getProgramNameIndexed(int32_t, int32_t index, char* text)
{
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(kProgramCount))
        return false;
    CopyAndFree(text, core->GetProgramName(index), kProgramNameChars);
    return true;
}

bool CVST24Plugin::getOutputProperties(int32_t index, VstPinProperties* properties)
{
    if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(kOutputCount))
        return false;
    std::snprintf(properties->label, sizeof properties->label, "%1d Out", static_cast<int>(index + 1));
    properties->flags = kVstPinIsActive | kVstPinIsStereo;
    return true;
}

int32_t CVST24Plugin::canDo(char* text)
{
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"})
    {
        if (std::strcmp(text, yes) == 0)
            return 1;
    }
    return -1;
}
