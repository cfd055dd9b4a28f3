#include "CDemoSong.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>

namespace
{
// Every note-on is matched by a later note-off of the same key and channel,
// and no key sounds twice at once on a channel.
void ExpectBalancedNotes(const CSequence& sequence)
{
    std::array<std::array<int, 128>, 16> held = {};
    for (const CSequence::Event& event : sequence.events)
    {
        int& count = held[event.status & 0x0F][event.data1];
        if ((event.status & 0xF0) == 0x90 && event.data2 > 0)
        {
            EXPECT_EQ(count, 0) << "key " << int(event.data1) << " struck twice at " << event.seconds;
            ++count;
        }
        else if ((event.status & 0xF0) == 0x80)
        {
            EXPECT_EQ(count, 1) << "key " << int(event.data1) << " released unheld at " << event.seconds;
            --count;
        }
    }
    for (const auto& channel : held)
        for (int count : channel)
            EXPECT_EQ(count, 0);
}
}

TEST(CDemoSong, FivePartsOnFactoryProgramsForThirtySeconds)
{
    const CSequence song = CDemoSong::Song();
    EXPECT_DOUBLE_EQ(song.lengthSeconds, 30.0);
    EXPECT_EQ(song.ChannelMask(), 0x1F);
    const std::set<std::string> factory = {"Soft Pad", "Filter Arp", "Synth Bass", "PM Lead", "Sine Bells"};
    std::set<std::string> used;
    for (int channel = 0; channel < 5; ++channel)
        used.insert(song.startPrograms[static_cast<size_t>(channel)]);
    EXPECT_EQ(used, factory);
    for (int channel = 5; channel < 16; ++channel)
        EXPECT_TRUE(song.startPrograms[static_cast<size_t>(channel)].empty());
    EXPECT_DOUBLE_EQ(song.TempoAt(10.0), 120.0);
}

TEST(CDemoSong, EventsAreOrderedBalancedAndWithinTheSong)
{
    const CSequence song = CDemoSong::Song();
    EXPECT_TRUE(std::is_sorted(song.events.begin(), song.events.end(),
                               [](const CSequence::Event& a, const CSequence::Event& b) { return a.seconds < b.seconds; }));
    for (const CSequence::Event& event : song.events)
    {
        EXPECT_GE(event.seconds, 0.0);
        EXPECT_LE(event.seconds, song.lengthSeconds);
        EXPECT_LT(event.data1, 128);
        EXPECT_LT(event.data2, 128);
    }
    ExpectBalancedNotes(song);
}

TEST(CDemoSong, PartsEnterOneAfterAnother)
{
    const CSequence song = CDemoSong::Song();
    std::array<double, 5> firstNote;
    firstNote.fill(-1.0);
    for (const CSequence::Event& event : song.events)
    {
        const int channel = event.status & 0x0F;
        if ((event.status & 0xF0) == 0x90 && firstNote[static_cast<size_t>(channel)] < 0.0)
            firstNote[static_cast<size_t>(channel)] = event.seconds;
    }
    // Pad and bells at once, arpeggio from bar 3, bass from bar 5, lead from bar 9 (2 s per bar).
    EXPECT_DOUBLE_EQ(firstNote[0], 0.0);
    EXPECT_DOUBLE_EQ(firstNote[4], 0.0);
    EXPECT_DOUBLE_EQ(firstNote[1], 4.0);
    EXPECT_DOUBLE_EQ(firstNote[2], 8.0);
    EXPECT_DOUBLE_EQ(firstNote[3], 16.0);
}

TEST(CDemoSong, PhraseIsShortAndOnOneChannel)
{
    const CSequence phrase = CDemoSong::Phrase();
    EXPECT_DOUBLE_EQ(phrase.lengthSeconds, 3.0);
    EXPECT_EQ(phrase.ChannelMask(), 1);
    EXPECT_EQ(phrase.events.size(), 18u);
    ExpectBalancedNotes(phrase);
}
