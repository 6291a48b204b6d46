#include "common/settings.h"

#include "common/fileerror.h"
#include "common/localfile.h"
#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <signal.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

namespace common {
namespace {

// Settings are a few short lines; a file past this is not ours.
constexpr qint64 kSettingsLimit = 64 * 1024;
// How long a save waits for the settings lock another program holds (another copy in its save).
constexpr int kSettingsLockWaitMs = 1000;

// QSettings reads its file whole, and takes "<file>.lock" when it writes, with blocking calls: a
// FIFO there would hold the program for good, and a file of /proc (which tells no size) would
// fill the memory. Both are checked before QSettings may touch them; empty when they can be used.
QString CheckedStore(const QString& path) {
    const QString lock = path + QStringLiteral(".lock");
    QString why;
    QByteArray bytes;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && !ReadRegularFile(path, kSettingsLimit, &bytes, &why))
        return why;
    if (::lstat(QFile::encodeName(lock).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return QStringLiteral("%1 不是文件").arg(QDir::toNativeSeparators(lock));
    return {};
}

// The store, or none (values read as missing, saves dropped) when its file cannot be used.
std::unique_ptr<QSettings> Store() {
    const QString path = SettingsFilePath();
    if (!CheckedStore(path).isEmpty()) return nullptr;
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QString KeyOf(const QString& key) { return QStringLiteral("flag/") + key; }

// QSettings writes under "<file>.lock" (QLockFile), and a lock it cannot read (an empty one, left
// by a run killed just after making it) it waits for until the lock is 30 s old, with the
// window held all that time. QLockFile keeps an flock on the lock it holds, so a lock nobody
// holds that names no running process of this machine is left over: it goes before the write,
// as QLockFile itself removes a stale one (under an flock of its own, and only the file looked at).
enum class LockState { Absent, Held, LeftOver };

// Whether the lock's first lines (pid, program, machine) name a process running here; a lock of
// another machine is its own business.
bool OwnerRuns(const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0) return false;
    const QByteArray host = lines.value(2).trimmed();
    if (!host.isEmpty() && host != QSysInfo::machineHostName().toUtf8()) return true;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

LockState LookAtLock(const QByteArray& lock, bool removeLeftOver) {
    const int fd = ::open(lock.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return LockState::Absent;
    LockState state = LockState::Held;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        char head[512];
        const ssize_t n = ::pread(fd, head, sizeof head, 0);
        if (!OwnerRuns(QByteArray(head, n > 0 ? int(n) : 0))) {
            state = LockState::LeftOver;
            struct stat now {};
            if (removeLeftOver && ::lstat(lock.constData(), &now) == 0 && now.st_ino == st.st_ino && now.st_dev == st.st_dev)
                ::unlink(lock.constData());
        }
    }
    ::close(fd);
    return state;
}

void ClearLeftOverLock(const QString& path) {
    const QByteArray lock = QFile::encodeName(path + QStringLiteral(".lock"));
    if (LookAtLock(lock, false) != LockState::LeftOver) return;
    // A writer between making its lock and taking the flock on it (an instant) looks the same;
    // by a second look it holds it.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    LookAtLock(lock, true);
}

// The first failed save of a run is said once, through the notice the program sets; so is the
// first save that found the settings in use by another program.
std::mutex noticeMutex;
std::function<void(const QString&)> saveNotice;
std::atomic<bool> saveFailureSaid{false};
std::atomic<bool> busySaid{false};

// Values set in this run that have not reached the file yet (it was in use or could not be
// written): read back from here, and written with the next save.
std::mutex pendingMutex;
QMap<QString, QString> pending;

// Why the settings cannot be written, from what the system says to a write (a look at the modes
// would be wrong for root, whom only a read-only disk stops): a file made in the folder, then the
// settings file opened for writing.
QString CannotSaveText(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    const QString where = QDir::toNativeSeparators(folder);
    const QByteArray probe = QFile::encodeName(folder + QStringLiteral("/.Lotvane.probe%1").arg(::getpid()));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    const QString text = QStringLiteral("设置无法保存：%1 不能写入（%2）。本次运行中更改的设置不会保存。");
    if (fd < 0) return text.arg(where, FileErrorText(errno));
    const bool wrote = ::write(fd, "x", 1) == 1;
    const int writeErrno = errno;
    ::close(fd);
    ::unlink(probe.constData());
    if (!wrote) return text.arg(where, FileErrorText(writeErrno));
    const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    const int openErrno = errno;
    if (file >= 0) ::close(file);
    return text.arg(QDir::toNativeSeparators(path), FileErrorText(file >= 0 ? 0 : openErrno));
}

void Say(std::atomic<bool>& said, const QString& text) {
    std::function<void(const QString&)> notice;
    {
        std::lock_guard<std::mutex> hold(noticeMutex);
        if (!saveNotice || said.exchange(true)) return;
        notice = saveNotice;
    }
    notice(text);
}

void SayCannotSave(const QString& path) { Say(saveFailureSaid, CannotSaveText(path)); }

void SayInUse(const QString& path) {
    Say(busySaid, QStringLiteral("设置正被另一个程序使用（%1 被锁定），暂时不能保存。更改的设置保留在本次运行中，"
                                 "下次保存设置时一并写入。")
                      .arg(QDir::toNativeSeparators(path + QStringLiteral(".lock"))));
}

// Writes the values into the settings file while this process holds its lock: the file is copied
// into a file made here under a fresh name, QSettings writes the values there (in its own format,
// beside every other key), and that file is renamed over the settings. QSettings itself would
// wait for the lock without end. False when the folder or the file cannot be written.
bool WriteUnderLock(const QString& path, const QMap<QString, QString>& values) {
    const QByteArray name = QFile::encodeName(path);
    QByteArray current;
    struct stat before {};
    const bool existed = ::stat(name.constData(), &before) == 0;
    if (existed && !ReadRegularFile(path, kSettingsLimit, &current)) return false;
    QByteArray temporary = name + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, existed ? (before.st_mode & 0777) : 0600) == 0 &&
              ::write(fd, current.constData(), size_t(current.size())) == current.size();
    ::close(fd);
    if (ok) {
        QSettings store(QFile::decodeName(temporary), QSettings::IniFormat);
        for (auto it = values.begin(); it != values.end(); ++it) store.setValue(KeyOf(it.key()), it.value());
        store.sync();
        ok = store.status() == QSettings::NoError;
    }
    if (ok) {
        // On the disk before the rename, so that a crash leaves the old settings or the new ones.
        const int written = ::open(temporary.constData(), O_RDONLY | O_CLOEXEC);
        ok = written >= 0 && ::fsync(written) == 0;
        if (written >= 0) ::close(written);
    }
    struct stat after {};
    if (ok && existed && ::stat(temporary.constData(), &after) == 0 && after.st_size == before.st_size &&
        after.st_mtim.tv_sec == before.st_mtim.tv_sec && after.st_mtim.tv_nsec / 1000000 == before.st_mtim.tv_nsec / 1000000) {
        // QSettings knows a file it read by its size and time (to the millisecond): a new file
        // alike in both would read as the old one, so its time moves on a millisecond.
        timespec times[2] = {{0, UTIME_OMIT}, before.st_mtim};
        times[1].tv_nsec = (times[1].tv_nsec / 1000000 + 1) * 1000000;
        if (times[1].tv_nsec >= 1000000000) {
            times[1].tv_sec += 1;
            times[1].tv_nsec -= 1000000000;
        }
        ::utimensat(AT_FDCWD, temporary.constData(), times, 0);
    }
    if (ok && ::rename(temporary.constData(), name.constData()) == 0) return true;
    ::unlink(temporary.constData());
    return false;
}

QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

// Writes the values (all that are pending) under the settings lock, waited for a second at most;
// what reaches the file is no longer pending.
void WritePending(const QString& path, const QMap<QString, QString>& values) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    ClearLeftOverLock(path);
    // The lock QSettings writes under, taken the way it takes it, but waited for a second at
    // most: a lock another program holds longer keeps the values for the next save, said once.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kSettingsLockWaitMs)) {
        if (lock.error() == QLockFile::LockFailedError) return SayInUse(path);
        return SayCannotSave(path);
    }
    const bool written = WriteUnderLock(path, values);
    lock.unlock();
    if (!written) return SayCannotSave(path);
    std::lock_guard<std::mutex> hold(pendingMutex);
    for (auto it = values.begin(); it != values.end(); ++it)
        if (pending.value(it.key()) == it.value()) pending.remove(it.key());
}

}  // namespace

