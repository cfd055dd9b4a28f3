#include "gui/platform/CFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

// A fresh folder, removed afterwards with what it holds.
class CFileSystemTest : public ::testing::Test
{
protected:
    static std::vector<std::string> Names(const std::vector<FileEntry>& entries, bool folders)
    {
        std::vector<std::string> names;
        for (const FileEntry& e : entries)
            if (e.folder == folders)
                names.push_back(e.name);
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    const std::string root = dir.Path();
};

TEST_F(CFileSystemTest, ListsFilesAndFoldersWithoutDotEntriesAndKeepsOddBytes)
{
    const std::string odd = "odd \xff\x01 name.vlm";
    dir.Write("a.vlm", "");
    dir.Write(odd, "");
    ASSERT_TRUE(CFileSystem::CreateFolder(CFileSystem::Join(root, "sub")));
    std::vector<FileEntry> entries{{"stale", true}};
    ASSERT_TRUE(CFileSystem::List(root, entries));
    EXPECT_EQ(Names(entries, false), (std::vector<std::string>{"a.vlm", odd}));
    EXPECT_EQ(Names(entries, true), (std::vector<std::string>{"sub"}));
    EXPECT_EQ(CFileSystem::Attributes(CFileSystem::Join(root, odd)), kFileExists);
    EXPECT_EQ(CFileSystem::Attributes(CFileSystem::Join(root, "sub")), kFileExists | kFileFolder);
    EXPECT_EQ(CFileSystem::Attributes(CFileSystem::Join(root, "none")), 0u);
    EXPECT_EQ(CFileSystem::Attributes(""), 0u);

    ASSERT_TRUE(CFileSystem::List(CFileSystem::Join(root, "sub"), entries));
    EXPECT_TRUE(entries.empty());
}

TEST_F(CFileSystemTest, MissingFoldersListNothingAndFoldersAreNotMadeTwice)
{
    std::vector<FileEntry> entries{{"stale", false}};
    EXPECT_FALSE(CFileSystem::List(CFileSystem::Join(root, "gone"), entries));
    EXPECT_TRUE(entries.empty());
    // Making a folder that exists or whose parent is missing fails.
    EXPECT_FALSE(CFileSystem::CreateFolder(root));
    EXPECT_FALSE(CFileSystem::CreateFolder(CFileSystem::Join(root, "no/such")));
    EXPECT_FALSE(CFileSystem::CreateFolder(""));
}

TEST(CFileSystemPaths, JoinAndParent)
{
    EXPECT_EQ(CFileSystem::Join("/a", "b"), "/a/b");
    EXPECT_EQ(CFileSystem::Join("/a/", "b"), "/a/b");
    EXPECT_EQ(CFileSystem::Join("/", "b"), "/b");
    EXPECT_EQ(CFileSystem::Join("", "b"), "b");
    EXPECT_EQ(CFileSystem::Parent("/a/b"), "/a");
    EXPECT_EQ(CFileSystem::Parent("/a/b/"), "/a");
    EXPECT_EQ(CFileSystem::Parent("/a"), "/");
    EXPECT_EQ(CFileSystem::Parent("/"), "");
    EXPECT_EQ(CFileSystem::Parent("name"), "");
}

}  // namespace
