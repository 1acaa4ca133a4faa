#include "app/install/startup_shortcut.h"
#include "tests/app/message_recorder.h"
#include "tests/platform/test_files.h"
#include "tests/support/environment.h"
#include "tests/support/run_process.h"

#include <gtest/gtest.h>

namespace {

const std::string kQuestion =
    "A shortcut to Vespera will be created in your Startup\r\nGroup. Are you sure you want to "
    "continue?";
const std::string kDone = "A shortcut has been successfully created on the StartUp folder";
const std::string kFailed = "ERROR creating a shortcut to Vespera on the StartUp folder";

class StartupShortcutTest : public testing::Test {
protected:
    StartupShortcutTest() {
        Env.Set("XDG_CONFIG_HOME", Dir / "config");
        Env.Set("HOME", Dir / "home");
    }
    std::string Link() const { return Dir / "config/autostart/Vespera.desktop"; }

    TTempDir Dir;
    TEnvironment Env;
};

} // namespace

TEST_F(StartupShortcutTest, NoCreatesNothing) {
    TMessageRecorder Answers;
    Answers.Answer = TModalResult::mrNo;
    StartupShortcutClick("/opt/vespera/bin/vespera");
    EXPECT_EQ(Answers.Texts(), std::vector<std::string>{kQuestion});
    EXPECT_FALSE(std::filesystem::exists(Link()));
}

TEST_F(StartupShortcutTest, YesWritesAnEntryThatRunsTheProgramUnattendedEveryTime) {
    TMessageRecorder Answers;
    Answers.Answer = TModalResult::mrYes;
    StartupShortcutClick("/opt/vespera/bin/vespera");
    // The description, "Vespera", repeats the name and so needs no comment of its own.
    EXPECT_EQ(ReadFile(Link()), "[Desktop Entry]\nType=Application\nName=Vespera\n"
                                "Exec=/opt/vespera/bin/vespera /AUTO\n"
                                "Path=/opt/vespera/bin\nTerminal=false\n");
    StartupShortcutClick("/opt/other place/vespera");
    EXPECT_NE(ReadFile(Link()).find("Exec=\"/opt/other place/vespera\" /AUTO\n"),
              std::string::npos);
    EXPECT_EQ(Answers.Texts(), (std::vector<std::string>{kQuestion, kDone, kQuestion, kDone}));
    EXPECT_EQ(Answers.Requests[1].Type, TMsgDlgType::mtInformation);
    EXPECT_EQ(FolderEntries(Dir / "config/autostart"), std::vector<std::string>{"Vespera.desktop"});
}

TEST_F(StartupShortcutTest, TheDesktopsCheckerAcceptsTheEntry) {
    const std::string Validate = FindProgram("desktop-file-validate");
    if (Validate.empty()) {
        GTEST_SKIP() << "desktop-file-validate (desktop-file-utils) is not installed";
    }
    TMessageRecorder Answers;
    Answers.Answer = TModalResult::mrYes;
    for (const std::string Program :
         {"/opt/vespera/bin/vespera", "/home/me/my \"odd\" $dir\\100%/vespera"}) {
        CreateStartupShortcut(Program);
        const TProcessResult Result = RunProcess({Validate, Link()});
        EXPECT_EQ(Result.ExitCode, 0) << Program << "\n" << Result.Out << Result.Err;
        EXPECT_EQ(Result.Out + Result.Err, "") << Program;
    }
}

TEST_F(StartupShortcutTest, WithoutAStartupFolderItFailsAndSaysSo) {
    // The configuration folder is a file: no autostart folder can be made in it.
    WriteFile(Dir / "config", "not a folder");
    TMessageRecorder Answers;
    Answers.Answer = TModalResult::mrYes;
    CreateStartupShortcut("/opt/vespera/bin/vespera");
    EXPECT_EQ(Answers.Texts(), std::vector<std::string>{kFailed});
    EXPECT_EQ(Answers.Requests[0].Type, TMsgDlgType::mtError);
    EXPECT_FALSE(std::filesystem::exists("/Vespera.desktop"));
}
