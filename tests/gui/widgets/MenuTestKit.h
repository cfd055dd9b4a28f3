#pragma once

#include "core/WindowTestKit.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CMenuItem.h"
#include "gui/widgets/CPopup.h"

#include <functional>
#include <string>
#include <vector>

// Scripted menu sessions: a main window with a probe, a recorder of
// reported entries, and keys that run test code from inside a popup loop
// ('s' takes a snapshot, 'x' runs an action), seen by the application's
// global key handler before any popup.
class MenuTestKit : public WindowTestKit
{
public:
    MenuTestKit()
    {
        main = new CWin(&app, nullptr, kWinNoBorder, "main", 0, 0, 400, 300);
        probe = new CProbe(main, &log, "main", 0, 100, 400, 200);
        main->AddChild(probe);
        main->Show(true);
        Pump();
        app.globalKeyHandler = new _COnKey<MenuTestKit>(this, &MenuTestKit::Hook);
    }
    ~MenuTestKit() { delete main; }

    void Chosen(CCtrl* sender) { reported.push_back(static_cast<CMenuItem*>(sender)->id); }
    COnChange* Recorder() { return new _COnChange<MenuTestKit>(this, &MenuTestKit::Chosen); }

    bool Hook(CCtrl*, KeyRecord* key, int32_t)
    {
        if (key->key == 's')
            snaps.push_back(snap ? snap() : std::string());
        else if (key->key == 'x' && action)
            action();
        else
            return false;
        return true;
    }

    // "popups/highlight of the newest"
    std::string PopupState()
    {
        const CPopup* top = static_cast<CPopup*>(app.topPopup);
        return std::to_string(app.popupStack.Count()) + "/" + std::to_string(top != nullptr ? top->highlight : -9);
    }

    void Keys(std::initializer_list<int32_t> keys)
    {
        for (int32_t k : keys)
            screen.Key(k);
    }

    CWin* main;
    CProbe* probe;
    std::vector<int32_t> reported;
    std::vector<std::string> snaps;
    std::function<std::string()> snap;
    std::function<void()> action;
};
