#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

QStringList FilesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

Fifo::Fifo(const QString& path, int releaseAfterMs) : path_(path) {
    made_ = ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (!made_) return;
    const QByteArray name = QFile::encodeName(path);
    releaser_ = std::thread([this, name, releaseAfterMs] {
        const auto start = std::chrono::steady_clock::now();
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(releaseAfterMs)) continue;
            // Succeeds only while a reader waits; closing it at once gives that reader an end of file.
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                readerWaited_ = true;
                ::close(fd);
            }
        }
    });
}

Fifo::~Fifo() {
    stop_ = true;
    if (releaser_.joinable()) releaser_.join();
    if (made_) ::unlink(QFile::encodeName(path_).constData());
}

FileSizeLimit::FileSizeLimit(qint64 maxBytes) {
    struct rlimit lim {};
    if (::getrlimit(RLIMIT_FSIZE, &lim) != 0) return;
    oldSoft_ = lim.rlim_cur;
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead of killing us
    lim.rlim_cur = rlim_t(maxBytes);
    set_ = ::setrlimit(RLIMIT_FSIZE, &lim) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    if (!set_) return;
    struct rlimit lim {};
    ::getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = rlim_t(oldSoft_);
    ::setrlimit(RLIMIT_FSIZE, &lim);
}

SmallDisk::SmallDisk(qint64 bytes, int inodes) {
    QByteArray options = "size=" + QByteArray::number(bytes);
    if (inodes > 0) options += ",nr_inodes=" + QByteArray::number(inodes);
    mounted_ = dir_.isValid() &&
               ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill(qint64 spare) const {
    struct statvfs st {};
    if (::statvfs(QFile::encodeName(dir_.path()).constData(), &st) != 0) return;
    const qint64 freeBytes = qint64(st.f_bavail) * qint64(st.f_frsize);
    QFile f(file(QStringLiteral(".filler")));
    if (!f.open(QIODevice::WriteOnly)) return;
    f.write(QByteArray(qMax<qint64>(0, freeBytes - spare), 'f'));
    f.close();
}

void SmallDisk::fillEntries() const {
    for (int i = 0; i < 1000; ++i) {
        const int fd = ::open(QFile::encodeName(file(QStringLiteral(".entry%1").arg(i))).constData(),
                              O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return;
        ::close(fd);
    }
}

void SmallDisk::removeEntries() const {
    for (const QString& name : QDir(path()).entryList({QStringLiteral(".entry*")}, QDir::Files | QDir::Hidden))
        QFile::remove(file(name));
}

ReadOnlyFolder::ReadOnlyFolder(const QString& path) : path_(path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mount(name.constData(), name.constData(), nullptr, MS_BIND, nullptr) == 0) {
        mounted_ = true;
        ::mount(nullptr, name.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
    } else {
        chmodded_ = ::chmod(name.constData(), 0555) == 0;
    }
    const QByteArray probe = QFile::encodeName(path + QStringLiteral("/.probe"));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    readOnly_ = fd < 0;
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.constData());
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    const QByteArray name = QFile::encodeName(path_);
    if (mounted_) ::umount2(name.constData(), MNT_DETACH);
    if (chmodded_) ::chmod(name.constData(), 0755);
}

long GonePid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return long(child);
}

QString SharedDir() {
    QString dir = qEnvironmentVariable("SIFMORA_SHARED_DIR", QStringLiteral(SIFMORA_SHARED_DIR));
    QFileInfo info(dir);
    return info.isDir() ? info.canonicalFilePath() : QString();
}

QString SharedFile(const QString& relative) {
    const QString dir = SharedDir();
    if (dir.isEmpty()) return {};
    const QString path = QDir(dir).filePath(relative);
    return QFileInfo::exists(path) ? path : QString();
}

ProgramDir::ProgramDir() {
    hadOld_ = qEnvironmentVariableIsSet("SIFMORA_DIR");
    oldDir_ = qgetenv("SIFMORA_DIR");
    qputenv("SIFMORA_DIR", dir_.path().toLocal8Bit());
}

ProgramDir::~ProgramDir() {
    if (hadOld_) qputenv("SIFMORA_DIR", oldDir_);
    else qunsetenv("SIFMORA_DIR");
}

bool ProgramDir::copyShared(const QString& relative, const QString& asName) const {
    const QString src = SharedFile(relative);
    if (src.isEmpty()) return false;
    const QString dst = file(asName.isEmpty() ? QFileInfo(src).fileName() : asName);
    QFile::remove(dst);
    if (!QFile::copy(src, dst)) return false;
    QFile(dst).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

void ProgramDir::write(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    QDir().mkpath(QFileInfo(f.fileName()).absolutePath());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray ProgramDir::read(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

CurrentFolderElsewhere::CurrentFolderElsewhere() : before_(QDir::currentPath()) {
    QFile project(dir_.filePath(QStringLiteral("CMakeLists.txt")));
    if (project.open(QIODevice::WriteOnly)) project.write("project(elsewhere)\n");
    QDir::setCurrent(dir_.path());
}

CurrentFolderElsewhere::~CurrentFolderElsewhere() { QDir::setCurrent(before_); }

EnvVar::EnvVar(const char* name, const QString& value)
    : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    if (value.isNull()) qunsetenv(name);
    else qputenv(name, value.toUtf8());
}

EnvVar::~EnvVar() {
    if (had_) qputenv(name_, old_);
    else qunsetenv(name_);
}

}  // namespace testsupport
