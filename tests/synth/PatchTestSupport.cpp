#include "PatchTestSupport.h"

#include "io/ByteOrder.h"

#include <cstring>

namespace PatchTest
{

CByteBuilder& CByteBuilder::U32(uint32_t value)
{
    uint8_t word[4];
    StoreU32LE(word, value);
    bytes.insert(bytes.end(), word, word + 4);
    return *this;
}

CByteBuilder& CByteBuilder::F32(float value)
{
    return U32(FloatBits(value));
}

CByteBuilder& CByteBuilder::Text(const std::string& text)
{
    U32(static_cast<uint32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
}

CByteBuilder& CByteBuilder::Section(const std::string& tag, uint32_t size)
{
    return Text(tag).U32(size);
}

CByteBuilder& CByteBuilder::Raw(const Bytes& more)
{
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
}

SynthProgram DefaultProgram(const char* name)
{
    SynthProgram program;
    std::memset(&program, 0, sizeof program);
    InitProgram(program);
    SetProgramName(program, name);
    return program;
}

SynthProgram MarkedProgram(const char* name)
{
    SynthProgram program = DefaultProgram(name);
    // Word k of the record (after the name) holds the bits 0x5EED0000 + k,
    // whatever the field's type (as a float, a large finite value): no size,
    // count or text of the format reads as one.
    uint8_t* words = reinterpret_cast<uint8_t*>(&program) + SynthProgram::kNameBytes;
    for (uint32_t k = 0; k < (sizeof program - SynthProgram::kNameBytes) / 4; ++k)
    {
        const uint32_t word = 0x5EED0000u + k;
        std::memcpy(words + 4 * k, &word, 4);
    }
    program.ratio1 = 0.125f;
    program.ratio2 = 8.0f;
    return program;
}

SynthProgram Stored(SynthProgram program)
{
    const SynthProgram defaults = DefaultProgram();
    program.glide = defaults.glide;
    program.glideLegatoOnly = defaults.glideLegatoOnly;
    program.lfo1Noise = defaults.lfo1Noise;
    program.lfo1Mix = defaults.lfo1Mix;
    program.eqLow = defaults.eqLow;
    program.eqMid = defaults.eqMid;
    program.eqHigh = defaults.eqHigh;
    program.eqFreqLow = defaults.eqFreqLow;
    program.eqFreqHigh = defaults.eqFreqHigh;
    program.eqGain = defaults.eqGain;
    return program;
}

std::vector<std::string> DifferentFields(const SynthProgram& a, const SynthProgram& b)
{
    std::vector<std::string> fields;
    if (std::memcmp(a.name, b.name, sizeof a.name) != 0)
        fields.push_back("name");
    const uint8_t* wordsA = reinterpret_cast<const uint8_t*>(&a) + SynthProgram::kNameBytes;
    const uint8_t* wordsB = reinterpret_cast<const uint8_t*>(&b) + SynthProgram::kNameBytes;
    for (size_t k = 0; k < (sizeof a - SynthProgram::kNameBytes) / 4; ++k)
    {
        if (std::memcmp(wordsA + 4 * k, wordsB + 4 * k, 4) != 0)
            fields.push_back("word " + std::to_string(k));
    }
    return fields;
}

Bytes StreamBytes(CMemoryStream& stream)
{
    const uint8_t* data = stream.Data();
    return data ? Bytes(data, data + stream.Size()) : Bytes();
}

void Fill(CMemoryStream& stream, const Bytes& bytes)
{
    stream.SetSize(0);
    stream.Seek(0, CStream::FromStart);
    if (!bytes.empty())
        stream.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.Seek(0, CStream::FromStart);
}

Bytes SaveChunk(CSynth& synth, bool isPreset)
{
    CMemoryStream stream;
    synth.SaveState(&stream, isPreset);
    return StreamBytes(stream);
}

void LoadChunk(CSynth& synth, const Bytes& bytes, bool isPreset)
{
    CMemoryStream stream;
    Fill(stream, bytes);
    synth.LoadState(&stream, isPreset);
}

}  // namespace PatchTest
