// The main window: creation, its controls, menus and toolbar.
#include "mainwindow/mainwindow.h"

#include "common/appstate.h"
#include "common/numbertables.h"
#include "common/paths.h"
#include "common/settings.h"
#include "history/lottery.h"
#include "mainwindow/historylist.h"
#include "mainwindow/mainwindowlayout.h"
#include "mainwindow/trayicon.h"
#include "platform/ui/controls.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/columnfit.h"
#include "platform/ui/tablefont.h"
#include "platform/ui/webview.h"

#include <QAction>
#include <QCursor>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace mainwindow::layout;

namespace {

MainWindow* g_instance = nullptr;

// A small downward triangle, the mark of a button's drop-down choices.
QPixmap DropArrow(const QColor& color) {
    const qreal ratio = qGuiApp->devicePixelRatio();
    QPixmap pm(QSize(9, 6) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({QPointF(0, 0.5), QPointF(9, 0.5), QPointF(4.5, 5.5)}));
    return pm;
}

}  // namespace

MainWindow* MainWindow::instance() { return g_instance; }

MainWindow* MainWindow::ShowMainWindow() {
    if (!g_instance) new MainWindow();
    if (g_instance->closing_) return g_instance;  // closed while it was being made
    g_instance->show();
    g_instance->raise();
    g_instance->activateWindow();
    return g_instance;
}

MainWindow::Openers& MainWindow::openers() {
    static Openers o;
    return o;
}

QString MainWindow::BoardUrl() { return common::HomeUrl() + QStringLiteral("/3d/3dindex.htm"); }

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    g_instance = this;
    // 1. The board starts closed (boardOpen_); the workbench's undo ring starts at 0 when the
    // workbench is created.
    // 2. The window and the reload.
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowIcon(mainwindow::AppIcon());
    buildControls();
    Form_Load();
    // Form_Load's message runs an event loop: a close request (the updater's) may have closed
    // the window already, and the program is ending; nothing more is set up or shown.
    if (closing_) return;
    // 3. Narrow, centred at the wide width.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                          : QRect(0, 0, 1024, 768);
    const int screenW = screen.width() * 15, screenH = screen.height() * 15;
    resize(Px(kNarrowWidth), Px(kHeight));
    move(screen.x() + Px((screenW - kWideWidth) / 2), screen.y() + Px((screenH - kHeight) / 2));
    // 4. Tray icon.
    tray_ = new mainwindow::TrayIcon(mainwindow::AppIcon(), this);
    connect(tray_, &mainwindow::TrayIcon::clicked, this, &MainWindow::TrayWndProc);
    connect(tray_, &mainwindow::TrayIcon::quitRequested, this, [this] { close(); });
    connect(&history::LotteryNotifier::instance(), &history::LotteryNotifier::lotteryChanged, this,
            &MainWindow::lotteryChanged);
    tray_->install();
    // 5.
    common::AppState& app = common::App();
    app.trayToggleEnabled = true;
    app.drawListDirty = true;
    // 6. Settings.
    app.useAllDraws = common::SettingUseAllDraws();
    app.smartScheme = common::SettingSmartScheme();
    app.toleranceRange = common::SettingToleranceRange();
    app.lotteryIsP3 = common::SettingLotteryIsP3();
    // 7.
    Label3->setText(history::LotteryLabel(app.lotteryIsP3));
    // 8. The number tables are built at their first use; touching them here builds them now.
    common::GroupTable();
    common::TripleTable();
    common::GroupThreeTable();
    common::GroupSixTable();
    // 9. The help file is opened by helpme_Click (F1).
    // 10. The board opens 2 s later.
    Timer2->start();
    Form_Resize();
}

MainWindow::~MainWindow() {
    if (g_instance == this) g_instance = nullptr;
}

