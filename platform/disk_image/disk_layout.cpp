#include "platform/disk_image/disk_layout.h"

#include "platform/disk_image/image_file.h"
#include "platform/disk_image/partition_table.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::size_t kBootSectorSize = 512;
// The one entry of the master boot record that a GPT disk shows to MBR readers.
constexpr std::uint8_t kGptProtectiveType = 0xEE;

std::optional<TFatVolume> FatVolumeAt(const TImageFile& Image, std::uint64_t Offset,
                                      std::uint64_t Available) {
    if (Available < kBootSectorSize) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kBootSectorSize> Sector{};
    Image.ReadAt(Offset, Sector.data(), Sector.size());
    return ParseFatBootSector(Sector.data(), Available);
}

std::string TypeName(std::uint8_t Type) {
    switch (Type) {
    case 0x07:
        return "NTFS or exFAT";
    case 0x82:
        return "Linux swap";
    case 0x83:
        return "Linux";
    case kGptProtectiveType:
        return "GPT, which Vespera does not read";
    default:
        return "";
    }
}

std::string TypeNumber(std::uint8_t Type) {
    char Hex[8];
    std::snprintf(Hex, sizeof Hex, "0x%02X", static_cast<unsigned>(Type));
    return Hex;
}

// A partition of a FAT type whose boot sector is not one of a FAT volume.
std::string UnformattedFat(std::uint8_t Type) {
    return "type " + TypeNumber(Type) + " (FAT) but no FAT volume inside";
}

} // namespace

std::string TDiskVolume::Name() const {
    return Partition == 0 ? std::string("the volume") : "partition " + std::to_string(Partition);
}

std::string TDiskVolume::Kind() const {
    if (Fat) {
        return "FAT" + std::to_string(Fat->FatBits);
    }
    if (!Inside) {
        return "reaches beyond the end of the image";
    }
    if (Partition == 0) {
        return "no FAT volume";
    }
    if (IsFatPartitionType(PartitionType)) {
        return UnformattedFat(PartitionType);
    }
    const std::string Name = TypeName(PartitionType);
    return "not FAT: type " + TypeNumber(PartitionType) + (Name.empty() ? "" : ", " + Name);
}

std::string TDiskVolume::Unusable() const {
    if (Fat) {
        return "";
    }
    if (!Inside) {
        return "reaches beyond the end of the image";
    }
    if (Partition != 0 && PartitionType == kGptProtectiveType) {
        return "is the protective entry of a GPT disk, whose partitions Vespera does not read";
    }
    if (Partition != 0 && IsFatPartitionType(PartitionType)) {
        return "has " + UnformattedFat(PartitionType);
    }
    return "is not a FAT volume (" + Kind() + ")";
}

TDiskLayout ReadDiskLayout(const TImageFile& Image) {
    TDiskLayout Layout;
    Layout.Container = ReadImageContainer(Image);
    const std::uint64_t DiskSize = Layout.Container.DataSize;
    if (auto Whole = FatVolumeAt(Image, 0, DiskSize)) {
        TDiskVolume Volume;
        Volume.Size = DiskSize;
        Volume.Fat = std::move(Whole);
        Layout.Volumes.push_back(std::move(Volume));
        return Layout;
    }
    const auto Partitions = ReadPartitionTable(Image, DiskSize);
    if (!Partitions) {
        return Layout;
    }
    Layout.Partitioned = true;
    Layout.Extended = ExtendedPartitionNumbers(Image, DiskSize);
    for (const TPartition& Partition : *Partitions) {
        TDiskVolume Volume;
        Volume.Partition = Partition.Number;
        Volume.PartitionType = Partition.Type;
        Volume.Offset = Partition.Offset;
        Volume.Size = Partition.Size;
        Volume.Inside = Partition.Inside;
        if (Partition.Inside) {
            Volume.Fat = FatVolumeAt(Image, Partition.Offset, Partition.Size);
        }
        Layout.Volumes.push_back(std::move(Volume));
    }
    return Layout;
}
