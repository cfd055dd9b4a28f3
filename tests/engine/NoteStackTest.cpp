#include "engine/NoteStack.h"

#include <gtest/gtest.h>

namespace
{

uint32_t On(int32_t note, int32_t velocity)
{
    return 0x90u | static_cast<uint32_t>(note) << 8 | static_cast<uint32_t>(velocity) << 16;
}

}  // namespace

TEST(NoteStack, PushesAndRemovesOnlyTheOldestEntryOfANote)
{
    NoteStack stack;
    stack.Push(On(60, 10));
    stack.Push(On(64, 20));
    stack.Push(On(60, 30));
    stack.Push(On(67, 40));
    EXPECT_TRUE(stack.Remove(60));
    ASSERT_EQ(stack.Count(), 3);
    EXPECT_EQ(stack.At(0), On(64, 20));
    EXPECT_EQ(stack.At(1), On(60, 30));  // the later 60 stays
    EXPECT_EQ(stack.At(2), On(67, 40));
    EXPECT_FALSE(stack.Remove(61));
    EXPECT_EQ(stack.Count(), 3);
    EXPECT_TRUE(stack.Remove(67));
    EXPECT_EQ(stack.Top(), On(60, 30));
}

TEST(NoteStack, HoldsAtMost128)
{
    NoteStack stack;
    for (int32_t i = 0; i < 128; ++i)
        EXPECT_TRUE(stack.Push(On(i, 1)));
    EXPECT_FALSE(stack.Push(On(5, 99)));
    EXPECT_EQ(stack.Top(), On(127, 1));
    EXPECT_TRUE(stack.Remove(5));
    EXPECT_EQ(stack.At(5), On(6, 1));
    EXPECT_EQ(stack.Count(), 127);
}
