// Hosts automate on the audio thread: setting a parameter must not allocate.
#include "support/AllocationCounter.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <limits>

TEST(CSynthParameterAllocation, SettingEveryParameterAllocatesNothing)
{
    CSynth synth;
    CAllocationWindow window;
    for (int32_t i = 0; i < synth.GetParameterCount(); ++i)
        for (float v : {0.0f, 0.5f, 1.0f, std::numeric_limits<float>::quiet_NaN()})
            synth.SetParameter(i, v);
    synth.SetParameter(-1, 0.5f);
    EXPECT_EQ(window.Stop(), 0);
    // The counter works in this binary.
    CAllocationWindow check;
    int* volatile p = new int(1);
    delete p;
    EXPECT_EQ(check.Stop(), 1);
}
