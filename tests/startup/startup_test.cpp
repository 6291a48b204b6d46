#include "buttonwalk.h"
#include "common/paths.h"
#include "common/settings.h"
#include "common/textcodec.h"
#include "history/drawfile.h"
#include "httpserver.h"
#include "platform/closerequest.h"
#include "platform/ui/messagebox.h"
#include "presses.h"
#include "startup/startupwindow.h"
#include "startup/versioncheck.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QProcess>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>

using namespace startup;

namespace {

using testsupport::EnvVar;

// The built program: beside the tests' binaries.
QString ProgramPath() {
    const QString dir = qEnvironmentVariable("SIFMORA_BIN_DIR");
    if (!dir.isEmpty() && QFile::exists(dir + QStringLiteral("/Sifmora"))) return dir + QStringLiteral("/Sifmora");
#ifdef SIFMORA_APP_PATH
    return QStringLiteral(SIFMORA_APP_PATH);
#else
    return {};
#endif
}

QString UniqueName() { return QStringLiteral("SifmoraTest-") + QUuid::createUuid().toString(QUuid::WithoutBraces); }

const QString kUnreachable = QStringLiteral("http://127.0.0.1:1");

// Timer1 ticks at once rather than a second later: the start road runs as it does then.
void RunStartRoad(StartupWindow* form) { testsupport::TickNow(form, QStringLiteral("Timer1")); }

// The start-up window's controls by objectName.
QLabel* Status(StartupWindow* form) { return testsupport::Find<QLabel>(form, QStringLiteral("Label1")); }
QTimer* RoadTimer(StartupWindow* form) { return testsupport::Find<QTimer>(form, QStringLiteral("Timer1")); }

}  // namespace

TEST(VersionLog, FirstLineIsASixteenBitInteger) {
    struct Case {
        const char* line;
        bool ok;
        int version;
        int code;
    } cases[] = {
        {"6", true, 6, 0},         {"  6  ", true, 6, 0},     {"\t-1", true, -1, 0},
        {"6.5", true, 6, 0},       {"7.5", true, 8, 0},       {"32767", true, 32767, 0},
        {"-32768", true, -32768, 0}, {"32768", false, 0, kErrOverflow}, {"abc", false, 0, kErrTypeMismatch},
        {"", false, 0, kErrTypeMismatch}, {"5 6", false, 0, kErrTypeMismatch},
    };
    for (const Case& c : cases) {
        int v = -999;
        StartError e;
        EXPECT_EQ(ParseVersionLine(QString::fromLatin1(c.line), &v, &e), c.ok) << c.line;
        if (c.ok) { EXPECT_EQ(v, c.version) << c.line; }
        EXPECT_EQ(e.code, c.code) << c.line;
    }
}

TEST(VersionLog, GarbageIsQuotedByAShortStartOnly) {
    const QString garbage = QString(3742, QLatin1Char('g')) + QStringLiteral("\x01\x7f");
    StartError e;
    int v = 0;
    EXPECT_FALSE(ParseVersionLine(garbage, &v, &e));
    EXPECT_EQ(e.description, QStringLiteral("版本号“gggggggggggggggggggg…”不是数字"));
    EXPECT_FALSE(ParseVersionLine(QStringLiteral("\x01\x02 9x"), &v, &e));
    EXPECT_EQ(e.description, QStringLiteral("版本号“   9x”不是数字"));  // control bytes as blanks
}

TEST(VersionLog, NeedsTwoLines) {
    testsupport::ProgramDir dir;
    struct Case {
        const char* what;
        QByteArray bytes;
        int code;
    } cases[] = {
        {"two lines", "6\r\nhttp://x/\r\n", 0},
        {"second line empty", "6\r\n\r\n", 0},
        {"second line without break", "6\r\nhttp://x/", 0},
        {"one line", "6\r\n", kErrPastEndOfFile},
        {"one line without break", "6", kErrPastEndOfFile},
        {"empty", "", kErrPastEndOfFile},
        {"first line no number", "six\r\nx\r\n", kErrTypeMismatch},
    };
    for (const Case& c : cases) {
        dir.write("updatelog.txt", c.bytes);
        int v = 0;
        StartError e;
        EXPECT_EQ(ReadVersionLog(dir.file("updatelog.txt"), &v, &e), c.code == 0) << c.what;
        EXPECT_EQ(e.code, c.code) << c.what;
    }
    StartError e;
    int v = 0;
    EXPECT_FALSE(ReadVersionLog(dir.file("missing.txt"), &v, &e));
    EXPECT_EQ(e.code, kErrFileNotFound);
}

