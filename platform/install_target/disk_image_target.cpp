#include "platform/install_target/disk_image_target.h"

#include "platform/ascii_text.h"
#include "platform/atomic_file.h"
#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/fat_chains.h"
#include "platform/disk_image/image_access.h"
#include "platform/disk_image/image_file.h"
#include "platform/disk_image/image_lock.h"
#include "platform/disk_image/mtools_volume.h"

#include <chrono>

namespace {

bool ValidShortNameChar(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') ||
           std::string_view("!#$%&'()-@^_`{}~").find(C) != std::string_view::npos;
}

bool ValidShortPart(std::string_view Part, std::size_t MaxLength) {
    if (Part.size() > MaxLength) {
        return false;
    }
    for (const char C : Part) {
        if (!ValidShortNameChar(C)) {
            return false;
        }
    }
    return true;
}

std::string InFolder(const std::string& Folder, const std::string& Name) {
    return Folder.empty() ? Name : Folder + "/" + Name;
}

// Whether Name is of the form TemporaryLogoName gives.
bool IsTemporaryLogoName(const std::string& Name) {
    return Name.find(".~") != std::string::npos;
}

} // namespace

std::string ShortLogoName(const std::string& Name) {
    const std::string Upper = UpperCase(Name);
    const std::size_t Dot = Upper.find('.');
    const std::string_view Base = std::string_view(Upper).substr(0, Dot);
    const std::string_view Extension =
        Dot == std::string::npos ? std::string_view() : std::string_view(Upper).substr(Dot + 1);
    if (Base.empty() || !ValidShortPart(Base, 8) || !ValidShortPart(Extension, 3)) {
        throw EDiskImage("\"" + Name + "\" cannot be written to a disk image: it is no 8.3 name.");
    }
    return Upper;
}

std::string TemporaryLogoName(const std::string& ShortName) {
    const std::size_t Dot = ShortName.find('.');
    const std::string Base = ShortName.substr(0, Dot);
    const std::string Extension = Dot == std::string::npos ? "" : ShortName.substr(Dot + 1);
    return Base + ".~" + Extension.substr(0, 2);
}

// The image of a target, open, locked and checked, with the place of the logos found.
//
// Opened for writing, it is held under a writer's lock, so that nothing else writes to the
// volume meanwhile: the folder's entries are listed once and then kept as its own writes change
// them, and the free room counted once is kept as a lower bound that only a count raises.
class TDiskImageTarget::TOpenImage {
public:
    using TEntry = TMtoolsVolume::TEntry;

    TOpenImage(const TTargetSpec& Spec, bool Writing, std::optional<TImagePlace>& Known)
        : FAccess(Spec.Path,
                  Writing ? TImageFile::TAccess::aReadWrite : TImageFile::TAccess::aRead),
          FLock(FAccess.File(), Writing ? TImageLock::TUse::uWrite : TImageLock::TUse::uRead),
          FPlace(Place(Spec, Known)), FVolume(FAccess.File(), FPlace.Volume.Offset) {
        // Reading is what a machine that keeps the image open may let others do; writing not.
        if (Writing) {
            CheckNotInUse();
        }
    }

    const TImageFile& Image() const { return FAccess.File(); }
    const TImagePlace& PlaceFound() const { return FPlace; }
    const TMtoolsVolume& Volume() const { return FVolume; }
    std::string Path(const std::string& Name) const { return InFolder(FPlace.Folder, Name); }

    const std::vector<TEntry>& Entries() const {
        if (!FEntries) {
            FEntries = FVolume.List(FPlace.Folder);
        }
        return *FEntries;
    }

    // Raises EDiskImage when another program holds the image open. A check made less than a
    // second before stands: a run's writes follow each other within milliseconds.
    void CheckNotInUse() const {
        const auto Now = std::chrono::steady_clock::now();
        if (FChecked && Now - *FChecked < std::chrono::seconds(1)) {
            return;
        }
        FAccess.CheckNotInUse();
        FChecked = Now;
    }

    // The free clusters as a reading of the whole FAT has just counted them.
    void FreeClustersCounted(std::uint64_t Free) const { FFreeAtLeast = Free; }

    // Raises EDiskImage, naming the file Short and the place Where, when the volume has no
    // room for Bytes and one more cluster of the folder's entries.
    void CheckRoom(std::uint64_t Bytes, const std::string& Short, const std::string& Where) const {
        const TDiskVolume& Volume = FPlace.Volume;
        const std::uint64_t ClusterBytes = Volume.Fat->ClusterBytes();
        const std::uint64_t Needed = (Bytes + ClusterBytes - 1) / ClusterBytes + 1;
        if (!FFreeAtLeast || *FFreeAtLeast < Needed) {
            FFreeAtLeast = CountFreeClusters(Image(), Volume.Offset, *Volume.Fat);
        }
        if (*FFreeAtLeast < Needed) {
            const std::uint64_t Free = *FFreeAtLeast;
            FFreeAtLeast.reset();
            throw EDiskImage("There is not enough room for " + Short + " in " + Where +
                             ": it needs " + std::to_string(Needed * ClusterBytes) + " bytes, " +
                             std::to_string(Free * ClusterBytes) + " are free.");
        }
        *FFreeAtLeast -= Needed;
    }

