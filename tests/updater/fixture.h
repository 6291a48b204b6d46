#pragma once
// A program folder with a stand-in main program "Sifmora" and its version log, a local home
// server, and the logs through which the stand-in, the message boxes and the browser are seen.
#include "httpserver.h"
#include "platform/closerequest.h"
#include "platform/process.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <signal.h>

class UpdaterFixture : public ::testing::Test {
protected:
    static constexpr char kOldLog[] = "5\r\nhttp://127.0.0.1:1/old/3Dbak.exe\r\n";

    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        QFile fake(QStringLiteral(FAKE_SIFMORA_EXE));
        ASSERT_TRUE(fake.open(QIODevice::ReadOnly));
        oldProgram = fake.readAll();
        newProgram = oldProgram + "SIFMORA-NEW-0007";
        dir.write("Sifmora", oldProgram);
        QFile(dir.file("Sifmora")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        dir.write("updatelog.txt", kOldLog);
        qputenv("SIFMORA_FAKE_LOG", logFile("fake.log").toLocal8Bit());
        qputenv("SIFMORA_NOTIFY_LOG", logFile("notify.log").toLocal8Bit());
        qputenv("SIFMORA_BROWSER_LOG", logFile("browser.log").toLocal8Bit());
        qputenv("SIFMORA_HOME_URL", server.baseUrl().toUtf8());
        qputenv("SIFMORA_UPDATE_START_DELAY_MS", "10");
        qputenv("SIFMORA_UPDATE_SWAP_DELAY_MS", "50");
        qputenv("SIFMORA_UPDATE_CLOSE_TIMEOUT_MS", "20000");
        qputenv("SIFMORA_UPDATE_CLOSE_PAUSE_MS", "50");
        server.serve("/files/3Dbak.exe", newProgram);
    }

    void TearDown() override {
        QFile::remove(dir.file("refuse.flag"));
        for (const QString& line : fakeEvents())
            if (line.startsWith("started ")) ::kill(line.section(' ', 2, 2).toInt(), SIGKILL);
        // A copy started too late to be in the log yet still answers its endpoint.
        for (int i = 0; i < 50 && platform::IsInstanceRunning("Sifmora"); ++i) {
            platform::SendCloseRequest("Sifmora", 500);
            QThread::msleep(50);
        }
        for (const char* name : {"SIFMORA_FAKE_LOG", "SIFMORA_NOTIFY_LOG", "SIFMORA_BROWSER_LOG", "SIFMORA_HOME_URL",
                                 "SIFMORA_UPDATE_START_DELAY_MS", "SIFMORA_UPDATE_SWAP_DELAY_MS",
                                 "SIFMORA_UPDATE_CLOSE_TIMEOUT_MS", "SIFMORA_UPDATE_CLOSE_PAUSE_MS"})
            qunsetenv(name);
    }

    QString logFile(const QString& name) const { return QDir(logs.path()).filePath(name); }
    QStringList readLines(const QString& name) const {
        QFile f(logFile(name));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    QStringList fakeEvents() const { return readLines("fake.log"); }
    QStringList messages() const { return readLines("notify.log"); }
    QStringList browsed() const { return readLines("browser.log"); }
    // Fake log events without pids: "started old", "closed", "started SIFMORA-NEW-0007", ...
    QStringList fakeStory() const {
        QStringList story;
        for (const QString& line : fakeEvents()) story << (line.startsWith("started ") ? line.section(' ', 0, 1) : line);
        return story;
    }

    void serveServerLog(const QByteArray& bytes) { server.serve("/3d/updatelog.txt", bytes, 200, "text/plain"); }
    QByteArray newerLog() const { return "7\r\n" + server.url("/files/3Dbak.exe").toUtf8() + "\r\n"; }

    static bool WaitFor(const std::function<bool()>& done, int ms = 20000) {
        QDeadlineTimer deadline(ms);
        while (!done()) {
            if (deadline.hasExpired()) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
        return true;
    }

    void startMainProgram() {
        ASSERT_TRUE(platform::StartProgram(dir.file("Sifmora")));
        ASSERT_TRUE(WaitFor([] { return platform::IsInstanceRunning("Sifmora"); }));
    }

    // The files of the program folder, but for the one-copy lock files of the programs running
    // (or killed) there: those belong to their holders, not to the upgrade.
    QStringList folderFiles() const {
        QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        files.removeIf([](const QString& name) { return name.startsWith(QLatin1Char('.')) && name.endsWith(QStringLiteral(".lock")); });
        return files;
    }

    // The folder as before the upgrade: old program (still executable) and old log only.
    void expectFolderUnchanged() const {
        EXPECT_EQ(dir.read("Sifmora"), oldProgram);
        EXPECT_TRUE(QFileInfo(dir.file("Sifmora")).isExecutable());
        EXPECT_EQ(dir.read("updatelog.txt"), QByteArray(kOldLog));
    }

    testsupport::ProgramDir dir;
    QTemporaryDir logs;
    testsupport::HttpServer server;
    QByteArray oldProgram, newProgram;
};
