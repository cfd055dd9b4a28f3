#include "PatchTestSupport.h"

#include "synth/PatchSections.h"

#include <gtest/gtest.h>

#include <limits>
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
