#include "Gallery.h"
#include "ListsTestKit.h"
#include "gui/platform/CSoftContext.h"
#include "gui/widgets/CFader.h"
#include "gui/widgets/CListbox.h"
#include "gui/widgets/CScrollPanel.h"
#include "gui/widgets/CScrollbar.h"
#include "gui/widgets/CTree.h"

namespace
{

// One of each control of the family in a titled window, written to the
// gallery as lists.png for a person to judge the look.
TEST(ListsGallery, OneOfEachControl)
{
    WindowTestKit kit;
    CWin win(&kit.app, nullptr, kWinTitleBar, "Scroll bars, faders, lists and trees", 0, 0, 480, 300);
    const auto place = [&](CCtrl* c, int32_t x, int32_t y, int32_t w, int32_t h) {
        c->x = x;
        c->y = y;
        c->width = w;
        c->height = h;
        win.AddChild(c);
    };
    CScrollbar* horz = new CScrollbar(&win, false);
    place(horz, 10, 10, 200, 16);
    horz->SetRange(0, 100, 30);
    horz->SetValue(40);
    CScrollbar* vert = new CScrollbar(&win, true);
    place(vert, 220, 10, 16, 120);
    vert->SetRange(0, 100, 0);
    vert->SetValue(100);
    CFader* fader = new CFader(&win, false);
    place(fader, 10, 36, 200, 16);
    fader->SetRange(0, 100, 0);
    fader->SetValue(70);
    CFader* upright = new CFader(&win, true);
    upright->inverted = 1;
    place(upright, 246, 10, 16, 120);
    upright->SetRange(0, 10, 0);
    upright->SetValue(3);

    CListbox* list = new CListbox(&win);
    place(list, 10, 62, 200, 100);
    list->checkBoxes = 1;
    const char* rows[] = {"Init", "Bright pad", "Soft bass", "A row far too wide for the list to show", "Bell",
                          "Strings", "Sweep", "Pluck"};
    for (const char* text : rows)
        list->AddRow(text);
    list->Row(1)->checked = 1;
    list->Row(4)->checked = 1;
    list->SetSelected(2);

    CTree* tree = new CTree(&win);
    place(tree, 272, 10, 190, 152);
    CTreeNode* factory = tree->AddNode(nullptr, "Factory");
    tree->AddNode(factory, "Pads");
    CTreeNode* bass = tree->AddNode(factory, "Basses");
    tree->AddNode(bass, "Sub");
    tree->AddNode(bass, "Acid");
    tree->AddNode(nullptr, "User");
    CTreeNode* empty = tree->AddNode(nullptr, "Imported");
    tree->AddNode(empty, "Old bank");
    tree->SetExpanded(factory, true);
    tree->SetExpanded(bass, true);
    tree->selected = bass;

    CScrollPanel* panel = new CScrollPanel(&win);
    place(panel, 10, 172, 452, 96);
    for (int32_t i = 0; i < 6; ++i)
    {
        CFader* f = new CFader(&win, false);
        f->x = 8;
        f->y = 8 + i * 24;
        f->width = 400;
        f->height = 16;
        f->SetRange(0, 5, 0);
        f->SetValue(i);
        panel->AddChild(f);
    }

    win.Show(true);
    kit.Pump();
    CSoftContext shot(480, 300);
    kit.screen.Compose(shot);
    EXPECT_TRUE(WriteGalleryPng(shot, "lists", 2));
    // The selected node is drawn in "treesel" blue, the list's frame black
    // on the window colour, the panel's bar present.
    EXPECT_EQ(shot.GetPixel(3 + 272 + 16 + 40, 23 + 10 + 36 + 1), 0xFF0000u);
    EXPECT_EQ(shot.GetPixel(3 + 10 + 100, 23 + 62), 0x000000u);
    EXPECT_TRUE(panel->bar->visible);
}

} // namespace
