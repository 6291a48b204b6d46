#include "common/localfile.h"

#include "common/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace common {

namespace {

QString Failure(const QString& path, const QString& reason) {
    return QStringLiteral("无法读取 %1：%2").arg(QDir::toNativeSeparators(path), reason);
}

QString TooLargeText(qint64 size, qint64 maxBytes) {
    return QStringLiteral("文件有 %1 KB，超过了 %2 KB 的上限").arg((size + 1023) / 1024).arg(maxBytes / 1024);
}

QString NotAFileText(bool isFolder) {
    return isFolder ? QStringLiteral("这是文件夹，不是文件")
                    : QStringLiteral("这不是文件（是管道、设备或套接字），没有读取");
}

bool Fail(QString* error, const QString& path, const QString& reason) {
    if (error) *error = Failure(path, reason);
    return false;
}

}  // namespace

bool OpenRegularFile(QFile* file, qint64 maxBytes, QString* error) {
    const QString path = file->fileName();
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) return Fail(error, path, FileErrorText(errno));
    if (!S_ISREG(st.st_mode)) return Fail(error, path, NotAFileText(S_ISDIR(st.st_mode)));
    // Non-blocking: a FIFO swapped in after the check still cannot hold the open.
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int e = errno;
        return Fail(error, path, e == EACCES || e == EPERM ? QStringLiteral("没有读取权限") : FileErrorText(e));
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail(error, path, NotAFileText(S_ISDIR(st.st_mode)));
    }
    if (maxBytes > 0 && st.st_size > maxBytes) {
        ::close(fd);
        return Fail(error, path, TooLargeText(st.st_size, maxBytes));
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {  // the file keeps no name
        ::close(fd);
        return Fail(error, path, FileErrorText(EIO));
    }
    return true;
#else
    const QFileInfo info(path);
    if (!info.exists()) return Fail(error, path, FileErrorText(ENOENT));
    if (!info.isFile()) return Fail(error, path, NotAFileText(info.isDir()));
    if (maxBytes > 0 && info.size() > maxBytes) return Fail(error, path, TooLargeText(info.size(), maxBytes));
    if (!file->open(QIODevice::ReadOnly)) return Fail(error, path, FileErrorText(*file));
    return true;
#endif
}

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error) {
    QFile f(path);
    if (!OpenRegularFile(&f, maxBytes, error)) return false;
    // A file that grows while it is read still stops at the limit.
    const QByteArray data = maxBytes > 0 ? f.read(maxBytes + 1) : f.readAll();
    if (f.error() != QFileDevice::NoError) {
        const int e = errno;  // of the failed read
        return Fail(error, path, FileErrorText(e != 0 ? e : EIO));
    }
    if (maxBytes > 0 && data.size() > maxBytes) return Fail(error, path, TooLargeText(data.size(), maxBytes));
    if (bytes) *bytes = data;
    return true;
}

}  // namespace common
