#pragma once
// One running copy per program folder, and the local close request the updater sends to the
// running main program (it stands in for closing the program's main window from outside).
//
// The lock is an flock(2) on a hidden file in the program folder itself (".<app>.lock"), so that
// every start on that folder meets it whatever its environment (another $XDG_RUNTIME_DIR or none,
// sudo, a scheduled task): the kernel releases it when its holder ends in any way, so a killed
// copy leaves no lock to take over and two starts can never both hold it. The holder listens at
// its endpoint, a socket in a folder of the user's own ($XDG_RUNTIME_DIR/Sifmora, else the home
// folder's cache, ~/.cache/Sifmora), and writes that endpoint's path into the lock file, so a
// start from another environment still finds it. While it runs, the holder takes its lock file
// and its endpoint back when a cleaner removes them. A start that finds the lock held asks the
// copy there to show itself and ends silently; a holder that does not answer is said.
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

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
// The lock file of an application in the program folder: "<program folder>/.<app>.lock".
QString InstanceLockPath(const QString& appName);

// Held by the running main program for its whole life.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& appName, QObject* parent = nullptr);
    ~SingleInstance() override;
    // True when this copy holds the lock and listens at the endpoint. False when it must not
    // run: with *error empty when another copy answered at its endpoint (it was asked to show
    // itself; end silently), and otherwise "无法建立…" saying in Chinese where and why the lock
    // could not be made, or that a copy holding it does not answer.
    bool acquire(QString* error = nullptr);
    bool isHeld() const;
    // Empty, or why the lock is not in the program folder: a folder that cannot be written keeps
    // the lock in the user's own folder instead (said in Chinese, for the program to record).
    QString note() const { return note_; }
    // Called for each close request received; the handler runs the program's closing path and
    // returns true when the program agreed to close. Without a handler the request is refused.
    std::function<bool()> onCloseRequest;
    // Called when a second start found this copy running: the program shows itself.
    std::function<void()> onShowRequest;
    // How long a start waits for the lock's holder to answer (it may have just taken the lock).
    int answerWaitMs = 5000;

private:
    struct Keeper;
    bool fail(const QString& where, const QString& why, QString* error);
    bool openLock(QString* error);
    bool listen(QString* error);
    void relisten();
    void answer(QLocalSocket* socket);
    QString appName_;
    QString lockPath_;
    QString endpoint_;
    QString note_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
    std::unique_ptr<Keeper> keeper_;  // takes the lock file and the endpoint back while held
};

// True when a copy of the application is running on this program folder (its endpoint answers:
// the one its lock file names, else the one of this environment).
bool IsInstanceRunning(const QString& appName, int timeoutMs = 1000);
// Sends one close request to that endpoint; true when the running copy answered that it closes.
bool SendCloseRequest(const QString& appName, int timeoutMs = 2000);

}  // namespace platform
