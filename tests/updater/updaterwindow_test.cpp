// The updater window in this process: captions, progress, and closing it mid-way.
#include "buttonwalk.h"
#include "fixture.h"
#include "updater/updaterwindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

class UpdaterWindowTest : public UpdaterFixture {
protected:
    void SetUp() override {
        UpdaterFixture::SetUp();
        QApplication::setQuitOnLastWindowClosed(false);
        timings.startDelayMs = 0;
        timings.closePauseMs = 20;
        timings.closeTimeoutMs = 20000;
    }
    QLabel* label(const char* name) { return window->findChild<QLabel*>(name); }
    void open() {
        window = std::make_unique<updater::UpdaterWindow>(timings);
        window->setNotifier([this](QWidget*, const QString& text) { shown << text; });
        window->show();
    }
    updater::Timings timings;
    std::unique_ptr<updater::UpdaterWindow> window;
    QStringList shown;
};

TEST_F(UpdaterWindowTest, DesignStateAndCaptions) {
    timings.startDelayMs = 60000;  // keep it from starting
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Updexa          <<Sifmora>>"));
    const char* captions[] = {"1.获取升级信息", "2.版本验证", "3.下载数据", "4.退出主程序", "5.升级完成"};
    for (int i = 0; i < 5; ++i) {
        QLabel* step = label(QStringLiteral("Label%1").arg(i + 1).toUtf8().constData());
        ASSERT_NE(step, nullptr);
        EXPECT_EQ(step->text(), QString::fromUtf8(captions[i]));
        EXPECT_FALSE(step->isEnabled());
    }
    EXPECT_EQ(label("Label7")->text(), QStringLiteral("进度"));
    EXPECT_FALSE(label("Label7")->isVisible());
    auto* button = window->findChild<QPushButton*>("cmdStart");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("立即升级"));
    EXPECT_TRUE(button->isEnabled());
}

TEST_F(UpdaterWindowTest, EveryButtonReachesAHandler) {
    timings.startDelayMs = 60000;  // keep it from starting
    open();
    EXPECT_EQ(testsupport::WalkedButtonCount(window.get()), 1);
    EXPECT_EQ(testsupport::UnboundButtons(window.get()), QStringList{});
}

TEST_F(UpdaterWindowTest, NetworkFailureResetsTheSteps) {
    server.serve("/3d/updatelog.txt", "gone", 404);
    open();
    ASSERT_TRUE(WaitFor([this] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown, QStringList{"请检查网络设备。"});
    EXPECT_TRUE(window->findChild<QPushButton*>("cmdStart")->isEnabled());
    EXPECT_FALSE(label("Label1")->isEnabled());
    EXPECT_FALSE(label("Label7")->isVisible());
    // Pressing the button runs the whole upgrade again from step 1.
    serveServerLog("5\r\nx\r\n");
    window->findChild<QPushButton*>("cmdStart")->click();
    ASSERT_TRUE(WaitFor([this] { return shown.size() == 2; }));
    EXPECT_EQ(shown.last(), QStringLiteral("你的版本是已经是最新的了。"));
    EXPECT_FALSE(window->isVisible());
}

// An answer past the size limit is no network fault, and the message says what came instead.
TEST_F(UpdaterWindowTest, AnswerPastItsSizeLimitSaysItWasTooLarge) {
    server.serve("/3d/updatelog.txt", QByteArray(int(platform::kPageLimit) + 1, 'x'));
    open();
    ASSERT_TRUE(WaitFor([this] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown, QStringList{QStringLiteral("服务器的回答太大（数据超过了 4096 KB 的上限），不是要下载的文件，升级已取消。")});
    EXPECT_TRUE(window->findChild<QPushButton*>("cmdStart")->isEnabled());
}

TEST_F(UpdaterWindowTest, ClosingDuringSwapWaitStartsOldProgramAgain) {
    timings.swapDelayMs = 600000;
    serveServerLog(newerLog());
    testsupport::HttpResponse unsized;  // no size told: the progress shows 0%
    unsized.body = newProgram;
    unsized.sendLength = false;
    server.setResponse("/files/3Dbak.exe", unsized);
    startMainProgram();
    open();
    auto* timer1 = window->findChild<QTimer*>("Timer1");
    ASSERT_TRUE(WaitFor([&] { return timer1->isActive(); }));
    EXPECT_FALSE(platform::IsInstanceRunning("Sifmora"));
    for (const char* step : {"Label1", "Label2", "Label3", "Label4"}) EXPECT_TRUE(label(step)->isEnabled()) << step;
    EXPECT_FALSE(label("Label5")->isEnabled());
    EXPECT_EQ(label("Label7")->text(), QStringLiteral("0%"));
    EXPECT_FALSE(window->findChild<QPushButton*>("cmdStart")->isEnabled());
    window->close();
    ASSERT_TRUE(WaitFor([this] { return fakeEvents().size() >= 3; }));
    EXPECT_EQ(fakeStory(), (QStringList{"started old", "closed", "started old"}));
    expectFolderUnchanged();
    EXPECT_EQ(dir.read("3Dbak.exe"), newProgram);
    EXPECT_EQ(dir.read("updatebak.txt"), newerLog());
    EXPECT_EQ(shown, QStringList());
}

TEST_F(UpdaterWindowTest, ClosingWhileMainProgramIsOnItsWayOutStartsItAgain) {
    // The main program agrees to close but ends only later; the window is closed in between.
    timings.closePauseMs = 300;
    dir.write("slowclose.flag", "");
    serveServerLog(newerLog());
    startMainProgram();
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!fakeStory().contains("closed")) return;
        poll.stop();
        window->close();
    });
    poll.start();
    open();
    ASSERT_TRUE(WaitFor([this] { return fakeStory().count("started old") == 2; }))
        << fakeStory().join(", ").toStdString();
    EXPECT_EQ(shown, QStringList());
    EXPECT_EQ(dir.read("Sifmora"), oldProgram);
    EXPECT_EQ(dir.read("updatelog.txt"), QByteArray(kOldLog));
    QFile::remove(dir.file("slowclose.flag"));
}

