#include "CMidiFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

Bytes Be32(uint32_t v)
{
    return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
            static_cast<uint8_t>(v)};
}

Bytes Header(uint16_t format, uint16_t tracks, uint16_t division)
{
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    Append(out, {static_cast<uint8_t>(format >> 8), static_cast<uint8_t>(format), static_cast<uint8_t>(tracks >> 8),
                 static_cast<uint8_t>(tracks), static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)});
    return out;
}

Bytes Track(const Bytes& body)
{
    Bytes out = {'M', 'T', 'r', 'k'};
    Append(out, Be32(static_cast<uint32_t>(body.size())));
    Append(out, body);
    return out;
}

const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

Bytes WithEnd(Bytes body)
{
    Append(body, kEndOfTrack);
    return body;
}

CMidiFile Parsed(const Bytes& bytes)
{
    CMidiFile file;
    EXPECT_TRUE(file.Parse(bytes.data(), bytes.size())) << file.Error();
    return file;
}

std::string ErrorOf(const Bytes& bytes)
{
    CMidiFile file;
    EXPECT_FALSE(file.Parse(bytes.data(), bytes.size()));
    return file.Error();
}

// Each event as {tick, status, data1, data2}, to compare with a worked list.
std::vector<std::vector<uint64_t>> EventRows(const CMidiFile& file)
{
    std::vector<std::vector<uint64_t>> rows;
    for (const CMidiFile::Event& e : file.Events())
        rows.push_back({e.tick, e.status, e.data1, e.data2});
    return rows;
}

// A format 0 file of one track.
Bytes OneTrack(const Bytes& body, uint16_t division = 96)
{
    Bytes file = Header(0, 1, division);
    Append(file, Track(body));
    return file;
}

// A format 0 file with a note on and off, one quarter apart at 96 ticks per quarter.
Bytes SimpleFile()
{
    return OneTrack(WithEnd({0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0}));
}
}

TEST(CMidiFile, ReadsFormatZeroNotesAtDefaultTempo)
{
    const CMidiFile file = Parsed(SimpleFile());
    EXPECT_EQ(file.Format(), 0);
    EXPECT_EQ(file.TrackCount(), 1);
    EXPECT_EQ(EventRows(file), (std::vector<std::vector<uint64_t>>{{0, 0x90, 60, 100}, {96, 0x80, 60, 0}}));
    EXPECT_EQ(file.EndTick(), 96u);
    // 120 BPM: a quarter lasts half a second.
    EXPECT_DOUBLE_EQ(file.Seconds(96), 0.5);
    EXPECT_EQ(file.MicrosPerQuarterAt(0), 500000u);
}

// Program change and channel pressure take one data byte; running status
// repeats the last channel status for each of them.
TEST(CMidiFile, ReadsEveryChannelMessageWithRunningStatus)
{
    const Bytes body = {0x00, 0x91, 60,   100,  0x10, 64,   0,    0x00, 0xB2, 1,    64,   0x00, 0xC2, 5,
                        0x00, 7,    0x00, 0xD2, 33,   0x00, 0xE2, 0x7F, 0x7F, 0x00, 0xA2, 60,   12};
    const CMidiFile midi = Parsed(OneTrack(WithEnd(body)));
    EXPECT_EQ(EventRows(midi), (std::vector<std::vector<uint64_t>>{{0, 0x91, 60, 100},
                                                                   {16, 0x91, 64, 0},
                                                                   {16, 0xB2, 1, 64},
                                                                   {16, 0xC2, 5, 0},
                                                                   {16, 0xC2, 7, 0},
                                                                   {16, 0xD2, 33, 0},
                                                                   {16, 0xE2, 0x7F, 0x7F},
                                                                   {16, 0xA2, 60, 12}}));
}

