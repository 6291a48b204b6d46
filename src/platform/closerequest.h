#pragma once
// One running copy per user and program folder, and the local close request the updater sends
// to the running main program (it stands in for closing the program's main window from outside).
#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QLockFile;
class QLocalSocket;

namespace platform {

// Name of the local endpoint of an application (e.g. "Sifmora") for this user and this program
// folder (common::ProgramDir()), so that two installations never close each other.
QString InstanceEndpointName(const QString& appName);

// Held by the running main program for its whole life.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& appName, QObject* parent = nullptr);
    ~SingleInstance() override;
    // False when another copy already holds the endpoint (this copy should end at once).
    bool acquire();
    bool isHeld() const;
    // Called for each close request received; the handler runs the program's closing path and
    // returns true when the program agreed to close. Without a handler the request is refused.
    std::function<bool()> onCloseRequest;

private:
    void answer(QLocalSocket* socket);
    QString name_;
    QLockFile* lock_ = nullptr;
    QLocalServer* server_ = nullptr;
};

// True when a copy of the application is running (its endpoint answers).
bool IsInstanceRunning(const QString& appName, int timeoutMs = 1000);
// Sends one close request; true when the running copy answered that it closes.
bool SendCloseRequest(const QString& appName, int timeoutMs = 2000);

}  // namespace platform
