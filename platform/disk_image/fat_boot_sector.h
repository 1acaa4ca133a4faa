#pragma once

#include <cstdint>
#include <optional>
#include <string>

class TImageFile;

// The layout of a FAT volume as its boot sector describes it. The FAT type follows from the
// number of clusters, as the system decides it, not from the type text in the boot sector.
struct TFatVolume {
    int FatBits = 0; // 12, 16 or 32
    std::uint32_t BytesPerSector = 0;
    std::uint32_t SectorsPerCluster = 0;
    std::uint32_t ClusterCount = 0;
    std::uint64_t VolumeBytes = 0; // the whole volume
    std::uint64_t FatOffset = 0;   // of the first FAT, from the volume's start
    std::uint64_t FatBytes = 0;    // of one FAT
    std::uint64_t RootOffset = 0;  // FAT12 and FAT16: of the root folder's fixed region
    std::uint32_t RootEntries = 0; // FAT12 and FAT16: the entries that region holds
    std::uint32_t RootCluster = 0; // FAT32: the first cluster of the root folder
    std::uint64_t DataOffset = 0;  // of cluster 2, the first of the data region
    std::string Label;             // the volume label of the boot sector, blanks trimmed

    std::uint64_t ClusterBytes() const {
        return static_cast<std::uint64_t>(BytesPerSector) * SectorsPerCluster;
    }
    // The bytes of a FAT that hold the entries of the two reserved clusters and of every cluster.
    std::uint64_t UsedFatBytes() const;
};

// The volume whose boot sector is Sector (its first 512 bytes), when it is a sound FAT12, FAT16
// or FAT32 boot sector of a volume that fits in Available bytes; none otherwise.
std::optional<TFatVolume> ParseFatBootSector(const std::uint8_t* Sector, std::uint64_t Available);

// Entry Index of a FAT of FatBits-bit entries held in memory from its first byte (of a FAT32
// entry the low 28 bits, which are the cluster number).
std::uint32_t FatEntry(const std::uint8_t* Fat, int FatBits, std::uint64_t Index);

// The number of free clusters of Volume, which starts at VolumeOffset in Image, counted in its
// first FAT.
std::uint64_t CountFreeClusters(const TImageFile& Image, std::uint64_t VolumeOffset,
                                const TFatVolume& Volume);
