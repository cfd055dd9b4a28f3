// Nothing the audio thread does may allocate once the synth is built.
#include "engine/EngineTestUtil.h"

#include "support/AllocationCounter.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

namespace
{

using enginetest::NoteOff;
using enginetest::NoteOn;

void RenderBlocks(CSynth& synth, float* left, float* right, int32_t frames, int32_t blockSize)
{
    for (int32_t start = 0; start < frames; start += blockSize)
    {
        const int32_t n = frames - start < blockSize ? frames - start : blockSize;
        float* outputs[2] = {left + start, right + start};
        synth.ProcessBlock(nullptr, outputs, n);
    }
}

}  // namespace

// Hosts automate on the audio thread too.
TEST(CSynthAllocation, NotesControllersAutomationAndRendersAllocateNothing)
{
    auto synth = std::make_unique<CSynth>();
    SynthProgram& p = *synth->currentProgram;
    p.noise = 0.4f;
    p.wave1 = 4;
    p.wave2 = 3;
    p.pmAmount = 0.5f;
    p.feedback = 0.5f;
    p.lfo[1].wave = 4;
    p.lfo[2].sync = 1;
    p.lfo[0].restart = 0;
    std::vector<float> left(1 << 16), right(1 << 16);

    CAllocationWindow window;
    for (int32_t note = 20; note < 60; ++note)
        synth->HandleMidi(NoteOn(note, note));
    synth->HandleMidi(0xB0u | 1u << 8 | 100u << 16);
    synth->HandleMidi(0xE0u | 0x10u << 8 | 0x50u << 16);
    synth->HandleMidi(0xB0u | 64u << 8 | 127u << 16);  // sustain pedal
    RenderBlocks(*synth, left.data(), right.data(), 44100, 256);
    synth->HandleMidi(0xC0u | 9u << 8);  // program change
    for (int32_t note = 20; note < 60; ++note)
        synth->HandleMidi(NoteOff(note));
    RenderBlocks(*synth, left.data(), right.data(), 30000, 1);
    RenderBlocks(*synth, left.data(), right.data(), 1 << 16, 1 << 16);
    synth->SetTempo(93.0f);
    synth->SetTransport(true);
    synth->HandleMidi(0xF8u);
    RenderBlocks(*synth, left.data(), right.data(), 20000, 512);
    for (uint32_t controller : {64u, 123u, 121u, 120u})
        synth->HandleMidi(0xB0u | controller << 8);
    synth->Reset();
    RenderBlocks(*synth, left.data(), right.data(), 2000, 512);
    for (int32_t i = -1; i <= synth->GetParameterCount(); ++i)
        for (float v : {0.0f, 1.0f, std::numeric_limits<float>::quiet_NaN()})
            synth->SetParameter(i, v);
    const int64_t counted = window.Stop();

    EXPECT_EQ(counted, 0);
    EXPECT_GT(synth->peakLeft, 0.0f);  // the path really ran
}
