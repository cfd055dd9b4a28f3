#include "CRenderer.h"

#include "CAudioSink.h"
#include "CInstrument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace
{
// Plays a level of 0.25 per held note on the left and 0.5 per held note on
// the right, switching on the exact sample of each queued event.
class CFakeInstrument : public CInstrument
{
public:
    struct Queued
    {
        int32_t offset;
        uint8_t status, data1, data2;
    };

    explicit CFakeInstrument(size_t capacity = 64) : queueCapacity(capacity) {}

    int32_t EventCapacity() const override { return static_cast<int32_t>(queueCapacity); }

    bool QueueMidi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2) override
    {
        if (queue.size() >= queueCapacity)
            return false;
        queue.push_back({offset, status, data1, data2});
        return true;
    }

    bool Process(float* left, float* right, int32_t frames) override
    {
        size_t next = 0;
        for (int32_t i = 0; i < frames; ++i)
        {
            while (next < queue.size() && queue[next].offset <= i)
                Apply(queue[next++]);
            left[i] = constant + 0.25f * static_cast<float>(held);
            right[i] = constant + 0.5f * static_cast<float>(held);
        }
        // An empty render only delivers events at offset 0.
        while (frames == 0 && next < queue.size() && queue[next].offset == 0)
            Apply(queue[next++]);
        EXPECT_EQ(next, queue.size()) << "an event offset lies beyond its block";
        queue.clear();
        processed += frames;
        processCalls.push_back(frames);
        return true;
    }

    void SetProgram(int32_t index) override { programChanges.push_back({processed, index}); }
    void SetTempo(double bpm) override { tempos.push_back(bpm); }

    int held = 0;
    float constant = 0.0f;
    int64_t processed = 0;
    std::vector<int32_t> processCalls;
    std::vector<std::pair<int64_t, int32_t>> programChanges;  // frame, program
    std::vector<double> tempos;

private:
    void Apply(const Queued& event)
    {
        const uint8_t kind = event.status & 0xF0;
        if (kind == 0x90 && event.data2 > 0)
            ++held;
        else if (kind == 0x80 || kind == 0x90)
            --held;
    }

    size_t queueCapacity;
    std::vector<Queued> queue;
};

class CMemorySink : public CAudioSink
{
public:
    bool Write(const float* l, const float* r, int32_t frames) override
    {
        if (fail)
            return false;
        left.insert(left.end(), l, l + frames);
        right.insert(right.end(), r, r + frames);
        return true;
    }
    std::vector<float> left, right;
    bool fail = false;
};

// A sample rate of 1000 Hz makes frames and milliseconds the same numbers.
CRenderer::Settings SmallSettings()
{
    CRenderer::Settings settings;
    settings.sampleRate = 1000;
    settings.blockSize = 16;
    settings.maxTailSeconds = 5.0;
    return settings;
}

void RunToEnd(CRenderer& renderer, CMemorySink& sink)
{
    for (int guard = 0; guard < 100000 && !renderer.Finished(); ++guard)
        ASSERT_TRUE(renderer.Step(sink)) << renderer.Error();
    ASSERT_TRUE(renderer.Finished());
}

struct Played
{
    CMemorySink sink;
    int64_t frames;
    float peak;
    double progress;
};

// Renders the whole sequence with the instrument on channel 0.
Played Play(const CSequence& sequence, CFakeInstrument& instrument, CRenderer::Settings settings = SmallSettings())
{
    CRenderer renderer(sequence, settings);
    renderer.SetInstrument(0, &instrument);
    Played played;
    RunToEnd(renderer, played.sink);
    played.frames = renderer.FramesRendered();
    played.peak = renderer.Peak();
    played.progress = renderer.SongProgress();
    return played;
}
// The first n entries of a list (as many as there are if fewer).
template <typename T>
std::vector<T> First(const std::vector<T>& all, size_t n)
{
    return std::vector<T>(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(std::min(n, all.size())));
}
}

// The tail ends after one second of silence, in whole blocks, or at its cap.
TEST(CRenderer, TailEndsAfterOneSecondOfSilenceOrAtItsCap)
{
    CSequence sequence;
    sequence.Add(0.0, 0x90, 60, 100);
    sequence.Add(0.050, 0x80, 60, 0);
    CFakeInstrument instrument;
    const Played played = Play(sequence, instrument);
    // Block 3 (48..63) holds the note-off at 50 and counts as sounding; the
    // tail then needs 1000 silent frames: 63 blocks (1008 frames) after frame 64.
    EXPECT_EQ(played.frames, 64 + 63 * 16);
    EXPECT_EQ(played.sink.left.size(), static_cast<size_t>(played.frames));
    EXPECT_DOUBLE_EQ(played.progress, 1.0);

    CFakeInstrument endless;
    endless.constant = 0.1f;
    CRenderer::Settings settings = SmallSettings();
    settings.maxTailSeconds = 0.5;
    // Song to frame 64 (block 48..63 counts 13 tail frames), then 500 tail frames in blocks of 16.
    EXPECT_EQ(Play(sequence, endless, settings).frames, 64 + 31 * 16);
}

