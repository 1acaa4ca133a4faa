#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class TImageFile;

// One partition of a disk's MBR partition table, numbered as Linux numbers them: 1 to 4 for the
// entries of the master boot record, 5 and on for the logical partitions inside an extended
// partition, in the order of their chain.
struct TPartition {
    int Number = 0;
    std::uint8_t Type = 0;    // the system type byte, such as 0x06 (FAT16) or 0x0C (FAT32 LBA)
    std::uint64_t Offset = 0; // from the start of the disk, in bytes
    std::uint64_t Size = 0;   // in bytes
    bool Inside = true;       // false when it reaches beyond the end of the disk
};

// The partitions of a disk of DiskSize bytes whose first sector Image holds at offset 0;
// none when that sector carries no MBR signature. Extended partitions are followed, not listed
// themselves; a chain that loops or runs on ends after a fixed number of links.
std::optional<std::vector<TPartition>> ReadPartitionTable(const TImageFile& Image,
                                                          std::uint64_t DiskSize);

// The numbers (1 to 4) of the extended partitions of that disk's master boot record.
std::vector<int> ExtendedPartitionNumbers(const TImageFile& Image, std::uint64_t DiskSize);

// Whether Type marks a FAT12, FAT16 or FAT32 partition (also the hidden variants).
bool IsFatPartitionType(std::uint8_t Type);

// Whether Type marks an extended partition, which holds logical partitions.
bool IsExtendedPartitionType(std::uint8_t Type);
