#include "CSequence.h"

#include "CMidiFile.h"

#include <algorithm>

namespace
{
constexpr double kDefaultBpm = 120.0;
}

CSequence CSequence::FromMidiFile(const CMidiFile& file)
{
    CSequence sequence;
    sequence.events.reserve(file.Events().size());
    for (const CMidiFile::Event& event : file.Events())
        sequence.Add(file.Seconds(event.tick), event.status, event.data1, event.data2);
    for (const CMidiFile::Tempo& tempo : file.Tempos())
        sequence.tempos.push_back({file.Seconds(tempo.tick), 60e6 / tempo.microsPerQuarter});
    sequence.lengthSeconds = file.Seconds(file.EndTick());
    return sequence;
}

void CSequence::Add(double seconds, uint8_t status, uint8_t data1, uint8_t data2)
{
    events.push_back({seconds, status, data1, data2});
    lengthSeconds = std::max(lengthSeconds, seconds);
}

void CSequence::Sort()
{
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.seconds < b.seconds; });
}

double CSequence::TempoAt(double seconds) const
{
    double bpm = kDefaultBpm;
    for (const Tempo& tempo : tempos)
    {
        if (tempo.seconds > seconds)
            break;
        bpm = tempo.bpm;
    }
    return bpm;
}

uint16_t CSequence::ChannelMask() const
{
    uint16_t mask = 0;
    for (const Event& event : events)
        mask |= static_cast<uint16_t>(1u << (event.status & 0x0F));
    return mask;
}