QString SettingsFilePath() {
    // Where QSettings keeps the user's settings of organisation and application "Lotvane".
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Lotvane/Lotvane.ini");
}

QString SettingsProblem() {
    const QString why = CheckedStore(SettingsFilePath());
    if (why.isEmpty()) return {};
    return QStringLiteral("设置文件不能使用（%1）。本次运行使用默认设置，更改的设置不会保存。").arg(why);
}

QString GetSetting(const QString& key) {
    {
        std::lock_guard<std::mutex> hold(pendingMutex);
        const auto it = pending.constFind(key);
        if (it != pending.constEnd()) return *it;
    }
    const auto s = Store();
    return s ? s->value(KeyOf(key)).toString() : QString();
}

void SaveSetting(const QString& key, const QString& value) {
    auto s = Store();
    if (!s) return;
    QMap<QString, QString> values;
    {
        std::lock_guard<std::mutex> hold(pendingMutex);
        // A value that stands already is not written again: the file changes only when a setting does.
        if (pending.isEmpty() && s->contains(KeyOf(key)) && s->value(KeyOf(key)).toString() == value) return;
        pending.insert(key, value);
        values = pending;
    }
    const QString path = s->fileName();
    s.reset();
    WritePending(path, values);
}

void ClearLeftOverSettingsLock() { ClearLeftOverLock(SettingsFilePath()); }

