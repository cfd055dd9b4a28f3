#include "gui/dialogs/CFileWin.h"

#include "gui/core/CApp.h"
#include "gui/core/CClientGroup.h"
#include "gui/dialogs/CFileList.h"
#include "gui/dialogs/CFileTree.h"
#include "gui/dialogs/CPromptWin.h"
#include "gui/dialogs/CTextWin.h"
#include "gui/platform/CFileSystem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CButton.h"
#include "gui/widgets/CEdit.h"
#include "gui/widgets/CLabel.h"
#include "gui/widgets/CMenuItem.h"
#include "gui/widgets/CPopup.h"
#include "gui/widgets/CSplit.h"
#include "io/CIniFile.h"

#include <algorithm>

namespace
{

const char* const kSection = "filewin";
constexpr int32_t kCommandNewFolder = 1;
constexpr int32_t kTreeWidth = 160;
constexpr int32_t kSplitWidth = 4;
// The bottom row: separator, "File:" label, name field and buttons.
constexpr int32_t kBottomRow = 24;
constexpr int32_t kRowHeight = 18;
constexpr int32_t kRowMargin = 2;
constexpr int32_t kLabelWidth = 32;
constexpr int32_t kFieldLeft = 36;
constexpr int32_t kFieldRightMargin = 86;
constexpr int32_t kButtonWidth = 40;
constexpr int32_t kOkRightMargin = 44;
constexpr int32_t kCancelRightMargin = 2;
// The tree can be folded away below this width, and never takes the list's last pixels.
constexpr int32_t kTreeCollapse = 16;
constexpr int32_t kTreeMinimum = 48;
constexpr int32_t kListMinimum = 40;
// At least this much of the title bar stays on the screen.
constexpr int32_t kTitleGrip = 32;

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAbsolute(const std::string& path)
{
    if (path.empty())
        return false;
    if (path[0] == '/' || path[0] == CFileSystem::Separator())
        return true;
    return CFileSystem::Separator() != '/' && path.size() >= 2 && path[1] == ':';
}

template <class T>
T* Place(CWin* win, T* c, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t anchor, int32_t mx, int32_t my)
{
    c->x = x;
    c->y = y;
    c->width = w;
    c->height = h;
    c->anchor = anchor;
    c->marginX = mx;
    c->marginY = my;
    win->AddChild(c);
    return c;
}

}  // namespace

CFileWin::CFileWin(CApp* app, CWin* owner, const char* title)
    : CDialog(app, owner, kWinTitleBar | kWinCentre | kWinResizable, title, kDefaultLeft, kDefaultTop, kDefaultSide,
              kDefaultSide)
{
    minWidth = kMinWidth;
    minHeight = kMinHeight;
    const int32_t w = clientGroup->width;
    const int32_t h = clientGroup->height;
    const int32_t rowTop = h - kRowHeight - kRowMargin;
    tree = Place(this, new CFileTree(this), 0, 0, kTreeWidth, h - kBottomRow, kAnchorStretchY, 0, kBottomRow);
    split = Place(this, new CSplit(this, tree, false), kTreeWidth, 0, kSplitWidth, h - kBottomRow, kAnchorStretchY, 0,
                  kBottomRow);
    split->collapse = kTreeCollapse;
    split->minimum = kTreeMinimum;
    const int32_t listLeft = kTreeWidth + kSplitWidth;
    list = Place(this, new CFileList(this), listLeft, 0, w - listLeft, h - kBottomRow,
                 kAnchorStretchX | kAnchorStretchY, 0, kBottomRow);
    separator = Place(this, new CSeparator(this), 0, h - kBottomRow, w, kBottomRow - kRowHeight - kRowMargin,
                      kAnchorStretchX | kAnchorBottom, 0, kRowHeight + kRowMargin);
    label = Place(this, new CLabel(this, "File:"), kRowMargin, rowTop, kLabelWidth, kRowHeight, kAnchorBottom, 0,
                  kRowMargin);
    nameField = Place(this, new CEdit(this), kFieldLeft, rowTop, w - kFieldLeft - kFieldRightMargin, kRowHeight,
                      kAnchorStretchX | kAnchorBottom, kFieldRightMargin, kRowMargin);
    nameField->tabStop = 1;
    okButton = Place(this, new CButton(this, "OK"), w - kButtonWidth - kOkRightMargin, rowTop, kButtonWidth, kRowHeight,
                     kAnchorRight | kAnchorBottom, kOkRightMargin, kRowMargin);
    okButton->id = kResultOk;
    cancelButton = Place(this, new CButton(this, "Cancel"), w - kButtonWidth - kCancelRightMargin, rowTop, kButtonWidth,
                         kRowHeight, kAnchorRight | kAnchorBottom, kCancelRightMargin, kRowMargin);
    cancelButton->id = kResultCancel;

    split->OnChange = new _COnChange<CFileWin>(this, &CFileWin::SplitMoved);
    tree->OnChange = new _COnChange<CFileWin>(this, &CFileWin::TreeChosen);
    list->OnChange = new _COnChange<CFileWin>(this, &CFileWin::ListSelected);
    list->OnMouseDown = new _COnMouse<CFileWin>(this, &CFileWin::ListPressed);
    tree->OnMouseDown = new _COnMouse<CFileWin>(this, &CFileWin::ListPressed);
}

