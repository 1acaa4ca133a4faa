// A program of mtools that hangs is stopped after the time limit; one stopped while it wrote says
// that the volume may be damaged and how to check it.

#include "platform/disk_image/image_file.h"
#include "platform/disk_image/mtools_volume.h"
#include "tests/platform/test_files.h"
#include "tests/support/environment.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

TEST(MtoolsVolume, AStoppedWriteSaysTheVolumeMayBeDamaged) {
    TTempDir Dir;
    // mtools that hangs: every program of it sleeps.
    for (const char* Program : {"mdir", "mcopy", "mren", "mdel"}) {
        WriteFile(Dir / Program, "#!/bin/sh\nexec /bin/sleep 30\n");
        ASSERT_EQ(::chmod((Dir / Program).c_str(), 0755), 0);
    }
    TEnvironment Environment;
    Environment.Set("PATH", Dir.Path());
    WriteFile(Dir / "disk.img", std::string(4096, '\0'));
    const TImageFile Image(Dir / "disk.img", TImageFile::TAccess::aReadWrite);
    const TMtoolsVolume Volume(Image, 0, 1);
    const auto Start = std::chrono::steady_clock::now();

    const auto MessageOf = [](const auto& Step) {
        try {
            Step();
        } catch (const EVolumeWriteStopped& Failure) {
            return "written: " + Failure.Message();
        } catch (const EDiskImage& Failure) {
            return "read: " + Failure.Message();
        }
        return std::string("no failure");
    };
    const std::string Read = MessageOf([&] { Volume.List("WINDOWS"); });
    EXPECT_EQ(Read, "read: mtools (mdir) did not finish in 1 seconds and was stopped while it "
                    "read the disk image \"" +
                        (Dir / "disk.img") + "\".");
    for (const auto& Write : std::vector<std::function<void()>>{
             [&] { Volume.Write("WINDOWS/LOGOW.~SY", "logo"); },
             [&] { Volume.Replace("WINDOWS/LOGOW.~SY", "LOGOW.SYS"); },
             [&] { Volume.Delete("WINDOWS/LOGOW.~SY"); }}) {
        const std::string Message = MessageOf(Write);
        EXPECT_EQ(Message.rfind("written: mtools (", 0), 0) << Message;
        EXPECT_NE(Message.find("was stopped while it wrote to the disk image"), std::string::npos)
            << Message;
        EXPECT_NE(Message.find("the FAT volume may be damaged. Check it before the machine uses "
                               "it again: with ScanDisk in the machine, or with fsck.fat."),
                  std::string::npos)
            << Message;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(20));
}
