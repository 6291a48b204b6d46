#include "platform/closerequest.h"

#include "common/paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr char kCloseMessage[] = "CLOSE\n";
constexpr char kClosing[] = "1\n";
constexpr char kRefused[] = "0\n";

QString UserName() {
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    QString user = qEnvironmentVariable("USERNAME");
    return user.isEmpty() ? QStringLiteral("user") : user;
#endif
}

// How long an unfinished lock must stay unfinished before it counts as left by a killed copy:
// a live copy writes its lock in one go right after creating it.
constexpr int kUnfinishedLockMs = 400;

// A lock holds the holder's pid, program name and host, a line each, each line ended. A copy
// killed while writing it leaves less; the lock file alone cannot then name its holder.
bool LockIsComplete(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = f.read(4096);
    const QList<QByteArray> lines = text.split('\n');
    if (!text.endsWith('\n') || lines.size() < 4) return false;
    bool ok = false;
    return lines.at(0).toLongLong(&ok) > 0 && ok && !lines.at(1).isEmpty();
}

// Called when the lock could not be taken. A complete lock names its holder, and the lock file
// has already checked that it runs (a dead holder's lock is free). An unfinished one would
// count as held until it is half a minute old, so every start in that time would end: it is
// taken over when it stays unfinished for a moment and no copy answers at the endpoint.
bool TakeOverUnfinishedLock(QLockFile* lock, const QString& path, const QString& endpoint) {
    QElapsedTimer clock;
    clock.start();
    while (!LockIsComplete(path)) {
        if (!QFileInfo::exists(path)) return lock->tryLock(0);  // its writer gave up meanwhile
        if (clock.elapsed() >= kUnfinishedLockMs) {
            QLocalSocket socket;
            socket.connectToServer(endpoint);
            if (socket.waitForConnected(200)) return false;
            if (LockIsComplete(path)) return false;  // another start took it over meanwhile
            QFile::remove(path);
            return lock->tryLock(0);
        }
        QThread::msleep(20);
    }
    return false;
}

}  // namespace

QString InstanceEndpointName(const QString& appName) {
    QFileInfo dir(common::ProgramDir());
    const QString folder = dir.exists() ? dir.canonicalFilePath() : dir.absoluteFilePath();
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("%1-%2-%3").arg(appName, UserName(), QString::fromLatin1(hash));
}

SingleInstance::SingleInstance(const QString& appName, QObject* parent)
    : QObject(parent), name_(InstanceEndpointName(appName)) {}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
    delete lock_;
}

bool SingleInstance::isHeld() const { return server_ && server_->isListening(); }

bool SingleInstance::acquire() {
    if (isHeld()) return true;
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
    // The lock decides which copy runs (a crashed copy's lock counts as free); listening alone
    // would not, since a listen can take over the endpoint file of a running copy.
    const QString lockPath = QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock"));
    if (!lock_) lock_ = new QLockFile(lockPath);
    if (!lock_->isLocked() && !lock_->tryLock(0) && !TakeOverUnfinishedLock(lock_, lockPath, name_)) return false;
    QLocalServer::removeServer(name_);  // left behind by a copy that crashed
    if (server_->listen(name_)) return true;
    lock_->unlock();
    return false;
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

bool IsInstanceRunning(const QString& appName, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(InstanceEndpointName(appName));
    const bool running = socket.waitForConnected(timeoutMs);
    if (running) socket.disconnectFromServer();
    return running;
}

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
