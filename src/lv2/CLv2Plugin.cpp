#include "lv2/CLv2Plugin.h"

#include "editor/CEditorFactory.h"
#include "host/CPluginBase.h"
#include "io/CMemoryStream.h"
#include "synth/PatchCheck.h"

#include <lv2/atom/util.h>
#include <lv2/midi/midi.h>
#include <lv2/time/time.h>

#include <algorithm>
#include <limits>
#include <new>
#include <string>

namespace
{
constexpr double kMaxSampleRate = std::numeric_limits<int32_t>::max();

const LV2_URID_Map* FindMap(const LV2_Feature* const* features)
{
    for (int32_t i = 0; features && features[i]; ++i)
    {
        if (std::string(features[i]->URI) == LV2_URID__map)
            return static_cast<const LV2_URID_Map*>(features[i]->data);
    }
    return nullptr;
}
}  // namespace

CLv2Plugin* CLv2Plugin::Create(CPluginBase* core, CEditorFactory* editorFactory, double sampleRate,
                               const LV2_Feature* const* features)
{
    const LV2_URID_Map* map = FindMap(features);
    CMemoryStream* chunk = nullptr;
    CLv2Plugin* plugin = nullptr;
    if (core && map && sampleRate >= 1.0 && sampleRate <= kMaxSampleRate)
    {
        auto id = [map](const char* uri) { return map->map(map->handle, uri); };
        const Uris uris{
            id(LV2_MIDI__MidiEvent), id(LV2_ATOM__Chunk),  id(LV2_ATOM__Object),   id(LV2_ATOM__Blank),
            id(LV2_ATOM__Float),     id(LV2_ATOM__Double), id(LV2_TIME__Position), id(LV2_TIME__beatsPerMinute),
            id(LV2_TIME__speed),     id(kBankKey),         id(kProgramKey)};
        chunk = new (std::nothrow) CMemoryStream;
        plugin = chunk ? new (std::nothrow) CLv2Plugin(core, editorFactory, chunk, uris) : nullptr;
    }
    if (!plugin)
    {
        delete chunk;
        delete editorFactory;
        delete core;
        return nullptr;
    }
    core->SetSampleRate(static_cast<int32_t>(sampleRate));
    return plugin;
}

CLv2Plugin::CLv2Plugin(CPluginBase* core, CEditorFactory* editorFactory, CMemoryStream* chunk, const Uris& uris)
    : core(core), editorFactory(editorFactory), chunk(chunk), uris(uris)
{
}

CLv2Plugin::~CLv2Plugin()
{
    delete editorFactory;
    delete core;
    delete chunk;
}

void CLv2Plugin::ConnectPort(uint32_t port, void* data)
{
    switch (port)
    {
    case Lv2Ports::kMidiIn:
        midiIn = static_cast<const LV2_Atom_Sequence*>(data);
        break;
    case Lv2Ports::kOutLeft:
    case Lv2Ports::kOutRight:
        outputs[port - Lv2Ports::kOutLeft] = static_cast<float*>(data);
        break;
    default:
    {
        const int32_t parameter = Lv2Ports::ParameterOfPort(port);
        if (parameter >= 0)
            controls[parameter] = static_cast<const float*>(data);
        break;
    }
    }
}

void CLv2Plugin::Activate()
{
    core->Reset();
}

void CLv2Plugin::Run(uint32_t frames)
{
    if (!outputs[0] || !outputs[1])
        return;
    for (int32_t i = 0; i < 2; ++i)
    {
        slice[i] = outputs[i];
        std::fill_n(outputs[i], frames, 0.0f);
    }
    ApplyControls();

    // An event before an earlier one or past the block is moved to the
    // nearest frame inside the block that keeps the order: it sounds late
    // rather than never, and the render never leaves the buffers.
    uint32_t position = 0;
    if (midiIn)
    {
        LV2_ATOM_SEQUENCE_FOREACH(midiIn, event)
        {
            const int64_t frame = event->time.frames;
            const uint32_t at = frame <= position ? position : frame >= frames ? frames : static_cast<uint32_t>(frame);
            RenderSlice(at - position);
            position = at;
            HandleEvent(*event);
        }
    }
    RenderSlice(frames - position);
}

