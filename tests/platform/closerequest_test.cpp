// One running copy per user and program folder, and the close request between processes
// (here: the held endpoint runs on a second thread, since the sender blocks).
#include "platform/closerequest.h"

#include "testsupport.h"

#include <QDir>
#include <QEventLoop>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
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
    platform::SingleInstance after("TestApp");
    EXPECT_TRUE(after.acquire());  // released when the first copy ended
}

#ifdef Q_OS_UNIX
TEST(CloseRequestTest, EndpointLeftByCrashedCopyIsTakenOver) {
    testsupport::ProgramDir dir;
    // A crashed copy leaves its socket file behind with nobody listening.
    const QString path = QDir(QDir::tempPath()).filePath(platform::InstanceEndpointName("TestApp"));
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
#endif

#ifdef Q_OS_UNIX
TEST(CloseRequestTest, LockLeftByAKilledCopyIsTakenOver) {
    testsupport::ProgramDir dir;
    const QString lock = QDir(QDir::tempPath()).filePath(platform::InstanceEndpointName("TestApp") + ".lock");
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);  // its pid now names no process
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const struct {
        const char* what;
        QByteArray content;
    } cases[] = {
        {"killed right after creating it", ""},
        {"killed inside the pid", "1"},
        {"killed after the pid, which now runs another program", QByteArray::number(::getpid()) + "\n"},
        {"killed before the host", QByteArray::number(::getpid()) + "\nTestApp\n"},
        {"a whole lock naming a dead pid", QByteArray::number(child) + "\nTestApp\n" + host + "\n"},
    };
    for (const auto& c : cases) {
        dir.write("lock", c.content);
        QFile::remove(lock);
        ASSERT_TRUE(QFile::copy(dir.file("lock"), lock)) << c.what;  // just written: younger than any age limit
        platform::SingleInstance first("TestApp");
        EXPECT_TRUE(first.acquire()) << c.what;
        EXPECT_TRUE(platform::IsInstanceRunning("TestApp", 1000)) << c.what;
        // Taken over, it is a real lock again: a second start ends.
        platform::SingleInstance second("TestApp");
        EXPECT_FALSE(second.acquire()) << c.what;
    }
    EXPECT_FALSE(QFile::exists(lock));
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
