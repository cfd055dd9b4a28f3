#pragma once

#include "synth/PatchSections.h"
#include "synth/SynthProgram.h"

#include <cstdint>

class CStream;
class CSynth;

// Reads the patch format from a stream's current position to its end into the
// synth's programs. Chunks come from host project files and may be truncated,
// damaged or written by a later version, so the reader trusts no count: it
// never reads or writes outside the stream or a record, allocates nothing,
// always finishes, and gives every field whose bytes are missing its default.
class CPatchReader
{
public:
    // isPreset: every program in the stream replaces the current program.
    // Otherwise the programs fill the bank from index 0 and "prog" selects the
    // current one.
    CPatchReader(CSynth& synth, CStream& stream, bool isPreset);

    void Read();

private:
    enum class TagResult
    {
        Read,
        Skipped,  // longer than any known tag; its bytes were passed over
        End
    };

    TagResult ReadTag(char (&tag)[PatchFormat::kMaxTagLength + 1]);
    void ReadProgramHeader();
    void ReadSection(const PatchSection& section, uint32_t size);
    void ReadCurrentIndex(uint32_t size);
    // Replaces the synth's controller bindings when the whole section is
    // sound; a damaged one binds nothing and changes nothing.
    void ReadControllerMap(uint32_t size);
    // Passes over n bytes; false (and the position at the end) when fewer remain.
    bool Skip(uint32_t n);
    int64_t Remaining();
    SynthProgram& Target();

    CSynth& synth;
    CStream& stream;
    bool isPreset;
    int32_t end;
    int32_t bankPosition = -1;
    SynthProgram* target = nullptr;
    SynthProgram defaults;
    SynthProgram scratch;  // receives entries beyond the record's four
};
