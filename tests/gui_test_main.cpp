// Entry of test programs that need Qt's GUI classes (fonts, painting): a QGuiApplication on the
// offscreen platform unless another platform is asked for.

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QGuiApplication App(argc, argv);
    return RUN_ALL_TESTS();
}
