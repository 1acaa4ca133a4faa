#include "platform/private_profile.h"
#include "tests/platform/test_files.h"
#include "tests/support/file_size_limit.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

std::string Read(const std::string& FileName, std::string_view Section, std::string_view Key) {
    return GetPrivateProfileString(Section, Key, "<default>", FileName);
}

} // namespace

TEST(PrivateProfileRead, NamesMatchWithoutCaseAndBlanksAroundThemDoNotCount) {
    TTempDir Dir;
    WriteFile(Dir / "a.ini", "[General]\r\n"
                             "TextFile=quiz.txt\r\n"
                             "  Only One  =\t 2 \r\n"
                             "[ first logo ]\n"
                             "FONT = Times New Roman\n"
                             "Empty=\n"
                             "Equals=a=b\n");
    EXPECT_EQ(Read(Dir / "a.ini", "general", "TEXTFILE"), "quiz.txt");
    EXPECT_EQ(Read(Dir / "a.ini", "General", "Only One"), "2");
    EXPECT_EQ(Read(Dir / "a.ini", "First Logo", "Font"), "Times New Roman");
    EXPECT_EQ(Read(Dir / "a.ini", "First Logo", "Empty"), "");
    EXPECT_EQ(Read(Dir / "a.ini", "First Logo", "Equals"), "a=b");
    EXPECT_EQ(Read(Dir / "a.ini", "First Logo", "TextFile"), "<default>");
    EXPECT_EQ(Read(Dir / "a.ini", "Last Logo", "Font"), "<default>");
    EXPECT_EQ(Read(Dir / "missing.ini", "General", "TextFile"), "<default>");
    EXPECT_EQ(Read(Dir.Path(), "General", "TextFile"), "<default>");
}

TEST(PrivateProfileRead, GarbageCommentsAndStrayKeysAreIgnored) {
    TTempDir Dir;
    WriteFile(Dir / "g.ini", "Size=1\n" // before any section
                             "\x01\x02\xFF garbage\n"
                             "[S\n" // no closing bracket
                             "Key=open\n"
                             "[T]tail\n"
                             ";Key=comment\n"
                             "=no key\n"
                             "just words\n"
                             "Key=t\0nul\n"s);
    EXPECT_EQ(Read(Dir / "g.ini", "", "Size"), "<default>");
    EXPECT_EQ(Read(Dir / "g.ini", "S", "Key"), "open");
    EXPECT_EQ(Read(Dir / "g.ini", "T", "Key"), std::string("t\0nul", 5));
    EXPECT_EQ(Read(Dir / "g.ini", "T", ";Key"), "<default>");
}

TEST(PrivateProfileRead, FirstKeyInFileOrderWinsOverDuplicates) {
    TTempDir Dir;
    WriteFile(Dir / "d.ini", "[A]\nX=1\nx=2\n[B]\nY=b\n[a]\nX=3\nZ=4\n");
    EXPECT_EQ(Read(Dir / "d.ini", "A", "X"), "1");
    EXPECT_EQ(Read(Dir / "d.ini", "A", "Z"), "4"); // a later section of the same name counts
    EXPECT_EQ(Read(Dir / "d.ini", "B", "Z"), "<default>");
}

TEST(PrivateProfileRead, AtMost1023BytesComeBackNeverInsideACharacter) {
    TTempDir Dir;
    const std::string Huge(5 * 1024 * 1024, 'v');
    const std::string Cut = std::string(1022, 'u') + "\xC3\xA9" + "tail"; // é across the cut
    WriteFile(Dir / "l.ini", "[S]\nHuge=" + Huge + "\nCut=" + Cut + "\nAfter=ok\n");
    EXPECT_EQ(Read(Dir / "l.ini", "S", "Huge"), std::string(1023, 'v'));
    EXPECT_EQ(Read(Dir / "l.ini", "S", "Cut"), std::string(1022, 'u'));
    EXPECT_EQ(Read(Dir / "l.ini", "S", "After"), "ok");
    EXPECT_EQ(GetPrivateProfileString("S", "None", Huge, Dir / "l.ini"), std::string(1023, 'v'));
}

