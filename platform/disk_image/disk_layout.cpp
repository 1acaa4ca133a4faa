#include "platform/disk_image/disk_layout.h"

#include "platform/disk_image/image_file.h"
#include "platform/disk_image/partition_table.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::size_t kBootSectorSize = 512;

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
    case 0xEE:
        return "GPT, which Vespera does not read";
    default:
        return IsFatPartitionType(Type) ? "FAT" : "";
    }
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
    char Hex[8];
    std::snprintf(Hex, sizeof Hex, "0x%02X", static_cast<unsigned>(PartitionType));
    const std::string Name = TypeName(PartitionType);
    return "not FAT: type " + std::string(Hex) + (Name.empty() ? "" : ", " + Name);
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
