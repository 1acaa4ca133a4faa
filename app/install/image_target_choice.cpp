#include "app/install/image_target_choice.h"

#include <algorithm>
#include <cstdio>

namespace {

TImageVolumeRow RowOf(const TVolumeReport& Volume) {
    TImageVolumeRow Row;
    const TDiskVolume& Disk = Volume.Volume;
    Row.Partition = Disk.Partition;
    Row.Usable = Disk.Fat.has_value() && Volume.Problem.empty();
    Row.Name = Disk.Partition == 0 ? std::string("whole disk") : std::to_string(Disk.Partition);
    Row.Kind = Disk.Kind();
    Row.Size = ByteSizeText(Disk.Size);
    Row.Label = Disk.Fat ? Disk.Fat->Label : std::string();
    if (!Volume.Problem.empty()) {
        Row.WindowsFolder = Volume.Problem;
    } else if (Disk.Fat) {
        Row.WindowsFolder = Volume.WindowsFolder.empty() ? "none" : Volume.WindowsFolder;
    }
    return Row;
}

} // namespace

std::string ByteSizeText(std::uint64_t Bytes) {
    if (Bytes < 1024) {
        return std::to_string(Bytes) + " bytes";
    }
    static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB"};
    double Value = static_cast<double>(Bytes) / 1024;
    std::size_t Unit = 0;
    while (Value >= 1024 && Unit + 1 < std::size(kUnits)) {
        Value /= 1024;
        ++Unit;
    }
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.1f %s", Value, kUnits[Unit]);
    return Text;
}

TImageTargetChoice::TImageTargetChoice(const std::string& FileName)
    : FFileName(FileName), FReport(ReportDiskImage(FileName)) {
    for (const TVolumeReport& Volume : FReport.Volumes) {
        FRows.push_back(RowOf(Volume));
    }
    if (FReport.Partitioned) {
        TImageVolumeRow Automatic;
        Automatic.Automatic = true;
        Automatic.Name = "Automatic";
        Automatic.Kind = "the first FAT volume that has the folder";
        Automatic.Usable = std::any_of(FRows.begin(), FRows.end(),
                                       [](const TImageVolumeRow& Row) { return Row.Usable; });
        FRows.insert(FRows.begin(), std::move(Automatic));
    }
    SetSelected(0);
}

std::string TImageTargetChoice::Summary() const {
    std::string Text = FReport.Format + " disk image, " + ByteSizeText(FReport.DiskSize) + ", ";
    if (!FReport.Partitioned) {
        return Text + (FReport.Volumes.empty() ? "no partition table and no FAT volume"
                                               : "one volume without a partition table");
    }
    const std::size_t Count = FReport.Volumes.size();
    return Text + std::to_string(Count) + (Count == 1 ? " partition" : " partitions");
}

std::string TImageTargetChoice::Warning() const {
    if (!FReport.InUse) {
        return {};
    }
    return "A running virtual machine has this disk image open: Vespera cannot write the logos "
           "into it until the machine is shut down.";
}

bool TImageTargetChoice::SetSelected(int Row) {
    if (Row >= 0 && Row < static_cast<int>(FRows.size()) &&
        FRows[static_cast<std::size_t>(Row)].Usable) {
        FSelected = Row;
    }
    return FSelected == Row;
}

std::optional<TTargetSpec> TImageTargetChoice::Spec(std::string& Error) const {
    if (FSelected < 0) {
        Error = "The disk image \"" + FFileName +
                "\" holds no FAT volume; Vespera writes only to FAT12, FAT16 and FAT32 volumes.";
        return std::nullopt;
    }
    // Written as a target and read back, so that the folder is checked and normalised as in the
    // settings file.
    const TImageVolumeRow& Row = FRows[static_cast<std::size_t>(FSelected)];
    std::string Text = FFileName + "::";
    if (Row.Partition != 0) {
        Text += std::to_string(Row.Partition);
    }
    Text += "/" + FFolder;
    auto Spec = ParseTargetSpec(Text, Error);
    if (!Spec) {
        Error = "\"" + FFolder +
                "\" is not a folder name of a FAT volume: its names may not hold any of "
                "\\\"*:<>?|[] and may not be \".\" or \"..\".";
    }
    return Spec;
}