TEST(VersionLog, FifoInItsPlaceFailsAtOnce) {
    testsupport::ProgramDir dir;
    testsupport::Fifo fifo(dir.file("updatelog.txt"));
    ASSERT_TRUE(fifo.isMade());
    int v = 0;
    StartError e;
    EXPECT_FALSE(ReadVersionLog(dir.file("updatelog.txt"), &v, &e));
    EXPECT_EQ(e.code, kErrPathFileAccess);
    EXPECT_TRUE(e.description.contains(QStringLiteral("这不是文件"))) << e.description.toStdString();
    EXPECT_FALSE(fifo.readerWaited());
}

TEST(VersionLog, ErrorTextKeepsItsFrame) {
    EXPECT_EQ(StartErrorText({kErrFileNotFound, UpdaterMissingText()}),
              QStringLiteral("错误描述：没找到自动升级程序，请检查安装目录是否完整或重新安装软件。\n错误代码：53"));
}

class StartRoad : public ::testing::Test {
protected:
    testsupport::ProgramDir dir;
    testsupport::HttpServer server;
    std::unique_ptr<EnvVar> home, results;
    const QByteArray hao = history::EncodeDrawRecord("2024100 111") + history::EncodeDrawRecord("2024101 222");
    int mainShown = 0;

    void SetUp() override {
        ASSERT_TRUE(server.isListening());
        home = std::make_unique<EnvVar>("SIFMORA_HOME_URL", server.baseUrl());
        results = std::make_unique<EnvVar>("SIFMORA_RESULTS_URL", server.baseUrl());
        dir.write("HAO.TXT", hao);
        dir.write("HAOP3.TXT", QByteArray());
        dir.write("updatelog.txt", "5\r\nhttp://example.invalid/Sifmora\r\n");
        server.serve("/3d/updatelog.txt", "5\r\nhttp://example.invalid/Sifmora\r\n");
        server.serve("/static/info/kaijiang/xml/sd/list.xml",
                     "<xml><row expect=\"2024102\" opencode=\"3,4,5\"/><row expect=\"2024101\" opencode=\"2,2,2\"/></xml>");
    }

    std::unique_ptr<StartupWindow> makeForm() {
        auto f = std::make_unique<StartupWindow>();
        f->instanceName = UniqueName();
        f->hooks.showMainWindow = [this] { ++mainShown; };
        return f;
    }
    bool drawsUpdated() const { return dir.read("HAO.TXT") == hao + history::EncodeDrawRecord("2024102 345"); }
};

TEST_F(StartRoad, VersionComparison) {
    struct Case {
        const char* local;
        const char* server;
        bool newer;
    } cases[] = {{"5", "6", true}, {"5", "5", false}, {"5", "4", false}, {"0", "-1", false}, {" 6 ", "6", false}};
    for (const Case& c : cases) {
        dir.write("updatelog.txt", QByteArray(c.local) + "\r\nx\r\n");
        server.serve("/3d/updatelog.txt", QByteArray(c.server) + "\r\nx\r\n");
        StartError e;
        EXPECT_EQ(ServerHasNewerVersion(&e), c.newer) << c.local << " vs " << c.server;
        EXPECT_FALSE(e.isError());
        EXPECT_FALSE(QFile::exists(dir.file("updatebak.txt")));
    }
}

