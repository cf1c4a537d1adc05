#include <QApplication>
#include <gtest/gtest.h>

// Window tests share one application object and run offscreen, also when CTest lists them.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("treadkey-setup"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
