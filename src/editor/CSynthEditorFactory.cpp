#include "editor/CSynthEditorFactory.h"

#include "editor/CSynthWin.h"

CSynthEditorFactory::CSynthEditorFactory(CSynth& synth) : synth(synth), view(synth)
{
}

CPluginWin* CSynthEditorFactory::CreateEditor(CApp* app)
{
    return new CSynthWin(app, &synth, &view);
}
