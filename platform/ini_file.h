#pragma once

#include "core/object.h"
#include "platform/private_profile.h"

#include <string>
#include <string_view>
#include <utility>

// Typed access to one private-profile (INI) file, key by key. Texts come back with at most 1023
// characters; integers (colours too) are written as signed decimal and read by IniStrToInt's
// rules; Booleans are written "0" or "1" and read as integers, any value but 0 being true. A
// missing file, section or key, or a value that is not a number, reads as the default; a failed
// write raises EIniFileException "Unable to write to <file>".
class TIniFile : public TObject {
public:
    explicit TIniFile(std::string FileName) : FFileName(std::move(FileName)) {}

    const std::string& FileName() const { return FFileName; }

    std::string ReadString(std::string_view Section, std::string_view Key,
                           std::string_view Default) const;
    int ReadInteger(std::string_view Section, std::string_view Key, int Default) const;
    bool ReadBool(std::string_view Section, std::string_view Key, bool Default) const;

    void WriteString(std::string_view Section, std::string_view Key, std::string_view Value);
    void WriteInteger(std::string_view Section, std::string_view Key, int Value);
    void WriteBool(std::string_view Section, std::string_view Key, bool Value);

    // A section the program keeps to itself, read and written whole (see
    // GetPrivateProfileSection and WritePrivateProfileSection); empty Entries remove it.
    std::vector<TProfileEntry> ReadSection(std::string_view Section) const;
    void WriteSection(std::string_view Section, const std::vector<TProfileEntry>& Entries);

private:
    std::string FFileName;
};
