#include "WidgetDemo.h"

#include "PngWriter.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CButton.h"
#include "gui/widgets/CDecimalValue.h"
#include "gui/widgets/CDropdown.h"
#include "gui/widgets/CFader.h"
#include "gui/widgets/CIncDec.h"
#include "gui/widgets/CLabel.h"
#include "gui/widgets/CLayout.h"
#include "gui/widgets/CListbox.h"
#include "gui/widgets/CMenu.h"
#include "gui/widgets/CScrollPanel.h"
#include "gui/widgets/CScrollbar.h"
#include "gui/widgets/CSizer.h"
#include "gui/widgets/CSplit.h"
#include "gui/widgets/CTextValue.h"
#include "gui/widgets/CTree.h"

#include <cstdio>
#include <cstring>

namespace
{

constexpr int32_t kWinWidth = 560;
constexpr int32_t kWinHeight = 380;
// Rows of the form column and the gaps between controls, pixels.
constexpr int32_t kRowHeight = 20;
constexpr int32_t kRowGap = 6;
constexpr int32_t kGap = 8;
constexpr int32_t kLabelWidth = 64;
constexpr int32_t kFieldWidth = 120;

void AddMenus(CWin* win)
{
    CMenu* bar = win->AddChildAt(new CMenu(win, kMenuBar), 0, 0, kWinWidth - 2 * kBorder, kRowHeight);
    bar->anchor = kAnchorStretchX;
    CMenuItem* file = bar->Add("File");
    file->Add("New", 1);
    file->Add("Open...", 2);
    CMenuItem* recent = file->Add("Open recent", 3);
    recent->Add("Bright pad.vlp", 31);
    recent->Add("Deep bass.vlp", 32);
    file->AddSeparator();
    file->Add("Save", 4)->checked = 1;
    file->Add("Quit", 5);
    CMenuItem* edit = bar->Add("Edit");
    edit->Add("Undo", 11);
    edit->Add("Copy", 12);
    edit->Add("Paste", 13);
    CMenuItem* view = bar->Add("View");
    CMenuItem* zoom = view->Add("Zoom", 21, kEntryChoices);
    for (const char* z : {"1", "2", "3"})
        zoom->AddChoice(z);
    zoom->choice = 0;
    bar->Add("Help")->Add("About", 41);
}

void AddToolbar(CWin* win, int32_t top)
{
    CToolbar* tools = win->AddChildAt(new CToolbar(win), 0, top, kWinWidth - 2 * kBorder, 22);
    tools->anchor = kAnchorStretchX;
    CRow row(2);
    for (const char* caption : {"New", "Open", "Save"})
    {
        row.Place(*tools->AddChildAt(new CMenuCtrl(win, caption), row.x, 1, 44, 20));
        row.Skip(2);
    }
    row.Place(*tools->AddChildAt(new CSeparator(win), row.x, 2, 6, 18));
    row.Skip(2);
    row.Place(*tools->AddChildAt(new CMenuButton(win, "Presets"), row.x, 1, 96, 20));
}

// Labelled fields down the left: edit, values, step arrows, dropdowns, buttons.
void AddForm(CWin* win, CDemo* demo, int32_t left, CCol& col)
{
    const int32_t field = left + kLabelWidth;
    win->AddChildAt(new CLabel(win, "Name"), left, col.y, kLabelWidth, kRowHeight);
    win->AddChildAt(new CEdit(win), field, col.y, kFieldWidth, kRowHeight)->SetText("Velmora pad");
    col.Advance(0, kRowHeight + kRowGap);

    CTextValue* voices =
        win->AddChildAt(new CTextValue(win, "Voices", kLabelWidth), left, col.y, kLabelWidth + kFieldWidth, kRowHeight);
    voices->field->SetRange(1, 32);
    voices->field->SetValue(8);
    col.Advance(0, kRowHeight + kRowGap);

    win->AddChildAt(new CLabel(win, "Cutoff"), left, col.y, kLabelWidth, kRowHeight);
    CDecimalValue* cutoff = win->AddChildAt(new CDecimalValue(win, 2), field, col.y, kFieldWidth - 40 - 4, kRowHeight);
    cutoff->SetRange(0, 2000);
    cutoff->SetValue(1250);
    win->AddChildAt(new CIncDec(win), field + kFieldWidth - 40, col.y, 40, kRowHeight);
    col.Advance(0, kRowHeight + kRowGap);

    win->AddChildAt(new CLabel(win, "Wave"), left, col.y, kLabelWidth, kRowHeight);
    CDropdown* wave = win->AddChildAt(new CDropdown(win), field, col.y, kFieldWidth, kRowHeight);
    for (const char* w : {"Sine", "Triangle", "Saw", "Square", "Noise"})
        wave->AddEntry(w);
    wave->SetSelection(2);
    col.Advance(0, kRowHeight + kRowGap);

    win->AddChildAt(new CLabel(win, "Octave"), left, col.y, kLabelWidth, kRowHeight);
    CDropdown* octave = win->AddChildAt(new CDropdown(win), field, col.y, kFieldWidth, kRowHeight);
    octave->mode = kDropdownStepArrows;
    for (const char* o : {"-2", "-1", "0", "+1", "+2"})
        octave->AddEntry(o);
    octave->SetSelection(2);
    col.Advance(0, kRowHeight + kRowGap);

    win->AddChildAt(new CLabel(win, "Clicks"), left, col.y, kLabelWidth, kRowHeight);
    demo->counter = win->AddChildAt(new CValue(win), field, col.y, 56, kRowHeight);
    demo->counter->SetRange(0, 999);
    demo->counter->SetValue(0);
    CButton* click =
        win->AddChildAt(new CButton(win, "Click"), field + 64, col.y - 2, kFieldWidth - 64, kRowHeight + 4);
    click->OnChange = new _COnChange<CDemo>(demo, &CDemo::Clicked);
    col.Advance(0, kRowHeight + kRowGap + 2);

    CRow buttons(left);
    for (const char* caption : {"OK", "Cancel", "Off"})
    {
        CButton* b = win->AddChildAt(new CButton(win, caption), buttons.x, col.y, 56, 24);
        b->enabled = std::strcmp(caption, "Off") != 0;
        buttons.Place(*b);
        buttons.Skip(kGap);
    }
    col.Advance(0, 24 + kGap);
}

// Faders and scroll bars under the form: the horizontal ones stacked, the
// vertical ones beside them.
void AddSliders(CWin* win, int32_t left, CCol& col)
{
    constexpr int32_t kWidth = kLabelWidth + kFieldWidth;
    constexpr int32_t kTall = 56;
    win->AddChildAt(new CSeparator(win), left, col.y, kWidth, 6);
    col.Advance(0, 6 + kGap);
    CRow row(left + kWidth - 14 - kGap - kScrollbarSide);
    CFader* pan = win->AddChildAt(new CFader(win, true), row.x, col.y, 14, kTall);
    pan->SetRange(0, 100, 0);
    pan->SetValue(40);
    row.Place(*pan);
    row.Skip(kGap);
    CScrollbar* down = win->AddChildAt(new CScrollbar(win, true), row.x, col.y, kScrollbarSide, kTall);
    down->SetRange(0, 100, 50);
    down->SetValue(25);
    const int32_t across = kWidth - 14 - kScrollbarSide - 2 * kGap;
    CFader* level = win->AddChildAt(new CFader(win, false), left, col.y + 4, across, 14);
    level->SetRange(0, 100, 0);
    level->SetValue(70);
    CScrollbar* bar =
        win->AddChildAt(new CScrollbar(win, false), left, col.y + kTall - kScrollbarSide, across, kScrollbarSide);
    bar->SetRange(0, 300, 100);
    bar->SetValue(120);
    for (CScrollbar* s : {static_cast<CScrollbar*>(level), static_cast<CScrollbar*>(pan), bar, down})
        s->PlaceThumb();
    col.Advance(0, kTall + kGap);
}

// A list box and a tree side by side (the split sets the list's width),
// above a scroll panel and a grip in the corner.
void AddLists(CWin* win, int32_t left, int32_t top)
{
    CListbox* list = win->AddChildAt(new CListbox(win), left, top, 140, 150);
    list->checkBoxes = 1;
    for (const char* name : {"Init", "Bright pad", "Deep bass", "Glass bells", "Hollow lead", "Soft strings",
                             "Sync brass", "Warm organ", "Wide choir", "Zap"})
        list->AddRow(name);
    list->Row(1)->checked = 1;
    list->Row(3)->checked = 1;
    list->SetSelected(2);
    win->AddChildAt(new CSplit(win, list, false), left + 140, top, 4, 150);

    CTree* tree = win->AddChildAt(new CTree(win), left + 148, top, 180, 150);
    tree->anchor = kAnchorStretchX;
    tree->marginX = kGap;
    CTreeNode* factory = tree->AddNode(nullptr, "Factory");
    CTreeNode* pads = tree->AddNode(factory, "Pads");
    tree->AddNode(pads, "Bright pad");
    tree->AddNode(pads, "Wide choir");
    tree->AddNode(factory, "Basses");
    CTreeNode* user = tree->AddNode(nullptr, "User");
    tree->AddNode(user, "Mine");
    tree->SetExpanded(factory, true);
    tree->SetExpanded(pads, true);
    tree->selected = pads;

    CScrollPanel* panel = win->AddChildAt(new CScrollPanel(win), left, top + 150 + kGap, 148 + 180, 110);
    panel->anchor = kAnchorStretchX;
    panel->marginX = kGap;
    CCol lines(4);
    for (const char* text : {"A scroll panel holds", "any controls; this one", "holds a column of",
                             "labels taller than", "the panel itself,", "so its bar shows."})
    {
        panel->AddChildAt(new CLabel(win, text), 6, lines.y, 200, 18);
        lines.Advance(0, 18);
    }
    CSizer* grip = win->AddChildAt(new CSizer(win), 0, 0, 16, 16);
    grip->anchor = kAnchorRight | kAnchorBottom;
}

}  // namespace

