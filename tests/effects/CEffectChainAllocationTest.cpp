#include "effects/CEffectChain.h"

#include "synth/SynthProgram.h"
#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Every heap allocation of the process passes through here. new and delete
// are replaced as a pair over malloc and free, which the compiler cannot tell
// when it inlines them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

TEST(CEffectChainAllocation, ProcessingAllocatesNothing)
{
    CEffectChain chain;
    SynthProgram program;
    std::memset(&program, 0, sizeof program);
    InitProgram(program);
    program.fxWaveshape = program.fxChorus = program.fxPhaser = 1.0f;
    program.fxDelay = program.fxReverb = program.fxEq = 1.0f;
    program.phaserStages = 16;
    program.reverbSize = 100;
    std::vector<float> left = Noise(4096, 0.9f, 1);
    std::vector<float> right = Noise(4096, 0.9f, 2);

    float peak = 0.0f;
    const long before = allocations.load();
    for (int block = 0; block < 200; ++block)
    {
        // Settings, tempo and rate change while audio runs.
        program.reverbSize = 10 + block % 90;
        program.delayBeats = 1 + block % 32;
        program.fxChorus = (block % 3) * 0.5f;
        chain.SetTempo(60.0f + block);
        if (block % 50 == 49)
            chain.SetSampleRate(block % 100 == 99 ? 96000 : 48000);
        chain.Process(program, left.data(), right.data(), block % 2 ? 4096 : 1);
        RaisePeak(peak, left.data(), 4096);
    }
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_GT(peak, 0.0f);

    // The counter itself works.
    std::vector<float>* probe = new std::vector<float>(8);
    EXPECT_GE(allocations.load() - before, 1);
    delete probe;
}
