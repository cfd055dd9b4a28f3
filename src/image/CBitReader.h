#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Reads a DEFLATE bit stream: bits come least significant first out of each
// byte. Past the end of the data the reader yields zero bits and remembers
// that it overran, so a caller can stop instead of decoding padding.
class CBitReader
{
public:
    CBitReader(const uint8_t* data, size_t size) : data(data), size(size) {}

    // Makes at least 57 bits available to Peek, enough for a length code, a
    // distance code and both of their extra bits.
    void Refill()
    {
        if (position < size && size - position >= 8)
        {
            const uint8_t* p = data + position;
            const uint64_t word = static_cast<uint64_t>(p[0]) | static_cast<uint64_t>(p[1]) << 8 |
                                  static_cast<uint64_t>(p[2]) << 16 | static_cast<uint64_t>(p[3]) << 24 |
                                  static_cast<uint64_t>(p[4]) << 32 | static_cast<uint64_t>(p[5]) << 40 |
                                  static_cast<uint64_t>(p[6]) << 48 | static_cast<uint64_t>(p[7]) << 56;
            buffer |= word << count;
            position += (63 - count) >> 3;
            count |= 56;
            return;
        }
        while (count <= 56)
        {
            const uint64_t byte = position < size ? data[position] : 0;
            ++position;
            buffer |= byte << count;
            count += 8;
        }
    }

    // The next n (0..32) buffered bits without consuming them; call Refill first.
    uint32_t Peek(unsigned n) const { return static_cast<uint32_t>(buffer & ((uint64_t(1) << n) - 1)); }
    void Skip(unsigned n)
    {
        buffer >>= n;
        count -= n;
    }
    // Consumes and returns n (0..32) bits.
    uint32_t Bits(unsigned n)
    {
        if (count < n)
            Refill();
        const uint32_t value = Peek(n);
        Skip(n);
        return value;
    }

    // Drops the bits up to the next byte boundary.
    void AlignToByte() { Skip(count & 7); }

    // Copies up to n whole bytes (the reader must be byte aligned); returns
    // how many were there before the end of the data.
    size_t ReadBytes(uint8_t* out, size_t n)
    {
        size_t done = 0;
        while (done < n && count >= 8 && Consumed() + 8 <= size * 8)
        {
            out[done++] = static_cast<uint8_t>(buffer);
            Skip(8);
        }
        if (done < n && count < 8)
        {
            // The bit buffer is empty here: the next unread byte is data[position].
            // Refill may have put bits of those bytes above count: drop them, as
            // they are about to be consumed.
            buffer = 0;
            const size_t left = position < size ? size - position : 0;
            const size_t take = n - done < left ? n - done : left;
            std::memcpy(out + done, data + position, take);
            position += take;
            done += take;
        }
        return done;
    }

    // True once more bits were consumed than the data holds.
    bool Overran() const { return Consumed() > size * 8; }

private:
    size_t Consumed() const { return position * 8 - count; }

    const uint8_t* data;
    size_t size;
    size_t position = 0;  // next byte to load into the buffer
    uint64_t buffer = 0;
    unsigned count = 0;  // valid bits in buffer
};