TEST(CMidiFile, MergesFormatOneTracksAndFollowsTempoChanges)
{
    Bytes file = Header(1, 3, 96);
    // Tempo track: 60 BPM from 0, 240 BPM from tick 192.
    Append(file,
           Track(WithEnd({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x81, 0x40, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90})));
    Append(file, Track(WithEnd({0x82, 0x20, 0x90, 72, 80})));                     // tick 288
    Append(file, Track(WithEnd({0x00, 0x90, 48, 70, 0x82, 0x20, 0x80, 48, 0})));  // ticks 0 and 288
    const CMidiFile midi = Parsed(file);
    EXPECT_EQ(midi.Format(), 1);
    ASSERT_EQ(midi.Events().size(), 3u);
    EXPECT_EQ(midi.Events()[0].data1, 48);
    EXPECT_EQ(midi.Events()[0].track, 3);
    // Same tick: track order decides.
    EXPECT_EQ(midi.Events()[1].tick, 288u);
    EXPECT_EQ(midi.Events()[1].track, 2);
    EXPECT_EQ(midi.Events()[2].track, 3);
    // 192 ticks at one second per quarter, then 96 at a quarter second.
    EXPECT_DOUBLE_EQ(midi.Seconds(192), 2.0);
    EXPECT_DOUBLE_EQ(midi.Seconds(288), 2.25);
    EXPECT_EQ(midi.MicrosPerQuarterAt(191), 1000000u);
    EXPECT_EQ(midi.MicrosPerQuarterAt(192), 250000u);
    EXPECT_EQ(midi.EndTick(), 288u);
}

TEST(CMidiFile, SkipsSystemExclusiveMetaTextUnknownChunksAndBytesAfterTheEnd)
{
    Bytes file = Header(0, 1, 96);
    Append(file, {'X', 'Y', 'Z', 'W', 0, 0, 0, 3, 1, 2, 3});
    Bytes body =
        WithEnd({0x00, 0xF0, 0x03, 0x7E, 0x09, 0xF7, 0x00, 0xFF, 0x03, 0x04, 'l', 'e', 'a', 'd', 0x00, 0x90, 60, 1});
    Append(body, {0x00, 0x90, 62, 1});
    Append(file, Track(body));
    const CMidiFile midi = Parsed(file);
    ASSERT_EQ(midi.Events().size(), 1u);
    EXPECT_EQ(midi.Events()[0].status, 0x90);
}

TEST(CMidiFile, SmpteDivisionCountsFramesNotBeats)
{
    // 25 frames per second, 40 ticks per frame: 1000 ticks per second.
    Bytes file = Header(0, 1, static_cast<uint16_t>((0x100 - 25) << 8 | 40));
    Append(file, Track(WithEnd({0x87, 0x68, 0x90, 60, 1})));  // tick 1000
    const CMidiFile midi = Parsed(file);
    EXPECT_DOUBLE_EQ(midi.Seconds(midi.Events()[0].tick), 1.0);
}

TEST(CMidiFile, RefusesFilesThatAreNotMidiAndAbsurdOrBrokenHeaders)
{
    EXPECT_EQ(ErrorOf({}), "not a MIDI file (no \"MThd\" header)");
    const std::string text = "RIFF....WAVEfmt ";
    EXPECT_EQ(ErrorOf(Bytes(text.begin(), text.end())), "not a MIDI file (no \"MThd\" header)");
    Bytes huge = {'M', 'T', 'h', 'd', 0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1, 0, 96};
    EXPECT_EQ(ErrorOf(huge), "absurd header length 2147483647");
    Bytes tiny = {'M', 'T', 'h', 'd', 0, 0, 0, 2, 0, 0};
    EXPECT_EQ(ErrorOf(tiny), "absurd header length 2");
    EXPECT_EQ(ErrorOf(Header(2, 1, 96)), "format 2 (independent sequences) is not supported");
    EXPECT_EQ(ErrorOf(Header(7, 1, 96)), "unknown format 7");
    EXPECT_EQ(ErrorOf(Header(1, 0, 96)), "the header announces no tracks");
    EXPECT_EQ(ErrorOf(Header(0, 2, 96)), "format 0 with 2 tracks");
    EXPECT_EQ(ErrorOf(Header(0, 1, 0)), "time division 0x00 has no ticks");
}

