#include "gui/draw/CGraphic.h"
#include "gui/draw/CImageChunk.h"
#include "gui/platform/CSoftContext.h"
#include "image/CPngPicture.h"
#include "image/PngTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// A 2 x 2 picture: opaque red, half-transparent red (alpha 128), fully
// transparent green, opaque blue.
std::string SamplePng()
{
    LibPngImage image;
    image.width = 2;
    image.height = 2;
    image.samples = {255, 0, 0, 255, 255, 0, 0, 128, 0, 255, 0, 0, 0, 0, 255, 255};
    return EncodeWithLibPng(image);
}

void Fill(CImageChunk& chunk, const std::string& bytes)
{
    chunk.stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

TEST(CImageChunk, DecodesOnFirstDrawAgainAfterUnloadAndCompositesWithAlpha)
{
    CImageChunk chunk;
    Fill(chunk, SamplePng());
    EXPECT_EQ(chunk.picture, nullptr);
    CSoftContext dc(4, 4);
    CGraphic g(&dc);
    g.FillRect(0xFFFFFF, Rect{0, 0, 4, 4});
    chunk.Draw(g, 1, 1);
    EXPECT_EQ(chunk.height, 2);
    EXPECT_EQ(dc.GetPixel(1, 1), 0x0000FFu);
    // 128/255 red over white: red (255*128 + 255*127 + 127) / 255 = 255,
    // green and blue (255*127 + 127) / 255 = 127.
    EXPECT_EQ(dc.GetPixel(2, 1), 0x7F7FFFu);
    EXPECT_EQ(dc.GetPixel(1, 2), 0xFFFFFFu);  // transparent: untouched
    EXPECT_EQ(dc.GetPixel(2, 2), 0xFF0000u);
    EXPECT_EQ(dc.GetPixel(3, 3), 0xFFFFFFu);
    // Unloaded, it decodes again from the rewound stream. Half alpha over 2 rounds to nearest:
    // red (255 * 128 + 2 * 127 + 127) / 255 = 129.49 -> 129, green and blue 1.49 -> 1.
    chunk.Unload();
    EXPECT_EQ(chunk.picture, nullptr);
    g.FillRect(0x020202, Rect{0, 0, 4, 4});
    chunk.Draw(g, 0, 0);
    EXPECT_EQ(dc.GetPixel(1, 0), 0x010181u);
}

TEST(CImageChunk, DrawsOnlyInsideTheClipAndTheSurface)
{
    CImageChunk chunk;
    Fill(chunk, SamplePng());
    CSoftContext dc(3, 3);
    CGraphic g(&dc);
    g.clip = Rect{0, 0, 3, 1};
    g.originX = 1;
    chunk.Draw(g, 0, 0);
    EXPECT_EQ(dc.GetPixel(1, 0), 0x0000FFu);
    EXPECT_EQ(dc.GetPixel(2, 1), 0u);
    g.clip = Rect{0, 0, 3, 3};
    chunk.Draw(g, 1, 1);  // right and bottom column fall off the surface
    EXPECT_EQ(dc.GetPixel(2, 1), 0x0000FFu);
}

TEST(CImageChunk, AStreamThatDoesNotDecodeDrawsNothing)
{
    CImageChunk chunk;
    std::string bytes = SamplePng();
    bytes[1] = 'X';  // broken signature
    Fill(chunk, bytes);
    CSoftContext dc(2, 2);
    CGraphic g(&dc);
    g.FillRect(0x123456, Rect{0, 0, 2, 2});
    chunk.Draw(g, 0, 0);
    EXPECT_FALSE(chunk.Load());
    EXPECT_EQ(dc.GetPixel(0, 0), 0x123456u);
    CImageChunk empty;
    empty.Draw(g, 0, 0);
    EXPECT_EQ(dc.GetPixel(1, 1), 0x123456u);
}

}  // namespace
