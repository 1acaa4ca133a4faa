#pragma once

#include "platform/disk_image/disk_layout.h"

#include <cstdint>
#include <string>
#include <vector>

// What a disk image holds, for a user choosing where the logos go: its volumes with their
// sizes, labels and FAT types, and which of them has a Windows folder.
struct TVolumeReport {
    TDiskVolume Volume;
    std::string WindowsFolder;   // the "WINDOWS" folder (any case) as stored; empty when none
    std::uint64_t FreeBytes = 0; // FAT volumes only
    std::string Problem;         // why a FAT volume could not be looked into; empty when it could
};

struct TImageReport {
    std::string Format; // "raw", "fixed VHD", or a format QEMU reads ("dynamic VHD", "QCOW2", ...)
    std::uint64_t DiskSize = 0;
    bool Partitioned = false;
    // A virtual machine or another program may be writing to it: what is shown may change.
    bool InUse = false;
    std::vector<TVolumeReport> Volumes;
};

// Reads the image FileName without locking it or changing it. Raises EDiskImage when it cannot
// be opened (image_access.h).
TImageReport ReportDiskImage(const std::string& FileName);
