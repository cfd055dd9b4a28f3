#include "CMidiFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace
{
constexpr uint32_t kHeaderBytes = 6;
// The header's length field may grow in later revisions; anything beyond this
// is a damaged or foreign file.
constexpr uint32_t kMaxHeaderBytes = 256;
constexpr int kMaxVarLenBytes = 4;

uint32_t Be32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           static_cast<uint32_t>(p[3]);
}

uint16_t Be16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

std::string Hex(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

std::string At(size_t offset)
{
    return " at byte " + std::to_string(offset);
}

// Data bytes that follow a channel status (program change and channel pressure take one).
int DataBytes(uint8_t status)
{
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}
}

bool CMidiFile::Fail(const std::string& message)
{
    error = message;
    return false;
}

bool CMidiFile::Load(const std::string& path)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored))
        return Fail(path + ": a folder, not a MIDI file");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(path + ": cannot open the file");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return Fail(path + ": cannot read the file");
    if (static_cast<uint64_t>(size) > kMaxFileBytes)
        return Fail(path + ": too large for a MIDI file (" + std::to_string(size) + " bytes)");
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.seekg(0, std::ios::beg);
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
        return Fail(path + ": cannot read the file");
    if (!Parse(bytes.data(), bytes.size()))
        return Fail(path + ": " + error);
    return true;
}

bool CMidiFile::Parse(const uint8_t* data, size_t size)
{
    error.clear();
    events.clear();
    tempos.clear();
    tempoSeconds.clear();
    endTick = 0;

    if (size < 8 || Be32(data) != 0x4D546864)  // "MThd"
        return Fail("not a MIDI file (no \"MThd\" header)");
    const uint32_t headerLength = Be32(data + 4);
    if (headerLength < kHeaderBytes || headerLength > kMaxHeaderBytes)
        return Fail("absurd header length " + std::to_string(headerLength));
    if (size - 8 < headerLength)
        return Fail("truncated header");
    format = Be16(data + 8);
    trackCount = Be16(data + 10);
    division = Be16(data + 12);
    if (format == 2)
        return Fail("format 2 (independent sequences) is not supported");
    if (format > 2)
        return Fail("unknown format " + std::to_string(format));
    if (trackCount == 0)
        return Fail("the header announces no tracks");
    if (format == 0 && trackCount != 1)
        return Fail("format 0 with " + std::to_string(trackCount) + " tracks");
    if ((division & 0x8000) == 0 ? division == 0 : (division & 0xFF) == 0)
        return Fail("time division " + Hex(division) + " has no ticks");
    if (division & 0x8000)
    {
        const int fps = -static_cast<int8_t>(division >> 8);
        if (fps != 24 && fps != 25 && fps != 29 && fps != 30)
            return Fail("unknown SMPTE frame rate " + std::to_string(fps));
    }

    size_t at = 8 + headerLength;
    int found = 0;
    while (found < trackCount)
    {
        if (size - at < 8)
        {
            if (at == size)
                return Fail("the header announces " + std::to_string(trackCount) + " tracks, the file holds " +
                            std::to_string(found));
            return Fail("truncated chunk header" + At(at));
        }
        const uint32_t type = Be32(data + at);
        const uint32_t length = Be32(data + at + 4);
        const size_t begin = at + 8;
        if (length > size - begin)
        {
            if (type == 0x4D54726B)
                return Fail("track " + std::to_string(found + 1) + " is truncated: its header says " +
                            std::to_string(length) + " bytes, " + std::to_string(size - begin) + " remain");
            return Fail("chunk" + At(at) + " is truncated: its header says " + std::to_string(length) + " bytes, " +
                        std::to_string(size - begin) + " remain");
        }
        if (type == 0x4D54726B)  // "MTrk"; other chunk types are skipped as the format asks
        {
            if (!ParseTrack(data, begin, begin + length, found + 1))
                return false;
            ++found;
        }
        at = begin + length;
    }

    // Stable: equal ticks keep track order, then file order.
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
    BuildTempoMap();
    const double seconds = Seconds(endTick);
    if (seconds > kMaxSeconds)
    {
        char text[96];
        std::snprintf(text, sizeof text, "absurd length: the song would last %.1f hours", seconds / 3600.0);
        return Fail(text);
    }
    return true;
}

