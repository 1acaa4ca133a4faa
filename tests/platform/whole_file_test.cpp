#include "core/stream.h"
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
    EXPECT_NO_THROW(Content = ReadWholeFile(Dir / "a.ini", TAbsentFile::afReadsEmpty));
    EXPECT_EQ(Content, "[S]\r\nK=v\r\n");
    EXPECT_NO_THROW(Content = ReadWholeFile(Dir / "missing.ini", TAbsentFile::afReadsEmpty));
    EXPECT_EQ(Content, "");
    EXPECT_THROW(ReadWholeFile(Dir.Path(), TAbsentFile::afReadsEmpty), EFOpenError);
    EXPECT_THROW(ReadWholeFile(Dir / "missing.ini", TAbsentFile::afRefused), EFOpenError);
    // The failure names the file and its own reason.
    try {
        ReadWholeFile(Dir.Path(), TAbsentFile::afRefused);
        ADD_FAILURE() << "a folder was read";
    } catch (const EFOpenError& Failure) {
        EXPECT_EQ(Failure.Message(), "Cannot open file \"" + Dir.Path() + "\". Is a directory");
        EXPECT_EQ(Failure.FileName(), Dir.Path());
    }
}

TEST(WholeFile, RewriteReplacesTheFileInOneStepKeepingItsPermissions) {
    TTempDir Dir;
    WriteFile(Dir / "v.ini", "old contents");
    ASSERT_EQ(::chmod((Dir / "v.ini").c_str(), 0640), 0);
    // A reader that opened the file before sees the old contents whole, not a mixture.
    const int Reader = ::open((Dir / "v.ini").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(Reader, 0);
    EXPECT_NO_THROW(RewriteWholeFile(Dir / "v.ini", "new"));
    EXPECT_EQ(ReadHandle(Reader), "old contents");
    ::close(Reader);
    EXPECT_EQ(ReadFile(Dir / "v.ini"), "new");
    EXPECT_EQ(ModeOf(Dir / "v.ini"), 0640U);
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"v.ini"});

    EXPECT_NO_THROW(RewriteWholeFile(Dir / "created.ini", "fresh"));
    EXPECT_EQ(ReadFile(Dir / "created.ini"), "fresh");
    EXPECT_THROW(RewriteWholeFile(Dir / "missing/v.ini", "x"), EFCreateError);
    EXPECT_THROW(RewriteWholeFile(Dir.Path(), "x"), EFCreateError);
}

TEST(WholeFile, RewriteKeepsLinksToTheFile) {
    TTempDir Dir;
    std::filesystem::create_directories(Dir / "real");
    WriteFile(Dir / "real/v.ini", "old");
    std::filesystem::create_symlink("real/v.ini", Dir / "v.ini");
    EXPECT_NO_THROW(RewriteWholeFile(Dir / "v.ini", "through the link"));
    EXPECT_TRUE(std::filesystem::is_symlink(Dir / "v.ini"));
    EXPECT_EQ(ReadFile(Dir / "real/v.ini"), "through the link");

    // A second name of the same file sees the new contents too.
    std::filesystem::create_hard_link(Dir / "real/v.ini", Dir / "second.ini");
    EXPECT_NO_THROW(RewriteWholeFile(Dir / "real/v.ini", "both names"));
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
        EXPECT_THROW(RewriteWholeFile(Dir / "v.ini", "replaced"), EFCreateError);
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
        EXPECT_THROW(RewriteWholeFile(Dir / "new.ini", "x"), EFCreateError);
        EXPECT_NO_THROW(RewriteWholeFile(Dir / "v.ini", "written in place"));
    }
    EXPECT_EQ(ReadFile(Dir / "v.ini"), "written in place");
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"v.ini"});
}