void MainWindow::buildControls() {
    setStyleSheet(QStringLiteral(
        // Only this window's own controls: the windows opened over it have controls of the same
        // names (Label2, Label3) that must keep the ordinary look.
        "#Form1 { background: #F4F1EA; }"
        "#Form1 > #Bar, #Form1 > #RightBar"
        " { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #B22222, stop:1 #7A1010); }"
        "#Form1 > #Label13dd, #Form1 > #Label2, #Form1 > #Label3 { color: white; background: transparent; }"
        "#Form1 > #winmin, #Form1 > #winexit { color: white; background: transparent; font-weight: bold; }"
        "#Form1 > #Picture6 { background: #E6E0D0; }"));

    Bar = ui::MakeLabel(this, "Bar");
    RightBar = ui::MakeLabel(this, "RightBar");
    Image18 = ui::MakeLabel(this, "Image18");
    Image17 = ui::MakeLabel(this, "Image17");
    Image17->setPixmap(mainwindow::AppIcon().pixmap(24, 24));
    Image17->setGeometry(6, 4, 24, 24);
    titleLabel = ui::MakeLabel(this, "Label13dd", QStringLiteral("Sifmora 5.80"));
    titleLabel->setGeometry(36, 8, 150, 18);
    Label3 = ui::MakeLabel(this, "Label3");
    Label3->setGeometry(190, 8, 110, 18);
    Label2 = ui::MakeLabel(this, "Label2");
    Label2->setGeometry(0, 8, 150, 18);
    minimizeButton = ui::MakeLabel(this, "winmin", QStringLiteral("_"));
    winexit = ui::MakeLabel(this, "winexit", QStringLiteral("×"));
    minimizeButton->setAlignment(Qt::AlignCenter);
    winexit->setAlignment(Qt::AlignCenter);
    minimizeButton->setCursor(Qt::PointingHandCursor);
    winexit->setCursor(Qt::PointingHandCursor);

    toolbarStrip = new QWidget(this);
    toolbarStrip->setObjectName(QStringLiteral("Picture5"));
    toolbarStrip->setGeometry(5, 34, Px(kNarrowWidth) - 10, 40);
    buildToolbar();

    Image20 = ui::MakeLabel(this, "Image20", QStringLiteral("☰"));
    Image20->setGeometry(5, 78, 20, 18);
    Picture2 = ui::MakeLabel(this, "Picture2", QStringLiteral("菜单"));
    Picture2->setGeometry(27, 78, 60, 18);

    struct ButtonDef {
        QPushButton** member;
        const char* name;
        const char* caption;
        void (MainWindow::*handler)();
    };
    const ButtonDef buttons[] = {
        {&Command6, "Command6", "中奖分析", &MainWindow::Command6_Click},
        {&Command1, "Command1", "质合分析", &MainWindow::Command1_Click},
        {&Command2, "Command2", "二码分析", &MainWindow::Command2_Click},
        {&Command3, "Command3", "012路分析", &MainWindow::Command3_Click},
        {&Command4, "Command4", "合值分析", &MainWindow::Command4_Click},
        {&Command5, "Command5", "跨值分析", &MainWindow::Command5_Click},
        {&Command7, "Command7", "单码分析", &MainWindow::Command7_Click},
        {&Command8, "Command8", "1234分析", &MainWindow::Command8_Click},
        {&Command10, "Command10", "和值分析", &MainWindow::Command10_Click},
        {&Command12, "Command12", "奇偶分析", &MainWindow::Command12_Click},
        {&Command13, "Command13", "大中小分析", &MainWindow::Command13_Click},
        {&Command14, "Command14", "大小分析", &MainWindow::Command14_Click},
        {&Command15, "Command15", "数据输入", &MainWindow::Command15_Click},
        {&Command9, "Command9", "过滤缩水", &MainWindow::Command9_Click},
    };
    int y = 100;
    for (const ButtonDef& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(5, y, 88, 22);
        y += 24;
        connect(button, &QPushButton::clicked, this, b.handler);
        *b.member = button;
    }
    // The drop-down arrows lie on the right end of their buttons: a click on the arrow offers
    // 单选 and 组选, a click on the body repeats the last choice. The arrow is painted, not a
    // font's glyph: some CJK fonts draw "▼" as a dot.
    Picture4 = ui::MakeLabel(Command3, "Picture4");
    Picture3 = ui::MakeLabel(Command8, "Picture3");
    for (QLabel* arrow : {Picture4, Picture3}) {
        auto* button = static_cast<QPushButton*>(arrow->parentWidget());
        arrow->setGeometry(button->width() - kArrowWidth - 2, 2, kArrowWidth, button->height() - 4);
        arrow->setAlignment(Qt::AlignCenter);
        arrow->setCursor(Qt::PointingHandCursor);
        arrow->setAccessibleName(QStringLiteral("▼"));
        arrow->setPixmap(DropArrow(arrow->palette().color(QPalette::ButtonText)));
        // The caption keeps clear of the arrow.
        button->setStyleSheet(QStringLiteral("QPushButton { padding-right: %1px; }").arg(kArrowWidth));
    }

    Label1 = ui::MakeLabel(this, "Label1");
    Label1->setGeometry(100, 78, 432, 18);
    Picture6 = new QWidget(this);
    Picture6->setObjectName(QStringLiteral("Picture6"));
    Picture6->setGeometry(100, 98, 432, 18);
    Picture6->setAttribute(Qt::WA_StyledBackground);
    Label4 = ui::MakeLabel(Picture6, "Label4", mainwindow::HistoryHeaderText());
    Label4->setGeometry(2, 0, 430, 18);

    const QFont fixed = ui::TableFont();
    Label4->setFont(fixed);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(100, 118, 432, 344);
    Text1->setFont(fixed);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setUndoRedoEnabled(false);
    grid_ = new ui::TableGrid(Text1->document());
    grid_->setFont(fixed);
    Label4->setTextFormat(Qt::RichText);
    Label4->setText(ui::GridHtml(fixed, mainwindow::HistoryHeaderText()));
    // One horizontal position for the header and the text: the header follows the scroll bar.
    Label4->resize(std::max(Label4->width(), Label4->sizeHint().width()), Label4->height());
    connect(Text1->horizontalScrollBar(), &QScrollBar::valueChanged, this, &MainWindow::alignHeader);

    WebBrowser1 = new ui::WebView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(Px(kNarrowWidth) + 2, 34, 196, 410);
    Label5 = ui::MakeLabel(this, "Label5", QStringLiteral("刷新公告栏"));
    Label5->setGeometry(Px(kNarrowWidth) + 2, 446, 100, 18);
    Label5->setCursor(Qt::PointingHandCursor);
    connect(WebBrowser1, &ui::WebView::documentComplete, this, &MainWindow::WebBrowser1_DocumentComplete);
    connect(WebBrowser1, &ui::WebView::navigateError, this, &MainWindow::WebBrowser1_NavigateError);
    connect(WebBrowser1, &ui::WebView::downloadBegin, this, [this] { WebBrowser1->setSilent(true); });
    connect(WebBrowser1, &ui::WebView::downloadComplete, this, [this] { WebBrowser1->setSilent(true); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2000);
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);
    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setInterval(200);
    connect(Timer3, &QTimer::timeout, this, &MainWindow::Timer3_Timer);
    Timer3->start();

    buildMenus();
    connectClickableImages();
    Bar->lower();
    RightBar->lower();
    Image18->lower();
    for (QWidget* w : {static_cast<QWidget*>(Image17), static_cast<QWidget*>(titleLabel), static_cast<QWidget*>(Label3),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(minimizeButton), static_cast<QWidget*>(winexit)})
        w->raise();
    applyBoardLayout(false);
}