void CFileWin::RunModal()
{
    // A missing folder, or one that has gone, opens its nearest existing ancestor.
    if (folder.empty())
        folder = CFileSystem::DefaultFolder();
    while (!folder.empty() && !(CFileSystem::Attributes(folder) & kFileFolder))
        folder = CFileSystem::Parent(folder);
    if (folder.empty())
        folder = CFileSystem::DefaultFolder();
    if (!iniPath.empty())
        ReadPlacement();
    Refresh();
    nameField->SetText(fileName.c_str());
    list->Select(list->Find(fileName));
    SetFocusCtrl(focusOnList ? static_cast<CCtrl*>(list) : static_cast<CCtrl*>(tree));
    CDialog::RunModal();
}

void CFileWin::Close()
{
    if (visible && !iniPath.empty())
        WritePlacement();
    CDialog::Close();
}

void CFileWin::ReadPlacement()
{
    CIniFile ini(iniPath.c_str());
    style &= ~kWinCentre;
    const Rect screen = app->system->PrimaryScreen();
    int32_t w = ini.ReadInt(kSection, "width", kDefaultSide);
    int32_t h = ini.ReadInt(kSection, "height", kDefaultSide);
    w = std::clamp(w, kMinWidth, std::max(kMinWidth, screen.Width()));
    h = std::clamp(h, kMinHeight, std::max(kMinHeight, screen.Height()));
    int32_t l = ini.ReadInt(kSection, "left", kDefaultLeft);
    int32_t t = ini.ReadInt(kSection, "top", kDefaultTop);
    const bool reachable = l + w >= screen.left + kTitleGrip && l <= screen.right - kTitleGrip && t >= screen.top &&
                           t <= screen.bottom - kTitleHeight - kBorder;
    if (!reachable)
    {
        l = std::max(screen.left, std::min(kDefaultLeft, screen.right - w));
        t = std::max(screen.top, std::min(kDefaultTop, screen.bottom - h));
    }
    const int32_t treeWidth = ini.ReadInt(kSection, "tree", tree->width);
    app->system->SetRect(hwnd, Rect{l, t, l + w, t + h});
    Layout();
    tree->width = std::clamp(treeWidth, 0, std::max(clientGroup->width - kSplitWidth - kListMinimum, 0));
    SplitMoved(split);
}

void CFileWin::WritePlacement()
{
    int32_t l = 0;
    int32_t t = 0;
    int32_t w = 0;
    int32_t h = 0;
    GetPos(true, l, t);
    GetSize(w, h);
    CIniFile ini(iniPath.c_str());
    ini.WriteInt(kSection, "left", l);
    ini.WriteInt(kSection, "top", t);
    ini.WriteInt(kSection, "width", w);
    ini.WriteInt(kSection, "height", h);
    ini.WriteInt(kSection, "tree", tree->width);
}

void CFileWin::SplitMoved(CCtrl*)
{
    tree->width = std::min(tree->width, std::max(clientGroup->width - kSplitWidth - kListMinimum, 0));
    split->x = tree->width;
    list->x = tree->width + split->width;
    Layout();
    Invalidate();
}

void CFileWin::Refresh()
{
    std::vector<FileEntry> entries;
    // An unreadable folder shows no entries; the tree still leads elsewhere.
    CFileSystem::List(folder, entries);
    entries.erase(std::remove_if(entries.begin(), entries.end(), [this](const FileEntry& e) { return !Shows(e); }),
                  entries.end());
    list->SetEntries(entries);
    tree->ShowFolder(folder);
    Invalidate();
}

bool CFileWin::Shows(const FileEntry& e) const
{
    return e.folder || extension.empty() || SameExtension(ExtensionOf(e.name), extension);
}

bool CFileWin::ChangeFolder(const std::string& path, bool create)
{
    if (create && !CFileSystem::CreateFolder(path))
    {
        Ask(this, "New folder", ("Could not create the folder '" + path + "'").c_str(), kPromptOk);
        return false;
    }
    if (!(CFileSystem::Attributes(path) & kFileFolder))
        return false;
    folder = path;
    Refresh();
    return true;
}

void CFileWin::NewFolder()
{
    CTextWin box(app, "New folder", "", this);
    box.RunModal();
    if (box.result == kResultOk && box.Text()[0] != '\0')
        ChangeFolder(CFileSystem::Join(folder, box.Text()), true);
}

void CFileWin::TreeChosen(CCtrl*)
{
    // A folder that has gone since the tree was made: the tree is made afresh.
    if (!ChangeFolder(tree->Chosen(), false))
        Refresh();
}

void CFileWin::ListSelected(CCtrl*)
{
    const CFileItem* item = list->Selected();
    if (item != nullptr && !item->folder)
        nameField->SetText(item->text);
}

