#pragma once

#include <string>

// Where the program finds and keeps its files.
struct TProgramPlaces {
    std::string ProgramFile; // full path of the program file
    std::string ProgramDir;  // settings, backups and record files; with its trailing "/"
    std::string WindowsDir;  // the Windows folder found here; with its trailing "/"
    // $VESPERA_WINDIR: the one install target of every run, when set.
    std::string ForcedTarget;

    // The settings file: the program folder + the program file's name with the ending ".INI".
    std::string SettingsFile() const;

    // The record file that TextFileName names: taken as it stands when it is absolute or names
    // a file relative to the current folder; else, when the program folder holds a file of that
    // relative name, that one (a desktop starts programs in the home folder). Empty stays empty.
    std::string RecordFilePath(const std::string& TextFileName) const;
};

// The places of the running program, as the platform reports them. The Windows folder is not
// looked for when $VESPERA_WINDIR names the install target.
TProgramPlaces RunningProgramPlaces();

// Name of the sample record file shipped with the program.
inline constexpr const char* kSampleRecordFile = "vespera.txt";

// When the program folder is not the program file's own (an installed program keeps its files
// in the user's configuration folder), copies the installed sample record file
// (share/vespera/vespera.txt beside the program's bin folder) there, unless it holds one. A
// copy that fails is passed over: the program starts without the sample.
void ProvideSampleRecordFile(const TProgramPlaces& Places);
