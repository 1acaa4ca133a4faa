#pragma once

#include "platform/disk_image/image_report.h"
#include "platform/install_target/target_spec.h"

#include <optional>
#include <string>
#include <vector>

// A disk image on its way into the list of install targets: the volumes it holds, for the user
// to choose the one the logos go to (or to leave the choice to the first FAT volume that has the
// folder), and the folder on it.

// One choice of volume, as a row of a table.
struct TImageVolumeRow {
    bool Automatic = false; // the first FAT volume that has the folder
    int Partition = 0;      // what the target names: 0 for the automatic choice and a bare volume
    bool Usable = false;    // a FAT volume that could be looked into
    std::string Name;       // "Automatic", "1", "whole disk"
    std::string Kind;       // "FAT32", "not FAT: type 0x07, NTFS or exFAT"
    std::string Size;       // "47.0 MB"
    std::string Label;
    std::string WindowsFolder; // the WINDOWS folder as stored, "none", or why it is not known
};

class TImageTargetChoice {
public:
    // Reads the disk image FileName without changing it (ReportDiskImage); raises EDiskImage
    // when it cannot be read or is of another format. The automatic choice is selected (the
    // volume, on a disk without a partition table), and the folder is WINDOWS.
    explicit TImageTargetChoice(const std::string& FileName);

    const std::string& FileName() const { return FFileName; }
    // "raw disk image, 48.0 MB, 2 partitions".
    std::string Summary() const;
    // When a virtual machine has the image open: that the logos cannot be written meanwhile.
    std::string Warning() const;

    const std::vector<TImageVolumeRow>& Rows() const { return FRows; }
    int Selected() const { return FSelected; }
    // Selects Row when it is usable; returns whether it is selected now.
    bool SetSelected(int Row);

    const std::string& Folder() const { return FFolder; }
    void SetFolder(const std::string& Folder) { FFolder = Folder; }

    // The target chosen; none, with Error saying why, when no usable volume is selected or the
    // folder is not a valid name.
    std::optional<TTargetSpec> Spec(std::string& Error) const;

private:
    std::string FFileName;
    TImageReport FReport;
    std::vector<TImageVolumeRow> FRows;
    int FSelected = -1;
    std::string FFolder = "WINDOWS";
};

// A size in bytes for people: "512 bytes", "1.4 MB", "2.0 GB" (units of 1024).
std::string ByteSizeText(std::uint64_t Bytes);
