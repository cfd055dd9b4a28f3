#include "gui/draw/CGui.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(CGui, InitBuildsTheThemeWithUniqueKeysAgainAndHoldsAtMost127Items)
{
    CGui gui;
    gui.Init();
    const int32_t themeItems = gui.Count();
    for (int32_t i = 0; i < themeItems; ++i)
        for (int32_t j = i + 1; j < themeItems; ++j)
            EXPECT_STRNE(gui.Item(i)->itemid, gui.Item(j)->itemid);
    EXPECT_EQ(gui.Find("WINBKGND"), nullptr);
    // Init again replaces the items.
    gui.Find("value")->itemfillcol = 0x0000FF;
    gui.Init();
    EXPECT_EQ(gui.Count(), themeItems);
    EXPECT_EQ(gui.Find("value")->itemfillcol, 0x282828u);
    int32_t added = 0;
    for (int i = 0; i < 200; ++i)
        added += gui.AddItem(("extra" + std::to_string(i)).c_str()) != nullptr;
    EXPECT_EQ(added, CGui::kMaxItems - themeItems);
    EXPECT_EQ(gui.Count(), CGui::kMaxItems);
    EXPECT_NE(gui.Find(("extra" + std::to_string(added - 1)).c_str()), nullptr);
    EXPECT_EQ(gui.Find(("extra" + std::to_string(added)).c_str()), nullptr);
}

}  // namespace
