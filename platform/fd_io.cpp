#include "platform/fd_io.h"

#include <cerrno>
#include <unistd.h>

bool WriteAll(int Handle, const char* Data, std::size_t Size) {
    while (Size > 0) {
        const ssize_t Count = ::write(Handle, Data, Size);
        if (Count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        Data += Count;
        Size -= static_cast<std::size_t>(Count);
    }
    return true;
}

bool CopyContents(int Source, int Target) {
    char Buffer[64 * 1024];
    for (;;) {
        const ssize_t Count = ::read(Source, Buffer, sizeof Buffer);
        if (Count == 0) {
            return true;
        }
        if (Count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (!WriteAll(Target, Buffer, static_cast<std::size_t>(Count))) {
            return false;
        }
    }
}