TEST_F(StartRoad, LoadWritesWebPageAndRoadShowsMainWindow) {
    auto form = makeForm();
    ASSERT_TRUE(form->prepareStart());
    EXPECT_EQ(Status(form.get())->text(), QStringLiteral("正在检查版本..."));
    EXPECT_TRUE(RoadTimer(form.get())->isActive());
    EXPECT_EQ(RoadTimer(form.get())->interval(), 1000);
    QString web;
    ASSERT_TRUE(common::ReadAnsiFile(dir.file("Web.htm"), &web));
    EXPECT_EQ(web, WebPageText() + "\r\n");
    EXPECT_TRUE(testsupport::Find<QPlainTextEdit>(form.get(), QStringLiteral("Text1"))->isHidden());
    EXPECT_TRUE(web.contains(QStringLiteral("网络连接失败,正在重试...")));
    EXPECT_TRUE(web.contains(server.baseUrl() + "/3d/3dindex.htm"));

    ui::MessageRecorder box(ui::Answer::No);
    RunStartRoad(form.get());
    EXPECT_FALSE(RoadTimer(form.get())->isActive());
    EXPECT_TRUE(box.messages.isEmpty());
    EXPECT_EQ(Status(form.get())->text(), QStringLiteral("正在下载数据..."));
    EXPECT_EQ(mainShown, 1);
    EXPECT_TRUE(drawsUpdated());
    // Without a later copy on the home server the file keeps the merged draws.
    EXPECT_FALSE(QFile::exists(dir.file("HAOBAK.TXT")));
}

// The start-up window shows progress only: the walk finds no button, so none can be left unbound.
TEST_F(StartRoad, StartupWindowHasNoButtonToLeaveUnbound) {
    auto form = makeForm();
    EXPECT_EQ(testsupport::WalkedButtonCount(form.get()), 0);
    EXPECT_EQ(testsupport::UnboundButtons(form.get()), QStringList{});
}

TEST_F(StartRoad, NewerVersionAnsweredNoUpdatesAndShowsMainWindow) {
    server.serve("/3d/updatelog.txt", "6\r\nhttp://example.invalid/Sifmora\r\n");
    auto form = makeForm();
    bool updaterStarted = false;
    form->hooks.startUpdater = [&](QString*) { return updaterStarted = true; };
    ui::MessageRecorder box(ui::Answer::No);
    RunStartRoad(form.get());
    ASSERT_EQ(box.messages.size(), 1);
    EXPECT_EQ(box.messages[0].text, QStringLiteral("Sifmora发现新版本，是否立即升级?"));
    EXPECT_EQ(box.messages[0].title, QStringLiteral("Updexa"));
    EXPECT_EQ(box.messages[0].icon, ui::Icon::Question);
    EXPECT_EQ(box.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_FALSE(updaterStarted);
    EXPECT_EQ(mainShown, 1);
    EXPECT_TRUE(drawsUpdated());
}

TEST_F(StartRoad, YesStartsTheRealUpdaterAndNeverShowsMainWindow) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the stand-in updater is a shell script";
#else
    server.serve("/3d/updatelog.txt", "6\r\nhttp://example.invalid/Sifmora\r\n");
    const QString marker = dir.file("updater-ran");
    dir.write("update", "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
    QFile(dir.file("update")).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto form = makeForm();
    ui::MessageRecorder box(ui::Answer::Yes);
    RunStartRoad(form.get());
    EXPECT_EQ(box.messages.size(), 1);
    EXPECT_EQ(mainShown, 0);
    EXPECT_TRUE(form->finished());
    EXPECT_EQ(dir.read("HAO.TXT"), hao);  // the draws are not updated on this road
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(marker) && !deadline.hasExpired()) QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(marker));
#endif
}

TEST_F(StartRoad, YesWithoutUpdaterShowsErrorThenContinues) {
    server.serve("/3d/updatelog.txt", "6\r\nhttp://example.invalid/Sifmora\r\n");
    auto form = makeForm();
    ui::MessageRecorder box(ui::Answer::Yes);
    RunStartRoad(form.get());
    ASSERT_EQ(box.messages.size(), 2);
    EXPECT_EQ(box.messages[1].text, StartErrorText({kErrFileNotFound, UpdaterMissingText()}));
    EXPECT_EQ(box.messages[1].title, QStringLiteral("Sifmora"));
    EXPECT_EQ(box.messages[1].icon, ui::Icon::Information);
    EXPECT_EQ(mainShown, 1);
    EXPECT_TRUE(drawsUpdated());
}

