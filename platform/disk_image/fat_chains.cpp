#include "platform/disk_image/fat_chains.h"

#include "core/little_endian.h"
#include "platform/ascii_text.h"
#include "platform/disk_image/image_file.h"
#include "platform/disk_image/volume_path.h"

#include <algorithm>
#include <unordered_map>

namespace {

constexpr std::uint32_t kFirstDataCluster = 2;
constexpr std::size_t kEntryBytes = 32;
// No system keeps more entries in a folder (2 MB of them).
constexpr std::size_t kMaxFolderEntries = 65536;
constexpr std::uint8_t kLongNameAttributes = 0x0F;
constexpr std::uint8_t kDeletedEntry = 0xE5;
constexpr std::size_t kLongNameCharsPerEntry = 13;
constexpr std::size_t kMaxLongNameEntries = 20;

std::string Cluster(std::uint32_t Number) {
    return "cluster " + std::to_string(Number);
}

// The first FAT of a volume in memory, with the number of its entries that lead to each cluster
// (0, 1, or 2 for two or more).
class TFat {
public:
    TFat(const TImageFile& Image, std::uint64_t VolumeOffset, const TFatVolume& Volume)
        : FBits(Volume.FatBits), FLastCluster(Volume.ClusterCount + 1),
          FBadMark(Volume.FatBits == 32 ? 0x0FFFFFF7 : (1U << Volume.FatBits) - 9),
          FBytes(static_cast<std::size_t>(Volume.UsedFatBytes())),
          FReferences(static_cast<std::size_t>(FLastCluster) + 1) {
        Image.ReadAt(VolumeOffset + Volume.FatOffset, FBytes.data(), FBytes.size());
        // The loop is made for each width, so that a large FAT32 volume's half a million entries
        // are decoded inline.
        switch (FBits) {
        case 12:
            CountReferences<12>();
            break;
        case 16:
            CountReferences<16>();
            break;
        default:
            CountReferences<32>();
            break;
        }
    }

    std::uint32_t Next(std::uint32_t Number) const {
        return FatEntry(FBytes.data(), FBits, Number);
    }
    bool InVolume(std::uint32_t Number) const {
        return Number >= kFirstDataCluster && Number <= FLastCluster;
    }
    bool IsBad(std::uint32_t Entry) const { return Entry == FBadMark; }
    bool IsEnd(std::uint32_t Entry) const { return Entry > FBadMark; }
    std::uint8_t References(std::uint32_t Number) const { return FReferences[Number]; }
    std::uint64_t FreeClusters() const { return FFree; }

private:
    template <int Bits>
    void CountReferences() {
        const std::uint8_t* Bytes = FBytes.data();
        for (std::uint32_t Number = kFirstDataCluster; Number <= FLastCluster; ++Number) {
            std::uint32_t Following = 0;
            if constexpr (Bits == 32) {
                Following = GetLE32(Bytes + std::size_t{Number} * 4) & 0x0FFFFFFF;
            } else if constexpr (Bits == 16) {
                Following = GetLE16(Bytes + std::size_t{Number} * 2);
            } else {
                Following = FatEntry(Bytes, 12, Number);
            }
            if (InVolume(Following) && FReferences[Following] < 2) {
                ++FReferences[Following];
            }
            FFree += Following == 0 ? 1 : 0;
        }
    }