TEST(CRenderer, ReleasesNotesStillHeldWhenTheSongEnds)
{
    CSequence sequence;
    sequence.Add(0.0, 0x90, 60, 100);
    sequence.Add(0.0, 0x90, 64, 100);
    sequence.Add(0.010, 0x90, 64, 0);  // a note-on of velocity 0 releases
    sequence.lengthSeconds = 0.040;
    CFakeInstrument instrument;
    const Played played = Play(sequence, instrument);
    const CMemorySink& sink = played.sink;
    EXPECT_EQ(sink.left[9], 0.5f);
    EXPECT_EQ(sink.left[10], 0.25f);
    EXPECT_EQ(sink.left[39], 0.25f);
    EXPECT_EQ(sink.left[40], 0.0f);
    EXPECT_EQ(instrument.held, 0);
    EXPECT_EQ(played.peak, 1.0f);
}

TEST(CRenderer, ProgramChangesSwitchOnTheirSampleAndTemposAtTheirBlock)
{
    CSequence sequence;
    sequence.Add(0.0, 0xC0, 3, 0);
    sequence.Add(0.050, 0xC0, 7, 0);
    sequence.Add(0.050, 0xC1, 9, 0);
    sequence.tempos = {{0.0, 100.0}, {0.032, 150.0}};
    sequence.lengthSeconds = 0.1;
    CFakeInstrument instrument;
    Play(sequence, instrument);
    EXPECT_EQ(instrument.programChanges, (decltype(instrument.programChanges){{0, 3}, {50, 7}}));
    // Each block is told the tempo in force at its start.
    EXPECT_EQ(First(instrument.tempos, 3), (std::vector<double>{100.0, 100.0, 150.0}));
    // The block holding frame 50 was split there.
    EXPECT_EQ(First(instrument.processCalls, 5), (std::vector<int32_t>{16, 16, 16, 2, 14}));

    CFakeInstrument fixed;
    CRenderer::Settings settings = SmallSettings();
    settings.programChanges = false;
    Play(sequence, fixed, settings);
    EXPECT_TRUE(fixed.programChanges.empty());
}

TEST(CRenderer, FullEventQueueSplitsTheBlockWithoutMovingEvents)
{
    CSequence sequence;
    for (int i = 0; i < 5; ++i)
        sequence.Add(0.002 * (i + 1), 0x90, static_cast<uint8_t>(60 + i), 100);
    sequence.lengthSeconds = 0.016;
    CFakeInstrument instrument(2);
    const Played played = Play(sequence, instrument);
    const CMemorySink& sink = played.sink;
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(sink.left[static_cast<size_t>(2 * (i + 1) - 1)], 0.25f * i) << i;
        EXPECT_EQ(sink.left[static_cast<size_t>(2 * (i + 1))], 0.25f * (i + 1)) << i;
    }
    // Two events per call: 2+4 | 6+8 | 10 -> calls of 6, 4, 6 frames for the first block.
    EXPECT_EQ(First(instrument.processCalls, 3), (std::vector<int32_t>{6, 4, 6}));
}

TEST(CRenderer, EventsBeyondTheQueueOnOneSampleGoOutWithAnEmptyRender)
{
    CSequence sequence;
    for (int i = 0; i < 3; ++i)
        sequence.Add(0.005, 0x90, static_cast<uint8_t>(60 + i), 100);
    sequence.lengthSeconds = 0.016;
    CFakeInstrument instrument(2);
    const Played played = Play(sequence, instrument);
    const CMemorySink& sink = played.sink;
    EXPECT_EQ(sink.left[4], 0.0f);
    EXPECT_EQ(sink.left[5], 0.75f);
    // Up to the shared sample, an empty render with two events, the rest with the third.
    // At the song's end three note-offs share frame 16 and go out the same way.
    EXPECT_EQ(First(instrument.processCalls, 5), (std::vector<int32_t>{5, 0, 11, 0, 16}));
    EXPECT_EQ(sink.left[15], 0.75f);
    EXPECT_EQ(sink.left[16], 0.0f);
}
