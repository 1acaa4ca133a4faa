#include "app/records/record_file.h"

#include "platform/ascii_text.h"
#include "platform/file_ops.h"
#include "platform/line_reader.h"
#include "platform/private_profile.h"
#include "platform/utf8_prefix.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

// Every test on a line looks at no more than its first 7 bytes ("<START>") and whether it is
// longer, so the scans keep no more than this of each line.
constexpr std::size_t kPeekSize = 8;

// The tests take the start of a line, at most kPeekSize bytes of it.
bool IsDataMarker(std::string_view Start) {
    return Start.size() == 6 && SameText(Start, "[Data]");
}

bool IsBlockStart(std::string_view Start) {
    return Start.size() == 7 && SameText(Start, "<START>");
}

bool IsBlockEnd(std::string_view Start) {
    return Start.size() == 5 && SameText(Start, "<END>");
}

bool IsQuestion(std::string_view Start) {
    return StartsWith(Start, "Q: ");
}

bool IsAnswer(std::string_view Start) {
    return StartsWith(Start, "A: ");
}

// Not empty and not a comment.
bool IsUsableSingle(std::string_view Start) {
    return !Start.empty() && Start.front() != ';';
}

// A record file open for scanning.
class TDataScan {
public:
    explicit TDataScan(const std::string& FileName) : FFileName(FileName) {
        FReader.Open(FileName);
        FReader.SetKeepLimit(kPeekSize);
    }

    // Goes to the first data line; false when the file has no "[Data]" line.
    bool Start() {
        TTextLine Line;
        while (FReader.Next(Line)) {
            if (IsDataMarker(Line.Text)) {
                return true;
            }
        }
        return false;
    }

    // The next line, only its start kept.
    bool Next(TTextLine& Line) { return FReader.Next(Line); }

    // Goes on at Offset, a line's TTextLine::Offset.
    void Seek(std::uint64_t Offset) { FReader.Seek(Offset); }

