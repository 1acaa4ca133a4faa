#include "platform/disk_image/image_place.h"

#include "platform/ascii_text.h"
#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/image_file.h"
#include "platform/disk_image/mtools_volume.h"
#include "platform/disk_image/volume_path.h"

#include <algorithm>

namespace {

std::string Quoted(const std::string& Text) {
    return "\"" + Text + "\"";
}

// "FAT16 \"WIN98\"": the volume's kind, and its label when it has one.
std::string KindAndLabel(const TDiskVolume& Volume) {
    std::string Result = Volume.Kind();
    if (Volume.Fat && !Volume.Fat->Label.empty()) {
        Result += " ";
        Result += Quoted(Volume.Fat->Label);
    }
    return Result;
}

std::string FolderName(const std::string& Folder) {
    return Folder.empty() ? std::string("root folder") : "folder " + Quoted(Folder);
}

const TDiskVolume& ChosenVolume(const TImageFile& Image, const TDiskLayout& Layout, int Partition) {
    const std::string ImageName = "the disk image " + Quoted(Image.FileName());
    if (!Layout.Partitioned) {
        throw EDiskImage("The disk image " + Quoted(Image.FileName()) +
                         " holds a single volume without a partition table; leave the "
                         "partition number out.");
    }
    for (const TDiskVolume& Volume : Layout.Volumes) {
        if (Volume.Partition != Partition) {
            continue;
        }
        if (!Volume.Fat) {
            throw EDiskImage("Partition " + std::to_string(Partition) + " of " + ImageName + " " +
                             Volume.Unusable() +
                             "; Vespera writes only to FAT12, FAT16 and FAT32 volumes.");
        }
        return Volume;
    }
    if (std::find(Layout.Extended.begin(), Layout.Extended.end(), Partition) !=
        Layout.Extended.end()) {
        throw EDiskImage("Partition " + std::to_string(Partition) + " of " + ImageName +
                         " is the extended partition, which holds the logical partitions "
                         "(numbered from 5); name one of those.");
    }
    throw EDiskImage("The disk image " + Quoted(Image.FileName()) + " has no partition " +
                     std::to_string(Partition) + ".");
}

// Why the automatic choice took none of the volumes of Layout, none of its FAT volumes having
// the folder: each volume's reason, "; "-separated, or what the disk holds instead.
std::string WhyNoneTaken(const TDiskLayout& Layout) {
    if (Layout.Volumes.empty()) {
        return Layout.Partitioned ? "its partition table is empty"
                                  : "it starts with neither a partition table nor a FAT volume";
    }
    std::string Reasons;
    for (const TDiskVolume& Volume : Layout.Volumes) {
        Reasons.append(Reasons.empty() ? "" : "; ").append(Volume.Name());
        if (Volume.Fat) {
            Reasons.append(" (").append(KindAndLabel(Volume)).append(") has none");
        } else {
            Reasons.append(" ").append(Volume.Unusable());
        }
    }
    return Reasons;
}

} // namespace

std::string TImagePlace::Description() const {
    // Appended piece by piece: GCC 12 at -O3 takes the concatenated temporaries for overlapping
    // copies (-Wrestrict).
    std::string Result = Volume.Name();
    Result += ", ";
    Result += KindAndLabel(Volume);
    if (Folder.empty()) {
        Result += ", root folder";
    } else {
        Result += ", folder ";
        Result += Folder;
    }
    return Result;
}

std::optional<std::string> FindFolder(const TMtoolsVolume& Volume, const std::string& Folder) {
    std::string Found;
    for (const std::string& Part : VolumePathParts(Folder)) {
        bool Exists = false;
        for (const TMtoolsVolume::TEntry& Entry : Volume.List(Found)) {
            if (Entry.Folder && SameText(Entry.Name, Part)) {
                Found += (Found.empty() ? "" : "/") + Entry.Name;
                Exists = true;
                break;
            }
        }
        if (!Exists) {
            return std::nullopt;
        }
    }
    return Found;
}

TImagePlace FindImagePlace(const TImageFile& Image, const TDiskLayout& Layout, int Partition,
                           const std::string& Folder) {
    const std::string ImageName = "the disk image " + Quoted(Image.FileName());
    if (Partition != 0) {
        const TDiskVolume& Volume = ChosenVolume(Image, Layout, Partition);
        const TMtoolsVolume Mtools(Image, Volume.Offset);
        if (auto Found = FindFolder(Mtools, Folder)) {
            return {Volume, *Found};
        }
        throw EDiskImage("Partition " + std::to_string(Partition) + " of " + ImageName +
                         " has no " + FolderName(Folder) + ".");
    }
    bool AnyFat = false;
    for (const TDiskVolume& Volume : Layout.Volumes) {
        if (!Volume.Fat) {
            continue;
        }
        AnyFat = true;
        const TMtoolsVolume Mtools(Image, Volume.Offset);
        if (auto Found = FindFolder(Mtools, Folder)) {
            return {Volume, *Found};
        }
    }
    if (!AnyFat) {
        throw EDiskImage("The disk image " + Quoted(Image.FileName()) +
                         " holds no FAT volume: " + WhyNoneTaken(Layout) +
                         ". Vespera writes only to FAT12, FAT16 and FAT32 volumes.");
    }
    throw EDiskImage("No FAT volume of " + ImageName + " has a " + FolderName(Folder) + ": " +
                     WhyNoneTaken(Layout) + ".");
}
