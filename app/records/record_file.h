#pragma once

#include "app/records/random_source.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Record files: a "Header" section whose "Format" ("SINGLE", "Q&A" or "ML") says how records are
// written and whose optional "Description" is shown with them, then the records after the first
// line "[Data]". See docs/record-files.md.

// A record handed on as its lines.
using TRecordLines = std::vector<std::string>;

// A record keeps at most this many lines; the rest of a longer block or answer is dropped. No
// logo shows that much, and a block running over a huge file cannot take its lines' weight in
// memory several times over.
constexpr std::size_t kMaxRecordLines = 1000;

// A record keeps at most this many bytes of text, counting two for each line end between its
// lines: more than any 640 x 400 logo can show. The line that runs over is cut there (never
// inside a UTF-8 sequence) and ends the record; the rest of it is not even read.
constexpr std::size_t kMaxRecordText = 64 * 1024;

// The header of a record file: "Format" in upper case and "Description", each at most 1023
// characters and empty when missing.
struct TRecordHeader {
    std::string Format;
    std::string Description;
};

// The header of FileName, read in one pass over the file.
TRecordHeader ReadRecordHeader(const std::string& FileName);

// The header's "Description"; empty when missing.
std::string ReadDescription(const std::string& FileName);

// Clears Lines and fills it with one record of FileName, whose header is Header, drawn with
// Random. Lines stays empty when the file does not exist, has no known "Format", has no "[Data]"
// line or holds no record of its format. With StripPrefixes the "Q: " and "A: " in front of
// questions and answers are cut. A question without an answer line is answered by the header's
// description when that is not empty. Raises EReadError when the file cannot be opened or read.
// The data is read once, through a fixed-size buffer, to count the records, and then only from
// a mark near the drawn one to its end; the file is never held in memory as a whole.
void ReadRecord(const std::string& FileName, const TRecordHeader& Header, TRecordLines& Lines,
                bool StripPrefixes, TRandomSource& Random);
