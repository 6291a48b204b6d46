#include "platform/closerequest.h"

#include "common/atomicfile.h"
#include "common/paths.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kCloseMessage[] = "CLOSE\n";
constexpr char kClosing[] = "1\n";
constexpr char kRefused[] = "0\n";

// The folder the user's runtime files belong in; the home folder's cache where the session
// names none (a relative name counts as none).
QString BaseFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime)) return runtime;
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (QDir::isAbsolutePath(cache)) return cache;
    return QDir::homePath() + QStringLiteral("/.cache");
}

QString FolderPath() { return QDir::cleanPath(BaseFolder() + QStringLiteral("/Sifmora")); }

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

QString FailureText(const QString& where, const QString& why) {
    return QStringLiteral("无法建立防止重复运行的锁 %1：%2。程序没有启动。").arg(Native(where), why);
}

QString NotAFileText(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("同名的文件夹已存在");
    if (S_ISLNK(mode)) return QStringLiteral("这是符号链接，不是文件");
    return QStringLiteral("这不是文件（是管道、设备或套接字）");
}

// Opens (or makes) the lock file without following a link and without waiting: a FIFO, a folder
// or a link in its place is refused, and so is a file of another user. -1 with the reason.
int OpenLockFile(const QString& path, QString* why) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        *why = NotAFileText(st.st_mode);
        return -1;
    }
    int fd;
    do {
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int e = errno;
        *why = e == ELOOP ? NotAFileText(S_IFLNK) : common::FileErrorText(e);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        *why = S_ISREG(st.st_mode) ? QStringLiteral("锁文件属于另一个用户") : NotAFileText(st.st_mode);
        ::close(fd);
        return -1;
    }
    return fd;
}

QString ListenErrorText(QAbstractSocket::SocketError e) {
    switch (e) {
    case QAbstractSocket::SocketAccessError: return common::FileErrorText(EACCES);
    case QAbstractSocket::SocketResourceError: return QStringLiteral("系统资源不足（磁盘空间不足或打开的文件太多）");
    case QAbstractSocket::AddressInUseError: return QStringLiteral("通信端点已被占用");
    default: return QStringLiteral("无法建立通信端点（错误代码 %1）").arg(int(e));
    }
}

bool Answers(const QString& endpoint, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(endpoint);
    const bool answered = socket.waitForConnected(timeoutMs);
    if (answered) socket.disconnectFromServer();
    return answered;
}

}  // namespace

QString InstanceFolder(QString* error) {
    const QString folder = FolderPath();
    const QByteArray name = QFile::encodeName(folder);
    auto fail = [&](const QString& why) {
        if (error) *error = FailureText(folder, why);
        return QString();
    };
    if (::mkdir(name.constData(), 0700) != 0) {
        int e = errno;
        if (e == ENOENT) {
            QDir().mkpath(QFileInfo(folder).absolutePath());  // a home folder without a cache yet
            e = ::mkdir(name.constData(), 0700) == 0 ? 0 : errno;
        }
        if (e != 0 && e != EEXIST) return fail(common::FileErrorText(e));
    }
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) return fail(common::FileErrorText(errno));
    if (S_ISLNK(st.st_mode)) return fail(QStringLiteral("这是符号链接，不是文件夹"));
    if (!S_ISDIR(st.st_mode)) return fail(QStringLiteral("这不是文件夹"));
    // Only a folder nobody else can write keeps another user from planting the lock or the endpoint.
    if (st.st_uid != ::getuid()) return fail(QStringLiteral("这个文件夹属于另一个用户"));
    if ((st.st_mode & 022) != 0) return fail(QStringLiteral("其他用户可以写入这个文件夹"));
    return folder;
}

QString InstanceEndpointName(const QString& appName) {
    QFileInfo dir(common::ProgramDir());
    const QString folder = dir.exists() ? dir.canonicalFilePath() : dir.absoluteFilePath();
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return FolderPath() + QStringLiteral("/%1-%2").arg(appName, QString::fromLatin1(hash));
}

SingleInstance::SingleInstance(const QString& appName, QObject* parent) : QObject(parent), appName_(appName) {}

SingleInstance::~SingleInstance() {
    // The endpoint goes before the lock: a start that takes the lock next listens on a free name.
    if (server_) server_->close();
    if (lockFd_ >= 0) ::close(lockFd_);
}

bool SingleInstance::isHeld() const { return server_ && server_->isListening(); }

bool SingleInstance::fail(const QString& where, const QString& why, QString* error) {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
    if (error) *error = FailureText(where, why);
    return false;
}

bool SingleInstance::acquire(QString* error) {
    if (isHeld()) return true;
    if (error) error->clear();
    QString why;
    if (InstanceFolder(&why).isEmpty()) {
        if (error) *error = why;
        return false;
    }
    const QString endpoint = InstanceEndpointName(appName_);
    const QString lockPath = endpoint + QStringLiteral(".lock");
    if (size_t(QFile::encodeName(endpoint).size()) >= sizeof(sockaddr_un{}.sun_path))
        return fail(endpoint, QStringLiteral("路径太长，系统的通信端点最多 %1 字节").arg(sizeof(sockaddr_un{}.sun_path) - 1),
                    error);
    if (lockFd_ < 0) {
        lockFd_ = OpenLockFile(lockPath, &why);
        if (lockFd_ < 0) return fail(lockPath, why, error);
    }
    // The holder listens right after it takes the lock; a start that finds the lock taken waits
    // a moment for that answer, so that it never ends silently beside a copy that is not there.
    const QDeadlineTimer deadline(answerWaitMs);
    while (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno;
        if (e == EINTR) continue;
        if (e != EWOULDBLOCK) return fail(lockPath, common::FileErrorText(e), error);
        if (Answers(endpoint, 200)) {
            ::close(lockFd_);
            lockFd_ = -1;
            return false;  // another copy runs
        }
        if (deadline.hasExpired())
            return fail(lockPath, QStringLiteral("另一个进程持有这个锁，但没有在 %1 秒内应答").arg(answerWaitMs / 1000.0),
                        error);
        QThread::msleep(50);
    }
    if (!server_) {
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        connect(server_, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = server_->nextPendingConnection()) {
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
                if (socket->bytesAvailable() > 0) answer(socket);
            }
        });
    }
    // The lock is ours: an endpoint file there is one a crashed copy left, in a folder only this
    // user writes.
    QLocalServer::removeServer(endpoint);
    if (server_->listen(endpoint)) return true;
    return fail(endpoint, ListenErrorText(server_->serverError()), error);
}

void SingleInstance::answer(QLocalSocket* socket) {
    if (!socket->canReadLine()) return;
    const QByteArray line = socket->readLine();
    if (line != kCloseMessage) return;
    QPointer<QLocalSocket> guard(socket);
    const bool closing = onCloseRequest ? onCloseRequest() : false;
    if (!guard) return;
    guard->write(closing ? kClosing : kRefused);
    guard->flush();
    guard->waitForBytesWritten(1000);
}

bool IsInstanceRunning(const QString& appName, int timeoutMs) { return Answers(InstanceEndpointName(appName), timeoutMs); }

bool SendCloseRequest(const QString& appName, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(InstanceEndpointName(appName));
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kCloseMessage);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    QElapsedTimer clock;
    clock.start();
    while (!socket.canReadLine()) {
        const int left = timeoutMs - int(clock.elapsed());
        if (left <= 0 || !socket.waitForReadyRead(left)) return false;
    }
    return socket.readLine() == kClosing;
}

}  // namespace platform