void MainWindow::buildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, void (MainWindow::*handler)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        if (handler) connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(QLatin1String(name)); };
    popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("popup"));
    item(popup, "fc3d", QStringLiteral("1.全国福彩3D"), &MainWindow::fc3d_Click);
    item(popup, "p3", QStringLiteral("2.体彩排列三"), &MainWindow::p3_Click);
    separator(popup, "menu1");
    item(popup, "helpme", QStringLiteral("帮助系统"), &MainWindow::helpme_Click);
    item(popup, "zaixsj", QStringLiteral("在线升级"), &MainWindow::zaixsj_Click);
    item(popup, "syssetup", QStringLiteral("系统设置"), &MainWindow::syssetup_Click);
    item(popup, "reflush", QStringLiteral("刷新公告"), &MainWindow::reflush_Click);
    separator(popup, "heng34");
    item(popup, "openguang", QStringLiteral("打开|关闭公告栏"), &MainWindow::openguang_Click);
    popup1 = new QMenu(this);
    popup1->setObjectName(QStringLiteral("popup1"));
    item(popup1, "p1d", QStringLiteral("单选"), &MainWindow::p1d_Click);
    item(popup1, "p1z", QStringLiteral("组选"), &MainWindow::p1z_Click);
    popup2 = new QMenu(this);
    popup2->setObjectName(QStringLiteral("popup2"));
    item(popup2, "p2d", QStringLiteral("单选"), &MainWindow::p2d_Click);
    item(popup2, "p2z", QStringLiteral("组选"), &MainWindow::p2z_Click);
}

