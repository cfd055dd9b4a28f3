#include "image/GenericPngDecoder.h"

#include "PngTestFiles.h"
#include "io/CMemoryStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the chunk loop hands on.
class CRecordingDecoder : public GenericPngDecoder
{
public:
    bool Begin() override
    {
        ++begins;
        return acceptBegin;
    }
    bool Put(const uint8_t* bytes, size_t count) override
    {
        received.insert(received.end(), bytes, bytes + count);
        return received.size() <= putLimit;
    }
    bool End() override
    {
        ++ends;
        return true;
    }

    int begins = 0;
    int ends = 0;
    bool acceptBegin = true;
    size_t putLimit = SIZE_MAX;
    std::vector<uint8_t> received;
};

bool DecodeBytes(GenericPngDecoder& decoder, const std::string& bytes, int32_t at = 0)
{
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Seek(at, CStream::FromStart);
    return decoder.Decode(stream);
}

const std::vector<uint8_t> kRaw = {0, 10, 20, 30, 0, 40, 50, 60};  // 1 × 2 RGB rows

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

TEST(GenericPngDecoder, HandsOnTheInflatedImageDataOfAllIdatChunks)
{
    const std::vector<uint8_t> packed = Deflate(kRaw);
    const size_t half = packed.size() / 2;
    const std::string png = PngFile()
                                .Header(1, 2, 8, 2)
                                .Chunk("tEXt", Bytes("Comment\0ignored"))
                                .Chunk("IDAT", std::vector<uint8_t>(packed.begin(), packed.begin() + half))
                                .Chunk("zzZz", Bytes("private"))
                                .Chunk("IDAT", std::vector<uint8_t>(packed.begin() + half, packed.end()))
                                .Chunk("IEND", {})
                                .Bytes();
    CRecordingDecoder decoder;
    EXPECT_TRUE(DecodeBytes(decoder, png));
    EXPECT_EQ(decoder.begins, 1);
    EXPECT_EQ(decoder.ends, 1);
    EXPECT_EQ(decoder.received, kRaw);
    EXPECT_EQ(decoder.width, 1u);
    EXPECT_EQ(decoder.height, 2u);
    EXPECT_EQ(decoder.bitDepth, 8);
    EXPECT_EQ(decoder.colourType, 2);
    EXPECT_EQ(decoder.interlace, 0);
    EXPECT_EQ(decoder.gamma, GenericPngDecoder::kDefaultGamma);
}

