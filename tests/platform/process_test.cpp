// Starting programs detached, the updater of the program folder, and the browser redirect.
#include "platform/process.h"

#include "testsupport.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

namespace {

void WriteScript(const testsupport::ProgramDir& dir, const QString& name, const QByteArray& body) {
    dir.write(name, "#!/bin/sh\n" + body);
    QFile(dir.file(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Waits for a file written by a detached program.
QByteArray WaitForFile(const QString& path) {
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = f.readAll();
            if (bytes.endsWith('\n')) return bytes;
        }
        QThread::msleep(20);
    }
    return {};
}

}  // namespace

#ifdef Q_OS_UNIX
TEST(ProcessTest, StartsUpdaterWithoutArgumentsInProgramFolder) {
    testsupport::ProgramDir dir;
    WriteScript(dir, "update", "echo \"args=$# cwd=$(pwd -P)\" > \"$SIFMORA_DIR/ran.txt\"\n");
    EXPECT_EQ(platform::UpdaterPath(), dir.file("update"));
    QString error;
    ASSERT_TRUE(platform::StartUpdater(&error)) << error.toStdString();
    const QString expected = "args=0 cwd=" + QFileInfo(dir.path()).canonicalFilePath() + "\n";
    EXPECT_EQ(WaitForFile(dir.file("ran.txt")), expected.toUtf8());
}

// The calculator is the first of the known ones on PATH; a PATH without one gives a message.
TEST(ProcessTest, CalculatorIsTheFirstKnownOneOnPath) {
    testsupport::ProgramDir dir;
    WriteScript(dir, "xcalc", "echo xcalc > \"$SIFMORA_DIR/calc.txt\"\n");
    WriteScript(dir, "galculator", "echo \"galculator $#\" > \"$SIFMORA_DIR/calc.txt\"\n");
    dir.write("gnome-calculator", "not a program");  // not executable: skipped
    {
        testsupport::EnvVar path("PATH", dir.path());
        QString error;
        ASSERT_TRUE(platform::StartCalculator(&error)) << error.toStdString();
    }
    EXPECT_EQ(WaitForFile(dir.file("calc.txt")), QByteArray("galculator 0\n"));

    testsupport::EnvVar path("PATH", QString(""));
    QString error;
    EXPECT_FALSE(platform::StartCalculator(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("没有找到计算器"))) << error.toStdString();
    for (const QString& name : platform::CalculatorPrograms()) EXPECT_TRUE(error.contains(name));
}

TEST(ProcessTest, StartProgramPassesArguments) {
    testsupport::ProgramDir dir;
    WriteScript(dir, "tool", "echo \"$1|$2\" > \"$SIFMORA_DIR/out.txt\"\n");
    ASSERT_TRUE(platform::StartProgram(dir.file("tool"), {"a b", "c"}));
    EXPECT_EQ(WaitForFile(dir.file("out.txt")), QByteArray("a b|c\n"));
}
#endif

TEST(ProcessTest, MissingOrNonProgramFailsWithMessage) {
    testsupport::ProgramDir dir;
    QString error;
    EXPECT_FALSE(platform::StartUpdater(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("找不到程序"))) << error.toStdString();
    dir.write("update", "plain text");
    QFile(dir.file("update")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    error.clear();
    EXPECT_FALSE(platform::StartUpdater(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("不是可执行的程序"))) << error.toStdString();
}

TEST(ProcessTest, BrowserLogRecordsAddress) {
    testsupport::ProgramDir dir;
    qputenv("SIFMORA_BROWSER_LOG", dir.file("browser.log").toLocal8Bit());
    EXPECT_TRUE(platform::OpenInBrowser("http://127.0.0.1:1/download/down.htm"));
    EXPECT_TRUE(platform::OpenInBrowser("http://x/y"));
    qunsetenv("SIFMORA_BROWSER_LOG");
    EXPECT_EQ(dir.read("browser.log"), QByteArray("http://127.0.0.1:1/download/down.htm\nhttp://x/y\n"));
}

#ifdef Q_OS_UNIX
// The calculator speaks Chinese when the machine has a Chinese locale.
TEST(ProcessTest, CalculatorStartsInAChineseLocale) {
    const QString locale = platform::ChineseLocaleName();
    if (locale.isEmpty()) GTEST_SKIP() << "no Chinese locale installed (locale -a): the calculator keeps the user's";
    EXPECT_TRUE(locale.startsWith(QStringLiteral("zh_"))) << locale.toStdString();
    testsupport::ProgramDir dir;
    WriteScript(dir, "galculator", "echo \"$LC_ALL $LANGUAGE\" > \"$SIFMORA_DIR/calc.txt\"\n");
    testsupport::EnvVar path("PATH", dir.path());
    QString error;
    ASSERT_TRUE(platform::StartCalculator(&error)) << error.toStdString();
    EXPECT_EQ(WaitForFile(dir.file("calc.txt")), (locale + " zh_CN:zh\n").toUtf8());
}
#endif
