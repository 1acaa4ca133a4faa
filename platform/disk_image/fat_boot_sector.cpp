#include "platform/disk_image/fat_boot_sector.h"

#include "core/little_endian.h"
#include "platform/disk_image/image_file.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t kMaxFat12Clusters = 4084;
constexpr std::uint32_t kMaxFat16Clusters = 65524;
constexpr std::uint32_t kMaxFat32Clusters = 0x0FFFFFF5;

bool IsPowerOfTwo(std::uint32_t Value) {
    return Value != 0 && (Value & (Value - 1)) == 0;
}

std::string TrimmedLabel(const std::uint8_t* Field) {
    std::string Label(reinterpret_cast<const char*>(Field), 11);
    while (!Label.empty() && (Label.back() == ' ' || Label.back() == '\0')) {
        Label.pop_back();
    }
    return Label == "NO NAME" ? std::string() : Label;
}

} // namespace

std::uint64_t TFatVolume::UsedFatBytes() const {
    return (static_cast<std::uint64_t>(ClusterCount + 2) * static_cast<unsigned>(FatBits) + 7) / 8;
}

std::uint32_t FatEntry(const std::uint8_t* Fat, int FatBits, std::uint64_t Index) {
    switch (FatBits) {
    case 12: {
        const std::uint32_t Pair = GetLE16(Fat + Index * 3 / 2);
        return (Index & 1) != 0 ? Pair >> 4 : Pair & 0x0FFF;
    }
    case 16:
        return GetLE16(Fat + Index * 2);
    default:
        return GetLE32(Fat + Index * 4) & 0x0FFFFFFF;
    }
}

std::optional<TFatVolume> ParseFatBootSector(const std::uint8_t* Sector, std::uint64_t Available) {
    const bool Jumps = Sector[0] == 0xEB || Sector[0] == 0xE9;
    const std::uint32_t BytesPerSector = GetLE16(Sector + 11);
    const std::uint32_t SectorsPerCluster = Sector[13];
    const std::uint32_t ReservedSectors = GetLE16(Sector + 14);
    const std::uint32_t FatCount = Sector[16];
    const std::uint32_t RootEntries = GetLE16(Sector + 17);
    const std::uint8_t Media = Sector[21];
    const std::uint32_t Fat16Size = GetLE16(Sector + 22);
    const std::uint64_t TotalSectors =
        GetLE16(Sector + 19) != 0 ? GetLE16(Sector + 19) : GetLE32(Sector + 32);
    const std::uint64_t FatSectors = Fat16Size != 0 ? Fat16Size : GetLE32(Sector + 36);
    if (!Jumps || !IsPowerOfTwo(BytesPerSector) || BytesPerSector < 512 || BytesPerSector > 4096 ||
        !IsPowerOfTwo(SectorsPerCluster) || ReservedSectors == 0 || FatCount == 0 || FatCount > 4 ||
        (Media != 0xF0 && Media < 0xF8) || FatSectors == 0 || TotalSectors == 0) {
        return std::nullopt;
    }
    const std::uint64_t RootSectors = (RootEntries * 32ULL + BytesPerSector - 1) / BytesPerSector;
    const std::uint64_t MetaSectors = ReservedSectors + FatCount * FatSectors + RootSectors;
    if (MetaSectors >= TotalSectors || TotalSectors > Available / BytesPerSector) {
        return std::nullopt;
    }
    const std::uint64_t Clusters = (TotalSectors - MetaSectors) / SectorsPerCluster;
    if (Clusters == 0 || Clusters > kMaxFat32Clusters) {
        return std::nullopt;
    }

    TFatVolume Volume;
    Volume.ClusterCount = static_cast<std::uint32_t>(Clusters);
    Volume.FatBits = Clusters <= kMaxFat12Clusters ? 12 : Clusters <= kMaxFat16Clusters ? 16 : 32;
    // FAT32 keeps its root folder in clusters and its FAT size in the 32-bit field.
    if (Volume.FatBits == 32 && (RootEntries != 0 || Fat16Size != 0)) {
        return std::nullopt;
    }
    Volume.BytesPerSector = BytesPerSector;
    Volume.SectorsPerCluster = SectorsPerCluster;
    Volume.VolumeBytes = TotalSectors * BytesPerSector;
    Volume.FatOffset = static_cast<std::uint64_t>(ReservedSectors) * BytesPerSector;
    Volume.FatBytes = FatSectors * BytesPerSector;
    Volume.RootOffset = Volume.FatOffset + FatCount * Volume.FatBytes;
    Volume.RootEntries = RootEntries;
    Volume.RootCluster = Volume.FatBits == 32 ? GetLE32(Sector + 44) & 0x0FFFFFFF : 0;
    Volume.DataOffset = MetaSectors * BytesPerSector;
    if (Volume.UsedFatBytes() > Volume.FatBytes) {
        return std::nullopt;
    }
    // The extended boot signature tells whether the label field is there.
    const std::uint8_t* Extended = Sector + (Volume.FatBits == 32 ? 64 : 36);
    if (Extended[2] == 0x29) {
        Volume.Label = TrimmedLabel(Extended + 7);
    }
    return Volume;
}

std::uint64_t CountFreeClusters(const TImageFile& Image, std::uint64_t VolumeOffset,
                                const TFatVolume& Volume) {
    // The FAT is read in pieces of a size that holds whole FAT12 entry pairs, so that a large
    // volume's FAT never has to fit in memory at once.
    constexpr std::uint64_t kPieceBytes = 3U << 19;
    const std::uint64_t Bits = static_cast<unsigned>(Volume.FatBits);
    const std::uint64_t EntriesPerPiece = kPieceBytes * 8 / Bits;
    const std::uint64_t FatBytes = Volume.UsedFatBytes();
    const std::uint64_t Entries = static_cast<std::uint64_t>(Volume.ClusterCount) + 2;
    std::vector<std::uint8_t> Piece(static_cast<std::size_t>(kPieceBytes));
    std::uint64_t Free = 0;
    for (std::uint64_t First = 0; First < Entries; First += EntriesPerPiece) {
        const std::uint64_t Start = First * Bits / 8;
        const std::uint64_t Length = std::min(kPieceBytes, FatBytes - Start);
        Image.ReadAt(VolumeOffset + Volume.FatOffset + Start, Piece.data(),
                     static_cast<std::size_t>(Length));
        const std::uint64_t Count = std::min(EntriesPerPiece, Entries - First);
        // The two reserved entries at the FAT's start are no clusters.
        for (std::uint64_t Local = First == 0 ? 2 : 0; Local < Count; ++Local) {
            Free += FatEntry(Piece.data(), Volume.FatBits, Local) == 0 ? 1 : 0;
        }
    }
    return Free;
}
