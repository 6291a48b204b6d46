#pragma once
// HistoryVerificationWindow "历史成绩验证": replays the smart kill-digit computation for the latest past draws,
// each from the draws before it, and tells per scheme whether the draw survived. The
// workbench's numbers and log come out of a run as they went in.
// Its objectName is "Form18": tests, settings and the other windows find it by that name.
#include "smart/windows/schemereplayhost.h"
#include "smart/windows/smartcontext.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
namespace platform {
class Downloader;
}
namespace smart {
class DrawSnapshot;
struct VerifiedDraw;
}

class HistoryVerificationWindow : public QDialog {
    Q_OBJECT
public:
    // Shown over the smart-system window (smartWindow), whose options and computations it uses.
    // It is not that window's child: the smart window is disabled during each backtest, this
    // one is not.
    explicit HistoryVerificationWindow(smart::SchemeReplayHost* smartWindow);
    ~HistoryVerificationWindow() override;

    bool running() const { return running_; }
    // The table in the copy format.
    QString tableText() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Handlers, each named by what it does; the comment names the control.
    void fillCounts();         // as the window loads: Combo1's counts, 10 chosen
    void placePages();         // as it resizes: the tabs' pages
    void startVerification();  // 开始验证 (Command2)
    void stopAndHide();        // 取消 (Command1), the web tabs' × (Command3, Command4) and the close box
    void copyTable();          // a double click on the window or its tabs: the table to the clipboard

    void buildControls();
    // The steps of 开始验证, in order. Each returns false when the run ends there.
    // Says when the run's history is too short for the count asked, then asks whether to go on.
    bool confirmStart(const common::DrawHistory& history, int wanted);
    // Loads the scheme list into the context's calculator; a stop meanwhile unloads the window.
    bool loadSchemes();
    // One row per verified draw of the run's draws, each shown as it is computed; a stop or
    // failure abandons the run.
    bool verifyDraws(const smart::DrawSnapshot& draws, int wanted, const QString& savedLog, std::array<int, 4>& hits);
    // A computed draw's scripts' errors, its four cells and the model as it leaves it.
    void showVerifiedDraw(QTreeWidgetItem* row, const smart::VerifiedDraw& done, std::array<int, 4>& hits);
    // Puts the run's last computed draw into the smart model (once per run) and empties draw.
    void leaveModelAs(std::optional<smart::VerifiedDraw>& draw);
    // The run's end: the scheme saved, the log back, the hits shown, and said once when the draw
    // file changed on disk during the run.
    void finishRun(const smart::DrawSnapshot& draws, const QString& savedLog, const std::array<int, 4>& hits);
    // Ends a run early: the log and numbers go back, the window unloads.
    void abandonRun(const QString& savedLog);
    void saveScheme();

    // The smart window (the host's hostObject()), null once it is gone: the one record of the
    // host, which replayHost() gives while it lives.
    QPointer<QObject> smartWindow_;
    smart::SchemeReplayHost* replayHost() const;
    smart::SmartContext context_;  // the host's, kept should the host go first
    bool running_ = false;
    bool stopRequested_ = false;
    int schemeLeft_ = -1;  // the scheme the run's last draw made the program's, -1 before one
    platform::Downloader* downloader_ = nullptr;  // the scheme list's, abandoned by a stop

    QTabWidget* tabs_ = nullptr;          // SSTab1
    std::array<QWidget*, 3> pages_{};     // Picture1, WebBrowser1, WebBrowser2: the tabs' contents
    QComboBox* count_ = nullptr;          // Combo1 设置验证期数
    QPushButton* start_ = nullptr;        // Command2 开始验证
    QPushButton* cancel_ = nullptr;       // Command1 取消
    QTreeWidget* table_ = nullptr;        // ListView1
    QLabel* summary_ = nullptr;           // Label1: progress while running, then the hits
};
