#include "platform/disk_image/image_file.h"

#include "platform/disk_image/disk_image_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

EDiskImage OpenFailure(const std::string& FileName, bool ForWriting, int Error) {
    if (Error == ENOENT) {
        return EDiskImage("The disk image \"" + FileName + "\" does not exist.");
    }
    if (ForWriting && (Error == EACCES || Error == EPERM || Error == EROFS)) {
        return ImageSystemFailure(FileName, "cannot be written", Error);
    }
    return ImageSystemFailure(FileName, "cannot be opened", Error);
}

} // namespace

TImageFile::TImageFile(std::string FileName, TAccess Access, std::string ShownName)
    : FFileName(std::move(FileName)),
      FShownName(ShownName.empty() ? FFileName : std::move(ShownName)) {
    const bool ForWriting = Access == TAccess::aReadWrite;
    // Not blocking, so that a pipe or a device named by mistake cannot hold the program up.
    FHandle = ::open(FFileName.c_str(),
                     (ForWriting ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (FHandle < 0) {
        throw OpenFailure(FShownName, ForWriting, errno);
    }
    struct stat Info {};
    if (::fstat(FHandle, &Info) != 0 || !S_ISREG(Info.st_mode)) {
        ::close(FHandle);
        throw EDiskImage("\"" + FShownName + "\" is not a disk image file.");
    }
    FSize = static_cast<std::uint64_t>(Info.st_size);
}

TImageFile::~TImageFile() {
    ::close(FHandle);
}

void TImageFile::ReadAt(std::uint64_t Offset, void* Buffer, std::size_t Count) const {
    auto* Bytes = static_cast<char*>(Buffer);
    while (Count > 0) {
        if (Offset > FSize) {
            break;
        }
        const ssize_t Done = ::pread(FHandle, Bytes, Count, static_cast<off_t>(Offset));
        if (Done < 0 && errno == EINTR) {
            continue;
        }
        if (Done < 0) {
            throw ImageSystemFailure(FShownName, "cannot be read", errno);
        }
        if (Done == 0) {
            break;
        }
        Bytes += Done;
        Offset += static_cast<std::uint64_t>(Done);
        Count -= static_cast<std::size_t>(Done);
    }
    if (Count > 0) {
        throw EDiskImage("The disk image \"" + FShownName + "\" ends before its contents do.");
    }
}

void TImageFile::Sync() const {
    if (::fsync(FHandle) != 0) {
        throw ImageSystemFailure(FShownName, "cannot be written to the disk", errno);
    }
}
