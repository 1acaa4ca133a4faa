// Entry of the settings window's tests: the program's own application object (with its default
// error handler) on the offscreen platform unless another platform is asked for, with Qt's own
// settings in a scratch folder.

#include "app/ui/application.h"
#include "tests/support/scratch_config_home.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    UseScratchConfigHome();
    TVesperaApplication App(argc, argv);
    return RUN_ALL_TESTS();
}
