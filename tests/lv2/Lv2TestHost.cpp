#include "Lv2TestHost.h"

#include <lv2/atom/forge.h>
#include <lv2/midi/midi.h>
#include <lv2/state/state.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
LV2_URID MapUri(LV2_URID_Map_Handle, const char* uri)
{
    static std::map<std::string, LV2_URID> ids;
    return ids.emplace(uri, static_cast<LV2_URID>(ids.size() + 1)).first->second;
}

LV2_URID_Map gMap = {nullptr, MapUri};
const LV2_Feature kMapFeature = {LV2_URID__map, &gMap};
const LV2_Feature* const kFeatures[] = {&kMapFeature, nullptr};

LV2_State_Status Store(LV2_State_Handle handle, uint32_t key, const void* value, size_t size, uint32_t type, uint32_t)
{
    const auto* bytes = static_cast<const uint8_t*>(value);
    (*static_cast<Properties*>(handle))[key] = {type, std::vector<uint8_t>(bytes, bytes + size)};
    return LV2_STATE_SUCCESS;
}

const void* Retrieve(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags)
{
    const Properties& properties = *static_cast<const Properties*>(handle);
    const auto found = properties.find(key);
    if (found == properties.end())
        return nullptr;
    *size = found->second.second.size();
    *type = found->second.first;
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    // An empty property still needs an address to be told from none.
    static const uint8_t kNothing = 0;
    return found->second.second.empty() ? &kNothing : found->second.second.data();
}

void SetPortValue(const char* symbol, void* host, const void* value, uint32_t size, uint32_t type)
{
    float number = std::numeric_limits<float>::quiet_NaN();
    if (type == MapUri(nullptr, LV2_ATOM__Float) && size == sizeof(float))
        number = *static_cast<const float*>(value);
    else if (type == MapUri(nullptr, LV2_ATOM__Int) && size == sizeof(int32_t))
        number = static_cast<float>(*static_cast<const int32_t*>(value));
    static_cast<CLv2TestHost*>(host)->Control(symbol) = number;
}

const LV2_State_Interface& StateOf(LilvInstance* instance)
{
    return *static_cast<const LV2_State_Interface*>(lilv_instance_get_extension_data(instance, LV2_STATE__interface));
}
}  // namespace

LilvWorld* CLv2TestHost::World()
{
    static LilvWorld* world = []
    {
        LilvWorld* w = lilv_world_new();
        LilvNode* uri = lilv_new_uri(w, "file://" VELMORA_LV2_BUNDLE "/");
        lilv_world_load_bundle(w, uri);
        lilv_node_free(uri);
        return w;
    }();
    return world;
}

LV2_URID_Map* CLv2TestHost::Map()
{
    return &gMap;
}

CLv2TestHost::CLv2TestHost() : left(kBlock), right(kBlock), sequence(65536)
{
    LilvWorld* world = World();
    LilvNode* node = lilv_new_uri(world, "urn:velmora:synth");
    plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), node);
    lilv_node_free(node);
    instance = plugin ? lilv_plugin_instantiate(plugin, kRate, kFeatures) : nullptr;
    if (!instance)
        return;
    values.resize(lilv_plugin_get_num_ports(plugin));
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, values.data());
    std::replace_if(
        values.begin(), values.end(), [](float v) { return std::isnan(v); }, 0.0f);  // no control
    for (uint32_t i = 0; i < values.size(); ++i)
        lilv_instance_connect_port(instance, i, &values[i]);
    lilv_instance_connect_port(instance, Port("midi_in"), sequence.data());
    lilv_instance_connect_port(instance, Port("out_left"), left.data());
    lilv_instance_connect_port(instance, Port("out_right"), right.data());
    lilv_instance_activate(instance);
}

CLv2TestHost::~CLv2TestHost()
{
    if (!instance)
        return;
    lilv_instance_deactivate(instance);
    lilv_instance_free(instance);
}

uint32_t CLv2TestHost::Port(const std::string& symbol) const
{
    LilvNode* node = lilv_new_string(World(), symbol.c_str());
    const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin, node);
    lilv_node_free(node);
    return port ? lilv_port_get_index(plugin, port) : static_cast<uint32_t>(values.size());
}

void CLv2TestHost::Run(const std::vector<MidiAt>& events, std::vector<float>& out, uint32_t frames)
{
    LV2_Atom_Forge forge;
    lv2_atom_forge_init(&forge, &gMap);
    lv2_atom_forge_set_buffer(&forge, sequence.data(), sequence.size());
    LV2_Atom_Forge_Frame frame;
    lv2_atom_forge_sequence_head(&forge, &frame, 0);
    for (const MidiAt& event : events)
    {
        lv2_atom_forge_frame_time(&forge, event.frame);
        lv2_atom_forge_atom(&forge, static_cast<uint32_t>(event.bytes.size()), MapUri(nullptr, LV2_MIDI__MidiEvent));
        if (!event.bytes.empty())  // an empty vector has no data to copy
            lv2_atom_forge_write(&forge, event.bytes.data(), static_cast<uint32_t>(event.bytes.size()));
    }
    lv2_atom_forge_pop(&forge, &frame);

    left.assign(kBlock, std::numeric_limits<float>::quiet_NaN());
    right.assign(kBlock, std::numeric_limits<float>::quiet_NaN());
    lilv_instance_run(instance, frames);
    for (uint32_t i = 0; i < frames; ++i)
        out.insert(out.end(), {left[i], right[i]});
}

Properties CLv2TestHost::Save()
{
    Properties properties;
    StateOf(instance).save(Handle(), Store, &properties, LV2_STATE_IS_POD, kFeatures);
    return properties;
}

int CLv2TestHost::Restore(const Properties& properties)
{
    return StateOf(instance).restore(Handle(), Retrieve, const_cast<Properties*>(&properties), 0, kFeatures);
}

void CLv2TestHost::Apply(const LilvState* state)
{
    lilv_state_restore(state, instance, SetPortValue, this, 0, kFeatures);
}
