#include "image/RawPngDecoder.h"

#include "PngTestFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

namespace
{

std::vector<uint8_t> Pixels(const RawPngDecoder& decoder)
{
    const uint8_t* pixels = decoder.Pixels();
    return std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(decoder.width) * decoder.height * 4);
}

// Decodes with both decoders and expects the same RGBA bytes.
void ExpectSameAsLibPng(const LibPngImage& image)
{
    const std::string png = EncodeWithLibPng(image);
    RawPngDecoder decoder;
    ASSERT_TRUE(DecodeBytes(decoder, png));
    ASSERT_EQ(decoder.width, image.width);
    ASSERT_EQ(decoder.height, image.height);
    ASSERT_EQ(Pixels(decoder), DecodeWithLibPng(png));
}

// A PNG of one IDAT chunk holding the raw (filtered) rows.
std::string HandMade(const PngFile& start, const std::vector<uint8_t>& raw)
{
    return PngFile(start).Chunk("IDAT", Deflate(raw)).Chunk("IEND", {}).Bytes();
}

// Makes the first pixel of a grey or truecolour image carry the colour key
// and, when the format has whole bytes, the second differ from it in the low
// bit of the last byte only, so both sides of a full-depth key test are exercised.
void UseFirstPixelAsKey(LibPngImage& image)
{
    image.hasKey = true;
    uint8_t* s = image.samples.data();
    if (image.bitDepth == 1)
    {
        image.key[0] = s[0] >> 7;
        return;
    }
    const unsigned channels = image.colourType == 2 ? 3 : 1;
    const unsigned bytes = image.bitDepth / 8;
    for (unsigned c = 0; c < channels; ++c)
        image.key[c] = static_cast<uint16_t>(bytes == 2 ? s[2 * c] << 8 | s[2 * c + 1] : s[c]);
    std::copy(s, s + channels * bytes, s + channels * bytes);
    s[2 * channels * bytes - 1] ^= 1;
}

}  // namespace

// Every second image of a grey or truecolour format has a colour key, and of a
// palette format alpha for its first entries (entry 1 transparent, 0 and 2 partly).
TEST(RawPngDecoder, MatchesLibPngForEveryFormatFilterInterlaceSizeAndTransparency)
{
    const std::pair<int, int> formats[] = {{0, 1}, {0, 8}, {2, 8}, {2, 16}, {3, 4}, {3, 8}, {4, 8}, {6, 8}};
    const std::pair<uint32_t, uint32_t> sizes[] = {{1, 1}, {1, 9}, {9, 1}, {7, 5}, {13, 11}, {33, 17}};
    const int filters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB,   PNG_FILTER_UP,
                           PNG_FILTER_AVG,  PNG_FILTER_PAETH, PNG_ALL_FILTERS};
    uint32_t seed = 1;
    for (const auto& format : formats)
    {
        for (bool interlaced : {false, true})
        {
            for (int filter : filters)
            {
                for (const auto& size : sizes)
                {
                    LibPngImage image = MakeImage(format.first, format.second, size.first, size.second, seed++);
                    image.interlaced = interlaced;
                    image.filters = filter;
                    const bool transparent = seed % 2 == 0;
                    if (transparent && format.first == 3)
                        image.paletteAlpha = {128, 0, 77};
                    else if (transparent && size.first > 1 && (format.first == 0 || format.first == 2))
                        UseFirstPixelAsKey(image);
                    SCOPED_TRACE("image " + std::to_string(seed));
                    ExpectSameAsLibPng(image);
                }
            }
        }
    }
}

TEST(RawPngDecoder, RefusesUnsupportedFormats)
{
    const std::pair<int, int> unsupported[] = {{0, 2}, {0, 4}, {0, 16}, {3, 1}, {3, 2}, {4, 16}, {6, 16}};
    for (const auto& format : unsupported)
    {
        RawPngDecoder decoder;
        EXPECT_FALSE(DecodeBytes(decoder, EncodeWithLibPng(MakeImage(format.first, format.second, 5, 3, 9))))
            << "colour type " << format.first << " depth " << format.second;
    }
}

// Paeth and the other filters are compared with libpng above.
TEST(RawPngDecoder, AnUnknownFilterLeavesTheRowAsItIs)
{
    RawPngDecoder decoder;
    ASSERT_TRUE(DecodeBytes(decoder, HandMade(PngFile().Header(2, 1, 8, 2), {5, 1, 2, 3, 4, 5, 6})));
    EXPECT_EQ(Pixels(decoder), (std::vector<uint8_t>{1, 2, 3, 255, 4, 5, 6, 255}));
}

// A palette index at or beyond the palette stays transparent black; without a
// palette a palette image is refused.
TEST(RawPngDecoder, PaletteIndicesAreCheckedAgainstThePalette)
{
    const PngFile header = PngFile().Header(4, 1, 8, 3);
    RawPngDecoder decoder;
    const PngFile withPalette = PngFile(header).Chunk("PLTE", {10, 20, 30, 40, 50, 60});
    ASSERT_TRUE(DecodeBytes(decoder, HandMade(withPalette, {0, 0, 1, 2, 255})));
    EXPECT_EQ(Pixels(decoder), (std::vector<uint8_t>{10, 20, 30, 255, 40, 50, 60, 255, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(DecodeBytes(decoder, HandMade(header, {0, 0, 1, 2, 255})));
}

// A 2 × 2 grey image needs 2 × (1 + 2) = 6 bytes: one fewer or one more is refused.
TEST(RawPngDecoder, ImageDataMustBeExact)
{
    const PngFile header = PngFile().Header(2, 2, 8, 0);
    RawPngDecoder decoder;
    EXPECT_TRUE(DecodeBytes(decoder, HandMade(header, {0, 1, 2, 0, 3, 4})));
    EXPECT_EQ(Pixels(decoder), (std::vector<uint8_t>{1, 1, 1, 255, 2, 2, 2, 255, 3, 3, 3, 255, 4, 4, 4, 255}));
    EXPECT_FALSE(DecodeBytes(decoder, HandMade(header, {0, 1, 2, 0, 3})));
    EXPECT_FALSE(DecodeBytes(decoder, HandMade(header, {0, 1, 2, 0, 3, 4, 9})));
}

// The file once made the decoder misbehave; it is a valid PNG.
TEST(RawPngDecoder, AnInputFoundByFuzzingDecodesLikeLibPng)
{
    const std::string bytes =
        TempDir::Read(VELMORA_IMAGE_TEST_DATA "/fuzz-regressions/grey1-sub-filter-left-of-first-byte.png");
    RawPngDecoder decoder;
    ASSERT_TRUE(DecodeBytes(decoder, bytes));
    EXPECT_EQ(Pixels(decoder), DecodeWithLibPng(bytes));
}
