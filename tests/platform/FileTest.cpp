#include <gtest/gtest.h>

#include <filesystem>

#include "platform/File.h"
#include "support/TempDir.h"

using namespace platform;

static std::vector<std::string> ListFolder(const std::string& strFolder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(strFolder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(File, ReplaceAtomicallyWritesWholeFileAndLeavesNoTemporary)
{
    CTempDir dir;
    std::string path = dir.File("a.xml");
    ASSERT_TRUE(ReplaceFileAtomically(path, "first"));
    ASSERT_TRUE(ReplaceFileAtomically(path, std::string("sec\0nd", 6)));
    std::string content;
    ASSERT_TRUE(ReadWholeFile(path, content));
    EXPECT_EQ(content, std::string("sec\0nd", 6));
    EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{"a.xml"});
}

TEST(File, FailedReplaceLeavesTargetAndFolderAsTheyWere)
{
    CTempDir dir;
    EXPECT_FALSE(ReplaceFileAtomically(dir.File("missing/a.xml"), "x"));
    // A folder in the target's place cannot be replaced by a file: nothing may change.
    std::string target = dir.File("busy");
    ASSERT_TRUE(CreateOneDirectory(target));
    ASSERT_TRUE(ReplaceFileAtomically(target + "/inner", "keep"));
    EXPECT_FALSE(ReplaceFileAtomically(target, "new"));
    EXPECT_TRUE(IsDirectory(target));
    EXPECT_EQ(ReadFileOrEmpty(target + "/inner"), "keep");
    EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{"busy"});
}

TEST(File, FoldersAndMissingFiles)
{
    CTempDir dir;
    std::string sub = dir.File("x");
    EXPECT_FALSE(PathExists(sub));
    EXPECT_TRUE(CreateOneDirectory(sub));
    EXPECT_FALSE(CreateOneDirectory(sub)); // exists already
    EXPECT_TRUE(IsDirectory(sub));
    std::string content = "junk";
    EXPECT_FALSE(ReadWholeFile(dir.File("missing"), content));
    EXPECT_TRUE(content.empty());
    EXPECT_FALSE(GetModuleFilePath().empty());
}
