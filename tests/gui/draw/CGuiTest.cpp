#include "gui/draw/CGui.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(CGui, InitBuildsTheThemeWithUniqueKeysAgainAndHoldsAtMost127Items)
{
    CGui gui;
    EXPECT_EQ(gui.Count(), 0);
    gui.Init();
    EXPECT_EQ(gui.Count(), 41);
    for (int32_t i = 0; i < gui.Count(); ++i)
        for (int32_t j = i + 1; j < gui.Count(); ++j)
            EXPECT_STRNE(gui.Item(i)->itemid, gui.Item(j)->itemid);
    ASSERT_NE(gui.Find("winbkgnd"), nullptr);
    EXPECT_EQ(gui.Find("winbkgnd")->itemid2, 47);
    EXPECT_EQ(gui.Find("WINBKGND"), nullptr);
    EXPECT_EQ(gui.Find(""), nullptr);
    // Init again replaces the items.
    gui.Find("value")->itemfillcol = 0x0000FF;
    gui.Init();
    EXPECT_EQ(gui.Count(), 41);
    EXPECT_EQ(gui.Find("value")->itemfillcol, 0x282828u);
    int32_t added = 0;
    for (int i = 0; i < 200; ++i)
        added += gui.AddItem(("extra" + std::to_string(i)).c_str()) != nullptr;
    EXPECT_EQ(added, CGui::kMaxItems - 41);
    EXPECT_EQ(gui.Count(), CGui::kMaxItems);
    EXPECT_NE(gui.Find("extra85"), nullptr);
    EXPECT_EQ(gui.Find("extra86"), nullptr);
}

TEST(CGui, ShadedItemsGetAnImageOfTheirFixedSizeOr256)
{
    CGui gui;
    gui.Init();
    int32_t shaded = 0;
    for (int32_t i = 0; i < gui.Count(); ++i)
    {
        const CSkinItem* item = gui.Item(i);
        if (item->itemfill != kFillShaded)
        {
            EXPECT_EQ(item->itemfilltex, nullptr) << item->itemid;
            continue;
        }
        ++shaded;
        ASSERT_NE(item->itemfilltex, nullptr) << item->itemid;
        EXPECT_EQ(item->itemfilltex->width, item->width > 0 ? item->width : 256) << item->itemid;
        EXPECT_EQ(item->itemfilltex->height, item->height > 0 ? item->height : 256) << item->itemid;
    }
    EXPECT_EQ(shaded, 3);  // caption, button, menutabs
    // The caption's image holds its gloss.
    CGraphic* image = gui.Find("caption")->itemfilltex->graphic;
    EXPECT_EQ(image->GetPixel(100, 0), 0x5E5E5Eu);
    EXPECT_EQ(image->GetPixel(100, 10), 0x363636u);
    EXPECT_EQ(image->GetPixel(100, 19), 0x282828u);
}

}  // namespace
