#include "CDemoSong.h"

#include <cstddef>

namespace
{
constexpr double kSecondsPerBeat = 60.0 / CDemoSong::kBpm;
constexpr int kBeatsPerBar = 4;

enum Part
{
    Pad = 0,
    Arpeggio = 1,
    Bass = 2,
    Lead = 3,
    Bells = 4
};

// Three chord tones from low to high and a bass root, one chord per bar:
// Am F C G, Am F C G, Am F C G, Dm E, Am.
struct Chord
{
    uint8_t tones[3];
    uint8_t root;
};

constexpr Chord kChords[CDemoSong::kBars] = {
    {{57, 60, 64}, 45}, {{57, 60, 65}, 41}, {{55, 60, 64}, 48}, {{55, 59, 62}, 43}, {{57, 60, 64}, 45},
    {{57, 60, 65}, 41}, {{55, 60, 64}, 48}, {{55, 59, 62}, 43}, {{57, 60, 64}, 45}, {{57, 60, 65}, 41},
    {{55, 60, 64}, 48}, {{55, 59, 62}, 43}, {{57, 62, 65}, 50}, {{56, 59, 64}, 40}, {{57, 60, 64}, 45},
};

struct Note
{
    double beat;  // from the start of the song
    double length;
    uint8_t key;
};

// The lead line of bars 9 to 15 (beats 32 on).
constexpr Note kMelody[] = {
    {32.0, 1.5, 76}, {33.5, 0.5, 74}, {34.0, 1.0, 72}, {35.0, 0.5, 71}, {35.5, 0.5, 72},  // Am
    {36.0, 2.0, 69}, {38.0, 1.0, 72}, {39.0, 1.0, 77},                                    // F
    {40.0, 1.5, 76}, {41.5, 0.5, 72}, {42.0, 2.0, 67},                                    // C
    {44.0, 1.0, 71}, {45.0, 1.0, 74}, {46.0, 1.5, 79}, {47.5, 0.5, 77},                   // G
    {48.0, 1.5, 77}, {49.5, 0.5, 76}, {50.0, 1.0, 74}, {51.0, 1.0, 72},                   // Dm
    {52.0, 2.0, 71}, {54.0, 1.0, 68}, {55.0, 1.0, 71},                                    // E
    {56.0, 3.0, 69},                                                                      // Am
};

constexpr Note kBellNotes[] = {
    {0.0, 2.0, 88}, {8.0, 2.0, 84}, {16.0, 2.0, 88}, {24.0, 2.0, 91}, {48.0, 2.0, 89}, {52.0, 2.0, 88}, {56.0, 3.0, 93},
};

// Up and down over four tones, one per sixteenth.
constexpr int kArpeggioOrder[16] = {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 1, 2, 3};

// Bass in eighths: root, root, octave, root, fifth below the octave, root, octave, root.
constexpr int kBassSteps[8] = {0, 0, 12, 0, 7, 0, 12, 0};

class CSongWriter
{
public:
    explicit CSongWriter(CSequence& target) : sequence(target) {}

    void Play(int channel, double beat, double length, int key, int velocity)
    {
        const uint8_t status = static_cast<uint8_t>(channel);
        sequence.Add(beat * kSecondsPerBeat, 0x90 | status, static_cast<uint8_t>(key), static_cast<uint8_t>(velocity));
        sequence.Add((beat + length) * kSecondsPerBeat, 0x80 | status, static_cast<uint8_t>(key), 0);
    }

    void Control(int channel, double beat, int controller, int value)
    {
        sequence.Add(beat * kSecondsPerBeat, 0xB0 | static_cast<uint8_t>(channel), static_cast<uint8_t>(controller),
                     static_cast<uint8_t>(value));
    }

private:
    CSequence& sequence;
};
}

CSequence CDemoSong::Song()
{
    CSequence song;
    song.startPrograms[Pad] = "Soft Pad";
    song.startPrograms[Arpeggio] = "Filter Arp";
    song.startPrograms[Bass] = "Synth Bass";
    song.startPrograms[Lead] = "PM Lead";
    song.startPrograms[Bells] = "Sine Bells";
    // The pad is the loudest program; it sits behind the others.
    song.channelGains[Pad] = 0.35f;
    song.channelGains[Arpeggio] = 0.8f;
    song.channelGains[Bass] = 0.9f;
    song.channelGains[Lead] = 0.8f;
    song.channelGains[Bells] = 0.6f;
    song.tempos.push_back({0.0, kBpm});
    CSongWriter writer(song);

    for (int bar = 0; bar < kBars; ++bar)
    {
        const Chord& chord = kChords[bar];
        const double start = bar * kBeatsPerBar;
        const bool last = bar == kBars - 1;

        // Pad: the whole song, each chord held over its bar.
        for (uint8_t tone : chord.tones)
            writer.Play(Pad, start, last ? 3.0 : 3.95, tone, 64);

        // Arpeggio: bars 3 to 12, an octave above the pad.
        if (bar >= 2 && bar < 12)
        {
            const int tones[4] = {chord.tones[0] + 12, chord.tones[1] + 12, chord.tones[2] + 12, chord.tones[0] + 24};
            for (int step = 0; step < 16; ++step)
                writer.Play(Arpeggio, start + step * 0.25, 0.2, tones[kArpeggioOrder[step]], step % 4 == 0 ? 96 : 72);
        }

        // Bass: from bar 5; the last bar is one long root.
        if (bar >= 4 && !last)
            for (int step = 0; step < 8; ++step)
                writer.Play(Bass, start + step * 0.5, 0.4, chord.root + kBassSteps[step], step % 2 == 0 ? 100 : 80);
        if (last)
            writer.Play(Bass, start, 3.0, chord.root, 100);
    }

    // Lead: mod wheel at rest, then opened over the last two bars for vibrato.
    writer.Control(Lead, 0.0, 1, 0);
    for (const Note& note : kMelody)
        writer.Play(Lead, note.beat, note.length, note.key, 100);
    for (int step = 0; step <= 16; ++step)
        writer.Control(Lead, 52.0 + step * 0.25, 1, step * 6);

    for (const Note& note : kBellNotes)
        writer.Play(Bells, note.beat, note.length, note.key, 80);

    song.Sort();
    song.lengthSeconds = kBars * kBeatsPerBar * kSecondsPerBeat;
    return song;
}

CSequence CDemoSong::Phrase()
{
    CSequence phrase;
    phrase.tempos.push_back({0.0, kBpm});
    CSongWriter writer(phrase);
    const int line[4] = {60, 64, 67, 72};
    for (int step = 0; step < 4; ++step)
        writer.Play(0, step * 0.5, 0.45, line[step], 100);
    for (int key : {48, 60, 64, 67, 72})
        writer.Play(0, 2.0, 4.0, key, 90);
    phrase.Sort();
    phrase.lengthSeconds = 6.0 * kSecondsPerBeat;
    return phrase;
}