TEST(PrivateProfileWrite, CreatesTheFileAndTheSection) {
    TTempDir Dir;
    ASSERT_NO_THROW(WritePrivateProfileString("General", "TextFile", "vespera.txt", Dir / "n.ini"));
    ASSERT_NO_THROW(WritePrivateProfileString("General", "Only One", "0", Dir / "n.ini"));
    ASSERT_NO_THROW(WritePrivateProfileString("First Logo", "Font", "Arial", Dir / "n.ini"));
    EXPECT_EQ(ReadFile(Dir / "n.ini"),
              "[General]\nTextFile=vespera.txt\nOnly One=0\n\n[First Logo]\nFont=Arial\n");
    EXPECT_EQ(Read(Dir / "n.ini", "General", "Only One"), "0");
}

TEST(PrivateProfileWrite, KeepsEveryOtherLineAsItWas) {
    TTempDir Dir;
    const std::string Before = "; my settings\r\n"
                               "[General]\r\n"
                               "  textfile = old.txt  \r\n"
                               "junk line\r\n"
                               "\r\n"
                               "[Other]\r\n"
                               "k=v";
    WriteFile(Dir / "k.ini", Before);
    ASSERT_NO_THROW(WritePrivateProfileString("GENERAL", "TextFile", "new.txt", Dir / "k.ini"));
    ASSERT_NO_THROW(WritePrivateProfileString("general", "Only One", "1", Dir / "k.ini"));
    ASSERT_NO_THROW(WritePrivateProfileString("Other", "k2", "v2", Dir / "k.ini"));
    EXPECT_EQ(ReadFile(Dir / "k.ini"), "; my settings\r\n"
                                       "[General]\r\n"
                                       "TextFile=new.txt\r\n"
                                       "junk line\r\n"
                                       "Only One=1\r\n"
                                       "\r\n"
                                       "[Other]\r\n"
                                       "k=v\r\n"
                                       "k2=v2\r\n");
}

TEST(PrivateProfileWrite, ChangesTheKeyThatReadsReturnAmongDuplicates) {
    TTempDir Dir;
    WriteFile(Dir / "d.ini", "[A]\nY=0\n[B]\n[a]\nX=1\n[A]\nX=2\n");
    ASSERT_NO_THROW(WritePrivateProfileString("A", "X", "9", Dir / "d.ini"));
    ASSERT_NO_THROW(WritePrivateProfileString("A", "Z", "new", Dir / "d.ini"));
    EXPECT_EQ(ReadFile(Dir / "d.ini"), "[A]\nY=0\nZ=new\n[B]\n[a]\nX=9\n[A]\nX=2\n");
    EXPECT_EQ(Read(Dir / "d.ini", "A", "X"), "9");
}

TEST(PrivateProfileWrite, LineBreaksInTextsCannotStartLinesOfTheirOwn) {
    TTempDir Dir;
    ASSERT_NO_THROW(WritePrivateProfileString("S", "Line", "one\r\n[Evil]\nK=v", Dir / "b.ini"));
    EXPECT_EQ(ReadFile(Dir / "b.ini"), "[S]\nLine=one  [Evil] K=v\n");
    EXPECT_EQ(Read(Dir / "b.ini", "Evil", "K"), "<default>");
}

TEST(PrivateProfileWrite, FailsWithoutHarmWhenTheFileCannotBeWritten) {
    TTempDir Dir;
    EXPECT_THROW(WritePrivateProfileString("S", "K", "v", Dir / "no/such/folder.ini"),
                 EIniFileException);
    EXPECT_THROW(WritePrivateProfileString("S", "K", "v", Dir.Path()), EIniFileException);
    EXPECT_THROW(WritePrivateProfileString("", "K", "v", Dir / "e.ini"), EIniFileException);
    EXPECT_THROW(WritePrivateProfileString("S", "", "v", Dir / "e.ini"), EIniFileException);
    EXPECT_FALSE(std::filesystem::exists(Dir / "e.ini"));
}

