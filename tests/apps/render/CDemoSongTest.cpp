#include "CDemoSong.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>

namespace
{
// Events in time order within the song, every note-on matched by a later
// note-off of the same key and channel, and no key struck twice at once.
void ExpectWellFormed(const CSequence& sequence)
{
    EXPECT_TRUE(std::is_sorted(sequence.events.begin(), sequence.events.end(),
                               [](const CSequence::Event& a, const CSequence::Event& b) { return a.seconds < b.seconds; }));
    std::array<std::array<int, 128>, 16> held = {};
    for (const CSequence::Event& event : sequence.events)
    {
        EXPECT_GE(event.seconds, 0.0);
        EXPECT_LE(event.seconds, sequence.lengthSeconds);
        ASSERT_LT(event.data1, 128);
        EXPECT_LT(event.data2, 128);
        int& count = held[event.status & 0x0F][event.data1];
        if ((event.status & 0xF0) == 0x90 && event.data2 > 0)
        {
            EXPECT_EQ(count++, 0) << "key " << int(event.data1) << " struck twice at " << event.seconds;
        }
        else if ((event.status & 0xF0) == 0x80)
        {
            EXPECT_EQ(count--, 1) << "key " << int(event.data1) << " released unheld at " << event.seconds;
        }
    }
    for (const auto& channel : held)
        EXPECT_EQ(std::count(channel.begin(), channel.end(), 0), 128);
}
}

TEST(CDemoSong, FivePartsEnterOneAfterAnotherOnFactoryPrograms)
{
    const CSequence song = CDemoSong::Song();
    ExpectWellFormed(song);
    EXPECT_DOUBLE_EQ(song.lengthSeconds, 30.0);
    EXPECT_EQ(song.ChannelMask(), 0x1F);
    EXPECT_DOUBLE_EQ(song.TempoAt(10.0), 120.0);
    const std::set<std::string> used(song.startPrograms.begin(), song.startPrograms.begin() + 5);
    EXPECT_EQ(used, (std::set<std::string>{"Soft Pad", "Filter Arp", "Synth Bass", "PM Lead", "Sine Bells"}));
    EXPECT_TRUE(std::all_of(song.startPrograms.begin() + 5, song.startPrograms.end(),
                            [](const std::string& name) { return name.empty(); }));

    std::array<double, 5> firstNote;
    firstNote.fill(-1.0);
    for (const CSequence::Event& event : song.events)
    {
        double& first = firstNote[static_cast<size_t>(event.status & 0x0F)];
        if ((event.status & 0xF0) == 0x90 && first < 0.0)
            first = event.seconds;
    }
    // Pad and bells at once, arpeggio from bar 3, bass from bar 5, lead from bar 9 (2 s per bar).
    EXPECT_EQ(firstNote, (std::array<double, 5>{0.0, 4.0, 8.0, 16.0, 0.0}));
}

TEST(CDemoSong, PhraseIsShortAndOnOneChannel)
{
    const CSequence phrase = CDemoSong::Phrase();
    ExpectWellFormed(phrase);
    EXPECT_DOUBLE_EQ(phrase.lengthSeconds, 3.0);
    EXPECT_EQ(phrase.ChannelMask(), 1);
    EXPECT_EQ(phrase.events.size(), 18u);
}