    int FBits;
    std::uint32_t FLastCluster;
    std::uint32_t FBadMark; // the entries above it end a chain
    std::vector<std::uint8_t> FBytes;
    std::vector<std::uint8_t> FReferences;
    std::uint64_t FFree = 0;
};

// A cluster chain followed from its first cluster as far as it is sound.
struct TChain {
    std::vector<std::uint32_t> Clusters;
    std::string Damage; // what is wrong, after "the cluster chain of ITEM "
};

// Follows the chain from First. It stops at the first cluster that a second FAT entry leads to,
// or that one leads to when it is First: a chain that runs into a cluster twice must pass such
// a cluster first, so the walk ends within the volume's clusters.
TChain Follow(const TFat& Fat, std::uint32_t First) {
    TChain Chain;
    if (!Fat.InVolume(First)) {
        Chain.Damage = "starts at " + Cluster(First) + ", outside the volume";
        return Chain;
    }
    Chain.Clusters.push_back(First);
    for (std::uint32_t Current = First;;) {
        const std::uint32_t Following = Fat.Next(Current);
        if (Fat.IsEnd(Following)) {
            break;
        }
        if (Following == 0) {
            Chain.Damage = "holds " + Cluster(Current) + ", which the FAT marks free";
        } else if (Fat.IsBad(Following)) {
            Chain.Damage = "holds " + Cluster(Current) + ", which the FAT marks bad";
        } else if (!Fat.InVolume(Following)) {
            Chain.Damage = "leads from " + Cluster(Current) + " to " + Cluster(Following) +
                           ", outside the volume";
        } else if (Following == First || Fat.References(Following) > 1) {
            const bool Loops = std::find(Chain.Clusters.begin(), Chain.Clusters.end(), Following) !=
                               Chain.Clusters.end();
            Chain.Damage =
                Loops ? "loops back from " + Cluster(Current) + " to " + Cluster(Following)
                      : "is cross-linked with another file or folder at " + Cluster(Following);
        }
        if (!Chain.Damage.empty()) {
            return Chain;
        }
        Chain.Clusters.push_back(Following);
        Current = Following;
    }
    if (Fat.References(First) > 0) {
        Chain.Damage = "is cross-linked with another file or folder at " + Cluster(First);
    }
    return Chain;
}

// A character of a name as mtools shows it without a locale: ASCII as it is, anything else "_".
char ShownChar(std::uint32_t Code) {
    return Code >= 0x20 && Code < 0x7F ? static_cast<char>(Code) : '_';
}

std::string ShortName(const std::uint8_t* Entry) {
    std::string Name;
    for (std::size_t I = 0; I < 11; ++I) {
        if (I == 8) {
            while (!Name.empty() && Name.back() == ' ') {
                Name.pop_back();
            }
            Name += '.';
        }
        // 0x05 stands for a first byte of 0xE5, which marks deleted entries.
        Name += I == 0 && Entry[0] == 0x05 ? '_' : ShownChar(Entry[I]);
    }
    while (!Name.empty() && (Name.back() == ' ' || Name.back() == '.')) {
        Name.pop_back();
    }
    return Name;
}

std::uint8_t ShortNameChecksum(const std::uint8_t* Entry) {
    std::uint8_t Sum = 0;
    for (std::size_t I = 0; I < 11; ++I) {
        Sum = static_cast<std::uint8_t>(((Sum & 1) << 7) + (Sum >> 1) + Entry[I]);
    }
    return Sum;
}

// The entries of a folder, read in pieces (its fixed region, or its clusters in turn) up to its
// end mark. A long name is taken when its entries come in order just before the 8.3 entry they
// name and carry its checksum, as the system takes it.
class TFolderEntries {
public:
    // Fat32: the high word of the first cluster is stored (elsewhere that field means nothing).
    explicit TFolderEntries(bool Fat32) : FFat32(Fat32) {}

    // Reads Count bytes from Offset; false when the folder ended before them.
    bool Read(const TImageFile& Image, std::uint64_t Offset, std::uint64_t Count) {
        std::vector<std::uint8_t> Bytes(static_cast<std::size_t>(Count));
        Image.ReadAt(Offset, Bytes.data(), Bytes.size());
        for (std::size_t At = 0; At + kEntryBytes <= Bytes.size(); At += kEntryBytes) {
            if (Bytes[At] == 0 || ++FSeen > kMaxFolderEntries) {
                return false;
            }
            Take(Bytes.data() + At);
        }
        return true;
    }

    const std::vector<TFatEntry>& Entries() const { return FEntries; }

private:
    void Take(const std::uint8_t* Entry) {
        const std::uint8_t Attributes = Entry[11];
        if (Entry[0] == kDeletedEntry) {
            FLongNameLeft = 0;
            FLongName.clear();
            return;
        }
        if ((Attributes & 0x3F) == kLongNameAttributes) {
            TakeLongNamePart(Entry);
            return;
        }
        const bool LongNameWhole =
            !FLongName.empty() && FLongNameLeft == 0 && FChecksum == ShortNameChecksum(Entry);
        TFatEntry Found;
        Found.ShortName = ShortName(Entry);
        Found.LongName = LongNameWhole ? FLongName : std::string();
        FLongName.clear();
        FLongNameLeft = 0;
        const std::string_view Stored(reinterpret_cast<const char*>(Entry), 11);
        if ((Attributes & faLabel) != 0 || Stored == ".          " || Stored == "..         ") {
            return;
        }
        Found.Attributes = Attributes;
        Found.FirstCluster = static_cast<std::uint32_t>(FFat32 ? GetLE16(Entry + 20) : 0) << 16 |
                             GetLE16(Entry + 26);
        Found.Size = GetLE32(Entry + 28);
        FEntries.push_back(std::move(Found));
    }

