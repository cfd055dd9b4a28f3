#include "image/CInflater.h"

#include "PngTestFiles.h"
#include "engine/CRandom.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace
{

// Collects everything; can refuse after a given number of bytes.
class CCollector : public CInflater::Sink
{
public:
    bool Take(const uint8_t* bytes, size_t count) override
    {
        ++runs;
        out.insert(out.end(), bytes, bytes + count);
        return true;
    }

    std::vector<uint8_t> out;
    int runs = 0;
};

// Writes DEFLATE bits least significant first, as the format stores them.
class BitWriter
{
public:
    // A zlib header for a 32 KiB window, no dictionary.
    BitWriter() : bytes{0x78, 0x01} {}

    BitWriter& Bits(uint32_t value, unsigned count)
    {
        for (unsigned i = 0; i < count; ++i)
        {
            if (used == 0)
                bytes.push_back(0);
            bytes.back() |= static_cast<uint8_t>(((value >> i) & 1u) << used);
            used = (used + 1) & 7;
        }
        return *this;
    }

    // A Huffman code: sent most significant bit first.
    BitWriter& Code(uint32_t code, unsigned length)
    {
        for (unsigned i = length; i-- > 0;)
            Bits((code >> i) & 1u, 1);
        return *this;
    }

    // Fixed-code literal 0..143 (8 bits from 0x30) or 144..255 (9 bits from 0x190).
    BitWriter& FixedLiteral(unsigned literal)
    {
        return literal < 144 ? Code(0x30 + literal, 8) : Code(0x190 + literal - 144, 9);
    }
    BitWriter& FixedEnd() { return Code(0, 7); }

    std::vector<uint8_t> bytes;

private:
    unsigned used = 0;  // bits used in the last byte
};

CInflater::Result Inflate(const std::vector<uint8_t>& data, CCollector& sink)
{
    CInflater inflater;
    return inflater.Inflate(data.data(), data.size(), sink);
}

std::vector<uint8_t> PhotoLikeBytes(size_t count, uint32_t seed)
{
    CRandom random(seed);
    std::vector<uint8_t> bytes(count);
    int value = 128;
    for (size_t i = 0; i < count; ++i)
    {
        value += (random.Next() % 9) - 4;
        bytes[i] = static_cast<uint8_t>(value + ((i / 300) % 5 == 0 ? random.Next() % 64 : 0));
    }
    return bytes;
}

// A final dynamic block's header: HLIT, HDIST and HCLEN as stored.
BitWriter Dynamic(unsigned hlit, unsigned hdist, unsigned hclen)
{
    return BitWriter().Bits(1, 1).Bits(2, 2).Bits(hlit, 5).Bits(hdist, 5).Bits(hclen, 4);
}

// A final dynamic block with no codes of its own: its code-length code gives
// 0 the code 0 and 18 the code 1, then two runs of zeros: 138 and 11 + second.
BitWriter ZeroRuns(unsigned second)
{
    BitWriter stream = Dynamic(0, 0, 0).Bits(0, 6).Bits(1 | 1 << 3, 6);
    return stream.Code(1, 1).Bits(127, 7).Code(1, 1).Bits(second, 7).Bits(0, 32);
}

// A final fixed block's header.
BitWriter Fixed()
{
    return BitWriter().Bits(1, 1).Bits(1, 2);
}

}  // namespace

// A long run of one byte (matches of the maximum length, the first reaching
// back to the first byte), photo-like bytes and a 32 KiB pattern repeated
// (matches at the maximum distance): more than the inflater holds at once.
TEST(CInflater, RoundTripsZlibAtEveryLevelStrategyAndWindow)
{
    std::vector<uint8_t> raw(100000, 0x5A);
    const std::vector<uint8_t> photo = PhotoLikeBytes(130000, 3);
    raw.insert(raw.end(), photo.begin(), photo.end());
    const std::vector<uint8_t> pattern = PhotoLikeBytes(32768, 8);
    for (int i = 0; i < 3; ++i)
        raw.insert(raw.end(), pattern.begin(), pattern.end());
    for (int level : {0, 1, 5, 9})
    {
        for (int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED})
        {
            for (int windowBits : {9, 12, 15})
            {
                SCOPED_TRACE(level * 1000 + strategy * 100 + windowBits);
                CCollector sink;
                EXPECT_EQ(Inflate(Deflate(raw, level, strategy, windowBits), sink), CInflater::Result::Complete);
                EXPECT_TRUE(sink.out == raw);
                EXPECT_GT(sink.runs, 1) << "output is handed on in runs, not kept whole";
            }
        }
    }
}

