#include "platform/private_profile.h"

#include "core/stream.h"
#include "platform/ascii_text.h"
#include "platform/ini_line.h"
#include "platform/line_reader.h"
#include "platform/utf8_prefix.h"
#include "platform/whole_file.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

EIniFileException::EIniFileException(const std::string& FileName)
    : Exception("Unable to write to " + FileName) {}

namespace {

// Lines longer than this are only looked at up to here: enough for any key and a value of the
// longest length that comes back, and memory stays small on a file of huge lines.
constexpr std::size_t kLineKeep = 64 * 1024;

std::string CutProfileString(std::string_view S) {
    return std::string(Utf8Prefix(S, kProfileStringMax));
}

// Calls Visit with each key line of the sections of FileName named Section, in file order, until
// it returns false. A file that cannot be opened or read raises EReadError.
template <typename TVisit>
void VisitSectionKeys(std::string_view Section, const std::string& FileName, TVisit Visit) {
    TLineReader Reader;
    Reader.Open(FileName);
    Reader.SetKeepLimit(kLineKeep);
    bool InSection = false;
    TTextLine Line;
    while (Reader.Next(Line)) {
        const TIniLine Parsed = ParseIniLine(Line.Text);
        if (Parsed.Kind == TIniLineKind::Section) {
            InSection = SameText(Parsed.Name, Section);
        } else if (InSection && Parsed.Kind == TIniLineKind::Key && !Visit(Parsed)) {
            return;
        }
    }
}

// The values of Keys in the sections of FileName named Section, in one pass over the file.
std::vector<std::optional<std::string>> FindValues(std::string_view Section,
                                                   const std::vector<std::string_view>& Keys,
                                                   const std::string& FileName) {
    std::vector<std::optional<std::string>> Found(Keys.size());
    std::size_t Missing = Keys.size();
    VisitSectionKeys(Section, FileName, [&](const TIniLine& Parsed) {
        for (std::size_t I = 0; I < Keys.size(); ++I) {
            if (!Found[I] && SameText(Parsed.Name, Keys[I])) {
                Found[I] = CutProfileString(Parsed.Value);
                --Missing;
            }
        }
        return Missing > 0;
    });
    return Found;
}

// One line of a file as it stands: its text and its line end (empty on a last line without one).
struct TRawLine {
    std::string_view Text;
    std::string_view End;
};

std::vector<TRawLine> SplitRawLines(std::string_view Content) {
    std::vector<TRawLine> Lines;
    std::size_t Pos = 0;
    while (Pos < Content.size()) {
        const std::size_t Stop = Content.find_first_of("\r\n", Pos);
        if (Stop == std::string_view::npos) {
            Lines.push_back({Content.substr(Pos), {}});
            break;
        }
        const std::size_t EndSize =
            Content[Stop] == '\r' && Stop + 1 < Content.size() && Content[Stop + 1] == '\n' ? 2 : 1;
        Lines.push_back({Content.substr(Pos, Stop - Pos), Content.substr(Stop, EndSize)});
        Pos = Stop + EndSize;
    }
    return Lines;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Line I of Lines classified, without a byte-order mark in front of the first.
TIniLine ParseRawLine(const std::vector<TRawLine>& Lines, std::size_t I) {
    std::string_view Text = Lines[I].Text;
    if (I == 0 && StartsWith(Text, kByteOrderMark)) {
        Text.remove_prefix(kByteOrderMark.size());
    }
    return ParseIniLine(Text);
}

// The file's own line end, which new lines take.
std::string_view FileNewLine(const std::vector<TRawLine>& Lines) {
    for (const TRawLine& Line : Lines) {
        if (!Line.End.empty()) {
            return Line.End;
        }
    }
    return "\n";
}

// A whole file as it stands, for rewriting it.
struct TFileLines {
    std::string Content;
    std::vector<TRawLine> Lines; // pointing into Content
    std::string_view NewLine;    // FileNewLine
};

// The file FileName into File, an absent one as empty; raises EFOpenError when it exists but
// cannot be read.
void ReadFileLines(const std::string& FileName, TFileLines& File) {
    File.Content = ReadWholeFile(FileName, TAbsentFile::afReadsEmpty);
    File.Lines = SplitRawLines(File.Content);
    File.NewLine = FileNewLine(File.Lines);
}

// Where a section stands among the lines of a file, as line indexes.
struct TSectionSpan {
    std::size_t BlankBefore = 0; // the first of the blank lines right in front of the header
    std::size_t Header = 0;
    std::size_t BodyEnd = 0; // after the last line of the section that is not blank
    std::size_t End = 0;     // the next header, or the end of the file
};

// The sections of Lines named Section, in file order.
std::vector<TSectionSpan> SectionSpans(const std::vector<TRawLine>& Lines,
                                       std::string_view Section) {
    std::vector<TSectionSpan> Spans;
    std::size_t LastFilled = 0; // after the last line that is not blank
    bool InSection = false;
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        const TIniLine Parsed = ParseRawLine(Lines, I);
        if (Parsed.Kind == TIniLineKind::Section) {
            if (InSection) {
                Spans.back().End = I;
            }
            InSection = SameText(Parsed.Name, Section);
            if (InSection) {
                Spans.push_back({LastFilled, I, I + 1, Lines.size()});
            }
        }
        if (Parsed.Kind != TIniLineKind::Blank) {
            LastFilled = I + 1;
            if (InSection) {
                Spans.back().BodyEnd = I + 1;
            }
        }
    }
    return Spans;
}

// The line of the first Key in file order among the sections Spans.
std::optional<std::size_t> FindKeyLine(const std::vector<TRawLine>& Lines,
                                       const std::vector<TSectionSpan>& Spans,
                                       std::string_view Key) {
    for (const TSectionSpan& Span : Spans) {
        for (std::size_t I = Span.Header + 1; I < Span.End; ++I) {
            const TIniLine Parsed = ParseRawLine(Lines, I);
            if (Parsed.Kind == TIniLineKind::Key && SameText(Parsed.Name, Key)) {
                return I;
            }
        }
    }
    return std::nullopt;
}

std::string OneLine(std::string_view S) {
    std::string Result(S);
    for (char& C : Result) {
        if (C == '\r' || C == '\n') {
            C = ' ';
        }
    }
    return Result;
}

// The line that sets Key to Value.
std::string EntryLine(std::string_view Key, std::string_view Value) {
    return OneLine(Key) + "=" + OneLine(Value);
}

// Appends a new section holding the line Entry to Result, the text of Lines, set apart from
// what comes before by a blank line.
void AppendSection(std::string& Result, const std::vector<TRawLine>& Lines,
                   std::string_view NewLine, std::string_view Section, std::string_view Entry) {
    if (!Lines.empty()) {
        if (Lines.back().End.empty()) {
            Result += NewLine;
        }
        if (ParseIniLine(Lines.back().Text).Kind != TIniLineKind::Blank) {
            Result += NewLine;
        }
    }
    Result += '[';
    Result += OneLine(Section);
    Result += ']';
    Result += NewLine;
    Result += Entry;
    Result += NewLine;
}

// Raises EIniFileException for FileName, with the file failure being handled nested in it.
[[noreturn]] void RaiseWriteFailure(const std::string& FileName) {
    std::throw_with_nested(EIniFileException(FileName));
}

// WritePrivateProfileString once the names are known to be valid; a failure of the file raises
// its EFileError.
void SetKey(std::string_view Section, std::string_view Key, std::string_view Value,
            const std::string& FileName) {
    TFileLines File;
    ReadFileLines(FileName, File);
    const auto& [Content, Lines, NewLine] = File;

    // The key's line, in any section of that name; else a new key goes after the last line of
    // the first such section that is not blank.
    const std::vector<TSectionSpan> Spans = SectionSpans(Lines, Section);
    const std::optional<std::size_t> KeyLine = FindKeyLine(Lines, Spans, Key);
    // The line after which a new key goes; none when the section is to be appended.
    constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);
    const std::size_t InsertAfter = Spans.empty() ? kNoLine : Spans.front().BodyEnd - 1;

