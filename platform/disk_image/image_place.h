#pragma once

#include "platform/disk_image/disk_layout.h"
#include "platform/disk_image/mtools_volume.h"

#include <optional>
#include <string>
#include <vector>

class TImageFile;

// Where in a disk image the logos go: a FAT volume and a folder on it.
struct TImagePlace {
    TDiskVolume Volume;
    std::string Folder; // as the volume stores its name, "/"-separated; "" is the root

    // For messages: "partition 1, FAT16 \"WIN98\", folder windows".
    std::string Description() const;
};

// The place for Partition (0: the first FAT volume that holds Folder) and Folder ("/"-separated
// from the root, matched without regard to case). Raises EDiskImage saying what is missing: the
// partition, a FAT volume, the folder. With FolderEntries, the folder's entries are listed on
// the way and put there.
TImagePlace FindImagePlace(const TImageFile& Image, const TDiskLayout& Layout, int Partition,
                           const std::string& Folder,
                           std::vector<TMtoolsVolume::TEntry>* FolderEntries = nullptr);

// Folder as Volume stores it, when it exists there. With Entries, its entries are listed too
// (by the same program of mtools as the folders on its way) and put there.
std::optional<std::string> FindFolder(const TMtoolsVolume& Volume, const std::string& Folder,
                                      std::vector<TMtoolsVolume::TEntry>* Entries = nullptr);
