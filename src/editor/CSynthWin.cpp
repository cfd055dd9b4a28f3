#include "editor/CSynthWin.h"

#include "editor/CAboutGroup.h"
#include "editor/CAudioVU.h"
#include "editor/CBkPanel.h"
#include "editor/CFXGroup.h"
#include "editor/CModulationGroup.h"
#include "editor/CParamControl.h"
#include "editor/CProgBrowser.h"
#include "editor/CSoundPanels.h"
#include "editor/CSynthResources.h"
#include "gui/core/CApp.h"
#include "gui/core/CClientGroup.h"
#include "gui/dialogs/CFileWin.h"
#include "gui/dialogs/CPromptWin.h"
#include "gui/platform/OpenUrl.h"
#include "gui/widgets/CButton.h"
#include "gui/widgets/CLayout.h"
#include "gui/widgets/CMenuItem.h"
#include "gui/widgets/CPopup.h"
#include "host/CAutomationHost.h"
#include "io/HeapString.h"
#include "synth/CBankFiles.h"
#include "synth/CSynth.h"

#include <cstring>
#include <memory>

namespace
{

// The page view's tabs: x, size, and the value each stands for.
constexpr int32_t kTabLeft = 752;
constexpr int32_t kTabWidth = 64;
constexpr int32_t kTabHeight = 40;
constexpr int32_t kTabEditor = -1;
constexpr int32_t kEditorTabTop = 288;
// The bottom strip: the controls sit kGap above the window's bottom edge.
constexpr int32_t kStripLabelWidth = 264;
constexpr int32_t kHeaderGap = 32;  // between the meter and the program header
constexpr uint32_t kAnchorBottomRight = kAnchorRight | kAnchorBottom;
constexpr const char* kTitleText = "WAVE - MODULATION - SYNTHESIZER";
// Message box buttons and results.
constexpr int32_t kAskOk = kPromptOk;
constexpr int32_t kAskOkCancel = kPromptOk | kPromptCancel;

constexpr const char* kBankExtension = "fxb";
constexpr const char* kProgramExtension = "fxp";

enum BrowserItem : int32_t
{
    kLoadFactoryBank = 0,
    kClearAllPresets = 2,
    kLoadBank = 4,
    kSaveBank = 5,
    kLoadProgram = 6,
    kSaveProgram = 7,
    kForgetControllers = 9
};

void Anchor(CCtrl* c, uint32_t anchor, int32_t marginX, int32_t marginY)
{
    c->anchor = anchor;
    c->marginX = marginX;
    c->marginY = marginY;
}

}  // namespace

CSynthWin::CSynthWin(CApp* app, CSynth* synth, CSynthResources* resources)
    : CPluginWin(app, nullptr, kWinNoBorder, kProductName, 0, 0, kWidth, kHeight), synth(synth), resources(resources)
{
    // The new tree shows the current state: no rebuild is due at the first idle.
    synth->programsChanged = 0;
    Rebuild();
}

const std::vector<std::string>& CSynthWin::BrowserMenuItems()
{
    static const std::vector<std::string> items = {
        "Load factory bank", "-", "Clear all presets",   "-", "Load bank...", "Save bank...", "Load program...",
        "Save program...",   "-", "Forget all MIDI CCs",
    };
    return items;
}

void CSynthWin::Rebuild()
{
    idleList.Clear();
    knobList.Clear();
    DeleteChildren();
    CBkPanel* panel = new CBkPanel(this);
    panel->width = clientGroup->width;
    panel->height = clientGroup->height;
    AddChild(panel);
    if (resources->pagesShown == CSynthResources::kSoundEditor)
        BuildSoundEditor(panel);
    else
        BuildPageView(panel);
    BuildStrip(panel);
    Layout();
}

void CSynthWin::BuildSoundEditor(CGroup* panel)
{
    CGroup* const columns[3][2] = {
        {new CWaveGroup(this, synth), new CXModGroup(this, synth)},
        {new CFilterGroup(this, synth), new CModulationGroup(this, synth)},
        {new CMasterGroup(this, synth), new CFXGroup(this, synth)},
    };
    CRow row(kGap);
    for (CGroup* const* column : columns)
    {
        CCol col(kGap);
        const int32_t left = row.x;
        for (int32_t i = 0; i < 2; ++i)
        {
            CGroup* group = column[i];
            group->x = left;
            group->y = col.y;
            panel->AddChild(group);
            col.Advance(0, group->height + kGap);
            row.Place(*group);
        }
        row.Advance(kGap, 0);
    }
}

