// Disk images in QEMU's formats seen as raw files through QEMU's storage daemon: every format the
// emulators make, made from one raw disk with qemu-img and read back the same way.

#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/file_holders.h"
#include "platform/disk_image/qemu_view.h"
#include "tests/platform/disk_image/disk_image_tools.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::string ReadAll(const std::string& FileName) {
    std::ifstream In(FileName, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

#define SKIP_WITHOUT_QEMU_VIEW()                                                                   \
    do {                                                                                           \
        SKIP_WITHOUT_TOOLS("qemu-img", "mkfs.fat");                                                \
        if (const std::string Missing = MissingForQemuView(); !Missing.empty()) {                  \
            GTEST_SKIP() << "missing: " << Missing;                                                \
        }                                                                                          \
    } while (false)

} // namespace

TEST(QemuView, EveryFormatShowsItsDiskAndKeepsWhatIsWritten) {
    SKIP_WITHOUT_QEMU_VIEW();
    TTempDir Dir;
    const std::string Raw = Dir / "disk.img";
    ASSERT_EQ(RunProcess({"truncate", "-s", "8M", Raw}).ExitCode, 0);
    MakeFat(Raw, 0, 16384, 12, "WIN98");
    const std::string Disk = ReadAll(Raw);
    const std::string NewSector(512, 'V');
    struct TCase {
        const char* Driver;
        std::vector<std::string> Options;
        const char* Name;
    };
    const TCase Cases[] = {
        {"vpc", {"-o", "subformat=dynamic"}, "dynamic.vhd"},
        {"vdi", {}, "disk.vdi"},
        {"vmdk", {"-o", "subformat=monolithicSparse"}, "sparse.vmdk"},
        {"vmdk", {"-o", "subformat=monolithicFlat"}, "flat.vmdk"},
        {"vhdx", {}, "disk.vhdx"},
        {"qcow2", {}, "disk.qcow2"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const std::string Image = Dir / Case.Name;
        std::vector<std::string> Convert{"qemu-img", "convert", "-f", "raw", "-O", Case.Driver};
        Convert.insert(Convert.end(), Case.Options.begin(), Case.Options.end());
        Convert.insert(Convert.end(), {Raw, Image});
        ASSERT_EQ(RunProcess(Convert).ExitCode, 0);
        {
            TQemuView View(Image, Case.Driver, true);
            const std::string Shown = ReadAll(View.Path());
            ASSERT_GE(Shown.size(), Disk.size());
            EXPECT_EQ(Shown.substr(0, Disk.size()), Disk);
            // The daemon holds the image (and a flat VMDK's extent): a helper of ours.
            const std::vector<TFileHolder> Holders = FindFileHolders(View.ImageFiles());
            ASSERT_FALSE(Holders.empty());
            EXPECT_EQ(View.ImageFiles().size(), std::string(Case.Name) == "flat.vmdk" ? 2U : 1U);
            EXPECT_EQ(Holders.front().Pid, View.DaemonPid());
            std::fstream Out(View.Path(), std::ios::in | std::ios::out | std::ios::binary);
            Out.seekp(4096);
            Out.write(NewSector.data(), static_cast<std::streamsize>(NewSector.size()));
        }
        EXPECT_TRUE(FindFileHolders({Image}).empty());
        const std::string Back = Dir / "back.img";
        ASSERT_EQ(RunProcess({"qemu-img", "convert", "-O", "raw", Image, Back}).ExitCode, 0);
        EXPECT_EQ(ReadAll(Back).substr(4096, 512), NewSector);
        // Formats without metadata to check say so with status 63.
        const int Checked = RunProcess({"qemu-img", "check", Image}).ExitCode;
        EXPECT_TRUE(Checked == 0 || Checked == 63) << Checked;
    }
}

TEST(QemuView, AnOverlayTakesTheWritesAndItsBackingFileStaysAsItWas) {
    SKIP_WITHOUT_QEMU_VIEW();
    TTempDir Dir;
    const std::string Base = Dir / "base.img";
    ASSERT_EQ(RunProcess({"truncate", "-s", "8M", Base}).ExitCode, 0);
    MakeFat(Base, 0, 16384, 12, "");
    const std::string Before = ReadAll(Base);
    const std::string Overlay = Dir / "overlay.qcow2";
    ASSERT_EQ(RunProcess({"qemu-img", "create", "-f", "qcow2", "-F", "raw", "-b", Base, Overlay})
                  .ExitCode,
              0);
    {
        TQemuView View(Overlay, "qcow2", true);
        EXPECT_EQ(View.ImageFiles(), (std::vector<std::string>{Overlay, Base}));
        std::fstream Out(View.Path(), std::ios::in | std::ios::out | std::ios::binary);
        Out.seekp(0);
        Out.write("overlay", 7);
    }
    EXPECT_EQ(ReadAll(Base), Before);
    const std::string Back = Dir / "back.img";
    ASSERT_EQ(RunProcess({"qemu-img", "convert", "-O", "raw", Overlay, Back}).ExitCode, 0);
    EXPECT_EQ(ReadAll(Back).substr(0, 7), "overlay");
}

TEST(QemuView, AnImageThatQemuHoldsIsRefusedAsInUse) {
    SKIP_WITHOUT_QEMU_VIEW();
    TTempDir Dir;
    const std::string Image = Dir / "disk.qcow2";
    ASSERT_EQ(RunProcess({"qemu-img", "create", "-f", "qcow2", Image, "8M"}).ExitCode, 0);
    const TQemuView Machine(Image, "qcow2", true); // stands for a running machine
    try {
        TQemuView Second(Image, "qcow2", true);
        FAIL() << "a second writer was let in";
    } catch (const EDiskImage& E) {
        EXPECT_NE(std::string(E.what()).find("in use by a running virtual machine"),
                  std::string::npos)
            << E.what();
    }
}
