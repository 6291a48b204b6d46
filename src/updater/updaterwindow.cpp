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
    progressLabel_ = new QLabel(QStringLiteral("进度"), this);
    progressLabel_->setObjectName(QStringLiteral("Label7"));
    progressLabel_->setStyleSheet(QStringLiteral("color: blue"));
    progressLabel_->hide();
    grid->addWidget(progressLabel_, 2, 1);
    startButton_ = new QPushButton(QStringLiteral("立即升级"), this);
    startButton_->setObjectName(QStringLiteral("cmdStart"));
    grid->addWidget(startButton_, 0, 2, 5, 1, Qt::AlignVCenter);
    connect(startButton_, &QPushButton::clicked, this, &UpdaterWindow::startUpgrade);

    autoStartTimer_ = new QTimer(this);
    autoStartTimer_->setObjectName(QStringLiteral("Timer2"));
    autoStartTimer_->setSingleShot(true);
    autoStartTimer_->setInterval(timings_.startDelayMs);
    connect(autoStartTimer_, &QTimer::timeout, this, &UpdaterWindow::startAfterShowing);
    swapTimer_ = new QTimer(this);
    swapTimer_->setObjectName(QStringLiteral("Timer1"));
    swapTimer_->setSingleShot(true);
    swapTimer_->setInterval(timings_.swapDelayMs);
    connect(swapTimer_, &QTimer::timeout, this, &UpdaterWindow::swapInNewProgram);

    downloader_ = new platform::Downloader(this);
}

UpdaterWindow::~UpdaterWindow() { downloader_->abort(); }

QString UpdaterWindow::file(const char* name) const { return FolderFile(programDir_, QString::fromUtf8(name)); }

void UpdaterWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        autoStartTimer_->start();
    }
}

void UpdaterWindow::startAfterShowing() {
    autoStartTimer_->stop();
    startUpgrade();
}

void UpdaterWindow::showDownloadProgress(qint64 progress, qint64 maxProgress) {
    const qint64 percent = maxProgress <= 0 ? 0 : progress * 100 / maxProgress;
    progressLabel_->setText(QStringLiteral("%1%").arg(percent));
}

void UpdaterWindow::ResetSteps() {
    startButton_->setEnabled(true);
    for (QLabel* step : steps_) step->setEnabled(false);
    progressLabel_->hide();
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

void UpdaterWindow::startUpgrade() {
    if (busy_ || swapTimer_->isActive()) return;
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
    startButton_->setEnabled(false);
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
    progressLabel_->show();
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
    swapTimer_->start();
    busy_ = false;
}

void UpdaterWindow::swapInNewProgram() {
    swapTimer_->stop();
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
    if (swapTimer_->isActive()) {
        // Closed during the wait before the swap: the main program is already gone, so start the
        // old one again rather than leave none running.
        swapTimer_->stop();
        startOldProgram();
    }
    event->accept();
}

}  // namespace updater