void CSynthWin::BuildPageView(CGroup* panel)
{
    if (resources->pageIndex == CSynthResources::kPresetsPage)
    {
        CProgBrowser* browser = new CProgBrowser(this, synth, resources);
        browser->x = kGap;
        browser->y = kGap;
        browser->OnMenu = new _COnMouse<CSynthWin>(this, &CSynthWin::BrowserMenu);
        panel->AddChild(browser);
    }
    else
    {
        panel->AddChild(new CAboutGroup(this));
    }
    struct Tab
    {
        const char* caption;
        int32_t top;
        int32_t value;
    };
    const Tab tabs[] = {
        {"Presets", kGap, CSynthResources::kPresetsPage},
        {"About", kGap + kTabHeight, CSynthResources::kAboutPage},
        {"Editor", kEditorTabTop, kTabEditor},
    };
    for (const Tab& t : tabs)
    {
        CMenuButton* tab = new CMenuButton(this, t.caption);
        tab->x = kTabLeft;
        tab->y = t.top;
        tab->width = kTabWidth;
        tab->height = kTabHeight;
        tab->id = t.value;
        tab->OnChange = new _COnChange<CSynthWin>(this, &CSynthWin::TabPressed);
        panel->AddChild(tab);
    }
}

void CSynthWin::BuildStrip(CGroup* panel)
{
    CHeaderLabel* title = new CHeaderLabel(this, kTitleText);
    title->width = kStripLabelWidth;
    title->height = kStripHeight;
    title->OnChange = new _COnChange<CSynthWin>(this, &CSynthWin::ToggleAbout);
    Anchor(title, kAnchorBottom, 0, kGap);
    panel->AddChild(title);

    CAudioVU* meter = new CAudioVU(this, &synth->peakLeft, &synth->peakRight);
    meter->x = kStripLabelWidth;
    Anchor(meter, kAnchorBottom, 0, (kStripHeight - CAudioVU::kHeight) / 2 + kGap);
    panel->AddChild(meter);
    idleList.Add(meter);

    CProgHeader* header = new CProgHeader(this, synth, resources);
    header->x = kStripLabelWidth + CAudioVU::kWidth + kHeaderGap;
    Anchor(header, kAnchorBottom, 0, kGap);
    panel->AddChild(header);

    CHeaderLabel* version = new CHeaderLabel(this, kVersionText);
    version->width = kStripLabelWidth;
    version->height = kStripHeight;
    version->OnChange = new _COnChange<CSynthWin>(this, &CSynthWin::ToggleAbout);
    Anchor(version, kAnchorBottomRight, 0, kGap);
    panel->AddChild(version);
}

void CSynthWin::Idle()
{
    if (synth->programsChanged && openDialogs == 0)
    {
        synth->programsChanged = 0;
        // A program change or load (from MIDI, the browser, a file) changes
        // every parameter the host shows.
        if (synth->automation != nullptr)
            synth->automation->UpdateDisplay();
        Rebuild();
        Invalidate();
        return;
    }
    for (int32_t i = 0; i < idleList.Count(); ++i)
        static_cast<CCtrl*>(idleList.Get(i))->Invalidate();
    for (int32_t i = 0; i < knobList.Count(); ++i)
        static_cast<CParamControl*>(knobList.Get(i))->FollowField();
    app->system->Update(hwnd);
    // The audio thread raises the peaks meanwhile; losing one fall to a
    // concurrent raise is harmless.
    const float left = synth->peakLeft - kPeakFall;
    const float right = synth->peakRight - kPeakFall;
    synth->peakLeft = left > 0.0f ? left : 0.0f;
    synth->peakRight = right > 0.0f ? right : 0.0f;
}

void CSynthWin::TabPressed(CCtrl* tab)
{
    if (tab->id == kTabEditor)
        resources->pagesShown = CSynthResources::kSoundEditor;
    else
        resources->pageIndex = tab->id;
    resources->RequestRebuild();
}

void CSynthWin::ToggleAbout(CCtrl*)
{
    if (resources->pagesShown == CSynthResources::kSoundEditor)
    {
        resources->pagesShown = CSynthResources::kPageView;
        resources->pageIndex = CSynthResources::kAboutPage;
    }
    else if (resources->pageIndex == CSynthResources::kAboutPage)
    {
        resources->pagesShown = CSynthResources::kSoundEditor;
    }
    else
    {
        resources->pageIndex = CSynthResources::kAboutPage;
    }
    resources->RequestRebuild();
}

void CSynthWin::BrowserMenu(CCtrl* browser, int32_t x, int32_t y, int32_t)
{
    RunBrowserCommand(ChooseFromMenu(browser, x, y, BrowserMenuItems(), -1));
}