CWin* BuildWidgetDemo(CApp* app, CDemo* demo)
{
    CWin* win = new CWin(app, nullptr,
                         kWinTitleBar | kWinResizable | kWinMaxButton | kWinMinButton | kWinCentre | kWinAppWindow,
                         "Velmora toolkit", 0, 0, kWinWidth, kWinHeight);
    win->minWidth = kWinWidth;
    win->minHeight = kWinHeight;
    AddMenus(win);
    AddToolbar(win, kRowHeight);
    CCol col(kRowHeight + 22 + kGap);
    AddForm(win, demo, kGap, col);
    AddSliders(win, kGap, col);
    AddLists(win, kGap + kLabelWidth + kFieldWidth + 2 * kGap, kRowHeight + 22 + kGap);
    return win;
}

void CDemo::Clicked(CCtrl*)
{
    ++clicks;
    counter->SetValue(clicks);
    counter->Invalidate();
}

bool CDemo::Key(CCtrl*, KeyRecord* key, int32_t)
{
    if (key->key != 's' || screen == nullptr || snapshot == nullptr)
        return false;
    // Scripted keys come faster than paints: bring the main window up to date.
    screen->Update(window->hwnd);
    CSoftContext picture(screen->screen.Width(), screen->screen.Height());
    picture.SelectBrush(kDesktop);
    picture.FillRect(screen->screen);
    screen->Compose(picture);
    snapshotWritten = WritePng(picture, snapshot);
    return true;
}