    const std::string Entry = EntryLine(Key, Value);
    std::string Result;
    Result.reserve(Content.size() + Entry.size() + Section.size() + 8);
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        if (KeyLine && *KeyLine == I) {
            Result += Entry;
            Result += Lines[I].End.empty() ? NewLine : Lines[I].End;
            continue;
        }
        Result += Lines[I].Text;
        Result += Lines[I].End;
        if (!KeyLine && InsertAfter == I) {
            if (Lines[I].End.empty()) {
                Result += NewLine;
            }
            Result += Entry;
            Result += NewLine;
        }
    }
    if (!KeyLine && InsertAfter == kNoLine) {
        AppendSection(Result, Lines, NewLine, Section, Entry);
    }
    RewriteWholeFile(FileName, Result);
}

// WritePrivateProfileSection once the names are known to be valid; a failure of the file raises
// its EFileError.
void SetSection(std::string_view Section, const std::vector<TProfileEntry>& Entries,
                const std::string& FileName) {
    TFileLines File;
    ReadFileLines(FileName, File);
    const auto& [Content, Lines, NewLine] = File;
    std::string Body;
    for (const auto& [Key, Value] : Entries) {
        Body += EntryLine(Key, Value);
        Body += NewLine;
    }
    const std::vector<TSectionSpan> Spans = SectionSpans(Lines, Section);
    if (Spans.empty()) {
        if (Entries.empty()) {
            return;
        }
        std::string Result(Content);
        AppendSection(Result, Lines, NewLine, Section,
                      Body.substr(0, Body.size() - NewLine.size()));
        RewriteWholeFile(FileName, Result);
        return;
    }

    // Which lines go: every span but the first one's header when Entries stay; a span's blank
    // lines in front of it go with it, and so do those after it when nothing comes before it.
    std::vector<bool> Drop(Lines.size(), false);
    for (std::size_t S = 0; S < Spans.size(); ++S) {
        const TSectionSpan& Span = Spans[S];
        const bool Keep = S == 0 && !Entries.empty();
        const std::size_t From = Keep ? Span.Header + 1 : Span.BlankBefore;
        const std::size_t To = !Keep && Span.BlankBefore == 0 ? Span.End : Span.BodyEnd;
        for (std::size_t I = From; I < To; ++I) {
            Drop[I] = true;
        }
    }
    std::string Result;
    Result.reserve(Content.size() + Body.size());
    if (Drop[0] && StartsWith(Lines[0].Text, kByteOrderMark)) {
        Result += kByteOrderMark;
    }
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        if (!Drop[I]) {
            Result += Lines[I].Text;
            Result += Lines[I].End;
        }
        if (!Entries.empty() && I == Spans.front().Header) {
            if (Lines[I].End.empty()) {
                Result += NewLine;
            }
            Result += Body;
        }
    }
    RewriteWholeFile(FileName, Result);
}

} // namespace

