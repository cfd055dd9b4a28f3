#include "Scenes.h"

#include "gui/core/CApp.h"
#include "gui/core/CDragWin.h"
#include "gui/core/CDropItem.h"
#include "gui/core/CHintWin.h"
#include "gui/core/CWin.h"
#include "gui/platform/CSoftContext.h"
#include "gui/platform/CSoftScreen.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CButton.h"
#include "gui/widgets/CDecimalValue.h"
#include "gui/widgets/CDropdown.h"
#include "gui/widgets/CEdit.h"
#include "gui/widgets/CFader.h"
#include "gui/widgets/CHistoryPanel.h"
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
#include "gui/widgets/CValue.h"

namespace
{

constexpr uint32_t kDesktop = 0x6B4A2A;

// The in-memory screen with an application on it.
class CStage
{
public:
    CStage() : app(&screen) {}

    // Dispatches every message due now.
    void Pump()
    {
        Message m;
        while (screen.Peek(m))
            screen.Dispatch(m);
    }
    // The top-left width x height of the screen over the desktop colour.
    void Shoot(CPictureFolder& folder, const char* name, int32_t width, int32_t height, int scale = 1)
    {
        CSoftContext picture(width, height);
        picture.SelectBrush(kDesktop);
        picture.FillRect(Rect{0, 0, width, height});
        screen.Compose(picture);
        folder.Write(picture, name, scale);
    }

