#include "common/atomicfile.h"

#include "common/localfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <functional>
#include <csignal>
#include <cstdio>
#include <limits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

static QString Name(const QString& path) { return QDir::toNativeSeparators(path); }

// The file a path finally names, symbolic links followed (a relative link from its own folder):
// a link the user set up keeps its place and the file it points at gets the new bytes. Empty,
// with errno ELOOP, for a chain that goes round.
static QString FinalTarget(const QString& path) {
    QString current = path;
    for (int hop = 0; hop < 40; ++hop) {
        const QByteArray name = QFile::encodeName(current);
        struct stat st {};
        if (::lstat(name.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        QByteArray link(4096, '\0');
        const ssize_t n = ::readlink(name.constData(), link.data(), size_t(link.size()));
        if (n <= 0 || n >= link.size()) return current;
        const QString to = QFile::decodeName(link.left(n));
        current = QDir::cleanPath(QDir::isRelativePath(to) ? QFileInfo(current).absolutePath() + QLatin1Char('/') + to : to);
    }
    errno = ELOOP;
    return {};
}

// Makes a finished rename durable; failures here change nothing.
static void SyncFolderOf(const QString& path) {
    const int dir = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

AtomicFile::AtomicFile(const QString& path) : path_(path) {}

AtomicFile::~AtomicFile() { cancel(); }

bool AtomicFile::diskFull() const {
#ifdef EDQUOT
    if (errno_ == EDQUOT) return true;
#endif
    return errno_ == ENOSPC || errno_ == EFBIG;
}

bool AtomicFile::fail(int errnum, QString* error) {
    errno_ = errnum;
    if (error) *error = QStringLiteral("无法写入 %1：%2").arg(Name(path_), FileErrorText(errnum));
    cancel();
    return false;
}

bool AtomicFile::open(QString* error) {
    cancel();
    errno_ = 0;
    written_ = 0;
    target_ = FinalTarget(path_);
    if (target_.isEmpty()) return fail(ELOOP, error);
    // A fresh name beside the target (same file system, so the rename is one step); mode 0666
    // less the umask, or the mode of the file it replaces.
    mode_t mode = 0666;
    struct stat st {};
    const QByteArray target = QFile::encodeName(target_);
    const bool existed = ::stat(target.constData(), &st) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // The writer's pid in the name tells a later start whether the writer still runs.
        temp_ = target_ + QStringLiteral(".tmp%1-%2").arg(::getpid()).arg(QRandomGenerator::global()->generate() % 1000000,
                                                                        6, 10, QLatin1Char('0'));
        fd_ = ::open(QFile::encodeName(temp_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd_ >= 0 || errno != EEXIST) break;
    }
    if (fd_ < 0) {
        const int e = errno;
        temp_.clear();
        return fail(e, error);
    }
    if (existed) (void)::fchmod(fd_, st.st_mode & 07777);
    return true;
}

bool AtomicFile::write(const char* data, qint64 size, QString* error) {
    if (fd_ < 0) return fail(EBADF, error);
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno, error);
        }
        if (n == 0) return fail(ENOSPC, error);
        data += n;
        size -= n;
        written_ += n;
    }
    return true;
}

bool AtomicFile::commit(QString* error) {
    if (fd_ < 0) return fail(EBADF, error);
    // The data must be on the disk before the name points at it: a full disk or a failing
    // device shows here (delayed allocation), and then the old file is kept.
    while (::fsync(fd_) != 0) {
        if (errno == EINTR) continue;
        if (errno == EINVAL || errno == EROFS) break;  // a file system without sync (e.g. a pipe-like mount)
        return fail(errno, error);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        fd_ = -1;
        return fail(errno, error);
    }
    if (std::rename(QFile::encodeName(temp_).constData(), QFile::encodeName(target_).constData()) != 0)
        return fail(errno, error);
    temp_.clear();
    SyncFolderOf(target_);
    return true;
}

void AtomicFile::cancel() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.isEmpty()) {
        ::unlink(QFile::encodeName(temp_).constData());
        temp_.clear();
    }
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    AtomicFile f(path);
    return f.open(error) && f.write(bytes, error) && f.commit(error);
}

