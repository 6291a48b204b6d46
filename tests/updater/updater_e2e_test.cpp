// The program "update" run end to end against a local home server, with a stand-in main
// program in a temporary program folder.
#include "fixture.h"

#include "common/textcodec.h"

#include <QProcess>

namespace {

class UpdateProgramTest : public UpdaterFixture {
protected:
    void TearDown() override {
        if (update.state() != QProcess::NotRunning) {
            update.kill();
            update.waitForFinished(5000);
        }
        UpdaterFixture::TearDown();
    }
    void startUpdate() {
        update.setProgram(QStringLiteral(UPDATE_EXE));
        update.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        update.start();
        ASSERT_TRUE(update.waitForStarted(10000));
    }
    // Runs update until it ends by itself.
    void runUpdate() {
        startUpdate();
        ASSERT_TRUE(update.waitForFinished(60000)) << "update did not end";
        EXPECT_EQ(update.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(update.exitCode(), 0);
    }
    // Runs update until it has told the user something; it then waits with its window open.
    void runUpdateUntilMessage() {
        startUpdate();
        ASSERT_TRUE(WaitFor([this] { return !messages().isEmpty(); })) << "no message came";
        EXPECT_EQ(update.state(), QProcess::Running) << "the window should stay open after a reset";
        update.kill();
        update.waitForFinished(5000);
    }
    QProcess update;
};

TEST_F(UpdateProgramTest, NewerVersionReplacesRunningProgramAndStartsIt) {
    serveServerLog(newerLog());
    startMainProgram();
    runUpdate();
    ASSERT_TRUE(WaitFor([this] { return fakeEvents().size() >= 3; }));
    EXPECT_EQ(fakeStory(), (QStringList{"started old", "closed", "started SIFMORA-NEW-0007"}));
    EXPECT_TRUE(fakeEvents().last().endsWith("args=0"));
    EXPECT_EQ(dir.read("Sifmora"), newProgram);
    EXPECT_TRUE(QFileInfo(dir.file("Sifmora")).isExecutable());
    EXPECT_EQ(dir.read("updatelog.txt"), newerLog());
    EXPECT_EQ(folderFiles(), (QStringList{"Sifmora", "updatelog.txt"}));
    EXPECT_EQ(messages(), QStringList());
    EXPECT_TRUE(platform::IsInstanceRunning("Sifmora"));
}

TEST_F(UpdateProgramTest, NewerVersionWithoutRunningProgramSwapsAndStartsIt) {
    serveServerLog(newerLog());
    runUpdate();
    ASSERT_TRUE(WaitFor([this] { return !fakeEvents().isEmpty(); }));
    EXPECT_EQ(fakeStory(), QStringList{"started SIFMORA-NEW-0007"});
    EXPECT_EQ(dir.read("Sifmora"), newProgram);
    EXPECT_EQ(dir.read("updatelog.txt"), newerLog());
    EXPECT_EQ(folderFiles(), (QStringList{"Sifmora", "updatelog.txt"}));
}

TEST_F(UpdateProgramTest, EqualOrLowerVersionSaysSoAndChangesNothing) {
    startMainProgram();
    for (const QByteArray& version : {QByteArray("5"), QByteArray("  5 "), QByteArray("4"), QByteArray("-3")}) {
        QFile::remove(logFile("notify.log"));
        serveServerLog(version + "\r\n" + server.url("/files/3Dbak.exe").toUtf8() + "\r\n");
        runUpdate();
        EXPECT_EQ(messages(), QStringList{"你的版本是已经是最新的了。"}) << version.constData();
        expectFolderUnchanged();
        EXPECT_EQ(folderFiles(), (QStringList{"Sifmora", "updatelog.txt"}));
    }
    EXPECT_EQ(server.requestCount("/files/3Dbak.exe"), 0);
    EXPECT_EQ(fakeStory(), QStringList{"started old"});
    EXPECT_TRUE(platform::IsInstanceRunning("Sifmora"));
}

TEST_F(UpdateProgramTest, VersionMinusOneShowsNoticeAndOpensDownloadPage) {
    startMainProgram();
    serveServerLog(common::EncodeAnsi(" -1 \r\n  请到网站下载新版本 \r\n"));  // version logs are GBK text
    runUpdate();
    EXPECT_EQ(messages(), QStringList{"  请到网站下载新版本 "});
    EXPECT_EQ(browsed(), QStringList{server.url("/download/down.htm")});
    EXPECT_EQ(server.requestCount("/files/3Dbak.exe"), 0);
    expectFolderUnchanged();
    EXPECT_EQ(folderFiles(), (QStringList{"Sifmora", "updatelog.txt"}));
    EXPECT_EQ(fakeStory(), QStringList{"started old"});
}

TEST_F(UpdateProgramTest, FailedTransfersLeaveEverythingAsItWas) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        QString message;
    };
    const QString network = QStringLiteral("请检查网络设备。");
    testsupport::HttpResponse truncated;
    truncated.body = newProgram;
    truncated.sendBytes = newProgram.size() / 2;
    testsupport::HttpResponse truncatedLog;
    truncatedLog.body = newerLog();
    truncatedLog.sendBytes = 3;
    const Case cases[] = {
        {"version log 404", [&] { server.serve("/3d/updatelog.txt", "<html>404</html>", 404, "text/html"); }, network},
        {"version log truncated", [&] { server.setResponse("/3d/updatelog.txt", truncatedLog); }, network},
        {"program 404", [&] {
             serveServerLog(newerLog());
             server.serve("/files/3Dbak.exe", "<html>missing</html>", 404, "text/html");
         }, network},
        {"program 500", [&] {
             serveServerLog(newerLog());
             server.serve("/files/3Dbak.exe", "oops", 500, "text/plain");
         }, network},
        {"program truncated", [&] {
             serveServerLog(newerLog());
             server.setResponse("/files/3Dbak.exe", truncated);
         }, network},
        {"program is a page served with 200", [&] {
             serveServerLog(newerLog());
             server.serve("/files/3Dbak.exe", "<html>error</html>", 200, "text/html");
         }, QStringLiteral("下载的文件不是可执行的程序，升级已取消。")},
        // No length told and the connection closed early: only the program itself shows it.
        {"program ended early without a length", [&] {
             serveServerLog(newerLog());
             testsupport::HttpResponse cut;
             cut.body = newProgram.left(newProgram.size() * 2 / 3);
             cut.sendLength = false;
             server.setResponse("/files/3Dbak.exe", cut);
         }, QStringLiteral("下载的文件不是可执行的程序，升级已取消。")},
        // A garbage version log is quoted by a short start only.
        {"garbage version log", [&] { serveServerLog(QByteArray(3742, 'g') + "\r\nx\r\n"); },
         QStringLiteral("服务器上的版本信息有误（第一行“gggggggggggggggggggg…”不是版本号），无法升级。")},
    };
    startMainProgram();
    for (const Case& c : cases) {
        QFile::remove(logFile("notify.log"));
        c.arrange();
        runUpdateUntilMessage();
        EXPECT_EQ(messages(), QStringList{c.message}) << c.name;
        expectFolderUnchanged();
        EXPECT_EQ(folderFiles(), (QStringList{"Sifmora", "updatelog.txt"})) << c.name;
    }
    EXPECT_EQ(fakeStory(), QStringList{"started old"});  // never asked to close
    EXPECT_TRUE(platform::IsInstanceRunning("Sifmora"));
}

