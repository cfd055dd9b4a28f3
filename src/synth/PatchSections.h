#pragma once

#include "synth/SynthProgram.h"

#include <cstdint>

// The stored layout of a program: which words each tagged section carries and
// in which order. Writer, reader and the factory bank generator all walk the
// record through this one table, so the order of words is defined only here.

// Receives the words of one section in stored order. Field names are the
// record's member names (entry-relative, e.g. "attack", inside "env" and "lfo").
class CPatchWordVisitor
{
public:
    virtual ~CPatchWordVisitor() = default;
    virtual void Int(const char* name, int32_t& field) = 0;
    virtual void Float(const char* name, float& field) = 0;
    // A word stored as zero and ignored on reading.
    virtual void Zero() = 0;
};

struct PatchSection
{
    enum Kind
    {
        Fixed,   // a fixed list of words
        Counted  // a count word, then that many entries of entryWords words
    };

    const char* tag;
    uint32_t sizeField;  // the value written into the size field
    bool checked;        // the reader requires the size field to equal sizeField
    Kind kind;
    // Fixed: visits the payload words. Counted: visits entry `index` (0..3).
    void (*visit)(SynthProgram& program, int index, CPatchWordVisitor& visitor);
};

namespace PatchFormat
{

constexpr const char* kProgramTag = "pp";
constexpr const char* kCurrentIndexTag = "prog";
// The player's MIDI controller bindings: a bank's last section, written only
// when there are any. Payload: a count, then count pairs of controller and
// parameter index. Readers that do not know it skip it by its size.
constexpr const char* kControllerMapTag = "ccmap";
constexpr uint32_t kControllerMapEntryBytes = 8;
constexpr const char* kFilterScaleTag = "fscale";
constexpr const char* kWaveTag = "wave";  // holds the ratios the reader screens
constexpr uint32_t kCurrentIndexSize = 4;
// Words after the name in the "pp" section, written as zero.
constexpr int kProgramHeaderZeroWords = 4;
// The "pp" size field is the name length plus this.
constexpr uint32_t kProgramSizeBase = 20;
// Entries in each counted section ("env", "lfo").
constexpr uint32_t kCountedEntries = 4;
constexpr int kSectionCount = 22;
// The longest tag ("waveshape").
constexpr int kMaxTagLength = 9;

// The 22 sections after "pp", in writing order.
extern const PatchSection kSections[kSectionCount];

// The only values a stored oscillator modulation ratio may take; anything else
// loads as 1.0.
bool IsAllowedRatio(float ratio);

}  // namespace PatchFormat
