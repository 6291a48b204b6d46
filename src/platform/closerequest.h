#pragma once
// One running copy per program folder, and the local close request the updater sends to the
// running main program (it stands in for closing the program's main window from outside).
//
// The lock is the program folder itself: a copy holds a byte-range read lock of its own byte
// (by application name) on the open folder, taken under a short flock(2) of the folder, so that
// every start on that folder meets it whatever its environment ($XDG_RUNTIME_DIR or none, sudo,
// a scheduled task). The kernel releases it when its holder ends in any way; no file removed
// lets a second copy in, and a copied folder (`cp -a`, `cp -al`: a folder cannot be hard-linked)
// is a folder of its own. The holder listens at its endpoint, a socket in a folder of the user's
// own ($XDG_RUNTIME_DIR/Sifmora, else the home folder's cache, ~/.cache/Sifmora), and names that
// endpoint in ".<app>.lock" in the program folder: a file it made itself under a fresh name and
// renamed into place, so that a start from another environment still finds it. Nothing is ever
// written through a name found there. A start connects only to a socket of its own user (the
// socket, its folder and the peer's credentials are checked); any other is a copy that does not
// answer, and is said. Requests are served on a thread of the holder, so that a close request is
// answered whatever the owner's thread is doing.
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <mutex>

namespace platform {

// The folder of the endpoints of this user (made, private to the user, when missing). Empty with
// a Chinese reason (naming the folder) when it cannot be made or is not the user's own.
QString InstanceFolder(QString* error = nullptr);
// The local endpoint of an application (e.g. "Sifmora") for this user and this program folder
// (common::ProgramDir()), so that two installations never close each other: a socket path in
// the instance folder.
QString InstanceEndpointName(const QString& appName);
// The file naming the holder's endpoint in the program folder: "<program folder>/.<app>.lock".
QString InstanceLockPath(const QString& appName);
// The byte of the program folder whose lock marks a running copy of the application.
qint64 InstanceLockByte(const QString& appName);

// Held by the running main program for its whole life.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& appName, QObject* parent = nullptr);
    ~SingleInstance() override;
    // True when this copy holds the lock and listens at the endpoint. False when it must not
    // run: with *error empty when another copy answered at its endpoint (it was asked to show
    // itself; end silently), and otherwise "无法建立…" saying in Chinese where and why the lock
    // could not be made, or that a copy holding it does not answer (also: is not the user's own).
    bool acquire(QString* error = nullptr);
    bool isHeld() const;
    // Empty, or why starts from another environment cannot find this copy (a program folder that
    // cannot be written cannot name the endpoint), in Chinese, for the program to record.
    QString note() const { return note_; }
    // Called on this object's thread for each close request received; the handler runs the
    // program's closing path and returns true when the program agreed to close. Without a
    // handler the request is refused.
    std::function<bool()> onCloseRequest;
    // Called on this object's thread when a second start found this copy running: it shows itself.
    std::function<void()> onShowRequest;
    // Called on the listening thread the moment a close request arrives, whatever this object's
    // thread is doing: true when the process is then sure to end by itself (a deadline that ends
    // it was set), and the request is answered "closing" at once; onCloseRequest still runs.
    void setCloseRequestArrival(std::function<bool()> handler);
    // How long a start waits for the lock's holder to answer (it may have just taken the lock).
    int answerWaitMs = 5000;

private:
    struct Keeper;
    bool fail(const QString& where, const QString& why, QString* error);
    bool takeLock(QString* error);
    void serveClose(quint64 request);
    bool closeArrived();
    QString appName_;
    QString lockPath_;
    QString endpoint_;
    QString note_;
    int folderFd_ = -1;
    std::mutex arrivalMutex_;
    std::function<bool()> arrival_;
    std::unique_ptr<Keeper> keeper_;  // listens, and names the endpoint again when it goes
};

// True while a copy of the application holds the lock of this program folder (answering or not).
bool IsInstanceRunning(const QString& appName);
// Sends one close request to the running copy of this program folder; true when it answered
// that it closes. Otherwise *why says in Chinese why no copy of this user answered (empty when
// none runs or it refused).
bool SendCloseRequest(const QString& appName, int timeoutMs = 2000, QString* why = nullptr);

}  // namespace platform
