#pragma once

#include "core/exception.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Private-profile (INI) files, key by key: section names in square brackets, then one
// "Key=Value" line per key. Sections and keys match without regard to case, blanks around
// names and values do not count, lines starting with ";" are comments and lines of any other
// form are ignored. When a section or key occurs more than once, the first key in file order
// among the sections of that name is the one read and written. Every call reads the file anew.

// A value could not be written to a settings file: "Unable to write to <file>", with the failure
// of the file, when there was one, nested in it.
class EIniFileException : public Exception {
public:
    explicit EIniFileException(const std::string& FileName);
};

// Longest text a read returns, in bytes: values are read through a buffer of 1024 characters.
constexpr std::size_t kProfileStringMax = 1023;

// The value of Key in Section of FileName, or Default when the file cannot be read or has no
// such key; either is cut to kProfileStringMax bytes (never inside a UTF-8 sequence).
std::string GetPrivateProfileString(std::string_view Section, std::string_view Key,
                                    std::string_view Default, const std::string& FileName);

// The values of Keys in Section of FileName as GetPrivateProfileString gives them with an empty
// default, all taken in one pass over the file.
std::vector<std::string> GetPrivateProfileStrings(std::string_view Section,
                                                  const std::vector<std::string_view>& Keys,
                                                  const std::string& FileName);

// Sets Key in Section of FileName to Value, keeping every other line of the file as it is. A
// missing file or section is created, a new key goes after the section's last line. Line breaks
// in the texts are written as blanks, so a value can never start a line of its own. The file is
// replaced in one step (RewriteWholeFile), so a write cut short leaves the old file whole.
// Raises EIniFileException when the file cannot be read back or written, or Section or Key is
// empty.
void WritePrivateProfileString(std::string_view Section, std::string_view Key,
                               std::string_view Value, const std::string& FileName);

// One "Key=Value" line of a section.
using TProfileEntry = std::pair<std::string, std::string>;

// The keys of Section of FileName with their values, in file order, gathered from every section
// of that name; a key that occurs more than once is listed once, with its first value, as reads
// of single keys find it. Values are not cut to kProfileStringMax. Empty when the file cannot be
// read or has no such section.
std::vector<TProfileEntry> GetPrivateProfileSection(std::string_view Section,
                                                    const std::string& FileName);

// Makes Entries the whole contents of Section of FileName, for a section that the program keeps
// to itself: the first section of that name holds exactly these keys afterwards (its other lines
// go, comments too) and later sections of that name go altogether. A missing section is added as
// WritePrivateProfileString adds one. Empty Entries remove the section with its header and the
// blank lines that set it apart; when there is no such section, the file is not touched (nor
// created). Every other line stays as it is. Raises as WritePrivateProfileString.
void WritePrivateProfileSection(std::string_view Section, const std::vector<TProfileEntry>& Entries,
                                const std::string& FileName);