    void TakeLongNamePart(const std::uint8_t* Entry) {
        const std::size_t Order = Entry[0] & 0x1F;
        if ((Entry[0] & 0x40) != 0) {
            FLongNameLeft = Order <= kMaxLongNameEntries ? Order : 0;
            FChecksum = Entry[13];
            FLongName.assign(FLongNameLeft * kLongNameCharsPerEntry, '\0');
        }
        if (Order == 0 || Order != FLongNameLeft || Entry[13] != FChecksum) {
            FLongNameLeft = 0;
            FLongName.clear();
            return;
        }
        static constexpr std::size_t kCharOffsets[kLongNameCharsPerEntry] = {
            1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
        for (std::size_t I = 0; I < kLongNameCharsPerEntry; ++I) {
            const std::uint16_t Code = GetLE16(Entry + kCharOffsets[I]);
            // A name that ends before its last entry does ends with 0, then 0xFFFF.
            FLongName[(Order - 1) * kLongNameCharsPerEntry + I] =
                Code == 0 || Code == 0xFFFF ? '\0' : ShownChar(Code);
        }
        if (--FLongNameLeft == 0) {
            FLongName.resize(std::min(FLongName.find('\0'), FLongName.size()));
        }
    }

    bool FFat32;
    std::vector<TFatEntry> FEntries;
    std::size_t FSeen = 0;
    std::string FLongName;
    std::size_t FLongNameLeft = 0;
    std::uint8_t FChecksum = 0;
};

bool Named(const TFatEntry& Entry, const std::string& Name) {
    return SameText(Entry.LongName, Name) || SameText(Entry.ShortName, Name);
}

std::string ShownName(const TFatEntry& Entry) {
    return Entry.LongName.empty() ? Entry.ShortName : Entry.LongName;
}

std::string InFolder(const std::string& Folder, const std::string& Name) {
    return Folder.empty() ? Name : Folder + "/" + Name;
}

// The volume as CheckFatFiles reads it.
class TVolumeReader {
public:
    TVolumeReader(const TImageFile& Image, std::uint64_t VolumeOffset, const TFatVolume& Volume)
        : FImage(Image), FVolumeOffset(VolumeOffset), FVolume(Volume),
          FFat(Image, VolumeOffset, Volume) {}

    const TFat& Fat() const { return FFat; }

    std::vector<TFatEntry> RootEntries() const {
        TFolderEntries Entries(FVolume.FatBits == 32);
        Entries.Read(FImage, FVolumeOffset + FVolume.RootOffset,
                     static_cast<std::uint64_t>(FVolume.RootEntries) * kEntryBytes);
        return Entries.Entries();
    }

