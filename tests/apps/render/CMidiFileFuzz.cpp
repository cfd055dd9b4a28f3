// libFuzzer target: any bytes given to CMidiFile::Parse, and an accepted file
// turned into the sequence the render tool plays. Traps when what was read
// breaks the reader's promises, or when a reader reused after other input
// reads differently from a fresh one.
#include "support/FuzzCheck.h"
#include "CMidiFile.h"
#include "CSequence.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace
{

bool SameEvents(const CMidiFile& a, const CMidiFile& b)
{
    if (a.Events().size() != b.Events().size() || a.Tempos().size() != b.Tempos().size())
        return false;
    for (size_t i = 0; i < a.Events().size(); ++i)
    {
        const CMidiFile::Event& x = a.Events()[i];
        const CMidiFile::Event& y = b.Events()[i];
        if (x.tick != y.tick || x.status != y.status || x.data1 != y.data1 || x.data2 != y.data2 || x.track != y.track)
            return false;
    }
    for (size_t i = 0; i < a.Tempos().size(); ++i)
        if (a.Tempos()[i].tick != b.Tempos()[i].tick ||
            a.Tempos()[i].microsPerQuarter != b.Tempos()[i].microsPerQuarter)
            return false;
    return a.Format() == b.Format() && a.TrackCount() == b.TrackCount() && a.EndTick() == b.EndTick();
}

void CheckFile(const CMidiFile& file)
{
    Check(file.Format() == 0 || file.Format() == 1);
    uint64_t tick = 0;
    for (const CMidiFile::Event& e : file.Events())
    {
        Check(e.tick >= tick && e.tick <= file.EndTick());
        tick = e.tick;
        Check(e.status >= 0x80 && e.status < 0xF0 && e.data1 < 0x80 && e.data2 < 0x80);
        Check(e.track >= 1 && e.track <= file.TrackCount());
    }
    Check(!file.Tempos().empty() && file.Tempos().front().tick == 0);
    tick = 0;
    for (const CMidiFile::Tempo& t : file.Tempos())
    {
        Check(t.microsPerQuarter > 0 && t.tick >= tick);
        tick = t.tick;
    }
    const double length = file.Seconds(file.EndTick());
    Check(std::isfinite(length) && length >= 0.0 && length <= CMidiFile::kMaxSeconds);
}

void CheckSequence(const CSequence& sequence, const CMidiFile& file)
{
    Check(sequence.events.size() == file.Events().size());
    double seconds = 0.0;
    for (const CSequence::Event& e : sequence.events)
    {
        Check(e.seconds >= seconds && e.seconds <= sequence.lengthSeconds);
        seconds = e.seconds;
    }
    Check(sequence.lengthSeconds <= CMidiFile::kMaxSeconds);
    for (const CSequence::Tempo& t : sequence.tempos)
        Check(std::isfinite(t.bpm) && t.bpm > 0.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Reused across inputs, as nothing in the reader's interface forbids.
    static CMidiFile* reused = new CMidiFile;
    CMidiFile fresh;
    const bool accepted = fresh.Parse(data, size);
    Check(reused->Parse(data, size) == accepted);
    if (!accepted)
    {
        Check(!fresh.Error().empty() && fresh.Error() == reused->Error());
        return 0;
    }
    Check(fresh.Error().empty());
    CheckFile(fresh);
    Check(SameEvents(fresh, *reused));
    CheckSequence(CSequence::FromMidiFile(fresh), fresh);
    return 0;
}
