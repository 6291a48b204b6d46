#include "common/localfile.h"

#include "common/fileerror.h"

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

QString NotAFileText(bool isFolder) {
    return isFolder ? QStringLiteral("这是文件夹，不是文件")
                    : QStringLiteral("这不是文件（是管道、设备或套接字），没有读取");
}

// The cause of a failed read, from the error number the read left.
QString ReadErrorText(int e) {
    if (e == EAGAIN || e == EWOULDBLOCK) return QStringLiteral("读取时需要等待数据，这不是普通文件");
    return FileErrorText(e != 0 ? e : EIO);
}

bool Fail(QString* error, const QString& path, const QString& reason) {
    if (error) *error = Failure(path, reason);
    return false;
}

}  // namespace

QString TooLargeText(qint64 size, qint64 maxBytes) {
    return QStringLiteral("文件有 %1 KB，超过了 %2 KB 的上限").arg((size + 1023) / 1024).arg(maxBytes / 1024);
}

bool OpenRegularFile(QFile* file, qint64 maxBytes, QString* error) {
    const QString path = file->fileName();
    Q_ASSERT(maxBytes > 0);
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
    if (st.st_size > maxBytes) {
        ::close(fd);
        return Fail(error, path, TooLargeText(st.st_size, maxBytes));
    }
    // O_NONBLOCK stays: on a regular file of a disk it changes nothing, and a file of the kernel
    // that would wait for data (/proc/kmsg) fails its read at once instead.
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {  // the file keeps no name
        ::close(fd);
        return Fail(error, path, FileErrorText(EIO));
    }
    return true;
#else
    const QFileInfo info(path);
    if (!info.exists()) return Fail(error, path, FileErrorText(ENOENT));
    if (!info.isFile()) return Fail(error, path, NotAFileText(info.isDir()));
    if (info.size() > maxBytes) return Fail(error, path, TooLargeText(info.size(), maxBytes));
    if (!file->open(QIODevice::ReadOnly)) return Fail(error, path, FileErrorText(*file));
    return true;
#endif
}

bool ReadPiece(QFile* file, const QString& path, qint64 maxBytes, qint64* total, QByteArray* piece, QString* error) {
    // Whole pieces: some files of the kernel take reads of whole records only (8 bytes a page).
    constexpr qint64 kPiece = 64 * 1024;
    errno = 0;
    *piece = file->read(kPiece);
    if (file->error() != QFileDevice::NoError) return Fail(error, path, ReadErrorText(errno));
    *total += piece->size();
    if (*total > maxBytes) return Fail(error, path, TooLargeText(*total, maxBytes));
    return true;
}

bool ReadOpenedFile(QFile* file, const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error) {
    // A file that grows while it is read, or tells no size at all, still stops past the limit.
    QByteArray data, piece;
    qint64 total = 0;
    do {
        if (!ReadPiece(file, path, maxBytes, &total, &piece, error)) return false;
        data += piece;
    } while (!piece.isEmpty());
    if (bytes) *bytes = data;
    return true;
}

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray* bytes, QString* error) {
    QFile f(path);
    return OpenRegularFile(&f, maxBytes, error) && ReadOpenedFile(&f, path, maxBytes, bytes, error);
}

}  // namespace common