TEST_F(UpdateProgramTest, BrokenVersionLogsStopBeforeAnythingIsTouched) {
    startMainProgram();
    struct Case {
        const char* name;
        QByteArray local;   // empty: no local log
        QByteArray server;
    };
    const Case cases[] = {
        {"no local log", "", newerLog()},
        {"local log of one line", "5\r\n", newerLog()},
        {"local version no number", "five\r\nx\r\n", newerLog()},
        {"server version beyond 16 bits", kOldLog, "40000\r\nhttp://x\r\n"},
        {"server log of one line", kOldLog, "7\r\n"},
    };
    for (const Case& c : cases) {
        QFile::remove(logFile("notify.log"));
        QFile::remove(dir.file("updatelog.txt"));
        if (!c.local.isEmpty()) dir.write("updatelog.txt", c.local);
        serveServerLog(c.server);
        runUpdateUntilMessage();
        ASSERT_EQ(messages().size(), 1) << c.name;
        EXPECT_NE(messages()[0], QStringLiteral("请检查网络设备。")) << c.name;
        EXPECT_EQ(dir.read("Sifmora"), oldProgram) << c.name;
        EXPECT_EQ(dir.read("updatelog.txt"), c.local) << c.name;
        EXPECT_FALSE(QFile::exists(dir.file("3Dbak.exe"))) << c.name;
    }
    EXPECT_EQ(server.requestCount("/files/3Dbak.exe"), 0);
    EXPECT_EQ(fakeStory(), QStringList{"started old"});
}

TEST_F(UpdateProgramTest, MainProgramThatRefusesToCloseIsNotReplaced) {
    qputenv("SIFMORA_UPDATE_CLOSE_TIMEOUT_MS", "1000");
    dir.write("refuse.flag", "");
    startMainProgram();
    serveServerLog(newerLog());
    runUpdateUntilMessage();
    EXPECT_EQ(messages(), QStringList{"主程序没有退出，升级已取消。请关闭主程序后再升级。"});
    expectFolderUnchanged();
    EXPECT_EQ(folderFiles(), (QStringList{"Sifmora", "refuse.flag", "updatelog.txt"}));
    const QStringList story = fakeStory();
    EXPECT_EQ(story.value(0), "started old");
    EXPECT_GE(story.count("refused"), 2);  // asked again after a pause
    EXPECT_FALSE(story.contains("closed"));
    EXPECT_TRUE(platform::IsInstanceRunning("Sifmora"));
}

TEST_F(UpdateProgramTest, SecondUpdateEndsAtOnce) {
    testsupport::HttpResponse slow;
    slow.body = newerLog();
    slow.delayMs = 30000;
    server.setResponse("/3d/updatelog.txt", slow);
    startUpdate();  // the first copy waits on its version log
    ASSERT_TRUE(WaitFor([this] { return server.requestCount("/3d/updatelog.txt") == 1; }));
    QProcess second;
    second.start(QStringLiteral(UPDATE_EXE));
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(server.requestCount("/3d/updatelog.txt"), 1);
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(update.state(), QProcess::Running);
}

}  // namespace
