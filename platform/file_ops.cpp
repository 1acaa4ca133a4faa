#include "platform/file_ops.h"

#include "platform/fd_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool FileExists(const std::string& FileName) {
    struct stat Info {};
    return ::stat(FileName.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

bool CopyFile(const std::string& Existing, const std::string& New, bool FailIfExists) {
    const int Source = ::open(Existing.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Source < 0) {
        return false;
    }
    struct stat SourceInfo {};
    if (::fstat(Source, &SourceInfo) != 0 || !S_ISREG(SourceInfo.st_mode)) {
        ::close(Source);
        errno = EINVAL;
        return false;
    }
    if (!FailIfExists) {
        struct stat TargetInfo {};
        if (::stat(New.c_str(), &TargetInfo) == 0 && TargetInfo.st_dev == SourceInfo.st_dev &&
            TargetInfo.st_ino == SourceInfo.st_ino) {
            ::close(Source); // truncating the target would destroy the source
            errno = EINVAL;
            return false;
        }
    }
    const int Flags = O_WRONLY | O_CREAT | O_CLOEXEC | (FailIfExists ? O_EXCL : O_TRUNC);
    const int Target = ::open(New.c_str(), Flags, SourceInfo.st_mode & 0777);
    if (Target < 0) {
        const int Error = errno;
        ::close(Source);
        errno = Error;
        return false;
    }
    bool Ok = CopyContents(Source, Target);
    int Error = errno;
    if (::close(Target) != 0 && Ok) {
        Ok = false;
        Error = errno;
    }
    ::close(Source);
    if (!Ok) {
        ::unlink(New.c_str());
        errno = Error;
    }
    return Ok;
}
