#include "host/CEditorHosting.h"

#include "host/CPluginBase.h"
#include "io/CObject.h"

intptr_t CEditorHosting::GetRect(ERect** where)
{
    rect = {0, 0, kEditorHeight, kEditorWidth};
    if (!where)
        return 0;
    *where = &rect;
    return 1;
}

// A second open request shows nothing new.
intptr_t CEditorHosting::Open(CPluginBase& core, void*)
{
    if (!core.editorWindow)
        core.editorWindow = core.CreateEditor();
    return 1;
}

intptr_t CEditorHosting::Close(CPluginBase& core)
{
    delete core.editorWindow;
    core.editorWindow = nullptr;
    delete core.editorApp;
    core.editorApp = nullptr;
    return 0;
}

intptr_t CEditorHosting::Idle(CPluginBase& core)
{
    core.Idle();
    return 0;
}
