// A real run of the program's windows for the close-request tests: the windows are made through
// app::ProgramWindows over the program folder of SIFMORA_DIR, the copy takes the one-copy lock
// and answers close requests as the program does (app::EndRun), and a "player" opens the smart
// system, starts a 300-period history verification and answers its question. It writes
// "verifying" to its output once the first period is verified, or, with the argument "box",
// "error box" while a condition's error box waits for its button; then it waits for the close
// request, or, with the second argument "quit", it quits the application itself then, as a
// desktop's log-out does. With the argument "hold" it writes "held" and holds the window thread
// for good. Exit 0 when the run ended, 4 with the message when the lock could not
// be taken.
#include "app/endrun.h"
#include "app/programwindows.h"
#include "common/appstate.h"
#include "platform/closerequest.h"
#include "smart/windows/historyverificationwindow.h"
#include "smart/windows/smartsystemwindow.h"
#include "smartopening.h"
#include "workbench/workbenchwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace {

// Plays the player's part, one look every few milliseconds; each step that opens a modal window
// runs from a timer of its own, so that the looks go on inside that window's loop.
class Player : public QObject {
public:
    Player(app::ProgramWindows& windows, bool waitForBox, bool quit)
        : windows_(windows), waitForBox_(waitForBox), quit_(quit) {
        connect(&tick_, &QTimer::timeout, this, [this] { look(); });
        tick_.start(20);
    }

private:
    void say(const char* line) {
        std::printf("%s\n", line);
        std::fflush(stdout);
        said_ = true;
        if (quit_) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

    void look() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) return answer(box);
        SmartSystemWindow* smart = windows_.smartSystem().window();
        if (!smart || !smart->isVisible()) return;
        HistoryVerificationWindow* verification = smart->verificationWindow();
        if (!verification) {
            if (!verifyOpened_) QTimer::singleShot(0, smart, [smart] { probes::Press(smart, "Command3"); });
            verifyOpened_ = true;
            return;
        }
        if (!verification->isVisible()) return;
        if (!started_) {
            verification->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(299);  // 300
            QTimer::singleShot(0, verification, [verification] { probes::Press(verification, "Command2"); });
            started_ = true;
            return;
        }
        if (!waitForBox_ && !said_ && verification->running() &&
            verification->findChild<QTreeWidget*>(QStringLiteral("ListView1"))->topLevelItemCount() >= 2) {
            say("verifying");
        }
    }

    void answer(QMessageBox* box) {
        if (box->button(QMessageBox::Yes)) {
            if (!answered_) QTimer::singleShot(0, box->button(QMessageBox::Yes), &QAbstractButton::click);
            answered_ = true;
            return;
        }
        if (!said_ && waitForBox_ && started_) {
            std::fprintf(stderr, "%s\n", box->text().toUtf8().constData());
            say("error box");
        }
    }

    app::ProgramWindows& windows_;
    const bool waitForBox_;
    const bool quit_;
    QTimer tick_;
    bool verifyOpened_ = false;
    bool started_ = false;
    bool answered_ = false;
    bool said_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sifmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    common::AppState state;  // the run's one state, as the program's main owns it
    app::ProgramWindows windows(state);
    platform::SingleInstance instance(QStringLiteral("Sifmora"));
    QString why;
    if (!instance.acquire(&why)) {
        std::fputs(why.toUtf8().constData(), stderr);
        return 4;
    }
    app::EndRunOnCloseRequest(instance, state, [&windows] { return windows.mainWindow(); });
    app::EndRunOnQuit(state, [&windows] { return windows.mainWindow(); });
    // "hold": the window thread is held for good once the windows stand (a layout or a formula
    // that never ends); only the close request's own thread can end the run then.
    if (argc > 1 && QByteArray(argv[1]) == "hold") {
        QTimer::singleShot(0, &application, [&windows] {
            windows.showMainWindow();
            std::printf("held\n");
            std::fflush(stdout);
            for (;;) QThread::msleep(100);
        });
        return application.exec();
    }
    Player player(windows, argc > 1 && QByteArray(argv[1]) == "box", argc > 2 && QByteArray(argv[2]) == "quit");
    QTimer::singleShot(0, &application, [&state, &windows] { probes::OpenTheSmartSystem(state, windows); });
    return application.exec();
}
