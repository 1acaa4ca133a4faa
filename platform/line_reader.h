#pragma once

#include "core/stream.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file that cannot be opened or read raises EReadError with the file's name and the reason.

// One line of a text file without its line end. Text holds at most the reader's keep limit of
// bytes and stays valid until the next call of the reader; Length is the line's full length and
// Offset the file position of its first byte.
struct TTextLine {
    std::string_view Text;
    std::uint64_t Length = 0;
    std::uint64_t Offset = 0;
};

// Reads a text file line by line through a fixed-size buffer, so memory does not grow with the
// file. Lines end at CR, LF or CR LF; a last line without an end counts, an empty file has no
// lines. A UTF-8 byte-order mark in front of the first line is skipped. Only regular files are
// read, so a folder, a pipe or a device never blocks or streams forever.
class TLineReader {
public:
    static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();
    // The file is read through a buffer of this size.
    static constexpr std::size_t kBufferSize = 128 * 1024;
    // The most a peek may look ahead.
    static constexpr std::size_t kMaxPeek = 96 * 1024;

    TLineReader() = default;
    TLineReader(const TLineReader&) = delete;
    TLineReader& operator=(const TLineReader&) = delete;
    ~TLineReader();

    // Opens FileName at its first line; raises EReadError ("Cannot open file <name>: <reason>")
    // when it is not a regular file that can be opened for reading.
    void Open(const std::string& FileName);
    void Close();

    // Starts again at the first line.
    void Rewind();

    // Goes on at the line that starts at Offset, a TTextLine::Offset of this file.
    void Seek(std::uint64_t Offset);

    // Lines longer than Limit bytes come back cut to Limit bytes (Length stays the full length),
    // so a scan that needs only the start of each line keeps only that much of a huge line.
    void SetKeepLimit(std::size_t Limit) { FKeepLimit = Limit; }

    // The next line; false at the end of the file. Raises EReadError when reading fails.
    bool Next(TTextLine& Line);

    // The first bytes of the next line, at most Count (up to kMaxPeek) and none of its line end,
    // without reading further into the file or passing the line: Next still returns it whole.
    // Fewer than Count bytes means the line ends there. Nothing at the end of the file. The view
    // stays valid until the next call of the reader.
    std::optional<std::string_view> Peek(std::size_t Count);

    // The file position of the next line's first byte.
    std::uint64_t NextOffset();

private:
    bool Fill();
    void SkipLineEnd();
    // Passes what stands before the next line: the byte-order mark of a file's first line, the
    // LF of a CR LF pair that the buffer's end split.
    void SkipToLine();

    int FHandle = -1;
    std::string FFileName;
    std::vector<char> FBuffer;
    std::size_t FPos = 0;
    std::size_t FEnd = 0;
    std::uint64_t FBufferOffset = 0; // file position of FBuffer[0]
    bool FAtStart = true;
    bool FSkipLF = false; // the last line ended with CR at the end of the buffer
    std::size_t FKeepLimit = kNoLimit;
    std::string FLine; // a line that crosses the end of the buffer
};
