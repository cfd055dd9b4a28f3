#include "image/RawPngDecoder.h"

#include "PngTestFiles.h"
#include "io/CMemoryStream.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

bool DecodeBytes(RawPngDecoder& decoder, const std::string& bytes)
{
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Seek(0, CStream::FromStart);
    return decoder.Decode(stream);
}

std::vector<uint8_t> Pixels(const RawPngDecoder& decoder)
{
    const uint8_t* pixels = decoder.Pixels();
    return std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(decoder.width) * decoder.height * 4);
}

// Decodes with both decoders and expects the same RGBA bytes.
void ExpectSameAsLibPng(const LibPngImage& image)
{
    const std::string png = EncodeWithLibPng(image);
    ASSERT_FALSE(png.empty());
    RawPngDecoder decoder;
    ASSERT_TRUE(DecodeBytes(decoder, png));
    ASSERT_EQ(decoder.width, image.width);
    ASSERT_EQ(decoder.height, image.height);
    const std::vector<uint8_t> expected = DecodeWithLibPng(png);
    const std::vector<uint8_t> actual = Pixels(decoder);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        ASSERT_EQ(actual[i], expected[i]) << "pixel " << i / 4 % image.width << "," << i / 4 / image.width
                                          << " channel " << i % 4;
    }
}

std::vector<uint8_t> TestPalette(unsigned entries)
{
    std::vector<uint8_t> palette;
    for (unsigned i = 0; i < entries; ++i)
    {
        palette.push_back(static_cast<uint8_t>(i * 37 + 5));
        palette.push_back(static_cast<uint8_t>(255 - i * 11));
        palette.push_back(static_cast<uint8_t>(i * i));
    }
    return palette;
}

struct Format
{
    int colourType;
    int bitDepth;
};

constexpr Format kSupported[] = {{0, 1}, {0, 8}, {2, 8}, {2, 16}, {3, 4}, {3, 8}, {4, 8}, {6, 8}};

struct Size
{
    uint32_t width;
    uint32_t height;
};

constexpr Size kSizes[] = {{1, 1}, {1, 9}, {9, 1}, {7, 5}, {13, 11}, {33, 17}};

constexpr int kFilters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB,   PNG_FILTER_UP,
                            PNG_FILTER_AVG,  PNG_FILTER_PAETH, PNG_ALL_FILTERS};

