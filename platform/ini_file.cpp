#include "platform/ini_file.h"

#include "platform/ini_value.h"
#include "platform/private_profile.h"

std::string TIniFile::ReadString(std::string_view Section, std::string_view Key,
                                 std::string_view Default) const {
    return GetPrivateProfileString(Section, Key, Default, FFileName);
}

int TIniFile::ReadInteger(std::string_view Section, std::string_view Key, int Default) const {
    return IniStrToInt(ReadString(Section, Key, ""), Default);
}

bool TIniFile::ReadBool(std::string_view Section, std::string_view Key, bool Default) const {
    return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view Section, std::string_view Key, std::string_view Value) {
    WritePrivateProfileString(Section, Key, Value, FFileName);
}

void TIniFile::WriteInteger(std::string_view Section, std::string_view Key, int Value) {
    WriteString(Section, Key, std::to_string(Value));
}

void TIniFile::WriteBool(std::string_view Section, std::string_view Key, bool Value) {
    WriteString(Section, Key, Value ? "1" : "0");
}

std::vector<TProfileEntry> TIniFile::ReadSection(std::string_view Section) const {
    return GetPrivateProfileSection(Section, FFileName);
}

void TIniFile::WriteSection(std::string_view Section, const std::vector<TProfileEntry>& Entries) {
    WritePrivateProfileSection(Section, Entries, FFileName);
}
