#include "startup/startupwindow.h"

#include "common/appstate.h"
#include "common/paths.h"
#include "common/settings.h"
#include "history/drawdownload.h"
#include "history/drawfile.h"
#include "platform/download.h"
#include "platform/closerequest.h"
#include "platform/process.h"
#include "platform/ui/messagebox.h"
#include "startup/leftovers.h"
#include "updater/upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

using startup::StartError;

StartupWindow::StartupWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form22"));
    setWindowTitle(QStringLiteral("Sifmora"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(4500 / 15, 1200 / 15);
    setStyleSheet(QStringLiteral("#Form22 { background: #FFF2E5; border: 1px solid #808080; }"));

    status_ = new QLabel(QStringLiteral("正在检查版本..."), this);
    status_->setObjectName(QStringLiteral("Label1"));
    status_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);

    webPage_ = new QPlainTextEdit(this);
    webPage_->setObjectName(QStringLiteral("Text1"));
    webPage_->setPlainText(startup::WebPageText());
    webPage_->hide();

    roadTimer_ = new QTimer(this);
    roadTimer_->setObjectName(QStringLiteral("Timer1"));
    roadTimer_->setInterval(1000);
    roadTimer_->setSingleShot(true);
    connect(roadTimer_, &QTimer::timeout, this, &StartupWindow::runStartRoad);

    hooks.startUpdater = [](QString* error) { return platform::StartUpdater(error); };
    hooks.updateDraws = [](QString* error) { return history::UpdateDrawFiles(error); };
}

StartupWindow::~StartupWindow() = default;

bool StartupWindow::prepareStart() {
    instance_ = new platform::SingleInstance(instanceName, QCoreApplication::instance());
    QString why;
    if (!instance_->acquire(&why)) {
        delete instance_;
        instance_ = nullptr;
        // Silent only beside a running copy; any other failure says where and why.
        lockError_ = why;
        if (!why.isEmpty()) ui::MsgBox(why, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle);
        return false;
    }
    // Copies of the old program that an upgrade killed after its swap left behind (a running
    // updater may still need them to undo its swap).
    if (!platform::IsInstanceRunning(QString::fromLatin1(updater::kUpdaterAppName))) updater::RemoveSwapLeftovers(common::ProgramDir());
    // Temporary files of the program's own writes that were killed; a running writer's stay.
    startup::RemoveStaleTemporaries(common::ProgramDir());
    // A settings lock that a run killed in its save left behind (another copy's live one stays).
    common::ClearLeftOverSettingsLock();
    // The player's folders, so that the file dialogs and 兑奖 find HAO from the first run on; a
    // folder that cannot be made is said on the road.
    playerFolderProblem_ = common::MakePlayerFolders();
    // Our downloads never read a cache, so there are no cached server copies to drop here.
    startup::WriteWebPage();  // optional: nothing reads it back
    roadTimer_->start();
    return true;
}

void StartupWindow::abortStart() {
    aborted_ = true;
    roadTimer_->stop();
    close();
    QCoreApplication::quit();
}

bool StartupWindow::checkServerVersion(StartError* error) { return startup::ServerHasNewerVersion(error); }

void StartupWindow::runStartRoad() {
    roadTimer_->stop();
    if (aborted_ || finished_) return;
    // A server that accepts and never answers costs this start one time limit, not one per request.
    platform::SlowHostScope slowHosts;
    StartError error;
    const bool newer = checkServerVersion(&error);
    // A close request handled while the version log was downloading ends the start here: no
    // question, no draw update.
    if (aborted_) return;
    if (!error.isError() && newer) {
        const auto answer = ui::MsgBox(QStringLiteral("Sifmora发现新版本，是否立即升级?"), ui::Icon::Question,
                                       ui::Buttons::YesNo, QStringLiteral("Updexa"), this);
        if (answer == ui::Answer::Yes) {
            QString why;
            if (hooks.startUpdater && hooks.startUpdater(&why)) {
                // The updater replaces and restarts the program; the main window never opens.
                finished_ = true;
                close();
                QCoreApplication::quit();
                return;
            }
#ifdef Q_OS_WIN
            const QString updater = common::ProgramFile(QStringLiteral("update.exe"));
#else
            const QString updater = common::ProgramFile(QStringLiteral("update"));
#endif
            // The fixed text names a missing updater; any other failure shows its own reason.
            error = QFile::exists(updater) ? StartError{startup::kErrPathFileAccess, why}
                                           : StartError{startup::kErrFileNotFound, startup::UpdaterMissingText()};
        }
    }
    if (error.isError()) {
        ui::MsgBox(startup::StartErrorText(error), ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
        if (aborted_) return;
    }
    // After a reported error the draw update runs silently: its own failure is not reported again.
    updateAndShowMain(!error.isError());
}

void StartupWindow::updateAndShowMain(bool reportErrors) {
    status_->setText(QStringLiteral("正在下载数据..."));
    status_->repaint();
    QString why;
    const bool ok = !hooks.updateDraws || hooks.updateDraws(&why);
    if (aborted_) return;
    if (!ok && reportErrors) {
        // Every step of the draw update has run already; the message reports what failed.
        ui::MsgBox(startup::StartErrorText({startup::kErrPathFileAccess, why}), ui::Icon::Information,
                   ui::Buttons::Ok, ui::kAppTitle, this);
        if (aborted_) return;
    }
    // Damaged records are left out of the history; the user hears of it once per start.
    const QString damaged =
        history::DamagedRecordsNotice({common::DrawFilePathFor(false), common::DrawFilePathFor(true)});
    if (!damaged.isEmpty()) {
        ui::MsgBox(damaged, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        if (aborted_) return;
    }
    // A player's folder that could not be made: said once, and the start goes on without it.
    if (!playerFolderProblem_.isEmpty()) {
        ui::MsgBox(playerFolderProblem_, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        if (aborted_) return;
    }
    // A settings file that cannot be used is never opened; the start says so once.
    const QString settings = common::SettingsProblem();
    if (!settings.isEmpty()) {
        ui::MsgBox(settings, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, this);
        if (aborted_) return;
    }
    finished_ = true;
    if (hooks.showMainWindow) hooks.showMainWindow();
    close();
}