int WriteWidgetDemo(const char* tool, const char* path, const char* popupPath)
{
    CSoftScreen screen;
    screen.screen = Rect{0, 0, kWinWidth + 40, kWinHeight + 120};
    screen.workArea = screen.screen;
    CApp app(&screen);
    CDemo demo;
    CWin* win = BuildWidgetDemo(&app, &demo);
    win->Show(true);

    // Two clicks on the counter's button, through the queue as a user would make them.
    int32_t px = 0;
    int32_t py = 0;
    win->GetPos(false, px, py);
    const int32_t clientX = px + kBorder;
    const int32_t clientY = py + kBorder + kTitleHeight;
    const int32_t buttonX = clientX + kGap + kLabelWidth + 64 + 20;
    const int32_t buttonY = clientY + kRowHeight + 22 + kGap + 5 * (kRowHeight + kRowGap) + 8;
    for (int i = 0; i < 2; ++i)
    {
        screen.Press(buttonX, buttonY, kMouseLeft);
        screen.Release(buttonX, buttonY, kMouseLeft);
    }
    Message m;
    while (screen.Peek(m))
        screen.Dispatch(m);
    CSoftContext picture(screen.screen.Width(), screen.screen.Height());
    picture.SelectBrush(CDemo::kDesktop);
    picture.FillRect(screen.screen);
    screen.Compose(picture);

    // With a second picture: the File menu, its submenu open, then closed again.
    if (popupPath != nullptr)
    {
        demo.screen = &screen;
        demo.window = win;
        demo.snapshot = popupPath;
        app.globalKeyHandler = new _COnKey<CDemo>(&demo, &CDemo::Key);
        screen.Press(clientX + 12, clientY + 8, kMouseLeft);
        screen.Release(clientX + 12, clientY + 8, kMouseLeft);
        for (int32_t key :
             {kKeyDown, kKeyDown, kKeyDown, kKeyRight, kKeyDown, static_cast<int32_t>('s'), kKeyEscape, kKeyEscape})
            screen.Key(key);
        while (screen.Peek(m))
            screen.Dispatch(m);
    }
    delete win;
    if (!WritePng(picture, path))
    {
        std::fprintf(stderr, "%s: cannot write %s\n", tool, path);
        return 1;
    }
    if (popupPath != nullptr && !demo.snapshotWritten)
    {
        std::fprintf(stderr, "%s: the popup picture was not written to %s\n", tool, popupPath);
        return 1;
    }
    if (demo.clicks != 2)
    {
        std::fprintf(stderr, "%s: the demo counted %d clicks of 2\n", tool, demo.clicks);
        return 1;
    }
    return 0;
}
