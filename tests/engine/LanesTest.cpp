#include "engine/Lanes.h"

#include <gtest/gtest.h>

namespace {

void ExpectLanes(Lanes actual, Lanes expected)
{
    for (int32_t l = 0; l < kLaneCount; ++l)
        EXPECT_EQ(actual[l], expected[l]) << "lane " << l;
}

}  // namespace

TEST(Lanes, ShufflePicksFromBothVectorsInOrder)
{
    const Lanes a = {0.0f, 1.0f, 2.0f, 3.0f};
    const Lanes b = {4.0f, 5.0f, 6.0f, 7.0f};
    ExpectLanes(Shuffle<0, 4, 1, 5>(a, b), Lanes{0.0f, 4.0f, 1.0f, 5.0f});
    ExpectLanes(Shuffle<2, 6, 3, 7>(a, b), Lanes{2.0f, 6.0f, 3.0f, 7.0f});
    ExpectLanes(Shuffle<2, 3, 6, 7>(b, a), Lanes{6.0f, 7.0f, 2.0f, 3.0f});
}

TEST(Lanes, PutWritesOnlyItsLane)
{
    Lanes f = {1.0f, 1.0f, 1.0f, 1.0f};
    Put(f, 2, 9.0f);
    ExpectLanes(f, Lanes{1.0f, 1.0f, 9.0f, 1.0f});
    EXPECT_EQ(Get(f, 2), 9.0f);

    LaneDoubles d = {};
    Put(d, 3, 0.1);
    Put(d, 0, 0.2);
    EXPECT_EQ(d.half[1][1], 0.1);
    EXPECT_EQ(d.half[0][0], 0.2);
    EXPECT_EQ(d.half[0][1], 0.0);
    EXPECT_EQ(d.half[1][0], 0.0);
}

TEST(Lanes, GatherReadsEachLanesOwnTable)
{
    const float first[] = {10.0f, 11.0f};
    const float second[] = {20.0f, 21.0f};
    const float* tables[kLaneCount] = {first, second, first, second};
    ExpectLanes(Gather(tables, LaneInts{1, 0, 0, 1}), Lanes{11.0f, 20.0f, 10.0f, 21.0f});
    ExpectLanes(Gather(second, LaneCounts{1, 1, 0, 1}), Lanes{21.0f, 21.0f, 20.0f, 21.0f});
}
