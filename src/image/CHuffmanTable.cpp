#include "image/CHuffmanTable.h"

#include <algorithm>
#include <iterator>

bool CHuffmanTable::Build(const uint8_t* lengths, unsigned count)
{
    std::fill(std::begin(lengthCount), std::end(lengthCount), uint16_t(0));
    std::fill(std::begin(fast), std::end(fast), uint16_t(0));
    for (unsigned symbol = 0; symbol < count; ++symbol)
        ++lengthCount[lengths[symbol]];
    lengthCount[0] = 0;

    int left = 1;  // codes still free at the current length
    unsigned used = 0;
    for (unsigned length = 1; length <= kMaxBits; ++length)
    {
        left = left * 2 - lengthCount[length];
        if (left < 0)
            return false;
        used += lengthCount[length];
    }
    if (left > 0 && !(used == 1 && lengthCount[1] == 1) && used != 0)
        return false;

    uint16_t offset[kMaxBits + 2] = {};
    for (unsigned length = 1; length <= kMaxBits; ++length)
        offset[length + 1] = static_cast<uint16_t>(offset[length] + lengthCount[length]);
    for (unsigned symbol = 0; symbol < count; ++symbol)
    {
        if (lengths[symbol] != 0)
            sortedSymbols[offset[lengths[symbol]]++] = static_cast<uint16_t>(symbol);
    }

    // Canonical codes are assigned in sortedSymbols order; the stream sends
    // them most significant bit first, so the lookup index is the reversed code.
    unsigned code = 0;
    unsigned index = 0;
    for (unsigned length = 1; length <= kMaxBits; ++length)
    {
        for (unsigned n = 0; n < lengthCount[length]; ++n, ++code, ++index)
        {
            if (length > kFastBits)
                continue;
            unsigned reversed = 0;
            for (unsigned bit = 0; bit < length; ++bit)
                reversed |= ((code >> bit) & 1u) << (length - 1 - bit);
            const uint16_t entry = static_cast<uint16_t>(sortedSymbols[index] << 4 | length);
            for (unsigned fill = reversed; fill < (1u << kFastBits); fill += 1u << length)
                fast[fill] = entry;
        }
        code <<= 1;
    }
    return true;
}

int CHuffmanTable::DecodeSlow(CBitReader& in) const
{
    const uint32_t bits = in.Peek(kMaxBits);
    int code = 0;   // the bits read so far, first bit most significant
    int first = 0;  // first canonical code of the current length
    int index = 0;  // its position in sortedSymbols
    for (unsigned length = 1; length <= kMaxBits; ++length)
    {
        code |= static_cast<int>((bits >> (length - 1)) & 1u);
        const int countHere = lengthCount[length];
        if (code - first < countHere)
        {
            in.Skip(length);
            return sortedSymbols[index + code - first];
        }
        index += countHere;
        first = (first + countHere) << 1;
        code <<= 1;
    }
    return -1;
}