// An image of the format filled by FillSamples; palette images get a palette
// of paletteSize entries and indices below it.
LibPngImage MakeImage(Format format, uint32_t width, uint32_t height, uint32_t seed, unsigned paletteSize = 0)
{
    LibPngImage image;
    image.width = width;
    image.height = height;
    image.colourType = format.colourType;
    image.bitDepth = format.bitDepth;
    if (paletteSize == 0)
        paletteSize = format.colourType != 3 ? 256 : format.bitDepth == 4 ? 16 : 200;
    if (format.colourType == 3)
        image.palette = TestPalette(paletteSize);
    FillSamples(image, seed, paletteSize);
    return image;
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

TEST(RawPngDecoder, MatchesLibPngForEveryFormatFilterInterlaceAndSize)
{
    uint32_t seed = 1;
    for (const Format& format : kSupported)
    {
        for (bool interlaced : {false, true})
        {
            for (int filters : kFilters)
            {
                for (const Size& size : kSizes)
                {
                    LibPngImage image = MakeImage(format, size.width, size.height, seed++);
                    image.interlaced = interlaced;
                    image.filters = filters;
                    SCOPED_TRACE("colour type " + std::to_string(format.colourType) + " depth " +
                                 std::to_string(format.bitDepth) + (interlaced ? " interlaced" : "") + " filters " +
                                 std::to_string(filters) + " size " + std::to_string(size.width) + "x" +
                                 std::to_string(size.height));
                    ExpectSameAsLibPng(image);
                }
            }
        }
    }
}

// Colour keys compared at full depth, and palette alpha: entry 1 transparent,
// entries 0 and 2 partly, the rest opaque.
TEST(RawPngDecoder, TransparencyMatchesLibPng)
{
    for (bool interlaced : {false, true})
    {
        for (const Format& format : {Format{0, 1}, Format{0, 8}, Format{2, 8}, Format{2, 16}})
        {
            LibPngImage image = MakeImage(format, 11, 6, 77);
            image.interlaced = interlaced;
            UseFirstPixelAsKey(image);
            SCOPED_TRACE("colour type " + std::to_string(format.colourType) + " depth " +
                         std::to_string(format.bitDepth) + (interlaced ? " interlaced" : ""));
            ExpectSameAsLibPng(image);

            RawPngDecoder decoder;
            ASSERT_TRUE(DecodeBytes(decoder, EncodeWithLibPng(image)));
            EXPECT_EQ(decoder.Pixels()[3], 0) << "the key pixel is transparent";
            if (format.bitDepth != 1)
            {
                EXPECT_EQ(decoder.Pixels()[7], 255) << "a near miss stays opaque";
            }
        }
        for (int depth : {4, 8})
        {
            LibPngImage image = MakeImage({3, depth}, 19, 7, 5, 16);
            image.interlaced = interlaced;
            image.paletteAlpha = {128, 0, 77};
            SCOPED_TRACE("palette depth " + std::to_string(depth) + (interlaced ? " interlaced" : ""));
            ExpectSameAsLibPng(image);
        }
    }
}

TEST(RawPngDecoder, MatchesLibPngForEveryCompressionStrategyAndSplitImageData)
{
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    for (int level : {0, 1, 6, 9})
    {
        for (int strategy : strategies)
        {
            LibPngImage image = MakeImage({2, 8}, 150, 120, static_cast<uint32_t>(level * 10 + strategy + 1));
            image.level = level;
            image.strategy = strategy;
            image.idatBytes = 1000;  // many IDAT chunks
            SCOPED_TRACE("level " + std::to_string(level) + " strategy " + std::to_string(strategy));
            ExpectSameAsLibPng(image);
        }
    }
}

TEST(RawPngDecoder, RefusesUnsupportedFormats)
{
    const Format unsupported[] = {{0, 2}, {0, 4}, {0, 16}, {3, 1}, {3, 2}, {4, 16}, {6, 16}};
    for (const Format& format : unsupported)
    {
        RawPngDecoder decoder;
        EXPECT_FALSE(DecodeBytes(decoder, EncodeWithLibPng(MakeImage(format, 5, 3, 9, 2))))
            << "colour type " << format.colourType << " depth " << format.bitDepth;
    }
}

TEST(RawPngDecoder, UnfiltersEachFilterTypeAsWorkedByHand)
{
    // Two rows of two RGB pixels; row 0 uses Sub, row 1 the filter under test.
    // Row 0 raw: (10,20,30) (5,5,5) → pixels (10,20,30) (15,25,35).
    struct Case
    {
        uint8_t filter;
        uint8_t expected[6];  // row 1 pixels for raw bytes (1,2,3) (4,5,6)
    };
    const Case cases[] = {
        {0, {1, 2, 3, 4, 5, 6}},
        {1, {1, 2, 3, 5, 7, 9}},        // + left
        {2, {11, 22, 33, 19, 30, 41}},  // + above
        // + floor((left + above) / 2): (0+10)/2=5, (0+20)/2=10, (0+30)/2=15;
        // then left (6,12,18), above (15,25,35): 10, 18, 26.
        {3, {6, 12, 18, 14, 23, 32}},
        // Paeth, first pixel: left 0, above (10,20,30), upper left 0 → above.
        // Second: left (11,22,33), above (15,25,35), upper left (10,20,30):
        // p = 16,27,38; distances to left 5,5,5, above 1,2,3, upper left 6,7,8 → above.
        {4, {11, 22, 33, 19, 30, 41}},
        {5, {1, 2, 3, 4, 5, 6}},  // unknown: left as it is
    };
    for (const Case& c : cases)
    {
        const std::vector<uint8_t> raw = {1, 10, 20, 30, 5, 5, 5, c.filter, 1, 2, 3, 4, 5, 6};
        const std::string png =
            PngFile().Header(2, 2, 8, 2).Chunk("IDAT", Deflate(raw)).Chunk("IEND", {}).Bytes();
        RawPngDecoder decoder;
        ASSERT_TRUE(DecodeBytes(decoder, png)) << "filter " << int(c.filter);
        const std::vector<uint8_t> pixels = Pixels(decoder);
        const std::vector<uint8_t> firstRow = {10, 20, 30, 255, 15, 25, 35, 255};
        EXPECT_EQ(std::vector<uint8_t>(pixels.begin(), pixels.begin() + 8), firstRow);
        const std::vector<uint8_t> secondRow = {c.expected[0], c.expected[1], c.expected[2], 255,
                                                c.expected[3], c.expected[4], c.expected[5], 255};
        EXPECT_EQ(std::vector<uint8_t>(pixels.begin() + 8, pixels.end()), secondRow) << "filter " << int(c.filter);
    }
}

// Small images worked by hand; no pixels expected means the file is refused.
TEST(RawPngDecoder, SmallImagesDecodeAsWorkedByHand)
{
    using Pixels8 = std::vector<uint8_t>;
    const struct
    {
        const char* what;
        std::string png;
        Pixels8 pixels;
    } cases[] = {
        {"16-bit truecolour keeps the high byte",
         PngFile().Header(1, 1, 16, 2).Chunk("IDAT", Deflate({0, 0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x01}))
             .Chunk("IEND", {}).Bytes(),
         {0x12, 0xAB, 0xFF, 255}},
        // 10 pixels: 1011 0000 01xx xxxx.
        {"1-bit grey is black and white, most significant bit first",
         PngFile().Header(10, 1, 1, 0).Chunk("IDAT", Deflate({0, 0xB0, 0x7F})).Chunk("IEND", {}).Bytes(),
         {255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0, 255,
          0,   0,   0,   255, 0, 0, 0, 255, 0,   0,   0,   255, 0,   0,   0,   255, 255, 255, 255, 255}},
        // Palette of two entries; indices 0, 1, 2, 255.
        {"indices beyond the palette stay transparent black",
         PngFile().Header(4, 1, 8, 3).Chunk("PLTE", {10, 20, 30, 40, 50, 60})
             .Chunk("IDAT", Deflate({0, 0, 1, 2, 255})).Chunk("IEND", {}).Bytes(),
         {10, 20, 30, 255, 40, 50, 60, 255, 0, 0, 0, 0, 0, 0, 0, 0}},
        // Indices 1, 0, 2 and a pad nibble.
        {"4-bit palette takes the high nibble first",
         PngFile().Header(3, 1, 4, 3).Chunk("PLTE", {1, 2, 3, 4, 5, 6, 7, 8, 9}).Chunk("tRNS", {255, 0})
             .Chunk("IDAT", Deflate({0, 0x10, 0x20})).Chunk("IEND", {}).Bytes(),
         {4, 5, 6, 0, 1, 2, 3, 255, 7, 8, 9, 255}},
        {"a palette image without palette is refused",
         PngFile().Header(1, 1, 8, 3).Chunk("IDAT", Deflate({0, 0})).Chunk("IEND", {}).Bytes(), {}},
    };
    for (const auto& c : cases)
    {
        RawPngDecoder decoder;
        ASSERT_EQ(DecodeBytes(decoder, c.png), !c.pixels.empty()) << c.what;
        if (!c.pixels.empty())
        {
            EXPECT_EQ(Pixels(decoder), c.pixels) << c.what;
        }
    }
}

// A 2 × 2 grey image needs 2 × (1 + 2) = 6 bytes, in one IDAT chunk or many.
TEST(RawPngDecoder, ImageDataMustBeExactAndMayBeSplit)
{
    const std::vector<uint8_t> exact = {0, 1, 2, 0, 3, 4};
    const std::vector<uint8_t> shortData(exact.begin(), exact.end() - 1);
    std::vector<uint8_t> longData = exact;
    longData.push_back(9);
    RawPngDecoder decoder;
    auto file = [](const std::vector<uint8_t>& raw) {
        return PngFile().Header(2, 2, 8, 0).Chunk("IDAT", Deflate(raw)).Chunk("IEND", {}).Bytes();
    };
    const std::vector<uint8_t> pixels = {1, 1, 1, 255, 2, 2, 2, 255, 3, 3, 3, 255, 4, 4, 4, 255};
    EXPECT_TRUE(DecodeBytes(decoder, file(exact)));
    EXPECT_EQ(Pixels(decoder), pixels);
    EXPECT_FALSE(DecodeBytes(decoder, file(shortData)));
    EXPECT_FALSE(DecodeBytes(decoder, file(longData)));
    PngFile split;
    split.Header(2, 2, 8, 0);
    for (uint8_t byte : Deflate(exact))
        split.Chunk("IDAT", {byte});
    split.Chunk("IEND", {});
    ASSERT_TRUE(DecodeBytes(decoder, split.Bytes()));
    EXPECT_EQ(Pixels(decoder), pixels);
}

TEST(RawPngDecoder, ADecoderUsedTwiceKeepsNothingOfTheFirstImage)
{
    // First a grey image keyed on 7, then a plain grey image
    // whose every sample equals the old key and whose rows use Up.
    RawPngDecoder decoder;
    const std::string first = PngFile()
                                  .Header(2, 1, 8, 0)
                                  .Chunk("tRNS", {0, 7})
                                  .Chunk("IDAT", Deflate({0, 7, 9}))
                                  .Chunk("IEND", {})
                                  .Bytes();
    ASSERT_TRUE(DecodeBytes(decoder, first));
    EXPECT_EQ(decoder.Pixels()[3], 0);
    const std::string second =
        PngFile().Header(1, 2, 8, 0).Chunk("IDAT", Deflate({2, 7, 2, 0})).Chunk("IEND", {}).Bytes();
    ASSERT_TRUE(DecodeBytes(decoder, second));
    EXPECT_EQ(Pixels(decoder), (std::vector<uint8_t>{7, 7, 7, 255, 7, 7, 7, 255}));
}

TEST(RawPngDecoder, InterlacedPassesLandAtTheirPositions)
{
    // An 8 × 8 grey image whose sample is the number of its Adam7 pass.
    const int passOf[8][8] = {{1, 6, 4, 6, 2, 6, 4, 6}, {7, 7, 7, 7, 7, 7, 7, 7}, {5, 6, 5, 6, 5, 6, 5, 6},
                              {7, 7, 7, 7, 7, 7, 7, 7}, {3, 6, 4, 6, 3, 6, 4, 6}, {7, 7, 7, 7, 7, 7, 7, 7},
                              {5, 6, 5, 6, 5, 6, 5, 6}, {7, 7, 7, 7, 7, 7, 7, 7}};
    // Pass sizes (columns × rows): 1×1, 1×1, 2×1, 2×2, 4×2, 4×4, 8×4.
    const int columns[7] = {1, 1, 2, 2, 4, 4, 8};
    const int rows[7] = {1, 1, 1, 2, 2, 4, 4};
    std::vector<uint8_t> raw;
    for (int pass = 0; pass < 7; ++pass)
    {
        for (int r = 0; r < rows[pass]; ++r)
        {
            raw.push_back(0);
            raw.insert(raw.end(), columns[pass], static_cast<uint8_t>(pass + 1));
        }
    }
    const std::string png = PngFile().Header(8, 8, 8, 0, 1).Chunk("IDAT", Deflate(raw)).Chunk("IEND", {}).Bytes();
    RawPngDecoder decoder;
    ASSERT_TRUE(DecodeBytes(decoder, png));
    for (int y = 0; y < 8; ++y)
    {
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(decoder.Pixels()[(y * 8 + x) * 4], passOf[y][x]) << x << "," << y;
    }
}

TEST(RawPngDecoder, InputsFoundByFuzzingDecodeLikeLibPng)
{
    // Each file once made the decoder misbehave; all are valid PNGs.
    const char* files[] = {"grey1-sub-filter-left-of-first-byte.png"};
    for (const char* name : files)
    {
        const std::string bytes = TempDir::Read(std::string(VELMORA_IMAGE_TEST_DATA) + "/fuzz-regressions/" + name);
        ASSERT_FALSE(bytes.empty()) << name;
        RawPngDecoder decoder;
        ASSERT_TRUE(DecodeBytes(decoder, bytes)) << name;
        EXPECT_EQ(Pixels(decoder), DecodeWithLibPng(bytes)) << name;
    }
}
