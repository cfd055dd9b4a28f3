#include "editor/CSynthWin.h"

#include "Gallery.h"
#include "core/WindowTestKit.h"
#include "editor/CAboutGroup.h"
#include "editor/CAudioVU.h"
#include "editor/CBkPanel.h"
#include "editor/CFXGroup.h"
#include "editor/CHeader.h"
#include "editor/CModulationGroup.h"
#include "editor/CParamKnob.h"
#include "editor/CProgBrowser.h"
#include "editor/CSoundPanels.h"
#include "gui/core/CClientGroup.h"
#include "gui/core/InputCodes.h"
#include "gui/widgets/CButton.h"
#include "io/HeapString.h"
#include "support/TempDir.h"
#include "synth/CSynth.h"
#include "synth/CSynthResources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <typeinfo>

namespace
{

// The editor with its menus, message boxes, file browser and web browser
// answered by the test.
class CScriptedWin : public CSynthWin
{
public:
    using CSynthWin::CSynthWin;

    int32_t ChooseFromMenu(CCtrl*, int32_t, int32_t, const std::vector<std::string>& items, int32_t marked) override
    {
        menus.push_back(items);
        markedItems.push_back(marked);
        return menuAnswer;
    }
    int32_t Ask(const char* title, const char* message, int32_t flags) override
    {
        asked.push_back(std::string(title) + "|" + message + "|" + std::to_string(flags));
        return askAnswer;
    }
    bool ChooseFile(bool save, const char* extension, std::string& path) override
    {
        files.push_back(std::string(save ? "save " : "load ") + extension);
        path = fileAnswer;
        return !fileAnswer.empty();
    }
    void OpenWebAddress(const char* url) override { opened.push_back(url); }

    int32_t menuAnswer = -1;
    int32_t askAnswer = 2;
    std::string fileAnswer;
    std::vector<std::vector<std::string>> menus;
    std::vector<int32_t> markedItems;
    std::vector<std::string> asked;
    std::vector<std::string> files;
    std::vector<std::string> opened;
};

// Window coordinates of the panels (column, row) and of their knobs.
constexpr int32_t kPanelX[3] = {8, 280, 552};
constexpr int32_t kPanelY[2] = {8, 180};

class CSynthWinTest : public ::testing::Test, public WindowTestKit
{
protected:
    CSynthWinTest() { Open(); }
    ~CSynthWinTest() override { CloseEditor(); }

    void Open()
    {
        win = new CScriptedWin(&app, &synth);
        synth.editorWindow = win;
        win->Show(true);
        Pump();
    }
    void CloseEditor()
    {
        synth.editorWindow = nullptr;
        delete win;
        win = nullptr;
    }
    void Click(int32_t x, int32_t y, int32_t button = kMouseLeft)
    {
        screen.Advance(500);
        screen.Press(x, y, button);
        screen.Release(x, y, button);
        Pump();
    }
    void Idle()
    {
        win->Idle();
        Pump();
    }
    CGroup* Backdrop() { return static_cast<CGroup*>(win->clientGroup->Child(0)); }
    // The panel of column c, row r of the sound editor.
    CGroup* Panel(int c, int r) { return static_cast<CGroup*>(Backdrop()->Child(c * 2 + r)); }
    // The knobs of a panel in placing order (the header is its first child).
    std::vector<CParamValueKnob*> Knobs(CGroup* panel)
    {
        std::vector<CParamValueKnob*> knobs;
        for (int32_t i = 1; i < panel->children.Count(); ++i)
            knobs.push_back(static_cast<CParamValueKnob*>(panel->Child(i)));
        return knobs;
    }
    // Knob i of a panel, window coordinates of its centre.
    static int32_t KnobX(int c, int i) { return kPanelX[c] + 4 + 64 * (i % 4) + 32; }
    static int32_t KnobY(int r, int i) { return kPanelY[r] + 24 + 72 * (i / 4) + 32; }
    void ShowPicture(const char* name)
    {
        win->PaintWindow(Rect{0, 0, win->width, win->height});
        ASSERT_TRUE(WriteGalleryPng(*screen.Context(win->hwnd), name));
    }

    CSynth synth;
    CScriptedWin* win = nullptr;
};

TEST_F(CSynthWinTest, RebuildBuildsThePanelsThenTheStripAtTheirPlaces)
{
    EXPECT_EQ(win->width, 824);
    EXPECT_EQ(win->height, 376);
    ASSERT_EQ(win->clientGroup->children.Count(), 1);
    CGroup* backdrop = Backdrop();
    EXPECT_EQ(typeid(*backdrop), typeid(CBkPanel));
    EXPECT_EQ(backdrop->width, 824);
    EXPECT_EQ(backdrop->height, 376);
    ASSERT_EQ(backdrop->children.Count(), 10);
    const std::type_info* types[] = {&typeid(CWaveGroup),   &typeid(CXModGroup),       &typeid(CFilterGroup),
                                     &typeid(CModulationGroup), &typeid(CMasterGroup), &typeid(CFXGroup)};
    for (int i = 0; i < 6; ++i)
    {
        CCtrl* panel = backdrop->Child(i);
        EXPECT_EQ(typeid(*panel), *types[i]) << i;
        EXPECT_EQ(panel->x, kPanelX[i / 2]) << i;
        EXPECT_EQ(panel->y, kPanelY[i % 2]) << i;
        EXPECT_EQ(panel->width, 264);
        EXPECT_EQ(panel->height, 164);
    }
    struct Expected
    {
        const std::type_info* type;
        Rect place;
    } strip[] = {
        {&typeid(CHeaderLabel), Rect{0, 348, 264, 368}},
        {&typeid(CAudioVU), Rect{264, 351, 327, 365}},
        {&typeid(CProgHeader), Rect{359, 348, 519, 368}},
        {&typeid(CHeaderLabel), Rect{560, 348, 824, 368}},
    };
    for (int i = 0; i < 4; ++i)
    {
        CCtrl* c = backdrop->Child(6 + i);
        EXPECT_EQ(typeid(*c), *strip[i].type) << i;
        EXPECT_EQ((Rect{c->x, c->y, c->x + c->width, c->y + c->height}), strip[i].place) << i;
    }
    EXPECT_STREQ(backdrop->Child(6)->text, "WAVE - MODULATION - SYNTHESIZER");
    EXPECT_STREQ(backdrop->Child(9)->text, "Version 1.2");
    ASSERT_EQ(win->idleList.Count(), 1);
    EXPECT_EQ(win->idleList.Get(0), backdrop->Child(7));
}

TEST_F(CSynthWinTest, GalleryPictures)
{
    for (int32_t program : {0, 20, 34})
    {
        synth.SetProgram(program);
        Idle();
        ShowPicture(("editor-program-" + std::to_string(program)).c_str());
    }
    synth.Resources().pagesShown = CSynthResources::kPageView;
    synth.Resources().programsChanged = 1;
    Idle();
    ShowPicture("editor-browser");
    synth.Resources().pageIndex = CSynthResources::kAboutPage;
    synth.Resources().programsChanged = 1;
    Idle();
    ShowPicture("editor-about");
}

} // namespace
