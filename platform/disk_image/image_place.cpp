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

namespace {

// The entry of the folder Part among Entries, when there is one.
const TMtoolsVolume::TEntry* FolderEntry(const std::vector<TMtoolsVolume::TEntry>& Entries,
                                         const std::string& Part) {
    for (const TMtoolsVolume::TEntry& Entry : Entries) {
        if (Entry.Folder && SameText(Entry.Name, Part)) {
            return &Entry;
        }
    }
    return nullptr;
}

} // namespace

std::optional<std::string> FindFolder(const TMtoolsVolume& Volume, const std::string& Folder,
                                      std::vector<TMtoolsVolume::TEntry>* Entries) {
    const std::vector<std::string> Parts = VolumePathParts(Folder);
    // The folder and every folder on its way listed at once (as given; mtools finds them
    // without regard to case), the names as stored taken from each one's parent.
    std::vector<std::string> Way{""};
    for (const std::string& Part : Parts) {
        Way.push_back(Way.back() + (Way.back().empty() ? "" : "/") + Part);
    }
    // Names that mtools would take for patterns are left to the search below.
    if (Entries != nullptr && Folder.find_first_of("*?[]\\") == std::string::npos) {
        if (const auto Lists = Volume.ListEach(Way)) {
            std::string Found;
            for (std::size_t I = 0; I < Parts.size(); ++I) {
                const TMtoolsVolume::TEntry* Entry = FolderEntry((*Lists)[I], Parts[I]);
                if (Entry == nullptr) {
                    return std::nullopt;
                }
                Found += (Found.empty() ? "" : "/") + Entry->Name;
            }
            *Entries = Lists->back();
            return Found;
        }
    }
    // One folder after the other, so that the first missing one ends the search.
    std::string Found;
    for (const std::string& Part : Parts) {
        const std::vector<TMtoolsVolume::TEntry> Listed = Volume.List(Found);
        const TMtoolsVolume::TEntry* Entry = FolderEntry(Listed, Part);
        if (Entry == nullptr) {
            return std::nullopt;
        }
        Found += (Found.empty() ? "" : "/") + Entry->Name;
    }
    if (Entries != nullptr) {
        *Entries = Volume.List(Found);
    }
    return Found;
}

TImagePlace FindImagePlace(const TImageFile& Image, const TDiskLayout& Layout, int Partition,
                           const std::string& Folder,
                           std::vector<TMtoolsVolume::TEntry>* FolderEntries) {
    const std::string ImageName = "the disk image " + Quoted(Image.FileName());
    if (Partition != 0) {
        const TDiskVolume& Volume = ChosenVolume(Image, Layout, Partition);
        const TMtoolsVolume Mtools(Image, Volume.Offset);
        if (auto Found = FindFolder(Mtools, Folder, FolderEntries)) {
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
        if (auto Found = FindFolder(Mtools, Folder, FolderEntries)) {
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
