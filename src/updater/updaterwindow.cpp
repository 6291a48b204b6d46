#include "updater/updaterwindow.h"

#include "common/paths.h"
#include "platform/closerequest.h"
#include "platform/process.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace updater {

namespace {

const QString kNetworkMessage = QStringLiteral("请检查网络设备。");
const QString kUpToDateMessage = QStringLiteral("你的版本是已经是最新的了。");

// A download that arrived but could not be stored: the disk is at fault, not the network.
QString StoreFailedMessage(const platform::DownloadResult& r) {
    if (r.diskFull) return QStringLiteral("磁盘空间不足，下载的文件无法保存，升级已取消。请清理磁盘后再升级。");
    return QStringLiteral("下载的文件无法保存（%1），升级已取消。").arg(r.error);
}

// Why a download failed, for the user: the network only when nothing else is known to be at fault.
QString FailedDownloadMessage(const platform::DownloadResult& r) {
    if (r.writeFailed) return StoreFailedMessage(r);
    if (r.tooLarge) return QStringLiteral("服务器的回答太大（%1），不是要下载的文件，升级已取消。").arg(r.error);
    return kNetworkMessage;
}

}  // namespace

Notifier DefaultNotifier() {
    return [](QWidget* parent, const QString& text) {
        const QString log = qEnvironmentVariable("SIFMORA_NOTIFY_LOG");
        if (!log.isEmpty()) {
            QFile f(log);
            if (f.open(QIODevice::WriteOnly | QIODevice::Append)) f.write(text.toUtf8() + '\n');
            return;
        }
        QMessageBox box(QMessageBox::Information, QStringLiteral("Updexa"), text, QMessageBox::Ok, parent);
        box.exec();
    };
}

UpdaterWindow::UpdaterWindow(const Timings& timings, QWidget* parent)
    : QWidget(parent), timings_(timings), notify_(DefaultNotifier()) {
    setObjectName(QStringLiteral("UpdaterWindow"));
    setWindowTitle(QStringLiteral("Updexa          <<Sifmora>>"));
    programDir_ = common::ProgramDir();
    RemoveSwapLeftovers(programDir_);

    auto* grid = new QGridLayout(this);
    const char* captions[5] = {"1.获取升级信息", "2.版本验证", "3.下载数据", "4.退出主程序", "5.升级完成"};
    for (int i = 0; i < 5; ++i) {
        steps_[i] = new QLabel(QString::fromUtf8(captions[i]), this);
        steps_[i]->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        steps_[i]->setEnabled(false);
        grid->addWidget(steps_[i], i, 0);
    }
    Label7 = new QLabel(QStringLiteral("进度"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setStyleSheet(QStringLiteral("color: blue"));
    Label7->hide();
    grid->addWidget(Label7, 2, 1);
    cmdStart = new QPushButton(QStringLiteral("立即升级"), this);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    grid->addWidget(cmdStart, 0, 2, 5, 1, Qt::AlignVCenter);
    connect(cmdStart, &QPushButton::clicked, this, &UpdaterWindow::cmdStart_Click);

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    Timer2->setInterval(timings_.startDelayMs);
    connect(Timer2, &QTimer::timeout, this, &UpdaterWindow::Timer2_Timer);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(timings_.swapDelayMs);
    connect(Timer1, &QTimer::timeout, this, &UpdaterWindow::Timer1_Timer);

    downloader_ = new platform::Downloader(this);
}

UpdaterWindow::~UpdaterWindow() { downloader_->abort(); }

QString UpdaterWindow::file(const char* name) const { return FolderFile(programDir_, QString::fromUtf8(name)); }

void UpdaterWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        Timer2->start();
    }
}

void UpdaterWindow::Timer2_Timer() {
    Timer2->stop();
    cmdStart_Click();
}

void UpdaterWindow::showDownloadProgress(qint64 progress, qint64 maxProgress) {
    const qint64 percent = maxProgress <= 0 ? 0 : progress * 100 / maxProgress;
    Label7->setText(QStringLiteral("%1%").arg(percent));
}

void UpdaterWindow::ResetSteps() {
    cmdStart->setEnabled(true);
    for (QLabel* step : steps_) step->setEnabled(false);
    Label7->hide();
}

bool UpdaterWindow::pause(int ms) {
    if (closing_) return false;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return !closing_;
}

void UpdaterWindow::startOldProgram() {
    platform::StartProgram(FolderFile(programDir_, MainProgramFileName()));
}

