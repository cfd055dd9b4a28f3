#include "PatchTestSupport.h"

#include "synth/PatchSections.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace PatchTest;

namespace {

// Records, for every visited word, the byte offset of its field in the record
// (or -1 for a zero word).
class COffsetRecorder : public CPatchWordVisitor
{
public:
    explicit COffsetRecorder(SynthProgram& r) : record(r) {}
    void Int(const char* name, int32_t& field) override { Note(name, &field); }
    void Float(const char* name, float& field) override { Note(name, &field); }
    void Zero() override { offsets.push_back(-1); }

    std::vector<long> offsets;
    std::vector<std::string> names;

private:
    void Note(const char* name, void* field)
    {
        offsets.push_back(static_cast<const char*>(field) - reinterpret_cast<const char*>(&record));
        names.push_back(name);
    }
    SynthProgram& record;
};

}  // namespace

TEST(PatchSections, TagsInWritingOrder)
{
    const char* expected[] = {"master", "wave", "xmod", "filter", "fscale", "pb", "fx", "env", "e3", "lfo", "lfo1",
                              "lfo2", "lfo3", "vel", "key", "rnd", "mw", "chorus", "delay", "reverb", "waveshape",
                              "phaser"};
    ASSERT_EQ(PatchFormat::kSectionCount, 22);
    for (int i = 0; i < PatchFormat::kSectionCount; ++i)
        EXPECT_STREQ(PatchFormat::kSections[i].tag, expected[i]);
}

TEST(PatchSections, SizeFieldsMatchThePayloadExceptMaster)
{
    SynthProgram record = DefaultProgram();
    for (const PatchSection& section : PatchFormat::kSections)
    {
        COffsetRecorder recorder(record);
        section.visit(record, 0, recorder);
        const uint32_t bytes = static_cast<uint32_t>(recorder.offsets.size() * 4);
        if (section.kind == PatchSection::Counted)
            EXPECT_EQ(4 + 4 * bytes, section.sizeField) << section.tag;
        else if (std::strcmp(section.tag, "master") == 0)
            EXPECT_EQ(bytes, 32u);
        else
            EXPECT_EQ(bytes, section.sizeField) << section.tag;
    }
    EXPECT_EQ(PatchFormat::kSections[0].sizeField, 8u);
}

TEST(PatchSections, CheckedSectionsAreTheOnesWithATrustedSize)
{
    std::map<std::string, bool> checked;
    for (const PatchSection& section : PatchFormat::kSections)
        checked[section.tag] = section.checked;
    for (const char* tag : {"master", "pb", "fx", "env", "e3", "lfo"})
        EXPECT_FALSE(checked[tag]) << tag;
    for (const char* tag : {"wave", "xmod", "filter", "fscale", "lfo1", "lfo2", "lfo3", "vel", "key", "rnd", "mw",
                            "chorus", "delay", "reverb", "waveshape", "phaser"})
        EXPECT_TRUE(checked[tag]) << tag;
}

TEST(PatchSections, EveryStoredFieldIsVisitedOnceAndTheOthersNever)
{
    SynthProgram record = DefaultProgram();
    std::map<long, int> visits;
    for (const PatchSection& section : PatchFormat::kSections)
    {
        const int entries = section.kind == PatchSection::Counted ? 4 : 1;
        for (int i = 0; i < entries; ++i)
        {
            COffsetRecorder recorder(record);
            section.visit(record, i, recorder);
            for (long offset : recorder.offsets)
            {
                if (offset >= 0)
                    ++visits[offset];
            }
        }
    }
    const long unstored[] = {
        static_cast<long>(offsetof(SynthProgram, glide)),   static_cast<long>(offsetof(SynthProgram, glideLegatoOnly)),
        static_cast<long>(offsetof(SynthProgram, lfo1Noise)), static_cast<long>(offsetof(SynthProgram, lfo1Mix)),
        static_cast<long>(offsetof(SynthProgram, eqLow)),   static_cast<long>(offsetof(SynthProgram, eqMid)),
        static_cast<long>(offsetof(SynthProgram, eqHigh)),  static_cast<long>(offsetof(SynthProgram, eqFreqLow)),
        static_cast<long>(offsetof(SynthProgram, eqFreqHigh)), static_cast<long>(offsetof(SynthProgram, eqGain))};
    for (long offset : unstored)
        EXPECT_EQ(visits.count(offset), 0u) << offset;
    EXPECT_EQ(visits.size(), 146u - 10u);
    for (const auto& [offset, count] : visits)
    {
        EXPECT_EQ(count, 1) << offset;
        EXPECT_GE(offset, SynthProgram::kNameBytes);
        EXPECT_LT(offset, static_cast<long>(sizeof(SynthProgram)));
    }
}

TEST(PatchSections, FieldNamesAreTheRecordMembers)
{
    SynthProgram record = DefaultProgram();
    COffsetRecorder wave(record);
    PatchFormat::kSections[1].visit(record, 0, wave);
    ASSERT_EQ(wave.names.size(), 10u);
    EXPECT_EQ(wave.names[0], "wave1");
    EXPECT_EQ(wave.offsets[0], static_cast<long>(offsetof(SynthProgram, wave1)));
    EXPECT_EQ(wave.names[8], "ratio1");
    COffsetRecorder lfo(record);
    PatchFormat::kSections[9].visit(record, 2, lfo);
    EXPECT_EQ(lfo.names[3], "rate");
    EXPECT_EQ(lfo.offsets[3], static_cast<long>(offsetof(SynthProgram, lfo[2].rate)));
}

TEST(PatchSections, OnlyTheSevenRatiosAreAllowed)
{
    for (float ratio : {8.0f, 4.0f, 2.0f, 1.0f, 0.5f, 0.25f, 0.125f})
        EXPECT_TRUE(PatchFormat::IsAllowedRatio(ratio)) << ratio;
    for (float ratio : {0.0f, 3.0f, 16.0f, 0.0625f, -1.0f, 1.0000001f})
        EXPECT_FALSE(PatchFormat::IsAllowedRatio(ratio)) << ratio;
    EXPECT_FALSE(PatchFormat::IsAllowedRatio(std::numeric_limits<float>::quiet_NaN()));
}

TEST(PatchTestSupport, MarkedProgramGivesEveryWordItsOwnValue)
{
    const SynthProgram marked = MarkedProgram("x");
    const uint8_t* words = reinterpret_cast<const uint8_t*>(&marked) + SynthProgram::kNameBytes;
    std::map<uint32_t, int> seen;
    for (int k = 0; k < 146; ++k)
    {
        uint32_t word;
        std::memcpy(&word, words + 4 * k, 4);
        ++seen[word];
    }
    EXPECT_EQ(seen.size(), 146u);
}
