#pragma once

#include "platform/disk_image/fat_boot_sector.h"
#include "platform/disk_image/image_container.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TImageFile;

// One volume of a disk image: a partition of its MBR, or the whole disk when the disk holds a
// FAT volume without a partition table (as floppy images do).
struct TDiskVolume {
    int Partition = 0; // 0: the whole disk
    std::uint8_t PartitionType = 0;
    std::uint64_t Offset = 0; // from the start of the file
    std::uint64_t Size = 0;
    bool Inside = true;            // false when the partition reaches beyond the image's end
    std::optional<TFatVolume> Fat; // none when it holds no FAT volume

    // "partition 2" or "the volume" (without a partition table), for messages.
    std::string Name() const;
    // What the volume is, for messages: "FAT16", or why it is not FAT ("not FAT: type 0x07,
    // NTFS or exFAT", "type 0x06 (FAT) but no FAT volume inside").
    std::string Kind() const;
    // Why the logos cannot go there, as the rest of a sentence that begins with Name():
    // "reaches beyond the end of the image", "has type 0x06 (FAT) but no FAT volume inside";
    // empty for a FAT volume.
    std::string Unusable() const;
};

struct TDiskLayout {
    TImageContainer Container;
    bool Partitioned = false; // false: one volume without a partition table, or nothing known
    std::vector<TDiskVolume> Volumes;
    std::vector<int> Extended; // the extended partitions' numbers: they hold the logical ones
};

// The volumes of the disk that Image holds; raises EDiskImage for formats other than raw and
// fixed VHD. A disk whose first sector is neither a FAT boot sector nor an MBR has no volumes.
TDiskLayout ReadDiskLayout(const TImageFile& Image);
