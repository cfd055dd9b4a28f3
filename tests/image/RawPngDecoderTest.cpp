#include "image/RawPngDecoder.h"

#include "PngTestFiles.h"
#include "io/CMemoryStream.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdio>
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

// Makes the first pixel carry the colour key and the second differ from it
// in the last channel only, so both sides of the key test are exercised.
void UseFirstPixelAsKey(LibPngImage& image)
{
    image.hasKey = true;
    uint8_t* s = image.samples.data();
    switch (image.colourType << 8 | image.bitDepth)
    {
    case 0 << 8 | 1:
        image.key[0] = s[0] >> 7;
        break;
    case 0 << 8 | 8:
        image.key[0] = s[0];
        break;
    case 2 << 8 | 8:
        image.key[0] = s[0];
        image.key[1] = s[1];
        image.key[2] = s[2];
        if (image.width > 1)
        {
            s[3] = s[0];
            s[4] = s[1];
            s[5] = static_cast<uint8_t>(s[2] + 1);
        }
        break;
    case 2 << 8 | 16:
        image.key[0] = static_cast<uint16_t>(s[0] << 8 | s[1]);
        image.key[1] = static_cast<uint16_t>(s[2] << 8 | s[3]);
        image.key[2] = static_cast<uint16_t>(s[4] << 8 | s[5]);
        if (image.width > 1)
        {
            // Same high bytes, different low byte: only a full-depth compare tells them apart.
            std::copy(s, s + 6, s + 6);
            s[11] = static_cast<uint8_t>(s[5] ^ 1);
        }
        break;
    default:
        image.hasKey = false;
        break;
    }
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
                    LibPngImage image;
                    image.width = size.width;
                    image.height = size.height;
                    image.colourType = format.colourType;
                    image.bitDepth = format.bitDepth;
                    image.interlaced = interlaced;
                    image.filters = filters;
                    if (format.colourType == 3)
                        image.palette = TestPalette(format.bitDepth == 4 ? 16 : 200);
                    FillSamples(image, seed++, format.colourType == 3 ? (format.bitDepth == 4 ? 16 : 200) : 256);
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

TEST(RawPngDecoder, ColourKeysMatchLibPngAtFullDepth)
{
    for (const Format& format : {Format{0, 1}, Format{0, 8}, Format{2, 8}, Format{2, 16}})
    {
        for (bool interlaced : {false, true})
        {
            LibPngImage image;
            image.width = 11;
            image.height = 6;
            image.colourType = format.colourType;
            image.bitDepth = format.bitDepth;
            image.interlaced = interlaced;
            FillSamples(image, 77);
            UseFirstPixelAsKey(image);
            ASSERT_TRUE(image.hasKey);
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
    }
}

TEST(RawPngDecoder, PaletteAlphaMatchesLibPng)
{
    for (int depth : {4, 8})
    {
        for (bool interlaced : {false, true})
        {
            LibPngImage image;
            image.width = 19;
            image.height = 7;
            image.colourType = 3;
            image.bitDepth = depth;
            image.interlaced = interlaced;
            image.palette = TestPalette(16);
            // Entry 1 transparent, entries 0 and 2 partly, the rest opaque.
            image.paletteAlpha = {128, 0, 77};
            FillSamples(image, 5, 16);
            SCOPED_TRACE("depth " + std::to_string(depth) + (interlaced ? " interlaced" : ""));
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
            LibPngImage image;
            image.width = 150;
            image.height = 120;
            image.colourType = 2;
            image.bitDepth = 8;
            image.level = level;
            image.strategy = strategy;
            image.idatBytes = 1000;  // many IDAT chunks
            FillSamples(image, static_cast<uint32_t>(level * 10 + strategy + 1));
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
        LibPngImage image;
        image.width = 5;
        image.height = 3;
        image.colourType = format.colourType;
        image.bitDepth = format.bitDepth;
        if (format.colourType == 3)
            image.palette = TestPalette(2);
        FillSamples(image, 9, 2);
        RawPngDecoder decoder;
        EXPECT_FALSE(DecodeBytes(decoder, EncodeWithLibPng(image)))
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
        const std::string path = std::string(VELMORA_IMAGE_TEST_DATA) + "/fuzz-regressions/" + name;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr) << path;
        std::string bytes;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, n);
        std::fclose(file);
        RawPngDecoder decoder;
        ASSERT_TRUE(DecodeBytes(decoder, bytes)) << name;
        EXPECT_EQ(Pixels(decoder), DecodeWithLibPng(bytes)) << name;
    }
}
