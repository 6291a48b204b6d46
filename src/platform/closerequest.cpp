#include "platform/closerequest.h"

#include "common/fileerror.h"
#include "common/paths.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr char kCloseMessage[] = "CLOSE\n";
constexpr char kShowMessage[] = "SHOW\n";
constexpr char kClosing[] = "1\n";
constexpr char kRefused[] = "0\n";
constexpr char kShown[] = "1\n";
// How often the holder looks at its endpoint and the file naming it when nothing told it of a change.
constexpr int kKeeperPollMs = 500;
// A client that connected sends its line at once; one that does not is dropped after this.
constexpr int kClientLineMs = 5000;
// How long a start waits for one look's answer (the holder answers from a thread of its own).
constexpr int kShowAnswerMs = 1000;

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

// The program folder, opened for its lock (never written through).
int OpenFolder(const QString& folder) {
    int fd;
    do {
        fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A read lock is all a folder opened for reading can take; an open file description's lock
// (not the process's), so that two holders in one process meet too.
struct flock ByteLock(short type, qint64 byte) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = off_t(byte);
    lock.l_len = 1;
    return lock;
}

// 1 when another open file description holds the byte (a running copy), 0 when none does,
// -errno when the system cannot tell.
int ByteHeld(int folderFd, qint64 byte) {
    struct flock lock = ByteLock(F_WRLCK, byte);
    if (::fcntl(folderFd, F_OFD_GETLK, &lock) != 0) return -errno;
    return lock.l_type != F_UNLCK ? 1 : 0;
}

enum class Take { Taken, HeldByCopy, Busy, Failed };

// Looks and takes in one step: the byte's lock is shared by nature, so the look and the take
// happen under an exclusive flock of the folder, held only for that instant by every start.
Take TakeByte(int folderFd, qint64 byte, int* error) {
    while (::flock(folderFd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) return Take::Busy;
        *error = errno;
        return Take::Failed;
    }
    Take result = Take::Taken;
    const int held = ByteHeld(folderFd, byte);
    struct flock lock = ByteLock(F_RDLCK, byte);
    if (held < 0) {
        *error = -held;
        result = Take::Failed;
    } else if (held > 0) {
        result = Take::HeldByCopy;
    } else if (::fcntl(folderFd, F_OFD_SETLK, &lock) != 0) {
        *error = errno;
        result = errno == EAGAIN || errno == EACCES ? Take::HeldByCopy : Take::Failed;
    }
    ::flock(folderFd, LOCK_UN);
    return result;
}

// What the file naming the endpoint says: the endpoint, and the folder (device and inode) of the
// holder that wrote it, so that a copied folder carrying it never leads to the original's copy.
struct Naming {
    QString endpoint;
    QByteArray folder;
};

QByteArray FolderIdentity(int folderFd) {
    struct stat st {};
    if (::fstat(folderFd, &st) != 0) return {};
    return QByteArray::number(quint64(st.st_dev)) + ':' + QByteArray::number(quint64(st.st_ino));
}

Naming ReadNaming(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    char buffer[512];
    struct stat st {};
    const ssize_t n = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ::pread(fd, buffer, sizeof buffer, 0) : 0;
    ::close(fd);
    const QList<QByteArray> lines = QByteArray(buffer, n > 0 ? int(n) : 0).split('\n');
    if (lines.size() < 3) return {};
    const QString endpoint = QFile::decodeName(lines[0]);
    if (!QDir::isAbsolutePath(endpoint)) return {};
    return {endpoint, lines[1]};
}

// Names the endpoint in a file made here and now (O_EXCL under a fresh name, checked: a regular
// file of this user with one link that others cannot write), renamed over whatever stood at the
// name. A file found there, a hard link to the player's draws or a symbolic link, loses its name
// only: it is never opened, let alone written. Empty, or why not (in Chinese).
QString WriteNaming(const QString& path, const QString& endpoint, const QByteArray& folder, ino_t* written) {
    const QByteArray name = QFile::encodeName(path);
    QByteArray temporary = name + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return common::FileErrorText(errno);
    const QByteArray text = QFile::encodeName(endpoint) + '\n' + folder + '\n';
    struct stat st {};
    bool ok = ::fchmod(fd, 0644) == 0 && ::write(fd, text.constData(), size_t(text.size())) == text.size() &&
              ::fstat(fd, &st) == 0;
    int e = errno;
    if (ok && (!S_ISREG(st.st_mode) || st.st_nlink != 1 || st.st_uid != ::getuid() || (st.st_mode & 022) != 0)) {
        ok = false;
        e = EPERM;
    }
    ::close(fd);
    if (ok && ::rename(temporary.constData(), name.constData()) != 0) {
        ok = false;
        e = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        return common::FileErrorText(e);
    }
    *written = st.st_ino;
    return {};
}

// Why an endpoint is not this user's own to talk to: its folder must be the user's and closed to
// others, the socket the user's; empty when it is.
QString StrangeEndpoint(const QString& endpoint) {
    const QString folder = QFileInfo(endpoint).absolutePath();
    struct stat st {};
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0) return common::FileErrorText(errno);
    if (!S_ISDIR(st.st_mode)) return QStringLiteral("%1 不是文件夹").arg(Native(folder));
    if (st.st_uid != ::getuid()) return QStringLiteral("文件夹 %1 属于另一个用户").arg(Native(folder));
    if ((st.st_mode & 022) != 0) return QStringLiteral("其他用户可以写入文件夹 %1").arg(Native(folder));
    if (::lstat(QFile::encodeName(endpoint).constData(), &st) != 0) return common::FileErrorText(errno);
    if (!S_ISSOCK(st.st_mode)) return QStringLiteral("%1 不是通信端点").arg(Native(endpoint));
    if (st.st_uid != ::getuid()) return QStringLiteral("通信端点 %1 属于另一个用户").arg(Native(endpoint));
    return {};
}

