#pragma once

#include <cstdint>
#include <string>

class TImageFile;

// How a disk image file holds the disk's bytes. Raw images hold them as they are; a fixed-size
// VHD holds them the same way with a 512-byte footer after them. Every other format (QCOW2,
// VDI, VMDK, VHDX, dynamic or differencing VHD, ...) is read through QEMU (image_access.h);
// given here it raises EDiskImage naming the format and how to convert it to a raw image.
struct TImageContainer {
    std::string Format;         // "raw" or "fixed VHD"
    std::uint64_t DataSize = 0; // the disk's bytes, from offset 0 of the file
};

TImageContainer ReadImageContainer(const TImageFile& Image);

// The format of an image that keeps the disk's bytes in a structure of its own ("QCOW2", "VDI",
// "VMDK", "VHDX", "dynamic VHD", ...), read from its first bytes and its footer; empty for a raw
// image or a fixed VHD. Raises EDiskImage for a file too small to be a disk image.
std::string StructuredImageFormat(const TImageFile& Image);

// How to convert FileName to a raw image: a sentence with a qemu-img command whose output is a
// new file beside it, never FileName itself.
std::string ConversionAdvice(const std::string& FileName);
