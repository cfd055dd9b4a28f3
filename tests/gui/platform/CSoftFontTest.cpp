#include "gui/platform/CSoftFont.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

TEST(CSoftFont, EveryGlyphIsARectangleOfRowsThatFitsTheLineCell)
{
    for (int code = 32; code <= 126; ++code)
    {
        // Rows of equal width: a '/' after every width cells and nowhere else.
        const std::string glyph = CSoftFont::Glyph(static_cast<char>(code));
        const size_t width = std::min(glyph.find('/'), glyph.size());
        const size_t rows = (glyph.size() + 1) / (width + 1);
        EXPECT_GT(width, 0u) << "code " << code;
        EXPECT_EQ(rows * (width + 1), glyph.size() + 1) << "code " << code;
        EXPECT_EQ(glyph.find_first_not_of("#./"), std::string::npos) << "code " << code;
        EXPECT_EQ(static_cast<size_t>(std::count(glyph.begin(), glyph.end(), '/')), rows - 1) << "code " << code;
        for (size_t k = width; k < glyph.size(); k += width + 1)
            EXPECT_EQ(glyph[k], '/') << "code " << code;
        EXPECT_LE(CSoftFont::kGlyphTop + static_cast<int32_t>(rows), CSoftFont::kLineHeight) << "code " << code;
        EXPECT_EQ(CSoftFont::Advance(static_cast<char>(code)), static_cast<int32_t>(width) + 1);
    }
}

TEST(CSoftFont, TextWidthIsTheSumOfAdvances)
{
    EXPECT_EQ(CSoftFont::TextWidth(""), 0);
    // H is 5 wide, i 1 wide, one blank column after each.
    EXPECT_EQ(CSoftFont::TextWidth("Hi Hi"), 8 + 3 + 8);
    // The editor's About page sets its title in 264 pixels.
    EXPECT_LT(CSoftFont::TextWidth("WAVE - MODULATION - SYNTHESIZER"), 264);
}

TEST(CSoftFont, OtherBytesAreShownAsAQuestionMark)
{
    EXPECT_STREQ(CSoftFont::Glyph('\x01'), CSoftFont::Glyph('?'));
    EXPECT_STREQ(CSoftFont::Glyph('\x7F'), CSoftFont::Glyph('?'));
}

}  // namespace
