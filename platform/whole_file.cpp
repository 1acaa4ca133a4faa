#include "platform/whole_file.h"

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

bool WriteInPlace(const std::string& FileName, std::string_view Content) {
    const int Handle = ::open(FileName.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (Handle < 0) {
        return false;
    }
    const bool Written = WriteAll(Handle, Content.data(), Content.size());
    const int Error = errno;
    const bool Closed = ::close(Handle) == 0;
    if (!Written) {
        errno = Error;
    }
    return Written && Closed;
}

} // namespace

bool ReadWholeFile(const std::string& FileName, std::string& Content) {
    Content.clear();
    const int Handle = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Handle < 0) {
        return errno == ENOENT;
    }
    struct stat Info {};
    bool Ok = ::fstat(Handle, &Info) == 0 && S_ISREG(Info.st_mode);
    char Buffer[64 * 1024];
    while (Ok) {
        const ssize_t Count = ::read(Handle, Buffer, sizeof Buffer);
        if (Count > 0) {
            Content.append(Buffer, static_cast<std::size_t>(Count));
        } else if (Count == 0) {
            break;
        } else if (errno != EINTR) {
            Ok = false;
        }
    }
    ::close(Handle);
    return Ok;
}

bool RewriteWholeFile(const std::string& FileName, std::string_view Content) {
    const std::string Target = FollowLink(FileName);
    struct stat Info {};
    const bool Exists = ::stat(Target.c_str(), &Info) == 0;
    if (Exists) {
        if (!S_ISREG(Info.st_mode)) {
            errno = EINVAL;
            return false;
        }
        // The rename below needs only the folder's permission: the file's own is checked here.
        if (::faccessat(AT_FDCWD, Target.c_str(), W_OK, AT_EACCESS) != 0) {
            return false;
        }
        if (Info.st_uid != ::geteuid() || Info.st_nlink > 1) {
            return WriteInPlace(Target, Content);
        }
    }
    if (WriteFileAtomically(Target, Content, TReplaceMode::rmReplace)) {
        return true;
    }
    // A folder that takes no new file leaves only the file itself.
    if (Exists && (errno == EACCES || errno == EPERM)) {
        return WriteInPlace(Target, Content);
    }
    return false;
}
