#include "image/CPngPicture.h"

#include "PngTestFiles.h"
#include "io/CMemoryStream.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A 3 × 2 RGBA image: each pixel (x, y, x + y, 255 - 40 x), filter None.
std::string SmallPng()
{
    std::vector<uint8_t> raw;
    for (uint8_t y = 0; y < 2; ++y)
    {
        raw.push_back(0);
        for (uint8_t x = 0; x < 3; ++x)
            raw.insert(raw.end(), {x, y, static_cast<uint8_t>(x + y), static_cast<uint8_t>(255 - 40 * x)});
    }
    return PngFile().Header(3, 2, 8, 6).Chunk("IDAT", Deflate(raw)).Chunk("IEND", {}).Bytes();
}

void ExpectSmallPicture(const CPngPicture& picture)
{
    ASSERT_TRUE(picture.IsValid());
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    const uint8_t* pixels = picture.Pixels();
    ASSERT_NE(pixels, nullptr);
    for (int y = 0; y < 2; ++y)
    {
        for (int x = 0; x < 3; ++x)
        {
            const uint8_t* p = pixels + (y * 3 + x) * 4;
            EXPECT_EQ(p[0], x);
            EXPECT_EQ(p[1], y);
            EXPECT_EQ(p[2], x + y);
            EXPECT_EQ(p[3], 255 - 40 * x);
        }
    }
}

}  // namespace

TEST(CPngPicture, DecodesAFileOrAStream)
{
    TempDir dir;
    ExpectSmallPicture(CPngPicture(dir.Write("small.png", SmallPng()).c_str()));
    CMemoryStream stream;
    const std::string png = SmallPng();
    stream.Write(png.data(), static_cast<int32_t>(png.size()));
    stream.Seek(0, CStream::FromStart);
    ExpectSmallPicture(CPngPicture(stream));
}

TEST(CPngPicture, AMissingOrBrokenFileGivesAnInvalidEmptyPicture)
{
    TempDir dir;
    const CPngPicture missing(dir.File("absent.png").c_str());
    EXPECT_FALSE(missing.IsValid());
    EXPECT_EQ(missing.Width(), 0);
    EXPECT_EQ(missing.Height(), 0);
    EXPECT_EQ(missing.Pixels(), nullptr);

    std::string png = SmallPng();
    png.resize(png.size() - 30);  // the image data is cut short
    const CPngPicture broken(dir.Write("broken.png", png).c_str());
    EXPECT_FALSE(broken.IsValid());
    EXPECT_EQ(broken.Width(), 0);
    EXPECT_EQ(broken.Pixels(), nullptr);
}