void CFileWin::ListPressed(CCtrl* sender, int32_t, int32_t, int32_t flags)
{
    if (sender == list && (flags & kMouseLeft) && (flags & kMouseDouble))
        OpenSelected();
    else if (flags & kMouseRight)
        ContextMenu();
}

void CFileWin::ContextMenu()
{
    CMenuItem menu("");
    menu.Add("New folder", kCommandNewFolder);
    int32_t sx = 0;
    int32_t sy = 0;
    app->system->CursorPos(sx, sy);
    if (CPopup::Run(this, &menu, sx, sy))
        NewFolder();
}

void CFileWin::OpenSelected()
{
    const CFileItem* item = list->Selected();
    if (item == nullptr)
        return;
    if (item->folder)
    {
        if (!ChangeFolder(CFileSystem::Join(folder, item->text), false))
            Refresh();
        return;
    }
    nameField->SetText(item->text);
    End(kResultOk);
}

std::string CFileWin::TypedPath() const
{
    const std::string typed = nameField->text;
    if (typed.empty())
        return "";
    if (typed == "..")
        return CFileSystem::Parent(folder);
    return IsAbsolute(typed) ? typed : CFileSystem::Join(folder, typed);
}

bool CFileWin::DialogKey(CCtrl*, KeyRecord* key, int32_t)
{
    if (key == nullptr)
        return false;
    switch (key->key)
    {
    case kKeyEscape:
        if (focusFirst && focusCtrl != nullptr)
            return false;
        End(kResultCancel);
        return true;
    case kKeyBackspace:
    {
        if (focusCtrl != nameField)
            return false;
        const std::string typed = TypedPath();
        const std::string target = typed.empty() ? CFileSystem::Parent(folder) : typed;
        if (target.empty() || !(CFileSystem::Attributes(target) & kFileFolder))
            return false;
        if (ChangeFolder(target, false))
            nameField->SetText("");
        return true;
    }
    case kKeyEnter:
    {
        const CFileItem* item = list->Selected();
        if (focusCtrl == list && item != nullptr && item->folder)
        {
            OpenSelected();
            return true;
        }
        const std::string typed = TypedPath();
        if (!typed.empty() && (CFileSystem::Attributes(typed) & kFileFolder))
        {
            if (ChangeFolder(typed, false))
                nameField->SetText("");
            return true;
        }
        End(kResultOk);
        return true;
    }
    case kKeyInsert:
        NewFolder();
        return true;
    default:
        return false;
    }
}

bool CFileWin::TakeName()
{
    fileName = nameField->text;
    return !Path().empty();
}

std::string CFileWin::Path() const
{
    if (fileName.empty())
        return "";
    return IsAbsolute(fileName) ? fileName : CFileSystem::Join(folder, fileName);
}

bool CFileWin::Validate()
{
    if (!TakeName())
        return false;
    const std::string path = Path();
    if (mustExist && CFileSystem::Attributes(path) == 0)
    {
        result = kResultCancel;
        return false;
    }
    if (confirmNonEmpty)
    {
        std::vector<FileEntry> entries;
        if (CFileSystem::List(path, entries) && !entries.empty() &&
            Ask(this, "Folder not empty", "Are you sure?", kPromptOk | kPromptCancel) != kPromptOk)
        {
            result = kResultCancel;
            return false;
        }
    }
    return true;
}

std::string CFileWin::ExtensionOf(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    const size_t slash = name.find_last_of(CFileSystem::Separator() == '/' ? "/" : "\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    return name.substr(dot);
}

bool CFileWin::SameExtension(const std::string& a, const std::string& b)
{
    const size_t sa = !a.empty() && a[0] == '.' ? 1 : 0;
    const size_t sb = !b.empty() && b[0] == '.' ? 1 : 0;
    if (a.size() - sa != b.size() - sb)
        return false;
    for (size_t i = 0; i + sa < a.size(); ++i)
        if (Lower(a[i + sa]) != Lower(b[i + sb]))
            return false;
    return true;
}

CSaveWin::CSaveWin(CApp* app, CWin* owner, const char* title) : CFileWin(app, owner, title)
{
}

bool CSaveWin::Validate()
{
    if (!TakeName())
        return false;
    if (!extension.empty() && !SameExtension(ExtensionOf(fileName), extension))
    {
        Ask(this, Name(), ("File extention does not match '" + extension + "'").c_str(), kPromptOk);
        return false;
    }
    if ((options & kFileAskReplace) && CFileSystem::Attributes(Path()) != 0 &&
        Ask(this, Name(), ("'" + fileName + "' already exists. Do you want to replace it?").c_str(),
            kPromptOk | kPromptCancel) != kPromptOk)
    {
        result = kResultCancel;
        return false;
    }
    return true;
}

CFolderWin::CFolderWin(CApp* app, CWin* owner, const char* title) : CFileWin(app, owner, title)
{
}

std::string CFolderWin::Path() const
{
    return folder;
}

bool CFolderWin::Shows(const FileEntry& e) const
{
    return e.folder;
}
