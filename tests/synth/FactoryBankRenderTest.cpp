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

struct NoteEvent
{
    int32_t at;  // sample
    uint32_t message;
};

std::vector<NoteEvent> Phrase()
{
    std::vector<NoteEvent> events;
    const auto on = [&](double seconds, uint32_t note) {
        events.push_back({static_cast<int32_t>(seconds * kRate), 0x90u | note << 8 | 100u << 16});
    };
    const auto off = [&](double seconds, uint32_t note) {
        events.push_back({static_cast<int32_t>(seconds * kRate), 0x80u | note << 8});
    };
    for (uint32_t note : {48u, 55u, 60u, 64u})
        on(0.0, note);
    for (uint32_t note : {48u, 55u, 60u, 64u})
        off(0.7, note);
    const uint32_t melody[] = {60, 62, 64, 67, 72};
    for (int i = 0; i < 5; ++i)
    {
        on(0.9 + 0.2 * i, melody[i]);
        off(0.9 + 0.2 * i + 0.15, melody[i]);
    }
    return events;
}

struct Render
{
    std::vector<float> left;
    std::vector<float> right;
};

Render Play(int32_t program)
{
    constexpr int32_t kFrames = static_cast<int32_t>(2.4 * kRate);
    auto synth = std::make_unique<CSynth>();
    synth->SetProgram(program);
    Render out;
    out.left.assign(kFrames, 0.0f);
    out.right.assign(kFrames, 0.0f);
    const std::vector<NoteEvent> events = Phrase();
    size_t next = 0;
    for (int32_t pos = 0; pos < kFrames;)
    {
        while (next < events.size() && events[next].at <= pos)
            synth->HandleMidi(events[next++].message);
        int32_t end = std::min(kFrames, pos + kBlock);
        if (next < events.size())
            end = std::min(end, events[next].at);
        float* outputs[2] = {out.left.data() + pos, out.right.data() + pos};
        synth->ProcessBlock(nullptr, outputs, end - pos);
        pos = end;
    }
    return out;
}

}  // namespace

TEST(FactoryBankRender, EveryProgramIsAudibleFiniteAndBelowClipping)
{
    const CSynth names;
    for (int32_t program = 0; program < CSynth::kProgramCount; ++program)
    {
        const Render render = Play(program);
        const char* name = names.programs[program].name;
        bool finite = true;
        float peak = 0.0f;
        double energy = 0.0;
        for (size_t i = 0; i < render.left.size(); ++i)
        {
            finite = finite && std::isfinite(render.left[i]) && std::isfinite(render.right[i]);
            peak = std::max({peak, std::fabs(render.left[i]), std::fabs(render.right[i])});
            energy += static_cast<double>(render.left[i]) * render.left[i] +
                      static_cast<double>(render.right[i]) * render.right[i];
        }
        const double rms = std::sqrt(energy / (2.0 * static_cast<double>(render.left.size())));
        ASSERT_TRUE(finite) << name;
        EXPECT_LE(peak, kPeakLimit) << name;
        EXPECT_GE(rms, kMinimumRms) << name;
    }
}

// The feedback oscillator leaves an offset in the voices; none reaches the
// host. A held chord, measured once its attack has passed.
TEST(FactoryBankRender, EveryHeldChordIsFreeOfOffset)
{
    constexpr int32_t kFrames = 4 * kRate / kBlock * kBlock;
    constexpr double kMaxOffset = 0.001;  // of full scale
    for (int32_t program = 0; program < CSynth::kProgramCount; ++program)
    {
        auto synth = std::make_unique<CSynth>();
        synth->SetProgram(program);
        for (uint32_t note : {48u, 55u, 60u, 64u})
            synth->HandleMidi(0x90u | note << 8 | 100u << 16);
        std::vector<float> left(kFrames, 0.0f), right(kFrames, 0.0f);
        for (int32_t pos = 0; pos < kFrames; pos += kBlock)
        {
            float* outputs[2] = {left.data() + pos, right.data() + pos};
            synth->ProcessBlock(nullptr, outputs, kBlock);
        }
        double sumLeft = 0.0, sumRight = 0.0;
        for (int32_t i = kFrames / 2; i < kFrames; ++i)
        {
            sumLeft += left[static_cast<size_t>(i)];
            sumRight += right[static_cast<size_t>(i)];
        }
        const double n = kFrames - kFrames / 2;
        EXPECT_LE(std::fabs(sumLeft / n), kMaxOffset) << synth->programs[program].name;
        EXPECT_LE(std::fabs(sumRight / n), kMaxOffset) << synth->programs[program].name;
    }
}
