// A close request (what `update` sends before it swaps the program) ends a real run of the
// program's windows from any state: during a 300-period history verification over the real
// history, and while a condition's error box waits for its button; so does the application's
// quit that a desktop's log-out sends. The run ends with exit 0, the files are whole and the next
// start takes the lock.
#include "app/endrun.h"
#include "platform/closerequest.h"

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// A scheme list of one record whose condition names a(6) while the series ends at a(5): every
// verified period reports the failure in a box.
QByteArray FailingSchemeList() {
    const QString condition = QStringLiteral("a(6) = 1").leftJustified(79, QLatin1Char(' '));
    const QString record = QStringLiteral("3D错误：00  NULL：00|公式：") + condition +
                           QStringLiteral("|左0|码5|第2020032期，验证002期，周期002.txt");
    return "<list><f v=\"" + record.toUtf8() + "\"/></list>";
}

// Reads the probe's output until the line comes, or the probe ends (a hang guard, not a time).
bool WaitForLine(QProcess& probe, const QByteArray& line) {
    for (;;) {
        while (probe.canReadLine())
            if (probe.readLine().trimmed() == line) return true;
        if (probe.state() != QProcess::Running || !probe.waitForReadyRead(180000)) return false;
    }
}

}  // namespace

TEST(CloseRequestEndsTheRun, DuringAVerificationAndWhileAConditionsErrorBoxIsOpen) {
    const struct {
        const char* what;
        const char* argument;
        const char* line;
        bool logOut;  // the application is quit instead of sent a close request
    } cases[] = {{"a 300-period verification", "verify", "verifying", false},
                 {"a condition's error box", "box", "error box", false},
                 {"a log-out during a verification", "verify", "verifying", true},
                 {"a log-out while an error box is open", "box", "error box", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::ProgramDir dir;
        QTemporaryDir runtime;
        ASSERT_TRUE(runtime.isValid());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        testsupport::EnvVar runtimeVar("XDG_RUNTIME_DIR", runtime.path());
        testsupport::EnvVar home("SIFMORA_HOME_URL", QString());  // the program folder's home
        ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
        const QByteArray draws = dir.read(QStringLiteral("HAO.TXT"));
        if (QByteArray(c.argument) == "box") {
            dir.write(QStringLiteral("home/3d/3d.xml"), FailingSchemeList());
        } else {
            QFile shipped(QStringLiteral(SIFMORA_SOURCE_DIR "/home/3d/3d.xml"));
            ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
            dir.write(QStringLiteral("home/3d/3d.xml"), shipped.readAll());
        }

        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{QString::fromLatin1(c.argument)};
        if (c.logOut) arguments << QStringLiteral("quit");
        probe.start(QStringLiteral(SIFMORA_CLOSE_PROBE), arguments);
        ASSERT_TRUE(probe.waitForStarted(20000));
        ASSERT_TRUE(WaitForLine(probe, c.line)) << probe.readAll().toStdString();
        if (!c.logOut) {
            EXPECT_TRUE(platform::IsInstanceRunning(QStringLiteral("Sifmora")));
            EXPECT_TRUE(platform::SendCloseRequest(QStringLiteral("Sifmora"), 5000));
        }
        if (!probe.waitForFinished(60000)) probe.kill();  // a hang guard only
        ASSERT_EQ(probe.state(), QProcess::NotRunning);
        EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(probe.exitCode(), 0);

        // Nothing half-written: the draws as they were, no temporary left, the settings readable.
        EXPECT_EQ(dir.read(QStringLiteral("HAO.TXT")), draws);
        for (const QString& name : testsupport::FilesIn(dir.path()))
            EXPECT_FALSE(name.contains(QStringLiteral(".tmp")) || name.startsWith(QStringLiteral(".entry"))) << name.toStdString();
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"), QStringLiteral("Lotvane"));
        EXPECT_EQ(settings.status(), QSettings::NoError);
        // The next start runs.
        EXPECT_FALSE(platform::IsInstanceRunning(QStringLiteral("Sifmora")));
        platform::SingleInstance next(QStringLiteral("Sifmora"));
        next.answerWaitMs = 0;
        QString why;
        EXPECT_TRUE(next.acquire(&why)) << why.toStdString();
    }
}

// A window thread held for good (a layout, a lock wait or a formula that never ends) cannot run
// the closing path: the close request is still answered at once from the copy's own thread, and
// the process ends on its forced end with the files whole; the next start runs.
TEST(CloseRequestEndsTheRun, WhileTheWindowThreadIsHeld) {
    testsupport::ProgramDir dir;
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    testsupport::EnvVar runtimeVar("XDG_RUNTIME_DIR", runtime.path());
    testsupport::EnvVar home("SIFMORA_HOME_URL", QString());
    ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
    const QByteArray draws = dir.read(QStringLiteral("HAO.TXT"));
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QStringLiteral(SIFMORA_CLOSE_PROBE), {QStringLiteral("hold")});
    ASSERT_TRUE(probe.waitForStarted(20000));
    ASSERT_TRUE(WaitForLine(probe, "held"));
    EXPECT_TRUE(platform::IsInstanceRunning(QStringLiteral("Sifmora")));
    EXPECT_TRUE(platform::SendCloseRequest(QStringLiteral("Sifmora"), 5000));
    // A hang guard only, several times the forced end's time.
    if (!probe.waitForFinished(4 * app::kForcedEndMs)) probe.kill();
    ASSERT_EQ(probe.state(), QProcess::NotRunning);
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(probe.exitCode(), app::kForcedEndCode);
    EXPECT_EQ(dir.read(QStringLiteral("HAO.TXT")), draws);
    EXPECT_FALSE(platform::IsInstanceRunning(QStringLiteral("Sifmora")));
    platform::SingleInstance next(QStringLiteral("Sifmora"));
    next.answerWaitMs = 0;
    QString why;
    EXPECT_TRUE(next.acquire(&why)) << why.toStdString();
}

