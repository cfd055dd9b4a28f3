#pragma once

#include <cstdint>
#include <cstring>

// Vectors of four values, one voice a lane, for the voice render that runs
// several voices side by side. Operations on them work lane by lane with
// the same rounding as on single values, so a lane computes exactly what
// the one-voice render computes.

constexpr int32_t kLaneCount = 4;

using Lanes = float __attribute__((vector_size(16)));
using LaneInts = int32_t __attribute__((vector_size(16)));
using LaneCounts = uint32_t __attribute__((vector_size(16)));  // wrap around
// The double-precision values of the four lanes, two to a vector.
using Pairs = double __attribute__((vector_size(16)));
constexpr int32_t kPairs = 2;

#if defined(__x86_64__) && defined(__ELF__)
// 64-bit ELF builds also carry a few loops compiled for AVX, taken when
// WideVectorsRun. The Windows toolchains cannot keep the 32-byte stack slots
// of such loops aligned, so their builds run only the plain loops. A wide
// loop runs the operations of its plain one in the same order in each lane:
// both give the same bits.
#define VELMORA_WIDE_VECTORS 1

// Eight floats, for the loops built for AVX.
using Eights = float __attribute__((vector_size(32)));
#endif

// True when the loops built for AVX can run here.
inline bool WideVectorsRun()
{
#ifdef VELMORA_WIDE_VECTORS
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
#else
    return false;
#endif
}

// Four lanes picked out of two vectors: 0..3 from a, 4..7 from b.
template <int32_t i0, int32_t i1, int32_t i2, int32_t i3>
inline Lanes Shuffle(Lanes a, Lanes b)
{
#if defined(__clang__)
    // The fuzzers build with clang, whose builtin has another name and form.
    return __builtin_shufflevector(a, b, i0, i1, i2, i3);
#else
    return __builtin_shuffle(a, b, LaneInts{i0, i1, i2, i3});
#endif
}

// Four consecutive samples, from and to any alignment.
inline Lanes LoadLanes(const float* samples)
{
    Lanes lanes;
    std::memcpy(&lanes, samples, sizeof(lanes));
    return lanes;
}

inline void StoreLanes(float* samples, Lanes lanes)
{
    std::memcpy(samples, &lanes, sizeof(lanes));
}

// |value| lane by lane: the sign bits cleared.
inline Lanes Magnitude(Lanes value)
{
    return reinterpret_cast<Lanes>(reinterpret_cast<LaneInts>(value) & INT32_MAX);
}

// The bits of a value, or of each lane, as integers.
inline int32_t Bits(float value)
{
    int32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

inline LaneInts Bits(Lanes value)
{
    return reinterpret_cast<LaneInts>(value);
}

// Whether a single value (or comparison) is non-zero, or any lane is.
inline bool AnyLane(int32_t holds)
{
    return holds != 0;
}

inline bool AnyLane(LaneInts holds)
{
    return (holds[0] | holds[1] | holds[2] | holds[3]) != 0;
}

// Lanes 2 half and 2 half + 1, widened.
inline Pairs Widen(Lanes lanes, int32_t half)
{
    return Pairs{lanes[2 * half], lanes[2 * half + 1]};
}

// One table entry per lane, each from its own table.
inline Lanes Gather(const float* const* tables, LaneInts index)
{
    return Lanes{tables[0][index[0]], tables[1][index[1]], tables[2][index[2]], tables[3][index[3]]};
}

// Four entries of one table.
inline Lanes Gather(const float* table, LaneCounts index)
{
    return Lanes{table[index[0]], table[index[1]], table[index[2]], table[index[3]]};
}

// Four doubles, one a lane, kept as two pairs.
struct LaneDoubles
{
    Pairs half[kPairs];
};

// Writes value into lane l of a vector, or a single value (one voice) whole,
// so that one template fills either form.
inline void Put(float& target, int32_t, float value)
{
    target = value;
}

inline void Put(double& target, int32_t, double value)
{
    target = value;
}

inline void Put(int32_t& target, int32_t, int32_t value)
{
    target = value;
}

inline void Put(Lanes& target, int32_t l, float value)
{
    target[l] = value;
}

inline void Put(LaneInts& target, int32_t l, int32_t value)
{
    target[l] = value;
}

inline void Put(LaneDoubles& target, int32_t l, double value)
{
    target.half[l / 2][l % 2] = value;
}

// Reads lane l of a vector, or a single value whole.
inline float Get(float value, int32_t)
{
    return value;
}

inline float Get(Lanes value, int32_t l)
{
    return value[l];
}
