// One running copy per user and program folder, and the close request between processes
// (here: the held endpoint runs on a second thread, since the sender blocks).
#include "platform/closerequest.h"

#include "instanceprobes.h"
#include "testsupport.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace instanceprobes;
using testsupport::SilentHolder;

namespace {

// Holds the endpoint of "TestApp" on its own thread, answering close requests with `agree`.
class RunningCopy {
public:
    explicit RunningCopy(bool agree) {
        thread_.start();
        context_.moveToThread(&thread_);
        QMetaObject::invokeMethod(&context_, [this, agree] {
            instance_ = new platform::SingleInstance(QStringLiteral("TestApp"));
            instance_->onCloseRequest = [this, agree] {
                ++requests;
                return agree;
            };
            acquired = instance_->acquire();
        }, Qt::BlockingQueuedConnection);
    }
    ~RunningCopy() {
        QMetaObject::invokeMethod(&context_, [this] { delete instance_; }, Qt::BlockingQueuedConnection);
        context_.moveToThread(nullptr);
        thread_.quit();
        thread_.wait();
    }
    bool acquired = false;
    std::atomic<int> requests{0};

private:
    QThread thread_;
    QObject context_;
    platform::SingleInstance* instance_ = nullptr;
};

}  // namespace

TEST(CloseRequestTest, OneCopyPerProgramFolder) {
    testsupport::ProgramDir dir;
    EXPECT_FALSE(platform::IsInstanceRunning("TestApp"));
    {
        platform::SingleInstance first("TestApp");
        ASSERT_TRUE(first.acquire());
        EXPECT_TRUE(first.acquire());  // again: still ours
        platform::SingleInstance second("TestApp");
        EXPECT_FALSE(second.acquire());
        platform::SingleInstance other("OtherApp");
        EXPECT_TRUE(other.acquire());
        {
            testsupport::ProgramDir elsewhere;  // another installation
            platform::SingleInstance there("TestApp");
            EXPECT_TRUE(there.acquire());
        }
    }
    EXPECT_FALSE(QFileInfo::exists(platform::InstanceLockPath("TestApp")));  // went with its holder
    platform::SingleInstance after("TestApp");
    EXPECT_TRUE(after.acquire());  // released when the first copy ended
}

#ifdef Q_OS_UNIX
TEST(CloseRequestTest, EndpointLeftByCrashedCopyIsTakenOver) {
    testsupport::ProgramDir dir;
    ASSERT_FALSE(platform::InstanceFolder().isEmpty());
    // A crashed copy leaves its socket file behind with nobody listening.
    const QString path = platform::InstanceEndpointName("TestApp");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray p = QFile::encodeName(path);
    ASSERT_LT(size_t(p.size()), sizeof(addr.sun_path));
    memcpy(addr.sun_path, p.constData(), p.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_FALSE(platform::IsInstanceRunning("TestApp"));
    platform::SingleInstance instance("TestApp");
    EXPECT_TRUE(instance.acquire());
    EXPECT_TRUE(platform::IsInstanceRunning("TestApp"));
}


// The lock is the kernel's: a holder killed at any moment leaves nothing to take over, and of
// several starts at once exactly one runs at a time, the others end because it answers.
TEST(CloseRequestTest, ManyStartsAtOnceNeverRunTwoCopies) {
    testsupport::ProgramDir dir;
    QTemporaryDir markers;
    ASSERT_TRUE(markers.isValid());
    for (int round = 0; round < 12; ++round) {
        if (round % 3 == 0) {
            // A copy killed while it holds the lock.
            auto holder = StartProbe(markers.path(), 60000);
            ASSERT_TRUE(holder->waitForReadyRead(20000)) << round;
            ASSERT_EQ(holder->readLine(), "holding\n");
            holder->kill();
            ASSERT_TRUE(holder->waitForFinished(20000));
            ASSERT_TRUE(QFile::remove(QDir(markers.path()).filePath("running")));
            if (round == 0) {
                platform::SingleInstance next("ProbeApp");
                next.answerWaitMs = 0;  // the lock must be free now, not after some wait
                QString why;
                EXPECT_TRUE(next.acquire(&why)) << why.toStdString();
            }
        }
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < 4; ++i) copies.push_back(StartProbe(markers.path(), 150));
        int ran = 0;
        for (auto& p : copies) {
            ASSERT_TRUE(p->waitForFinished(60000)) << round;
            ASSERT_EQ(p->exitStatus(), QProcess::NormalExit) << round;
            const int code = p->exitCode();
            EXPECT_TRUE(code == 0 || code == 3) << "round " << round << " exit " << code << " "
                                                << p->readAllStandardError().toStdString();
            ran += code == 0;
        }
        EXPECT_GE(ran, 1) << round;
    }
}


