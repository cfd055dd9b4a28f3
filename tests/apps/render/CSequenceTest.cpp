#include "CSequence.h"

#include "CMidiFile.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CSequence, ConvertsAMidiFileWithItsTempoMap)
{
    // 96 ticks per quarter; 60 BPM, then 240 BPM from tick 96. A note on
    // channel 3 at tick 48 (0.5 s) and a pitch bend at tick 144 (1.125 s).
    const std::vector<uint8_t> bytes = {
        'M',  'T',  'h',  'd',  0,    0,    0,    6,    0,    0,    0,    1,    0,    96,   'M',
        'T',  'r',  'k',  0,    0,    0,    26,   0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,  // 1,000,000 us per quarter
        0x30, 0x92, 60,   100,                                                               // tick 48
        0x30, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,                                            // tick 96: 250,000 us
        0x30, 0xE2, 0x00, 0x40,                                                              // tick 144
        0x30, 0xFF, 0x2F, 0x00,                                                              // ends at tick 192
    };
    CMidiFile file;
    ASSERT_TRUE(file.Parse(bytes.data(), bytes.size())) << file.Error();
    const CSequence sequence = CSequence::FromMidiFile(file);
    ASSERT_EQ(sequence.events.size(), 2u);
    EXPECT_DOUBLE_EQ(sequence.events[0].seconds, 0.5);
    EXPECT_EQ(sequence.events[0].status, 0x92);
    EXPECT_DOUBLE_EQ(sequence.events[1].seconds, 1.125);
    EXPECT_EQ(sequence.events[1].data2, 0x40);
    EXPECT_DOUBLE_EQ(sequence.lengthSeconds, 1.25);
    ASSERT_EQ(sequence.tempos.size(), 2u);
    EXPECT_DOUBLE_EQ(sequence.TempoAt(0.99), 60.0);
    EXPECT_DOUBLE_EQ(sequence.TempoAt(1.0), 240.0);
    EXPECT_EQ(sequence.ChannelMask(), 1 << 2);
}
