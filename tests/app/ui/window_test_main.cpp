// Entry of the settings window's tests: the program's own application object (with its default
// error handler) on the offscreen platform unless another platform is asked for.

#include "app/ui/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TVesperaApplication App(argc, argv);
    return RUN_ALL_TESTS();
}
