#include "mainwindow/mainwindow.h"

#include "common/appstate.h"
#include "common/numbertables.h"
#include "common/paths.h"
#include "common/settings.h"
#include "history/lottery.h"
#include "mainwindow/analysis/analyses.h"
#include "mainwindow/analysispanel.h"
#include "mainwindow/analysistoolbar.h"
#include "mainwindow/boardframe.h"
#include "mainwindow/historylistframe.h"
#include "mainwindow/mainwindowlayout.h"
#include "mainwindow/titlestrip.h"
#include "mainwindow/trayicon.h"
#include "platform/process.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/pagewindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QMenu>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <QWindow>

using mainwindow::Command;
using namespace mainwindow::layout;

namespace {

// A draw file that exists but cannot be read would show as an empty history; say so instead.
void ReportLoadFailure(bool loaded, const QString& why, QWidget* parent) {
    if (!loaded) ui::MsgBox(why, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, parent);
}

// The table an analysis command shows.
analysis::AnalysisKind KindOf(Command command) {
    using K = analysis::AnalysisKind;
    switch (command) {
    case Command::PrimeComposite: return K::PrimeComposite;
    case Command::Pair: return K::Pair;
    case Command::SumTail: return K::SumTail;
    case Command::Span: return K::Span;
    case Command::SingleDigit: return K::SingleDigit;
    case Command::Sum: return K::Sum;
    case Command::OddEven: return K::OddEven;
    case Command::BigMiddleSmall: return K::BigMiddleSmall;
    case Command::BigSmall: return K::BigSmall;
    case Command::StraightRoute: return K::StraightRoute;
    case Command::GroupRoute: return K::GroupRoute;
    case Command::Straight1234: return K::Straight1234;
    default: return K::Group1234;
    }
}

// Window measures with the board closed and open (twips).
struct BoardLayout {
    int width, bar, image18, rightBar, minimizeButton, winexit;
};
constexpr BoardLayout kNarrow{8070, 4935, 7680, 4680, 7300, 7620};
constexpr BoardLayout kWide{11100, 8935, 10800, 7740, 10365, 10680};

}  // namespace

MainWindow::MainWindow(common::AppState& state, Openers openers, QWidget* parent)
    : QWidget(parent), state_(state), openers_(std::move(openers)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowIcon(mainwindow::AppIcon());
    setStyleSheet(QStringLiteral(
        // Only this window's own controls: the windows opened over it have controls of the same
        // names (Label2, Label3) that must keep the ordinary look.
        "#Form1 { background: #F4F1EA; }"
        "#Form1 > #Bar, #Form1 > #RightBar"
        " { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #B22222, stop:1 #7A1010); }"
        "#Form1 > #Label13dd, #Form1 > #Label2, #Form1 > #Label3 { color: white; background: transparent; }"
        "#Form1 > #winmin, #Form1 > #winexit { color: white; background: transparent; font-weight: bold; }"
        "#Form1 > #Picture6 { background: #E6E0D0; }"));
    title_ = new mainwindow::TitleStrip(this);
    toolbar_ = new mainwindow::AnalysisToolbar(this);
    panel_ = new mainwindow::AnalysisPanel(this);
    list_ = new mainwindow::HistoryListFrame(this, state_);
    board_ = new mainwindow::BoardFrame(this);
    reloadTimer_ = new QTimer(this);
    reloadTimer_->setObjectName(QStringLiteral("Timer1"));
    reloadTimer_->setInterval(100);
    reloadTimer_->setSingleShot(true);
    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName(QStringLiteral("Timer3"));
    clockTimer_->setInterval(200);
    title_->raiseOverBars();
    applyBoardLayout(false);
    systemMove = [](QWindow* window) { window->startSystemMove(); };
    connectFrames();
}

void MainWindow::start() {
    clockTimer_->start();
    // The load comes before the tray, the settings and the number tables: the lottery of the
    // settings becomes the run's, and the title follows it through lotteryChanged.
    QString why;
    switchingHere_ = true;
    const bool loaded = history::LoadSavedLottery(state_, &why);
    switchingHere_ = false;
    ReportLoadFailure(loaded, why, this);
    // The message runs an event loop: a close request (the updater's) may have closed the
    // window already, and the program is ending; nothing more is set up or shown.
    if (closing_) return;
    reloadTimer_->start();
    // Narrow, centred at the wide width.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1024, 768);
    resize(Px(kNarrowWidth), Px(kHeight));
    move(screen.x() + Px((screen.width() * 15 - kWideWidth) / 2), screen.y() + Px((screen.height() * 15 - kHeight) / 2));
    tray_ = new mainwindow::TrayIcon(mainwindow::AppIcon(), this);
    connect(tray_, &mainwindow::TrayIcon::clicked, this, &MainWindow::toggleFromTray);
    tray_->install();
    // The number tables are built at their first use; touching them here builds them now.
    common::GroupTable();
    common::TripleTable();
    common::GroupThreeTable();
    common::GroupSixTable();
    board_->startOpeningLater();
    fitShape();
}

