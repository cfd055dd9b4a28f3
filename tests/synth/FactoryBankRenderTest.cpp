// Plays a short phrase (a four-note chord, then a melody, at velocity 100)
// through every factory program and judges what comes out.
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace
{

constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 128;
constexpr float kPeakLimit = 0.891f;  // -1 dBFS
constexpr double kMinimumRms = 0.01;  // -40 dBFS over the phrase

// Sends the notes of the phrase that fall in the block starting at pos.
void SendPhrase(CSynth& synth, int32_t pos)
{
    const auto due = [pos](double seconds) { return static_cast<int32_t>(seconds * kRate) / kBlock * kBlock == pos; };
    const uint32_t chord[] = {48, 55, 60, 64};
    const uint32_t melody[] = {60, 62, 64, 67, 72};
    for (uint32_t note : chord)
    {
        if (due(0.0))
            synth.HandleMidi(0x90u | note << 8 | 100u << 16);
        if (due(0.7))
            synth.HandleMidi(0x80u | note << 8);
    }
    for (int i = 0; i < 5; ++i)
    {
        if (due(0.9 + 0.2 * i))
            synth.HandleMidi(0x90u | melody[i] << 8 | 100u << 16);
        if (due(1.05 + 0.2 * i))
            synth.HandleMidi(0x80u | melody[i] << 8);
    }
}

}  // namespace

TEST(FactoryBankRender, EveryProgramIsAudibleFiniteAndBelowClipping)
{
    constexpr int32_t kFrames = static_cast<int32_t>(2.4 * kRate) / kBlock * kBlock;
    for (int32_t program = 0; program < CSynth::kProgramCount; ++program)
    {
        auto synth = std::make_unique<CSynth>();
        synth->SetProgram(program);
        const char* name = synth->programs[program].name;
        bool finite = true;
        float peak = 0.0f;
        double energy = 0.0;
        for (int32_t pos = 0; pos < kFrames; pos += kBlock)
        {
            SendPhrase(*synth, pos);
            std::vector<float> left(kBlock, 0.0f), right(kBlock, 0.0f);
            float* outputs[2] = {left.data(), right.data()};
            synth->ProcessBlock(nullptr, outputs, kBlock);
            for (int32_t i = 0; i < kBlock; ++i)
            {
                finite = finite && std::isfinite(left[i]) && std::isfinite(right[i]);
                peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
                energy += static_cast<double>(left[i]) * left[i] + static_cast<double>(right[i]) * right[i];
            }
        }
        ASSERT_TRUE(finite) << name;
        EXPECT_LE(peak, kPeakLimit) << name;
        EXPECT_GE(std::sqrt(energy / (2.0 * kFrames)), kMinimumRms) << name;
    }
}
