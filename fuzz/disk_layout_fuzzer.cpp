// The reading of a disk image's format, partition table and FAT boot sectors, the count of a
// FAT's free clusters, and the check of the chains of a folder and its files, over made-up disks.
// The input is the disk's first bytes; the rest of a 64 MB disk reads as zeros, so that partitions
// and volumes may lie anywhere in it.

#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/disk_layout.h"
#include "platform/disk_image/fat_chains.h"
#include "platform/disk_image/image_file.h"

#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    constexpr off_t kDiskSize = 64 << 20;
    const int Handle = ::memfd_create("disk", MFD_CLOEXEC);
    if (Handle < 0 || static_cast<off_t>(Size) > kDiskSize ||
        ::write(Handle, Data, Size) != static_cast<ssize_t>(Size) ||
        ::ftruncate(Handle, kDiskSize) != 0) {
        ::close(Handle);
        return 0;
    }
    try {
        const TImageFile Image("/proc/self/fd/" + std::to_string(Handle),
                               TImageFile::TAccess::aRead);
        const TDiskLayout Layout = ReadDiskLayout(Image);
        for (const TDiskVolume& Volume : Layout.Volumes) {
            if (Volume.Fat) {
                CountFreeClusters(Image, Volume.Offset, *Volume.Fat);
                CheckFatFiles(Image, Volume.Offset, *Volume.Fat, "WINDOWS/SYSTEM",
                              {"LOGOW.SYS", "logos.sys"});
            }
            (void)Volume.Kind();
        }
    } catch (const EDiskImage&) {
    }
    ::close(Handle);
    return 0;
}
