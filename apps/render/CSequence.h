#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CMidiFile;

// What a render plays: channel messages at times in seconds, the tempo over
// time and, per MIDI channel, an optional program to start on (by name) and a
// mix level. Each channel that has events is played by an instrument instance
// of its own.
class CSequence
{
public:
    static constexpr int kChannels = 16;

    struct Event
    {
        double seconds;
        uint8_t status;
        uint8_t data1;
        uint8_t data2;
    };

    struct Tempo
    {
        double seconds;
        double bpm;
    };

    // Converts a parsed file with its tempo map.
    static CSequence FromMidiFile(const CMidiFile& file);

    // Appends an event; events must be added in time order (Sort fixes any other order).
    void Add(double seconds, uint8_t status, uint8_t data1, uint8_t data2);
    // Orders events by time, keeping the order of equal times.
    void Sort();
    // Tempo in force at a time; 120 BPM before the first entry.
    double TempoAt(double seconds) const;
    // Bit c set when channel c has at least one event.
    uint16_t ChannelMask() const;

    std::vector<Event> events;
    std::vector<Tempo> tempos;
    // The song ends here even when its last event comes earlier.
    double lengthSeconds = 0.0;
    std::array<std::string, kChannels> startPrograms;
    // Mix level of each channel's instrument (1 leaves it as it plays).
    std::array<float, kChannels> channelGains = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f,
                                                 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
};