    // The volume's writes, the entries kept up to date.
    void Write(const std::string& Name, std::string_view Data) const {
        Changing([&] { FVolume.Write(Path(Name), Data); });
        Forget(Name);
        FEntries->push_back({Name, false});
    }
    void Replace(const std::string& Name, const std::string& NewName, bool LongName) const {
        Changing([&] { FVolume.Replace(Path(Name), NewName, LongName); });
        Forget(Name);
        Forget(NewName);
        FEntries->push_back({NewName, false});
    }
    void Delete(const std::string& Name) const {
        Changing([&] { FVolume.Delete(Path(Name)); });
        Forget(Name);
    }

    // Deletes the temporary file Name that a write left, when the folder holds it.
    void RemoveTemporary(const std::string& Name) const {
        if (ContainsFile(Entries(), Name)) {
            Delete(Name);
        }
    }

    // The files Names of the folder and the soundness of their chains, as our own reading of the
    // volume finds them.
    TFatFilesCheck CheckFiles(const std::vector<std::string>& Names) const {
        return CheckFatFiles(Image(), FPlace.Volume.Offset, *FPlace.Volume.Fat, FPlace.Folder,
                             Names);
    }

private:
    // The place found before, when the image still has the same FAT volume there (the folder's
    // presence shows in the next listing); else the place found anew.
    TImagePlace Place(const TTargetSpec& Spec, std::optional<TImagePlace>& Known) const {
        const TDiskLayout Layout = ReadDiskLayout(Image());
        if (Known) {
            for (const TDiskVolume& Volume : Layout.Volumes) {
                if (Volume.Fat && Volume.Partition == Known->Volume.Partition &&
                    Volume.Offset == Known->Volume.Offset) {
                    return {Volume, Known->Folder};
                }
            }
        }
        std::vector<TEntry> Entries;
        Known = FindImagePlace(Image(), Layout, Spec.Partition, Spec.Folder, &Entries);
        FEntries = std::move(Entries);
        return *Known;
    }

    // Runs Change on the volume with the entries listed; when it fails they are listed anew.
    template <typename TChange>
    void Changing(TChange&& Change) const {
        Entries();
        try {
            Change();
        } catch (...) {
            FEntries.reset();
            throw;
        }
    }

    void Forget(const std::string& Name) const {
        std::erase_if(*FEntries, [&](const TEntry& Entry) { return SameText(Entry.Name, Name); });
    }

    TImageAccess FAccess;
    TImageLock FLock;
    // Before the place, whose search lists the folder.
    mutable std::optional<std::vector<TEntry>> FEntries;
    mutable std::optional<std::chrono::steady_clock::time_point> FChecked;
    mutable std::optional<std::uint64_t> FFreeAtLeast; // clusters
    TImagePlace FPlace;
    TMtoolsVolume FVolume;
};

TDiskImageTarget::TDiskImageTarget(TTargetSpec Spec) : FSpec(std::move(Spec)) {}

TDiskImageTarget::~TDiskImageTarget() = default;

template <typename TWork>
auto TDiskImageTarget::WithImage(bool Writing, TWork&& Work) {
    if (FHeld) {
        return Work(*FHeld);
    }
    const TOpenImage Open(FSpec, Writing, FPlace);
    return Work(Open);
}

void TDiskImageTarget::Hold() {
    if (FHeld) {
        return;
    }
    try {
        FHeld = std::make_unique<TOpenImage>(FSpec, true, FPlace);
    } catch (const Exception&) {
        // Not to be written now (a machine that only reads it still lets a backup be read):
        // each operation opens the image for itself and says why it cannot.
    }
}

void TDiskImageTarget::Release() {
    if (FHeld) {
        try {
            FHeld->Image().Sync();
        } catch (const Exception&) {
            // Each write was flushed when it was done.
        }
        FHeld.reset();
    }
}

std::string TDiskImageTarget::Description() const {
    return FPlace ? FSpec.Path + " (" + FPlace->Description() + ")" : DescribeTargetSpec(FSpec);
}

std::string TDiskImageTarget::LogoPlace(const std::string& Name) const {
    const int Partition = FPlace ? FPlace->Volume.Partition : FSpec.Partition;
    const std::string& Folder = FPlace ? FPlace->Folder : FSpec.Folder;
    std::string Place = FSpec.Path + "::";
    if (Partition != 0) {
        Place += std::to_string(Partition);
    }
    return Place + "/" + InFolder(Folder, UpperCase(Name));
}

