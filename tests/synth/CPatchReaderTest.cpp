#include "PatchTestSupport.h"

#include "io/CMemoryStream.h"
#include "synth/CPatchReader.h"
#include "synth/CPatchWriter.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <memory>

using namespace PatchTest;

namespace
{

Bytes ProgramBytes(const SynthProgram& program)
{
    CMemoryStream stream;
    CPatchWriter(stream).WriteProgram(program);
    return StreamBytes(stream);
}

void Load(CSynth& synth, const Bytes& bytes, bool isPreset)
{
    CMemoryStream stream;
    Fill(stream, bytes);
    CPatchReader(synth, stream, isPreset).Read();
}

}  // namespace

TEST(CPatchReader, ProgSectionSelectsTheCurrentProgram)
{
    auto synth = std::make_unique<CSynth>();
    Load(*synth, CByteBuilder().Section("prog", 4).U32(5).Get(), false);
    EXPECT_EQ(synth->GetProgram(), 5);
    Load(*synth, CByteBuilder().Section("prog", 4).U32(64).Get(), false);
    EXPECT_EQ(synth->GetProgram(), 5);
    // A "prog" of another size is skipped by that size.
    Load(*synth, CByteBuilder().Section("prog", 8).U32(7).U32(7).Section("prog", 4).U32(2).Get(), false);
    EXPECT_EQ(synth->GetProgram(), 2);
}

// Sections of a later build (one after "pp", one after "wave" with a tag
// longer than any known) are skipped whole.
TEST(CPatchReader, UnknownSectionsAreSkipped)
{
    const Bytes plain = ProgramBytes(MarkedProgram("With extras"));
    const long afterPp = 14 + 11 + 16;
    const long afterWave = afterPp + 46 + 76;
    Bytes stream(plain.begin(), plain.begin() + afterPp);
    const Bytes junk = CByteBuilder().Section("future", 7).Raw(Bytes(7, 0xAB)).Get();
    stream.insert(stream.end(), junk.begin(), junk.end());
    stream.insert(stream.end(), plain.begin() + afterPp, plain.begin() + afterWave);
    const Bytes longTag = CByteBuilder().Section("a tag longer than any known", 0).Get();
    stream.insert(stream.end(), longTag.begin(), longTag.end());
    stream.insert(stream.end(), plain.begin() + afterWave, plain.end());

    auto synth = std::make_unique<CSynth>();
    auto reference = std::make_unique<CSynth>();
    Load(*synth, stream, true);
    Load(*reference, plain, true);
    EXPECT_EQ(DifferentFields(synth->programs[0], reference->programs[0]), std::vector<std::string>());
}

TEST(CPatchReader, RatiosOutsideTheAllowedSetLoadAsOne)
{
    SynthProgram program = DefaultProgram("Ratios");
    program.ratio1 = 3.0f;
    program.ratio2 = 0.125f;
    auto synth = std::make_unique<CSynth>();
    Load(*synth, ProgramBytes(program), true);
    EXPECT_EQ(synth->programs[0].ratio1, 1.0f);
    EXPECT_EQ(synth->programs[0].ratio2, 0.125f);
}

TEST(CPatchReader, CountsAboveFourAreReadAndDropped)
{
    auto synth = std::make_unique<CSynth>();
    CByteBuilder b;
    b.Section("pp", 21).Text("x").U32(0).U32(0).U32(0).U32(0);
    b.Section("env", 4 + 6 * 16).U32(6);
    for (int k = 0; k < 6; ++k)
        b.F32(0.1f * static_cast<float>(k)).F32(0.5f).F32(0.25f).F32(0.125f);
    b.Section("lfo", 4 + 5 * 32).U32(5);
    for (int i = 0; i < 5; ++i)
        b.U32(static_cast<uint32_t>(i)).U32(0).U32(1).F32(0.5f).U32(3).U32(8).U32(0).U32(0);
    b.Section("pb", 8).U32(11).U32(12);
    Load(*synth, b.Get(), true);
    const SynthProgram& p = synth->programs[0];
    EXPECT_EQ(p.env[3].attack, 0.1f * 3.0f);
    EXPECT_EQ(p.env[3].release, 0.125f);
    EXPECT_EQ(p.lfo[3].syncDiv, 8);
    // Nothing was written past the fourth entries, into the fields after them.
    EXPECT_EQ(p.e3Pm, 0.0f);
    EXPECT_EQ(p.lfo1Vibrato, 0.0f);
    // The stream position stayed right: the section after them was read.
    EXPECT_EQ(p.bendUp, 12);
}

// Whatever the stored name length, the reader keeps its place: the "pb"
// section after the name is read (a preset's fields start at their defaults).
TEST(CPatchReader, NamesAreCutEmptiedOrShortenedAndThePositionKept)
{
    const auto named = [](uint32_t length, const std::string& text)
    {
        CByteBuilder b;
        b.Section("pp", 20).U32(length).Raw(Bytes(text.begin(), text.end())).U32(0).U32(0).U32(0).U32(0);
        return b.Section("pb", 8).U32(9).U32(10).Get();
    };
    const std::string longName = "A stored name of forty characters, long.";
    const struct
    {
        Bytes stream;
        const char* name;
        int32_t bendDown;
    } cases[] = {
        {named(40, longName), "A stored name of forty characte", 9},
        {named(0xFFFFFFF0u, ""), "", 9},
        // A length beyond the stream takes what is there.
        {CByteBuilder().Section("pp", 20).U32(100000).Raw({'a', 'b', 'c'}).Get(), "abc", 2},
    };
    for (const auto& c : cases)
    {
        auto synth = std::make_unique<CSynth>();
        Load(*synth, c.stream, true);
        EXPECT_STREQ(synth->programs[0].name, c.name);
        EXPECT_EQ(synth->programs[0].bendDown, c.bendDown) << c.name;
        EXPECT_EQ(synth->programs[0].cutoff, 1.0f) << c.name;
    }
}

TEST(CPatchReader, HugeSizesAndLengthsEndTheReadSafely)
{
    auto synth = std::make_unique<CSynth>();
    const SynthProgram before = synth->programs[0];
    for (const Bytes& stream :
         {CByteBuilder().Section("unknown", 0x80000000u).U32(1).Get(), CByteBuilder().U32(0xFFFFFFF0u).U32(4).Get(),
          CByteBuilder().Section("wave", 0xFFFFFFFCu).Get(),
          CByteBuilder().Section("env", 68).U32(0xFFFFFFFFu).F32(0.5f).Get(),
          CByteBuilder().Section("lfo", 132).U32(0x7FFFFFFFu).Get()})
    {
        Load(*synth, stream, true);
    }
    EXPECT_STREQ(synth->programs[0].name, before.name);
    EXPECT_EQ(synth->programs[0].env[0].attack, 0.5f);
    // The "lfo" count came with no entries: they hold their defaults.
    EXPECT_EQ(synth->programs[0].lfo[0].wave, 1);
    EXPECT_EQ(synth->programs[0].lfo[3].rate, 0.57f);
}
