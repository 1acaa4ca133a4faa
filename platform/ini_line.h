#pragma once

#include <string_view>

// How a private-profile (INI) file's line reads: blank, a comment (";" first), a section header
// ("[Name]"), a key line ("Key=Value") or anything else, which carries nothing.
enum class TIniLineKind { Blank, Comment, Section, Key, Other };

// A classified line. Name is the section name or the key, Value the key's value, both without
// the blanks around them.
struct TIniLine {
    TIniLineKind Kind = TIniLineKind::Blank;
    std::string_view Name;
    std::string_view Value;
};

// Classifies one line (without its line end). A section name runs from "[" to the first "]",
// or to the end of the line when there is none; a key ends at the first "=". Lines with an
// empty key are of kind Other.
TIniLine ParseIniLine(std::string_view Line);
