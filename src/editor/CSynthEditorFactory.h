#pragma once

#include "editor/CEditorFactory.h"
#include "editor/CSynthResources.h"

class CSynth;

// The synth's editor windows (CSynthWin), all sharing one view state, so that
// a reopened editor shows the page and panels the last one showed.
class CSynthEditorFactory : public CEditorFactory
{
public:
    // synth is not owned and outlives the factory.
    explicit CSynthEditorFactory(CSynth& synth);

    CPluginWin* CreateEditor(CApp* app) override;

    CSynthResources& View() { return view; }

private:
    CSynth& synth;
    CSynthResources view;
};
