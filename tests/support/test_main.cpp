// Test entry point: one QApplication for widget tests, settings isolated in a throw-away folder.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    // The program folder of the test binaries holds the shipped draw files and home folder;
    // a test gets an empty one unless it makes its own.
    QTemporaryDir programDir;
    if (qEnvironmentVariableIsEmpty("SIFMORA_DIR")) qputenv("SIFMORA_DIR", programDir.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
