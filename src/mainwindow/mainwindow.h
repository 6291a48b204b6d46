#pragma once
// MainWindow: the main window. It owns the current lottery's history, the analysis range and the
// flags (common::App()), shows the history list or an analysis table in Text1, carries the tray
// icon and the announcement board, and opens the workbench, the draw entry and the settings.
//
// Control names: every control's objectName is its name in this window (Command9, Text1,
// Label3, ...); members of an array carry their index in parentheses, as in the dialogs:
// the toolbar's buttons are "Toolbar2(1)".."Toolbar2(10)" (separators included) and the items of
// button 3's drop-down menu "Toolbar2(3).ButtonMenus(1)".."(16)". Menu items carry their own
// names (fc3d, p3, helpme, zaixsj, syssetup, reflush, openguang, p1d, p1z, p2d, p2z).
// Its objectName is "Form1": tests, settings and the other windows find it by that name.
#include <QWidget>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolBar;

namespace mainwindow {
class TrayIcon;
}  // namespace mainwindow
namespace ui {
class TableGrid;
class WebView;
}  // namespace ui

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The main window, or null before the start road has created it.
    static MainWindow* instance();
    // MainWindow.Show: creates the window at the first call, then shows it (modeless).
    static MainWindow* ShowMainWindow();

    // Windows that live in other libraries, opened through these (set by main.cpp):
    // workbench shows WorkbenchWindow modeless (it calls WorkbenchClosed when it hides again); drawEntry
    // and settings show DrawEntryWindow and SettingsWindow modal with this window as parent.
    struct Openers {
        std::function<void()> workbench;
        std::function<void(QWidget* parent)> drawEntry;
        std::function<void(QWidget* parent)> settings;
    };
    static Openers& openers();

    // ---- public operations ----
    void fc3d_Click();  // switch to 福彩3D, then the history list
    void p3_Click();    // switch to 排列三, then the history list
    void showNarrowLayout();  // the narrow layout (board closed)
    void Form_Load();   // reload the lottery of setting fclx and its history, default range, Timer1

    // For the workbench: it shows this window again and enables the tray toggle.
    void WorkbenchClosed();
    // A lottery switch another window made (the history is already reloaded): Label3 follows
    // the lottery and Text1 and Label1 show "彩票类型已被转换请刷新数据...". Runs on
    // history::LotteryNotifier::lotteryChanged.
    void LotteryChangedElsewhere();

    // ---- handlers ----
    void Command6_Click();   // "中奖分析": the history list
    void Command9_Click();   // 过滤缩水
    void Command15_Click();  // 数据输入
    void syssetup_Click();   // menu "系统设置": the settings window
    void zaixsj_Click();     // menu "在线升级": starts the updater
    void helpme_Click();     // menu "帮助系统" (and F1): the help file
    void reflush_Click();    // menu "刷新公告": reloads the board
    void openguang_Click();  // menu "打开|关闭公告栏": opens or closes the board
    void Bar_DblClick();     // double click on the title bar: as openguang
    void Label5_Click();     // "刷新公告栏" under the board: reloads it
    void Command1_Click();   // "质合分析"
    void Command2_Click();   // "二码分析"
    void Command3_Click();   // "012路分析": the last of 单选/组选 012路
    void Command4_Click();   // "合值分析"
    void Command5_Click();   // "跨值分析"
    void Command7_Click();   // "单码分析"
    void Command8_Click();   // "1234分析": the last of 单选/组选 1234
    void Command10_Click();  // "和值分析"
    void Command12_Click();  // "奇偶分析"
    void Command13_Click();  // "大中小分析"
    void Command14_Click();  // "大小分析"
    void p1d_Click();        // popup1 "单选": 单选012路
    void p1z_Click();        // popup1 "组选": 组选012路
    void p2d_Click();        // popup2 "单选": 单选1234分析
    void p2z_Click();        // popup2 "组选": 组选1234分析
    void Toolbar2_ButtonClick(int index);         // toolbar button 1..10
    void Toolbar2_ButtonMenuClick(int menuIndex);  // item 1..16 of button 3 "中奖分析"
    void Timer1_Timer();     // once after the reload: the history list
    void Timer2_Timer();     // once, 2 s after creation: opens the board
    void Timer3_Timer();     // every 200 ms: the clock in Label2, the list header shown with the list
    void WebBrowser1_DocumentComplete();
    void WebBrowser1_NavigateError();
    void TrayWndProc();  // left click on the tray icon
    void Form_Resize();

    // Whether the program ends (QCoreApplication::quit) when this window has closed; tests
    // turn it off.
    bool quitOnClose = true;

    // ---- controls ----
    QLabel* Bar = nullptr;
    QLabel* RightBar = nullptr;
    QLabel* titleLabel = nullptr;
    QLabel* minimizeButton = nullptr;
    QLabel* winexit = nullptr;
    QLabel* Image17 = nullptr;
    QLabel* Image18 = nullptr;
    QLabel* Image20 = nullptr;
    QLabel* Picture2 = nullptr;
    QLabel* Picture3 = nullptr;
    QLabel* Picture4 = nullptr;
    QWidget* toolbarStrip = nullptr;
    QWidget* Picture6 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QToolBar* Toolbar2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command14 = nullptr;
    QPushButton* Command15 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    ui::WebView* WebBrowser1 = nullptr;
    QMenu* popup = nullptr;
    QMenu* popup1 = nullptr;
    QMenu* popup2 = nullptr;
    mainwindow::TrayIcon* tray() const { return tray_; }
    QAction* toolbarButton(int index) const;
    QAction* toolbarMenuItem(int menuIndex) const;

    // The board page's address.
    static QString BoardUrl();
    // Whether the announcement board is open (wide once its page is shown); closed at creation.
    bool boardOpen() const { return boardOpen_; }
    // Shows a table in Text1 (lines may end in "\r\n") with the caret after its last line, in
    // the table font's largest size that shows every column (and the history header's, with it).
    void showText(const QString& text, bool withHeader = false);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void connectClickableImages();  // the title bars, pictures and labels that act when clicked
    void startMove();  // a title bar pressed: the window follows the mouse
    void switchLottery(bool toP3);  // then the history list
    // Every switch, this window's or another's: Label3 follows; this window's own reports a draw
    // file that cannot be read, another's leaves the refresh notice.
    void lotteryChanged(bool toP3, const QString& loadError);
    void applyBoardLayout(bool wide);
    void showAnalysis(int kind);
    void alignHeader();
    void fitTableFont(const QString& lines);

    mainwindow::TrayIcon* tray_ = nullptr;
    ui::TableGrid* grid_ = nullptr;  // Text1's lines on the table grid of its font
    QList<QAction*> toolbarButtons_;   // index 1..10 at 0..9
    QList<QAction*> toolbarMenu_;      // index 1..16 at 0..15
    bool lastRouteGroup_ = false;
    bool last1234Group_ = false;
    bool closing_ = false;
    bool boardOpen_ = false;
    bool switchingHere_ = false;  // inside switchLottery
};