    CSoftScreen screen;
    CApp app;
};

// Starts a drag of one preset file when its control asks.
struct CDragSource
{
    void Start(CCtrl* sender, int32_t, int32_t, int32_t)
    {
        CList* items = new CList();
        items->Add(new CDropItem("bass.fxp", "C:\\bass.fxp"));
        sender->window->app->BeginDrag(sender->window, items);
    }
};

// A file dragged from one window over a control of another.
void DragWindow(CPictureFolder& folder)
{
    CStage stage;
    CDragSource source;
    CWin from(&stage.app, nullptr, kWinNoBorder, "from", 100, 50, 200, 150);
    from.AddChildAt(new CCtrl(&from), 0, 0, 100, 150)->OnDragStart =
        new _COnMouse<CDragSource>(&source, &CDragSource::Start);
    CWin to(&stage.app, nullptr, kWinNoBorder, "to", 400, 50, 200, 150);
    to.AddChildAt(new CCtrl(&to), 20, 10, 100, 100);
    from.Show(true);
    to.Show(false);
    stage.Pump();
    stage.screen.Press(110, 60, kMouseLeft);
    stage.screen.Move(119, 60);
    stage.screen.Move(450, 100);
    stage.Pump();
    stage.Shoot(folder, "dragwin", 640, 240);
    stage.screen.Release(450, 100, kMouseLeft);
    stage.Pump();
}

// A hint shown below the cursor over a window.
void HintWindow(CPictureFolder& folder)
{
    CStage stage;
    CWin main(&stage.app, nullptr, 0, "main", 100, 100, 400, 200);
    main.Show(true);
    stage.screen.Move(300, 200);
    stage.Pump();
    stage.app.ShowHint("Cutoff", 10);
    stage.app.IdleTick();
    stage.Pump();
    stage.Shoot(folder, "hintwin", 500, 320);
}

// Takes the picture from inside the popup loops when 's' comes.
struct CMenuShot
{
    bool Key(CCtrl*, KeyRecord* key, int32_t)
    {
        if (key->key != 's')
            return false;
        stage->Shoot(*folder, "menus", 400, 300, 2);
        return true;
    }
    CStage* stage;
    CPictureFolder* folder;
};

// A menu bar with its File menu and a submenu open, and a row of tabs.
void Menus(CPictureFolder& folder)
{
    CStage stage;
    CWin main(&stage.app, nullptr, kWinNoBorder, "main", 0, 0, 400, 300);
    CMenu* bar = main.AddChildAt(new CMenu(&main, kMenuBar), 0, 0, 400, 20);
    CMenuItem* file = bar->Add("File");
    file->Add("New", 1)->checked = 1;
    CMenuItem* recent = file->Add("Open recent", 2);
    recent->Add("bank1.fxb", 21);
    recent->Add("bank2.fxb", 22)->checked = 1;
    file->AddSeparator();
    file->Add("Quit", 3);
    CMenuItem* view = bar->Add("View");
    view->Add("Zoom", 4);
    CMenuItem* size = view->Add("", 5, kEntryChoices);
    for (const char* label : {"1", "2", "3"})
        size->AddChoice(label);
    size->choice = 1;
    CMenu* tabs = main.AddChildAt(new CMenu(&main, kMenuTabs), 0, 250, 400, 20);
    for (const char* name : {"Presets", "About", "Editor"})
        tabs->Add(name);
    tabs->current = 1;
    main.Show(true);
    stage.Pump();
    CMenuShot shot{&stage, &folder};
    stage.app.globalKeyHandler = new _COnKey<CMenuShot>(&shot, &CMenuShot::Key);
    main.SetFocusCtrl(bar);
    for (int32_t key :
         {kKeyEnter, kKeyDown, kKeyDown, kKeyRight, kKeyDown, static_cast<int32_t>('s'), kKeyEscape, kKeyEscape})
        stage.screen.Key(key);
    stage.Pump();
}

// Labels, buttons (one held down, one disabled), a toolbar, headers, a split and panels.
void Buttons(CPictureFolder& folder)
{
    CStage stage;
    CWin win(&stage.app, nullptr, kWinTitleBar | kWinResizable | kWinMaxButton | kWinMinButton, "Buttons", 0, 0, 360,
             220);
    CToolbar* bar = win.AddChildAt(new CToolbar(&win), 0, 0, 354, 22);
    bar->anchor = kAnchorStretchX;
    CRow row(2);
    for (const char* caption : {"File", "Edit", "View"})
    {
        row.Place(*bar->AddChildAt(new CMenuCtrl(&win, caption), row.x, 1, 40, 20));
        row.Skip(2);
    }
    bar->AddChildAt(new CMenuButton(&win, "Presets"), 250, 1, 100, 20);
    CCol col(30);
    win.AddChildAt(new CLabel(&win, "Label:"), 8, col.y, 60, 18);
    win.AddChildAt(new CButton(&win, "OK"), 70, col.y, 48, 24);
    win.AddChildAt(new CButton(&win, "Held"), 126, col.y, 48, 24);
    win.AddChildAt(new CButton(&win, "Off"), 182, col.y, 48, 24)->enabled = 0;
    col.Advance(0, 32);
    win.AddChildAt(new CSeparator(&win), 8, col.y, 338, 4)->anchor = kAnchorStretchX;
    col.Skip(8);
    win.AddChildAt(new CHeaderLabel(&win, "Name"), 8, col.y, 120, 18);
    win.AddChildAt(new CHeaderLabel(&win, "Size"), 128, col.y, 60, 18);
    col.Advance(0, 18);
    CTestGroup* group = win.AddChildAt(new CTestGroup(&win), 8, col.y, 120, 80);
    group->AddChildAt(new CLabel(&win, "In a test group"), 4, 4, 112, 18);
    win.AddChildAt(new CSplit(&win, group, false), 128, col.y, 4, 80);
    CHistoryPanel* history = win.AddChildAt(new CHistoryPanel(&win), 132, col.y, 120, 80);
    history->AddChildAt(new CLabel(&win, "History"), 4, 4, 100, 18);
    win.AddChildAt(new CSizer(&win), 0, 0, 16, 16)->anchor = kAnchorRight | kAnchorBottom;
    win.Show(true);
    stage.Pump();
    // "Held" held down while the cursor is over "Edit".
    stage.screen.Move(3 + 60, 23 + 10);
    stage.screen.Press(3 + 140, 23 + 40, kMouseLeft);
    stage.Pump();
    folder.Write(*stage.screen.Context(win.hwnd), "buttons", 2);
    stage.screen.Release(3 + 140, 23 + 40, kMouseLeft);
    stage.Pump();
}

// Edit fields, numbers, step arrows and dropdowns; one field with a word selected.
void EditControls(CPictureFolder& folder)
{
    CStage stage;
    CWin win(&stage.app, nullptr, 0, "edit", 100, 50, 320, 200);
    win.AddChildAt(new CEdit(&win), 10, 10, 140, 20)->SetText("an edit field");
    CEdit* edited = win.AddChildAt(new CEdit(&win), 160, 10, 140, 20);
    edited->SetText("being edited");
    CValue* number = win.AddChildAt(new CValue(&win), 10, 40, 60, 20);
    number->SetRange(-100, 100);
    number->SetValue(-42);
    CDecimalValue* decimal = win.AddChildAt(new CDecimalValue(&win, 2), 80, 40, 70, 20);
    decimal->SetRange(0, 10000);
    decimal->SetValue(440);
    win.AddChildAt(new CIncDec(&win), 160, 42, 32, 16);
    CTextValue* labelled = win.AddChildAt(new CTextValue(&win, "Voices", 50), 200, 40, 100, 20);
    labelled->field->SetRange(1, 16);
    labelled->field->SetValue(8);
    CDropdown* list = win.AddChildAt(new CDropdown(&win), 10, 70, 140, 20);
    list->AddEntry("Low-pass");
    list->AddEntry("High-pass");
    list->SetSelection(0);
    CDropdown* steps = win.AddChildAt(new CDropdown(&win), 160, 70, 140, 20);
    steps->AddEntry("Saw");
    steps->mode = kDropdownStepArrows;
    steps->SetSelection(0);
    CDropdown* editable = win.AddChildAt(new CDropdown(&win), 10, 100, 290, 20);
    editable->editable = 1;
    editable->AddEntry("Init patch");
    editable->SetSelection(0);
    win.Layout();
    win.Show(true);
    stage.Pump();
    win.SetFocusCtrl(edited);
    stage.screen.Key(kKeyEnd);
    stage.screen.Key(kKeyLeft, kModCtrl | kModShift);
    stage.Pump();
    win.PaintWindow(Rect{0, 0, win.width, win.height});
    folder.Write(*stage.screen.Context(win.hwnd), "edit-controls", 2);
}

// Scroll bars, faders, a list with check boxes, a tree and a scroll panel.
void Lists(CPictureFolder& folder)
{
    CStage stage;
    CWin win(&stage.app, nullptr, kWinTitleBar, "Scroll bars, faders, lists and trees", 0, 0, 480, 300);
    CScrollbar* horz = win.AddChildAt(new CScrollbar(&win, false), 10, 10, 200, 16);
    horz->SetRange(0, 100, 30);
    horz->SetValue(40);
    CScrollbar* vert = win.AddChildAt(new CScrollbar(&win, true), 220, 10, 16, 120);
    vert->SetRange(0, 100, 0);
    vert->SetValue(100);
    CFader* fader = win.AddChildAt(new CFader(&win, false), 10, 36, 200, 16);
    fader->SetRange(0, 100, 0);
    fader->SetValue(70);
    CFader* upright = win.AddChildAt(new CFader(&win, true), 246, 10, 16, 120);
    upright->inverted = 1;
    upright->SetRange(0, 10, 0);
    upright->SetValue(3);
    CListbox* list = win.AddChildAt(new CListbox(&win), 10, 62, 200, 100);
    list->checkBoxes = 1;
    for (const char* text : {"Init", "Bright pad", "Soft bass", "A row far too wide for the list to show", "Bell",
                             "Strings", "Sweep", "Pluck"})
        list->AddRow(text);
    list->Row(1)->checked = 1;
    list->Row(4)->checked = 1;
    list->SetSelected(2);
    CTree* tree = win.AddChildAt(new CTree(&win), 272, 10, 190, 152);
    CTreeNode* factory = tree->AddNode(nullptr, "Factory");
    tree->AddNode(factory, "Pads");
    CTreeNode* bass = tree->AddNode(factory, "Basses");
    tree->AddNode(bass, "Sub");
    tree->AddNode(bass, "Acid");
    tree->AddNode(nullptr, "User");
    tree->AddNode(tree->AddNode(nullptr, "Imported"), "Old bank");
    tree->SetExpanded(factory, true);
    tree->SetExpanded(bass, true);
    tree->selected = bass;
    CScrollPanel* panel = win.AddChildAt(new CScrollPanel(&win), 10, 172, 452, 96);
    for (int32_t i = 0; i < 6; ++i)
    {
        CFader* f = panel->AddChildAt(new CFader(&win, false), 8, 8 + i * 24, 400, 16);
        f->SetRange(0, 5, 0);
        f->SetValue(i);
    }
    win.Show(true);
    stage.Pump();
    stage.Shoot(folder, "lists", 480, 300, 2);
}

}  // namespace

void WindowScenes(CPictureFolder& folder)
{
    DragWindow(folder);
    HintWindow(folder);
    Menus(folder);
    Buttons(folder);
    EditControls(folder);
    Lists(folder);
}
