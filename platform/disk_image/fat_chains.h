#pragma once

#include "platform/disk_image/fat_boot_sector.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TImageFile;

// The attribute bits of an entry of a FAT folder.
enum TFatAttribute : std::uint8_t {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSystem = 0x04,
    faLabel = 0x08,
    faFolder = 0x10,
    faArchive = 0x20,
};

// A file or folder as an entry of a FAT folder describes it.
struct TFatEntry {
    std::string ShortName;       // the 8.3 name as stored, "LOGOW.SYS"
    std::string LongName;        // empty when the entry has none
    std::uint8_t Attributes = 0; // TFatAttribute bits
    std::uint32_t FirstCluster = 0;
    std::uint32_t Size = 0;
};

// What our own reading of a FAT volume finds in a folder before files there are replaced.
struct TFatFilesCheck {
    // What is wrong with the volume, for a message ("the cluster chain of WINDOWS/LOGOW.SYS loops
    // back from cluster 12 to cluster 9"); empty when nothing is.
    std::string Damage;
    // Files[I]: the entry of the I-th name asked for, when the folder holds such a file.
    std::vector<std::optional<TFatEntry>> Files;
    // The clusters the FAT marks free, counted on the way.
    std::uint64_t FreeClusters = 0;
};

// Finds the folder Folder ("/"-separated from the root) of Volume, which starts at VolumeOffset
// in Image, and in it the files Names; folders and files are matched by their long or 8.3 names
// without regard to case, as mtools matches them. Checks what replacing or deleting those files
// would rely on: the cluster chains of every folder on the way and of the files found keep to the
// volume's clusters (no cluster below 2 or past the last, none marked free or bad), end without a
// loop, and share no cluster with another chain (no FAT entry but its predecessor's leads to any
// of their clusters, none leads to their first) or with another entry of the folder (no two of
// its entries start at the same cluster); a file's chain holds no more clusters than its size
// needs. The first damage found is reported; a folder that our reading does not find counts as
// damage too.
//
// The first FAT is read whole, with a count a byte for each cluster; no chain is followed further
// than the volume's clusters and no folder further than the 65536 entries a folder can hold,
// whatever the volume holds. Raises EDiskImage when the image cannot be read.
TFatFilesCheck CheckFatFiles(const TImageFile& Image, std::uint64_t VolumeOffset,
                             const TFatVolume& Volume, const std::string& Folder,
                             const std::vector<std::string>& Names);