// Two starts of the program on one folder meet at one lock whatever their environment: with the
// first one's runtime folder removed under it, a second start from another runtime folder, or
// from none, asks the running copy to show itself and ends silently; the running copy then ends
// on the close request sent from that other environment.
TEST(OneCopyPerProgramFolder, SecondStartOfTheProgramEndsWhateverItsEnvironment) {
    const QString bin = QStringLiteral(SIFMORA_BIN_DIR "/Sifmora");
    if (!QFile::exists(bin)) GTEST_SKIP() << "Sifmora not built";
    testsupport::ProgramDir dir;
    ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
    QTemporaryDir runtimeA, runtimeB, cache;
    ASSERT_TRUE(runtimeA.isValid() && runtimeB.isValid() && cache.isValid());
    for (const QTemporaryDir* d : {&runtimeA, &runtimeB})
        QFile::setPermissions(d->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const auto environment = [](const QString& runtime, const QString& cacheHome) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SIFMORA_HOME_URL"), QString());        // the board opens nothing
        env.insert(QStringLiteral("SIFMORA_RESULTS_URL"), QStringLiteral("http://127.0.0.1:1"));
        if (runtime.isEmpty()) env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        else env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        if (!cacheHome.isEmpty()) env.insert(QStringLiteral("XDG_CACHE_HOME"), cacheHome);
        return env;
    };
    QProcess first;
    first.setProcessEnvironment(environment(runtimeA.path(), QString()));
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(bin, {});
    ASSERT_TRUE(first.waitForStarted(20000));
    {
        testsupport::EnvVar runtime("XDG_RUNTIME_DIR", runtimeA.path());
        bool running = false;
        for (int i = 0; i < 1200 && !running && first.state() == QProcess::Running; ++i) {  // a hang guard
            running = platform::IsInstanceRunning(QStringLiteral("Sifmora"));
            if (!running) QThread::msleep(50);
        }
        ASSERT_TRUE(running);
    }
    ASSERT_TRUE(QDir(runtimeA.filePath(QStringLiteral("Sifmora"))).removeRecursively());

    const struct {
        const char* what;
        QString runtime, cache;
    } seconds[] = {{"another runtime folder", runtimeB.path(), QString()}, {"no runtime folder", QString(), cache.path()}};
    for (const auto& s : seconds) {
        SCOPED_TRACE(s.what);
        QProcess second;
        second.setProcessEnvironment(environment(s.runtime, s.cache));
        second.start(bin, {});
        ASSERT_TRUE(second.waitForFinished(60000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(first.state(), QProcess::Running);
    }

    testsupport::EnvVar runtime("XDG_RUNTIME_DIR", runtimeB.path());
    EXPECT_TRUE(platform::SendCloseRequest(QStringLiteral("Sifmora"), 5000));
    if (!first.waitForFinished(60000)) first.kill();  // a hang guard only
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(platform::InstanceLockPath(QStringLiteral("Sifmora"))));
}
