#include "core/stream.h"
#include "platform/file_ops.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

TEST(FileOps, MoveFailsWhenTheTargetExistsDeleteOnlyTakesFiles) {
    TTempDir Dir;
    WriteFile(Dir / "logow.bmp", "new logo");
    WriteFile(Dir / "logow.sys", "old logo");
    EXPECT_THROW(MoveFile(Dir / "logow.bmp", Dir / "logow.sys"), EFileError);
    EXPECT_EQ(ReadFile(Dir / "logow.sys"), "old logo");
    EXPECT_NO_THROW(DeleteFile(Dir / "logow.sys"));
    EXPECT_THROW(DeleteFile(Dir / "logow.sys"), EFileError);
    EXPECT_NO_THROW(MoveFile(Dir / "logow.bmp", Dir / "logow.sys"));
    EXPECT_EQ(ReadFile(Dir / "logow.sys"), "new logo");
    EXPECT_FALSE(FileExists(Dir / "logow.bmp"));
    EXPECT_THROW(MoveFile(Dir / "logow.bmp", Dir / "other"), EFileError);
    EXPECT_THROW(DeleteFile(Dir.Path()), EFileError); // folders are left alone
}

TEST(FileOps, MoveBetweenFileSystemsCopiesAndRemoves) {
    TTempDir Dir;
    struct stat Here {
    }, Shm{};
    if (::stat(Dir.Path().c_str(), &Here) != 0 || ::stat("/dev/shm", &Shm) != 0 ||
        Here.st_dev == Shm.st_dev) {
        GTEST_SKIP() << "no second file system at /dev/shm";
    }
    const std::string Target = "/dev/shm/vespera-move-" + std::to_string(::getpid());
    WriteFile(Dir / "f", "across");
    ASSERT_NO_THROW(MoveFile(Dir / "f", Target));
    EXPECT_EQ(ReadFile(Target), "across");
    EXPECT_FALSE(FileExists(Dir / "f"));
    WriteFile(Dir / "g", "second");
    EXPECT_THROW(MoveFile(Dir / "g", Target), EFileError); // the target exists: nothing changes
    EXPECT_EQ(ReadFile(Target), "across");
    EXPECT_TRUE(FileExists(Dir / "g"));
    DeleteFile(Target);
}
