// Stands in for the main program in the updater's tests: holds the single-instance endpoint,
// records its starts and close requests in $SIFMORA_FAKE_LOG, and closes on request unless
// the program folder holds "refuse.flag" (with "slowclose.flag" it ends only a while after agreeing). A copy whose file ends with a "SIFMORA-NEW-..."
// marker records that marker, so the tests can tell the new program from the old one.
#include "common/paths.h"
#include "platform/closerequest.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

static void Record(const QByteArray& line) {
    QFile f(qEnvironmentVariable("SIFMORA_FAKE_LOG"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Append)) f.write(line + '\n');
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    platform::SingleInstance instance(QStringLiteral("Sifmora"));
    if (!instance.acquire()) {
        Record("second");
        return 3;
    }
    QByteArray marker = "old";
    QFile self(QCoreApplication::applicationFilePath());
    if (self.open(QIODevice::ReadOnly) && self.size() > 16) {
        self.seek(self.size() - 16);
        const QByteArray tail = self.read(16);
        if (tail.startsWith("SIFMORA-NEW-")) marker = tail;
    }
    Record("started " + marker + " " + QByteArray::number(QCoreApplication::applicationPid()) + " args="
           + QByteArray::number(argc - 1));
    instance.onCloseRequest = [] {
        if (QFile::exists(common::ProgramFile(QStringLiteral("refuse.flag")))) {
            Record("refused");
            return false;
        }
        Record("closed");
        // "slowclose.flag": agrees at once but takes a while to end, as a program saving its state.
        const bool slow = QFile::exists(common::ProgramFile(QStringLiteral("slowclose.flag")));
        QTimer::singleShot(slow ? 1500 : 0, qApp, &QCoreApplication::quit);
        return true;
    };
    return app.exec();
}
