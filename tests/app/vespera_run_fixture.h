#pragma once

#include "tests/app/vespera_program.h"
#include "tests/platform/test_files.h"
#include "tests/support/environment.h"

#include <gtest/gtest.h>

// The vespera program run as the start-up link runs it, in a scratch program folder (a copy of
// the program) with a scratch Windows folder Dir / "windows", a fixed clock and no display.
class VesperaRunTest : public testing::Test {
protected:
    VesperaRunTest() : Program(Dir) {
        std::filesystem::create_directories(Dir / "windows");
        Env.Set("VESPERA_WINDIR", Dir / "windows");
        Env.Set("VESPERA_CLOCK", "1003999999123");
        Env.Set("HOME", Dir / "home");
        Env.Set("XDG_RUNTIME_DIR", std::nullopt);
        for (const char* Name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            Env.Set(Name, std::nullopt); // no display: the program finds its way alone
        }
    }

    TTempDir Dir;
    TEnvironment Env;
    TVesperaProgram Program;
};
