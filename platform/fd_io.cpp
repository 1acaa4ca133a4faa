#include "platform/fd_io.h"

#include "core/stream.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

void WriteAll(int Handle, std::string_view Data, const std::string& FileName) {
    while (!Data.empty()) {
        const ssize_t Count = ::write(Handle, Data.data(), Data.size());
        if (Count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw EFCreateError(FileName, errno);
        }
        Data.remove_prefix(static_cast<std::size_t>(Count));
    }
}

void CopyContents(int Source, int Target, const std::string& FileName) {
    char Buffer[64 * 1024];
    for (;;) {
        const ssize_t Count = ::read(Source, Buffer, sizeof Buffer);
        if (Count == 0) {
            return;
        }
        if (Count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw EFCreateError(FileName, errno);
        }
        WriteAll(Target, std::string_view(Buffer, static_cast<std::size_t>(Count)), FileName);
    }
}

TCopySource OpenCopySource(const std::string& Source, const std::string& FileName) {
    TCopySource Copy;
    Copy.Handle = TFileDescriptor(::open(Source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!Copy.Handle.IsOpen() || ::fstat(Copy.Handle.Get(), &Copy.Info) != 0) {
        throw EFCreateError(FileName, errno);
    }
    if (!S_ISREG(Copy.Info.st_mode)) {
        throw EFCreateError(FileName, EINVAL);
    }
    return Copy;
}

void CloseWritten(TFileDescriptor& Handle, const std::string& FileName) {
    if (::close(Handle.Release()) != 0) {
        throw EFCreateError(FileName, errno);
    }
}
