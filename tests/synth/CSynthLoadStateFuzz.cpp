// libFuzzer target: any byte string given to LoadState, as a bank or as a
// program chunk. Besides the sanitizers' checks it traps when the synth's
// state breaks its invariants or when what was loaded does not survive being
// saved and loaded again.
#include "support/FuzzCheck.h"
#include "io/CMemoryStream.h"
#include "synth/CSynth.h"

#include <cstdint>
#include <cstring>

namespace
{

void CheckInvariants(CSynth& synth)
{
    Check(synth.programIndex >= 0 && synth.programIndex < CSynth::kProgramCount);
    Check(synth.currentProgram == &synth.programs[synth.programIndex]);
    for (const SynthProgram& p : synth.programs)
        Check(std::memchr(p.name, 0, sizeof p.name) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Construction is the costly part; the instances are reused and every
    // load is judged only by what it produced.
    static CSynth* loaded = new CSynth;
    static CSynth* reloaded = new CSynth;
    if (size < 1 || size > INT32_MAX)
        return 0;
    // The first byte picks the chunk kind and the current program.
    const bool isPreset = (data[0] & 0x80) != 0;
    loaded->SetProgram(data[0] & 0x3F);

    CMemoryStream input;
    if (size > 1)
        input.Write(data + 1, static_cast<int32_t>(size - 1));
    input.Seek(0, CStream::FromStart);
    loaded->LoadState(&input, isPreset);
    CheckInvariants(*loaded);

    // Saving what was loaded and loading it elsewhere must give the same
    // records: the format carries every stored field, and fields it does not
    // carry hold their defaults on both sides.
    CMemoryStream saved;
    loaded->SaveState(&saved, isPreset);
    saved.Seek(0, CStream::FromStart);
    reloaded->SetProgram(loaded->programIndex);
    reloaded->LoadState(&saved, isPreset);
    CheckInvariants(*reloaded);
    Check(reloaded->programIndex == loaded->programIndex);
    if (isPreset)
        Check(std::memcmp(reloaded->currentProgram, loaded->currentProgram, sizeof(SynthProgram)) == 0);
    else
        Check(std::memcmp(reloaded->programs, loaded->programs, sizeof loaded->programs) == 0);
    return 0;
}
