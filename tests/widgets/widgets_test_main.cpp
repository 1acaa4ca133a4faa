// Entry of test programs that need Qt's widgets: a QApplication on the offscreen platform unless
// another platform is asked for, with Qt's own settings in a scratch folder.

#include "tests/support/scratch_config_home.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    UseScratchConfigHome();
    const QApplication App(argc, argv);
    return RUN_ALL_TESTS();
}
