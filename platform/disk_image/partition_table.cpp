#include "platform/disk_image/partition_table.h"

#include "core/little_endian.h"
#include "platform/disk_image/image_file.h"

#include <algorithm>
#include <array>
#include <set>

namespace {

constexpr std::uint64_t kSectorSize = 512;
constexpr std::size_t kEntriesOffset = 446;
constexpr std::size_t kEntrySize = 16;
constexpr int kMaxLogicalPartitions = 128;

using TSector = std::array<std::uint8_t, kSectorSize>;

struct TEntry {
    std::uint8_t Type = 0;
    std::uint64_t FirstSector = 0;
    std::uint64_t SectorCount = 0;
};

bool ReadSector(const TImageFile& Image, std::uint64_t DiskSize, std::uint64_t Sector,
                TSector& Bytes) {
    if (Sector >= DiskSize / kSectorSize) {
        return false;
    }
    Image.ReadAt(Sector * kSectorSize, Bytes.data(), Bytes.size());
    return Bytes[510] == 0x55 && Bytes[511] == 0xAA;
}

TEntry EntryOf(const TSector& Bytes, int Index) {
    const std::uint8_t* P =
        Bytes.data() + kEntriesOffset + kEntrySize * static_cast<std::size_t>(Index);
    return {P[4], GetLE32(P + 8), GetLE32(P + 12)};
}

TPartition PartitionOf(int Number, const TEntry& Entry, std::uint64_t BaseSector,
                       std::uint64_t DiskSize) {
    TPartition Result;
    Result.Number = Number;
    Result.Type = Entry.Type;
    Result.Offset = (BaseSector + Entry.FirstSector) * kSectorSize;
    Result.Size = Entry.SectorCount * kSectorSize;
    Result.Inside = Result.Offset <= DiskSize && Result.Size <= DiskSize - Result.Offset;
    return Result;
}

// Follows the chain of extended boot records that starts at the extended partition's first
// sector, appending its logical partitions.
void ReadLogicalPartitions(const TImageFile& Image, std::uint64_t DiskSize,
                           std::uint64_t ExtendedStart, std::vector<TPartition>& Partitions,
                           int& NextNumber) {
    std::set<std::uint64_t> Visited;
    std::uint64_t Record = ExtendedStart;
    TSector Bytes{};
    while (NextNumber < 5 + kMaxLogicalPartitions && Visited.insert(Record).second &&
           ReadSector(Image, DiskSize, Record, Bytes)) {
        const TEntry Logical = EntryOf(Bytes, 0);
        if (Logical.Type != 0 && Logical.SectorCount != 0) {
            Partitions.push_back(PartitionOf(NextNumber++, Logical, Record, DiskSize));
        }
        const TEntry Next = EntryOf(Bytes, 1);
        if (!IsExtendedPartitionType(Next.Type) || Next.FirstSector == 0) {
            break;
        }
        Record = ExtendedStart + Next.FirstSector;
    }
}

} // namespace

bool IsFatPartitionType(std::uint8_t Type) {
    switch (Type) {
    case 0x01: // FAT12
    case 0x04: // FAT16 below 32 MB
    case 0x06: // FAT16
    case 0x0B: // FAT32
    case 0x0C: // FAT32, LBA
    case 0x0E: // FAT16, LBA
        return true;
    default:
        // The hidden variants differ by 0x10.
        return Type >= 0x11 && Type <= 0x1E &&
               IsFatPartitionType(static_cast<std::uint8_t>(Type - 0x10));
    }
}

bool IsExtendedPartitionType(std::uint8_t Type) {
    return Type == 0x05 || Type == 0x0F || Type == 0x85;
}

std::optional<std::vector<TPartition>> ReadPartitionTable(const TImageFile& Image,
                                                          std::uint64_t DiskSize) {
    TSector Master{};
    if (!ReadSector(Image, DiskSize, 0, Master)) {
        return std::nullopt;
    }
    std::vector<TPartition> Partitions;
    int NextLogical = 5;
    for (int Index = 0; Index < 4; ++Index) {
        const TEntry Entry = EntryOf(Master, Index);
        if (Entry.Type == 0 || Entry.SectorCount == 0) {
            continue;
        }
        if (IsExtendedPartitionType(Entry.Type)) {
            ReadLogicalPartitions(Image, DiskSize, Entry.FirstSector, Partitions, NextLogical);
        } else {
            Partitions.push_back(PartitionOf(Index + 1, Entry, 0, DiskSize));
        }
    }
    std::sort(Partitions.begin(), Partitions.end(),
              [](const TPartition& A, const TPartition& B) { return A.Number < B.Number; });
    return Partitions;
}

std::vector<int> ExtendedPartitionNumbers(const TImageFile& Image, std::uint64_t DiskSize) {
    std::vector<int> Numbers;
    TSector Master{};
    if (ReadSector(Image, DiskSize, 0, Master)) {
        for (int Index = 0; Index < 4; ++Index) {
            const TEntry Entry = EntryOf(Master, Index);
            if (Entry.SectorCount != 0 && IsExtendedPartitionType(Entry.Type)) {
                Numbers.push_back(Index + 1);
            }
        }
    }
    return Numbers;
}
