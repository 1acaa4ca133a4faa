#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// Makes a file or folder unwritable for the time of a test, also for root: its write
// permissions are taken away and, when that does not stop this process (root), it is made
// immutable. Ok() is false when neither works; the test should then skip.
class TReadOnly {
public:
    explicit TReadOnly(std::string Path) : FPath(std::move(Path)) {
        struct stat Info {};
        if (::stat(FPath.c_str(), &Info) != 0) {
            return;
        }
        FMode = Info.st_mode & 07777;
        ::chmod(FPath.c_str(), FMode & ~0222U);
        if (::access(FPath.c_str(), W_OK) != 0) {
            FOk = true;
            return;
        }
        FImmutable = SetImmutable(true);
        FOk = FImmutable;
    }
    TReadOnly(const TReadOnly&) = delete;
    TReadOnly& operator=(const TReadOnly&) = delete;
    ~TReadOnly() {
        if (FImmutable) {
            SetImmutable(false);
        }
        ::chmod(FPath.c_str(), FMode);
    }
    bool Ok() const { return FOk; }

private:
    bool SetImmutable(bool On) const {
        const int Handle = ::open(FPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (Handle < 0) {
            return false;
        }
        int Flags = 0;
        bool Done = ::ioctl(Handle, FS_IOC_GETFLAGS, &Flags) == 0;
        if (Done) {
            Flags = On ? (Flags | FS_IMMUTABLE_FL) : (Flags & ~FS_IMMUTABLE_FL);
            Done = ::ioctl(Handle, FS_IOC_SETFLAGS, &Flags) == 0;
        }
        ::close(Handle);
        return Done;
    }

    std::string FPath;
    mode_t FMode = 0644;
    bool FOk = false;
    bool FImmutable = false;
};
