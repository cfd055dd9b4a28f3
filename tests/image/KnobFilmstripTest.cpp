#include "image/KnobFilmstrip.h"

#include "image/CPngPicture.h"
#include "io/CMemoryStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr int kSize = kKnobFrameSize;
constexpr double kCentre = kSize / 2.0;

std::unique_ptr<CPngPicture> DecodeStrip()
{
    CMemoryStream stream;
    stream.Write(kKnobFilmstripPng, kKnobFilmstripPngBytes);
    stream.Seek(0, CStream::FromStart);
    return std::make_unique<CPngPicture>(stream);
}

const uint8_t* At(const CPngPicture& strip, int frame, int x, int y)
{
    return strip.Pixels() + ((frame * kSize + y) * kSize + x) * 4;
}

bool IsOrange(const uint8_t* p)
{
    return p[3] > 200 && p[0] > 200 && p[1] > 90 && p[1] < 170 && p[2] < 60;
}

bool IsPointer(const uint8_t* p)
{
    return p[3] == 255 && p[0] > 200 && p[1] > 200 && p[2] > 200;
}

// Clockwise angle from twelve o'clock, in degrees, of the centroid of the
// pixels that pass the test; false when there are none.
template <typename Test>
bool CentroidAngle(const CPngPicture& strip, int frame, Test test, double& degrees, double& radius)
{
    double sumX = 0, sumY = 0;
    int count = 0;
    for (int y = 0; y < kSize; ++y)
    {
        for (int x = 0; x < kSize; ++x)
        {
            if (test(At(strip, frame, x, y)))
            {
                sumX += x + 0.5 - kCentre;
                sumY += y + 0.5 - kCentre;
                ++count;
            }
        }
    }
    if (count == 0)
        return false;
    const double x = sumX / count;
    const double y = sumY / count;
    degrees = std::atan2(x, -y) * 180.0 / 3.14159265358979;
    radius = std::sqrt(x * x + y * y);
    return true;
}

}  // namespace

TEST(KnobFilmstrip, IsAnEightBitRgbaNonInterlacedPngOfThirtySquareFrames)
{
    ASSERT_GT(kKnobFilmstripPngBytes, 33);
    const uint8_t* header = kKnobFilmstripPng + 16;  // after signature, length and "IHDR"
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(kKnobFilmstripPng + 12), 4), "IHDR");
    EXPECT_EQ(header[8], 8) << "bit depth";
    EXPECT_EQ(header[9], 6) << "colour type RGBA";
    EXPECT_EQ(header[12], 0) << "not interlaced";

    const auto strip = DecodeStrip();
    ASSERT_TRUE(strip->IsValid());
    EXPECT_EQ(strip->Width(), 48);
    EXPECT_EQ(strip->Height(), 1440);
    EXPECT_EQ(strip->Height() / strip->Width(), kKnobFrameCount);
}

// Each frame: transparent outside the knob, opaque inside, with anti-aliased
// edges and a dark body; the dot and pointer turn clockwise from seven to five o'clock.
TEST(KnobFilmstrip, EveryFrameShowsTheKnobTurnedToItsValue)
{
    const auto strip = DecodeStrip();
    ASSERT_TRUE(strip->IsValid());
    double previous = -180.0;
    for (int frame = 0; frame < kKnobFrameCount; ++frame)
    {
        int partial = 0;
        for (int y = 0; y < kSize; ++y)
        {
            for (int x = 0; x < kSize; ++x)
            {
                const double dx = x + 0.5 - kCentre;
                const double dy = y + 0.5 - kCentre;
                const uint8_t alpha = At(*strip, frame, x, y)[3];
                if (dx * dx + dy * dy > 25.0 * 25.0)
                {
                    ASSERT_EQ(alpha, 0) << "frame " << frame << " at " << x << "," << y;
                }
                if (dx * dx + dy * dy < 14.0 * 14.0)
                {
                    ASSERT_EQ(alpha, 255) << "frame " << frame << " at " << x << "," << y;
                }
                partial += alpha > 0 && alpha < 255;
            }
        }
        EXPECT_GT(partial, 60) << "frame " << frame << " has anti-aliased edges";
        const double expected = -150.0 + 300.0 * frame / (kKnobFrameCount - 1);
        // The knob body is dark: look half way out, opposite the pointer.
        const double radians = expected * 3.14159265358979 / 180.0;
        const uint8_t* body = At(*strip, frame, static_cast<int>(kCentre - 9.0 * std::sin(radians)),
                                 static_cast<int>(kCentre + 9.0 * std::cos(radians)));
        EXPECT_LT(body[0], 90) << "frame " << frame;
        EXPECT_LT(body[2], 90) << "frame " << frame;

        double dotAngle = 0, dotRadius = 0, pointerAngle = 0, pointerRadius = 0;
        ASSERT_TRUE(CentroidAngle(*strip, frame, IsOrange, dotAngle, dotRadius)) << "frame " << frame;
        ASSERT_TRUE(CentroidAngle(*strip, frame, IsPointer, pointerAngle, pointerRadius)) << "frame " << frame;
        EXPECT_NEAR(dotAngle, expected, 4.0) << "frame " << frame;
        EXPECT_NEAR(pointerAngle, expected, 4.0) << "frame " << frame;
        EXPECT_GT(dotAngle, previous) << "frame " << frame;
        previous = dotAngle;
        EXPECT_GT(dotRadius, 19.0) << "the dot sits on the tick ring";
        EXPECT_LT(pointerRadius, 16.0) << "the pointer lies on the knob";
    }
    // Frame 0: the dot in the lower left; frame 29: in the lower right.
    EXPECT_TRUE(IsOrange(At(*strip, 0, 13, 42)));
    EXPECT_TRUE(IsOrange(At(*strip, 29, 34, 42)));
}
