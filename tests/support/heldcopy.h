#pragma once
// A copy of an application that holds the program folder's lock from a process of its own and
// never answers (hung, or not this user's), and the forked child process it runs in.
#include "platform/closerequest.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

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

}  // namespace testsupport
