#include "PatchTestSupport.h"

#include "io/CMemoryStream.h"
#include "synth/CPatchReader.h"
#include "synth/CPatchWriter.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cstring>
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

// The offset in the stream of the 4-byte value of the given field, found by
// its unique marker value.
long OffsetOf(const Bytes& stream, const void* field)
{
    long found = -1;
    for (size_t at = 0; at + 4 <= stream.size(); ++at)
    {
        if (std::memcmp(stream.data() + at, field, 4) == 0)
        {
            if (found >= 0)
                return -2;
            found = static_cast<long>(at);
        }
    }
    return found;
}

std::unique_ptr<CSynth> MakeSynth()
{
    return std::make_unique<CSynth>();
}

}  // namespace

TEST(CPatchReader, ProgramsBeyond64GoIntoTheCurrentProgram)
{
    auto synth = MakeSynth();
    synth->SetProgram(3);
    CByteBuilder bank;
    for (int i = 0; i < 66; ++i)
        bank.Raw(ProgramBytes(DefaultProgram(("P" + std::to_string(i)).c_str())));
    Load(*synth, bank.Get(), false);
    EXPECT_STREQ(synth->programs[0].name, "P0");
    EXPECT_STREQ(synth->programs[63].name, "P63");
    // Program 3 got its own entry, then the two extra ones in turn.
    EXPECT_STREQ(synth->programs[3].name, "P65");
    EXPECT_EQ(synth->GetProgram(), 3);
}

TEST(CPatchReader, ProgSectionSelectsTheCurrentProgram)
{
    auto synth = MakeSynth();
    Load(*synth, CByteBuilder().Section("prog", 4).U32(5).Get(), false);
    EXPECT_EQ(synth->GetProgram(), 5);
    Load(*synth, CByteBuilder().Section("prog", 4).U32(64).Get(), false);
    EXPECT_EQ(synth->GetProgram(), 5);
    // A "prog" of another size is skipped by that size.
    Load(*synth, CByteBuilder().Section("prog", 8).U32(7).U32(7).Section("prog", 4).U32(2).Get(), false);
    EXPECT_EQ(synth->GetProgram(), 2);
}

TEST(CPatchReader, UnknownSectionsOfAnySizeAreSkipped)
{
    const SynthProgram marked = MarkedProgram("With extras");
    const Bytes plain = ProgramBytes(marked);
    for (uint32_t size : {0u, 7u})
    {
        // An unknown section after "pp" and one after "wave".
        const size_t afterPp = 14 + 11 + 16;
        const size_t afterWave = afterPp + 46 + 76;
        Bytes stream(plain.begin(), plain.begin() + static_cast<long>(afterPp));
        const Bytes junk = CByteBuilder().Section("future", size).Raw(Bytes(size, 0xAB)).Get();
        stream.insert(stream.end(), junk.begin(), junk.end());
        stream.insert(stream.end(), plain.begin() + static_cast<long>(afterPp),
                      plain.begin() + static_cast<long>(afterWave));
        const Bytes longTag = CByteBuilder().Section("a tag longer than any known", size).Raw(Bytes(size, 0x5A)).Get();
        stream.insert(stream.end(), longTag.begin(), longTag.end());
        stream.insert(stream.end(), plain.begin() + static_cast<long>(afterWave), plain.end());

        auto synth = MakeSynth();
        auto reference = MakeSynth();
        Load(*synth, stream, true);
        Load(*reference, plain, true);
        EXPECT_TRUE(DifferentFields(synth->programs[0], reference->programs[0]).empty()) << size;
    }
}

TEST(CPatchReader, RatiosOutsideTheAllowedSetLoadAsOne)
{
    SynthProgram program = DefaultProgram("Ratios");
    program.ratio1 = 3.0f;
    program.ratio2 = 0.125f;
    auto synth = MakeSynth();
    Load(*synth, ProgramBytes(program), true);
    EXPECT_EQ(synth->programs[0].ratio1, 1.0f);
    EXPECT_EQ(synth->programs[0].ratio2, 0.125f);
}

