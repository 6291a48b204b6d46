// A settings write never waits on a lock left by a run that ended, still waits for a copy that
// is writing, and a write that cannot reach the file is said once with the reason.
#include "common/settings.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace common;

QString LockPath() { return SettingsFilePath() + QStringLiteral(".lock"); }

// Keeps a lock's time at now while it lives: QLockFile would wait for such a lock it cannot
// read for ever instead of 30 s, so a write that waits on it is caught by a hang guard alone.
class FreshLock {
public:
    FreshLock() {
        toucher_ = std::thread([this] {
            const QByteArray lock = QFile::encodeName(LockPath());
            const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(120);
            while (!stop_) {
                if (std::chrono::steady_clock::now() > guard) {  // a guard against hanging, not a measurement
                    gaveUp_ = true;
                    return;
                }
                ::utimensat(AT_FDCWD, lock.constData(), nullptr, 0);
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    }
    ~FreshLock() { stop(); }
    // True when the write outlasted the guard.
    bool stop() {
        stop_ = true;
        if (toucher_.joinable()) toucher_.join();
        return gaveUp_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> gaveUp_{false};
    std::thread toucher_;
};

void WriteLock(const QByteArray& bytes) {
    QFile lock(LockPath());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
    lock.write(bytes);
}

}  // namespace

TEST(SettingsLock, LockOfARunThatEndedIsTakenAtOnce) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(SettingsFilePath()).absolutePath()));
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"an empty lock (killed right after making it)", QByteArray()},
        {"a lock of unreadable text", QByteArray("not a lock\n")},
        {"a lock of a process that has ended",
         QByteArray::number(qint64(testsupport::GonePid())) + "\nSifmora\n" + host + "\n"},
    };
    int value = 10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteLock(c.bytes);
        FreshLock fresh;
        SaveSmartScheme(++value);
        EXPECT_FALSE(fresh.stop());
        EXPECT_EQ(SettingSmartScheme(), value);
        EXPECT_FALSE(QFileInfo::exists(LockPath()));  // taken, and given back after the write
    }
}

// A copy that holds the lock (QLockFile keeps an flock on it), even before it has written its
// line into it, is waited for; the write goes through once it lets go.
TEST(SettingsLock, LockOfARunningCopyIsWaitedFor) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(SettingsFilePath()).absolutePath()));
    SaveSmartScheme(2);
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const QByteArray lock = QFile::encodeName(LockPath());
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        ::close(ready[0]);
        ::close(release[1]);  // the holder lets go once the test closes its end
        const int fd = ::open(lock.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        const char ok = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
        (void)!::write(ready[1], &ok, 1);
        char c;
        (void)!::read(release[0], &c, 1);
        ::unlink(lock.constData());
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char held = 'n';
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    std::atomic<bool> written{false};
    std::thread writer([&] {
        SaveSmartScheme(3);
        written = true;
    });
    // The holder has the lock well past the instant a left-over lock is taken in.
    // (The file is looked at directly: QSettings keeps every other store of the process waiting
    // while one waits for its lock.)
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(written);
    QFile ini(SettingsFilePath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("zl=2"));
    EXPECT_TRUE(QFileInfo::exists(LockPath()));
    ::close(release[1]);
    writer.join();
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    EXPECT_EQ(SettingSmartScheme(), 3);
}

// A settings folder that cannot be written: the value stays as it was and the first failed
// save says why, once.
TEST(SettingsSave, FolderThatCannotBeWrittenIsSaidOnce) {
    const QString folder = QFileInfo(SettingsFilePath()).absolutePath();
    ASSERT_TRUE(QDir().mkpath(folder));
    SaveLotteryIsP3(false);
    QStringList said;
    SetSettingsSaveNotice([&](const QString& message) { said << message; });
    {
        testsupport::ReadOnlyFolder readOnly(folder);
        if (!readOnly.isReadOnly()) {
            SetSettingsSaveNotice({});
            GTEST_SKIP() << "the folder could not be made read-only here";
        }
        SaveLotteryIsP3(true);
        SaveSmartScheme(9);
        // (The process itself keeps seeing what it set: QSettings holds it to write later.)
        QFile ini(SettingsFilePath());
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        EXPECT_TRUE(ini.readAll().contains("fclx=0"));
        ASSERT_EQ(said.size(), 1) << said.join('\n').toStdString();
        EXPECT_TRUE(said[0].startsWith(QStringLiteral("设置无法保存："))) << said[0].toStdString();
        EXPECT_TRUE(said[0].contains(QDir::toNativeSeparators(folder))) << said[0].toStdString();
        // Read-only bound for root, no permission otherwise.
        EXPECT_TRUE(said[0].contains(QStringLiteral("磁盘是只读的")) || said[0].contains(QStringLiteral("没有写入权限")))
            << said[0].toStdString();
        EXPECT_TRUE(testsupport::FilesIn(folder).filter(QStringLiteral("probe")).isEmpty());
    }
    // Writable again: saves go through, and nothing more is said.
    SaveToleranceRange(QStringLiteral("2"));
    QFile ini(SettingsFilePath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("fclx=1"));
    EXPECT_EQ(said.size(), 1);
    SetSettingsSaveNotice({});
}
