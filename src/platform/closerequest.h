#pragma once
// One running copy per user and program folder, and the local close request the updater sends
// to the running main program (it stands in for closing the program's main window from outside).
//
// The lock is an flock(2) on a file in a folder of the user's own ($XDG_RUNTIME_DIR/Sifmora, else
// the home folder's cache, ~/.cache/Sifmora), never in a folder others can write: the kernel
// releases it when its holder ends in any way, so a killed copy leaves no lock to take over and
// two starts can never both hold it. The holder then listens at its endpoint, a socket in the
// same folder; a start that finds the lock held ends silently only when a copy answers there.
#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace platform {

// The folder of the locks and endpoints of this user (made, private to the user, when missing).
// Empty with a Chinese reason (naming the folder) when it cannot be made or is not the user's own.
QString InstanceFolder(QString* error = nullptr);
// The local endpoint of an application (e.g. "Sifmora") for this user and this program folder
// (common::ProgramDir()), so that two installations never close each other: a socket path in
// the instance folder.
QString InstanceEndpointName(const QString& appName);

// Held by the running main program for its whole life.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& appName, QObject* parent = nullptr);
    ~SingleInstance() override;
    // True when this copy holds the lock and listens at the endpoint. False when it must not
    // run: with *error empty when another copy answered at its endpoint (end silently), and
    // otherwise "无法建立…" saying in Chinese where and why the lock could not be made.
    bool acquire(QString* error = nullptr);
    bool isHeld() const;
    // Called for each close request received; the handler runs the program's closing path and
    // returns true when the program agreed to close. Without a handler the request is refused.
    std::function<bool()> onCloseRequest;
    // How long a start waits for the lock's holder to answer (it may have just taken the lock).
    int answerWaitMs = 5000;

private:
    bool fail(const QString& where, const QString& why, QString* error);
    void answer(QLocalSocket* socket);
    QString appName_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
};

// True when a copy of the application is running (its endpoint answers).
bool IsInstanceRunning(const QString& appName, int timeoutMs = 1000);
// Sends one close request; true when the running copy answered that it closes.
bool SendCloseRequest(const QString& appName, int timeoutMs = 2000);

}  // namespace platform
