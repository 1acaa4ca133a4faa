#pragma once

#include "tests/platform/test_files.h"

#include <filesystem>
#include <string>

// A copy of the vespera program in Dir / "program", beside the sample record file, so that its
// program folder (settings, backups, record files) is a scratch folder of the test.
class TVesperaProgram {
public:
    explicit TVesperaProgram(const TTempDir& Dir) : FPath(Dir / "program/vespera") {
        std::filesystem::create_directories(Dir / "program");
        const std::filesystem::path Built(VESPERA_PATH);
        std::filesystem::copy_file(Built, FPath);
        std::filesystem::copy_file(Built.parent_path() / "vespera.txt",
                                   Dir / "program/vespera.txt");
    }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};
