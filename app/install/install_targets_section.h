#pragma once

class TIniFile;
class TInstallTargetList;

// The install targets in the settings file, a section of the program's own that the other
// sections' keys never touch:
//
//   [Install Targets]
//   Target1=/home/me/vms/win98.img::
//   Target2=/mnt/win95/WINDOWS
//
// The keys "Target1", "Target2", ... hold the targets in their order (gaps in the numbers do not
// count; other keys are ignored). A file without the section, or with none of these keys, means
// automatic.
inline constexpr const char* kInstallTargetsSection = "Install Targets";

// Reads the targets of File into Targets.
void LoadInstallTargets(TInstallTargetList& Targets, const TIniFile& File);

// Writes Targets as the whole section, numbered from 1; an automatic (empty) list removes the
// section, so that such a file holds nothing of it. Raises "Unable to write to <file>" as the
// other settings do.
void SaveInstallTargets(const TInstallTargetList& Targets, TIniFile& File);
