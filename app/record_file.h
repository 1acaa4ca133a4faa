#pragma once

#include "app/random_source.h"

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

// The header's "Description", at most 1023 characters; empty when missing.
std::string ReadDescription(const std::string& FileName);

// Clears Lines and fills it with one record of FileName drawn with Random. Lines stays empty when
// the file does not exist, has no known "Format", has no "[Data]" line or holds no record of its
// format. With StripPrefixes the "Q: " and "A: " in front of questions and answers are cut. A
// question without an answer line is answered by FileDescription when that is not empty. Raises
// EReadError when the file cannot be opened or read after its header was read. The file is read
// through a fixed-size buffer, once to count the records and again from near the drawn one; it
// is never held in memory as a whole.
void ReadRecord(const std::string& FileName, TRecordLines& Lines, bool StripPrefixes,
                std::string_view FileDescription, TRandomSource& Random);
