// The help viewer: which page a help file opens, beside the program or where it is installed,
// and the message when there is none.

#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "tests/platform/test_files.h"

#include <gtest/gtest.h>

namespace {

class HelpViewerTest : public testing::Test {
protected:
    HelpViewerTest() {
        FOldOpen =
            SetShellOpenHook([this](const std::string& Target, const TShellOpenFailed& Then) {
                Opened.push_back(Target);
                Failed = Then;
                return Accept;
            });
        FOldMessages = SetMessageBoxHook([this](const TMessageBoxRequest& Request) {
            Messages.push_back(Request.Text);
            return Request.Default;
        });
    }
    ~HelpViewerTest() override {
        SetShellOpenHook(FOldOpen);
        SetMessageBoxHook(FOldMessages);
    }
    void Page(const std::string& Folder) {
        std::filesystem::create_directories(Dir / Folder);
        WriteFile(Dir / (Folder + "/index.html"), "<html></html>");
    }

    TTempDir Dir;
    bool Accept = true;
    std::vector<std::string> Opened;
    TShellOpenFailed Failed; // what the last opening calls when it fails later
    std::vector<std::string> Messages;

private:
    TShellOpenHook FOldOpen;
    TMessageBoxHook FOldMessages;
};

} // namespace

TEST_F(HelpViewerTest, PagesBesideTheProgramComeBeforeTheInstalledOnes) {
    const std::string Program = Dir / "bin/vespera";
    std::filesystem::create_directories(Dir / "bin");
    EXPECT_EQ(HelpPage(Program, "vespera.hlp", kHelpContents), "");
    Page("share/doc/vespera/html");
    EXPECT_EQ(HelpPage(Program, "vespera.hlp", kHelpContents),
              Dir / "share/doc/vespera/html/index.html");
    EXPECT_EQ(HelpPage(Program, "VESPERA.HLP", kHelpContents), ""); // names are case-sensitive here
    Page("bin/help");
    EXPECT_EQ(HelpPage(Program, "vespera.hlp", kHelpContents), Dir / "bin/help/index.html");
    EXPECT_EQ(HelpPage("vespera", "vespera.hlp", kHelpContents), ""); // no folder of its own
}

TEST_F(HelpViewerTest, ShowHelpOpensThePageOrSaysWhy) {
    const std::string Program = Dir / "bin/vespera";
    EXPECT_FALSE(ShowHelp(Program, "vespera.hlp", kHelpContents));
    // Where it looked, in order, so that the user can put the pages there.
    EXPECT_EQ(Messages, std::vector<std::string>{
                            "Cannot find the help file vespera.hlp.\nIts pages (index.html) were "
                            "looked for in these folders, in this order:\n" +
                            Dir / "bin/help/" + "\n" + Dir / "share/doc/vespera/html/"});
    EXPECT_TRUE(Opened.empty());
    Page("bin/help");
    EXPECT_TRUE(ShowHelp(Program, "vespera.hlp", kHelpContents));
    EXPECT_EQ(Opened, std::vector<std::string>{Dir / "bin/help/index.html"});
    Accept = false; // the desktop has nothing to open it with
    EXPECT_FALSE(ShowHelp(Program, "vespera.hlp", kHelpContents));
    const std::string CannotOpen = "Cannot open the help page " + Dir / "bin/help/index.html" +
                                   ".\nNo program of this desktop could show it; open that file "
                                   "in a web browser.";
    EXPECT_EQ(Messages.back(), CannotOpen);
    // An opener that accepts the page and gives up later: the same message then.
    Accept = true;
    Messages.clear();
    EXPECT_TRUE(ShowHelp(Program, "vespera.hlp", kHelpContents));
    EXPECT_TRUE(Messages.empty());
    ASSERT_TRUE(Failed);
    Failed();
    EXPECT_EQ(Messages, std::vector<std::string>{CannotOpen});
}

TEST(ShellOpen, WithoutAnOpenerNothingOpens) {
    const TShellOpenHook Old = SetShellOpenHook(nullptr);
    EXPECT_FALSE(ShellOpen("https://example.org/"));
    SetShellOpenHook(Old);
}
