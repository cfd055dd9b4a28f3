#include "editor/CSynthResources.h"

#include "synth/CSynth.h"

void CSynthResources::RequestRebuild()
{
    synth.MarkProgramsChanged();
}
