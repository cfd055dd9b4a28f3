#include "gui/core/CAppGui.h"

#include <gtest/gtest.h>

namespace
{

struct Listener
{
    void OnTheme(CCtrl* sender) { themes += sender == nullptr ? 1 : 100; }
    void OnItems(CCtrl*) { ++changes; }
    int themes = 0;
    int changes = 0;
};

TEST(CAppGui, ReportsRebuildsAndChangesThroughItsBinders)
{
    Listener listener;
    CAppGui gui;
    gui.themeChanged = new _COnChange<Listener>(&listener, &Listener::OnTheme);
    gui.itemsChanged = new _COnChange<Listener>(&listener, &Listener::OnItems);
    gui.Init();
    EXPECT_EQ(listener.themes, 1);
    EXPECT_EQ(listener.changes, 0);
    EXPECT_EQ(gui.Count(), 41);
    gui.Changed();
    gui.Changed();
    EXPECT_EQ(listener.themes, 1);
    EXPECT_EQ(listener.changes, 2);
}

}  // namespace
