#pragma once

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/platform/CSoftScreen.h"
#include "gui/widgets/CValue.h"

// The toolkit's widget demo: one of each standard control in a window, a
// button that counts its clicks into a number field, and a key that writes
// the screen as it is.
class CDemo
{
public:
    void Clicked(CCtrl*);
    // 's' (seen before every window's own keys) writes the screen to snapshot.
    bool Key(CCtrl*, KeyRecord* key, int32_t);

    static constexpr uint32_t kDesktop = 0x6B4A2A;
    CValue* counter = nullptr;
    int clicks = 0;
    CSoftScreen* screen = nullptr;
    CWin* window = nullptr;
    const char* snapshot = nullptr;
    bool snapshotWritten = false;
};

// The demo window, hidden; the caller deletes it.
CWin* BuildWidgetDemo(CApp* app, CDemo* demo);

// On the in-memory screen: clicks the counter's button twice through the
// scripted queue and writes the screen to path; with popupPath (may be null)
// it also writes the screen with the menu bar's popup and a submenu open.
// Errors go to stderr after tool's name. Returns 0 when every picture was
// written and both clicks were counted, else 1.
int WriteWidgetDemo(const char* tool, const char* path, const char* popupPath);