// The host's initial values say nothing about the program the bank loaded:
// the first block only takes note of them. Afterwards a value that moved is
// applied, unless the program already holds it, so that echoes of the
// program's own values never round its fields.
void CLv2Plugin::ApplyControls()
{
    for (int32_t i = 0; i < kParameterTableSize; ++i)
    {
        if (!controls[i] || *controls[i] == seen[i])
            continue;
        seen[i] = *controls[i];
        const ParameterInfo& info = kParameters[i];
        int32_t knob = 0;
        if (!controlsSeen || !Lv2Ports::KnobFromPort(info, seen[i], knob))
            continue;
        if (knob != Lv2Ports::KnobOfNormalized(info, core->GetParameter(i)))
            core->SetParameter(i, Lv2Ports::Normalized(info, knob));
    }
    controlsSeen = true;
}

uint32_t CLv2Plugin::PackMidi(const uint8_t* bytes, uint32_t size)
{
    if (size == 0)
        return 0;
    const uint32_t status = bytes[0];
    if (status < 0x80)
        return status;
    const uint32_t first = size > 1 ? bytes[1] : 0;
    const uint32_t second = size > 2 ? bytes[2] : 0;
    return status | first << 8 | second << 16;
}

void CLv2Plugin::HandleEvent(const LV2_Atom_Event& event)
{
    const LV2_Atom& body = event.body;
    if (body.type == uris.midiEvent)
    {
        const uint32_t message = PackMidi(static_cast<const uint8_t*>(LV2_ATOM_BODY_CONST(&body)), body.size);
        if (message != 0)
            core->HandleMidi(message);
    }
    else if ((body.type == uris.atomObject || body.type == uris.atomBlank) && body.size >= sizeof(LV2_Atom_Object_Body))
    {
        const auto* object = reinterpret_cast<const LV2_Atom_Object*>(&body);
        if (object->body.otype == uris.timePosition)
            HandlePosition(object);
    }
}

// Tempo as the core takes it; a transport that starts rolling restarts the
// global LFOs, as the VST adapter's transport flags do.
void CLv2Plugin::HandlePosition(const LV2_Atom_Object* position)
{
    const LV2_Atom* bpm = nullptr;
    const LV2_Atom* speed = nullptr;
    lv2_atom_object_get(position, uris.timeBeatsPerMinute, &bpm, uris.timeSpeed, &speed, 0);
    float value = 0.0f;
    if (ReadNumber(bpm, uris, value))
        core->SetTempo(value);
    if (ReadNumber(speed, uris, value) && (value != 0.0f) != playing)
    {
        playing = !playing;
        core->SetTransport(playing);
    }
}

bool CLv2Plugin::ReadNumber(const LV2_Atom* atom, const Uris& uris, float& value)
{
    if (!atom)
        return false;
    if (atom->type == uris.atomFloat && atom->size >= sizeof(float))
        value = reinterpret_cast<const LV2_Atom_Float*>(atom)->body;
    else if (atom->type == uris.atomDouble && atom->size >= sizeof(double))
        value = static_cast<float>(reinterpret_cast<const LV2_Atom_Double*>(atom)->body);
    else
        return false;
    return true;
}

void CLv2Plugin::RenderSlice(uint32_t frames)
{
    if (frames == 0)
        return;
    core->ProcessBlock(nullptr, slice, static_cast<int32_t>(frames));
    for (float*& output : slice)
        output += frames;
}

LV2_State_Status CLv2Plugin::Save(LV2_State_Store_Function store, LV2_State_Handle handle)
{
    chunk->SetSize(0);
    chunk->Seek(0, CStream::FromStart);
    core->SaveState(chunk, false);
    if (chunk->Size() <= 0)
        return LV2_STATE_ERR_UNKNOWN;
    return store(handle, uris.bankKey, chunk->Data(), static_cast<size_t>(chunk->Size()), uris.atomChunk,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status CLv2Plugin::Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle)
{
    const bool bank = LoadChunk(retrieve, handle, uris.bankKey, false);
    const bool program = LoadChunk(retrieve, handle, uris.programKey, true);
    return bank || program ? LV2_STATE_SUCCESS : LV2_STATE_ERR_NO_PROPERTY;
}

bool CLv2Plugin::LoadChunk(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, LV2_URID key, bool isPreset)
{
    size_t size = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    const void* data = retrieve(handle, key, &size, &type, &flags);
    std::string reason;
    if (!data || type != uris.atomChunk || size > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ||
        !CheckPatchChunk(static_cast<const uint8_t*>(data), size, isPreset, reason))
        return false;
    CMemoryStream incoming;
    if (incoming.Write(data, static_cast<int32_t>(size)) != static_cast<int32_t>(size))
        return false;
    incoming.Seek(0, CStream::FromStart);
    core->LoadState(&incoming, isPreset);
    return true;
}
