#include "core/stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

EReadError::EReadError() : EStreamError("Stream read error") {}
EWriteError::EWriteError() : EStreamError("Stream write error") {}

EFileError::EFileError(std::string_view What, const std::string& FileName, int ErrorCode)
    : EStreamError(std::string(What) + " \"" + FileName + "\". " + std::strerror(ErrorCode)),
      FFileName(FileName), FErrorCode(ErrorCode) {}

EFOpenError::EFOpenError(const std::string& FileName, int ErrorCode)
    : EFileError("Cannot open file", FileName, ErrorCode) {}

EFCreateError::EFCreateError(const std::string& FileName, int ErrorCode)
    : EFileError("Cannot create file", FileName, ErrorCode) {}

namespace {

// The position a seek asks for, or -1 when it lies before the start or cannot be represented.
std::int64_t SeekTarget(std::int64_t Offset, TSeekOrigin Origin, std::int64_t Current,
                        std::int64_t End) {
    const std::int64_t Base = Origin == TSeekOrigin::soBeginning ? 0
                              : Origin == TSeekOrigin::soCurrent ? Current
                                                                 : End;
    if ((Offset > 0 && Base > std::numeric_limits<std::int64_t>::max() - Offset) ||
        Base + Offset < 0) {
        return -1;
    }
    return Base + Offset;
}

// Moves Count bytes in chunks through Call(Done, Chunk) (a read or write of the system), going
// on after interruptions; stops at the end of the file or an error and returns what was moved.
template <typename F>
std::int64_t Transfer(std::int64_t Count, F Call) {
    std::int64_t Done = 0;
    while (Done < Count) {
        const auto Chunk = static_cast<std::size_t>(std::min<std::int64_t>(Count - Done, 1 << 30));
        const ssize_t N = Call(Done, Chunk);
        if (N < 0 && errno == EINTR) {
            continue;
        }
        if (N <= 0) {
            break;
        }
        Done += N;
    }
    return Done;
}

} // namespace

// --- TStream ---------------------------------------------------------------------------------

std::int64_t TStream::Size() {
    const std::int64_t Here = Position();
    const std::int64_t End = Seek(0, TSeekOrigin::soEnd);
    Seek(Here, TSeekOrigin::soBeginning);
    return End;
}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count) {
    if (Count > 0 && Read(Buffer, Count) != Count) {
        throw EReadError();
    }
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count) {
    if (Count > 0 && Write(Buffer, Count) != Count) {
        throw EWriteError();
    }
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    std::vector<std::uint8_t> Buffer(
        static_cast<std::size_t>(std::min<std::int64_t>(Count, 1 << 20)));
    std::int64_t Left = Count;
    while (Left > 0) {
        const std::int64_t Chunk =
            std::min<std::int64_t>(Left, static_cast<std::int64_t>(Buffer.size()));
        Source.ReadBuffer(Buffer.data(), Chunk);
        WriteBuffer(Buffer.data(), Chunk);
        Left -= Chunk;
    }
    return Count;
}

// --- TFileStream -----------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) {
    switch (Mode) {
    case TFileMode::fmOpenRead:
        FHandle = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
        break;
    case TFileMode::fmOpenReadWrite:
        FHandle = ::open(FileName.c_str(), O_RDWR | O_CLOEXEC);
        break;
    case TFileMode::fmCreate:
        FHandle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (FHandle < 0) {
            throw EFCreateError(FileName, errno);
        }
        return;
    }
    if (FHandle < 0) {
        throw EFOpenError(FileName, errno);
    }
    // A folder opens for reading on this platform but is not a file.
    struct stat Info {};
    if (::fstat(FHandle, &Info) == 0 && S_ISDIR(Info.st_mode)) {
        ::close(FHandle);
        throw EFOpenError(FileName, EISDIR);
    }
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) {
        ::close(FHandle);
    }
}

std::int64_t TFileStream::Read(void* Buffer, std::int64_t Count) {
    return Transfer(Count, [this, Buffer](std::int64_t Done, std::size_t Chunk) {
        return ::read(FHandle, static_cast<std::uint8_t*>(Buffer) + Done, Chunk);
    });
}

std::int64_t TFileStream::Write(const void* Buffer, std::int64_t Count) {
    return Transfer(Count, [this, Buffer](std::int64_t Done, std::size_t Chunk) {
        return ::write(FHandle, static_cast<const std::uint8_t*>(Buffer) + Done, Chunk);
    });
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    const int Whence = Origin == TSeekOrigin::soBeginning ? SEEK_SET
                       : Origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                          : SEEK_END;
    const off_t Result = ::lseek(FHandle, static_cast<off_t>(Offset), Whence);
    if (Result < 0) {
        return ::lseek(FHandle, 0, SEEK_CUR);
    }
    return Result;
}

// --- TBlockStream ----------------------------------------------------------------------------

TBlockStream::TBlockStream(void* Memory, std::int64_t BlockSize)
    : FData(static_cast<const std::uint8_t*>(Memory)),
      FWritable(static_cast<std::uint8_t*>(Memory)), FSize(std::max<std::int64_t>(BlockSize, 0)) {}

TBlockStream::TBlockStream(const void* Memory, std::int64_t BlockSize)
    : FData(static_cast<const std::uint8_t*>(Memory)), FWritable(nullptr),
      FSize(std::max<std::int64_t>(BlockSize, 0)) {}

std::int64_t TBlockStream::Read(void* Buffer, std::int64_t Count) {
    const std::int64_t N =
        std::clamp<std::int64_t>(FSize - FPosition, 0, std::max<std::int64_t>(Count, 0));
    if (N > 0) {
        std::memcpy(Buffer, FData + FPosition, static_cast<std::size_t>(N));
        FPosition += N;
    }
    return N;
}

std::int64_t TBlockStream::Write(const void* Buffer, std::int64_t Count) {
    if (FWritable == nullptr) {
        return 0;
    }
    const std::int64_t N =
        std::clamp<std::int64_t>(FSize - FPosition, 0, std::max<std::int64_t>(Count, 0));
    if (N > 0) {
        std::memcpy(FWritable + FPosition, Buffer, static_cast<std::size_t>(N));
        FPosition += N;
    }
    return N;
}

std::int64_t TBlockStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    const std::int64_t Target = SeekTarget(Offset, Origin, FPosition, FSize);
    if (Target >= 0) {
        FPosition = Target;
    }
    return FPosition;
}

// --- TMemoryStream ---------------------------------------------------------------------------

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count) {
    const std::int64_t N =
        std::clamp<std::int64_t>(Size() - FPosition, 0, std::max<std::int64_t>(Count, 0));
    if (N > 0) {
        std::memcpy(Buffer, FData.data() + FPosition, static_cast<std::size_t>(N));
        FPosition += N;
    }
    return N;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count) {
    if (Count <= 0) {
        return 0;
    }
    const std::int64_t End = FPosition + Count;
    if (End > Size()) {
        FData.resize(static_cast<std::size_t>(End));
    }
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition = End;
    return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    const std::int64_t Target = SeekTarget(Offset, Origin, FPosition, Size());
    if (Target >= 0) {
        FPosition = Target;
    }
    return FPosition;
}