// Copies source into dest through a temporary file beside dest, then removes source: a link
// that points into another file system cannot take a rename.
static bool CopyOver(const QString& source, const QString& dest, QString* error) {
    // What is moved is one of the program's own files: a draw file or a program at most.
    QFile in(source);
    if (!OpenRegularFile(&in, kProgramLimit, error)) return false;
    AtomicFile out(dest);  // takes the mode of the file it replaces
    if (!out.open(error)) return false;
    qint64 copied = 0;
    for (;;) {
        QByteArray piece;
        if (!ReadPiece(&in, source, kProgramLimit, &copied, &piece, error)) return false;
        if (piece.isEmpty()) break;
        if (!out.write(piece, error)) return false;
    }
    if (!out.commit(error)) return false;
    in.close();
    ::unlink(QFile::encodeName(source).constData());
    return true;
}

bool ReplaceFile(const QString& source, const QString& target, QString* error) {
    const QString dest = FinalTarget(target);
    int e = ELOOP;
    if (!dest.isEmpty()) {
        // The file keeps the mode it had (a user's read-only or private file stays so).
        struct stat st {};
        if (::stat(QFile::encodeName(dest).constData(), &st) == 0 && S_ISREG(st.st_mode))
            (void)::chmod(QFile::encodeName(source).constData(), st.st_mode & 07777);
        // rename(2) replaces an existing target atomically; QFile::rename refuses to.
        if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(dest).constData()) == 0) {
            if (dest != target) SyncFolderOf(dest);
            return true;
        }
        e = errno;
        if (e == EXDEV && dest != target) return CopyOver(source, dest, error);
    }
    if (error) *error = QStringLiteral("无法把 %1 改名为 %2：%3").arg(Name(source), Name(target), FileErrorText(e));
    return false;
}

namespace {

bool MatchesAny(const QString& name, const QStringList& patterns) {
    for (const QString& pattern : patterns) {
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                    QRegularExpression::CaseInsensitiveOption);
        if (re.match(name).hasMatch()) return true;
    }
    return false;
}

// True when a regular file of that path is old enough and its writer (pid > 0) is gone.
bool IsStale(const QString& path, qint64 pid, qint64 minAgeMs) {
    struct stat st {};
    // Only regular files: a link or anything else of that name was not written here.
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if ((QDateTime::currentSecsSinceEpoch() - qint64(st.st_mtime)) * 1000 < minAgeMs) return false;  // maybe under way
    if (pid == 0) return true;
    if (pid < 0 || pid > std::numeric_limits<pid_t>::max()) return false;
    // A running writer (or another process that now has its pid) keeps the file.
    return !(::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// Removes folder's temporaries of the pid-named form whose target passes `written` and of the
// pid-less form whose target passes `oldForm`.
int RemoveStale(const QString& folder, const std::function<bool(const QString&)>& written,
                const std::function<bool(const QString&)>& oldForm, qint64 minAgeMs) {
    static const QRegularExpression temporary(QStringLiteral("^(.+)\\.tmp(?:([0-9]{1,10})-)?[0-9]{6}$"));
    int removed = 0;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = temporary.match(name);
        if (!m.hasMatch()) continue;
        const QString target = m.captured(1);
        const bool named = m.capturedLength(2) > 0;
        if (!(named ? written(target) : oldForm(target))) continue;
        const qint64 pid = named ? m.captured(2).toLongLong() : 0;
        if (named && pid <= 0) continue;
        const QString path = QDir(folder).filePath(name);
        if (IsStale(path, pid, minAgeMs) && ::unlink(QFile::encodeName(path).constData()) == 0) ++removed;
    }
    return removed;
}

}  // namespace

int RemoveStaleTemporaries(const QString& folder, const TemporaryTargets& targets, qint64 minAgeMs) {
    return RemoveStale(
        folder, [&](const QString& target) { return MatchesAny(target, targets.written); },
        [&](const QString& target) { return MatchesAny(target, targets.oldForm); }, minAgeMs);
}

int RemoveStaleLinkedTemporaries(const QString& folder, const QStringList& linkNames, qint64 minAgeMs) {
    int removed = 0;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        if (!MatchesAny(name, linkNames)) continue;
        const QString link = QDir(folder).filePath(name);
        if (!QFileInfo(link).isSymLink()) continue;
        const QString target = FinalTarget(link);
        if (target.isEmpty()) continue;
        const QFileInfo file(target);
        const QString linked = file.fileName();
        removed += RemoveStale(
            file.absolutePath(), [&](const QString& t) { return t == linked; }, [](const QString&) { return false; },
            minAgeMs);
    }
    return removed;
}

}  // namespace common
