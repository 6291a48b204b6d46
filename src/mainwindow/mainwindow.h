#pragma once
// MainWindow ("Form1"): the program's home window. It keeps its life cycle and layout and runs
// the commands of its frames: the title strip, the toolbar with the window's menu, the column of
// analysis buttons, the history list with the analysis tables, the announcement board and the
// tray icon. The draw history and the lottery come from the run's state (common::AppState); the
// window follows a reloaded history through the state's signal and a lottery switch, whoever
// made it, through the state's lotteryChanged.
//
// Controls keep the names other windows, tests and settings know them by (Command9, Text1,
// Label3, ...); the toolbar's buttons are "Toolbar2(1)".."Toolbar2(10)" (separators included)
// and the items of button 3's drop-down "Toolbar2(3).ButtonMenus(1)".."(16)". Menu items carry
// their own names (fc3d, p3, helpme, zaixsj, syssetup, reflush, openguang, p1d, p1z, p2d, p2z).
#include "mainwindow/commands.h"

#include <QWidget>

#include <functional>

class QTimer;
class QWindow;

namespace common {
class AppState;
}  // namespace common

namespace mainwindow {
class AnalysisPanel;
class AnalysisToolbar;
class BoardFrame;
class HistoryListFrame;
class TitleStrip;
class TrayIcon;
}  // namespace mainwindow

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Windows that live in other libraries, opened through these (handed in by the program's
    // wiring, src/app): workbench shows WorkbenchWindow modeless (it calls workbenchClosed when
    // it hides again); drawEntry and settings show DrawEntryWindow and SettingsWindow modal over
    // this window. An opener left empty opens nothing.
    struct Openers {
        std::function<void()> workbench;
        std::function<void(QWidget* parent)> drawEntry;
        std::function<void(QWidget* parent)> settings;
    };

    // state: the run's state, which the window shows and the lottery switch changes. The window
    // is built with its frames; start() reads the draws and sets up the rest.
    explicit MainWindow(common::AppState& state, Openers openers = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Makes the lottery of the settings the run's and reads its draws (saying so when its file
    // cannot be read), then sets up the tray, the number tables and the board's opening. A close request that comes while the
    // message is up closes the window, and nothing more is set up.
    void start();
    // Shows the window on top (modeless), unless it has closed.
    void present();
    // The window has closed for good (the program is ending).
    bool isClosing() const { return closing_; }

    Openers& openers() { return openers_; }

    // What a button, toolbar item or menu item asks for.
    void run(mainwindow::Command command);
    // "中奖分析": the history list of the analysis range.
    void showHistoryList();
    // Switches to 排列三 (or 福彩3D), then shows the history list.
    void switchLottery(bool toP3);
    // Reads the run's lottery's history again with the default range (after the draw entry); the
    // list follows a moment later (the reload timer, Timer1).
    void reload();
    // The workbench hid: this window shows again, normal (or maximised, as it was before it
    // was minimised) and active, and the tray may toggle it.
    void workbenchClosed();

    // The timers' work, also run directly by tests: the list after a reload (Timer1), the board
    // 2 s after creation (Timer2), the clock and the list header every 200 ms (Timer3).
    void showListAfterReload();
    void openBoard();
    void tick();

    // The last built history list ("\r\n" line ends).
    const QString& historyListText() const;
    // Whether the announcement board is open (wide once its page is shown).
    bool boardOpen() const;
    mainwindow::TrayIcon* tray() const { return tray_; }

    // Whether the program ends (QCoreApplication::quit) when this window has closed; tests
    // turn it off.
    bool quitOnClose = true;
    // Hands the window to the window manager, which moves it with the mouse (a title bar
    // dragged); tests, without a window manager, see the request here.
    std::function<void(QWindow*)> systemMove;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void connectFrames();
    void showAnalysis(mainwindow::Command command);
    void openWorkbench();
    void openDrawEntry();
    void openSettings();
    // A hidden or minimised window comes back normal and active; a shown one hides.
    void toggleFromTray();
    // Shown, no longer minimised (a maximised window stays maximised), on top and active.
    void bringBack();
    // Every switch, this window's or another's: the lottery label follows; this window's own
    // reports a draw file that cannot be read, another's leaves the refresh notice.
    void lotteryChanged(bool toP3);
    void applyBoardLayout(bool wide);
    void fitShape();

    common::AppState& state_;
    Openers openers_;
    mainwindow::TitleStrip* title_ = nullptr;
    mainwindow::AnalysisToolbar* toolbar_ = nullptr;
    mainwindow::AnalysisPanel* panel_ = nullptr;
    mainwindow::HistoryListFrame* list_ = nullptr;
    mainwindow::BoardFrame* board_ = nullptr;
    mainwindow::TrayIcon* tray_ = nullptr;
    QTimer* reloadTimer_ = nullptr;
    QTimer* clockTimer_ = nullptr;
    bool lastRouteGroup_ = false;   // the last 012路 choice was 组选
    bool last1234Group_ = false;    // the last 1234 choice was 组选
    bool closing_ = false;
    bool switchingHere_ = false;  // inside switchLottery or the start's load: it says a failed load itself
    bool minimisedSinceShown_ = false;  // minimised since bringBack last showed it
};
