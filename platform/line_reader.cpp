#include "platform/line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether any byte of Word equals the byte repeated in Pattern.
bool HasByte(std::uint64_t Word, std::uint64_t Pattern) {
    constexpr std::uint64_t kLows = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    const std::uint64_t Diff = Word ^ Pattern;
    return ((Diff - kLows) & ~Diff & kHighs) != 0;
}

bool IsLineEnd(char C) {
    return C == '\n' || C == '\r';
}

// The first CR or LF from P on, or End, eight bytes at a time, so that huge lines go by at the
// speed of memory.
const char* FindLongLineEnd(const char* P, const char* End) {
    constexpr std::uint64_t kLfs = 0x0A0A0A0A0A0A0A0A;
    constexpr std::uint64_t kCrs = 0x0D0D0D0D0D0D0D0D;
    while (End - P >= 8) {
        std::uint64_t Word = 0;
        std::memcpy(&Word, P, sizeof Word);
        if (HasByte(Word, kLfs) || HasByte(Word, kCrs)) {
            break;
        }
        P += 8;
    }
    while (P != End && !IsLineEnd(*P)) {
        ++P;
    }
    return P;
}

// The first CR or LF from P on, or End. Most lines are short: their first bytes are looked at
// one by one, without the set-up of the long search.
inline const char* FindLineEnd(const char* P, const char* End) {
    constexpr int kShortLine = 16;
    for (int I = 0; I < kShortLine && P != End; ++I, ++P) {
        if (IsLineEnd(*P)) {
            return P;
        }
    }
    return FindLongLineEnd(P, End);
}

// Raises EReadError "<What> file <FileName>: <Reason>".
[[noreturn]] void RaiseReadError(std::string_view What, const std::string& FileName,
                                 std::string_view Reason) {
    throw EReadError(std::string(What) + " file " + FileName + ": " + std::string(Reason));
}

} // namespace

TLineReader::~TLineReader() {
    Close();
}

void TLineReader::Open(const std::string& FileName) {
    Close();
    FFileName = FileName;
    // Non-blocking, so opening a pipe cannot hang before the type check below refuses it.
    const int Handle = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Handle < 0) {
        RaiseReadError("Cannot open", FileName, std::strerror(errno));
    }
    struct stat Info {};
    if (::fstat(Handle, &Info) != 0 || !S_ISREG(Info.st_mode)) {
        ::close(Handle);
        RaiseReadError("Cannot open", FileName,
                       S_ISDIR(Info.st_mode) ? "Is a directory" : "Not a regular file");
    }
    FHandle = Handle;
    FBuffer.resize(kBufferSize);
    Rewind();
}

void TLineReader::Close() {
    if (FHandle >= 0) {
        ::close(FHandle);
        FHandle = -1;
    }
}

void TLineReader::Rewind() {
    Seek(0);
}

void TLineReader::Seek(std::uint64_t Offset) {
    if (FHandle >= 0 && ::lseek(FHandle, static_cast<off_t>(Offset), SEEK_SET) < 0) {
        RaiseReadError("Cannot read", FFileName, std::strerror(errno));
    }
    FPos = FEnd = 0;
    FBufferOffset = Offset;
    FAtStart = Offset == 0;
    FSkipLF = false;
}

// Moves what is left of the buffer to its front and appends the next part of the file; false at
// the end of the file.
bool TLineReader::Fill() {
    if (FPos > 0) {
        std::memmove(FBuffer.data(), FBuffer.data() + FPos, FEnd - FPos);
        FBufferOffset += FPos;
        FEnd -= FPos;
        FPos = 0;
    }
    for (;;) {
        const ssize_t Count = ::read(FHandle, FBuffer.data() + FEnd, FBuffer.size() - FEnd);
        if (Count > 0) {
            FEnd += static_cast<std::size_t>(Count);
            return true;
        }
        if (Count == 0) {
            return false;
        }
        if (errno != EINTR) {
            RaiseReadError("Cannot read", FFileName, std::strerror(errno));
        }
    }
}

void TLineReader::SkipLineEnd() {
    const char C = FBuffer[FPos++];
    if (C == '\r') {
        if (FPos < FEnd) {
            if (FBuffer[FPos] == '\n') {
                ++FPos;
            }
        } else {
            FSkipLF = true; // the LF of a CR LF may start the next part of the file
        }
    }
}

void TLineReader::SkipToLine() {
    if (FAtStart) {
        FAtStart = false;
        while (FEnd - FPos < 3 && Fill()) {
        }
        if (FEnd - FPos >= 3 && std::memcmp(FBuffer.data() + FPos, "\xEF\xBB\xBF", 3) == 0) {
            FPos += 3;
        }
    }
    if (FSkipLF && (FPos < FEnd || Fill())) {
        FSkipLF = false;
        if (FBuffer[FPos] == '\n') {
            ++FPos;
        }
    }
}

std::uint64_t TLineReader::NextOffset() {
    if (FHandle >= 0 && (FAtStart || FSkipLF)) {
        SkipToLine();
    }
    return FBufferOffset + FPos;
}

std::optional<std::string_view> TLineReader::Peek(std::size_t Count) {
    if (FHandle < 0) {
        return std::nullopt;
    }
    Count = std::min(Count, kMaxPeek);
    if (FAtStart || FSkipLF) {
        SkipToLine();
    }
    for (;;) {
        const char* Begin = FBuffer.data() + FPos;
        const std::size_t Have = std::min(FEnd - FPos, Count);
        const char* Stop = FindLineEnd(Begin, Begin + Have);
        if (Stop != Begin + Have || Have == Count) {
            return std::string_view(Begin, static_cast<std::size_t>(Stop - Begin));
        }
        if (!Fill()) {
            // The file ends within Count bytes: what is left is its last line, if anything.
            if (FPos == FEnd) {
                return std::nullopt;
            }
            return std::string_view(FBuffer.data() + FPos, FEnd - FPos);
        }
    }
}

bool TLineReader::Next(TTextLine& Line) {
    if (FHandle < 0) {
        return false;
    }
    if (FAtStart || FSkipLF) {
        SkipToLine();
    }
    FLine.clear();
    Line.Offset = FBufferOffset + FPos;
    std::uint64_t Length = 0;
    bool Started = false; // some of the line came from an earlier part of the file
    for (;;) {
        if (FPos == FEnd && !Fill()) {
            if (!Started) {
                return false;
            }
            break; // last line without an end
        }
        const char* Begin = FBuffer.data() + FPos;
        const char* End = FBuffer.data() + FEnd;
        const char* Stop = FindLineEnd(Begin, End);
        const auto Count = static_cast<std::size_t>(Stop - Begin);
        if (!Started && Stop != End) {
            // The whole line lies in the buffer: hand out a view of it.
            Line.Text = std::string_view(Begin, std::min(Count, FKeepLimit));
            Line.Length = Count;
            FPos += Count;
            SkipLineEnd();
            return true;
        }
        if (FLine.size() < FKeepLimit) {
            FLine.append(Begin, std::min(Count, FKeepLimit - FLine.size()));
        }
        Length += Count;
        FPos += Count;
        Started = true;
        if (Stop != End) {
            SkipLineEnd();
            break;
        }
    }
    Line.Text = FLine;
    Line.Length = Length;
    return true;
}
