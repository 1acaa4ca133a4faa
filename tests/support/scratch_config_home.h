#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// Points the per-user configuration folder (XDG_CONFIG_HOME) at a folder of this test program's
// run, removed when it ends. Qt keeps its own settings there (the file dialog's columns, folders
// and view, the colour dialog's custom colours), so tests neither see what earlier runs left
// nor change the user's. Called before the application object exists.
inline void UseScratchConfigHome() {
    struct TScratchFolder {
        std::string Path =
            (std::filesystem::temp_directory_path() / "vespera-config-XXXXXX").string();
        bool Made = ::mkdtemp(Path.data()) != nullptr;
        TScratchFolder() {
            if (Made) {
                ::setenv("XDG_CONFIG_HOME", Path.c_str(), 1);
            }
        }
        ~TScratchFolder() {
            if (Made) {
                std::error_code Ignored;
                std::filesystem::remove_all(Path, Ignored);
            }
        }
    };
    static const TScratchFolder Folder;
}