TEST_F(StartRoad, BrokenLocalVersionLogIsReportedThenStartGoesOn) {
    for (const QByteArray& log : {QByteArray("5\r\n"), QByteArray("five\r\nx\r\n"), QByteArray()}) {
        dir.write("HAO.TXT", hao);
        if (log.isEmpty()) QFile::remove(dir.file("updatelog.txt"));
        else dir.write("updatelog.txt", log);
        mainShown = 0;
        auto form = makeForm();
        ui::MessageRecorder box(ui::Answer::Ok);
        RunStartRoad(form.get());
        ASSERT_EQ(box.messages.size(), 1) << log.constData();
        const QString text = box.messages[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("错误描述："))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("\n错误代码："))) << text.toStdString();
        EXPECT_FALSE(text.contains(UpdaterMissingText()));
        EXPECT_EQ(mainShown, 1);
        EXPECT_TRUE(drawsUpdated());
    }
}

TEST_F(StartRoad, BrokenDrawListIsReportedOnceAndMainWindowStillOpens) {
    server.serve("/static/info/kaijiang/xml/sd/list.xml", "<xml><row expect=\"2024102\"/></xml>");
    auto form = makeForm();
    ui::MessageRecorder box(ui::Answer::Ok);
    RunStartRoad(form.get());
    ASSERT_EQ(box.messages.size(), 1);
    EXPECT_TRUE(box.messages[0].text.contains(QStringLiteral("错误代码：75")));
    EXPECT_EQ(mainShown, 1);
    EXPECT_EQ(dir.read("HAO.TXT"), hao);
}

TEST_F(StartRoad, NoNetworkShowsNothingAndOpensMainWindow) {
    EnvVar h("SIFMORA_HOME_URL", kUnreachable);
    EnvVar r("SIFMORA_RESULTS_URL", kUnreachable);
    auto form = makeForm();
    ui::MessageRecorder box(ui::Answer::Yes);
    RunStartRoad(form.get());
    EXPECT_TRUE(box.messages.isEmpty());
    EXPECT_EQ(mainShown, 1);
    EXPECT_EQ(dir.read("HAO.TXT"), hao);
    EXPECT_EQ(dir.read("HAOP3.TXT"), QByteArray());
    EXPECT_FALSE(QFile::exists(dir.file("updatebak.txt")));
}

TEST_F(StartRoad, SecondCopyEndsAtOnceWithoutWriting) {
    const QString name = UniqueName();
    platform::SingleInstance first(name);
    ASSERT_TRUE(first.acquire());
    auto form = makeForm();
    form->instanceName = name;
    EXPECT_FALSE(form->prepareStart());
    EXPECT_FALSE(QFile::exists(dir.file("Web.htm")));
    EXPECT_FALSE(RoadTimer(form.get())->isActive());
}

// A lock that cannot be made is no running copy: the start says where and why and ends, having
// written nothing. (Here: an endpoint folder others can write.)
TEST_F(StartRoad, LockThatCannotBeMadeIsSaidAndTheStartEnds) {
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    testsupport::EnvVar var("XDG_RUNTIME_DIR", runtime.path());
    const QString folder = QDir(runtime.path()).filePath("Sifmora");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
    auto form = makeForm();
    ui::MessageRecorder box;
    EXPECT_FALSE(form->prepareStart());
    ASSERT_EQ(box.messages.size(), 1);
    EXPECT_EQ(box.lastText(), form->lockError());
    EXPECT_TRUE(box.lastText().startsWith(QStringLiteral("无法建立防止重复运行的锁 %1：").arg(QDir::toNativeSeparators(folder))))
        << box.lastText().toStdString();
    EXPECT_TRUE(box.lastText().contains(QStringLiteral("程序没有启动"))) << box.lastText().toStdString();
    EXPECT_FALSE(QFile::exists(dir.file("Web.htm")));
    EXPECT_FALSE(RoadTimer(form.get())->isActive());
}

