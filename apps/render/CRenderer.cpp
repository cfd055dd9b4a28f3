#include "CRenderer.h"

#include "CAudioSink.h"
#include "CInstrument.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kProgramChange = 0xC0;
}

CRenderer::CRenderer(const CSequence& song, const Settings& chosen) : sequence(song), settings(chosen)
{
    const double rate = settings.sampleRate;
    events.reserve(sequence.events.size());
    for (const CSequence::Event& event : sequence.events)
        events.push_back({std::llround(event.seconds * rate), event.status, event.data1, event.data2});
    songEndFrame = std::llround(sequence.lengthSeconds * rate);
    if (!events.empty())
        songEndFrame = std::max(songEndFrame, events.back().frame);
    ReleaseHeldNotes();

    const size_t block = static_cast<size_t>(settings.blockSize);
    mixLeft.assign(block, 0.0f);
    mixRight.assign(block, 0.0f);
    left.assign(block, 0.0f);
    right.assign(block, 0.0f);
}

void CRenderer::ReleaseHeldNotes()
{
    // Count note-ons without their note-off, per channel and key.
    std::array<std::array<int, 128>, CSequence::kChannels> held = {};
    for (const FrameEvent& event : events)
    {
        const uint8_t kind = event.status & 0xF0;
        int& count = held[event.status & 0x0F][event.data1 & 0x7F];
        if (kind == kNoteOn && event.data2 > 0)
            ++count;
        else if ((kind == kNoteOff || kind == kNoteOn) && count > 0)
            --count;
    }
    for (int channel = 0; channel < CSequence::kChannels; ++channel)
        for (int key = 0; key < 128; ++key)
            for (int n = 0; n < held[channel][key]; ++n)
                events.push_back(
                    {songEndFrame, static_cast<uint8_t>(kNoteOff | channel), static_cast<uint8_t>(key), 0});
}

void CRenderer::SetInstrument(int channel, CInstrument* instrument)
{
    if (channel >= 0 && channel < CSequence::kChannels)
        instruments[static_cast<size_t>(channel)] = instrument;
}

double CRenderer::SongProgress() const
{
    if (songEndFrame <= 0)
        return 1.0;
    return std::min(1.0, static_cast<double>(position) / static_cast<double>(songEndFrame));
}

bool CRenderer::RenderChannel(int channel, size_t first, size_t last, int32_t frames)
{
    CInstrument& instrument = *instruments[static_cast<size_t>(channel)];
    const size_t capacity = static_cast<size_t>(std::max(1, instrument.EventCapacity()));
    pending.clear();
    int32_t done = 0;

    // Hands over the pending events that fall before until and renders up to
    // it; events on until itself wait for the next render.
    auto renderTo = [&](int32_t until)
    {
        size_t handed = 0;
        for (; handed < pending.size() && pending[handed].offset < until; ++handed)
        {
            const Pending& event = pending[handed];
            if (!instrument.QueueMidi(event.offset - done, event.status, event.data1, event.data2))
                return false;
        }
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(handed));
        if (until > done && !instrument.Process(left.data() + done, right.data() + done, until - done))
            return false;
        done = std::max(done, until);
        return true;
    };
    // More events than one render takes on a single sample: they go out with
    // an empty render, so that none of them moves.
    auto flushHere = [&]()
    {
        for (const Pending& event : pending)
            if (!instrument.QueueMidi(0, event.status, event.data1, event.data2))
                return false;
        pending.clear();
        return instrument.Process(left.data() + done, right.data() + done, 0);
    };

    for (size_t i = first; i < last; ++i)
    {
        const FrameEvent& event = events[i];
        if ((event.status & 0x0F) != channel)
            continue;
        const int32_t offset = static_cast<int32_t>(event.frame - position);
        if ((event.status & 0xF0) == kProgramChange)
        {
            if (!settings.programChanges)
                continue;
            if (!renderTo(offset))
                return false;
            instrument.SetProgram(event.data1);
            continue;
        }
        if (pending.size() >= capacity && !renderTo(offset))
            return false;
        if (pending.size() >= capacity && !flushHere())
            return false;
        pending.push_back({offset, event.status, event.data1, event.data2});
    }
    return renderTo(frames);
}

bool CRenderer::Step(CAudioSink& sink)
{
    if (finished)
        return true;
    const int32_t frames = settings.blockSize;
    const int64_t blockEnd = position + frames;
    size_t last = nextEvent;
    while (last < events.size() && events[last].frame < blockEnd)
        ++last;

    std::fill(mixLeft.begin(), mixLeft.end(), 0.0f);
    std::fill(mixRight.begin(), mixRight.end(), 0.0f);
    const double bpm = sequence.TempoAt(static_cast<double>(position) / settings.sampleRate);
    for (int channel = 0; channel < CSequence::kChannels; ++channel)
    {
        CInstrument* instrument = instruments[static_cast<size_t>(channel)];
        if (!instrument)
            continue;
        instrument->SetTempo(bpm);
        if (!RenderChannel(channel, nextEvent, last, frames))
        {
            error = "the instrument of MIDI channel " + std::to_string(channel + 1) + " failed to render";
            return false;
        }
        const float gain = sequence.channelGains[static_cast<size_t>(channel)];
        for (int32_t i = 0; i < frames; ++i)
        {
            mixLeft[static_cast<size_t>(i)] += gain * left[static_cast<size_t>(i)];
            mixRight[static_cast<size_t>(i)] += gain * right[static_cast<size_t>(i)];
        }
    }
    nextEvent = last;

    float blockPeak = 0.0f;
    for (int32_t i = 0; i < frames; ++i)
    {
        const float l = mixLeft[static_cast<size_t>(i)];
        const float r = mixRight[static_cast<size_t>(i)];
        if (!std::isfinite(l) || !std::isfinite(r))
        {
            error = "the instrument produced an invalid sample (not a finite number) at frame " +
                    std::to_string(position + i);
            return false;
        }
        blockPeak = std::max(blockPeak, std::max(std::fabs(l), std::fabs(r)));
    }
    if (!sink.Write(mixLeft.data(), mixRight.data(), frames))
    {
        error = "the audio could not be written";
        return false;
    }
    peak = std::max(peak, blockPeak);
    position = blockEnd;

    if (position > songEndFrame && nextEvent >= events.size())
    {
        tailFrames += std::min<int64_t>(frames, position - songEndFrame);
        silentFrames = blockPeak < kSilenceLevel ? silentFrames + frames : 0;
        finished = silentFrames >= std::llround(kSilenceSeconds * settings.sampleRate) ||
                   tailFrames >= std::llround(settings.maxTailSeconds * settings.sampleRate);
    }
    return true;
}