// Only a running copy that answers ends a start silently; an endpoint folder that cannot be used is
// said, with where and why, at once.
TEST(CloseRequestTest, EndpointFolderThatCannotBeUsedIsSaidWithWhereAndWhy) {
    testsupport::ProgramDir dir;
    struct Case {
        const char* what;
        std::function<void(const RuntimeFolder&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"a file at the folder", [](const RuntimeFolder& r) {
             ASSERT_TRUE(QDir().rmdir(r.folder()));
             QFile f(r.folder());
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         }, "这不是文件夹"},
        {"a folder others can write", [](const RuntimeFolder& r) {
             ASSERT_EQ(::chmod(QFile::encodeName(r.folder()).constData(), 0777), 0);
         }, "其他用户可以写入"},
        {"another user's folder", [](const RuntimeFolder& r) {
             if (::getuid() != 0 || ::chown(QFile::encodeName(r.folder()).constData(), 65534, 65534) != 0) GTEST_SKIP();
         }, "另一个用户"},
        {"a link at the folder", [](const RuntimeFolder& r) {
             ASSERT_TRUE(QDir().rmdir(r.folder()));
             ASSERT_TRUE(QDir().mkdir(r.base.filePath("real")));
             ASSERT_TRUE(QFile::link(r.base.filePath("real"), r.folder()));
         }, "符号链接"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RuntimeFolder runtime;
        ASSERT_EQ(platform::InstanceFolder(), runtime.folder());
        testsupport::ProgramDir program;  // a lock of its own
        c.make(runtime);
        if (::testing::Test::IsSkipped()) continue;
        platform::SingleInstance instance("TestApp");
        instance.answerWaitMs = 300;
        QString why;
        EXPECT_FALSE(instance.acquire(&why));
        EXPECT_TRUE(why.startsWith(QStringLiteral("无法建立防止重复运行的锁 %1：").arg(QDir::toNativeSeparators(runtime.folder()))))
            << why.toStdString();
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.reason))) << why.toStdString();
        EXPECT_FALSE(instance.isHeld());
    }
}

// A process that holds the lock but never answers (not one of ours, or a copy that hangs) is no
// running copy to end silently beside.
TEST(CloseRequestTest, HolderThatNeverAnswersIsSaid) {
    testsupport::ProgramDir dir;
    RuntimeFolder runtime;
    ASSERT_FALSE(platform::InstanceFolder().isEmpty());
    SilentHolder holder("TestApp");
    ASSERT_TRUE(holder.held_);
    EXPECT_TRUE(platform::IsInstanceRunning("TestApp"));
    platform::SingleInstance instance("TestApp");
    instance.answerWaitMs = 300;
    QString why;
    EXPECT_FALSE(instance.acquire(&why));
    EXPECT_TRUE(why.startsWith(QStringLiteral("无法建立防止重复运行的锁 %1：").arg(QDir::toNativeSeparators(dir.path()))))
        << why.toStdString();
    EXPECT_TRUE(why.contains(QStringLiteral("没有在 0.3 秒内应答"))) << why.toStdString();
}