    std::vector<TFatEntry> FolderEntries(const std::vector<std::uint32_t>& Clusters) const {
        TFolderEntries Entries(FVolume.FatBits == 32);
        const std::uint64_t ClusterBytes = FVolume.ClusterBytes();
        for (const std::uint32_t Number : Clusters) {
            const std::uint64_t Offset =
                FVolumeOffset + FVolume.DataOffset + (Number - kFirstDataCluster) * ClusterBytes;
            if (!Entries.Read(FImage, Offset, ClusterBytes)) {
                break;
            }
        }
        return Entries.Entries();
    }

private:
    const TImageFile& FImage;
    std::uint64_t FVolumeOffset;
    const TFatVolume& FVolume;
    TFat FFat;
};

// The first entry of the folder Folder (Starts: its entries by their first clusters) that starts
// at one of Clusters and is not Self, as "is cross-linked with ITEM at cluster N"; empty when
// there is none.
std::string SharedStart(const std::unordered_map<std::uint32_t, const TFatEntry*>& Starts,
                        const std::string& Folder, const std::vector<std::uint32_t>& Clusters,
                        const TFatEntry* Self) {
    for (const std::uint32_t Number : Clusters) {
        const auto Found = Starts.find(Number);
        if (Found != Starts.end() && Found->second != Self) {
            return "is cross-linked with " + InFolder(Folder, ShownName(*Found->second)) + " at " +
                   Cluster(Number);
        }
    }
    return {};
}

} // namespace

TFatFilesCheck CheckFatFiles(const TImageFile& Image, std::uint64_t VolumeOffset,
                             const TFatVolume& Volume, const std::string& Folder,
                             const std::vector<std::string>& Names) {
    const TVolumeReader Reader(Image, VolumeOffset, Volume);
    TFatFilesCheck Result;
    Result.FreeClusters = Reader.Fat().FreeClusters();
    const auto Damaged = [&](const std::string& Item, const std::string& Problem) {
        Result.Damage = "the cluster chain of " + Item + " " + Problem;
        return Result;
    };

    // The folders from the root to Folder, each chain followed before its entries are read.
    std::string Path;
    TChain FolderChain;
    std::vector<TFatEntry> Entries;
    if (Volume.FatBits == 32) {
        FolderChain = Follow(Reader.Fat(), Volume.RootCluster);
        if (!FolderChain.Damage.empty()) {
            return Damaged("the root folder", FolderChain.Damage);
        }
        Entries = Reader.FolderEntries(FolderChain.Clusters);
    } else {
        Entries = Reader.RootEntries();
    }
    for (const std::string& Part : VolumePathParts(Folder)) {
        const auto Found = std::find_if(Entries.begin(), Entries.end(), [&](const TFatEntry& E) {
            return (E.Attributes & faFolder) != 0 && Named(E, Part);
        });
        const std::string Parent = Path;
        Path = InFolder(Path, Found == Entries.end() ? Part : ShownName(*Found));
        if (Found == Entries.end()) {
            Result.Damage = "the folder " + Path + " is missing from " +
                            (Parent.empty() ? "the root folder" : Parent) + " as Vespera reads it";
            return Result;
        }
        FolderChain = Follow(Reader.Fat(), Found->FirstCluster);
        if (!FolderChain.Damage.empty()) {
            return Damaged(Path, FolderChain.Damage);
        }
        Entries = Reader.FolderEntries(FolderChain.Clusters);
    }
    const std::string FolderItem = Path.empty() ? "the root folder" : Path;

    // The files asked for, then what their chains and the folder's share with its entries.
    const std::uint64_t ClusterBytes = Volume.ClusterBytes();
    std::vector<TChain> FileChains(Names.size());
    for (const std::string& Name : Names) {
        const auto Found = std::find_if(Entries.begin(), Entries.end(), [&](const TFatEntry& E) {
            return (E.Attributes & faFolder) == 0 && Named(E, Name);
        });
        Result.Files.push_back(Found == Entries.end() ? std::nullopt
                                                      : std::optional<TFatEntry>(*Found));
        if (Found != Entries.end() && Found->FirstCluster != 0) {
            TChain& Chain = FileChains[Result.Files.size() - 1];
            Chain = Follow(Reader.Fat(), Found->FirstCluster);
            // A chain that goes on past its file's end may run into another file's chain, which
            // freeing it would free too.
            const std::uint64_t Needed = (Found->Size + ClusterBytes - 1) / ClusterBytes;
            if (Chain.Damage.empty() && Chain.Clusters.size() > Needed) {
                Chain.Damage = "holds " + std::to_string(Chain.Clusters.size()) +
                               " clusters, more than its " + std::to_string(Found->Size) +
                               " bytes need (" + std::to_string(Needed) + ")";
            }
            if (!Chain.Damage.empty()) {
                return Damaged(InFolder(Path, ShownName(*Found)), Chain.Damage);
            }
        }
    }
    std::unordered_map<std::uint32_t, const TFatEntry*> Starts;
    for (const TFatEntry& Entry : Entries) {
        if (Entry.FirstCluster == 0) {
            continue;
        }
        const auto [Other, New] = Starts.emplace(Entry.FirstCluster, &Entry);
        if (!New) {
            Result.Damage = InFolder(Path, ShownName(Entry)) + " is cross-linked with " +
                            InFolder(Path, ShownName(*Other->second)) + " at " +
                            Cluster(Entry.FirstCluster);
            return Result;
        }
    }
    if (const std::string Shared = SharedStart(Starts, Path, FolderChain.Clusters, nullptr);
        !Shared.empty()) {
        return Damaged(FolderItem, Shared);
    }
    for (std::size_t I = 0; I < Names.size(); ++I) {
        if (!Result.Files[I] || FileChains[I].Clusters.empty()) {
            continue;
        }
        const TFatEntry* Self = Starts.at(Result.Files[I]->FirstCluster);
        if (const std::string Shared = SharedStart(Starts, Path, FileChains[I].Clusters, Self);
            !Shared.empty()) {
            return Damaged(InFolder(Path, ShownName(*Self)), Shared);
        }
    }
    return Result;
}
