#pragma once

#include "platform/disk_image/image_file.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

class TQemuView;

// A disk image opened as a raw disk, whatever its format: a raw image or a fixed VHD directly;
// any format of QEMU's own through QEMU's storage daemon (qemu_view.h). It also knows the files
// the image is made of (backing files, extents), so that a program holding any of them open is
// found (CheckNotInUse).
class TImageAccess {
public:
    // Raises EDiskImage when the image cannot be opened, when its format needs what is not
    // installed (naming it, with the conversion to a raw image as the way out), or when QEMU
    // cannot open it.
    TImageAccess(const std::string& FileName, TImageFile::TAccess Access);
    TImageAccess(const TImageAccess&) = delete;
    TImageAccess& operator=(const TImageAccess&) = delete;
    ~TImageAccess();

    // The disk, as a raw file; messages name the image.
    const TImageFile& File() const { return *FFile; }
    // "raw", "fixed VHD", or the format QEMU reads, such as "dynamic VHD" or "QCOW2".
    const std::string& Format() const { return FFormat; }
    // The files the image is made of, the image first.
    const std::vector<std::string>& Files() const { return FFiles; }

    // Raises EDiskImage naming the program and its process id when a process other than this
    // program and its helpers holds a file of the image open: a machine that runs on it without
    // taking QEMU's locks (86Box, VirtualBox, ...).
    void CheckNotInUse() const;

private:
    std::string FFormat;
    std::vector<std::string> FFiles;
    std::unique_ptr<TQemuView> FView;
    std::unique_ptr<TImageFile> FFile;
};
