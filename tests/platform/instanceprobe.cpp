// A copy that takes the one-copy lock the way the programs do, for the tests that start many at
// once. While it holds the lock it keeps the file "running" in the folder given as its first
// argument, made so that it fails when another holder's is there: exit 2 if so (two copies
// ran at once), 0 after holding for the milliseconds of the second argument, 3 when another
// copy answered, 4 with the message when the lock could not be made. It writes "holding" once it
// holds the lock and "shown" each time a later start asked it to show itself.
#include "platform/closerequest.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) return 5;
    platform::SingleInstance instance(QStringLiteral("ProbeApp"));
    QString why;
    if (!instance.acquire(&why)) {
        if (why.isEmpty()) return 3;
        std::fputs(why.toUtf8().constData(), stderr);
        return 4;
    }
    const QByteArray running = QFile::encodeName(QDir(QString::fromLocal8Bit(argv[1])).filePath("running"));
    const int fd = ::open(running.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return 2;
    ::close(fd);
    instance.onShowRequest = [] {
        std::printf("shown\n");
        std::fflush(stdout);
    };
    std::printf("holding\n");
    std::fflush(stdout);
    // The endpoint answers while it holds: the event loop runs.
    QEventLoop loop;
    QTimer::singleShot(QByteArray(argv[2]).toInt(), &loop, &QEventLoop::quit);
    loop.exec();
    ::unlink(running.constData());
    return 0;
}