void CSynthWin::RunBrowserCommand(int32_t item)
{
    switch (item)
    {
    case kLoadFactoryBank:
        if (Ask("Overwrite bank", "Restore all presets to factory state?", kAskOkCancel) == kAskOk)
            synth->LoadFactoryBank();
        break;
    case kClearAllPresets:
        if (Ask("Overwrite bank", "Clear all presets to initial state?", kAskOkCancel) == kAskOk)
        {
            synth->ClearAllPrograms();
            synth->SetProgram(0);
        }
        break;
    case kLoadBank:
    case kLoadProgram:
        LoadFile(item == kLoadBank);
        break;
    case kSaveBank:
    case kSaveProgram:
        SaveFile(item == kSaveBank);
        break;
    case kForgetControllers:
        synth->midiLearn.ForgetAll();
        break;
    default:
        break;
    }
}

void CSynthWin::LoadFile(bool bank)
{
    std::string path;
    if (!ChooseFile(false, bank ? kBankExtension : kProgramExtension, path))
        return;
    CBankFiles files(*synth);
    if (!(bank ? files.LoadBank(path) : files.LoadProgram(path)))
        Ask(bank ? "Load bank" : "Load program", files.Error().c_str(), kAskOk);
}

void CSynthWin::SaveFile(bool bank)
{
    std::string path;
    if (!ChooseFile(true, bank ? kBankExtension : kProgramExtension, path))
        return;
    CBankFiles files(*synth);
    if (!(bank ? files.SaveBank(path) : files.SaveProgram(path)))
        Ask(bank ? "Save bank" : "Save program", files.Error().c_str(), kAskOk);
}

int32_t CSynthWin::ChooseFromMenu(CCtrl* at, int32_t x, int32_t y, const std::vector<std::string>& items,
                                  int32_t marked)
{
    ++openDialogs;
    const int32_t chosen = RunMenu(at, x, y, items, marked);
    --openDialogs;
    return chosen;
}

int32_t CSynthWin::Ask(const char* title, const char* message, int32_t flags)
{
    ++openDialogs;
    const int32_t result = RunAsk(title, message, flags);
    --openDialogs;
    return result;
}

bool CSynthWin::ChooseFile(bool save, const char* extension, std::string& path)
{
    ++openDialogs;
    const bool chosen = RunFileBrowser(save, extension, path);
    --openDialogs;
    return chosen;
}

namespace
{

// Notes the entry chosen from a menu by its id (the item's index).
class CChoiceRecorder
{
public:
    void Chosen(CCtrl* entry) { index = entry->id; }
    int32_t index = -1;
};

}  // namespace

int32_t CSynthWin::RunMenu(CCtrl* at, int32_t x, int32_t y, const std::vector<std::string>& items, int32_t marked)
{
    CMenuItem menu("");
    for (size_t i = 0; i < items.size(); ++i)
    {
        const int32_t index = static_cast<int32_t>(i);
        if (items[i] == "-")
            menu.AddSeparator();
        else
            menu.Add(items[i].c_str(), index)->checked = index == marked ? 1 : 0;
    }
    CChoiceRecorder recorder;
    menu.OnChange = new _COnChange<CChoiceRecorder>(&recorder, &CChoiceRecorder::Chosen);
    const Rect place = CPopup::ScreenRectOf(at);
    CPopup::Run(this, &menu, place.left + x, place.top + y);
    return recorder.index;
}

int32_t CSynthWin::RunAsk(const char* title, const char* message, int32_t flags)
{
    return ::Ask(this, title, message, flags);
}

bool CSynthWin::RunFileBrowser(bool save, const char* extension, std::string& path)
{
    const bool bank = std::string(extension) == kBankExtension;
    const char* title = save ? (bank ? "Save bank" : "Save program") : (bank ? "Load bank" : "Load program");
    std::unique_ptr<CFileWin> browser(save ? new CSaveWin(app, this, title) : new CFileWin(app, this, title));
    browser->folder = resources->fileFolder;
    browser->extension = std::string(".") + extension;
    if (save)
    {
        browser->options = kFileAskReplace;
        char* name = synth->GetProgramName(synth->GetProgram());
        std::string suggested = bank ? std::string("bank") : std::string(name);
        FreeString(name);
        // Program names may hold characters that no file name can.
        for (char& c : suggested)
            if (std::strchr("\\/:*?\"<>|", c) != nullptr || static_cast<unsigned char>(c) < 32)
                c = '_';
        browser->fileName = suggested + browser->extension;
    }
    else
    {
        browser->mustExist = 1;
    }
    browser->RunModal();
    if (browser->result != kPromptOk)
        return false;
    path = browser->Path();
    resources->fileFolder = browser->folder;
    return true;
}

void CSynthWin::OpenWebAddress(const char* url)
{
    OpenUrl(url);
}
