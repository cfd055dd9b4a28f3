#include "image/CInflater.h"

#include <cstring>

namespace
{

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                        33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block sends the lengths of the code-length code.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

constexpr unsigned kEndOfBlock = 256;
constexpr unsigned kMaxLiteralCodes = 286;
constexpr unsigned kMaxDistanceCodes = 30;

}  // namespace

CInflater::Result CInflater::Inflate(const uint8_t* data, size_t size, Sink& target)
{
    CBitReader in(data, size);
    if (size < 2)
        return Result::Truncated;
    const unsigned method = data[0] & 15u;
    const unsigned windowLog = (data[0] >> 4) + 8u;
    const bool presetDictionary = (data[1] & 0x20u) != 0;
    if (method != 8 || windowLog > 15 || presetDictionary)
        return Result::Failed;
    in.Bits(16);

    sink = &target;
    output.reset(new uint8_t[kOutputBytes]);
    outEnd = 0;
    outGiven = 0;
    Result result = InflateBlocks(in);
    if (result != Result::Failed && !Flush())
        result = Result::Failed;
    output.reset();
    sink = nullptr;
    return result;
}

CInflater::Result CInflater::InflateBlocks(CBitReader& in)
{
    for (;;)
    {
        const uint32_t header = in.Bits(3);
        if (in.Overran())
            return Result::Truncated;
        Result result = Result::Failed;
        switch (header >> 1)
        {
        case 0:
            result = CopyStored(in);
            break;
        case 1:
            BuildFixedTables();
            result = DecodeBlock(in);
            break;
        case 2:
            result = ReadDynamicTables(in);
            if (result == Result::Complete)
                result = DecodeBlock(in);
            break;
        default:
            return Result::Failed;
        }
        if (result != Result::Complete || (header & 1u) != 0)
            return result;
    }
}

CInflater::Result CInflater::CopyStored(CBitReader& in)
{
    in.AlignToByte();
    size_t left = in.Bits(16);
    in.Bits(16);  // NLEN, the one's complement of LEN, is not checked
    if (in.Overran())
        return Result::Truncated;
    while (left > 0)
    {
        if (outEnd == kOutputBytes && !Flush())
            return Result::Failed;
        const size_t room = kOutputBytes - outEnd;
        const size_t want = left < room ? left : room;
        const size_t got = in.ReadBytes(output.get() + outEnd, want);
        outEnd += got;
        left -= got;
        if (got < want)
            return Result::Truncated;
    }
    return Result::Complete;
}

void CInflater::BuildFixedTables()
{
    uint8_t lengths[CHuffmanTable::kMaxSymbols];
    std::memset(lengths, 8, 144);
    std::memset(lengths + 144, 9, 112);
    std::memset(lengths + 256, 7, 24);
    std::memset(lengths + 280, 8, 8);
    literals.Build(lengths, 288);
    std::memset(lengths, 5, 32);
    distances.Build(lengths, 32);
}

CInflater::Result CInflater::ReadDynamicTables(CBitReader& in)
{
    const unsigned literalCount = in.Bits(5) + 257;
    const unsigned distanceCount = in.Bits(5) + 1;
    const unsigned codeLengthCount = in.Bits(4) + 4;
    if (in.Overran())
        return Result::Truncated;
    if (literalCount > kMaxLiteralCodes || distanceCount > kMaxDistanceCodes)
        return Result::Failed;

    uint8_t lengths[kMaxLiteralCodes + kMaxDistanceCodes] = {};
    for (unsigned i = 0; i < codeLengthCount; ++i)
        lengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(in.Bits(3));
    if (in.Overran())
        return Result::Truncated;
    CHuffmanTable codeLengths;
    if (!codeLengths.Build(lengths, 19))
        return Result::Failed;

    const unsigned total = literalCount + distanceCount;
    std::memset(lengths, 0, sizeof lengths);
    unsigned filled = 0;
    while (filled < total)
    {
        in.Refill();
        const int symbol = codeLengths.Decode(in);
        if (in.Overran())
            return Result::Truncated;
        if (symbol < 0)
            return Result::Failed;
        if (symbol < 16)
        {
            lengths[filled++] = static_cast<uint8_t>(symbol);
            continue;
        }
        uint8_t repeated = 0;
        unsigned times = 0;
        if (symbol == 16)
        {
            if (filled == 0)
                return Result::Failed;
            repeated = lengths[filled - 1];
            times = 3 + in.Bits(2);
        }
        else if (symbol == 17)
            times = 3 + in.Bits(3);
        else
            times = 11 + in.Bits(7);
        if (times > total - filled)
            return Result::Failed;
        std::memset(lengths + filled, repeated, times);
        filled += times;
    }
    if (in.Overran())
        return Result::Truncated;
    if (lengths[kEndOfBlock] == 0)
        return Result::Failed;
    if (!literals.Build(lengths, literalCount) || !distances.Build(lengths + literalCount, distanceCount))
        return Result::Failed;
    return Result::Complete;
}

CInflater::Result CInflater::DecodeBlock(CBitReader& in)
{
    uint8_t* const out = output.get();
    size_t end = outEnd;
    for (;;)
    {
        if (NearlyFull(end))
        {
            outEnd = end;
            if (!Flush())
                return Result::Failed;
            end = outEnd;
        }
        in.Refill();
        const int symbol = literals.Decode(in);
        if (in.Overran())
            break;
        if (symbol < 0)
            return Result::Failed;
        if (symbol < 256)
        {
            out[end++] = static_cast<uint8_t>(symbol);
            continue;
        }
        if (symbol == kEndOfBlock)
        {
            outEnd = end;
            return Result::Complete;
        }
        // 286 and 287 exist only in the fixed code and mean nothing.
        if (symbol > 285)
            continue;
        const unsigned lengthCode = static_cast<unsigned>(symbol) - 257;
        const size_t length = kLengthBase[lengthCode] + in.Bits(kLengthExtra[lengthCode]);
        const int distanceCode = distances.Decode(in);
        if (in.Overran())
            break;
        if (distanceCode < 0 || distanceCode >= static_cast<int>(kMaxDistanceCodes))
            return Result::Failed;
        const size_t distance = kDistanceBase[distanceCode] + in.Bits(kDistanceExtra[distanceCode]);
        if (in.Overran())
            break;
        if (distance > end)
            return Result::Failed;
        const uint8_t* from = out + end - distance;
        uint8_t* to = out + end;
        if (distance >= kCopySlack)
        {
            // Eight-byte steps never read bytes that this copy has yet to write.
            for (size_t i = 0; i < length; i += 8)
                std::memcpy(to + i, from + i, 8);
        }
        else
        {
            // A short distance repeats the last bytes: go byte by byte.
            for (size_t i = 0; i < length; ++i)
                to[i] = from[i];
        }
        end += length;
    }
    outEnd = end;
    return Result::Truncated;
}

bool CInflater::Flush()
{
    if (outEnd > outGiven && !sink->Take(output.get() + outGiven, outEnd - outGiven))
        return false;
    outGiven = outEnd;
    if (outEnd > kWindowBytes && NearlyFull(outEnd))
    {
        std::memmove(output.get(), output.get() + outEnd - kWindowBytes, kWindowBytes);
        outEnd = kWindowBytes;
        outGiven = kWindowBytes;
    }
    return true;
}
