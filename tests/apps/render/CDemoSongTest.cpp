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
    std::array<std::array<int, 128>, 16> held = {};
    double previous = 0.0;
    for (const CSequence::Event& event : sequence.events)
    {
        EXPECT_GE(event.seconds, previous);
        EXPECT_LE(event.seconds, sequence.lengthSeconds);
        previous = event.seconds;
        ASSERT_LT(event.data1, 128);
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

TEST(CDemoSong, FivePartsOnFactoryProgramsWellFormed)
{
    const CSequence song = CDemoSong::Song();
    ExpectWellFormed(song);
    EXPECT_EQ(song.ChannelMask(), 0x1F);
    const std::set<std::string> used(song.startPrograms.begin(), song.startPrograms.begin() + 5);
    EXPECT_EQ(used, (std::set<std::string>{"Soft Pad", "Filter Arp", "Synth Bass", "PM Lead", "Sine Bells"}));
}