std::string GetPrivateProfileString(std::string_view Section, std::string_view Key,
                                    std::string_view Default, const std::string& FileName) {
    try {
        if (auto Value = std::move(FindValues(Section, {Key}, FileName).front())) {
            return *Value;
        }
    } catch (const EReadError&) {
        // A file that cannot be opened or read gives the default.
    }
    return CutProfileString(Default);
}

std::vector<std::string> GetPrivateProfileStrings(std::string_view Section,
                                                  const std::vector<std::string_view>& Keys,
                                                  const std::string& FileName) {
    std::vector<std::string> Values(Keys.size());
    try {
        auto Found = FindValues(Section, Keys, FileName);
        for (std::size_t I = 0; I < Keys.size(); ++I) {
            if (Found[I]) {
                Values[I] = std::move(*Found[I]);
            }
        }
    } catch (const EReadError&) {
        // As GetPrivateProfileString: a file that cannot be opened or read gives no values.
    }
    return Values;
}

void WritePrivateProfileString(std::string_view Section, std::string_view Key,
                               std::string_view Value, const std::string& FileName) {
    if (Section.empty() || Key.empty()) {
        throw EIniFileException(FileName);
    }
    try {
        SetKey(Section, Key, Value, FileName);
    } catch (const EFileError&) {
        RaiseWriteFailure(FileName);
    }
}

std::vector<TProfileEntry> GetPrivateProfileSection(std::string_view Section,
                                                    const std::string& FileName) {
    std::vector<TProfileEntry> Entries;
    try {
        VisitSectionKeys(Section, FileName, [&Entries](const TIniLine& Parsed) {
            if (std::none_of(Entries.begin(), Entries.end(), [&](const TProfileEntry& E) {
                    return SameText(E.first, Parsed.Name);
                })) {
                Entries.emplace_back(Parsed.Name, Parsed.Value);
            }
            return true;
        });
    } catch (const EReadError&) {
        Entries.clear(); // as a file that cannot be read at all
    }
    return Entries;
}

void WritePrivateProfileSection(std::string_view Section, const std::vector<TProfileEntry>& Entries,
                                const std::string& FileName) {
    if (Section.empty() || std::any_of(Entries.begin(), Entries.end(),
                                       [](const TProfileEntry& E) { return E.first.empty(); })) {
        throw EIniFileException(FileName);
    }
    try {
        SetSection(Section, Entries, FileName);
    } catch (const EFileError&) {
        RaiseWriteFailure(FileName);
    }
}
