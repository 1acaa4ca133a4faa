#include "platform/disk_image/image_container.h"

#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/image_file.h"
#include "platform/paths.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kVhdFooterSize = 512;
constexpr std::string_view kVhdCookie = "conectix";

std::uint32_t GetBE32(const std::uint8_t* P) {
    return static_cast<std::uint32_t>(P[0]) << 24 | static_cast<std::uint32_t>(P[1]) << 16 |
           static_cast<std::uint32_t>(P[2]) << 8 | static_cast<std::uint32_t>(P[3]);
}

std::uint64_t GetBE64(const std::uint8_t* P) {
    return static_cast<std::uint64_t>(GetBE32(P)) << 32 | GetBE32(P + 4);
}

bool StartsWith(const std::uint8_t* Bytes, std::string_view Magic) {
    return std::memcmp(Bytes, Magic.data(), Magic.size()) == 0;
}

// VHD disk types.
constexpr std::uint32_t kVhdFixed = 2;
constexpr std::uint32_t kVhdDynamic = 3;
constexpr std::uint32_t kVhdDifferencing = 4;

std::string VhdKind(std::uint32_t DiskType) {
    switch (DiskType) {
    case kVhdDynamic:
        return "dynamic VHD";
    case kVhdDifferencing:
        return "differencing VHD";
    default:
        return "VHD";
    }
}

// The name of a format that keeps the disk's bytes in a structure of its own, read from the
// file's first bytes; empty for anything else.
std::string StructuredFormat(const std::uint8_t* Head) {
    if (StartsWith(Head, "QFI\xfb")) {
        return GetBE32(Head + 4) == 1 ? "QCOW" : "QCOW2";
    }
    if (StartsWith(Head, std::string_view("QED\0", 4))) {
        return "QED";
    }
    if (GetBE32(Head + 0x40) == 0x7f10dabe) { // 0xbeda107f stored low byte first
        return "VDI";
    }
    if (StartsWith(Head, "KDMV") || StartsWith(Head, "COWD") ||
        StartsWith(Head, "# Disk DescriptorFile")) {
        return "VMDK";
    }
    if (StartsWith(Head, "vhdxfile")) {
        return "VHDX";
    }
    if (StartsWith(Head, kVhdCookie)) {
        return VhdKind(GetBE32(Head + 60));
    }
    if (StartsWith(Head, "WithoutFreeSpace") || StartsWith(Head, "WithouFreSpacExt")) {
        return "Parallels";
    }
    if (StartsWith(Head, "Bochs Virtual HD Image")) {
        return "Bochs growing";
    }
    return {};
}

[[noreturn]] void RefuseFormat(const std::string& FileName, const std::string& Format) {
    throw EDiskImage("The disk image \"" + FileName + "\" is in " + Format +
                     " format, which Vespera cannot write. " + ConversionAdvice(FileName));
}

} // namespace

std::string ConversionAdvice(const std::string& FileName) {
    std::string Raw = ChangeFileExt(FileName, ".img");
    if (Raw == FileName) {
        Raw = ChangeFileExt(FileName, "") + "-raw.img";
    }
    return "Convert it to a raw image, for example with: qemu-img convert -O raw \"" + FileName +
           "\" \"" + Raw + "\", and let the virtual machine use the new file.";
}

std::string StructuredImageFormat(const TImageFile& Image) {
    std::array<std::uint8_t, 512> Head{};
    if (Image.Size() < Head.size()) {
        throw EDiskImage("\"" + Image.FileName() + "\" is too small to be a disk image.");
    }
    Image.ReadAt(0, Head.data(), Head.size());
    if (std::string Format = StructuredFormat(Head.data()); !Format.empty()) {
        return Format;
    }
    std::array<std::uint8_t, kVhdFooterSize> Footer{};
    Image.ReadAt(Image.Size() - Footer.size(), Footer.data(), Footer.size());
    if (StartsWith(Footer.data(), kVhdCookie) && GetBE32(Footer.data() + 60) != kVhdFixed) {
        return VhdKind(GetBE32(Footer.data() + 60));
    }
    return {};
}

TImageContainer ReadImageContainer(const TImageFile& Image) {
    if (const std::string Format = StructuredImageFormat(Image); !Format.empty()) {
        RefuseFormat(Image.FileName(), Format);
    }

    std::array<std::uint8_t, kVhdFooterSize> Footer{};
    Image.ReadAt(Image.Size() - Footer.size(), Footer.data(), Footer.size());
    if (!StartsWith(Footer.data(), kVhdCookie)) {
        return {"raw", Image.Size()};
    }
    const std::uint64_t DataSize = Image.Size() - kVhdFooterSize;
    const std::uint64_t CurrentSize = GetBE64(Footer.data() + 48);
    if (CurrentSize > DataSize) {
        throw EDiskImage("The fixed VHD \"" + Image.FileName() +
                         "\" is shorter than its footer says; it may be damaged.");
    }
    return {"fixed VHD", DataSize};
}
