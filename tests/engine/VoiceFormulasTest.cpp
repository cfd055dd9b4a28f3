#include "engine/VoiceFormulas.h"

#include <gtest/gtest.h>

TEST(VoiceFormulas, CutoffTargetIsSquaredInDouble)
{
    // 0.3 x 0.7 x 0.9 squared, rounded once at the end: float arithmetic all
    // the way would round four times.
    const double c = static_cast<double>(0.3f) * 0.7 * static_cast<double>(0.9f);
    EXPECT_EQ(CutoffTarget(0.3f, 0.7, 0.9f), static_cast<float>(c * c));
}
