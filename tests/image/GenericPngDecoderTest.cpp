#include "image/GenericPngDecoder.h"

#include "PngTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// Records what the chunk loop hands on.
class CRecordingDecoder : public GenericPngDecoder
{
public:
    bool Begin() override
    {
        ++begins;
        return true;
    }
    bool Put(const uint8_t* bytes, size_t count) override
    {
        received.insert(received.end(), bytes, bytes + count);
        return true;
    }
    bool End() override
    {
        ++ends;
        return true;
    }

    int begins = 0;
    int ends = 0;
    std::vector<uint8_t> received;
};

const std::vector<uint8_t> kRaw = {0, 10, 20, 30, 0, 40, 50, 60};  // 1 × 2 RGB rows

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

}  // namespace

// Other chunks between the IDAT chunks are skipped; nothing after IEND is read.
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
                                .Chunk("IDAT", Deflate({1, 2, 3}))
                                .Bytes();
    CRecordingDecoder decoder;
    EXPECT_TRUE(DecodeBytes(decoder, "prefix" + png, 6));
    EXPECT_EQ(decoder.begins, 1);
    EXPECT_EQ(decoder.ends, 1);
    EXPECT_EQ(decoder.received, kRaw);
}

// Malformed files and impossible headers: refused before Begin is called.
TEST(GenericPngDecoder, RefusesMalformedFilesAndImpossibleHeadersBeforeBegin)
{
    const std::vector<uint8_t> packed = Deflate(kRaw);
    auto image = [&packed](uint32_t width, uint32_t height, uint8_t colourType = 2, uint8_t interlace = 0,
                           uint8_t compression = 0, uint8_t filterMethod = 0)
    {
        const PngFile header = PngFile().Header(width, height, 8, colourType, interlace, compression, filterMethod);
        return PngFile(header).Chunk("IDAT", packed).Bytes();
    };
    std::string wrongSignature = image(1, 2);
    wrongSignature[1] = 'p';
    const std::vector<uint8_t> shortHeader = {0, 0, 0, 1, 0, 0, 0, 2, 8, 2, 0, 0};
    const std::pair<const char*, std::string> files[] = {
        {"wrong signature", wrongSignature},
        {"no header", PngFile().Chunk("IDAT", packed).Bytes()},
        {"header not first", PngFile().Chunk("gAMA", {0, 0, 0, 1}).Header(1, 2, 8, 2).Chunk("IDAT", packed).Bytes()},
        {"two headers", PngFile().Header(1, 2, 8, 2).Header(1, 2, 8, 2).Chunk("IDAT", packed).Bytes()},
        {"short header", PngFile().Chunk("IHDR", shortHeader).Chunk("IDAT", packed).Bytes()},
        {"bad palette", PngFile().Header(1, 2, 8, 2).Chunk("PLTE", {1, 2, 3, 4}).Chunk("IDAT", packed).Bytes()},
        {"beyond the PNG limit", image(0x80000000u, 1)},
        {"just over 64 megapixels", image(8193, 8192)},
        {"width × height × 4 overflows 32 bits", image(0xFFFFFFF, 0xFFFFFFF, 6)},
        {"no such colour type", image(1, 2, 5)},
        {"no such filter method", image(1, 2, 2, 0, 0, 1)},
        {"48 MB of pixels from a few bytes of data", image(4000, 4000)},
    };
    for (const auto& file : files)
    {
        CRecordingDecoder decoder;
        EXPECT_FALSE(DecodeBytes(decoder, file.second)) << file.first;
        EXPECT_EQ(decoder.begins, 0) << file.first;
    }
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
