// One running copy per user and program folder, and the close request between processes
// (here: the held endpoint runs on a second thread, since the sender blocks).
#include "platform/closerequest.h"

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
    EXPECT_FALSE(platform::IsInstanceRunning("TestApp", 200));
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
    EXPECT_FALSE(platform::IsInstanceRunning("TestApp", 200));
    platform::SingleInstance instance("TestApp");
    EXPECT_TRUE(instance.acquire());
    EXPECT_TRUE(platform::IsInstanceRunning("TestApp", 1000));
}

namespace {

// Starts the probe (a real copy taking the lock); see instanceprobe.cpp.
std::unique_ptr<QProcess> StartProbe(const QString& markerDir, int holdMs) {
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::SeparateChannels);
    p->start(QStringLiteral(SIFMORA_INSTANCE_PROBE), {markerDir, QString::number(holdMs)});
    return p;
}

}  // namespace

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

namespace {

// A private folder for the locks, as $XDG_RUNTIME_DIR names one.
struct RuntimeFolder {
    QTemporaryDir base;
    testsupport::EnvVar var{"XDG_RUNTIME_DIR", base.path()};
    QString folder() const { return base.filePath("Sifmora"); }
};

// Holds the lock from another process without ever answering at the endpoint.
class SilentHolder {
public:
    explicit SilentHolder(const QString& lockPath) {
        const QByteArray path = QFile::encodeName(lockPath);
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
            char ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? '1' : '0';
            (void)!::write(ready[1], &ok, 1);
            for (;;) ::pause();
        }
        char ok = '0';
        (void)!::read(ready[0], &ok, 1);
        held_ = ok == '1';
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~SilentHolder() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool held_ = false;

private:
    pid_t pid_ = -1;
};

}  // namespace

// Only a running copy that answers ends a start silently; a lock that cannot be made is said, with
// where and why, at once. Nothing here blocks: a FIFO at the lock never holds the open.
TEST(CloseRequestTest, LockThatCannotBeMadeIsSaidWithWhereAndWhy) {
    testsupport::ProgramDir dir;
    struct Case {
        const char* what;
        std::function<void(const RuntimeFolder&, const QString& lock)> make;
        const char* reason;
        bool atFolder;  // the message names the folder, not the lock file
    };
    const Case cases[] = {
        {"a FIFO at the lock", [](const RuntimeFolder&, const QString& lock) {
             ASSERT_EQ(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
         }, "这不是文件", false},
        {"a folder at the lock", [](const RuntimeFolder&, const QString& lock) { ASSERT_TRUE(QDir().mkdir(lock)); },
         "同名的文件夹已存在", false},
        {"a link at the lock", [](const RuntimeFolder& r, const QString& lock) {
             ASSERT_TRUE(QFile::link(r.base.filePath("elsewhere"), lock));
         }, "符号链接", false},
        {"a file at the folder", [](const RuntimeFolder& r, const QString&) {
             ASSERT_TRUE(QDir().rmdir(r.folder()));
             QFile f(r.folder());
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         }, "这不是文件夹", true},
        {"a folder others can write", [](const RuntimeFolder& r, const QString&) {
             ASSERT_EQ(::chmod(QFile::encodeName(r.folder()).constData(), 0777), 0);
         }, "其他用户可以写入", true},
        {"another user's folder", [](const RuntimeFolder& r, const QString&) {
             if (::getuid() != 0 || ::chown(QFile::encodeName(r.folder()).constData(), 65534, 65534) != 0) GTEST_SKIP();
         }, "另一个用户", true},
        {"a link at the folder", [](const RuntimeFolder& r, const QString&) {
             ASSERT_TRUE(QDir().rmdir(r.folder()));
             ASSERT_TRUE(QDir().mkdir(r.base.filePath("real")));
             ASSERT_TRUE(QFile::link(r.base.filePath("real"), r.folder()));
         }, "符号链接", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RuntimeFolder runtime;
        ASSERT_EQ(platform::InstanceFolder(), runtime.folder());
        testsupport::ProgramDir program;  // a lock of its own
        const QString lock = platform::InstanceLockPath("TestApp");
        c.make(runtime, lock);
        if (::testing::Test::IsSkipped()) continue;
        platform::SingleInstance instance("TestApp");
        instance.answerWaitMs = 300;
        QString why;
        EXPECT_FALSE(instance.acquire(&why));
        EXPECT_TRUE(why.startsWith(QStringLiteral("无法建立防止重复运行的锁 %1：")
                                       .arg(QDir::toNativeSeparators(c.atFolder ? runtime.folder() : lock))))
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
    const QString lock = platform::InstanceLockPath("TestApp");
    SilentHolder holder(lock);
    ASSERT_TRUE(holder.held_);
    platform::SingleInstance instance("TestApp");
    instance.answerWaitMs = 300;
    QString why;
    EXPECT_FALSE(instance.acquire(&why));
    EXPECT_TRUE(why.startsWith(QStringLiteral("无法建立防止重复运行的锁 %1：").arg(QDir::toNativeSeparators(lock))))
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
    // The lock and the endpoint take a file entry each and no room: a disk full of data keeps
    // neither from being made, and a disk out of entries is said.
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
    for (bool lockMadeBefore : {true, false}) {
        SCOPED_TRACE(lockMadeBefore ? "no entry left for the endpoint" : "no entry left for the lock");
        // The lock file goes with its holder; a killed copy leaves it behind.
        QFile::remove(platform::InstanceLockPath("TestApp"));
        if (lockMadeBefore) {
            QFile left(platform::InstanceLockPath("TestApp"));
            ASSERT_TRUE(left.open(QIODevice::WriteOnly));
        }
        disk.fillEntries();
        platform::SingleInstance instance("TestApp");
        QString why;
        EXPECT_FALSE(instance.acquire(&why));
        EXPECT_TRUE(why.startsWith(QStringLiteral("无法建立防止重复运行的锁 %1")
                                       .arg(QDir::toNativeSeparators(lockMadeBefore ? folder : program))))
            << why.toStdString();
        disk.removeEntries();
    }
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
namespace {

// Starts the probe in an environment of its own: runtime sets XDG_RUNTIME_DIR (null: none, with
// the home folder's cache elsewhere).
std::unique_ptr<QProcess> StartProbeIn(const QString& markerDir, int holdMs, const QString& runtime,
                                       const QString& cache = QString()) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (runtime.isNull()) env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    else env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    if (!cache.isNull()) env.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(SIFMORA_INSTANCE_PROBE), {markerDir, QString::number(holdMs)});
    return p;
}

// True while some process holds the lock file (a shared lock on it cannot be had).
bool LockHeld(const QString& lock) {
    const int fd = ::open(QFile::encodeName(lock).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// Waits for a condition as a hang guard, never as a measure of time.
bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 1200; ++i) {
        if (condition()) return true;
        QThread::msleep(50);
    }
    return condition();
}

}  // namespace

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
        ASSERT_TRUE(Eventually([&] { return LockHeld(lock) && platform::IsInstanceRunning("ProbeApp", 200); }));
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
        EXPECT_FALSE(platform::IsInstanceRunning("ProbeApp", 200));
    }
    holder->kill();
    ASSERT_TRUE(holder->waitForFinished(20000));
    // Killed, it leaves no lock behind.
    platform::SingleInstance next("ProbeApp");
    next.answerWaitMs = 0;
    QString why;
    EXPECT_TRUE(next.acquire(&why)) << why.toStdString();
}