TEST(GenericPngDecoder, ReadsGammaKeysAndPalette)
{
    CRecordingDecoder decoder;
    const std::string truecolour = PngFile()
                                       .Header(1, 2, 8, 2)
                                       .Chunk("gAMA", {0, 0, 0xB1, 0x8F})
                                       .Chunk("tRNS", {0x01, 0x02, 0x03, 0x04, 0x05, 0x06})
                                       .Chunk("IDAT", Deflate(kRaw))
                                       .Chunk("IEND", {})
                                       .Bytes();
    ASSERT_TRUE(DecodeBytes(decoder, truecolour));
    EXPECT_EQ(decoder.gamma, 45455u);
    EXPECT_EQ(decoder.transparent[0], 0x0102);
    EXPECT_EQ(decoder.transparent[1], 0x0304);
    EXPECT_EQ(decoder.transparent[2], 0x0506);

    const std::string grey = PngFile()
                                 .Header(2, 1, 8, 0)
                                 .Chunk("tRNS", {0x00, 0x2A})
                                 .Chunk("IDAT", Deflate({0, 1, 2}))
                                 .Chunk("IEND", {})
                                 .Bytes();
    ASSERT_TRUE(DecodeBytes(decoder, grey));
    EXPECT_EQ(decoder.transparent[0], 42);
    EXPECT_EQ(decoder.transparent[1], GenericPngDecoder::kNoKey);
    EXPECT_EQ(decoder.gamma, GenericPngDecoder::kDefaultGamma) << "a new decode starts afresh";

    const std::string palette = PngFile()
                                    .Header(2, 1, 8, 3)
                                    .Chunk("PLTE", {9, 9, 9})
                                    .Chunk("PLTE", {1, 2, 3, 4, 5, 6})
                                    .Chunk("tRNS", {7})
                                    .Chunk("IDAT", Deflate({0, 1, 0}))
                                    .Chunk("IEND", {})
                                    .Bytes();
    ASSERT_TRUE(DecodeBytes(decoder, palette));
    EXPECT_EQ(decoder.paletteCount, 2u);
    EXPECT_EQ(decoder.palette, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(decoder.paletteAlpha, (std::vector<uint8_t>{7}));
    EXPECT_EQ(decoder.transparent[0], GenericPngDecoder::kNoKey);
}

TEST(GenericPngDecoder, RefusesMalformedFilesBeforeBegin)
{
    const std::vector<uint8_t> packed = Deflate(kRaw);
    std::string wrongSignature = PngFile().Header(1, 2, 8, 2).Chunk("IDAT", packed).Bytes();
    wrongSignature[1] = 'p';
    const std::string noHeader = PngFile().Chunk("IDAT", packed).Chunk("IEND", {}).Bytes();
    const std::string headerNotFirst =
        PngFile().Chunk("gAMA", {0, 0, 0, 1}).Header(1, 2, 8, 2).Chunk("IDAT", packed).Bytes();
    const std::string twoHeaders = PngFile().Header(1, 2, 8, 2).Header(1, 2, 8, 2).Chunk("IDAT", packed).Bytes();
    const std::string shortHeader = PngFile().Chunk("IHDR", {0, 0, 0, 1, 0, 0, 0, 2, 8, 2, 0, 0}).Chunk("IDAT", packed).Bytes();
    const std::string badPalette = PngFile().Header(1, 2, 8, 2).Chunk("PLTE", {1, 2, 3, 4}).Chunk("IDAT", packed).Bytes();
    const std::string onlySignature = PngFile().Bytes();
    const std::string empty;
    const std::pair<const char*, const std::string*> files[] = {
        {"wrong signature", &wrongSignature}, {"no header", &noHeader},       {"header not first", &headerNotFirst},
        {"two headers", &twoHeaders},         {"short header", &shortHeader}, {"bad palette", &badPalette},
        {"only signature", &onlySignature},   {"empty", &empty}};
    for (const auto& file : files)
    {
        CRecordingDecoder decoder;
        EXPECT_FALSE(DecodeBytes(decoder, *file.second)) << file.first;
        EXPECT_EQ(decoder.begins, 0) << file.first;
    }
}

TEST(GenericPngDecoder, RefusesImpossibleHeadersBeforeBegin)
{
    struct Header
    {
        uint32_t width, height;
        uint8_t depth, colourType, interlace;
        uint8_t compression, filterMethod;
    };
    const Header headers[] = {
        {0, 2, 8, 2, 0, 0, 0},              // no columns
        {1, 0, 8, 2, 0, 0, 0},              // no rows
        {0x80000000u, 1, 8, 2, 0, 0, 0},    // beyond the PNG limit
        {8193, 8192, 8, 2, 0, 0, 0},        // just over 64 megapixels
        {0xFFFFFFF, 0xFFFFFFF, 8, 6, 0, 0, 0},  // width × height × 4 overflows 32 bits
        {1, 2, 8, 5, 0, 0, 0},              // no such colour type
        {1, 2, 8, 2, 2, 0, 0},              // no such interlace method
        {1, 2, 8, 2, 0, 1, 0},              // no such compression method
        {1, 2, 8, 2, 0, 0, 1},              // no such filter method
        {4000, 4000, 8, 2, 0, 0, 0},        // 48 MB of pixels from a few bytes of data
    };
    for (const Header& h : headers)
    {
        const std::string png = PngFile()
                                    .Header(h.width, h.height, h.depth, h.colourType, h.interlace, h.compression,
                                            h.filterMethod)
                                    .Chunk("IDAT", Deflate(kRaw))
                                    .Chunk("IEND", {})
                                    .Bytes();
        CRecordingDecoder decoder;
        EXPECT_FALSE(DecodeBytes(decoder, png)) << h.width << " x " << h.height;
        EXPECT_EQ(decoder.begins, 0) << h.width << " x " << h.height;
    }
    // The largest image allowed passes the header checks (and fails for want of data).
    const std::string largest = PngFile().Header(8192, 8192, 8, 6).Chunk("IDAT", std::vector<uint8_t>(300000)).Bytes();
    CRecordingDecoder decoder;
    decoder.acceptBegin = false;
    EXPECT_FALSE(DecodeBytes(decoder, largest));
    EXPECT_EQ(decoder.begins, 1);
}

TEST(GenericPngDecoder, AChunkCutShortEndsTheFileButKeepsTheDataBeforeIt)
{
    const std::string complete = PngFile().Header(1, 2, 8, 2).Chunk("IDAT", Deflate(kRaw)).Bytes();
    const std::string cases[] = {
        // A last chunk claiming 1000 bytes, then only three of them.
        complete + std::string("\x00\x00\x03\xE8IDAT\x01\x02\x03", 11),
        // A length of 4 GiB - 1 is no reason to allocate anything.
        complete + std::string("\xFF\xFF\xFF\xFFIDAT", 8),
        // The CRC of the last chunk may be missing.
        complete.substr(0, complete.size() - 4),
    };
    for (const std::string& png : cases)
    {
        CRecordingDecoder decoder;
        EXPECT_TRUE(DecodeBytes(decoder, png));
        EXPECT_EQ(decoder.received, kRaw);
    }
}

TEST(GenericPngDecoder, StopsAtIendAndReadsFromTheCurrentPosition)
{
    const std::string png = PngFile()
                                .Header(1, 2, 8, 2)
                                .Chunk("IDAT", Deflate(kRaw))
                                .Chunk("IEND", {})
                                .Chunk("IDAT", Deflate({1, 2, 3}))
                                .Bytes();
    CRecordingDecoder decoder;
    EXPECT_TRUE(DecodeBytes(decoder, "prefix" + png, 6));
    EXPECT_EQ(decoder.received, kRaw);
}

TEST(GenericPngDecoder, FailsWhenBeginOrPutRefuses)
{
    const std::string png = PngFile().Header(1, 2, 8, 2).Chunk("IDAT", Deflate(kRaw)).Chunk("IEND", {}).Bytes();
    CRecordingDecoder refusesBegin;
    refusesBegin.acceptBegin = false;
    EXPECT_FALSE(DecodeBytes(refusesBegin, png));
    EXPECT_TRUE(refusesBegin.received.empty());
    EXPECT_EQ(refusesBegin.ends, 0);

    CRecordingDecoder refusesPut;
    refusesPut.putLimit = 3;
    EXPECT_FALSE(DecodeBytes(refusesPut, png));
    EXPECT_EQ(refusesPut.ends, 0);
}

TEST(GenericPngDecoder, CorruptImageDataFails)
{
    std::vector<uint8_t> packed = Deflate(kRaw);
    packed[0] = 0x79;  // compression method 9
    const std::string png = PngFile().Header(1, 2, 8, 2).Chunk("IDAT", packed).Chunk("IEND", {}).Bytes();
    CRecordingDecoder decoder;
    EXPECT_FALSE(DecodeBytes(decoder, png));
}
