#pragma once

#include "synth/SynthProgram.h"

#include <cstdint>

class CMidiLearn;
class CStream;

// Writes programs in the tagged-section patch format at the stream's current
// position: every field as its own little-endian 32-bit word.
class CPatchWriter
{
public:
    enum class Layout
    {
        Host,    // all 23 sections: host chunks
        Factory  // the compiled-in bank: no "fscale", ratios stored as 0.0
    };

    explicit CPatchWriter(CStream& stream, Layout layout = Layout::Host);

    // The "pp" section and the sections after it.
    void WriteProgram(const SynthProgram& program);
    // The closing "prog" section of a bank.
    void WriteCurrentIndex(int32_t index);
    // The "ccmap" section after "prog"; nothing when no controller is bound.
    void WriteControllerMap(const CMidiLearn& learn);

private:
    void WriteString(const char* text, uint32_t length);
    void WriteSectionHeader(const char* tag, uint32_t size);

    CStream& stream;
    Layout layout;
};