TEST_F(UpdaterWindowTest, ClosingDuringDownloadAbortsSilently) {
    serveServerLog(newerLog());
    testsupport::HttpResponse slow;
    slow.body = newProgram;
    slow.delayMs = 30000;
    server.setResponse("/files/3Dbak.exe", slow);
    startMainProgram();
    // The download runs inside the window's own event loop, so the close comes from a timer.
    bool downloading = false, progressShown = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (server.requestCount("/files/3Dbak.exe") != 1) return;
        poll.stop();
        downloading = label("Label3")->isEnabled();
        progressShown = label("Label7")->isVisible();
        window->close();
    });
    poll.start();
    open();
    ASSERT_TRUE(WaitFor([this] { return !window->isVisible(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(downloading);
    EXPECT_TRUE(progressShown);
    EXPECT_EQ(shown, QStringList());
    EXPECT_FALSE(label("Label4")->isEnabled());
    expectFolderUnchanged();
    EXPECT_FALSE(QFile::exists(dir.file("3Dbak.exe")));
    EXPECT_EQ(fakeStory(), QStringList{"started old"});
    EXPECT_TRUE(platform::IsInstanceRunning("Sifmora"));
}

TEST_F(UpdaterWindowTest, FullDiskWhileDownloadingSaysSo) {
    serveServerLog(newerLog());
    startMainProgram();
    {
        // The new program cannot be stored whole; the version log still can.
        testsupport::FileSizeLimit limit(oldProgram.size() / 2);
        open();
        ASSERT_TRUE(WaitFor([this] { return !shown.isEmpty(); }));
    }
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("磁盘空间不足"))) << shown[0].toStdString();
    EXPECT_NE(shown[0], QStringLiteral("请检查网络设备。"));
    expectFolderUnchanged();
    EXPECT_EQ(folderFiles(), (QStringList{"Sifmora", "updatelog.txt"}));
    EXPECT_EQ(fakeStory(), QStringList{"started old"});  // never asked to close
}

TEST_F(UpdaterWindowTest, StartRemovesCopiesLeftByAKilledUpgrade) {
    dir.write(".update-old-program", oldProgram);
    dir.write(".update-old-log", kOldLog);
    timings.startDelayMs = 60000;  // only the start
    open();
    EXPECT_EQ(folderFiles(), (QStringList{"Sifmora", "updatelog.txt"}));
}

}  // namespace