// A FIFO found at the lock's name is never opened (it would hold the start for good): it loses
// its name to the copy's own file, and the start goes on.
TEST_F(StartRoad, FifoAtTheLocksNameIsReplacedNeverOpened) {
    auto form = makeForm();
    const QString lock = platform::InstanceLockPath(form->instanceName);
    testsupport::Fifo fifo(lock);
    ASSERT_TRUE(fifo.isMade());
    ui::MessageRecorder box;
    EXPECT_TRUE(form->prepareStart()) << form->lockError().toStdString();
    EXPECT_FALSE(fifo.readerWaited());
    EXPECT_TRUE(QFileInfo(lock).isFile());
    EXPECT_TRUE(box.messages.isEmpty());
}

// A settings save killed while it held its lock leaves the lock: the start removes it, so that
// the first save of the run never waits on it. A lock another program holds stays.
TEST_F(StartRoad, SettingsLockOfAKilledSaveIsRemovedAtTheStart) {
    const QString lock = common::SettingsFilePath() + QStringLiteral(".lock");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(lock).absolutePath()));
    for (const QByteArray& left : {QByteArray(), QByteArray::number(qint64(testsupport::GonePid())) + "\nSifmora\n" +
                                                     QSysInfo::machineHostName().toUtf8() + "\n"}) {
        {
            QFile f(lock);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(left);
        }
        auto form = makeForm();
        ASSERT_TRUE(form->prepareStart());
        EXPECT_FALSE(QFileInfo::exists(lock)) << left.toStdString();
    }
}

// A settings file that cannot be used is never opened (a FIFO would hold the start for good): the
// start says so once and the main window opens on the defaults.
TEST_F(StartRoad, SettingsFileThatIsAFifoIsSaidAndTheMainWindowOpens) {
    const QString ini = common::SettingsFilePath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(ini).absolutePath()));
    QFile::remove(ini);
    testsupport::Fifo fifo(ini);
    ASSERT_TRUE(fifo.isMade());
    auto form = makeForm();
    ASSERT_TRUE(form->prepareStart());
    ui::MessageRecorder box;
    RunStartRoad(form.get());
    EXPECT_FALSE(fifo.readerWaited());
    EXPECT_EQ(mainShown, 1);
    ASSERT_EQ(box.messages.size(), 1);
    EXPECT_TRUE(box.lastText().contains(QStringLiteral("设置文件不能使用"))) << box.lastText().toStdString();
    EXPECT_TRUE(box.lastText().contains(QDir::toNativeSeparators(ini))) << box.lastText().toStdString();
}

TEST_F(StartRoad, CloseRequestDuringStartStopsTheRoad) {
    auto form = makeForm();
    ASSERT_TRUE(form->prepareStart());
    form->instance()->onCloseRequest = [&] {
        form->abortStart();
        return true;
    };
    // The request arrives while the road waits for the network: it is sent from another thread
    // and answered by this thread's event loop.
    form->hooks.updateDraws = [&](QString*) {
        bool answered = false;
        QThread* t = QThread::create([&] { answered = platform::SendCloseRequest(form->instanceName, 5000); });
        t->start();
        while (!t->isFinished()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        t->wait();
        delete t;
        EXPECT_TRUE(answered);
        return true;
    };
    RunStartRoad(form.get());
    EXPECT_TRUE(form->startAborted());
    EXPECT_EQ(mainShown, 0);
}

TEST(Program, SecondCopyOfTheProgramEndsAtOnce) {
    const QString bin = ProgramPath();
    if (bin.isEmpty() || !QFile::exists(bin)) GTEST_SKIP() << "Sifmora not built";
    testsupport::ProgramDir dir;
    const QString name = UniqueName();
    platform::SingleInstance first(name);
    ASSERT_TRUE(first.acquire());
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SIFMORA_INSTANCE_NAME"), name);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(bin, {});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(dir.file("Web.htm")));
}

TEST(Program, StartsThroughToMainWindowAndEndsOnCloseRequest) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    const QString bin = ProgramPath();
    if (bin.isEmpty() || !QFile::exists(bin)) GTEST_SKIP() << "Sifmora not built";
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared("data/HAO.TXT"));
    ASSERT_TRUE(dir.copyShared("data/HAOP3.TXT"));
    testsupport::HttpServer server;
    // One new 3D draw on the results site; no home server.
    server.serve("/static/info/kaijiang/xml/sd/list.xml",
                 "<xml><row expect=\"2026268\" opencode=\"1,2,3\"/><row expect=\"2026267\" opencode=\"8,5,7\"/></xml>");
    const QByteArray before = dir.read("HAO.TXT");
    const QString name = UniqueName();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SIFMORA_INSTANCE_NAME"), name);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SIFMORA_RESULTS_URL"), server.baseUrl());
    env.remove(QStringLiteral("SIFMORA_HOME_URL"));
    p.setProcessEnvironment(env);
    p.start(bin, {});
    ASSERT_TRUE(p.waitForStarted(10000));
    // The draw file grows once the start road has run (one second after the start).
    QDeadlineTimer deadline(30000);
    while (dir.read("HAO.TXT").size() == before.size() && !deadline.hasExpired()) QThread::msleep(50);
    EXPECT_EQ(dir.read("HAO.TXT"), before + history::EncodeDrawRecord("2026268 123"));
    // The close request is refused while the history list is being built; ask until it closes.
    bool closed = false;
    while (!closed && !deadline.hasExpired() && p.state() == QProcess::Running) {
        closed = platform::SendCloseRequest(name, 2000);
        if (!closed) QThread::msleep(100);
    }
    EXPECT_TRUE(closed);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
}

