// The vespera program run as the start-up link runs it, "vespera /AUTO", without a display, in a
// scratch program folder (a copy of the program) and a scratch Windows folder; its logos read
// back by PIL and ImageMagick.

#include "tests/app/vespera_run_fixture.h"
#include "tests/platform/test_files.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/run_process.h"

#include <gtest/gtest.h>

namespace {

// Prints width, height, mode, palette entries and whether the 16 system colours are among them.
constexpr const char* kPilCheck = R"(import sys
from PIL import Image
sys16 = [(0,0,0),(128,0,0),(0,128,0),(128,128,0),(0,0,128),(128,0,128),(0,128,128),
         (192,192,192),(128,128,128),(255,0,0),(0,255,0),(255,255,0),(0,0,255),(255,0,255),
         (0,255,255),(255,255,255)]
for name in sys.argv[1:]:
    im = Image.open(name)
    im.load()
    pal = im.getpalette()
    entries = [tuple(pal[i:i + 3]) for i in range(0, len(pal), 3)]
    print(im.size[0], im.size[1], im.mode, len(entries), all(c in entries for c in sys16))
)";

} // namespace

TEST_F(VesperaRunTest, AutoWritesBothLogosThatPeersRead) {
    WriteFile(Dir / "program/riddles.txt",
              "[Header]\nFormat=Q&A\n[Data]\nQ: Who?\nA: Me.\nQ: What?\nA: That.\n");
    WriteFile(Dir / "program/vespera.INI",
              "[General]\nTextFile=riddles.txt\n[Last Logo]\nBackground=1\n");
    const TProcessResult Run = RunProcess({Program.Path(), "/auto"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_EQ(Run.Out, "vespera: wrote " + Dir / "windows/logow.sys\nvespera: wrote " +
                           Dir / "windows/logos.sys\n");
    EXPECT_EQ(FolderEntries(Dir / "windows"), (std::vector<std::string>{"logos.sys", "logow.sys"}));
    const std::string First = ReadFile(Dir / "windows/logow.sys");
    EXPECT_EQ(First.size(), 14U + 40U + 1024U + 320U * 400U);

    // The same clock chooses the same record: the same logos, byte for byte.
    ASSERT_EQ(RunProcess({Program.Path(), "/AUTO"}).ExitCode, 0);
    EXPECT_EQ(ReadFile(Dir / "windows/logow.sys"), First);

    const std::string Python = PythonWithPil();
    if (Python.empty()) {
        GTEST_SKIP() << "no Python with PIL (python3-pil) is installed";
    }
    const TProcessResult Pil =
        RunProcess({Python, "-c", kPilCheck, Dir / "windows/logow.sys", Dir / "windows/logos.sys"});
    EXPECT_EQ(Pil.Out, "320 400 P 256 True\n320 400 P 256 True\n") << Pil.Err;
    const std::string Identify = FindProgram("identify");
    if (Identify.empty()) {
        GTEST_SKIP() << "ImageMagick's identify is not installed";
    }
    const TProcessResult Magick =
        RunProcess({Identify, "-format", "%m %w %h %z %r\n", Dir / "windows/logow.sys",
                    Dir / "windows/logos.sys"});
    EXPECT_EQ(Magick.Out, "BMP3 320 400 8 PseudoClass sRGB \nBMP3 320 400 8 PseudoClass sRGB \n")
        << Magick.Err;
}

TEST_F(VesperaRunTest, FirstRunBacksUpTheSystemsLogosAndSaysSoOnStandardError) {
    WriteFile(Dir / "windows/logow.sys", "the system's wait picture");
    WriteFile(Dir / "windows/logos.sys", "the system's off picture");
    const TProcessResult Run = RunProcess({Program.Path(), "/AUTO"});
    ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
    EXPECT_NE(Run.Err.find("Vespera: A Backup of your existing logow.sys has been done\n"),
              std::string::npos);
    EXPECT_NE(Run.Err.find("Vespera: A Backup of your existing logos.sys has been done\n"),
              std::string::npos);
    EXPECT_EQ(ReadFile(Dir / "program/logow.sys"), "the system's wait picture");
    EXPECT_EQ(ReadFile(Dir / "program/logos.sys"), "the system's off picture");
    // The sample record file beside the program was used.
    EXPECT_NE(ReadFile(Dir / "windows/logow.sys"), "the system's wait picture");
    const TProcessResult Again = RunProcess({Program.Path(), "/AUTO"});
    EXPECT_EQ(Again.Err.find("Backup"), std::string::npos);
}

TEST_F(VesperaRunTest, ALogoWhoseBackupFailsIsNotReplacedAndTheRunFails) {
    // A system picture larger than the program may write: its backup fails as on a full disk,
    // while the new logo, which is smaller, could be written.
    const std::string Original(200000, 'w');
    WriteFile(Dir / "windows/logow.sys", Original);
    WriteFile(Dir / "windows/logos.sys", "the system's off picture");
    {
        const TFileSizeLimit Limit(150000);
        if (!Limit.Ok()) {
            GTEST_SKIP() << "cannot limit the size of written files";
        }
        const TProcessResult Run = RunProcess({Program.Path(), "/AUTO"});
        EXPECT_EQ(Run.ExitCode, 1);
        EXPECT_NE(Run.Err.find("Cannot back up \"" +
                               Dir / "windows/logow.sys\": Cannot create file \"" +
                               Dir / "program/logow.sys\". File too large. logow.sys was not "
                                     "replaced."),
                  std::string::npos)
            << Run.Err;
        // The other logo follows the rule on its own.
        EXPECT_EQ(Run.Out, "vespera: wrote " + Dir / "windows/logos.sys\n");
    }
    EXPECT_TRUE(ReadFile(Dir / "windows/logow.sys") == Original);
    EXPECT_EQ(ReadFile(Dir / "program/logos.sys"), "the system's off picture");
    EXPECT_FALSE(std::filesystem::exists(Dir / "program/logow.sys"));

    // Once the backup can be made, the logo is replaced.
    ASSERT_EQ(RunProcess({Program.Path(), "/AUTO"}).ExitCode, 0);
    EXPECT_TRUE(ReadFile(Dir / "program/logow.sys") == Original);
    EXPECT_EQ(std::filesystem::file_size(Dir / "windows/logow.sys"),
              14U + 40U + 1024U + 320U * 400U);
}

TEST_F(VesperaRunTest, AFailedRunSaysWhyAndEndsWithStatusOne) {
    Env.Set("VESPERA_WINDIR", Dir / "windows/logow.sys/");
    WriteFile(Dir / "windows/logow.sys", "a file, not a folder");
    const TProcessResult Run = RunProcess({Program.Path(), "/AUTO"});
    EXPECT_EQ(Run.ExitCode, 1);
    EXPECT_NE(Run.Err.find("Vespera: Cannot create file \"" + Dir / "windows/logow.sys/logow.sys"),
              std::string::npos)
        << Run.Err;
    EXPECT_EQ(Run.Out, "");
    EXPECT_EQ(ReadFile(Dir / "windows/logow.sys"), "a file, not a folder");
}

TEST_F(VesperaRunTest, AnUnreadableBackgroundIsToldOnceWithItsLogoAndFile) {
    const std::string Picture = Dir / "program/broken.bmp";
    WriteFile(Picture, "BM not a picture");
    WriteFile(Dir / "program/vespera.INI", "[First Logo]\nBackground=2\nBitmap=" + Picture +
                                               "\n[Last Logo]\nBackground=2\nBitmap=" + Picture +
                                               "\n");
    const TProcessResult Run = RunProcess({Program.Path(), "/AUTO"});
    EXPECT_EQ(Run.ExitCode, 1);
    for (const std::string Logo : {"First Logo", "Second Logo"}) {
        const std::string Line = "Vespera: " + Logo + " background " + Picture + ": ";
        EXPECT_NE(Run.Err.find(Line), std::string::npos) << Run.Err;
        EXPECT_EQ(Run.Err.find(Line), Run.Err.rfind(Line)) << Run.Err;
    }
    EXPECT_TRUE(FolderEntries(Dir / "windows").empty());
}

TEST_F(VesperaRunTest, WithoutAutoAndWithoutADisplayItSaysTheWindowNeedsOne) {
    for (const std::vector<std::string>& Arguments :
         {std::vector<std::string>{}, {"/NOAUTO"}, {"x", "/AUTO"}}) {
        std::vector<std::string> Argv{Program.Path()};
        Argv.insert(Argv.end(), Arguments.begin(), Arguments.end());
        const TProcessResult Run = RunProcess(Argv);
        EXPECT_EQ(Run.ExitCode, 2);
        EXPECT_EQ(std::count(Run.Err.begin(), Run.Err.end(), '\n'), 1) << Run.Err;
    }
    EXPECT_TRUE(FolderEntries(Dir / "windows").empty());
}
