#include "platform/private_profile.h"

#include "platform/ascii_text.h"
#include "platform/ini_line.h"
#include "platform/line_reader.h"
#include "platform/whole_file.h"

#include <optional>
#include <vector>

namespace {

// Lines longer than this are only looked at up to here: enough for any key and a value of the
// longest length that comes back, and memory stays small on a file of huge lines.
constexpr std::size_t kLineKeep = 64 * 1024;

std::string CutProfileString(std::string_view S) {
    if (S.size() <= kProfileStringMax) {
        return std::string(S);
    }
    std::size_t Cut = kProfileStringMax;
    const auto Byte = [&S](std::size_t I) { return static_cast<unsigned char>(S[I]); };
    if ((Byte(Cut) & 0xC0) == 0x80) {
        // The cut falls on a continuation byte: drop the incomplete UTF-8 sequence before it.
        std::size_t I = Cut;
        while (I > 0 && Cut - I < 3 && (Byte(I - 1) & 0xC0) == 0x80) {
            --I;
        }
        if (I > 0 && Byte(I - 1) >= 0xC0) {
            Cut = I - 1;
        }
    }
    return std::string(S.substr(0, Cut));
}

std::optional<std::string> FindValue(std::string_view Section, std::string_view Key,
                                     const std::string& FileName) {
    TLineReader Reader;
    if (!Reader.Open(FileName)) {
        return std::nullopt;
    }
    Reader.SetKeepLimit(kLineKeep);
    bool InSection = false;
    TTextLine Line;
    while (Reader.Next(Line)) {
        const TIniLine Parsed = ParseIniLine(Line.Text);
        if (Parsed.Kind == TIniLineKind::Section) {
            InSection = SameText(Parsed.Name, Section);
        } else if (InSection && Parsed.Kind == TIniLineKind::Key && SameText(Parsed.Name, Key)) {
            return CutProfileString(Parsed.Value);
        }
    }
    return std::nullopt;
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

std::string OneLine(std::string_view S) {
    std::string Result(S);
    for (char& C : Result) {
        if (C == '\r' || C == '\n') {
            C = ' ';
        }
    }
    return Result;
}

} // namespace

std::string GetPrivateProfileString(std::string_view Section, std::string_view Key,
                                    std::string_view Default, const std::string& FileName) {
    try {
        if (auto Value = FindValue(Section, Key, FileName)) {
            return *Value;
        }
    } catch (const EReadError&) {
        // A file that fails while being read gives the default, as a missing one does.
    }
    return CutProfileString(Default);
}

bool WritePrivateProfileString(std::string_view Section, std::string_view Key,
                               std::string_view Value, const std::string& FileName) {
    if (Section.empty() || Key.empty()) {
        return false;
    }
    std::string Content;
    if (!ReadWholeFile(FileName, Content)) {
        return false;
    }
    const std::vector<TRawLine> Lines = SplitRawLines(Content);

    // New lines take the file's own line end.
    std::string_view NewLine = "\n";
    for (const TRawLine& Line : Lines) {
        if (!Line.End.empty()) {
            NewLine = Line.End;
            break;
        }
    }

    std::optional<std::size_t> KeyLine;     // the key's line, in any section of that name
    std::optional<std::size_t> SectionLine; // the first section header of that name
    std::size_t InsertAfter = 0;            // last non-blank line of that first section
    bool InSection = false, InFirstSection = false;
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        std::string_view Text = Lines[I].Text;
        if (I == 0 && StartsWith(Text, "\xEF\xBB\xBF")) {
            Text.remove_prefix(3);
        }
        const TIniLine Parsed = ParseIniLine(Text);
        if (Parsed.Kind == TIniLineKind::Section) {
            InSection = SameText(Parsed.Name, Section);
            InFirstSection = InSection && !SectionLine;
            if (InFirstSection) {
                SectionLine = I;
            }
        } else if (InSection && !KeyLine && Parsed.Kind == TIniLineKind::Key &&
                   SameText(Parsed.Name, Key)) {
            KeyLine = I;
        }
        if (InFirstSection && Parsed.Kind != TIniLineKind::Blank) {
            InsertAfter = I;
        }
    }

    const std::string Entry = OneLine(Key) + "=" + OneLine(Value);
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
        if (!KeyLine && SectionLine && InsertAfter == I) {
            if (Lines[I].End.empty()) {
                Result += NewLine;
            }
            Result += Entry;
            Result += NewLine;
        }
    }
    if (!KeyLine && !SectionLine) {
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
    return RewriteWholeFile(FileName, Result);
}
