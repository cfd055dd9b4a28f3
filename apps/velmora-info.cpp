// Prints a one-line summary of a fresh synthesizer's factory state.
#include "io/HeapString.h"
#include "synth/CSynth.h"

#include <cstdio>

int main()
{
    CSynth synth;
    char* name = synth.GetProgramName(synth.GetProgram());
    std::printf("Velmora: %d programs, current program %d \"%s\", %d Hz, %.0f BPM\n", CSynth::kProgramCount,
                synth.GetProgram(), name, synth.sampleRate, static_cast<double>(synth.tempo));
    FreeString(name);
    return 0;
}