bool PeerIsOwnUser(int fd) {
    ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

bool FillAddress(const QString& path, sockaddr_un* address) {
    const QByteArray name = QFile::encodeName(path);
    if (size_t(name.size()) >= sizeof(address->sun_path)) return false;
    *address = {};
    address->sun_family = AF_UNIX;
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return true;
}

bool WaitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        if (r > 0) return (p.revents & events) != 0;
        if (r == 0 || errno != EINTR) return false;
    }
}

// A connection to a copy of this user only: the endpoint is checked before (StrangeEndpoint)
// and the process that answers after (its credentials). -1, with why when it is a stranger.
int ConnectOwn(const QString& endpoint, const QDeadlineTimer& deadline, QString* why) {
    sockaddr_un address;
    if (!FillAddress(endpoint, &address)) return -1;
    struct stat st {};
    if (::lstat(QFile::encodeName(endpoint).constData(), &st) != 0) return -1;  // nobody listens there
    const QString strange = StrangeEndpoint(endpoint);
    if (!strange.isEmpty()) {
        *why = strange;
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
        !((errno == EAGAIN || errno == EINPROGRESS) && WaitFor(fd, POLLOUT, deadline))) {
        ::close(fd);
        return -1;
    }
    if (!PeerIsOwnUser(fd)) {
        *why = QStringLiteral("在通信端点 %1 应答的程序属于另一个用户").arg(Native(endpoint));
        ::close(fd);
        return -1;
    }
    return fd;
}

// Sends the message and reads the one-line answer ("" when none came in time).
QByteArray Ask(int fd, const char* message, const QDeadlineTimer& deadline) {
    const size_t size = std::strlen(message);
    if (::send(fd, message, size, MSG_NOSIGNAL) != ssize_t(size)) return {};
    QByteArray answer;
    while (!answer.endsWith('\n') && answer.size() < 16 && WaitFor(fd, POLLIN, deadline)) {
        char buffer[16];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        answer.append(buffer, int(n));
    }
    return answer.endsWith('\n') ? answer : QByteArray();
}

// Where the copy holding this program folder may answer: the endpoint the naming file gives (it
// may run in another environment) when that file was written for this very folder, then the one
// of this environment.
QStringList Endpoints(const QString& appName, int folderFd) {
    QStringList endpoints;
    const Naming named = ReadNaming(InstanceLockPath(appName));
    if (!named.endpoint.isEmpty() && named.folder == FolderIdentity(folderFd)) endpoints << named.endpoint;
    const QString own = InstanceEndpointName(appName);
    if (!endpoints.contains(own)) endpoints << own;
    return endpoints;
}

// Sends the message to the copy of this user that holds the folder; its answer, or "" with why
// when only strangers were found.
QByteArray AskRunningCopy(const QString& appName, int folderFd, const char* message, int timeoutMs, QString* why) {
    for (const QString& endpoint : Endpoints(appName, folderFd)) {
        const QDeadlineTimer deadline(timeoutMs);
        const int fd = ConnectOwn(endpoint, deadline, why);
        if (fd < 0) continue;
        const QByteArray answer = Ask(fd, message, deadline);
        ::close(fd);
        if (!answer.isEmpty()) return answer;
    }
    return {};
}

