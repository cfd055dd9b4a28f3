#pragma once

#include "effects/EffectMath.h"
#include "effects/MLPF1a.h"
#include "effects/MModDelayLine.h"
#include "engine/EngineTables.h"
#include "engine/Lanes.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// Modulated delay line whose read position follows a sine LFO from
// the engine's sine table (no interpolation of the table), read with first-order
// allpass-style interpolation whose coefficient is the plain fraction.
class MSVRAP1ModDelayLine final : public MModDelayLine
{
public:
    MSVRAP1ModDelayLine();

    // LFO start phase and increment, both in cycles (per sample).
    void SetLfo(double startPhase, double increment);

    void Reset() override;
    void Tick(float* out, int32_t n) override;

    // kCount (1 to 4) lines ticking side by side, line l in lane l: a lane
    // computes exactly what Tick computes. Several of them can tick in one
    // loop, so that their recursions overlap. Inline: the reverb's inner loop.
    template <int32_t kCount>
    class SideBySide;

private:
    const float* sine;
    double lfoPhase = 0.0;
    double lfoIncrement = 0.0;
    float previousOutput = 0.0f;
};

// Entry index[l] of table in lane l, for the first kCount lanes; the rest
// are 0. Built in registers: lanes stored one by one and loaded as a
// vector would stall the load until the stores retire.
template <int32_t kCount>
inline Lanes GatherLanes(const float* table, const intptr_t* index)
{
    float entry[kLaneCount] = {};
    for (int32_t l = 0; l < kCount; ++l)
        entry[l] = table[index[l]];
    // Paired, then the pairs joined: three shuffles for four lanes.
    return Shuffle<0, 1, 4, 5>(Lanes{entry[0], entry[1]}, Lanes{entry[2], entry[3]});
}

// Entries index[l] and index[l] + 1 of tables[l] in lane l of first and
// second, for the first kCount lanes; one 8-byte load a lane. The indices
// leave the vector two at a time, as the halves of 64-bit integers.
template <int32_t kCount>
inline void GatherPairs(const float* const* tables, LaneInts index, Lanes& first, Lanes& second)
{
    uint64_t halves[2];
    std::memcpy(halves, &index, sizeof(halves));
    Lanes pairs[kLaneCount] = {};
    for (int32_t l = 0; l < kCount; ++l)
    {
        const int32_t at = static_cast<int32_t>(halves[l / 2] >> (32 * (l % 2)));
        // Carried as the bits of a double: a plain 8-byte load.
        double both;
        std::memcpy(&both, tables[l] + at, sizeof(both));
        pairs[l] = reinterpret_cast<Lanes>(Pairs{both, 0.0});
    }
    const Lanes low = Shuffle<0, 4, 1, 5>(pairs[0], pairs[1]);
    const Lanes high = Shuffle<0, 4, 1, 5>(pairs[2], pairs[3]);
    first = Shuffle<0, 1, 4, 5>(low, high);
    second = Shuffle<2, 3, 6, 7>(low, high);
}

template <int32_t kCount>
class MSVRAP1ModDelayLine::SideBySide
{
public:
    // Takes the lines' state; unused lanes run on a one-sample ring and are
    // not looked up.
    explicit SideBySide(MSVRAP1ModDelayLine* const* lines) : table(lines[0]->sine)
    {
        for (int32_t l = 0; l < kCount; ++l)
        {
            MSVRAP1ModDelayLine& line = *lines[l];
            owners[l] = &line;
            phase[l] = line.lfoPhase * kEntries;
            increment[l] = line.lfoIncrement * kEntries;
            read[l] = line.readPosition;
            previous[l] = line.previousOutput;
            depth[l] = static_cast<float>(line.Depth());
            length[l] = static_cast<float>(line.size);
            line.MirrorMargins();
            samples[l] = line.Ring();
        }
    }

    // True when every phase stays within the table, from 0 to below its
    // end, for the next n samples (1 to 256): then LookUp<true> needs
    // neither the wrap nor the mask. The margin of a whole table step is far
    // above what n roundings can add.
    bool StaysInTable(int32_t n) const
    {
        bool stays = true;
        for (int32_t l = 0; l < kCount; ++l)
            stays &= phase[l] >= 0.0 && increment[l] >= 0.0 && phase[l] + (n * increment[l] + 1.0) < kEntries;
        return stays;
    }

    // The LFO's table entries of the next n samples (1 to 256), lane l of
    // entries[s] for sample s, lanes from kCount on 0; kInTable only where
    // StaysInTable said so. A loop of its own: joining the entries into
    // vectors in the line loop takes shuffles, which the processor runs at a
    // lower rate than these plain stores; by the time the line loop loads
    // the vectors, the stores have long been done.
    template <bool kInTable>
    void LookUp(int32_t n, float (*entries)[kLaneCount])
    {
        for (int32_t s = 0; s < n; ++s)
        {
            for (int32_t l = 0; l < kCount; ++l)
                entries[s][l] = table[NextIndex<kInTable>(l)];
            for (int32_t l = kCount; l < kLaneCount; ++l)
                entries[s][l] = 0.0f;
        }
    }

    // The next sample of every line.
    Lanes Next()
    {
        intptr_t sineIndex[kLaneCount] = {};
        for (int32_t l = 0; l < kCount; ++l)
            sineIndex[l] = NextIndex<false>(l);
        return Next(GatherLanes<kCount>(table, sineIndex));
    }

    // The next sample of every line at the LFO's entries as LookUp gave them.
    Lanes Next(Lanes entry)
    {
        const Lanes position = read + depth * entry;
        read += 1.0f;
        read -= reinterpret_cast<Lanes>((read >= length) & reinterpret_cast<LaneInts>(length));

        // floor; the margins stand in for the wrap.
        LaneInts i = __builtin_convertvector(position, LaneInts);
        i += __builtin_convertvector(i, Lanes) > position;
        const Lanes fraction = position - __builtin_convertvector(i, Lanes);

        Lanes here;
        Lanes ahead;
        GatherPairs<kCount>(samples, i, here, ahead);
        previous = FlushTiny(here + fraction * (ahead - previous));
        return previous;
    }

    // Hands the state back to the lines.
    void Store() const
    {
        for (int32_t l = 0; l < kCount; ++l)
        {
            MSVRAP1ModDelayLine& line = *owners[l];
            line.lfoPhase = phase[l] * (1.0 / kEntries);
            line.readPosition = read[l];
            line.previousOutput = previous[l];
        }
    }

private:
    // Lane l's table index, and its phase advanced by a sample.
    template <bool kInTable>
    intptr_t NextIndex(int32_t l)
    {
        const intptr_t index =
            kInTable ? static_cast<intptr_t>(phase[l]) : static_cast<int32_t>(phase[l]) & EngineTables::kSineMask;
        phase[l] += increment[l];
        if (!kInTable && phase[l] >= kEntries)
            phase[l] -= kEntries;
        return index;
    }

    // The phases count table entries: scaled by a power of two, they round
    // as the phases in cycles do.
    static constexpr double kEntries = EngineTables::kSineSize;

    const float* table;
    MSVRAP1ModDelayLine* owners[kCount];
    double phase[kCount];
    double increment[kCount];
    Lanes read = {};
    Lanes previous = {};
    Lanes depth = {};
    Lanes length = {1.0f, 1.0f, 1.0f, 1.0f};
    const float* samples[kCount];
};
