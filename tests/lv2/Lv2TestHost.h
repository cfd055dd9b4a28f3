#pragma once

#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One MIDI message at a frame of a block.
struct MidiAt
{
    int64_t frame;
    std::vector<uint8_t> bytes;
};

// A small LV2 host on lilv for the tests: loads one bundle, instantiates its
// plug-in at 44100 Hz, connects every port (controls at their defaults) and
// runs it block by block with MIDI in an atom sequence. Outputs are filled with
// NaN before each run, so a plug-in that leaves any sample unwritten shows.
class CLv2TestHost
{
public:
    static constexpr uint32_t kBlock = 256;
    static constexpr double kRate = 44100.0;

    // The world with the bundle at path (a folder) loaded; shared by all hosts.
    static LilvWorld* World(const std::string& bundle);
    static LV2_URID_Map* Map();

    CLv2TestHost(const std::string& bundle, const char* uri);
    ~CLv2TestHost();

    bool Ok() const { return instance != nullptr; }
    const LilvPlugin* Plugin() const { return plugin; }
    LV2_Handle Handle() const { return lilv_instance_get_handle(instance); }
    // The index of the port with symbol; the port count when there is none.
    uint32_t Port(const std::string& symbol) const;
    // Sets a control port by symbol; false when there is none.
    bool SetControl(const std::string& symbol, float value);
    float& Control(uint32_t port) { return values[port]; }
    // Runs one block with these events, or frames alone; appends both
    // channels, interleaved, to out.
    void Run(const std::vector<MidiAt>& events, std::vector<float>& out, uint32_t frames = kBlock);

    // The state interface, called directly: the bytes and type stored under
    // each key, and a restore that offers exactly these properties.
    std::map<uint32_t, std::pair<uint32_t, std::vector<uint8_t>>> Save();
    int Restore(const std::map<uint32_t, std::pair<uint32_t, std::vector<uint8_t>>>& properties);
    // Applies a saved state (a preset) through lilv, port values included.
    void Apply(const LilvState* state);

    CLv2TestHost(const CLv2TestHost&) = delete;
    CLv2TestHost& operator=(const CLv2TestHost&) = delete;

private:
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    std::vector<float> values;  // one per port; controls only matter
    std::vector<float> left, right;
    std::vector<uint8_t> sequence;
    uint32_t midiPort = 0;
    std::vector<uint32_t> audioPorts;
};
