// A settings write never waits on a lock left by a run that ended, waits about a second for one
// another program holds (then keeps the values and says so once), and a write that cannot reach
// the file is said once with the reason.
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

namespace {

// Another program holding the settings lock from a process of its own until the test lets go:
// flocked, as QLockFile holds it (a copy of another program folder stuck in its save), or
// naming a live process of this program's name with no flock (as QLockFile cannot tell from a
// holder). Released with the pipe the test closes.
class LiveLockHolder {
public:
    explicit LiveLockHolder(bool flocked) {
        int pidPipe[2];
        if (::pipe(ready_) != 0 || ::pipe(release_) != 0 || ::pipe(pidPipe) != 0) return;
        const QByteArray lock = QFile::encodeName(LockPath());
        char self[4096] = {};
        const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
        const QByteArray name = QFileInfo(QString::fromLocal8Bit(self, n > 0 ? int(n) : 0)).fileName().toLocal8Bit();
        const QByteArray host = QSysInfo::machineHostName().toUtf8();
        pid_ = ::fork();
        if (pid_ == 0) {
            // Only calls to the system here: the lock's text (as QLockFile writes it, naming this
            // child) is made by the parent and handed over.
            ::close(ready_[0]);
            ::close(release_[1]);
            char text[512];
            const ssize_t got = ::read(pidPipe[0], text, sizeof text);
            const int fd = ::open(lock.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            bool ok = got > 0 && fd >= 0 && ::write(fd, text, size_t(got)) == got;
            if (ok && flocked) ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
            const char c = ok ? 'y' : 'n';
            (void)!::write(ready_[1], &c, 1);
            char wait;
            (void)!::read(release_[0], &wait, 1);
            ::unlink(lock.constData());
            ::_exit(0);
        }
        const QByteArray text = QByteArray::number(qint64(pid_)) + '\n' + name + '\n' + host + '\n';
        (void)!::write(pidPipe[1], text.constData(), size_t(text.size()));
        ::close(pidPipe[0]);
        ::close(pidPipe[1]);
        ::close(ready_[1]);
        ::close(release_[0]);
        char c = 'n';
        held_ = ::read(ready_[0], &c, 1) == 1 && c == 'y';
    }
    ~LiveLockHolder() { release(); }
    void release() {
        if (pid_ <= 0) return;
        ::close(release_[1]);
        ::close(ready_[0]);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    bool held_ = false;

private:
    pid_t pid_ = -1;
    int ready_[2] = {-1, -1};
    int release_[2] = {-1, -1};
};

QByteArray StoredText() {
    QFile ini(SettingsFilePath());
    return ini.open(QIODevice::ReadOnly) ? ini.readAll() : QByteArray();
}

}  // namespace

// A lock held by another live program (a copy in another program folder stuck in its save) never
// holds the window: each save gives up after about a second, the first one says once that the
// settings are in use, and the values are kept, read back and written with the next save once
// the lock is free.
TEST(SettingsLock, LockHeldByAnotherProgramEndsTheSaveAndKeepsTheValues) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(SettingsFilePath()).absolutePath()));
    for (bool flocked : {true, false}) {
        SCOPED_TRACE(flocked ? "a holder with an flock" : "a lock naming a live process of this name");
        SaveSmartScheme(2);
        SaveUseAllDraws(true);
        QStringList said;
        SetSettingsSaveNotice([&](const QString& message) { said << message; });
        LiveLockHolder holder(flocked);
        ASSERT_TRUE(holder.held_);
        std::atomic<bool> saved{false};
        std::thread saver([&] {
            SaveSmartScheme(3);
            SaveUseAllDraws(false);
            saved = true;
        });
        // A hang guard only: the saves are expected in about two seconds.
        for (int i = 0; i < 1200 && !saved; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const bool ended = saved;
        if (!ended) holder.release();
        saver.join();
        ASSERT_TRUE(ended);
        ASSERT_EQ(said.size(), 1) << said.join('\n').toStdString();
        EXPECT_TRUE(said[0].startsWith(QStringLiteral("设置正被另一个程序使用"))) << said[0].toStdString();
        EXPECT_TRUE(StoredText().contains("zl=2"));
        EXPECT_TRUE(StoredText().contains("kj=1"));
        EXPECT_EQ(SettingSmartScheme(), 3);
        EXPECT_FALSE(SettingUseAllDraws());
        EXPECT_TRUE(QFileInfo::exists(LockPath()));  // the other program's, left as it is

        holder.release();
        // The kept values reach the file with the next save, or with the last try as the run ends.
        if (flocked) {
            SaveToleranceRange(QStringLiteral("4"));
        } else {
            SavePendingSettings();
        }
        const QByteArray stored = StoredText();
        EXPECT_TRUE(stored.contains("zl=3") && stored.contains("kj=0")) << stored.toStdString();
        if (flocked) {
            EXPECT_TRUE(stored.contains("rc=4")) << stored.toStdString();
        }
        EXPECT_EQ(said.size(), 1);
        SetSettingsSaveNotice({});
    }
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
