// The one-line form of a target, read and written back, with the paths that hold its own
// separators.

#include "platform/install_target/target_spec.h"
#include "tests/platform/test_files.h"
#include "tests/support/environment.h"

#include <gtest/gtest.h>

namespace {

TTargetSpec Image(const std::string& Path, int Partition = 0,
                  const std::string& Folder = "WINDOWS") {
    return {TTargetKind::tkDiskImage, Path, Partition, Folder};
}

TTargetSpec Folder(const std::string& Path) {
    return {TTargetKind::tkFolder, Path};
}

} // namespace

TEST(TargetSpec, ReadsEveryFormAndWritesItBack) {
    TTempDir Dir;
    const std::string File = Dir / "disk.img";
    WriteFile(File, "");
    const struct {
        std::string Text;
        TTargetSpec Spec;
        std::string Written;
    } Cases[] = {
        {"/mnt/win98/WINDOWS", Folder("/mnt/win98/WINDOWS"), "/mnt/win98/WINDOWS"},
        {File, Image(File), File + "::"},
        {"/vms/w98.img::", Image("/vms/w98.img"), "/vms/w98.img::"},
        {"/vms/w98.img::2", Image("/vms/w98.img", 2), "/vms/w98.img::2"},
        {"/vms/w98.img::/win98/system", Image("/vms/w98.img", 0, "win98/system"),
         "/vms/w98.img::/win98/system"},
        {"/vms/w98.img::12\\WIN98\\", Image("/vms/w98.img", 12, "WIN98"), "/vms/w98.img::12/WIN98"},
        {"/vms/w98.img::/", Image("/vms/w98.img", 0, ""), "/vms/w98.img::/"},
        {"/vms/w98.img:://WINDOWS/", Image("/vms/w98.img"), "/vms/w98.img::"},
        {"/vms/My Disks/w 98.img::/Program Files",
         Image("/vms/My Disks/w 98.img", 0, "Program Files"),
         "/vms/My Disks/w 98.img::/Program Files"},
        // An image path holding the separator: the place begins after the last "::".
        {"/a::b.img::", Image("/a::b.img"), "/a::b.img::"},
        {"/a:::1", Image("/a:", 1), "/a:::1"},
        {"folder:/mnt/a::b", Folder("/mnt/a::b"), "folder:/mnt/a::b"},
        {"folder:folder:x", Folder("folder:x"), "folder:folder:x"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        std::string Error;
        const auto Spec = ParseTargetSpec(Case.Text, Error);
        ASSERT_TRUE(Spec) << Error;
        EXPECT_EQ(*Spec, Case.Spec);
        EXPECT_EQ(FormatTargetSpec(*Spec), Case.Written);
        EXPECT_EQ(ParseTargetSpec(Case.Written, Error), Case.Spec);
    }
}

TEST(TargetSpec, RefusesMalformedPlacesInsideAnImage) {
    for (const std::string Text :
         {"", "::", "::1", "x::0", "x::1000", "x::WINDOWS", "x::1WINDOWS", "x::/A:B",
          "x::/../WINDOWS", "x::/WIN*", "x::/WIN[1]", "folder:"}) {
        std::string Error;
        EXPECT_FALSE(ParseTargetSpec(Text, Error)) << Text;
        EXPECT_FALSE(Error.empty()) << Text;
    }
    // The reason fits the number.
    std::string Error;
    ParseTargetSpec("x::0", Error);
    EXPECT_EQ(Error, "\"x::0\" names no valid partition: partitions are numbered from 1.");
    ParseTargetSpec("x::1000", Error);
    EXPECT_EQ(Error, "\"x::1000\" names no valid partition: partitions are numbered from 1 to "
                     "999.");
    ParseTargetSpec("x::99999999999999999999", Error);
    EXPECT_NE(Error.find("from 1 to 999"), std::string::npos) << Error;
    EXPECT_EQ(ParseTargetSpec("x::0002", Error), Image("x", 2));
}

// "~" at the start, alone or before "/", is the home folder, as a shell would have it.
TEST(TargetSpec, TildeIsTheHomeFolder) {
    TTempDir Dir;
    TEnvironment Env;
    Env.Set("HOME", Dir.Path());
    WriteFile(Dir / "disk.img", "");
    const struct {
        std::string Text;
        TTargetSpec Spec;
    } Cases[] = {
        {"~", Folder(Dir.Path())},
        {"~/", Folder(Dir / "")},
        {"~/vms/w98.img::1", Image(Dir / "vms/w98.img", 1)},
        {"~/disk.img", Image(Dir / "disk.img")},
        {"~other/x", Folder("~other/x")},
        {"folder:~/x", Folder("~/x")},
        {"./~/x", Folder("./~/x")},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Text);
        std::string Error;
        EXPECT_EQ(ParseTargetSpec(Case.Text, Error), Case.Spec) << Error;
    }
}