TEST(CMidiFile, RefusesTruncatedTracks)
{
    Bytes file = Header(1, 2, 96);
    Append(file, Track(kEndOfTrack));
    Bytes second = Track(WithEnd({0x00, 0x90, 60, 100}));
    second.resize(second.size() - 3);
    Append(file, second);
    EXPECT_EQ(ErrorOf(file), "track 2 is truncated: its header says 8 bytes, 5 remain");

    Bytes missing = Header(1, 3, 96);
    Append(missing, Track(kEndOfTrack));
    EXPECT_EQ(ErrorOf(missing), "the header announces 3 tracks, the file holds 1");

    Bytes cutHeader = Header(0, 1, 96);
    Append(cutHeader, {'M', 'T', 'r'});
    EXPECT_EQ(ErrorOf(cutHeader), "truncated chunk header at byte 14");
}

TEST(CMidiFile, RefusesDamagedTracksNamingTheByte)
{
    const struct
    {
        Bytes body;
        const char* error;
    } cases[] = {
        {{0x00, 0x90, 60}, "track 1: ends inside an event at byte 24"},
        {{0x00, 0xFF, 0x01, 0x40, 'a'}, "track 1: meta event of 64 bytes runs past the end of the track at byte 26"},
        {{0x00, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F},
         "track 1: system exclusive message of 33554431 bytes runs past the end of the track at byte 28"},
        {{0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 1}, "track 1: variable-length number longer than 4 bytes at byte 25"},
        {WithEnd({0x00, 60, 100}), "track 1: data byte 0x3C without a status byte at byte 23"},
        // A meta event or a system exclusive message cancels running status.
        {WithEnd({0x00, 0x90, 60, 100, 0x00, 0xFF, 0x01, 0x00, 0x00, 62, 100}),
         "track 1: data byte 0x3E without a status byte at byte 31"},
        {WithEnd({0x00, 0x90, 60, 100, 0x00, 0xF0, 0x01, 0xF7, 0x00, 62, 100}),
         "track 1: data byte 0x3E without a status byte at byte 31"},
        {WithEnd({0x00, 0x90, 60, 0x90}), "track 1: status byte 0x90 where a data byte belongs at byte 25"},
        {WithEnd({0x00, 0xF8}), "track 1: unexpected status byte 0xF8 at byte 23"},
        {WithEnd({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}), "track 1: tempo of 0 microseconds per quarter note at byte 26"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf(OneTrack(c.body)), c.error);
}

TEST(CMidiFile, RefusesAbsurdSongLengths)
{
    // One tick per quarter at 120 BPM; three deltas of 0x0FFFFFFF ticks last about 112,000 hours.
    const Bytes endless = WithEnd({0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 1, 0xFF, 0xFF, 0xFF, 0x7F, 0x80, 60, 0});
    EXPECT_EQ(ErrorOf(OneTrack(endless, 1)).rfind("absurd length: the song would last ", 0), 0u);

    // Just under the limit is accepted: 3599 s at 120 BPM and 1 tick per quarter is 7198 ticks.
    EXPECT_DOUBLE_EQ(Parsed(OneTrack(WithEnd({0xB8, 0x1E, 0x90, 60, 1}), 1)).Seconds(7198), 3599.0);
}

TEST(CMidiFile, LoadNamesTheFileInItsErrors)
{
    TempDir dir;
    CMidiFile file;
    EXPECT_FALSE(file.Load(dir.File("missing.mid")));
    EXPECT_EQ(file.Error(), dir.File("missing.mid") + ": cannot open the file");

    EXPECT_FALSE(file.Load(dir.Path()));
    EXPECT_EQ(file.Error(), dir.Path() + ": a folder, not a MIDI file");

    const std::string text = dir.Write("notes.txt", "hello");
    EXPECT_FALSE(file.Load(text));
    EXPECT_EQ(file.Error(), text + ": not a MIDI file (no \"MThd\" header)");

    const Bytes good = SimpleFile();
    const std::string path = dir.Write("song.mid", std::string(good.begin(), good.end()));
    EXPECT_TRUE(file.Load(path)) << file.Error();
    EXPECT_EQ(file.Events().size(), 2u);
}
