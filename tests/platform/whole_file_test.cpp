#include "platform/whole_file.h"
#include "tests/platform/test_files.h"
#include "tests/support/read_only.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What remains readable through an open handle, from the start.
std::string ReadHandle(int Handle) {
    std::string Content;
    char Buffer[256];
    ssize_t Count = 0;
    off_t At = 0;
    while ((Count = ::pread(Handle, Buffer, sizeof Buffer, At)) > 0) {
        Content.append(Buffer, static_cast<std::size_t>(Count));
        At += Count;
    }
    return Content;
}

} // namespace

TEST(WholeFile, ReadsAFileAnAbsentOneAsEmptyAndRefusesAFolder) {
    TTempDir Dir;
    WriteFile(Dir / "a.ini", "[S]\r\nK=v\r\n");
    std::string Content = "stale";
    EXPECT_TRUE(ReadWholeFile(Dir / "a.ini", Content));
    EXPECT_EQ(Content, "[S]\r\nK=v\r\n");
    EXPECT_TRUE(ReadWholeFile(Dir / "missing.ini", Content));
    EXPECT_EQ(Content, "");
    EXPECT_FALSE(ReadWholeFile(Dir.Path(), Content));
}

TEST(WholeFile, RewriteReplacesTheFileInOneStepKeepingItsPermissions) {
    TTempDir Dir;
    WriteFile(Dir / "v.ini", "old contents");
    ASSERT_EQ(::chmod((Dir / "v.ini").c_str(), 0640), 0);
    // A reader that opened the file before sees the old contents whole, not a mixture.
    const int Reader = ::open((Dir / "v.ini").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(Reader, 0);
    EXPECT_TRUE(RewriteWholeFile(Dir / "v.ini", "new"));
    EXPECT_EQ(ReadHandle(Reader), "old contents");
    ::close(Reader);
    EXPECT_EQ(ReadFile(Dir / "v.ini"), "new");
    EXPECT_EQ(ModeOf(Dir / "v.ini"), 0640U);
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"v.ini"});

    EXPECT_TRUE(RewriteWholeFile(Dir / "created.ini", "fresh"));
    EXPECT_EQ(ReadFile(Dir / "created.ini"), "fresh");
    EXPECT_FALSE(RewriteWholeFile(Dir / "missing/v.ini", "x"));
    EXPECT_FALSE(RewriteWholeFile(Dir.Path(), "x"));
}

TEST(WholeFile, RewriteKeepsLinksToTheFile) {
    TTempDir Dir;
    std::filesystem::create_directories(Dir / "real");
    WriteFile(Dir / "real/v.ini", "old");
    std::filesystem::create_symlink("real/v.ini", Dir / "v.ini");
    EXPECT_TRUE(RewriteWholeFile(Dir / "v.ini", "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "v.ini"));
    EXPECT_EQ(ReadFile(Dir / "real/v.ini"), "through the link");

    // A second name of the same file sees the new contents too.
    std::filesystem::create_hard_link(Dir / "real/v.ini", Dir / "second.ini");
    EXPECT_TRUE(RewriteWholeFile(Dir / "real/v.ini", "both names"));
    EXPECT_EQ(ReadFile(Dir / "second.ini"), "both names");
}

TEST(WholeFile, AFileThatMayNotBeWrittenIsRefusedAndKept) {
    TTempDir Dir;
    WriteFile(Dir / "v.ini", "keep");
    {
        const TReadOnly Guard(Dir / "v.ini");
        if (!Guard.Ok()) {
            GTEST_SKIP() << "cannot make a file read-only here";
        }
        // The folder would let a rename replace the file: the file's own permission decides.
        EXPECT_FALSE(RewriteWholeFile(Dir / "v.ini", "replaced"));
    }
    EXPECT_EQ(ReadFile(Dir / "v.ini"), "keep");
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"v.ini"});
}

TEST(WholeFile, AFolderThatTakesNoNewFileRefusesANewFileButAWritableOneIsWrittenInPlace) {
    TTempDir Dir;
    WriteFile(Dir / "v.ini", "old");
    {
        const TReadOnly Guard(Dir.Path());
        if (!Guard.Ok()) {
            GTEST_SKIP() << "cannot make a folder read-only here";
        }
        EXPECT_FALSE(RewriteWholeFile(Dir / "new.ini", "x"));
        EXPECT_TRUE(RewriteWholeFile(Dir / "v.ini", "written in place"));
    }
    EXPECT_EQ(ReadFile(Dir / "v.ini"), "written in place");
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"v.ini"});
}
