#include "app/record_file.h"

#include "platform/ascii_text.h"
#include "platform/file_ops.h"
#include "platform/ini_file.h"
#include "platform/line_reader.h"

#include <cstdint>
#include <limits>
#include <optional>

namespace {

// Every test on a line looks at no more than its first 7 bytes ("<START>") and its length, so the
// counting scans keep no more than this of each line.
constexpr std::size_t kPeekSize = 8;

bool IsDataMarker(const TTextLine& Line) {
    return Line.Length == 6 && SameText(Line.Text, "[Data]");
}

bool IsBlockStart(const TTextLine& Line) {
    return Line.Length == 7 && SameText(Line.Text, "<START>");
}

bool IsBlockEnd(const TTextLine& Line) {
    return Line.Length == 5 && SameText(Line.Text, "<END>");
}

bool IsQuestion(const TTextLine& Line) {
    return StartsWith(Line.Text, "Q: ");
}

bool IsAnswer(const TTextLine& Line) {
    return StartsWith(Line.Text, "A: ");
}

// Not empty and not a comment.
bool IsUsableSingle(const TTextLine& Line) {
    return Line.Length > 0 && Line.Text.front() != ';';
}

// A record file open for scanning.
class TDataScan {
public:
    explicit TDataScan(const std::string& FileName) : FFileName(FileName) {
        if (!FReader.Open(FileName)) {
            throw EReadError("Cannot open file " + FileName + ": " + FReader.ErrorText());
        }
    }

    // Goes to the first data line; false when the file has no "[Data]" line.
    bool Start() {
        FReader.Rewind();
        FReader.SetKeepLimit(kPeekSize);
        TTextLine Line;
        while (FReader.Next(Line)) {
            if (IsDataMarker(Line)) {
                return true;
            }
        }
        return false;
    }

    bool Next(TTextLine& Line) { return FReader.Next(Line); }

    // Goes on at Offset, keeping only the start of each line.
    void PeekFrom(std::uint64_t Offset) {
        FReader.Seek(Offset);
        FReader.SetKeepLimit(kPeekSize);
    }

    // Goes on at Offset, keeping whole lines.
    void ReadWholeFrom(std::uint64_t Offset) {
        FReader.Seek(Offset);
        FReader.SetKeepLimit(TLineReader::kNoLimit);
    }

    // Count as the range of a random draw.
    std::uint32_t Range(std::uint64_t Count) const {
        if (Count > std::numeric_limits<std::uint32_t>::max()) {
            throw EReadError("Too many lines in " + FFileName);
        }
        return static_cast<std::uint32_t>(Count);
    }

private:
    std::string FFileName;
    TLineReader FReader;
};

// The lines of one kind counted by the first scan, with the offset of every kMarkStep-th of
// them, so that the second scan starts close to the drawn line instead of at the "[Data]" line.
constexpr std::uint64_t kMarkStep = 1024;

struct TLineMarks {
    std::uint64_t Count = 0;
    std::vector<std::uint64_t> Offsets;