void UpdaterWindow::cmdStart_Click() {
    if (busy_ || Timer1->isActive()) return;
    busy_ = true;
    QPointer<UpdaterWindow> alive(this);
    const auto progress = [this](qint64 received, qint64 total) {
        showDownloadProgress(received, total);
        return true;
    };
    const QString serverLogPath = file(kServerLogName);
    const QString newProgramPath = file(kNewProgramName);
    // The folder is tidied before a message, which may wait on the user for a long time.
    auto giveUp = [&](const QString& message, bool dropNewProgram) {
        QFile::remove(serverLogPath);
        if (dropNewProgram) QFile::remove(newProgramPath);
        ResetSteps();
        busy_ = false;
        notify_(this, message);
    };
    auto end = [&](const QString& message) {
        QFile::remove(serverLogPath);
        notify_(this, message);
        busy_ = false;
        close();
    };

    // 1. Fetch the server's version log.
    cmdStart->setEnabled(false);
    steps_[0]->setEnabled(true);
    const QString home = common::HomeUrl();
    platform::DownloadResult r;
    if (!home.isEmpty())
        r = downloader_->download(home + QStringLiteral("/3d/updatelog.txt"), serverLogPath,
                                      platform::kDefaultTimeoutMs, progress);
    if (!alive || closing_) return;  // the window closed during the transfer: no message, no later step
    if (!r.ok) {
        notify_(this, FailedDownloadMessage(r));
        ResetSteps();
        busy_ = false;
        return;
    }

    // 2. Compare the versions.
    steps_[1]->setEnabled(true);
    VersionLog local, server;
    QString why;
    if (!ReadVersionLog(file(kVersionLogName), &local, &why))
        return giveUp(QStringLiteral("本地版本信息文件 updatelog.txt 缺失或有误（%1），无法升级。").arg(why), false);
    if (!ReadVersionLog(serverLogPath, &server, &why))
        return giveUp(QStringLiteral("服务器上的版本信息有误（%1），无法升级。").arg(why), false);

    switch (Decide(local.version, server.version)) {
    case Decision::DownloadPage:
        QFile::remove(serverLogPath);
        notify_(this, server.address);
        if (QString error; !platform::OpenPage(common::HomePageUrl(QStringLiteral("/download/down.htm")), &error))
            notify_(this, error);
        busy_ = false;
        close();
        return;
    case Decision::UpToDate:
        return end(kUpToDateMessage);
    case Decision::Upgrade:
        break;
    }

    // 3. Fetch the new main program.
    steps_[2]->setEnabled(true);
    Label7->show();
    r = downloader_->download(server.address.trimmed(), newProgramPath, timings_.programTimeoutMs, progress,
                                  platform::kProgramLimit);
    if (!alive || closing_) return;
    if (!r.ok) return giveUp(FailedDownloadMessage(r), true);
    if (!FileIsCompleteProgram(newProgramPath))
        return giveUp(QStringLiteral("下载的文件不是可执行的程序，升级已取消。"), true);

    // 4. Close the main program.
    steps_[3]->setEnabled(true);
    bool agreed = false;
    QString silent;
    const CloseResult closed = CloseMainProgram(timings_.closeTimeoutMs, timings_.closePauseMs,
                                                [this](int ms) { return pause(ms); }, &agreed, &silent);
    if (!alive) return;
    if (closed == CloseResult::Cancelled) {
        // Closed by the user while the main program was being closed: never leave none running.
        // A program that agreed to close may still be on its way out; wait for it before
        // starting it again (one that refused keeps running).
        const bool gone = agreed ? WaitForMainProgramGone(timings_.closeTimeoutMs)
                                 : !platform::IsInstanceRunning(QString::fromLatin1(kMainAppName));
        if (gone) startOldProgram();
        return;
    }
    // A copy that is not this user's never answers: said with the reason.
    if (closed == CloseResult::TimedOut)
        return giveUp(silent.isEmpty() ? QStringLiteral("主程序没有退出，升级已取消。请关闭主程序后再升级。")
                                       : QStringLiteral("主程序没有退出（%1），升级已取消。请关闭主程序后再升级。").arg(silent),
                      true);
    Timer1->start();
    busy_ = false;
}

void UpdaterWindow::Timer1_Timer() {
    Timer1->stop();
    ProgramSwap swap(programDir_);
    QString why;
    if (!swap.apply(&why)) {
        notify_(this, QStringLiteral("升级没有完成（%1），原来的程序和版本信息已保留。").arg(why));
        startOldProgram();
        close();
        return;
    }
    steps_[4]->setEnabled(true);
    if (!platform::StartProgram(swap.programPath(), {}, &why)) {
        swap.rollback();
        notify_(this, QStringLiteral("新的主程序不能启动（%1），原来的程序和版本信息已恢复。").arg(why));
        startOldProgram();
        close();
        return;
    }
    swap.commit();
    close();
}

void UpdaterWindow::closeEvent(QCloseEvent* event) {
    closing_ = true;
    downloader_->abort();
    if (Timer1->isActive()) {
        // Closed during the wait before the swap: the main program is already gone, so start the
        // old one again rather than leave none running.
        Timer1->stop();
        startOldProgram();
    }
    event->accept();
}

}  // namespace updater