void SavePendingSettings() {
    QMap<QString, QString> values;
    {
        std::lock_guard<std::mutex> hold(pendingMutex);
        values = pending;
    }
    if (values.isEmpty()) return;
    const QString path = SettingsFilePath();
    if (!CheckedStore(path).isEmpty()) return;
    WritePending(path, values);
}

void SetSettingsSaveNotice(std::function<void(const QString& message)> notice) {
    std::lock_guard<std::mutex> hold(noticeMutex);
    saveNotice = std::move(notice);
    saveFailureSaid = false;
    busySaid = false;
}

bool HasSetting(const QString& key) {
    {
        std::lock_guard<std::mutex> hold(pendingMutex);
        if (pending.contains(key)) return true;
    }
    const auto s = Store();
    return s && s->contains(KeyOf(key));
}

bool SettingUseAllDraws() { return GetSetting(QStringLiteral("kj")) != QLatin1String("0"); }
void SaveUseAllDraws(bool on) { SaveSetting(QStringLiteral("kj"), Flag(on)); }

int SettingSmartScheme() {
    bool ok = false;
    const int v = GetSetting(QStringLiteral("zl")).trimmed().toInt(&ok);
    return ok ? v : 1;
}
void SaveSmartScheme(int scheme) { SaveSetting(QStringLiteral("zl"), QString::number(scheme)); }

QString SettingToleranceRange() {
    const QString v = GetSetting(QStringLiteral("rc"));
    return v.isEmpty() ? QStringLiteral("1") : v;
}
void SaveToleranceRange(const QString& range) { SaveSetting(QStringLiteral("rc"), range); }

bool SettingLotteryIsP3() { return GetSetting(QStringLiteral("fclx")) == QLatin1String("1"); }
void SaveLotteryIsP3(bool p3) { SaveSetting(QStringLiteral("fclx"), Flag(p3)); }

QString SettingExportPath() {
    const QString v = GetSetting(QStringLiteral("path"));
    return v.isEmpty() ? NumberFolder() + QLatin1Char('/') : v;
}
void SaveExportPath(const QString& folder) { SaveSetting(QStringLiteral("path"), folder); }

bool SettingSmartPick() { return GetSetting(QStringLiteral("zlxuanhao")) != QLatin1String("0"); }
void SaveSmartPick(bool on) { SaveSetting(QStringLiteral("zlxuanhao"), Flag(on)); }

}  // namespace common
