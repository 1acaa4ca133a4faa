#include "platform/file_ops.h"

#include "core/stream.h"
#include "platform/fd_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool FileExists(const std::string& FileName) {
    struct stat Info {};
    return ::stat(FileName.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

void CopyFile(const std::string& Existing, const std::string& New, bool FailIfExists) {
    const TCopySource Source = OpenCopySource(Existing, New);
    if (!FailIfExists) {
        struct stat TargetInfo {};
        if (::stat(New.c_str(), &TargetInfo) == 0 && TargetInfo.st_dev == Source.Info.st_dev &&
            TargetInfo.st_ino == Source.Info.st_ino) {
            // truncating the target would destroy the source
            throw EFCreateError(New, EINVAL);
        }
    }
    const int Flags = O_WRONLY | O_CREAT | O_CLOEXEC | (FailIfExists ? O_EXCL : O_TRUNC);
    TFileDescriptor Target(::open(New.c_str(), Flags, Source.Info.st_mode & 0777));
    if (!Target.IsOpen()) {
        throw EFCreateError(New, errno);
    }
    try {
        CopyContents(Source.Handle.Get(), Target.Get(), New);
        CloseWritten(Target, New);
    } catch (...) {
        ::unlink(New.c_str());
        throw;
    }
}
