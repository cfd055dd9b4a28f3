#include "io/CList.h"
#include "support/TakeString.h"

#include <gtest/gtest.h>

TEST(CList, AddsInsertsRemovesAndAnswersNullOutsideTheRange)
{
    int a = 1, b = 2, c = 3, d = 4;
    CList list;
    EXPECT_EQ(list.Get(0), nullptr);
    list.Add(&a);
    list.Add(&b);
    list.Add(&c);
    EXPECT_EQ(list.Get(2), &c);
    EXPECT_EQ(list.Get(3), nullptr);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.IndexOf(&b), 1);
    EXPECT_TRUE(list.Remove(&b));
    EXPECT_FALSE(list.Remove(&b));
    EXPECT_EQ(list.Get(1), &c);
    list.Insert(0, &d);
    EXPECT_EQ(list.Get(0), &d);
    list.Insert(99, &b);
    EXPECT_EQ(list.Get(3), &b);
    EXPECT_EQ(list.RemoveAt(0), &d);
    EXPECT_EQ(list.RemoveAt(5), nullptr);
    EXPECT_EQ(list.Count(), 3);
}

TEST(HeapString, CopiesAndCutsToALimit)
{
    EXPECT_EQ(TakeString(NewString("abcdef", 3)), "abc");
    EXPECT_EQ(TakeString(NewString("abc", -5)), "");
    FreeString(nullptr);
}
