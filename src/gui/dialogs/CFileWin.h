#pragma once

#include "gui/dialogs/CDialog.h"

#include <cstdint>
#include <string>

class CButton;
class CEdit;
class CFileList;
class CFileTree;
class CLabel;
class CSeparator;
class CSplit;
struct FileEntry;

// Option bits of the file browser.
constexpr uint32_t kFileAskReplace = 1;  // ask before replacing an existing file (save)

// The file browser: a resizable dialog with the drive and folder tree (a
// split on its right edge sets its width), the current folder's entries,
// and below them the name field with "OK" and "Cancel". Configure the
// fields, RunModal, then read result: OK means Path() was chosen.
//
// Keys: Escape cancels; Enter opens the folder selected in the focused
// list, or a folder typed into the name field, else chooses (OK);
// Backspace in the name field changes to the folder the typed path leads
// to, and to the parent folder when the field is empty; Insert asks for a
// new folder's name (the text-input box "New folder") and changes into it,
// as does "New folder" of the menu that a right click on the list or the
// tree opens.
//
// With iniPath the placement is read from section "filewin" of that
// settings file when the browser opens ("left", "top", "width", "height",
// "tree"; defaults 200, 200, 480, 480 and the tree's width) and written back
// when it closes. A placement that would leave the title bar off the
// screen falls back to (200, 200); sizes are kept between the browser's
// minimum and the screen's size.
class CFileWin : public CDialog
{
public:
    static constexpr int32_t kDefaultLeft = 200;
    static constexpr int32_t kDefaultTop = 200;
    static constexpr int32_t kDefaultSide = 480;
    static constexpr int32_t kMinWidth = 240;
    static constexpr int32_t kMinHeight = 160;

    CFileWin(CApp* app, CWin* owner, const char* title);

    // Opens the folder (the default folder when empty or gone), reads the
    // placement, gives the list or the tree the focus and runs modally.
    void RunModal() override;
    // Writes the placement of a shown browser, then hides it.
    void Close() override;
    bool DialogKey(CCtrl* sender, KeyRecord* key, int32_t mods) override;
    // With mustExist, a path that does not exist cancels; with
    // confirmNonEmpty a non-empty folder asks "Are you sure?".
    bool Validate() override;

    // Changes to path (made first when create is set); false, changing
    // nothing, when it is not a folder or cannot be made.
    bool ChangeFolder(const std::string& path, bool create);
    // Asks for a name with the text-input box "New folder" and changes into the new folder.
    void NewFolder();
    // The chosen path: the name field's path in the folder (a file browser),
    // or the folder (a folder browser).
    virtual std::string Path() const;
    // Whether the list shows e: folders always, files matching a required extension.
    virtual bool Shows(const FileEntry& e) const;

    // The path the name field's text leads to ("" for an empty field).
    std::string TypedPath() const;
    // The extension of name from its last '.' (with the dot), or "".
    static std::string ExtensionOf(const std::string& name);
    // a and b name the same extension, with or without the leading dot, ASCII case ignored.
    static bool SameExtension(const std::string& a, const std::string& b);

    std::string folder;
    std::string fileName;
    std::string extension;  // required by a save browser, e.g. ".vlm"
    std::string iniPath;    // settings file of the placement; empty: none
    uint8_t mustExist = 0;
    uint8_t confirmNonEmpty = 0;
    uint32_t options = 0;
    uint8_t focusOnList = 1;

    CFileTree* tree;
    CSplit* split;
    CFileList* list;
    CSeparator* separator;
    CLabel* label;
    CEdit* nameField;
    CButton* okButton;
    CButton* cancelButton;

protected:
    // Takes the name field's text as fileName; false for a file browser with no name.
    bool TakeName();

private:
    void Refresh();
    void ReadPlacement();
    void WritePlacement();
    void SplitMoved(CCtrl* sender);
    void TreeChosen(CCtrl* sender);
    void ListSelected(CCtrl* sender);
    // A double click on the list opens its entry; a right click on the list or the tree offers "New folder".
    void ListPressed(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
    void ContextMenu();
    // Opens the selected entry: a folder is entered, a file chosen.
    void OpenSelected();
};

// The save browser: refuses a name without the required extension and,
// with kFileAskReplace, asks before replacing an existing file.
class CSaveWin : public CFileWin
{
public:
    CSaveWin(CApp* app, CWin* owner, const char* title);

    bool Validate() override;
};

// The folder browser: shows folders only; the chosen path is the current folder.
class CFolderWin : public CFileWin
{
public:
    CFolderWin(CApp* app, CWin* owner, const char* title);

    std::string Path() const override;
    bool Shows(const FileEntry& e) const override;
};
