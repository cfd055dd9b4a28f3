#pragma once

class CApp;
class CPluginWin;

// Builds a plug-in's editor window each time the host opens the editor, and
// keeps whatever view state outlives one window. The host adapter owns it;
// user-interface thread only.
class CEditorFactory
{
public:
    virtual ~CEditorFactory() = default;

    // A new editor window on app (not owned, outlives the window); null
    // when none can be made.
    virtual CPluginWin* CreateEditor(CApp* app) = 0;
};
