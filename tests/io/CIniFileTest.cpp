#include "io/CIniFile.h"
#include "io/CStringList.h"
#include "support/TakeString.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

TEST(CStringList, OverlongLinesAreSplitNotOverflowed)
{
    TempDir dir;
    const std::string path = dir.Write("long.txt", std::string(600, 'a') + "\nend\n");
    CStringList list;
    ASSERT_TRUE(list.LoadFromFile(path.c_str()));
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(std::string(list.Get(0)).size(), 255u);
    EXPECT_EQ(std::string(list.Get(1)).size(), 255u);
    EXPECT_EQ(std::string(list.Get(2)).size(), 90u);
    EXPECT_STREQ(list.Get(3), "end");
}

TEST(CIniFile, ReadsKeysWithBlanksAroundThem)
{
    TempDir dir;
    const std::string path = dir.Write("s.ini", "[other]\nleft=5\r\n [ filewin ] \r\n\t left  =  120\t\n\ntop=-7");
    CIniFile ini(path.c_str());
    EXPECT_EQ(ini.ReadInt("filewin", "left", 0), 120);
    EXPECT_EQ(ini.ReadInt("filewin", "top", 0), -7);
    EXPECT_EQ(ini.ReadInt("other", "left", 0), 5);
    EXPECT_EQ(ini.ReadInt("nothere", "left", 200), 200);
    EXPECT_EQ(ini.ReadInt("FILEWIN", "left", 1), 1);
}

TEST(CIniFile, BadNumbersGiveTheDefault)
{
    TempDir dir;
    const std::string path = dir.Write("s.ini", "[w]\na=12x\nb=\nd=99999999999\ne=-99999999999\nf=4.7\n");
    CIniFile ini(path.c_str());
    EXPECT_EQ(ini.ReadInt("w", "a", 3), 3);
    EXPECT_EQ(ini.ReadInt("w", "b", 3), 3);
    EXPECT_EQ(ini.ReadInt("w", "d", 3), 2147483647);
    EXPECT_EQ(ini.ReadInt("w", "e", 3), -2147483647 - 1);
    EXPECT_EQ(ini.ReadInt("w", "f", 3), 4);
}

TEST(CIniFile, FilesWithoutSectionsOrMissingGiveDefaults)
{
    TempDir dir;
    const std::string path = dir.Write("s.ini", "left=3\nnoise\n=\n");
    CIniFile ini(path.c_str());
    EXPECT_EQ(ini.ReadInt("filewin", "left", 200), 200);
    CIniFile missing(dir.File("none.ini").c_str());
    EXPECT_EQ(TakeString(missing.ReadString("filewin", "left", "dflt")), "dflt");
}

TEST(CIniFile, WritesCreateTheFileSectionAndKey)
{
    TempDir dir;
    const std::string path = dir.File("new.ini");
    CIniFile ini(path.c_str());
    ASSERT_TRUE(ini.WriteInt("filewin", "left", 200));
    EXPECT_EQ(TempDir::Read(path), "[filewin]\r\nleft=200");
    ASSERT_TRUE(ini.WriteInt("filewin", "top", 10));
    ASSERT_TRUE(ini.WriteString("other", "name", "x y"));
    ASSERT_TRUE(ini.WriteInt("filewin", "left", -1));
    EXPECT_EQ(TempDir::Read(path), "[filewin]\r\nleft=-1\r\ntop=10\r\n[other]\r\nname=x y");
    EXPECT_EQ(TakeString(ini.ReadString("other", "name", "")), "x y");
}

// A missing section goes at the end; a new key after its section's last line.
TEST(CIniFile, WritesInsertTheKeyWhereItBelongs)
{
    const struct
    {
        const char* before;
        const char* section;
        const char* after;
    } cases[] = {
        {"[a]\nk=1\n", "filewin", "[a]\r\nk=1\r\n[filewin]\r\nn=5"},
        {"[a]\nk=1\n[b]\nm=2", "a", "[a]\r\nk=1\r\nn=5\r\n[b]\r\nm=2"},
    };
    for (const auto& c : cases)
    {
        TempDir dir;
        const std::string path = dir.Write("s.ini", c.before);
        CIniFile ini(path.c_str());
        ASSERT_TRUE(ini.WriteInt(c.section, "n", 5));
        EXPECT_EQ(TempDir::Read(path), c.after);
    }
}
