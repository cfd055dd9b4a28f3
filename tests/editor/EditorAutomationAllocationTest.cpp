// Hosts play automation back on the audio thread, every block, while the
// editor idles on the user-interface thread and follows the values.
#include "core/WindowTestKit.h"
#include "editor/CSynthResources.h"
#include "editor/CSynthWin.h"
#include "support/AllocationCounter.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

TEST(EditorAutomation, EveryParameterAtAudioRateStaysFiniteAndAllocatesNothing)
{
    WindowTestKit kit;
    CSynth synth;
    CSynthResources view{synth};
    auto* win = new CSynthWin(&kit.app, &synth, &view);
    win->Show(true);
    for (uint32_t key : {48u, 60u, 67u})
        synth.HandleMidi(0x90u | key << 8 | 100u << 16);

    constexpr int32_t kFrames = 64;
    std::vector<float> left(kFrames), right(kFrames);
    int64_t allocations = 0;
    bool finite = true;
    const int32_t count = synth.GetParameterCount();
    for (int32_t block = 0; block < 12 * count; ++block)
    {
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
        float* outputs[2] = {left.data(), right.data()};
        CAllocationWindow audio;
        synth.SetParameter(block % count, static_cast<float>((block * 37) % 101) / 100.0f);
        synth.ProcessBlock(nullptr, outputs, kFrames);
        allocations += audio.Stop();
        for (int32_t i = 0; i < kFrames; ++i)
            finite =
                finite && std::isfinite(left[static_cast<size_t>(i)]) && std::isfinite(right[static_cast<size_t>(i)]);
        if (block % 4 == 0)
        {
            win->Idle();
            kit.Pump();
        }
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_TRUE(finite);
    delete win;
}