    void Add(std::uint64_t Offset) {
        if (Count % kMarkStep == 0) {
            Offsets.push_back(Offset);
        }
        ++Count;
    }
};

// Counts the data lines that pass Test, from the first data line on.
template <typename TTest>
TLineMarks CountDataLines(TDataScan& Scan, TTest Test) {
    TLineMarks Marks;
    TTextLine Line;
    while (Scan.Next(Line)) {
        if (Test(Line)) {
            Marks.Add(Line.Offset);
        }
    }
    return Marks;
}

// Offset of the Index-th (from 0) of the counted lines.
template <typename TTest>
std::optional<std::uint64_t> FindDataLine(TDataScan& Scan, const TLineMarks& Marks,
                                          std::uint64_t Index, TTest Test) {
    Scan.PeekFrom(Marks.Offsets[static_cast<std::size_t>(Index / kMarkStep)]);
    std::uint64_t Remaining = Index % kMarkStep;
    TTextLine Line;
    while (Scan.Next(Line)) {
        if (Test(Line) && Remaining-- == 0) {
            return Line.Offset;
        }
    }
    return std::nullopt; // the file changed between the scans
}

// Which data lines of a "SINGLE" file are usable, one bit a line, with a summary bit for every
// 64 lines so that a draw landing in a run of unusable lines is turned down from a map small
// enough to stay in the cache.
class TUsableLines {
public:
    void Add(bool Usable) {
        if (FCount % 64 == 0) {
            FLines.push_back(0);
            if (FLines.size() % 64 == 1) {
                FSummary.push_back(0);
            }
        }
        if (Usable) {
            const std::size_t Word = FCount / 64;
            FLines[Word] |= std::uint64_t{1} << (FCount % 64);
            FSummary[Word / 64] |= std::uint64_t{1} << (Word % 64);
            ++FUsable;
        }
        ++FCount;
    }
    bool IsUsable(std::uint64_t Index) const {
        const std::size_t Word = static_cast<std::size_t>(Index / 64);
        return (FSummary[Word / 64] >> (Word % 64) & 1) != 0 &&
               (FLines[Word] >> (Index % 64) & 1) != 0;
    }
    std::uint64_t Count() const { return FCount; }
    std::uint64_t UsableCount() const { return FUsable; }

private:
    std::vector<std::uint64_t> FLines;
    std::vector<std::uint64_t> FSummary;
    std::uint64_t FCount = 0;
    std::uint64_t FUsable = 0;
};

void ReadSingle(TDataScan& Scan, TRecordLines& Lines, TRandomSource& Random) {
    TUsableLines Usable;
    TLineMarks Marks;
    TTextLine Line;
    while (Scan.Next(Line)) {
        Usable.Add(IsUsableSingle(Line));
        Marks.Add(Line.Offset);
    }
    if (Usable.UsableCount() == 0) {
        return; // no line to draw: drawing until one turns up would never end
    }
    // Draw until a usable line comes up, so each usable line is equally likely. The generator
    // passes through all 2^32 states, so every index comes up within one period.
    const std::uint32_t Range = Scan.Range(Usable.Count());
    std::uint32_t Index = 0;
    do {
        Index = Random.RandomInt(Range);
    } while (!Usable.IsUsable(Index));
    const auto Offset = FindDataLine(Scan, Marks, Index, [](const TTextLine&) { return true; });
    if (Offset) {
        Scan.ReadWholeFrom(*Offset);
        if (Scan.Next(Line)) {
            Lines.emplace_back(Line.Text);
        }
    }
}

void ReadQuestion(TDataScan& Scan, TRecordLines& Lines, bool StripPrefixes,
                  std::string_view FileDescription, TRandomSource& Random) {
    const TLineMarks Marks = CountDataLines(Scan, IsQuestion);
    if (Marks.Count == 0) {
        return;
    }
    const std::uint32_t Index = Random.RandomInt(Scan.Range(Marks.Count));
    const auto Offset = FindDataLine(Scan, Marks, Index, IsQuestion);
    if (!Offset) {
        return;
    }
    const std::size_t Cut = StripPrefixes ? 3 : 0;
    Scan.ReadWholeFrom(*Offset);
    TTextLine Line;
    if (!Scan.Next(Line) || !IsQuestion(Line)) {
        return; // the file changed between the scans
    }
    Lines.emplace_back(Line.Text.substr(Cut));
    while (Lines.size() < kMaxRecordLines && Scan.Next(Line) && IsAnswer(Line)) {
        Lines.emplace_back(Line.Text.substr(Cut));
    }
    if (Lines.size() == 1 && !FileDescription.empty()) {
        Lines.push_back((StripPrefixes ? "" : "A: ") + std::string(FileDescription));
    }
}

void ReadBlock(TDataScan& Scan, TRecordLines& Lines, TRandomSource& Random) {
    const TLineMarks Marks = CountDataLines(Scan, IsBlockStart);
    if (Marks.Count == 0) {
        return;
    }
    const std::uint32_t Index = Random.RandomInt(Scan.Range(Marks.Count));
    const auto Offset = FindDataLine(Scan, Marks, Index, IsBlockStart);
    if (!Offset) {
        return;
    }
    Scan.ReadWholeFrom(*Offset);
    TTextLine Line;
    if (!Scan.Next(Line) || !IsBlockStart(Line)) {
        return; // the file changed between the scans
    }
    while (Lines.size() < kMaxRecordLines && Scan.Next(Line) && !IsBlockEnd(Line)) {
        Lines.emplace_back(Line.Text);
    }
}

} // namespace

std::string ReadDescription(const std::string& FileName) {
    return TIniFile(FileName).ReadString("Header", "Description", "");
}

void ReadRecord(const std::string& FileName, TRecordLines& Lines, bool StripPrefixes,
                std::string_view FileDescription, TRandomSource& Random) {
    Lines.clear();
    if (!FileExists(FileName)) {
        return;
    }
    const std::string Format = UpperCase(TIniFile(FileName).ReadString("Header", "Format", ""));
    if (Format != "SINGLE" && Format != "Q&A" && Format != "ML") {
        return; // empty or unknown: no records
    }
    TDataScan Scan(FileName);
    if (!Scan.Start()) {
        return;
    }
    if (Format == "SINGLE") {
        ReadSingle(Scan, Lines, Random);
    } else if (Format == "Q&A") {
        ReadQuestion(Scan, Lines, StripPrefixes, FileDescription, Random);
    } else {
        ReadBlock(Scan, Lines, Random);
    }
}