MainWindow::~MainWindow() = default;

void MainWindow::present() {
    if (closing_) return;  // closed while it was starting
    bringBack();
}

void MainWindow::bringBack() {
    // show() alone keeps the minimised state: the window would come back as a taskbar entry,
    // which a player without a taskbar never finds.
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    if (isHidden() && minimisedSinceShown_) {
        // Qt on X11 keeps the hint to map the window minimised from its last minimising, also
        // after the window manager restored it: minimising and restoring the hidden window once
        // more rewrites the hint.
        if (QWindow* window = windowHandle()) {
            window->setWindowStates(Qt::WindowMinimized);
            window->setWindowStates(windowState() & ~Qt::WindowActive);
        }
    }
    minimisedSinceShown_ = false;
    show();
    raise();
    activateWindow();
}

void MainWindow::connectFrames() {
    connect(toolbar_, &mainwindow::AnalysisToolbar::commandChosen, this, &MainWindow::run);
    connect(panel_, &mainwindow::AnalysisPanel::commandChosen, this, &MainWindow::run);
    connect(title_, &mainwindow::TitleStrip::menuRequested, toolbar_, &mainwindow::AnalysisToolbar::popUpMenu);
    connect(list_, &mainwindow::HistoryListFrame::menuRequested, toolbar_, &mainwindow::AnalysisToolbar::popUpMenu);
    connect(title_, &mainwindow::TitleStrip::moveRequested, this, [this] {
        if (windowHandle() && systemMove) systemMove(windowHandle());
    });
    connect(title_, &mainwindow::TitleStrip::boardToggleRequested, board_, &mainwindow::BoardFrame::toggle);
    connect(title_, &mainwindow::TitleStrip::minimizeRequested, this, &MainWindow::showMinimized);
    connect(title_, &mainwindow::TitleStrip::closeRequested, this, &MainWindow::close);
    connect(board_, &mainwindow::BoardFrame::narrowRequested, this, [this] { applyBoardLayout(false); });
    connect(board_, &mainwindow::BoardFrame::wideRequested, this, [this] { applyBoardLayout(true); });
    connect(board_, &mainwindow::BoardFrame::pageEnded, this, [this] {
        if (isMinimized() || isMaximized()) showNormal();
    });
    connect(reloadTimer_, &QTimer::timeout, this, &MainWindow::showListAfterReload);
    connect(clockTimer_, &QTimer::timeout, this, &MainWindow::tick);
    connect(&state_, &common::AppState::lotteryChanged, this, &MainWindow::lotteryChanged);
}

void MainWindow::run(Command command) {
    switch (command) {
    case Command::HistoryList: showHistoryList(); break;
    case Command::Workbench: openWorkbench(); break;
    case Command::DrawEntry: openDrawEntry(); break;
    case Command::Settings: openSettings(); break;
    case Command::Updater: platform::StartUpdater(); break;  // a missing updater is ignored
    case Command::Help: ui::ShowPage(common::HelpPageUrl(), QStringLiteral("Sifmora 帮助"), this); break;
    case Command::Tutorial: ui::ShowHomePage(QStringLiteral("/3d/gd.htm"), QStringLiteral("使用教程"), this); break;
    case Command::Quit: close(); break;
    case Command::SwitchToFc3d: switchLottery(false); break;
    case Command::SwitchToP3: switchLottery(true); break;
    case Command::RefreshBoard: board_->refresh(); break;
    case Command::ToggleBoard: board_->toggle(); break;
    case Command::RepeatRoute: showAnalysis(lastRouteGroup_ ? Command::GroupRoute : Command::StraightRoute); break;
    case Command::Repeat1234: showAnalysis(last1234Group_ ? Command::Group1234 : Command::Straight1234); break;
    default: showAnalysis(command); break;
    }
}