// "master" is always 32 bytes, "fx" and "e3" their own lengths, whatever
// their size fields say.
TEST(CPatchReader, UncheckedSectionsIgnoreTheirSizeField)
{
    auto synth = MakeSynth();
    const SynthProgram& p = synth->programs[0];
    CByteBuilder master;
    master.Section("master", 8).F32(0.75f).F32(0.25f).U32(static_cast<uint32_t>(-12)).U32(1).U32(1).U32(9).U32(9);
    master.U32(9).Section("pb", 8).U32(7).U32(5);
    Load(*synth, master.Get(), true);
    // No "pp" came first: the sections went into the current program.
    EXPECT_STREQ(p.name, "2 OSC Bass");
    EXPECT_EQ(p.volume, 0.75f);
    EXPECT_EQ(p.coarse, -12);
    EXPECT_EQ(p.legato, 1);
    EXPECT_EQ(p.bendUp, 5);

    CByteBuilder b;
    b.Section("pp", 999).Text("Sizes").U32(0).U32(0).U32(0).U32(0);
    b.Section("fx", 0).F32(0.1f).F32(0.2f).F32(0.3f).F32(0.4f).F32(0.5f).F32(0.6f).U32(0).U32(0);
    b.Section("e3", 12345).F32(0.7f).F32(0.8f).F32(0.9f).F32(1.0f);
    Load(*synth, b.Get(), true);
    EXPECT_STREQ(p.name, "Sizes");
    EXPECT_EQ(p.fxChorus, 0.1f);
    EXPECT_EQ(p.fxEq, 0.6f);
    EXPECT_EQ(p.e3Pm, 0.7f);
    EXPECT_EQ(p.e3Mod2, 1.0f);
}

TEST(CPatchReader, CountsAboveFourAreReadAndDropped)
{
    auto synth = MakeSynth();
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
    EXPECT_EQ(p.lfo[3].wave, 3);
    EXPECT_EQ(p.lfo[3].syncDiv, 8);
    // Nothing was written past the fourth entries, into the fields after them.
    EXPECT_EQ(p.e3Pm, 0.0f);
    EXPECT_EQ(p.lfo1Vibrato, 0.0f);
    // The stream position stayed right: the section after them was read.
    EXPECT_EQ(p.bendDown, 11);
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
        auto synth = MakeSynth();
        Load(*synth, c.stream, true);
        EXPECT_STREQ(synth->programs[0].name, c.name);
        EXPECT_EQ(synth->programs[0].bendDown, c.bendDown) << c.name;
        EXPECT_EQ(synth->programs[0].cutoff, 1.0f) << c.name;
    }
}

TEST(CPatchReader, HugeSizesAndLengthsEndTheReadSafely)
{
    auto synth = MakeSynth();
    const SynthProgram before = synth->programs[0];
    for (const Bytes& stream :
         {CByteBuilder().Section("unknown", 0xFFFFFFFFu).U32(1).Get(),
          CByteBuilder().Section("unknown", 0x80000000u).U32(1).Get(),
          CByteBuilder().U32(0xFFFFFFF0u).U32(4).U32(1).Get(), CByteBuilder().U32(0x7FFFFFFFu).Raw({'x'}).Get(),
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

TEST(CPatchReader, StreamEndingAtEveryByteLeavesDefinedFields)
{
    const SynthProgram marked = MarkedProgram("2 OSC Bass");
    const Bytes full = ProgramBytes(marked);
    ASSERT_EQ(full.size(), 1165u);
    const SynthProgram defaults = DefaultProgram();
    const SynthProgram stored = [&]
    {
        auto synth = MakeSynth();
        Load(*synth, full, true);
        return synth->programs[0];
    }();

    // Where each stored word sits in the stream, found by its marker.
    std::vector<long> offsets;
    const uint8_t* words = reinterpret_cast<const uint8_t*>(&stored) + SynthProgram::kNameBytes;
    const uint8_t* markedWords = reinterpret_cast<const uint8_t*>(&marked) + SynthProgram::kNameBytes;
    for (int k = 0; k < 146; ++k)
    {
        const bool isStored = std::memcmp(words + 4 * k, markedWords + 4 * k, 4) == 0;
        offsets.push_back(isStored ? OffsetOf(full, markedWords + 4 * k) : -1);
        ASSERT_NE(offsets.back(), -2) << "marker of word " << k << " is not unique";
    }

    auto synth = MakeSynth();
    const SynthProgram untouched = synth->programs[0];
    for (size_t cut = 0; cut <= full.size(); ++cut)
    {
        Load(*synth, Bytes(full.begin(), full.begin() + static_cast<long>(cut)), true);
        const SynthProgram& got = synth->programs[0];
        if (cut < 10)
        {
            // The "pp" header did not arrive: nothing was touched.
            ASSERT_TRUE(DifferentFields(got, untouched).empty()) << cut;
            continue;
        }
        SynthProgram expected = defaults;
        const size_t nameBytes = cut <= 14 ? 0 : std::min<size_t>(cut - 14, 10);
        std::memcpy(expected.name, marked.name, nameBytes);
        uint8_t* expectedWords = reinterpret_cast<uint8_t*>(&expected) + SynthProgram::kNameBytes;
        for (int k = 0; k < 146; ++k)
        {
            if (offsets[k] >= 0 && static_cast<size_t>(offsets[k]) + 4 <= cut)
                std::memcpy(expectedWords + 4 * k, markedWords + 4 * k, 4);
        }
        ASSERT_EQ(DifferentFields(got, expected), std::vector<std::string>()) << "cut at " << cut;
        // The next load starts over a record full of stored values, so a
        // field the reader leaves alone would show.
        synth->programs[0] = stored;
    }
}
