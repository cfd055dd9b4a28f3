#include "gui/platform/CSoftFont.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{

int RowCount(const char* glyph)
{
    int rows = 1;
    for (const char* p = glyph; *p != '\0'; ++p)
        rows += *p == '/';
    return rows;
}

TEST(CSoftFont, EveryGlyphIsARectangleOfRowsThatFitsTheLineCell)
{
    for (int code = 32; code <= 126; ++code)
    {
        const std::string glyph = CSoftFont::Glyph(static_cast<char>(code));
        size_t start = 0;
        const size_t width = glyph.find('/') == std::string::npos ? glyph.size() : glyph.find('/');
        EXPECT_GT(width, 0u) << "code " << code;
        while (start <= glyph.size())
        {
            size_t end = glyph.find('/', start);
            if (end == std::string::npos)
                end = glyph.size();
            EXPECT_EQ(end - start, width) << "code " << code << " row at " << start;
            for (size_t i = start; i < end; ++i)
                EXPECT_TRUE(glyph[i] == '#' || glyph[i] == '.') << "code " << code;
            start = end + 1;
        }
        EXPECT_LE(CSoftFont::kGlyphTop + RowCount(glyph.c_str()), CSoftFont::kLineHeight) << "code " << code;
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
