#include "platform/disk_image/image_place.h"

#include "platform/ascii_text.h"
#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/image_file.h"
#include "platform/disk_image/mtools_volume.h"

namespace {

std::string Quoted(const std::string& Text) {
    return "\"" + Text + "\"";
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
            throw EDiskImage("Partition " + std::to_string(Partition) + " of " + ImageName +
                             " is not a FAT volume (" + Volume.Kind() +
                             "); Vespera writes only to FAT12, FAT16 and FAT32 volumes.");
        }
        return Volume;
    }
    throw EDiskImage("The disk image " + Quoted(Image.FileName()) + " has no partition " +
                     std::to_string(Partition) + ".");
}

} // namespace

std::string TImagePlace::Description() const {
    // Appended piece by piece: GCC 12 at -O3 takes the concatenated temporaries for overlapping
    // copies (-Wrestrict).
    std::string Result = Volume.Name();
    Result += ", ";
    Result += Volume.Kind();
    if (Volume.Fat && !Volume.Fat->Label.empty()) {
        Result += " ";
        Result += Quoted(Volume.Fat->Label);
    }
    if (Folder.empty()) {
        Result += ", root folder";
    } else {
        Result += ", folder ";
        Result += Folder;
    }
    return Result;
}

namespace {

// The parts of Folder, "/"-separated.
std::vector<std::string> FolderParts(const std::string& Folder) {
    std::vector<std::string> Parts;
    std::size_t Start = 0;
    while (Start < Folder.size()) {
        std::size_t End = Folder.find('/', Start);
        if (End == std::string::npos) {
            End = Folder.size();
        }
        if (End > Start) {
            Parts.push_back(Folder.substr(Start, End - Start));
        }
        Start = End + 1;
    }
    return Parts;
}

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
    const std::vector<std::string> Parts = FolderParts(Folder);
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
        const TMtoolsVolume::TEntry* Entry = nullptr;
        const std::vector<TMtoolsVolume::TEntry> Listed = Volume.List(Found);
        Entry = FolderEntry(Listed, Part);
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
                         " holds no FAT volume; Vespera writes only to FAT12, FAT16 and FAT32 "
                         "volumes.");
    }
    throw EDiskImage("No FAT volume of " + ImageName + " has a " + FolderName(Folder) + ".");
}