void MainWindow::showAnalysis(Command command) {
    if (command == Command::StraightRoute || command == Command::GroupRoute)
        lastRouteGroup_ = command == Command::GroupRoute;
    if (command == Command::Straight1234 || command == Command::Group1234)
        last1234Group_ = command == Command::Group1234;
    const analysis::AnalysisTable table =
        analysis::RunAnalysis(KindOf(command), state_.history(), state_.analysisFirst(), state_.analysisLast());
    list_->showTable(table.title, table.text);
}

void MainWindow::showHistoryList() { list_->showList(); }

void MainWindow::reload() {
    QString why;
    const bool loaded = history::ReloadCurrentLottery(state_, &why);
    ReportLoadFailure(loaded, why, this);
    if (!closing_) reloadTimer_->start();  // a close request may have come during the message
}

void MainWindow::showListAfterReload() {
    reloadTimer_->stop();
    showHistoryList();
}

void MainWindow::switchLottery(bool toP3) {
    switchingHere_ = true;
    QString why;
    const bool switched = history::SelectLottery(state_, toP3, &why);
    switchingHere_ = false;
    if (switched) ReportLoadFailure(why.isEmpty(), why, this);
    showHistoryList();
}

void MainWindow::lotteryChanged(bool toP3) {
    title_->showLottery(toP3);
    // This window's own switch or start says a failed load itself and shows the list after it.
    if (!switchingHere_) list_->showNotice(QStringLiteral("彩票类型已被转换请刷新数据..."));
}

void MainWindow::openWorkbench() {
    if (state_.quitting() || list_->isBuilding() || !openers().workbench) return;
    tray_->setToggleEnabled(false);
    hide();
    openers().workbench();
}

void MainWindow::workbenchClosed() {
    if (closing_) return;
    bringBack();
    tray_->setToggleEnabled(true);
}

void MainWindow::openDrawEntry() {
    if (state_.quitting() || list_->isBuilding()) return;
    list_->showCaption(QStringLiteral("(数据输入)软件支持在线更新"));
    tray_->setToggleEnabled(false);
    if (openers().drawEntry) openers().drawEntry(this);
    tray_->setToggleEnabled(true);
    reload();
}

void MainWindow::openSettings() {
    tray_->setToggleEnabled(false);
    if (openers().settings) openers().settings(this);  // a new range reaches the list through rangeChanged
    tray_->setToggleEnabled(true);
}

void MainWindow::toggleFromTray() {
    if (isVisible() && !isMinimized()) hide();
    else bringBack();
}

void MainWindow::openBoard() { board_->open(); }

void MainWindow::tick() {
    list_->showHeaderWithList();
    title_->showClock(QDateTime::currentDateTime());
}

const QString& MainWindow::historyListText() const { return list_->listText(); }

bool MainWindow::boardOpen() const { return board_->isOpen(); }

void MainWindow::applyBoardLayout(bool wide) {
    const BoardLayout& l = wide ? kWide : kNarrow;
    resize(Px(l.width), height() > 0 ? height() : Px(kHeight));
    title_->layOut(l.width, l.bar, l.image18, l.rightBar, l.minimizeButton, l.winexit);
}

void MainWindow::fitShape() {
    if (isMinimized()) {
        setWindowTitle(QStringLiteral("Sifmora"));
    } else {
        setWindowTitle(QString());
        if (height() != Px(kHeight)) resize(width(), Px(kHeight));
        const int w = width() * 15 < 9000 ? 540 : 741;
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, w, 470), 12.5, 12.5);
        setMask(QRegion(path.toFillPolygon().toPolygon()));
    }
    toolbar_->fitWidth(width());
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    list_->alignHeader();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (toolbar_) fitShape();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized()) minimisedSinceShown_ = true;
    if (event->type() == QEvent::WindowStateChange && toolbar_) fitShape();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        run(Command::Help);
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (list_->isBuilding()) {
        list_->showNotice(kBusyText);
        event->ignore();
        return;
    }
    closing_ = true;
    state_.setQuitting(true);  // for good: nothing starts any more, hidden windows unload
    if (tray_) tray_->remove();  // none yet when the close came during the start's message
    reloadTimer_->stop();
    board_->cancelOpening();
    clockTimer_->stop();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isWindow() && !qobject_cast<QMenu*>(w)) w->close();
    event->accept();
    if (quitOnClose) QCoreApplication::quit();
}