bool CMidiFile::ParseTrack(const uint8_t* data, size_t begin, size_t end, int track)
{
    const std::string name = "track " + std::to_string(track);
    uint64_t tick = 0;
    uint8_t running = 0;
    size_t at = begin;

    auto readVarLen = [&](uint32_t& value)
    {
        value = 0;
        for (int i = 0; i < kMaxVarLenBytes; ++i)
        {
            if (at >= end)
                return Fail(name + ": ends inside an event" + At(at));
            const uint8_t byte = data[at++];
            value = value << 7 | (byte & 0x7F);
            if ((byte & 0x80) == 0)
                return true;
        }
        return Fail(name + ": variable-length number longer than 4 bytes" + At(at - 1));
    };
    auto skipBytes = [&](uint32_t length, const char* what)
    {
        if (length > end - at)
            return Fail(name + ": " + what + " of " + std::to_string(length) + " bytes runs past the end of the track" +
                        At(at));
        at += length;
        return true;
    };

    while (at < end)
    {
        uint32_t delta;
        if (!readVarLen(delta))
            return false;
        tick += delta;
        if (at >= end)
            return Fail(name + ": ends inside an event" + At(at));
        const uint8_t lead = data[at];
        if (lead == 0xFF)
        {
            ++at;
            if (at >= end)
                return Fail(name + ": ends inside an event" + At(at));
            const uint8_t type = data[at++];
            uint32_t length;
            if (!readVarLen(length))
                return false;
            const size_t body = at;
            if (!skipBytes(length, "meta event"))
                return false;
            running = 0;
            if (type == 0x51)
            {
                if (length != 3)
                    return Fail(name + ": tempo event of " + std::to_string(length) + " bytes" + At(body));
                const uint32_t micros = static_cast<uint32_t>(data[body]) << 16 |
                                        static_cast<uint32_t>(data[body + 1]) << 8 | data[body + 2];
                if (micros == 0)
                    return Fail(name + ": tempo of 0 microseconds per quarter note" + At(body));
                tempos.push_back({tick, micros});
            }
            else if (type == 0x2F)
            {
                break;  // anything after the end of the track is not part of it
            }
        }
        else if (lead == 0xF0 || lead == 0xF7)
        {
            ++at;
            uint32_t length;
            if (!readVarLen(length) || !skipBytes(length, "system exclusive message"))
                return false;
            running = 0;
        }
        else if (lead > 0xF0)
        {
            return Fail(name + ": unexpected status byte " + Hex(lead) + At(at));
        }
        else
        {
            uint8_t status = running;
            if (lead & 0x80)
            {
                status = lead;
                running = lead;
                ++at;
            }
            else if (running == 0)
            {
                return Fail(name + ": data byte " + Hex(lead) + " without a status byte" + At(at));
            }
            const int count = DataBytes(status);
            if (end - at < static_cast<size_t>(count))
                return Fail(name + ": ends inside an event" + At(at));
            uint8_t bytes[2] = {0, 0};
            for (int i = 0; i < count; ++i)
            {
                bytes[i] = data[at];
                if (bytes[i] & 0x80)
                    return Fail(name + ": status byte " + Hex(bytes[i]) + " where a data byte belongs" + At(at));
                ++at;
            }
            events.push_back({tick, status, bytes[0], bytes[1], static_cast<uint16_t>(track)});
        }
    }
    endTick = std::max(endTick, tick);
    return true;
}

void CMidiFile::BuildTempoMap()
{
    std::stable_sort(tempos.begin(), tempos.end(), [](const Tempo& a, const Tempo& b) { return a.tick < b.tick; });
    if (tempos.empty() || tempos.front().tick != 0)
        tempos.insert(tempos.begin(), {0, kDefaultMicrosPerQuarter});
    tempoSeconds.assign(tempos.size(), 0.0);
    for (size_t i = 1; i < tempos.size(); ++i)
        tempoSeconds[i] = tempoSeconds[i - 1] + static_cast<double>(tempos[i].tick - tempos[i - 1].tick) *
                                                    tempos[i - 1].microsPerQuarter / (1e6 * division);
}

uint32_t CMidiFile::MicrosPerQuarterAt(uint64_t tick) const
{
    if (tempos.empty())
        return kDefaultMicrosPerQuarter;
    // The last entry at or before the tick wins (a later one at the same tick replaces an earlier).
    auto after = std::upper_bound(tempos.begin(), tempos.end(), tick,
                                  [](uint64_t t, const Tempo& entry) { return t < entry.tick; });
    return std::prev(after)->microsPerQuarter;
}

double CMidiFile::Seconds(uint64_t tick) const
{
    if (division & 0x8000)
    {
        const int fps = -static_cast<int8_t>(division >> 8);
        const double framesPerSecond = fps == 29 ? 30000.0 / 1001.0 : fps;
        return static_cast<double>(tick) / (framesPerSecond * (division & 0xFF));
    }
    if (tempos.empty())
        return static_cast<double>(tick) * kDefaultMicrosPerQuarter / (1e6 * division);
    auto after = std::upper_bound(tempos.begin(), tempos.end(), tick,
                                  [](uint64_t t, const Tempo& entry) { return t < entry.tick; });
    const size_t index = static_cast<size_t>(after - tempos.begin()) - 1;
    return tempoSeconds[index] +
           static_cast<double>(tick - tempos[index].tick) * tempos[index].microsPerQuarter / (1e6 * division);
}