TTargetSpec TDiskImageTarget::PlaceFound() {
    return WithImage(false, [&](const TOpenImage& Open) {
        const TImagePlace& Found = Open.PlaceFound();
        return TTargetSpec{TTargetKind::tkDiskImage, FSpec.Path, Found.Volume.Partition,
                           Found.Folder};
    });
}

bool TDiskImageTarget::LogoExists(const std::string& Name) {
    const std::string Short = ShortLogoName(Name);
    return WithImage(false, [&](const TOpenImage& Open) {
        const std::vector<TMtoolsVolume::TEntry> Entries = Open.Entries();
        // No logo can be written in a folder's place; mtools would only fail to rename.
        for (const TMtoolsVolume::TEntry& Entry : Entries) {
            if (Entry.Folder && SameText(Entry.Name, Short)) {
                throw EDiskImage(Short + " in " + Description() +
                                 " is a folder, not a logo file; Vespera does not replace it.");
            }
        }
        return ContainsFile(Entries, Short);
    });
}

std::string TDiskImageTarget::ReadLogo(const std::string& Name) {
    const std::string Short = ShortLogoName(Name);
    return WithImage(false, [&](const TOpenImage& Open) {
        if (!ContainsFile(Open.Entries(), Short)) {
            throw EDiskImage("There is no " + Short + " in " + Description() + ".");
        }
        return Open.Volume().Read(Open.Path(Short));
    });
}

void TDiskImageTarget::ReplaceLogo(const std::string& Name, std::string_view Data) {
    const std::string Short = ShortLogoName(Name);
    const std::string Temporary = TemporaryLogoName(Short);
    WithImage(true, [&](const TOpenImage& Open) {
        Open.CheckNotInUse();
        // mtools follows the chains of the files it replaces or deletes as they are: a damaged
        // one (also a temporary file whose write was cut off between its directory entry and
        // the FAT) would make it free clusters of other files, or loop over the FAT.
        std::vector<std::string> Checked{Short, Temporary};
        for (const TMtoolsVolume::TEntry& Entry : Open.Entries()) {
            if (!Entry.Folder && IsTemporaryLogoName(Entry.Name) &&
                !SameText(Entry.Name, Temporary)) {
                Checked.push_back(Entry.Name); // another logo's, left by a killed run
            }
        }
        const TFatFilesCheck Check = Open.CheckFiles(Checked);
        if (!Check.Damage.empty()) {
            throw EDiskImage("The FAT volume of " + Description() + " is damaged: " + Check.Damage +
                             ". Vespera writes nothing to it; run ScanDisk in the machine (or "
                             "fsck.fat on the image) to repair it.");
        }
        const std::optional<TFatEntry>& Old = Check.Files[0];
        Open.RemoveTemporary(Temporary);
        Open.FreeClustersCounted(Check.FreeClusters);
        Open.CheckRoom(Data.size(), Short, Description());
        try {
            Open.Write(Temporary, Data);
            // The new file takes the old one's attributes, and its long name where that is the
            // 8.3 name in other case (a read-only logo is replaced and stays read-only, as in a
            // folder).
            const bool KeepsLongName =
                Old && !Old->LongName.empty() && SameText(Old->LongName, Short);
            // mtools gives a new file the archive attribute alone; other attributes are set.
            constexpr std::uint8_t kKept = faReadOnly | faHidden | faSystem | faArchive;
            if (Old && (Old->Attributes & kKept) != faArchive) {
                Open.Volume().SetAttributes(Open.Path(Temporary), Old->Attributes);
            }
            // The new file is on the disk before its name replaces the old one (through QEMU,
            // with the image's own tables that map it), as a folder's logo is.
            Open.Image().Sync();
            Open.Replace(Temporary, KeepsLongName ? Old->LongName : Short, KeepsLongName);
        } catch (const EVolumeWriteStopped&) {
            throw; // nothing more is written to a volume that may be damaged
        } catch (const Exception&) {
            try {
                Open.RemoveTemporary(Temporary);
            } catch (const Exception&) {
                // The first failure is the one to report; the next run removes the file.
            }
            throw;
        }
        // Under a hold the next write's flush, or the release, puts the rename on the disk.
        if (!FHeld) {
            Open.Image().Sync();
        }
    });
}

void TDiskImageTarget::CopyLogo(const std::string& Name, const std::string& FileName) {
    const std::string Data = ReadLogo(Name);
    RemoveStaleTemporaryFiles(FileName);
    WriteFileAtomically(FileName, Data, TReplaceMode::rmFailIfExists);
}
