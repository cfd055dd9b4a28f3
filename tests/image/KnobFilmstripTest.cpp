#include "image/KnobFilmstrip.h"

#include "image/CPngPicture.h"
#include "io/CMemoryStream.h"

#include <gtest/gtest.h>

#include <cmath>

// Each frame: transparent in the corners, opaque in the middle; the orange dot
// on the tick ring and the white pointer on the knob turn clockwise from seven
// o'clock (frame 0) to five o'clock (the last frame) in equal steps.
TEST(KnobFilmstrip, EveryFrameShowsTheKnobTurnedToItsValue)
{
    CMemoryStream stream;
    stream.Write(kKnobFilmstripPng, kKnobFilmstripPngBytes);
    stream.Seek(0, CStream::FromStart);
    const CPngPicture strip(stream);
    ASSERT_TRUE(strip.IsValid());
    ASSERT_EQ(strip.Width(), kKnobFrameSize);
    ASSERT_EQ(strip.Height(), kKnobFrameSize * kKnobFrameCount);
    for (int frame = 0; frame < kKnobFrameCount; ++frame)
    {
        SCOPED_TRACE("frame " + std::to_string(frame));
        auto at = [&](double x, double y)
        {
            const int row = frame * kKnobFrameSize + static_cast<int>(y);
            return strip.Pixels() + (row * kKnobFrameSize + static_cast<int>(x)) * 4;
        };
        EXPECT_EQ(at(0, 0)[3], 0);
        EXPECT_EQ(at(kKnobFrameSize - 1, kKnobFrameSize - 1)[3], 0);
        const double centre = kKnobFrameSize / 2.0;
        EXPECT_EQ(at(centre, centre)[3], 255);
        const double radians = (-150.0 + 300.0 * frame / (kKnobFrameCount - 1)) * 3.14159265358979 / 180.0;
        const uint8_t* dot = at(centre + 21.2 * std::sin(radians), centre - 21.2 * std::cos(radians));
        EXPECT_TRUE(dot[3] == 255 && dot[0] > 200 && dot[1] > 90 && dot[1] < 170 && dot[2] < 60)
            << int(dot[0]) << " " << int(dot[1]) << " " << int(dot[2]) << " " << int(dot[3]);
    }
}