// The updater's close request may come at any moment of a start, whatever message is up (here:
// the draw file is a folder, and the start says so): the program ends cleanly, writing nothing.
TEST(Program, CloseRequestAtAnyMomentOfTheStartEndsCleanly) {
    const QString bin = ProgramPath();
    if (bin.isEmpty() || !QFile::exists(bin)) GTEST_SKIP() << "Sifmora not built";
    for (int delayMs : {0, 400, 1200, 2500}) {
        SCOPED_TRACE(delayMs);
        testsupport::ProgramDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir("HAO.TXT"));
        const QString name = UniqueName();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SIFMORA_INSTANCE_NAME"), name);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SIFMORA_HOME_URL"), QString());
        env.insert(QStringLiteral("SIFMORA_RESULTS_URL"), kUnreachable);
        p.setProcessEnvironment(env);
        p.start(bin, {});
        ASSERT_TRUE(p.waitForStarted(10000));
        QThread::msleep(delayMs);
        QDeadlineTimer deadline(60000);
        bool closed = false;
        while (!closed && !deadline.hasExpired() && p.state() == QProcess::Running) {
            closed = platform::SendCloseRequest(name, 2000);
            if (!closed) QThread::msleep(50);
        }
        EXPECT_TRUE(closed);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_TRUE(QFileInfo(dir.file("HAO.TXT")).isDir());
        for (const QString& f : testsupport::FilesIn(dir.path()))
            EXPECT_FALSE(f.contains(QStringLiteral(".tmp")) || f == QStringLiteral("FLAG.TXT")) << f.toStdString();
    }
}

