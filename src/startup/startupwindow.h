#pragma once
// StartupWindow: the start-up window. It keeps the program to one running copy, writes Web.htm, and one
// second later runs the start road: version check, upgrade question, draw update, main window.
// Its objectName is "Form22": tests, settings and the other windows find it by that name.
#include "startup/versioncheck.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QTimer;

namespace platform {
class SingleInstance;
}

class StartupWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartupWindow(QWidget* parent = nullptr);
    ~StartupWindow() override;

    // What the start road calls out to; main.cpp and tests set them.
    struct Hooks {
        std::function<void()> showMainWindow;      // MainWindow.Show
        std::function<bool(QString*)> startUpdater;  // default: platform::StartUpdater
        std::function<bool(QString*)> updateDraws;   // default: history::UpdateDrawFiles
    };
    Hooks hooks;
    // Name of the one-copy endpoint (tests use their own).
    QString instanceName = QStringLiteral("Sifmora");

    // False when this copy must not run: another copy answers (the caller ends at once,
    // silently), or the one-copy lock could not be made (the message has been shown, lockError()
    // holds it). Otherwise it makes the player's folders HAO and 公式 when missing and starts
    // Timer1, which runs the start road a second later.
    bool prepareStart();
    QString lockError() const { return lockError_; }
    // True when the home server's version log is newer than the local one.
    bool checkServerVersion(startup::StartError* error = nullptr);

    // The one-copy guard, alive for the whole run (its close requests go to the program's
    // closing path, set by main.cpp).
    platform::SingleInstance* instance() const { return instance_; }
    // A close request that came before the main window existed: the road stops and the program
    // ends without opening it.
    void abortStart();
    bool startAborted() const { return aborted_; }
    // True once the road has finished (main window shown or upgrade started).
    bool finished() const { return finished_; }

private:
    // The start road: version check, upgrade question, draw update, main window (Timer1 runs it
    // once, a second after prepareStart()).
    void runStartRoad();
    void updateAndShowMain(bool reportErrors);

    platform::SingleInstance* instance_ = nullptr;
    QString lockError_;
    QString playerFolderProblem_;  // HAO or 公式 could not be made (common::MakePlayerFolders)
    bool aborted_ = false;
    bool finished_ = false;
    QLabel* status_ = nullptr;           // Label1: what the start is doing
    QTimer* roadTimer_ = nullptr;        // Timer1
    QPlainTextEdit* webPage_ = nullptr;  // Text1, hidden: the text of Web.htm
};
