#pragma once

#include "io/CMemoryStream.h"
#include "synth/CSynth.h"
#include "synth/SynthProgram.h"

#include <cstdint>
#include <string>
#include <vector>

// Helpers shared by the patch format tests: building byte streams by hand and
// programs whose every stored field holds its own value.
namespace PatchTest
{

using Bytes = std::vector<uint8_t>;

// Appends words and strings in the stored encoding, independently of the
// code under test.
class CByteBuilder
{
public:
    CByteBuilder& U32(uint32_t value);
    CByteBuilder& F32(float value);
    CByteBuilder& Text(const std::string& text);  // u32 length, then the bytes
    CByteBuilder& Section(const std::string& tag, uint32_t size);
    CByteBuilder& Raw(const Bytes& bytes);
    const Bytes& Get() const { return bytes; }

private:
    Bytes bytes;
};

SynthProgram DefaultProgram(const char* name = "");

// A program whose every word holds a distinct value that no header word can
// be mistaken for; ratios hold allowed values.
SynthProgram MarkedProgram(const char* name);

// The fields the stored format does not carry set back to their defaults: what
// a record looks like after a save and a load.
SynthProgram Stored(SynthProgram program);

Bytes StreamBytes(CMemoryStream& stream);
void Fill(CMemoryStream& stream, const Bytes& bytes);

// A program chunk (isPreset) or a bank chunk, saved or loaded as a host does.
Bytes SaveChunk(CSynth& synth, bool isPreset);
void LoadChunk(CSynth& synth, const Bytes& bytes, bool isPreset);

// What differs between two records: "name" and "word k" (k counted from the
// first word after the name).
std::vector<std::string> DifferentFields(const SynthProgram& a, const SynthProgram& b);

}  // namespace PatchTest