    // The first bytes of the next line (at most Count) without passing it; none at the end.
    std::optional<std::string_view> Peek(std::size_t Count) { return FReader.Peek(Count); }
    std::uint64_t Offset() { return FReader.NextOffset(); }
    void Skip() {
        TTextLine Line;
        FReader.Next(Line);
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

// The lines of one kind counted by the first scan, with the offsets of some of them: at least
// every kMarkStep-th, and the next one once kMarkSpan bytes have passed since the last mark. The
// search for the drawn line starts at the mark before it, so it reads no more than kMarkStep
// lines or kMarkSpan bytes before it, whatever the file holds.
constexpr std::uint64_t kMarkStep = 1024;
constexpr std::uint64_t kMarkSpan = 64 * 1024;

class TLineMarks {
public:
    struct TMark {
        std::uint64_t Index; // among the counted lines
        std::uint64_t Offset;
    };

    void Add(std::uint64_t Offset) {
        if (FCount % kMarkStep == 0 || Offset - FMarks.back().Offset > kMarkSpan) {
            FMarks.push_back({FCount, Offset});
        }
        ++FCount;
    }
    std::uint64_t Count() const { return FCount; }

    // The last mark at or before the Index-th line (from 0); Index is below Count().
    const TMark& Before(std::uint64_t Index) const {
        const auto After =
            std::upper_bound(FMarks.begin(), FMarks.end(), Index,
                             [](std::uint64_t I, const TMark& Mark) { return I < Mark.Index; });
        return *std::prev(After);
    }

private:
    std::uint64_t FCount = 0;
    std::vector<TMark> FMarks;
};

// Counts the data lines that pass Test, from the first data line on.
template <typename TTest>
TLineMarks CountDataLines(TDataScan& Scan, TTest Test) {
    TLineMarks Marks;
    TTextLine Line;
    while (Scan.Next(Line)) {
        if (Test(Line.Text)) {
            Marks.Add(Line.Offset);
        }
    }
    return Marks;
}

// Offset of the Index-th (from 0) of the counted lines. Only the start of that line is read.
template <typename TTest>
std::optional<std::uint64_t> FindDataLine(TDataScan& Scan, const TLineMarks& Marks,
                                          std::uint64_t Index, TTest Test) {
    const TLineMarks::TMark& Mark = Marks.Before(Index);
    Scan.Seek(Mark.Offset);
    std::uint64_t Remaining = Index - Mark.Index;
    while (const auto Start = Scan.Peek(kPeekSize)) {
        if (Test(*Start) && Remaining-- == 0) {
            return Scan.Offset();
        }
        Scan.Skip();
    }
    return std::nullopt; // the file changed between the scans
}

// Takes a record's lines one by one within kMaxRecordLines and kMaxRecordText.
class TRecordTaker {
public:
    // Cut: how many bytes in front of each line to drop ("Q: ", "A: ").
    TRecordTaker(TDataScan& Scan, TRecordLines& Lines, std::size_t Cut)
        : FScan(Scan), FLines(Lines), FCut(Cut) {}

    // Takes the next line when Belongs accepts its start. False when it does not, at the end of
    // the file and when the record is full; a line that fills it is taken cut, unread beyond.
    template <typename TBelongs>
    bool Take(TBelongs Belongs) {
        const std::size_t LineEnd = FLines.empty() ? 0 : 2;
        if (FFull || FLines.size() >= kMaxRecordLines || FUsed + LineEnd > kMaxRecordText) {
            return false;
        }
        const std::size_t Left = kMaxRecordText - FUsed - LineEnd;
        const auto Start = FScan.Peek(std::max(FCut + Left + 1, kPeekSize));
        if (!Start || !Belongs(Start->substr(0, kPeekSize))) {
            return false;
        }
        const std::string_view Text = Start->substr(std::min(FCut, Start->size()));
        if (Text.size() > Left) {
            FLines.emplace_back(Utf8Prefix(Text, Left));
            FFull = true;
            return true;
        }
        FLines.emplace_back(Text);
        FUsed += LineEnd + Text.size();
        FScan.Skip();
        return true;
    }

private:
    TDataScan& FScan;
    TRecordLines& FLines;
    std::size_t FCut;
    std::size_t FUsed = 0;
    bool FFull = false;
};

bool AnyLine(std::string_view) {
    return true;
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
        Usable.Add(IsUsableSingle(Line.Text));
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
    if (const auto Offset = FindDataLine(Scan, Marks, Index, AnyLine)) {
        Scan.Seek(*Offset);
        TRecordTaker(Scan, Lines, 0).Take(IsUsableSingle);
    }
}

void ReadQuestion(TDataScan& Scan, TRecordLines& Lines, bool StripPrefixes,
                  std::string_view FileDescription, TRandomSource& Random) {
    const TLineMarks Marks = CountDataLines(Scan, IsQuestion);
    if (Marks.Count() == 0) {
        return;
    }
    const std::uint32_t Index = Random.RandomInt(Scan.Range(Marks.Count()));
    const auto Offset = FindDataLine(Scan, Marks, Index, IsQuestion);
    if (!Offset) {
        return;
    }
    Scan.Seek(*Offset);
    TRecordTaker Taker(Scan, Lines, StripPrefixes ? 3 : 0);
    if (!Taker.Take(IsQuestion)) {
        return; // the file changed between the scans
    }
    while (Taker.Take(IsAnswer)) {
    }
    if (Lines.size() == 1 && !FileDescription.empty()) {
        Lines.push_back((StripPrefixes ? "" : "A: ") + std::string(FileDescription));
    }
}

void ReadBlock(TDataScan& Scan, TRecordLines& Lines, TRandomSource& Random) {
    const TLineMarks Marks = CountDataLines(Scan, IsBlockStart);
    if (Marks.Count() == 0) {
        return;
    }
    const std::uint32_t Index = Random.RandomInt(Scan.Range(Marks.Count()));
    const auto Offset = FindDataLine(Scan, Marks, Index, IsBlockStart);
    if (!Offset) {
        return;
    }
    Scan.Seek(*Offset);
    Scan.Skip(); // the "<START>" line
    TRecordTaker Taker(Scan, Lines, 0);
    while (Taker.Take([](std::string_view Start) { return !IsBlockEnd(Start); })) {
    }
}

} // namespace

TRecordHeader ReadRecordHeader(const std::string& FileName) {
    std::vector<std::string> Values =
        GetPrivateProfileStrings("Header", {"Format", "Description"}, FileName);
    return {UpperCase(Values[0]), std::move(Values[1])};
}

std::string ReadDescription(const std::string& FileName) {
    return ReadRecordHeader(FileName).Description;
}

void ReadRecord(const std::string& FileName, const TRecordHeader& Header, TRecordLines& Lines,
                bool StripPrefixes, TRandomSource& Random) {
    Lines.clear();
    const std::string& Format = Header.Format;
    if (Format != "SINGLE" && Format != "Q&A" && Format != "ML") {
        return; // empty or unknown: no records
    }
    if (!FileExists(FileName)) {
        return;
    }
    TDataScan Scan(FileName);
    if (!Scan.Start()) {
        return;
    }
    if (Format == "SINGLE") {
        ReadSingle(Scan, Lines, Random);
    } else if (Format == "Q&A") {
        ReadQuestion(Scan, Lines, StripPrefixes, Header.Description, Random);
    } else {
        ReadBlock(Scan, Lines, Random);
    }
}