void MainWindow::connectClickableImages() {
    using ui::ClickSource;
    // The title bars move the window; a double click on the left one opens or closes the board.
    for (QWidget* bar : std::initializer_list<QWidget*>{Bar, RightBar, titleLabel})
        connect(ClickSource::of(bar), &ClickSource::pressed, this, &MainWindow::startMove);
    connect(ClickSource::of(Bar), &ClickSource::doubleClicked, this, &MainWindow::Bar_DblClick);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Label3, Image17, Image20, Picture2})
        connect(ClickSource::of(w), &ClickSource::pressed, this, [this] { popup->popup(QCursor::pos()); });
    connect(ClickSource::of(Picture4), &ClickSource::pressed, this, [this] { popup1->popup(QCursor::pos()); });
    connect(ClickSource::of(Picture3), &ClickSource::pressed, this, [this] { popup2->popup(QCursor::pos()); });
    connect(ClickSource::of(minimizeButton), &ClickSource::released, this, &MainWindow::showMinimized);
    connect(ClickSource::of(winexit), &ClickSource::released, this, &MainWindow::close);
    connect(ClickSource::of(Label5), &ClickSource::released, this, &MainWindow::Label5_Click);
}

void MainWindow::buildToolbar() {
    Toolbar2 = new QToolBar(toolbarStrip);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Toolbar2->setGeometry(0, 0, toolbarStrip->width(), toolbarStrip->height());
    const QStringList captions = {QString(), QString(), QStringLiteral("中奖分析"), QStringLiteral("系统设置"),
                                  QString(), QStringLiteral("数据输入"), QStringLiteral("过滤缩水"), QString(),
                                  QStringLiteral("视频教程"), QStringLiteral("退出系统")};
    for (int i = 1; i <= 10; ++i) {
        const QString caption = captions.at(i - 1);
        QAction* a = caption.isEmpty() ? Toolbar2->addSeparator() : Toolbar2->addAction(caption);
        a->setObjectName(QStringLiteral("Toolbar2(%1)").arg(i));
        if (!caption.isEmpty()) connect(a, &QAction::triggered, this, [this, i] { Toolbar2_ButtonClick(i); });
        toolbarButtons_.append(a);
    }
    auto* menu = new QMenu(Toolbar2);
    const QStringList items = {QStringLiteral("1.全国福彩3D"), QStringLiteral("2.体彩排列三"), QString(),
                               QStringLiteral("合值分析"), QStringLiteral("跨度分析"), QStringLiteral("奇偶分析"),
                               QStringLiteral("质合分析"), QStringLiteral("二码分析"), QStringLiteral("和值分析"),
                               QStringLiteral("单码分析"), QStringLiteral("大中小分析"), QStringLiteral("大小分析"),
                               QStringLiteral("单选012路"), QStringLiteral("组选012路"), QStringLiteral("单选1234分析"),
                               QStringLiteral("组选1234分析")};
    for (int i = 1; i <= items.size(); ++i) {
        const QString caption = items.at(i - 1);
        QAction* a = caption.isEmpty() ? menu->addSeparator() : menu->addAction(caption);
        a->setObjectName(QStringLiteral("Toolbar2(3).ButtonMenus(%1)").arg(i));
        if (!caption.isEmpty()) connect(a, &QAction::triggered, this, [this, i] { Toolbar2_ButtonMenuClick(i); });
        toolbarMenu_.append(a);
    }
    toolbarButtons_.at(2)->setMenu(menu);
    if (auto* button = qobject_cast<QToolButton*>(Toolbar2->widgetForAction(toolbarButtons_.at(2))))
        button->setPopupMode(QToolButton::MenuButtonPopup);
}

QAction* MainWindow::toolbarButton(int index) const {
    return index >= 1 && index <= toolbarButtons_.size() ? toolbarButtons_.at(index - 1) : nullptr;
}

QAction* MainWindow::toolbarMenuItem(int menuIndex) const {
    return menuIndex >= 1 && menuIndex <= toolbarMenu_.size() ? toolbarMenu_.at(menuIndex - 1) : nullptr;
}
