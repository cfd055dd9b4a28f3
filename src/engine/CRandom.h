#pragma once

#include <cstdint>

// The instrument's one random generator: a 32-bit xorshift with explicit
// state, giving the same sequence on every platform and build, so renders are
// reproducible bit for bit. Next() is spread evenly over 0..kMax.
class CRandom
{
public:
    static constexpr int32_t kMax = 32767;

    explicit CRandom(uint32_t seed = 1) { Seed(seed); }

    // A zero seed would lock xorshift at zero; it is replaced by a fixed value.
    void Seed(uint32_t seed) { state = seed ? seed : 0x9E3779B9u; }

    // The next value in 0..32767 (the top 15 bits of the state).
    int32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<int32_t>(state >> 17);
    }

    // The next value scaled to 0..1 inclusive.
    float NextUnit() { return static_cast<float>(Next()) * (1.0f / kMax); }

private:
    uint32_t state;
};
