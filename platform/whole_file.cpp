#include "platform/whole_file.h"

#include "core/stream.h"
#include "platform/atomic_file.h"
#include "platform/fd_io.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a link names, so that the link stays and its file is rewritten; else FileName.
std::string FollowLink(const std::string& FileName) {
    struct stat Info {};
    if (::lstat(FileName.c_str(), &Info) != 0 || !S_ISLNK(Info.st_mode)) {
        return FileName;
    }
    char Resolved[PATH_MAX];
    return ::realpath(FileName.c_str(), Resolved) != nullptr ? std::string(Resolved) : FileName;
}

void WriteInPlace(const std::string& FileName, std::string_view Content) {
    TFileDescriptor Handle(::open(FileName.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!Handle.IsOpen()) {
        throw EFCreateError(FileName, errno);
    }
    WriteAll(Handle.Get(), Content, FileName);
    CloseWritten(Handle, FileName);
}

} // namespace

std::string ReadWholeFile(const std::string& FileName, TAbsentFile Absent) {
    const TFileDescriptor Handle(::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!Handle.IsOpen()) {
        if (errno == ENOENT && Absent == TAbsentFile::afReadsEmpty) {
            return {};
        }
        throw EFOpenError(FileName, errno);
    }
    struct stat Info {};
    if (::fstat(Handle.Get(), &Info) != 0) {
        throw EFOpenError(FileName, errno);
    }
    if (!S_ISREG(Info.st_mode)) {
        throw EFOpenError(FileName, S_ISDIR(Info.st_mode) ? EISDIR : EINVAL);
    }
    std::string Content;
    char Buffer[64 * 1024];
    for (;;) {
        const ssize_t Count = ::read(Handle.Get(), Buffer, sizeof Buffer);
        if (Count > 0) {
            Content.append(Buffer, static_cast<std::size_t>(Count));
        } else if (Count == 0) {
            return Content;
        } else if (errno != EINTR) {
            throw EFOpenError(FileName, errno);
        }
    }
}

void RewriteWholeFile(const std::string& FileName, std::string_view Content) {
    const std::string Target = FollowLink(FileName);
    struct stat Info {};
    const bool Exists = ::stat(Target.c_str(), &Info) == 0;
    if (Exists) {
        if (!S_ISREG(Info.st_mode)) {
            throw EFCreateError(Target, EINVAL);
        }
        // The rename below needs only the folder's permission: the file's own is checked here.
        if (::faccessat(AT_FDCWD, Target.c_str(), W_OK, AT_EACCESS) != 0) {
            throw EFCreateError(Target, errno);
        }
        if (Info.st_uid != ::geteuid() || Info.st_nlink > 1) {
            WriteInPlace(Target, Content);
            return;
        }
    }
    try {
        WriteFileAtomically(Target, Content, TReplaceMode::rmReplace);
    } catch (const EFCreateError& Failure) {
        // A folder that takes no new file leaves only the file itself.
        if (!Exists || (Failure.ErrorCode() != EACCES && Failure.ErrorCode() != EPERM)) {
            throw;
        }
        WriteInPlace(Target, Content);
    }
}
