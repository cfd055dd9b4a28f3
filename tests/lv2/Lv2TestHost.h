#pragma once

#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <cstdint>
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

    // The world with the bundle loaded; shared by all hosts.
    static LilvWorld* World();
    static LV2_URID_Map* Map();

    CLv2TestHost();
    ~CLv2TestHost();

    bool Ok() const { return instance != nullptr; }
    const LilvPlugin* Plugin() const { return plugin; }
    LV2_Handle Handle() const { return lilv_instance_get_handle(instance); }
    // The index of the port with symbol; the port count when there is none.
    uint32_t Port(const std::string& symbol) const;
    // One value per port; only the control ports read theirs.
    std::vector<float>& Controls() { return values; }
    float& Control(const std::string& symbol) { return values.at(Port(symbol)); }
    // Runs one block with these events, or frames alone; appends both
    // channels, interleaved, to out.
    void Run(const std::vector<MidiAt>& events, std::vector<float>& out, uint32_t frames = kBlock);

    // The state interface called directly, and a preset applied through lilv
    // (port values included).
    Properties Save();
    int Restore(const Properties& properties);
    void Apply(const LilvState* state);

private:
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    std::vector<float> values;
    std::vector<float> left, right;
    std::vector<uint8_t> sequence;
};
