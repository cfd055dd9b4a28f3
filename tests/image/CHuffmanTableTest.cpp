#include "image/CHuffmanTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// Builds a table from the code lengths and decodes count symbols from the bits.
std::vector<int> Decode(const std::vector<uint8_t>& lengths, const std::vector<uint8_t>& bits, int count)
{
    CHuffmanTable table;
    EXPECT_TRUE(table.Build(lengths.data(), static_cast<unsigned>(lengths.size())));
    CBitReader in(bits.data(), bits.size());
    std::vector<int> symbols;
    for (int i = 0; i < count; ++i)
    {
        in.Refill();
        symbols.push_back(table.Decode(in));
    }
    return symbols;
}

}  // namespace

// A single one-bit code is allowed and its twin is no code; an empty code
// decodes nothing; a rebuilt table forgets its old code.
TEST(CHuffmanTable, BitsWithoutACodeDecodeAsMinusOne)
{
    const std::vector<uint8_t> zeroThenOne = {0x02, 0xFF};
    EXPECT_EQ(Decode({0, 0, 1, 0}, zeroThenOne, 2), (std::vector<int>{2, -1}));
    EXPECT_EQ(Decode(std::vector<uint8_t>(30, 0), zeroThenOne, 1), std::vector<int>{-1});

    CHuffmanTable rebuilt;
    const uint8_t first[2] = {1, 1};
    ASSERT_TRUE(rebuilt.Build(first, 2));
    const uint8_t second[4] = {0, 0, 0, 1};
    ASSERT_TRUE(rebuilt.Build(second, 4));
    CBitReader in(zeroThenOne.data(), 2);
    in.Refill();
    EXPECT_EQ(rebuilt.Decode(in), 3);
    EXPECT_EQ(rebuilt.Decode(in), -1) << "symbol 1 of the old code";
}
