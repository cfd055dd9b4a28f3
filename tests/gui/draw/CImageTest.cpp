#include "gui/draw/CGraphic.h"
#include "gui/draw/CImage.h"
#include "gui/platform/CSoftContext.h"
#include "image/PngTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// 3 x 2: top row opaque red, half green (alpha 128), transparent; bottom row opaque blue.
std::string SamplePng()
{
    LibPngImage image;
    image.width = 3;
    image.height = 2;
    image.samples = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255};
    return EncodeWithLibPng(image);
}

class Image : public ::testing::Test
{
protected:
    Image() : dc(8, 8), g(&dc)
    {
        const std::string bytes = SamplePng();
        chunk.stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
        g.FillRect(0xFFFFFF, Rect{0, 0, 8, 8});
    }

    CImageChunk chunk;
    CSoftContext dc;
    CGraphic g;
};

TEST_F(Image, ResolvesTransparencyOnceAgainstItsBackground)
{
    CImage image(&chunk, 0x000000);
    image.Draw(g, 2, 3, 0, 0, 3, 2);
    EXPECT_EQ(dc.GetPixel(2, 3), 0x0000FFu);
    EXPECT_EQ(dc.GetPixel(3, 3), 0x008000u);  // half green over black, not over the white surface
    EXPECT_EQ(dc.GetPixel(4, 3), 0x000000u);  // transparent shows the background colour
    EXPECT_EQ(dc.GetPixel(4, 4), 0xFF0000u);
    EXPECT_EQ(dc.GetPixel(5, 3), 0xFFFFFFu);
}

TEST_F(Image, CopiesTheRequestedPartToTheOrigin)
{
    CImage image(&chunk, 0x000000);
    g.originX = 4;
    g.originY = 1;
    image.Draw(g, 0, 0, 1, 0, 1, 2);
    EXPECT_EQ(dc.GetPixel(4, 1), 0x008000u);
    EXPECT_EQ(dc.GetPixel(4, 2), 0xFF0000u);
    EXPECT_EQ(dc.GetPixel(5, 1), 0xFFFFFFu);
    EXPECT_EQ(dc.GetPixel(3, 1), 0xFFFFFFu);
}

TEST_F(Image, ASourceThatDoesNotDecodeDrawsNothing)
{
    CImageChunk broken;
    broken.stream.Write("not a picture", 13);
    CImage image(&broken, 0x000000);
    image.Draw(g, 0, 0, 0, 0, 3, 2);
    EXPECT_EQ(image.cache, nullptr);
    EXPECT_EQ(dc.GetPixel(0, 0), 0xFFFFFFu);
}

}  // namespace
