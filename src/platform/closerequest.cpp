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

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

constexpr char kCloseMessage[] = "CLOSE\n";
constexpr char kShowMessage[] = "SHOW\n";
constexpr char kClosing[] = "1\n";
constexpr char kRefused[] = "0\n";
// How often the holder looks at its lock file and endpoint when nothing told it of a change.
constexpr int kKeeperPollMs = 500;

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

int OpenNoFollow(const QByteArray& name, int flags, mode_t mode) {
    int fd;
    do {
        fd = ::open(name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Why a folder cannot take a new file: the start may then keep its lock elsewhere.
bool CannotWriteFolder(int e) { return e == EROFS || e == EACCES || e == EPERM; }

// Opens (or makes) a lock file without following a link and without waiting: a FIFO, a folder
// or a link in its place is refused. In the user's own folder (ownFolder) a file of another user
// is refused too; the program folder's lock is shared by whoever runs the program there, so it
// is made readable to all and opened for reading where it cannot be written (flock needs no
// more). -1 with the reason; *cannotMake when the file is missing and its folder cannot take it.
int OpenLockFile(const QString& path, bool ownFolder, QString* why, bool* cannotMake = nullptr) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        *why = NotAFileText(st.st_mode);
        return -1;
    }
    int fd = OpenNoFollow(name, O_RDWR | O_CREAT, ownFolder ? 0600 : 0644);
    int e = errno;
    if (fd < 0 && !ownFolder && CannotWriteFolder(e)) {
        fd = OpenNoFollow(name, O_RDONLY, 0);
        if (fd < 0 && errno == ENOENT && cannotMake) *cannotMake = true;
        if (fd < 0 && errno != ENOENT) e = errno;
    }
    if (fd < 0) {
        *why = e == ELOOP ? NotAFileText(S_IFLNK) : common::FileErrorText(e);
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || (ownFolder && st.st_uid != ::getuid())) {
        *why = S_ISREG(st.st_mode) ? QStringLiteral("锁文件属于另一个用户") : NotAFileText(st.st_mode);
        ::close(fd);
        return -1;
    }
    return fd;
}

// True while the lock file's name still leads to the file open as fd (not removed or replaced).
bool StillNamed(int fd, const QString& path) {
    struct stat held {}, named {};
    if (::fstat(fd, &held) != 0 || ::lstat(QFile::encodeName(path).constData(), &named) != 0) return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Takes the lock without waiting: 0, or the errno (EWOULDBLOCK while another holds it).
int TryLock(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        if (errno != EINTR) return errno;
    return 0;
}

// The lock file names its holder's endpoint for starts from another environment; written in
// place, since the lock belongs to this very file (a reader only trusts it while it is held).
void NameEndpoint(int fd, const QString& endpoint) {
    const QByteArray line = QFile::encodeName(endpoint) + '\n';
    if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, line.constData(), size_t(line.size()), 0);
}

// The endpoint a held lock file names; nothing when nobody holds it (a copied program folder
// carries the lock file of the folder it came from, whose copy it must never reach).
QString NamedEndpoint(const QString& lockPath) {
    const int fd = OpenNoFollow(QFile::encodeName(lockPath), O_RDONLY, 0);
    if (fd < 0) return {};
    char buffer[sizeof(sockaddr_un{}.sun_path) + 1];
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    const ssize_t n = held ? ::pread(fd, buffer, sizeof(buffer), 0) : 0;
    ::close(fd);
    if (n <= 1 || buffer[n - 1] != '\n') return {};
    const QString path = QFile::decodeName(QByteArray(buffer, int(n - 1)));
    return QDir::isAbsolutePath(path) ? path : QString();
}

// Where a running copy of the application may answer: the endpoint its lock file names (it may
// run in another environment), then the one of this environment.
QStringList Endpoints(const QString& appName) {
    QStringList endpoints;
    const QString named = NamedEndpoint(InstanceLockPath(appName));
    if (!named.isEmpty()) endpoints << named;
    const QString own = InstanceEndpointName(appName);
    if (!endpoints.contains(own)) endpoints << own;
    return endpoints;
}

QString ListenErrorText(QAbstractSocket::SocketError e) {
    switch (e) {
    case QAbstractSocket::SocketAccessError: return common::FileErrorText(EACCES);
    case QAbstractSocket::SocketResourceError: return QStringLiteral("系统资源不足（磁盘空间不足或打开的文件太多）");
    case QAbstractSocket::AddressInUseError: return QStringLiteral("通信端点已被占用");
    default: return QStringLiteral("无法建立通信端点（错误代码 %1）").arg(int(e));
    }
}

// True when a copy listens at the endpoint; message (if any) is handed to it.
bool Answers(const QString& endpoint, int timeoutMs, const char* message = nullptr) {
    QLocalSocket socket;
    socket.connectToServer(endpoint);
    const bool answered = socket.waitForConnected(timeoutMs);
    if (answered && message) {
        socket.write(message);
        socket.waitForBytesWritten(timeoutMs);
    }
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

QString InstanceLockPath(const QString& appName) {
    return QDir(common::ProgramDir()).filePath(QStringLiteral(".%1.lock").arg(appName));
}

// Watches the held lock file's folder on a thread of its own, so that a lock file removed or
// replaced under the running copy is taken back at once, not when the window's thread is free;
// an endpoint whose socket or folder went is made again on the window's thread.
struct SingleInstance::Keeper {
    Keeper(SingleInstance* owner, int& lockFd) : owner_(owner), lockFd_(lockFd) {
        if (::pipe2(stop_, O_CLOEXEC) != 0) stop_[0] = stop_[1] = -1;
        watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        const QByteArray folder = QFile::encodeName(QFileInfo(owner->lockPath_).absolutePath());
        if (watch_ >= 0) ::inotify_add_watch(watch_, folder.constData(), IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO);
        thread_ = std::thread([this] { run(); });
    }
    ~Keeper() {
        if (stop_[1] >= 0) (void)!::write(stop_[1], "x", 1);
        stopping_ = true;
        thread_.join();
        for (int fd : {stop_[0], stop_[1], watch_})
            if (fd >= 0) ::close(fd);
    }

    void run() {
        while (!stopping_) {
            pollfd fds[2] = {{stop_[0], POLLIN, 0}, {watch_, POLLIN, 0}};
            if (::poll(fds, watch_ >= 0 ? 2 : 1, kKeeperPollMs) > 0 && (fds[1].revents & POLLIN)) {
                char events[4096];
                while (::read(watch_, events, sizeof(events)) > 0) {
                }
            }
            if (stopping_) return;
            if (!StillNamed(lockFd_, owner_->lockPath_)) retake();
            struct stat st {};
            if (::lstat(QFile::encodeName(owner_->endpoint_).constData(), &st) != 0 && !relistening_.exchange(true))
                QMetaObject::invokeMethod(owner_, [owner = owner_] { owner->relisten(); }, Qt::QueuedConnection);
        }
    }

    // The file at the lock's name is taken when nobody holds it (the removed one stays locked
    // by this copy until then); should another start have taken it meanwhile, that one answers
    // to nothing new: this copy keeps running as it did.
    void retake() {
        QString why;
        const int fd = OpenLockFile(owner_->lockPath_, false, &why);
        if (fd < 0) return;
        // A look at the lock (IsInstanceRunning's) holds it shared for an instant: tried again.
        int e = TryLock(fd);
        for (int tries = 0; e == EWOULDBLOCK && tries < 20 && !stopping_; ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            e = TryLock(fd);
        }
        if (e != 0 || !StillNamed(fd, owner_->lockPath_)) {
            ::close(fd);
            return;
        }
        NameEndpoint(fd, owner_->endpoint_);
        ::close(std::exchange(lockFd_, fd));
    }

    SingleInstance* owner_;
    int& lockFd_;
    int stop_[2] = {-1, -1};
    int watch_ = -1;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> relistening_{false};
    std::thread thread_;
};

SingleInstance::SingleInstance(const QString& appName, QObject* parent) : QObject(parent), appName_(appName) {}

SingleInstance::~SingleInstance() {
    const bool held = keeper_ != nullptr;  // made once the lock was taken
    keeper_.reset();
    // The endpoint goes before the lock: a start that takes the lock next listens on a free name.
    if (server_) server_->close();
    // The lock file goes with its holder, removed while still held: a start that opened it
    // meanwhile finds, once it has the lock, that the name leads elsewhere and takes that file.
    if (held && StillNamed(lockFd_, lockPath_)) ::unlink(QFile::encodeName(lockPath_).constData());
    if (lockFd_ >= 0) ::close(lockFd_);
}

bool SingleInstance::isHeld() const { return server_ && server_->isListening(); }

bool SingleInstance::fail(const QString& where, const QString& why, QString* error) {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
    if (error) *error = FailureText(where, why);
    return false;
}

// The lock file in the program folder; a folder that cannot take it keeps the lock in the
// user's own folder, which only starts of this user's environment meet (said in note()).
bool SingleInstance::openLock(QString* error) {
    QString why;
    bool cannotMake = false;
    lockPath_ = InstanceLockPath(appName_);
    lockFd_ = OpenLockFile(lockPath_, false, &why, &cannotMake);
    if (lockFd_ >= 0) return true;
    if (!cannotMake) return fail(lockPath_, why, error);
    const QString folder = QFileInfo(lockPath_).absolutePath();
    lockPath_ = endpoint_ + QStringLiteral(".lock");
    note_ = QStringLiteral("程序文件夹 %1 不能写入（%2），防止重复运行的锁改放在 %3：从其他环境（另一个运行时文件夹、"
                           "sudo、计划任务）在这个文件夹启动的程序不受它限制。")
                .arg(Native(folder), why, Native(lockPath_));
    lockFd_ = OpenLockFile(lockPath_, true, &why);
    return lockFd_ >= 0 || fail(lockPath_, why, error);
}

bool SingleInstance::acquire(QString* error) {
    if (isHeld()) return true;
    if (error) error->clear();
    QString why;
    if (InstanceFolder(&why).isEmpty()) {
        if (error) *error = why;
        return false;
    }
    endpoint_ = InstanceEndpointName(appName_);
    if (size_t(QFile::encodeName(endpoint_).size()) >= sizeof(sockaddr_un{}.sun_path))
        return fail(endpoint_, QStringLiteral("路径太长，系统的通信端点最多 %1 字节").arg(sizeof(sockaddr_un{}.sun_path) - 1),
                    error);
    if (lockFd_ < 0 && !openLock(error)) return false;
    // The holder listens right after it takes the lock; a start that finds the lock taken waits
    // a moment for that answer, so that it never ends silently beside a copy that is not there.
    const QDeadlineTimer deadline(answerWaitMs);
    for (;;) {
        const int e = TryLock(lockFd_);
        if (e == 0 && StillNamed(lockFd_, lockPath_)) break;
        if (e != 0 && e != EWOULDBLOCK) return fail(lockPath_, common::FileErrorText(e), error);
        if (e == 0) {
            // Locked a file that was removed or replaced meanwhile: the one at the name counts.
            ::close(std::exchange(lockFd_, -1));
            if (!openLock(error)) return false;
            continue;
        }
        // Another copy answers wherever it listens: it shows itself and this start ends.
        for (const QString& endpoint : Endpoints(appName_))
            if (Answers(endpoint, 200, kShowMessage)) {
                ::close(std::exchange(lockFd_, -1));
                return false;
            }
        if (deadline.hasExpired())
            return fail(lockPath_,
                        QStringLiteral("这个程序文件夹里已有一份程序在运行，但它没有在 %1 秒内应答").arg(answerWaitMs / 1000.0),
                        error);
        QThread::msleep(50);
    }
    if (!listen(error)) return false;
    NameEndpoint(lockFd_, endpoint_);
    keeper_ = std::make_unique<Keeper>(this, lockFd_);
    return true;
}

bool SingleInstance::listen(QString* error) {
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
    QLocalServer::removeServer(endpoint_);
    if (server_->listen(endpoint_)) return true;
    return fail(endpoint_, ListenErrorText(server_->serverError()), error);
}

// The endpoint's socket or folder was removed under the running copy (a cleaner of runtime
// folders): made again, so that the updater and later starts still reach this copy.
void SingleInstance::relisten() {
    if (!keeper_) return;
    keeper_->relistening_ = false;
    struct stat st {};
    if (::lstat(QFile::encodeName(endpoint_).constData(), &st) == 0 || InstanceFolder().isEmpty()) return;
    server_->close();
    QLocalServer::removeServer(endpoint_);
    server_->listen(endpoint_);
}

void SingleInstance::answer(QLocalSocket* socket) {
    if (!socket->canReadLine()) return;
    const QByteArray line = socket->readLine();
    if (line == kShowMessage) {
        if (onShowRequest) onShowRequest();
        return;
    }
    if (line != kCloseMessage) return;
    QPointer<QLocalSocket> guard(socket);
    const bool closing = onCloseRequest ? onCloseRequest() : false;
    if (!guard) return;
    guard->write(closing ? kClosing : kRefused);
    guard->flush();
    guard->waitForBytesWritten(1000);
}

bool IsInstanceRunning(const QString& appName, int timeoutMs) {
    for (const QString& endpoint : Endpoints(appName))
        if (Answers(endpoint, timeoutMs)) return true;
    return false;
}

bool SendCloseRequest(const QString& appName, int timeoutMs) {
    QLocalSocket socket;
    for (const QString& endpoint : Endpoints(appName)) {
        socket.connectToServer(endpoint);
        if (socket.waitForConnected(timeoutMs)) break;
        socket.abort();
    }
    if (socket.state() != QLocalSocket::ConnectedState) return false;
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