// A program folder that cannot be written: a lock file already there is still taken; without one
// the lock goes to the user's own folder, and the note says so in Chinese.
TEST(CloseRequestTest, ReadOnlyProgramFolderKeepsTheLockWhereItCan) {
    RuntimeFolder runtime;
    testsupport::SmallDisk disk(256 * 1024);
    if (!disk.isMounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
    testsupport::EnvVar program("SIFMORA_DIR", disk.path());
    for (bool lockThere : {true, false}) {
        SCOPED_TRACE(lockThere ? "lock file there" : "no lock file");
        const QByteArray mountPoint = QFile::encodeName(disk.path());
        ASSERT_EQ(::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT, nullptr), 0);
        QFile::remove(platform::InstanceLockPath("TestApp"));
        if (lockThere) {
            QFile f(platform::InstanceLockPath("TestApp"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        ASSERT_EQ(::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        platform::SingleInstance first("TestApp");
        QString why;
        ASSERT_TRUE(first.acquire(&why)) << why.toStdString();
        if (lockThere) {
            EXPECT_TRUE(first.note().isEmpty()) << first.note().toStdString();
        } else {
            EXPECT_TRUE(first.note().startsWith(QStringLiteral("程序文件夹 %1 不能写入（").arg(QDir::toNativeSeparators(disk.path()))))
                << first.note().toStdString();
            EXPECT_TRUE(QFileInfo::exists(platform::InstanceEndpointName("TestApp") + ".lock"));
        }
        platform::SingleInstance second("TestApp");
        EXPECT_FALSE(second.acquire(&why));
        EXPECT_TRUE(why.isEmpty()) << why.toStdString();
    }
    ::mount(nullptr, QFile::encodeName(disk.path()).constData(), nullptr, MS_REMOUNT, nullptr);
}

// The program folder's lock is the folder's, shared by whoever runs the program there: a lock
// file another user made is taken all the same.
TEST(CloseRequestTest, LockFileOfAnotherUserInTheProgramFolderIsTaken) {
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
