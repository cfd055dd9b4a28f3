#pragma once

#include "CSequence.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CAudioSink;
class CInstrument;

// Plays a sequence through one instrument per MIDI channel, mixes the
// instruments and hands the sum to a sink, one block per Step. Events land on
// their exact sample; program changes switch the channel's instrument at that
// sample. Notes still held when the song ends are released there; then the
// render goes on until the mix has stayed silent for a second, or until the
// tail cap.
class CRenderer
{
public:
    // About -94 dBFS: below the last bit of a 16-bit file.
    static constexpr float kSilenceLevel = 2e-5f;
    static constexpr double kSilenceSeconds = 1.0;

    struct Settings
    {
        int32_t sampleRate = 44100;
        int32_t blockSize = 256;
        double maxTailSeconds = 20.0;
        // False: program changes in the sequence are ignored.
        bool programChanges = true;
    };

    CRenderer(const CSequence& sequence, const Settings& settings);

    // The instrument playing channel (0..15); events of channels without one are dropped.
    void SetInstrument(int channel, CInstrument* instrument);

    // Renders the next block into the sink. False on failure (Error() says why).
    bool Step(CAudioSink& sink);
    bool Finished() const { return finished; }
    const std::string& Error() const { return error; }

    int64_t FramesRendered() const { return position; }
    // Largest absolute sample so far, both channels.
    float Peak() const { return peak; }
    // Share of the song (not the tail) rendered, 0..1.
    double SongProgress() const;

private:
    struct FrameEvent
    {
        int64_t frame;
        uint8_t status;
        uint8_t data1;
        uint8_t data2;
    };

    struct Pending
    {
        int32_t offset;
        uint8_t status;
        uint8_t data1;
        uint8_t data2;
    };

    bool RenderChannel(int channel, size_t first, size_t last, int32_t frames);
    void ReleaseHeldNotes();

    CSequence sequence;
    Settings settings;
    std::array<CInstrument*, CSequence::kChannels> instruments = {};
    std::vector<FrameEvent> events;
    int64_t songEndFrame = 0;
    size_t nextEvent = 0;
    int64_t position = 0;
    int64_t tailFrames = 0;
    int64_t silentFrames = 0;
    float peak = 0.0f;
    bool finished = false;
    std::string error;
    std::vector<float> mixLeft, mixRight, left, right;
    std::vector<Pending> pending;  // one channel's events not yet handed over
};
