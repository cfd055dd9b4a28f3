#pragma once

#include "image/CBitReader.h"

#include <cstdint>

// A canonical Huffman code of DEFLATE (RFC 1951), built from the code length
// of every symbol. Codes up to kFastBits long are found with one table lookup;
// longer ones are finished by walking the canonical code a bit at a time.
class CHuffmanTable
{
public:
    static constexpr unsigned kMaxBits = 15;
    static constexpr unsigned kMaxSymbols = 288;

    // lengths[i] is the code length of symbol i (0 = unused), count at most
    // kMaxSymbols, each length at most kMaxBits. Returns false for an
    // over-subscribed code and for an incomplete one, except the single code
    // of one bit that RFC 1951 allows; a code with no symbols is accepted and
    // decodes nothing.
    bool Build(const uint8_t* lengths, unsigned count);

    // The next symbol, or -1 when the bits form no code. Needs kMaxBits bits
    // available (CBitReader::Refill).
    int Decode(CBitReader& in) const
    {
        const uint16_t entry = fast[in.Peek(kFastBits)];
        if (entry != 0)
        {
            in.Skip(entry & 15u);
            return entry >> 4;
        }
        return DecodeSlow(in);
    }

private:
    static constexpr unsigned kFastBits = 10;

    int DecodeSlow(CBitReader& in) const;

    // symbol << 4 | length; 0 where the code is longer than kFastBits or absent.
    uint16_t fast[1u << kFastBits] = {};
    uint16_t lengthCount[kMaxBits + 1] = {};
    uint16_t sortedSymbols[kMaxSymbols] = {};  // by code length, then by symbol
};
