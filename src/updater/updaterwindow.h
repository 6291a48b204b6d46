#pragma once
// The updater's window: five step labels, the download progress and the start button. The
// upgrade starts by itself shortly after the window shows.
#include "platform/download.h"
#include "updater/upgrade.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace updater {

// Shows a message to the user. The default shows an information box titled "Updexa"; with
// SIFMORA_NOTIFY_LOG set it appends the message as one line to that file instead, so that a
// test never waits on a box.
using Notifier = std::function<void(QWidget* parent, const QString& text)>;
Notifier DefaultNotifier();

class UpdaterWindow : public QWidget {
    Q_OBJECT
public:
    explicit UpdaterWindow(const Timings& timings = Timings::FromEnvironment(), QWidget* parent = nullptr);
    ~UpdaterWindow() override;
    void setNotifier(Notifier notifier) { notify_ = std::move(notifier); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void startUpgrade();       // 立即升级 (cmdStart): download, check and stage the new program
    void startAfterShowing();  // Timer2, shortly after the window shows: presses 立即升级
    void swapInNewProgram();   // Timer1, once the download is staged: the swap and the new program's start
    void showDownloadProgress(qint64 progress, qint64 maxProgress);  // the percentage in Label7
    void ResetSteps();
    bool pause(int ms);
    void startOldProgram();
    QString file(const char* name) const;

    Timings timings_;
    Notifier notify_;
    QString programDir_;
    platform::Downloader* downloader_ = nullptr;
    QLabel* steps_[5] = {};
    QLabel* progressLabel_ = nullptr;   // Label7
    QPushButton* startButton_ = nullptr;  // cmdStart 立即升级
    QTimer* swapTimer_ = nullptr;       // Timer1
    QTimer* autoStartTimer_ = nullptr;  // Timer2
    bool loaded_ = false;
    bool busy_ = false;
    bool closing_ = false;
};

}  // namespace updater
