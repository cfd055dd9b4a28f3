#include "image/CHuffmanTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Packs Huffman codes (most significant bit first) into DEFLATE bit order.
std::vector<uint8_t> PackCodes(const std::vector<std::pair<uint32_t, unsigned>>& codes)
{
    std::vector<uint8_t> bytes(16, 0);
    size_t bit = 0;
    for (const auto& code : codes)
    {
        for (unsigned i = code.second; i-- > 0; ++bit)
            bytes[bit / 8] |= static_cast<uint8_t>(((code.first >> i) & 1u) << (bit % 8));
    }
    return bytes;
}

// Builds the table and expects the packed codes to decode to the symbols.
void ExpectDecodes(const uint8_t* lengths, unsigned count, const std::vector<std::pair<uint32_t, unsigned>>& codes,
                   const std::vector<int>& symbols)
{
    CHuffmanTable table;
    ASSERT_TRUE(table.Build(lengths, count));
    const std::vector<uint8_t> bytes = PackCodes(codes);
    CBitReader in(bytes.data(), bytes.size());
    for (int symbol : symbols)
    {
        in.Refill();
        EXPECT_EQ(table.Decode(in), symbol);
    }
}

}  // namespace

TEST(CHuffmanTable, DecodesTheCanonicalCodeOfRfc1951Example)
{
    // The example of RFC 1951 section 3.2.2: lengths (3,3,3,3,3,2,4,4) for
    // A..H give F=00, A=010, B=011, C=100, D=101, E=110, G=1110, H=1111.
    const uint8_t lengths[8] = {3, 3, 3, 3, 3, 2, 4, 4};
    ExpectDecodes(lengths, 8, {{0b00, 2}, {0b010, 3}, {0b1111, 4}, {0b110, 3}, {0b1110, 4}, {0b101, 3}},
                  {5, 0, 7, 4, 6, 3});
}

TEST(CHuffmanTable, DecodesCodesLongerThanTheLookup)
{
    // Lengths 1, 2, ..., 14, 15, 15: a complete code reaching 15 bits.
    uint8_t lengths[16];
    for (int i = 0; i < 15; ++i)
        lengths[i] = static_cast<uint8_t>(i + 1);
    lengths[15] = 15;
    // Symbol i < 15 has code of i ones and a zero; symbol 14 is 14 ones and a
    // zero, symbol 15 fifteen ones.
    ExpectDecodes(lengths, 16, {{0x7FFE, 15}, {0x7FFF, 15}, {0b0, 1}, {0x7FE, 11}, {0b10, 2}}, {14, 15, 0, 10, 1});
}

TEST(CHuffmanTable, RefusesOverSubscribedAndIncompleteCodes)
{
    CHuffmanTable table;
    const uint8_t over[3] = {1, 1, 1};
    EXPECT_FALSE(table.Build(over, 3));
    const uint8_t incomplete[3] = {1, 2, 0};
    EXPECT_FALSE(table.Build(incomplete, 3));
    const uint8_t twoLong[2] = {2, 2};
    EXPECT_FALSE(table.Build(twoLong, 2));
    // Lengths 1 to 15, one each: only one 15-bit code is missing.
    uint8_t almost[15];
    for (int i = 0; i < 15; ++i)
        almost[i] = static_cast<uint8_t>(i + 1);
    EXPECT_FALSE(table.Build(almost, 15));
}

// A single one-bit code is allowed and its twin is no code; an empty code
// decodes nothing; a rebuilt table forgets its old code.
TEST(CHuffmanTable, BitsWithoutACodeDecodeAsMinusOne)
{
    CHuffmanTable single;
    const uint8_t lengths[4] = {0, 0, 1, 0};
    ASSERT_TRUE(single.Build(lengths, 4));
    const uint8_t zeroThenOne[2] = {0x02, 0x00};
    CBitReader in(zeroThenOne, 2);
    in.Refill();
    EXPECT_EQ(single.Decode(in), 2);
    EXPECT_EQ(single.Decode(in), -1);

    CHuffmanTable empty;
    const uint8_t none[30] = {};
    ASSERT_TRUE(empty.Build(none, 30));
    const uint8_t bits[4] = {0, 0xFF, 0x0F, 0x55};
    CBitReader emptyIn(bits, 4);
    emptyIn.Refill();
    EXPECT_EQ(empty.Decode(emptyIn), -1);

    CHuffmanTable rebuilt;
    const uint8_t first[2] = {1, 1};
    ASSERT_TRUE(rebuilt.Build(first, 2));
    const uint8_t second[4] = {0, 0, 0, 1};
    ASSERT_TRUE(rebuilt.Build(second, 4));
    const uint8_t one[1] = {0x01};  // a 1 bit: symbol 1 before, no code now
    CBitReader oneIn(one, 1);
    oneIn.Refill();
    EXPECT_EQ(rebuilt.Decode(oneIn), -1);
}