TEST(PrivateProfileWrite, AWriteCutShortLeavesTheOldFileWhole) {
    TTempDir Dir;
    const std::string Original = "[General]\nTextFile=keep.txt\n\n[First Logo]\nLine=old\n";
    WriteFile(Dir / "v.ini", Original);
    {
        // The disk fills up 4 KiB into the new file.
        const TFileSizeLimit Full(4096);
        if (!Full.Ok()) {
            GTEST_SKIP() << "cannot limit the size of written files here";
        }
        EXPECT_THROW(
            WritePrivateProfileString("First Logo", "Line", std::string(10000, 'x'), Dir / "v.ini"),
            EIniFileException);
    }
    EXPECT_EQ(ReadFile(Dir / "v.ini"), Original);
    EXPECT_EQ(FolderEntries(Dir.Path()), std::vector<std::string>{"v.ini"});
}

TEST(PrivateProfileSection, IsReplacedWholeAndRemovedWithoutATrace) {
    TTempDir Dir;
    const std::string File = Dir / "s.ini";
    const std::string Before = "[General]\r\nTextFile=a.txt\r\n\r\n[Last Logo]\r\nLine=x\r\n";
    WriteFile(File, Before);
    ASSERT_NO_THROW(WritePrivateProfileSection("Own", {}, File));
    EXPECT_EQ(ReadFile(File), Before) << "nothing to remove, nothing written";
    ASSERT_NO_THROW(WritePrivateProfileSection("Own", {{"K1", "a"}, {"K2", "b\nc"}}, File));
    EXPECT_EQ(ReadFile(File), Before + "\r\n[Own]\r\nK1=a\r\nK2=b c\r\n");
    ASSERT_NO_THROW(WritePrivateProfileString("Last Logo", "Size", "9", File));
    ASSERT_NO_THROW(WritePrivateProfileSection("own", {}, File));
    EXPECT_EQ(ReadFile(File),
              "[General]\r\nTextFile=a.txt\r\n\r\n[Last Logo]\r\nLine=x\r\nSize=9\r\n");

    // In the middle of a file, and more than once: the first place keeps the new keys, the
    // other lines of the file stay.
    WriteFile(File,
              "[A]\nx=1\n\n[Own]\nK1=old\n; note\nK9=gone\n\n[B]\ny=2\n[OWN]\nK1=dup\nK3=c\n");
    EXPECT_EQ(GetPrivateProfileSection("own", File),
              (std::vector<TProfileEntry>{{"K1", "old"}, {"K9", "gone"}, {"K3", "c"}}));
    ASSERT_NO_THROW(WritePrivateProfileSection("Own", {{"K1", "new"}}, File));
    EXPECT_EQ(ReadFile(File), "[A]\nx=1\n\n[Own]\nK1=new\n\n[B]\ny=2\n");
    ASSERT_NO_THROW(WritePrivateProfileSection("Own", {}, File));
    EXPECT_EQ(ReadFile(File), "[A]\nx=1\n\n[B]\ny=2\n");

    const std::string Long(3000, 'p');
    WriteFile(File, "\xEF\xBB\xBF[Own]\nK=" + Long + "\n\n[A]\nx=1\n");
    EXPECT_EQ(GetPrivateProfileSection("Own", File), (std::vector<TProfileEntry>{{"K", Long}}));
    ASSERT_NO_THROW(WritePrivateProfileSection("Own", {}, File));
    EXPECT_EQ(ReadFile(File), "\xEF\xBB\xBF[A]\nx=1\n");
    EXPECT_THROW(WritePrivateProfileSection("Own", {{"K", "v"}}, Dir / "no/such/folder.ini"),
                 EIniFileException);
    EXPECT_TRUE(GetPrivateProfileSection("Own", Dir / "missing.ini").empty());
}
