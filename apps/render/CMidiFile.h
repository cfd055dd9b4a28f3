#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A Standard MIDI File (format 0 or 1) read into memory: the channel messages
// of all tracks merged in time order, and the tempo map. System exclusive and
// meta events other than tempo and end of track are skipped. Damaged files
// are refused with a one-line reason.
class CMidiFile
{
public:
    // One channel message at its absolute tick; data2 is 0 for one-byte messages.
    struct Event
    {
        uint64_t tick;
        uint8_t status;
        uint8_t data1;
        uint8_t data2;
        uint16_t track;
    };

    struct Tempo
    {
        uint64_t tick;
        uint32_t microsPerQuarter;
    };

    static constexpr size_t kMaxFileBytes = 64 * 1024 * 1024;
    // Longer songs are taken as damaged timing rather than rendered for days.
    static constexpr double kMaxSeconds = 3600.0;
    static constexpr uint32_t kDefaultMicrosPerQuarter = 500000;  // 120 BPM

    // Reads and parses a file; errors read "<path>: <reason>".
    bool Load(const std::string& path);
    // Parses bytes in memory; on failure Error() holds the reason.
    bool Parse(const uint8_t* data, size_t size);

    const std::string& Error() const { return error; }
    int Format() const { return format; }
    int TrackCount() const { return trackCount; }
    const std::vector<Event>& Events() const { return events; }
    const std::vector<Tempo>& Tempos() const { return tempos; }
    // The tick where the last track ends.
    uint64_t EndTick() const { return endTick; }

    // Time of a tick in seconds from the start, following the tempo map (or
    // the SMPTE frame rate of a time-code file).
    double Seconds(uint64_t tick) const;
    // Microseconds per quarter note in force at a tick.
    uint32_t MicrosPerQuarterAt(uint64_t tick) const;

private:
    bool Fail(const std::string& message);
    bool ParseTrack(const uint8_t* data, size_t begin, size_t end, int track);
    void BuildTempoMap();

    std::string error;
    int format = 0;
    int trackCount = 0;
    uint16_t division = 0;
    std::vector<Event> events;
    std::vector<Tempo> tempos;
    std::vector<double> tempoSeconds;  // start time of each tempo entry
    uint64_t endTick = 0;
};
