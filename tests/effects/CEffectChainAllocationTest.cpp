// The effect chain must not allocate once it has been built. A binary of its
// own: it counts every allocation of the process.
#include "effects/CEffectChain.h"

#include "synth/SynthProgram.h"
#include "EffectSignals.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{

void EveryEffectAtMaximum(SynthProgram& p)
{
    p.fxWaveshape = p.fxChorus = p.fxPhaser = 1.0f;
    p.fxDelay = p.fxReverb = p.fxEq = 1.0f;
    p.foldback = 1.0f;
    p.chorusDepth = 1.0f;
    p.chorusDelay = 150;
    p.chorusFeedback = 1.0f;
    p.phaserStages = 16;
    p.phaserFeedback = 1.0f;
    p.delayFeedback = 1.0f;
    p.delayBeats = 32;
    p.reverbSize = 100;
}

}  // namespace

TEST(CEffectChainAllocation, ProcessingAllocatesNothing)
{
    auto chain = std::make_unique<CEffectChain>();
    SynthProgram program;
    std::memset(&program, 0, sizeof program);
    InitProgram(program);
    EveryEffectAtMaximum(program);
    std::vector<float> left = Noise(4096, 0.9f, 1);
    std::vector<float> right = Noise(4096, 0.9f, 2);

    CAllocationWindow window;
    for (int block = 0; block < 200; ++block)
    {
        // Settings, tempo and rate change while audio runs.
        program.reverbSize = 10 + block % 90;
        program.delayBeats = 1 + block % 32;
        program.fxChorus = (block % 3) * 0.5f;
        chain->SetTempo(60.0f + block);
        if (block % 50 == 49)
            chain->SetSampleRate(block % 100 == 99 ? 96000 : 48000);
        chain->Process(program, left.data(), right.data(), block % 2 ? 4096 : 1);
    }
    EXPECT_EQ(window.Stop(), 0);
}
