#include "platform/closerequest.h"

#include "common/paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>

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
    if (!lock_) lock_ = new QLockFile(QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock")));
    if (!lock_->isLocked() && !lock_->tryLock(0)) return false;
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
