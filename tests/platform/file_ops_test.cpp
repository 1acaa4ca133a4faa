#include "core/stream.h"
#include "platform/file_ops.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(FileOps, FileExistsOnlyForRegularFiles) {
    TTempDir Dir;
    WriteFile(Dir / "f", "x");
    ASSERT_EQ(::mkfifo((Dir / "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink(Dir / "f", Dir / "link");
    std::filesystem::create_symlink(Dir / "gone", Dir / "dangling");
    EXPECT_TRUE(FileExists(Dir / "f"));
    EXPECT_TRUE(FileExists(Dir / "link"));
    EXPECT_FALSE(FileExists(Dir / "dangling"));
    EXPECT_FALSE(FileExists(Dir / "missing"));
    EXPECT_FALSE(FileExists(Dir.Path()));
    EXPECT_FALSE(FileExists(Dir / "pipe"));
    EXPECT_FALSE(FileExists(""));
}

TEST(FileOps, CopyFailsWhenTheTargetExistsAndLeavesItAlone) {
    TTempDir Dir;
    const std::string Big(300000, 'b');
    WriteFile(Dir / "src", Big);
    WriteFile(Dir / "old", "keep me");
    EXPECT_THROW(CopyFile(Dir / "src", Dir / "old", true), EFCreateError);
    EXPECT_EQ(ReadFile(Dir / "old"), "keep me");
    EXPECT_NO_THROW(CopyFile(Dir / "src", Dir / "new", true));
    EXPECT_EQ(ReadFile(Dir / "new"), Big);
    EXPECT_NO_THROW(CopyFile(Dir / "src", Dir / "old", false));
    EXPECT_EQ(ReadFile(Dir / "old"), Big);
}

TEST(FileOps, CopyNeverDestroysItsSourceOrLeavesAPartialTarget) {
    TTempDir Dir;
    WriteFile(Dir / "src", "content");
    std::filesystem::create_symlink(Dir / "src", Dir / "alias");
    EXPECT_THROW(CopyFile(Dir / "src", Dir / "src", false), EFCreateError);
    EXPECT_THROW(CopyFile(Dir / "src", Dir / "alias", false), EFCreateError);
    EXPECT_EQ(ReadFile(Dir / "src"), "content");
    EXPECT_THROW(CopyFile(Dir / "missing", Dir / "t1", true), EFCreateError);
    EXPECT_THROW(CopyFile(Dir.Path(), Dir / "t2", true), EFCreateError);
    EXPECT_FALSE(std::filesystem::exists(Dir / "t1"));
    EXPECT_FALSE(std::filesystem::exists(Dir / "t2"));
}
