#include "synth/CBankFiles.h"

#include "io/CPresetFile.h"
#include "support/TempDir.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace
{

TEST(CBankFiles, BankAndProgramFilesRoundTrip)
{
    TempDir dir;
    CSynth source;
    source.programs[7].cutoff = 0.25f;
    source.programs[63].eqGain = 150;  // never in a host chunk, so never in a file either
    source.SetProgram(5);
    CBankFiles files(source);
    ASSERT_TRUE(files.SaveBank(dir.File("bank.fxb"))) << files.Error();
    ASSERT_TRUE(files.SaveProgram(dir.File("five.fxp"))) << files.Error();

    const std::string bytes = TempDir::Read(dir.File("bank.fxb"));
    ASSERT_GE(bytes.size(), 160u);
    EXPECT_EQ(bytes.substr(16, 4), "vlm1");
    CPresetFile program;
    ASSERT_TRUE(program.LoadFile(dir.File("five.fxp")));
    EXPECT_EQ(program.programName, "Beat Pad");
    EXPECT_EQ(program.count, kParameterTableSize);

    CSynth target;
    CBankFiles into(target);
    ASSERT_TRUE(into.LoadBank(dir.File("bank.fxb"))) << into.Error();
    EXPECT_EQ(target.GetProgram(), 5);
    EXPECT_FLOAT_EQ(target.programs[7].cutoff, 0.25f);
    EXPECT_EQ(target.programs[63].eqGain, 100);

    CSynth other;
    other.SetProgram(9);
    CSynth untouched;
    CBankFiles single(other);
    ASSERT_TRUE(single.LoadProgram(dir.File("five.fxp"))) << single.Error();
    EXPECT_STREQ(other.programs[9].name, "Beat Pad");
    EXPECT_EQ(std::memcmp(&other.programs[10], &untouched.programs[10], sizeof(SynthProgram)), 0);
}

TEST(CBankFiles, RefusedFilesChangeNothing)
{
    TempDir dir;
    CSynth source;
    CBankFiles save(source);
    ASSERT_TRUE(save.SaveBank(dir.File("good.fxb")));
    ASSERT_TRUE(save.SaveProgram(dir.File("good.fxp")));
    const std::string bank = TempDir::Read(dir.File("good.fxb"));

    std::string otherId = bank;
    otherId.replace(16, 4, "abcd");
    std::string damaged = bank;
    damaged[160 + 10 + 3] = 0x7F;  // the first name's length runs past the end

    struct Case
    {
        const char* name;
        std::string bytes;
        bool bank;
        const char* message;
    } cases[] = {
        {"other.fxb", otherId, true, "saved by another plug-in (\"abcd\")"},
        {"damaged.fxb", damaged, true, "the program data holds a damaged program name"},
        {"program.fxb", TempDir::Read(dir.File("good.fxp")), true, "a program file, not a bank file"},
        {"bank.fxp", bank, false, "a bank file, not a program file"},
    };
    for (const Case& c : cases)
    {
        const std::string path = dir.Write(c.name, c.bytes);
        CSynth target;
        target.programs[3].q = 0.75f;
        target.SetProgram(2);
        CSynth reference;
        std::memcpy(reference.programs, target.programs, sizeof target.programs);
        CBankFiles files(target);
        EXPECT_FALSE(c.bank ? files.LoadBank(path) : files.LoadProgram(path)) << c.name;
        EXPECT_EQ(files.Error(), path + ": " + c.message);
        EXPECT_EQ(std::memcmp(target.programs, reference.programs, sizeof target.programs), 0) << c.name;
        EXPECT_EQ(target.GetProgram(), 2) << c.name;
    }
}

TEST(CBankFiles, FailedSaveKeepsTheOldFileAndLeavesNoTemporary)
{
    TempDir dir;
    CSynth synth;
    CBankFiles files(synth);
    const std::string path = dir.File("kept.fxp");
    ASSERT_TRUE(files.SaveProgram(path));
    const std::string before = TempDir::Read(path);
    // A folder where the temporary file would go makes the save fail.
    std::filesystem::create_directory(path + ".tmp");
    synth.currentProgram->cutoff = 0.1f;
    EXPECT_FALSE(files.SaveProgram(path));
    EXPECT_EQ(files.Error(), path + ": cannot create the file");
    EXPECT_EQ(TempDir::Read(path), before);
    std::filesystem::remove(path + ".tmp");
    // Saving again replaces the file whole.
    ASSERT_TRUE(files.SaveProgram(path));
    EXPECT_NE(TempDir::Read(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    EXPECT_FALSE(files.SaveBank(dir.File("no/such/folder/bank.fxb")));
}

}  // namespace
