// The one-copy lock against what others put in its way, with real copies (instanceprobe.cpp):
// a link planted at the naming file's name loses its name only, a copied program folder runs on
// its own, a naming file removed again and again lets no second copy in, and an endpoint that is
// not the user's own is said, never talked to as a copy.
#include "platform/closerequest.h"

#include "instanceprobes.h"
#include "testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace instanceprobes;
using testsupport::SilentHolder;

namespace {

const QByteArray kDraws = "2020001 1 2 3\r\n2020002 4 5 6\r\n2020003 7 8 9\r\n";

bool Holding(QProcess& probe) {
    return probe.waitForReadyRead(20000) && probe.readLine() == "holding\n";
}

bool SaysShown(QProcess& probe) {
    return Eventually([&] { return probe.canReadLine() || probe.waitForReadyRead(50); }) && probe.readLine() == "shown\n";
}

// A second start ends beside the running copy (exit 3 of the probe), whose "shown" it caused.
void SecondStartEndsBeside(QProcess& holder, const QString& markers, const QString& runtime) {
    auto second = StartProbeIn(markers, 150, runtime);
    ASSERT_TRUE(second->waitForFinished(60000));
    EXPECT_EQ(second->exitCode(), 3) << second->readAllStandardError().toStdString();
    EXPECT_TRUE(SaysShown(holder));
}

void Kill(QProcess& probe, const QString& markers) {
    probe.kill();
    probe.waitForFinished(20000);
    QFile::remove(QDir(markers).filePath("running"));
}

struct stat Look(const QString& path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

}  // namespace

TEST(InstanceLockTest, LinkAtTheLocksNameLosesItsNameOnlyBeforeAStartAndWhileACopyRuns) {
    testsupport::ProgramDir dir;
    RuntimeFolder runtime;
    QTemporaryDir markers, otherRuntime;
    ASSERT_TRUE(markers.isValid() && otherRuntime.isValid());
    dir.write(QStringLiteral("HAO.TXT"), kDraws);
    const QString draws = dir.file(QStringLiteral("HAO.TXT"));
    const QString lock = platform::InstanceLockPath("ProbeApp");
    // Each link is put in place over whatever stands at the name, in one rename.
    const QByteArray planted = QFile::encodeName(dir.file(QStringLiteral("planted")));
    const auto over = [&](bool made) {
        return made && ::rename(planted.constData(), QFile::encodeName(lock).constData()) == 0;
    };
    const struct {
        const char* what;
        std::function<bool()> plant;
    } cases[] = {
        {"a hard link to the draws", [&] { return over(::link(QFile::encodeName(draws).constData(), planted.constData()) == 0); }},
        {"a symbolic link to the draws", [&] { return over(::symlink(QFile::encodeName(draws).constData(), planted.constData()) == 0); }},
    };
    // The name leads to a file of the copy's own: a regular file, not the draws.
    const auto ownNaming = [&] {
        const struct stat named = Look(lock);
        return S_ISREG(named.st_mode) && named.st_nlink == 1 && named.st_ino != Look(draws).st_ino;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(lock);
        ASSERT_TRUE(c.plant());
        auto holder = StartProbe(markers.path(), 600000);
        ASSERT_TRUE(Holding(*holder)) << holder->readAllStandardError().toStdString();
        EXPECT_EQ(dir.read(QStringLiteral("HAO.TXT")), kDraws);
        EXPECT_EQ(Look(draws).st_nlink, 1u);
        EXPECT_TRUE(ownNaming());

        // Planted again while the copy runs: the copy names itself anew, the draws stay as they are.
        ASSERT_TRUE(c.plant());
        EXPECT_TRUE(Eventually(ownNaming));
        EXPECT_EQ(dir.read(QStringLiteral("HAO.TXT")), kDraws);
        EXPECT_EQ(Look(draws).st_nlink, 1u);
        // The name still leads a start from another environment to the running copy.
        SecondStartEndsBeside(*holder, markers.path(), otherRuntime.path());
        Kill(*holder, markers.path());
    }
}

// A copy of the program folder, by `cp -a` or by `cp -al` (the naming file then a hard link to the
// original's), is a folder with a lock of its own: it starts beside the original, and two starts
// of either folder still meet at that folder's lock.
TEST(InstanceLockTest, CopiedProgramFolderStartsBesideTheOriginal) {
    RuntimeFolder runtime;
    for (const char* how : {"-a", "-al"}) {
        SCOPED_TRACE(how);
        QTemporaryDir base, markersA, markersB;
        ASSERT_TRUE(base.isValid() && markersA.isValid() && markersB.isValid());
        const QString original = base.filePath(QStringLiteral("original"));
        const QString copy = base.filePath(QStringLiteral("copy"));
        ASSERT_TRUE(QDir().mkdir(original));
        {
            QFile f(QDir(original).filePath(QStringLiteral("HAO.TXT")));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(kDraws);
        }
        testsupport::EnvVar program("SIFMORA_DIR", original);
        auto first = StartProbe(markersA.path(), 600000);
        ASSERT_TRUE(Holding(*first)) << first->readAllStandardError().toStdString();
        const QString lock = platform::InstanceLockPath("ProbeApp");
        QFile naming(lock);
        ASSERT_TRUE(naming.open(QIODevice::ReadOnly));
        const QByteArray named = naming.readAll();
        naming.close();
        ASSERT_EQ(QProcess::execute(QStringLiteral("cp"), {QString::fromLatin1(how), original, copy}), 0);
        {
            testsupport::EnvVar there("SIFMORA_DIR", copy);
            auto beside = StartProbe(markersB.path(), 600000);
            ASSERT_TRUE(Holding(*beside)) << beside->readAllStandardError().toStdString();
            SecondStartEndsBeside(*beside, markersB.path(), runtime.base.path());
            Kill(*beside, markersB.path());
        }
        SecondStartEndsBeside(*first, markersA.path(), runtime.base.path());
        // The original's naming file was never written through the copy's name.
        ASSERT_TRUE(naming.open(QIODevice::ReadOnly));
        EXPECT_EQ(naming.readAll(), named);
        EXPECT_EQ(Look(lock).st_nlink, 1u);
        Kill(*first, markersA.path());
    }
}

// The naming file removed every 2 ms while a copy runs: every later start still meets the lock
// (the folder's, which no removal touches) and ends beside the copy.
TEST(InstanceLockTest, NamingFileRemovedAgainAndAgainLetsNoSecondCopyIn) {
    testsupport::ProgramDir dir;
    RuntimeFolder runtime;
    QTemporaryDir markers;
    ASSERT_TRUE(markers.isValid());
    auto holder = StartProbe(markers.path(), 600000);
    ASSERT_TRUE(Holding(*holder)) << holder->readAllStandardError().toStdString();
    const QByteArray lock = QFile::encodeName(platform::InstanceLockPath("ProbeApp"));
    std::atomic<bool> stop{false};
    std::thread remover([&] {
        while (!stop) {
            ::unlink(lock.constData());
            ::usleep(2000);
        }
    });
    for (int i = 0; i < 10; ++i) {
        auto second = StartProbe(markers.path(), 150);
        ASSERT_TRUE(second->waitForFinished(60000));
        EXPECT_EQ(second->exitCode(), 3) << i << " " << second->readAllStandardError().toStdString();
    }
    stop = true;
    remover.join();
    EXPECT_EQ(holder->state(), QProcess::Running);
    Kill(*holder, markers.path());
}

namespace {

// An endpoint that answers "1" to whatever it is sent, served by a process of its own: the
// socket file chowned to chownTo and the process running as user runAs once it is bound (-1:
// as they are).
class AnsweringServer {
public:
    AnsweringServer(const QString& path, int chownTo, int runAs)
        : child_([this, name = QFile::encodeName(path), chownTo, runAs] { return bind(name, chownTo, runAs); },
                 [this] { serve(); }),
          serving_(child_.ready_) {}

private:
    bool bind(const QByteArray& name, int chownTo, int runAs) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ::unlink(name.constData());
        bool ok = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (ok && chownTo >= 0) ok = ::chown(name.constData(), uid_t(chownTo), gid_t(chownTo)) == 0;
        if (ok && runAs >= 0) ok = ::setgid(gid_t(runAs)) == 0 && ::setuid(uid_t(runAs)) == 0;
        return ok && ::listen(fd_, 8) == 0;
    }
    void serve() {
        for (;;) {
            const int client = ::accept(fd_, nullptr, nullptr);
            char buffer[64];
            if (client < 0) continue;
            if (::read(client, buffer, sizeof buffer) > 0) (void)!::write(client, "1\n", 2);
            ::close(client);
        }
    }
    int fd_ = -1;
    testsupport::ChildProcess child_;

public:
    const bool serving_;
};

}  // namespace

