#pragma once

#include <cstdint>
#include <cstring>

class CStream;

// Little-endian encoding of 32-bit words, independent of the host's byte order
// and of struct layout. Stored formats are written only through these.

inline void StoreU32LE(uint8_t* out, uint32_t value)
{
    out[0] = static_cast<uint8_t>(value);
    out[1] = static_cast<uint8_t>(value >> 8);
    out[2] = static_cast<uint8_t>(value >> 16);
    out[3] = static_cast<uint8_t>(value >> 24);
}

inline uint32_t LoadU32LE(const uint8_t* in)
{
    return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]) << 16 |
           static_cast<uint32_t>(in[3]) << 24;
}

inline uint32_t FloatBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

inline float BitsToFloat(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

// Big-endian encoding, for the few exchange formats that are defined that way
// (the VST bank and preset container).

inline void StoreU32BE(uint8_t* out, uint32_t value)
{
    out[0] = static_cast<uint8_t>(value >> 24);
    out[1] = static_cast<uint8_t>(value >> 16);
    out[2] = static_cast<uint8_t>(value >> 8);
    out[3] = static_cast<uint8_t>(value);
}

inline uint32_t LoadU32BE(const uint8_t* in)
{
    return static_cast<uint32_t>(in[0]) << 24 | static_cast<uint32_t>(in[1]) << 16 | static_cast<uint32_t>(in[2]) << 8 |
           static_cast<uint32_t>(in[3]);
}

// Stream helpers: each returns true when all four bytes were transferred.
// A failed read leaves the destination unchanged.
bool WriteU32(CStream& stream, uint32_t value);
bool WriteI32(CStream& stream, int32_t value);
bool WriteF32(CStream& stream, float value);
bool ReadU32(CStream& stream, uint32_t& value);
bool ReadI32(CStream& stream, int32_t& value);
bool ReadF32(CStream& stream, float& value);
