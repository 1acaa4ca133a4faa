#pragma once

#include "app/install/program_places.h"
#include "tests/app/fixed_clock.h"
#include "tests/platform/test_files.h"

#include <chrono>
#include <filesystem>
#include <string>

// The logo program's places in a scratch folder, with the clock fixed at 10:00: Dir / "program"
// holds the settings file "vespera.INI", the backups and the record files, Dir / "windows" the
// logo files.
class TScratchProgram {
public:
    TScratchProgram() {
        std::filesystem::create_directories(Dir / "program");
        std::filesystem::create_directories(Dir / "windows");
        Places.ProgramFile = Dir / "program/vespera";
        Places.ProgramDir = Dir / "program/";
        Places.WindowsDir = Dir / "windows/";
    }

    void WriteSettings(const std::string& Text) const {
        WriteFile(Dir / "program/vespera.INI", Text);
    }
    std::string Settings() const { return ReadFile(Dir / "program/vespera.INI"); }

    TTempDir Dir;
    TFixedClock Clock{std::chrono::hours(10)};
    TProgramPlaces Places;
};
