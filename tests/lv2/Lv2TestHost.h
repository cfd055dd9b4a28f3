#pragma once

#include <lilv/lilv.h>
#include <lv2/atom/forge.h>
#include <lv2/midi/midi.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

// One MIDI message at a frame of a block.
struct MidiAt
{
    int64_t frame;
    std::vector<uint8_t> bytes;
};

// The properties of a saved state: key to type and bytes.
using Properties = std::map<uint32_t, std::pair<uint32_t, std::vector<uint8_t>>>;

// A small LV2 host on lilv for the tests: instantiates the plug-in of the
// bundle in VELMORA_LV2_BUNDLE at 44100 Hz, controls at their defaults, and
// runs it block by block with MIDI in an atom sequence. Outputs are filled
// with NaN before each run, so a plug-in that leaves any sample unwritten shows.
class CLv2TestHost
{
public:
    static constexpr uint32_t kBlock = 256;
    static constexpr double kRate = 44100.0;

    static LV2_URID MapUri(LV2_URID_Map_Handle, const char* uri)
    {
        static std::map<std::string, LV2_URID> ids;
        return ids.emplace(uri, static_cast<LV2_URID>(ids.size() + 1)).first->second;
    }
    static LV2_URID_Map* Map()
    {
        static LV2_URID_Map map = {nullptr, MapUri};
        return &map;
    }
    // The world with the bundle loaded; shared by all hosts.
    static LilvWorld* World()
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

    CLv2TestHost()
    {
        LilvNode* uri = lilv_new_uri(World(), "urn:velmora:synth");
        plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(World()), uri);
        lilv_node_free(uri);
        instance = plugin ? lilv_plugin_instantiate(plugin, kRate, features) : nullptr;
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
    ~CLv2TestHost()
    {
        if (!instance)
            return;
        lilv_instance_deactivate(instance);
        lilv_instance_free(instance);
    }

    bool Ok() const { return instance != nullptr; }
    const LilvPlugin* Plugin() const { return plugin; }
    LV2_Handle Handle() const { return lilv_instance_get_handle(instance); }
    // The index of the port with symbol; the port count when there is none.
    uint32_t Port(const std::string& symbol) const
    {
        LilvNode* node = lilv_new_string(World(), symbol.c_str());
        const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin, node);
        lilv_node_free(node);
        return port ? lilv_port_get_index(plugin, port) : static_cast<uint32_t>(values.size());
    }
    // One value per port; only the control ports read theirs.
    std::vector<float>& Controls() { return values; }
    float& Control(const std::string& symbol) { return values.at(Port(symbol)); }

    // Runs one block with these events, or frames alone; appends both
    // channels, interleaved, to out.
    void Run(const std::vector<MidiAt>& events, std::vector<float>& out, uint32_t frames = kBlock)
    {
        LV2_Atom_Forge forge;
        lv2_atom_forge_init(&forge, Map());
        lv2_atom_forge_set_buffer(&forge, sequence.data(), sequence.size());
        LV2_Atom_Forge_Frame frame;
        lv2_atom_forge_sequence_head(&forge, &frame, 0);
        for (const MidiAt& event : events)
        {
            lv2_atom_forge_frame_time(&forge, event.frame);
            lv2_atom_forge_atom(&forge, static_cast<uint32_t>(event.bytes.size()),
                                MapUri(nullptr, LV2_MIDI__MidiEvent));
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

    // The state interface called directly, and a preset applied through lilv
    // (port values included).
    Properties Save()
    {
        Properties properties;
        State().save(Handle(), Store, &properties, LV2_STATE_IS_POD, features);
        return properties;
    }
    int Restore(const Properties& properties)
    {
        return State().restore(Handle(), Retrieve, const_cast<Properties*>(&properties), 0, features);
    }
    void Apply(const LilvState* state) { lilv_state_restore(state, instance, SetPortValue, this, 0, features); }

private:
    const LV2_State_Interface& State() const
    {
        return *static_cast<const LV2_State_Interface*>(
            lilv_instance_get_extension_data(instance, LV2_STATE__interface));
    }
    static LV2_State_Status Store(LV2_State_Handle to, uint32_t key, const void* value, size_t size, uint32_t type,
                                  uint32_t)
    {
        const auto* bytes = static_cast<const uint8_t*>(value);
        (*static_cast<Properties*>(to))[key] = {type, std::vector<uint8_t>(bytes, bytes + size)};
        return LV2_STATE_SUCCESS;
    }
    static const void* Retrieve(LV2_State_Handle from, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags)
    {
        const auto found = static_cast<const Properties*>(from)->find(key);
        if (found == static_cast<const Properties*>(from)->end())
            return nullptr;
        *size = found->second.second.size();
        *type = found->second.first;
        *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
        // An empty property still needs an address to be told from none.
        static const uint8_t kNothing = 0;
        return found->second.second.empty() ? &kNothing : found->second.second.data();
    }
    static void SetPortValue(const char* symbol, void* host, const void* value, uint32_t size, uint32_t type)
    {
        float number = std::numeric_limits<float>::quiet_NaN();
        if (type == MapUri(nullptr, LV2_ATOM__Float) && size == sizeof(float))
            number = *static_cast<const float*>(value);
        else if (type == MapUri(nullptr, LV2_ATOM__Int) && size == sizeof(int32_t))
            number = static_cast<float>(*static_cast<const int32_t*>(value));
        static_cast<CLv2TestHost*>(host)->Control(symbol) = number;
    }

    const LV2_Feature mapFeature = {LV2_URID__map, Map()};
    const LV2_Feature* const features[2] = {&mapFeature, nullptr};
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    std::vector<float> values;
    std::vector<float> left = std::vector<float>(kBlock), right = std::vector<float>(kBlock);
    std::vector<uint8_t> sequence = std::vector<uint8_t>(65536);
};
