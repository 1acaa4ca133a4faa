#pragma once

class TIniFile;
class TSettingsModel;

// The settings file: section "General" and one section per logo, "First Logo" and "Last Logo";
// after them the install targets (install_targets_section.h) and the program's own section
// "Preview" ("AsInstalled").

// Reads every key into Settings in the file's fixed order, one value at a time, so that each
// change is reported as it is read: "General" ("TextFile" first, so that a record can be chosen
// when a default text changes, then "Only One"), then each logo's section, then the install
// targets and "Preview". A missing file, key or number gives the default. The single-logo check
// boxes are not touched: the caller sets them from OnlyOne once loading is over.
void LoadSettings(TSettingsModel& Settings, const TIniFile& File);

// Writes every value in the fixed order that new files show: "General", "First Logo", "Last
// Logo", then the install targets, and "Preview" once one of its values was other than its
// default. "Only One" is 0, 1 when only the first logo is made, 2 when only the second is; it is
// also stored as OnlyOne. A value that cannot be written raises "Unable to write to <file>"
// (EIniFileException) and the keys after it stay unwritten.
void SaveSettings(TSettingsModel& Settings, TIniFile& File);