// The listening socket at the endpoint, made anew (a socket left there by a crashed copy goes:
// the folder is the user's own, closed to others).
int Listen(const QString& endpoint, int* error) {
    sockaddr_un address;
    if (!FillAddress(endpoint, &address)) {
        *error = ENAMETOOLONG;
        return -1;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::chmod(address.sun_path, 0600) != 0 ||
        ::listen(fd, 16) != 0) {
        *error = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

ino_t InodeAt(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
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
    // Only a folder nobody else can write keeps another user from planting the endpoint.
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

qint64 InstanceLockByte(const QString& appName) {
    // A byte far from any other lock of the folder, fixed per application.
    const QByteArray hash = QCryptographicHash::hash(appName.toUtf8(), QCryptographicHash::Sha1);
    quint32 value = 0;
    std::memcpy(&value, hash.constData(), sizeof value);
    return qint64(value & 0x3fffffff) + 1;
}

// The holder's thread: it serves the endpoint (so a request is answered whatever the owner's
// thread does), makes the endpoint again when its socket or folder goes (a cleaner of runtime
// folders), and names it again when the naming file is removed or replaced.
struct SingleInstance::Keeper {
    struct Client {
        int fd;
        QByteArray line;
        QDeadlineTimer deadline;
        quint64 request = 0;  // a close request waiting for the owner's answer
    };

    Keeper(SingleInstance* owner, int listenFd, ino_t named, QByteArray identity)
        : owner_(owner), listen_(listenFd), named_(named), folder_(std::move(identity)) {
        if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
        watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        const QByteArray folder = QFile::encodeName(QFileInfo(owner->lockPath_).absolutePath());
        if (watch_ >= 0)
            ::inotify_add_watch(watch_, folder.constData(), IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO);
        listening_ = InodeAt(owner->endpoint_);
        thread_ = std::thread([this] { run(); });
    }
    ~Keeper() {
        stop();
        // An answer the owner gave as the program ends (its close request ended the run) still
        // goes out: the thread may have stopped before it got to it.
        sendAnswers();
        for (const Client& c : clients_) ::close(c.fd);
        for (int fd : {wake_[0], wake_[1], watch_, listen_})
            if (fd >= 0) ::close(fd);
    }

    void stop() {
        stopping_ = true;
        wake();
        if (thread_.joinable()) thread_.join();
    }

    void wake() {
        if (wake_[1] >= 0) (void)!::write(wake_[1], "x", 1);
    }

    // The owner's answer to a close request, handed to this thread to send.
    void answer(quint64 request, bool closing) {
        {
            std::lock_guard<std::mutex> hold(answersMutex_);
            answers_.emplace_back(request, closing);
        }
        wake();
    }

    void run() {
        while (!stopping_) {
            std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {watch_, POLLIN, 0}, {listen_, POLLIN, 0}};
            for (const Client& c : clients_) fds.push_back({c.fd, POLLIN, 0});
            const int ready = ::poll(fds.data(), nfds_t(fds.size()), kKeeperPollMs);
            if (stopping_) return;
            if (ready > 0) {
                drain(wake_[0]);
                drain(watch_);
                if (fds[2].revents & POLLIN) accept();
                for (size_t i = 3; i < fds.size(); ++i)
                    if (fds[i].revents) read(fds[i].fd);
            }
            sendAnswers();
            dropLateClients();
            keepEndpoint();
            keepNaming();
        }
    }

    static void drain(int fd) {
        char buffer[4096];
        if (fd >= 0)
            while (::read(fd, buffer, sizeof buffer) > 0) {
            }
    }

    void accept() {
        for (;;) {
            const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) return;
            // Only the user's own processes are served; a stranger's request is not read.
            if (!PeerIsOwnUser(fd) || clients_.size() >= 32) {
                ::close(fd);
                continue;
            }
            clients_.push_back({fd, {}, QDeadlineTimer(kClientLineMs)});
        }
    }

    void read(int fd) {
        auto it = std::find_if(clients_.begin(), clients_.end(), [fd](const Client& c) { return c.fd == fd; });
        if (it == clients_.end()) return;
        char buffer[64];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return drop(it);  // the sender went
        if (n < 0 || it->request != 0) return;  // nothing yet, or a request waiting for its answer
        it->line.append(buffer, int(n));
        if (!it->line.contains('\n')) {
            if (it->line.size() > 32) drop(it);
            return;
        }
        const QByteArray line = it->line.left(it->line.indexOf('\n') + 1);
        if (line == kShowMessage) {
            (void)!::send(fd, kShown, sizeof kShown - 1, MSG_NOSIGNAL);
            drop(it);
            QMetaObject::invokeMethod(owner_, [owner = owner_] {
                if (owner->onShowRequest) owner->onShowRequest();
            }, Qt::QueuedConnection);
            return;
        }
        if (line != kCloseMessage) return drop(it);
        const quint64 request = ++lastRequest_;
        if (owner_->closeArrived()) {
            (void)!::send(fd, kClosing, sizeof kClosing - 1, MSG_NOSIGNAL);
            drop(it);
        } else {
            it->request = request;
            it->deadline = QDeadlineTimer(QDeadlineTimer::Forever);
        }
        QMetaObject::invokeMethod(owner_, [owner = owner_, request] { owner->serveClose(request); }, Qt::QueuedConnection);
    }

    void drop(std::vector<Client>::iterator it) {
        ::close(it->fd);
        clients_.erase(it);
    }

    void sendAnswers() {
        std::vector<std::pair<quint64, bool>> answers;
        {
            std::lock_guard<std::mutex> hold(answersMutex_);
            answers.swap(answers_);
        }
        for (const auto& [request, closing] : answers) {
            auto it = std::find_if(clients_.begin(), clients_.end(), [r = request](const Client& c) { return c.request == r; });
            if (it == clients_.end()) continue;  // the sender gave up waiting
            const char* text = closing ? kClosing : kRefused;
            (void)!::send(it->fd, text, std::strlen(text), MSG_NOSIGNAL);
            drop(it);
        }
    }

    void dropLateClients() {
        for (auto it = clients_.begin(); it != clients_.end();) {
            if (it->deadline.hasExpired()) {
                ::close(it->fd);
                it = clients_.erase(it);
            } else {
                ++it;
            }
        }
    }

    // The endpoint's socket or folder was removed under the running copy: made again, so that
    // the updater and later starts still reach this copy.
    void keepEndpoint() {
        if (listening_ != 0 && InodeAt(owner_->endpoint_) == listening_) return;
        if (InstanceFolder().isEmpty()) return;
        int error = 0;
        const int fd = Listen(owner_->endpoint_, &error);
        if (fd < 0) return;
        ::close(std::exchange(listen_, fd));
        listening_ = InodeAt(owner_->endpoint_);
    }

    // The naming file removed or replaced (by a cleaner, or a link put in its place): a new one
    // is made and renamed in; the file that stood there is left as it is.
    void keepNaming() {
        if (named_ == 0 || InodeAt(owner_->lockPath_) == named_) return;
        ino_t written = 0;
        if (WriteNaming(owner_->lockPath_, owner_->endpoint_, folder_, &written).isEmpty()) named_ = written;
    }

    SingleInstance* owner_;
    int listen_;
    ino_t named_;  // the naming file this copy made, 0 when it could make none
    QByteArray folder_;
    ino_t listening_ = 0;
    int wake_[2] = {-1, -1};
    int watch_ = -1;
    quint64 lastRequest_ = 0;
    std::vector<Client> clients_;
    std::mutex answersMutex_;
    std::vector<std::pair<quint64, bool>> answers_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

SingleInstance::SingleInstance(const QString& appName, QObject* parent) : QObject(parent), appName_(appName) {}

SingleInstance::~SingleInstance() {
    if (keeper_) {
        keeper_->stop();
        const ino_t named = keeper_->named_;
        const ino_t listening = keeper_->listening_;
        keeper_.reset();  // the endpoint closes with it
        // Still holding the lock, the copy removes its names: only when they are still the
        // files it made, so nothing another made is ever removed.
        if (listening != 0 && InodeAt(endpoint_) == listening) ::unlink(QFile::encodeName(endpoint_).constData());
        if (named != 0 && InodeAt(lockPath_) == named) ::unlink(QFile::encodeName(lockPath_).constData());
    }
    if (folderFd_ >= 0) ::close(folderFd_);  // the lock goes with it
}

bool SingleInstance::isHeld() const { return keeper_ != nullptr; }

void SingleInstance::setCloseRequestArrival(std::function<bool()> handler) {
    std::lock_guard<std::mutex> hold(arrivalMutex_);
    arrival_ = std::move(handler);
}

bool SingleInstance::closeArrived() {
    std::function<bool()> handler;
    {
        std::lock_guard<std::mutex> hold(arrivalMutex_);
        handler = arrival_;
    }
    return handler && handler();
}

void SingleInstance::serveClose(quint64 request) {
    const bool closing = onCloseRequest ? onCloseRequest() : false;
    if (keeper_) keeper_->answer(request, closing);
}

bool SingleInstance::fail(const QString& where, const QString& why, QString* error) {
    if (folderFd_ >= 0) ::close(folderFd_);
    folderFd_ = -1;
    if (error) *error = FailureText(where, why);
    return false;
}

// Takes the folder's lock, waiting a moment for a holder to answer: false (with *error empty)
// when a copy of this user answered, or with the reason.
bool SingleInstance::takeLock(QString* error) {
    const QString folder = QFileInfo(lockPath_).absolutePath();
    const qint64 byte = InstanceLockByte(appName_);
    const QDeadlineTimer deadline(answerWaitMs);
    QString stranger;
    for (;;) {
        int e = 0;
        const Take take = TakeByte(folderFd_, byte, &e);
        if (take == Take::Taken) return true;
        if (take == Take::Failed) return fail(folder, common::FileErrorText(e), error);
        if (take == Take::HeldByCopy) {
            // Another copy of this user answers wherever it listens: it shows itself and this start ends.
            if (!AskRunningCopy(appName_, folderFd_, kShowMessage, kShowAnswerMs, &stranger).isEmpty()) {
                ::close(std::exchange(folderFd_, -1));
                return false;
            }
        }
        if (deadline.hasExpired()) {
            if (take == Take::Busy)
                return fail(folder, QStringLiteral("另一个程序一直锁着这个程序文件夹"), error);
            const QString silent =
                QStringLiteral("这个程序文件夹里已有一份程序在运行，但它没有在 %1 秒内应答").arg(answerWaitMs / 1000.0);
            return fail(folder, stranger.isEmpty() ? silent : silent + QStringLiteral("（%1）").arg(stranger), error);
        }
        QThread::msleep(take == Take::Busy ? 5 : 50);
    }
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
    lockPath_ = InstanceLockPath(appName_);
    const QString folder = QFileInfo(lockPath_).absolutePath();
    folderFd_ = OpenFolder(folder);
    if (folderFd_ < 0) return fail(folder, common::FileErrorText(errno), error);
    if (!takeLock(error)) return false;
    int e = 0;
    const int listenFd = Listen(endpoint_, &e);
    if (listenFd < 0) return fail(endpoint_, common::FileErrorText(e), error);
    // The endpoint is named for starts from other environments; a folder that cannot take the
    // naming file leaves them without it (said in note()), the lock holds all the same.
    ino_t named = 0;
    const QByteArray identity = FolderIdentity(folderFd_);
    const QString namingProblem = WriteNaming(lockPath_, endpoint_, identity, &named);
    if (!namingProblem.isEmpty())
        note_ = QStringLiteral("程序文件夹 %1 不能写入（%2），从其他环境（另一个运行时文件夹、sudo、计划任务）启动的程序"
                               "找不到正在运行的这一份，只会说它没有应答。")
                    .arg(Native(folder), namingProblem);
    keeper_ = std::make_unique<Keeper>(this, listenFd, named, identity);
    return true;
}

namespace {
// The program folder, open, when a copy holds its lock; -1 when none does or it cannot be opened.
int OpenHeldFolder(const QString& appName) {
    const int fd = OpenFolder(QFileInfo(InstanceLockPath(appName)).absolutePath());
    if (fd >= 0 && ByteHeld(fd, InstanceLockByte(appName)) <= 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
}  // namespace

bool IsInstanceRunning(const QString& appName) {
    const int fd = OpenHeldFolder(appName);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

bool SendCloseRequest(const QString& appName, int timeoutMs, QString* why) {
    if (why) why->clear();
    const int fd = OpenHeldFolder(appName);
    if (fd < 0) return false;
    QString stranger;
    const QByteArray answer = AskRunningCopy(appName, fd, kCloseMessage, timeoutMs, &stranger);
    ::close(fd);
    if (answer.isEmpty() && why)
        *why = stranger.isEmpty() ? QString() : QStringLiteral("正在运行的程序不应答：%1").arg(stranger);
    return answer == kClosing;
}

}  // namespace platform