TEST(CInflater, HeaderChecks)
{
    const struct
    {
        std::vector<uint8_t> stream;  // each but the last with an empty fixed block
        CInflater::Result result;
    } cases[] = {
        {{0x78, 0x9C, 0x03, 0x00}, CInflater::Result::Complete},
        {{0x08, 0x1D, 0x03, 0x00}, CInflater::Result::Complete},            // a 256-byte window
        {{0x77, 0x9C, 0x03, 0x00}, CInflater::Result::Failed},              // not deflate
        {{0x78, 0xBB, 0, 0, 0, 1, 0x03, 0x00}, CInflater::Result::Failed},  // a preset dictionary
        {{0x78}, CInflater::Result::Truncated},
    };
    for (const auto& c : cases)
    {
        CCollector sink;
        EXPECT_EQ(Inflate(c.stream, sink), c.result) << int(c.stream[0]) << " " << int(c.stream.back());
    }
}

TEST(CInflater, ImpossibleStreamsFail)
{
    const struct
    {
        const char* what;
        BitWriter stream;
    } cases[] = {
        // One literal, then length 3 (code 257 = 0000001) at distance 2 or at code 30.
        {"distance before the start", Fixed().FixedLiteral('x').Code(1, 7).Code(1, 5).FixedEnd()},
        {"distance code 30", Fixed().FixedLiteral('x').Code(1, 7).Code(30, 5).FixedEnd()},
        {"block type 3", BitWriter().Bits(1, 1).Bits(3, 2).Bits(0, 16)},
        {"HLIT 30 (287 codes)", Dynamic(30, 0, 0).Bits(0, 32)},
        // HCLEN 4 gives the lengths of symbols 16, 17, 18 and 0.
        {"code-length code over-subscribed", Dynamic(0, 0, 0).Bits(1, 3).Bits(1, 3).Bits(1, 3).Bits(0, 3).Bits(0, 32)},
        {"code-length code incomplete", Dynamic(0, 0, 0).Bits(2, 3).Bits(2, 3).Bits(0, 3).Bits(0, 3).Bits(0, 32)},
        // Code-length code: 0 → code 0, 16 → code 1.
        {"repeat with no previous length",
         Dynamic(0, 0, 0).Bits(1, 3).Bits(0, 3).Bits(0, 3).Bits(1, 3).Code(1, 1).Bits(0, 2).Bits(0, 32)},
        // 138 zeros, then 138 more (276 > 258) or 120 more (258 zeros: no end-of-block code).
        {"zero run past the codes", ZeroRuns(127)},
        {"all lengths zero", ZeroRuns(109)},
    };
    for (const auto& c : cases)
    {
        CCollector sink;
        EXPECT_EQ(Inflate(c.stream.bytes, sink), CInflater::Result::Failed) << c.what;
    }
}

// A stream cut anywhere is truncated, not corrupt, and has handed on only the
// start of its output; a stream without just its checksum is complete.
TEST(CInflater, ACutStreamIsTruncatedAndHandsOnTheStartOfItsOutput)
{
    const std::vector<uint8_t> raw = PhotoLikeBytes(1000, 12);
    const std::vector<uint8_t> packed = Deflate(raw, 9);
    for (size_t cut = 0; cut < packed.size(); ++cut)
    {
        CCollector sink;
        const std::vector<uint8_t> part(packed.begin(), packed.begin() + static_cast<ptrdiff_t>(cut));
        const bool whole = cut + 4 >= packed.size();
        EXPECT_EQ(Inflate(part, sink), whole ? CInflater::Result::Complete : CInflater::Result::Truncated) << cut;
        ASSERT_LE(sink.out.size(), raw.size());
        EXPECT_TRUE(std::equal(sink.out.begin(), sink.out.end(), raw.begin())) << cut;
    }
}