TEST(CloseRequestTest, TooLongAPathOrAFullDiskIsSaid) {
    testsupport::ProgramDir dir;
    {
        QTemporaryDir base;
        const QString deep = base.filePath(QString(100, QLatin1Char('d')));
        ASSERT_TRUE(QDir().mkpath(deep));
        testsupport::EnvVar runtime("XDG_RUNTIME_DIR", deep);
        platform::SingleInstance instance("TestApp");
        QString why;
        EXPECT_FALSE(instance.acquire(&why));
        EXPECT_TRUE(why.contains(QStringLiteral("路径太长"))) << why.toStdString();
    }
    // The endpoint and the file naming it take a file entry each and no room: a disk full of data
    // keeps neither from being made, and a disk out of entries is said.
    testsupport::SmallDisk disk(64 * 1024, 8);
    if (!disk.isMounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    testsupport::EnvVar runtime("XDG_RUNTIME_DIR", disk.path());
    const QString program = QDir(disk.path()).filePath("program");
    ASSERT_TRUE(QDir().mkdir(program));
    testsupport::EnvVar programDir("SIFMORA_DIR", program);
    const QString folder = QDir(disk.path()).filePath("Sifmora");
    ASSERT_EQ(platform::InstanceFolder(), folder);
    disk.fill(0);
    {
        platform::SingleInstance instance("TestApp");
        QString why;
        EXPECT_TRUE(instance.acquire(&why)) << why.toStdString();
    }
    disk.fillEntries();
    platform::SingleInstance instance("TestApp");
    QString why;
    EXPECT_FALSE(instance.acquire(&why));
    EXPECT_TRUE(why.startsWith(QStringLiteral("无法建立防止重复运行的锁 %1")
                                   .arg(QDir::toNativeSeparators(platform::InstanceEndpointName("TestApp")))))
        << why.toStdString();
    disk.removeEntries();
}
#endif

TEST(CloseRequestTest, CloseRequestGetsTheHandlersAnswer) {
    testsupport::ProgramDir dir;
    EXPECT_FALSE(platform::SendCloseRequest("TestApp", 500));  // nobody running
    for (bool agree : {true, false}) {
        RunningCopy copy(agree);
        ASSERT_TRUE(copy.acquired);
        EXPECT_TRUE(platform::IsInstanceRunning("TestApp"));
        EXPECT_EQ(platform::SendCloseRequest("TestApp"), agree);
        EXPECT_EQ(platform::SendCloseRequest("TestApp"), agree);
        EXPECT_EQ(copy.requests, 2);
    }
}

TEST(CloseRequestTest, WithoutHandlerTheRequestIsRefused) {
    testsupport::ProgramDir dir;
    QThread thread;
    thread.start();
    QObject context;
    context.moveToThread(&thread);
    platform::SingleInstance* instance = nullptr;
    QMetaObject::invokeMethod(&context, [&] {
        instance = new platform::SingleInstance("TestApp");
        instance->acquire();
    }, Qt::BlockingQueuedConnection);
    EXPECT_FALSE(platform::SendCloseRequest("TestApp"));
    EXPECT_TRUE(platform::IsInstanceRunning("TestApp"));
    QMetaObject::invokeMethod(&context, [&] { delete instance; }, Qt::BlockingQueuedConnection);
    context.moveToThread(nullptr);
    thread.quit();
    thread.wait();
}

#ifdef Q_OS_UNIX

// Two starts on one program folder meet at one lock whatever their environment: the runtime
// folder removed under the running copy (its endpoint goes with it), another runtime folder, none
// at all, or the lock file itself removed. Each later start asks the running copy to show itself
// and ends; the running copy keeps its lock and is still reached by the updater.
TEST(CloseRequestTest, SecondStartOnTheSameProgramFolderEndsWhateverItsEnvironment) {
    testsupport::ProgramDir dir;
    QTemporaryDir markers, runtimeA, runtimeB, cache;
    ASSERT_TRUE(markers.isValid() && runtimeA.isValid() && runtimeB.isValid() && cache.isValid());
    testsupport::EnvVar runtime("XDG_RUNTIME_DIR", runtimeA.path());
    auto holder = StartProbeIn(markers.path(), 600000, runtimeA.path());
    ASSERT_TRUE(holder->waitForReadyRead(20000));
    ASSERT_EQ(holder->readLine(), "holding\n");
    const QString lock = platform::InstanceLockPath("ProbeApp");
    ASSERT_TRUE(QFileInfo::exists(lock));

    const struct {
        const char* what;
        std::function<void()> before;
        QString runtime;
        QString cache;
    } starts[] = {
        {"the runtime folder with the endpoint removed", [&] { ASSERT_TRUE(QDir(runtimeA.filePath("Sifmora")).removeRecursively()); },
         runtimeA.path(), QString()},
        {"another runtime folder", [] {}, runtimeB.path(), QString()},
        {"no runtime folder", [] {}, QString(), cache.path()},
        {"the lock file removed", [&] { ASSERT_TRUE(QFile::remove(lock)); }, runtimeB.path(), QString()},
    };
    for (const auto& s : starts) {
        SCOPED_TRACE(s.what);
        s.before();
        // The running copy takes back what was removed under it.
        ASSERT_TRUE(Eventually([&] { return QFileInfo(lock).isFile() && platform::IsInstanceRunning("ProbeApp"); }));
        auto second = StartProbeIn(markers.path(), 150, s.runtime, s.cache);
        ASSERT_TRUE(second->waitForFinished(60000));
        EXPECT_EQ(second->exitCode(), 3) << second->readAllStandardError().toStdString();
        ASSERT_TRUE(Eventually([&] { return holder->canReadLine() || holder->waitForReadyRead(50); }));
        EXPECT_EQ(holder->readLine(), "shown\n");
        EXPECT_EQ(holder->state(), QProcess::Running);
    }
    // The updater of another environment reaches the running copy (which has no close handler).
    {
        testsupport::EnvVar other("XDG_RUNTIME_DIR", runtimeB.path());
        EXPECT_TRUE(platform::IsInstanceRunning("ProbeApp"));
        EXPECT_FALSE(platform::SendCloseRequest("ProbeApp"));
    }
    // A copy of the program folder carries a lock file that names this copy's endpoint: nothing
    // there reaches this copy.
    {
        testsupport::ProgramDir copy;
        ASSERT_TRUE(QFile::copy(lock, platform::InstanceLockPath("ProbeApp")));
        EXPECT_FALSE(platform::IsInstanceRunning("ProbeApp"));
    }
    holder->kill();
    ASSERT_TRUE(holder->waitForFinished(20000));
    // Killed, it leaves no lock behind.
    platform::SingleInstance next("ProbeApp");
    next.answerWaitMs = 0;
    QString why;
    EXPECT_TRUE(next.acquire(&why)) << why.toStdString();
}

// A program folder that cannot be written holds its lock all the same (a lock is no file); only the
// file naming the endpoint cannot be made, and the note says so in Chinese.
TEST(CloseRequestTest, ReadOnlyProgramFolderStillHoldsItsLock) {
    RuntimeFolder runtime;
    testsupport::SmallDisk disk(256 * 1024);
    if (!disk.isMounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    testsupport::EnvVar program("SIFMORA_DIR", disk.path());
    for (bool namingThere : {true, false}) {
        SCOPED_TRACE(namingThere ? "a naming file there" : "no naming file");
        const QByteArray mountPoint = QFile::encodeName(disk.path());
        ASSERT_EQ(::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT, nullptr), 0);
        QFile::remove(platform::InstanceLockPath("TestApp"));
        if (namingThere) {
            QFile f(platform::InstanceLockPath("TestApp"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        ASSERT_EQ(::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        platform::SingleInstance first("TestApp");
        QString why;
        ASSERT_TRUE(first.acquire(&why)) << why.toStdString();
        EXPECT_TRUE(first.note().startsWith(QStringLiteral("程序文件夹 %1 不能写入（").arg(QDir::toNativeSeparators(disk.path()))))
            << first.note().toStdString();
        EXPECT_TRUE(platform::IsInstanceRunning("TestApp"));
        platform::SingleInstance second("TestApp");
        EXPECT_FALSE(second.acquire(&why));
        EXPECT_TRUE(why.isEmpty()) << why.toStdString();
    }
    ::mount(nullptr, QFile::encodeName(disk.path()).constData(), nullptr, MS_REMOUNT, nullptr);
}

// The program folder's lock is the folder's, shared by whoever runs the program there: a naming
// file another user made is replaced by name all the same.
TEST(CloseRequestTest, NamingFileOfAnotherUserInTheProgramFolderIsReplaced) {
    testsupport::ProgramDir dir;
    RuntimeFolder runtime;
    const QString lock = platform::InstanceLockPath("TestApp");
    {
        QFile f(lock);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    if (::getuid() != 0 || ::chown(QFile::encodeName(lock).constData(), 65534, 65534) != 0) GTEST_SKIP();
    platform::SingleInstance instance("TestApp");
    QString why;
    EXPECT_TRUE(instance.acquire(&why)) << why.toStdString();
}
#endif
