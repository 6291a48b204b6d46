#pragma once
// The tests' entry point, for a QApplication (window tests) or a QCoreApplication (engine
// tests): offscreen, settings isolated in a throw-away folder.
#include <QTemporaryDir>
#include <QtGlobal>
#include <gtest/gtest.h>

namespace testsupport {

template <class Application>
int RunAllTests(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    // The program folder of the test binaries holds the shipped draw files and home folder;
    // a test gets an empty one unless it makes its own.
    QTemporaryDir programDir;
    if (qEnvironmentVariableIsEmpty("SIFMORA_DIR")) qputenv("SIFMORA_DIR", programDir.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace testsupport
