#pragma once

#include <cstdint>
#include <string>

class TImageFile;

// How a disk image file holds the disk's bytes. Raw images hold them as they are; a fixed-size
// VHD holds them the same way with a 512-byte footer after them. Every other format (QCOW2,
// VDI, VMDK, VHDX, dynamic or differencing VHD, ...) raises EDiskImage naming the format and how
// to convert it to a raw image.
struct TImageContainer {
    std::string Format;         // "raw" or "fixed VHD"
    std::uint64_t DataSize = 0; // the disk's bytes, from offset 0 of the file
};

TImageContainer ReadImageContainer(const TImageFile& Image);
