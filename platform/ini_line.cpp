#include "platform/ini_line.h"

#include "platform/ascii_text.h"

TIniLine ParseIniLine(std::string_view Line) {
    TIniLine Result;
    const std::string_view Text = TrimBlanks(Line);
    if (Text.empty()) {
        return Result;
    }
    if (Text.front() == ';') {
        Result.Kind = TIniLineKind::Comment;
        return Result;
    }
    if (Text.front() == '[') {
        const std::string_view Rest = Text.substr(1);
        Result.Kind = TIniLineKind::Section;
        Result.Name = TrimBlanks(Rest.substr(0, Rest.find(']')));
        return Result;
    }
    const std::size_t Equals = Text.find('=');
    if (Equals == std::string_view::npos || TrimBlanks(Text.substr(0, Equals)).empty()) {
        Result.Kind = TIniLineKind::Other;
        return Result;
    }
    Result.Kind = TIniLineKind::Key;
    Result.Name = TrimBlanks(Text.substr(0, Equals));
    Result.Value = TrimBlanks(Text.substr(Equals + 1));
    return Result;
}