TEST_F(StartRoad, UpdaterThatCannotStartShowsItsOwnReason) {
    server.serve("/3d/updatelog.txt", "6\r\nx\r\n");
    dir.write("update", "not a program");  // present, but not executable
    QFile(dir.file("update")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    auto form = makeForm();
    ui::MessageRecorder box(ui::Answer::Yes);
    RunStartRoad(form.get());
    ASSERT_EQ(box.messages.size(), 2);
    EXPECT_FALSE(box.messages[1].text.contains(UpdaterMissingText()));
    EXPECT_TRUE(box.messages[1].text.startsWith(QStringLiteral("错误描述：")));
    EXPECT_TRUE(box.messages[1].text.contains(QStringLiteral("不是可执行的程序"))) << box.messages[1].text.toStdString();
    EXPECT_EQ(mainShown, 1);
}

TEST_F(StartRoad, CloseRequestDuringVersionCheckAsksNothingMore) {
    // The server's newer version log arrives only after the program was asked to close.
    server.setResponse("/3d/updatelog.txt", {.status = 200, .body = "6\r\nx\r\n", .delayMs = 300});
    auto form = makeForm();
    ASSERT_TRUE(form->prepareStart());
    int drawUpdates = 0;
    form->hooks.updateDraws = [&](QString*) { return ++drawUpdates, true; };
    QTimer::singleShot(50, form.get(), [&] { form->abortStart(); });
    ui::MessageRecorder box(ui::Answer::Yes);
    RunStartRoad(form.get());
    EXPECT_TRUE(form->startAborted());
    EXPECT_TRUE(box.messages.isEmpty());
    EXPECT_EQ(drawUpdates, 0);
    EXPECT_EQ(mainShown, 0);
}

TEST_F(StartRoad, HomeCopyWithFewerRecordsNeverReplacesTheHistory) {
    // One record with a later issue: taking it would wipe the local history. The copy disagrees
    // with the local draws, and the start says so.
    server.serve("/3d/HAO.txt", history::EncodeDrawRecord("2024199 999"));
    server.serve("/3d/HAOP3.txt", history::EncodeDrawRecord("2024199 999"));  // the local file is empty
    auto form = makeForm();
    ui::MessageRecorder box(ui::Answer::Ok);
    RunStartRoad(form.get());
    ASSERT_EQ(box.messages.size(), 1);
    EXPECT_TRUE(box.messages[0].text.contains(QStringLiteral("服务器的副本与本机 %1 中的开奖记录不一致，本机文件没有被替换")
                                                  .arg(dir.file("HAO.TXT"))))
        << box.messages[0].text.toStdString();
    EXPECT_TRUE(drawsUpdated());
    // An empty local file has nothing to lose: the copy is taken.
    EXPECT_EQ(dir.read("HAOP3.TXT"), history::EncodeDrawRecord("2024199 999"));
    EXPECT_FALSE(QFile::exists(dir.file("HAOBAK.TXT")));
    EXPECT_EQ(mainShown, 1);
}

TEST_F(StartRoad, DamagedRecordsAreReportedOnceAndTheFileKept) {
    const QByteArray p3 = history::EncodeDrawRecord("2024100 111") + QByteArray("20241\r\n 2221", 12) +
                          QByteArray("2024\0" "02 3331", 12) + history::EncodeDrawRecord("2024103 444");
    dir.write("HAOP3.TXT", p3);
    auto form = makeForm();
    ui::MessageRecorder box(ui::Answer::Ok);
    RunStartRoad(form.get());
    ASSERT_EQ(box.messages.size(), 1);
    EXPECT_TRUE(box.messages[0].text.contains(QStringLiteral("HAOP3.TXT 中有 2 条记录已损坏"))) << box.messages[0].text.toStdString();
    EXPECT_FALSE(box.messages[0].text.contains(QStringLiteral("HAO.TXT")));
    EXPECT_EQ(dir.read("HAOP3.TXT"), p3);
    EXPECT_EQ(mainShown, 1);
}

TEST_F(StartRoad, LoadRemovesCopiesLeftByAKilledUpgrade) {
    dir.write(".update-old-program", "old program");
    dir.write(".update-old-log", "5\r\nold\r\n");
    auto form = makeForm();
    ASSERT_TRUE(form->prepareStart());
    EXPECT_FALSE(QFile::exists(dir.file(".update-old-program")));
    EXPECT_FALSE(QFile::exists(dir.file(".update-old-log")));
}

TEST_F(StartRoad, HomeFolderReadThroughFileAddresses) {
    // The home address may be a folder: the version log and the draw-file copies come from it.
    QTemporaryDir home;
    QDir(home.path()).mkpath("3d");
    auto put = [&](const QString& name, const QByteArray& bytes) {
        QFile f(QDir(home.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    put("3d/updatelog.txt", "6\r\nnotice\r\n");
    const QByteArray longer = hao + history::EncodeDrawRecord("2024102 345") + history::EncodeDrawRecord("2024103 777");
    put("3d/HAO.txt", longer);
    EnvVar h("SIFMORA_HOME_URL", QUrl::fromLocalFile(home.path()).toString());
    StartError e;
    EXPECT_TRUE(ServerHasNewerVersion(&e));
    EXPECT_FALSE(e.isError());
    EXPECT_FALSE(QFile::exists(dir.file("updatebak.txt")));
    auto form = makeForm();
    ui::MessageRecorder box(ui::Answer::No);
    RunStartRoad(form.get());
    ASSERT_EQ(box.messages.size(), 1);  // only the upgrade question
    EXPECT_EQ(dir.read("HAO.TXT"), longer);
    EXPECT_EQ(mainShown, 1);
    // A home folder without the files is like an unreachable server: no message.
    QFile::remove(QDir(home.path()).filePath("3d/updatelog.txt"));
    EXPECT_FALSE(ServerHasNewerVersion(&e));
    EXPECT_FALSE(e.isError());
}

TEST_F(StartRoad, DrawFileThatIsAFifoEndsTheRoadWithAMessage) {
    QFile::remove(dir.file("HAO.TXT"));
    testsupport::Fifo fifo(dir.file("HAO.TXT"));
    ASSERT_TRUE(fifo.isMade());
    auto form = makeForm();
    ASSERT_TRUE(form->prepareStart());
    ui::MessageRecorder box(ui::Answer::No);
    RunStartRoad(form.get());
    EXPECT_FALSE(fifo.readerWaited());  // nothing opened or read it
    EXPECT_EQ(mainShown, 1);
    ASSERT_FALSE(box.messages.isEmpty());
    EXPECT_TRUE(box.lastText().contains(QStringLiteral("这不是文件"))) << box.lastText().toStdString();
    EXPECT_FALSE(QFileInfo(dir.file("HAO.TXT")).isFile());  // nothing was written in its place
}

TEST_F(StartRoad, StartRemovesOnlyStaleTemporariesOfKilledWrites) {
    // A write killed in another process long ago, in the program folder and in the formula folder.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("公式")));
    const struct {
        QString name;
        int ageMinutes;
        bool removed;
    } cases[] = {
        {"3Dbak.exe.tmp999999-123456", 30, true},
        {QStringLiteral("公式/A.txt.tmp999999-654321"), 30, true},
        {"HAO.TXT.tmp999999-111111", 0, false},  // fresh: maybe still being written
        {"HAO.TXT.tmp", 30, false},              // not the program's naming
    };
    for (const auto& c : cases) {
        dir.write(c.name, "x");
        const QDateTime when = QDateTime::currentDateTime().addSecs(-60 * c.ageMinutes);
        QFile f(dir.file(c.name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    auto form = makeForm();
    ASSERT_TRUE(form->prepareStart());
    for (const auto& c : cases) EXPECT_EQ(QFile::exists(dir.file(c.name)), !c.removed) << c.name.toStdString();
}

// A fresh program folder gets its HAO and 公式 at the start, so that 保存, 兑奖 and the file
// dialogs find them; a folder that cannot be made is said once and the main window still opens.
TEST_F(StartRoad, LoadMakesThePlayersFoldersAndTheRoadSaysWhenItCannot) {
    {
        auto form = makeForm();
        ASSERT_TRUE(form->prepareStart());
        EXPECT_TRUE(QFileInfo(dir.file("HAO")).isDir());
        EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("公式"))).isDir());
        ui::MessageRecorder box;
        RunStartRoad(form.get());
        EXPECT_TRUE(box.messages.isEmpty()) << box.lastText().toStdString();
    }
    ASSERT_TRUE(QDir(dir.file("HAO")).removeRecursively());
    dir.write("HAO", "not a folder");
    auto form = makeForm();
    ASSERT_TRUE(form->prepareStart());
    ui::MessageRecorder box;
    RunStartRoad(form.get());
    EXPECT_EQ(mainShown, 2);
    ASSERT_EQ(box.messages.size(), 1);
    EXPECT_TRUE(box.lastText().contains(QStringLiteral("无法在程序文件夹中建立文件夹“HAO”"))) << box.lastText().toStdString();
    EXPECT_EQ(dir.read("HAO"), QByteArray("not a folder"));
    EXPECT_TRUE(drawsUpdated());
}
