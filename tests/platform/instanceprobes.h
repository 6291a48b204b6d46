#pragma once
// What the one-copy tests start and hold: real copies taking the lock (instanceprobe.cpp), a
// private runtime folder, and a process that holds a program folder's lock without answering.
#include "platform/closerequest.h"

#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace instanceprobes {

// Starts the probe (a real copy taking the lock, see instanceprobe.cpp) in an environment of its
// own: runtime sets XDG_RUNTIME_DIR (null: none, with the home folder's cache elsewhere).
inline std::unique_ptr<QProcess> StartProbeIn(const QString& markerDir, int holdMs, const QString& runtime,
                                              const QString& cache = QString()) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (runtime.isNull()) env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    else env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    if (!cache.isNull()) env.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start(QStringLiteral(SIFMORA_INSTANCE_PROBE), {markerDir, QString::number(holdMs)});
    return p;
}

// Starts the probe in this process's environment.
inline std::unique_ptr<QProcess> StartProbe(const QString& markerDir, int holdMs) {
    return StartProbeIn(markerDir, holdMs, qEnvironmentVariable("XDG_RUNTIME_DIR"));
}

// Waits for a condition as a hang guard, never as a measure of time.
inline bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 1200; ++i) {
        if (condition()) return true;
        QThread::msleep(50);
    }
    return condition();
}

// A private folder for the locks, as $XDG_RUNTIME_DIR names one.
struct RuntimeFolder {
    QTemporaryDir base;
    testsupport::EnvVar var{"XDG_RUNTIME_DIR", base.path()};
    QString folder() const { return base.filePath("Sifmora"); }
};

// A process of its own (forked) that runs prepare, tells the test whether it is ready, and then
// serve for good (by default it waits); killed when this goes.
class ChildProcess {
public:
    explicit ChildProcess(const std::function<bool()>& prepare, const std::function<void()>& serve = {}) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const char ok = prepare() ? '1' : '0';
            (void)!::write(ready[1], &ok, 1);
            if (serve) serve();
            for (;;) ::pause();
        }
        char ok = '0';
        (void)!::read(ready[0], &ok, 1);
        ready_ = ok == '1';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~ChildProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool ready_ = false;

private:
    pid_t pid_ = -1;
};

// Holds a program folder's lock from another process, the way a copy does (the application's
// byte of the open folder), without ever answering at an endpoint.
class SilentHolder {
public:
    explicit SilentHolder(const QString& appName)
        : child_([folder = QFile::encodeName(QFileInfo(platform::InstanceLockPath(appName)).absolutePath()),
                  byte = platform::InstanceLockByte(appName)] {
              const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
              struct flock lock {};
              lock.l_type = F_RDLCK;
              lock.l_whence = SEEK_SET;
              lock.l_start = off_t(byte);
              lock.l_len = 1;
              return fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
          }),
          held_(child_.ready_) {}

private:
    ChildProcess child_;

public:
    const bool held_;
};

}  // namespace instanceprobes