// A copy holds the folder, and what answers is not the user's own: a socket whose process is
// another user's, a socket file of another user, a socket in a folder others can write (named in
// the naming file). The start says so in Chinese instead of ending silently, and a close request
// (the updater's) is not sent there.
TEST(InstanceLockTest, EndpointNotTheUsersOwnIsSaidNotTalkedTo) {
    const bool root = ::getuid() == 0;
    const struct {
        const char* what;
        bool needsRoot;
        const char* reason;
    } cases[] = {
        {"a socket whose process is another user's", true, "应答的程序属于另一个用户"},
        {"a socket file of another user", true, "属于另一个用户"},
        {"a naming file leading to a folder others can write", false, "其他用户可以写入文件夹"},
    };
    for (int i = 0; i < 3; ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.what);
        if (c.needsRoot && !root) continue;  // only root can be another user here
        testsupport::ProgramDir dir;
        RuntimeFolder runtime;
        ASSERT_EQ(platform::InstanceFolder(), runtime.folder());
        SilentHolder holder("TestApp");
        ASSERT_TRUE(holder.held_);
        QTemporaryDir open;
        ASSERT_TRUE(open.isValid());
        std::unique_ptr<AnsweringServer> server;
        if (i == 0) server = std::make_unique<AnsweringServer>(platform::InstanceEndpointName("TestApp"), -1, 65534);
        if (i == 1) server = std::make_unique<AnsweringServer>(platform::InstanceEndpointName("TestApp"), 65534, -1);
        if (i == 2) {
            ASSERT_EQ(::chmod(QFile::encodeName(open.path()).constData(), 0777), 0);
            const QString socket = open.filePath(QStringLiteral("s"));
            server = std::make_unique<AnsweringServer>(socket, -1, -1);
            struct stat folder {};
            ASSERT_EQ(::stat(QFile::encodeName(dir.path()).constData(), &folder), 0);
            dir.write(QStringLiteral(".TestApp.lock"), QFile::encodeName(socket) + '\n' + QByteArray::number(quint64(folder.st_dev)) +
                                                           ':' + QByteArray::number(quint64(folder.st_ino)) + '\n');
        }
        ASSERT_TRUE(server->serving_);
        platform::SingleInstance instance("TestApp");
        instance.answerWaitMs = 300;
        QString why;
        EXPECT_FALSE(instance.acquire(&why));
        EXPECT_TRUE(why.startsWith(QStringLiteral("无法建立防止重复运行的锁 %1：这个程序文件夹里已有一份程序在运行，但它没有")
                                       .arg(QDir::toNativeSeparators(dir.path()))))
            << why.toStdString();
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.reason))) << why.toStdString();
        EXPECT_FALSE(platform::SendCloseRequest("TestApp", 500, &why));
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.reason))) << why.toStdString();
    }
}
