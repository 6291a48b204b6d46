#include "common/appstate.h"
#include "common/settings.h"
#include "history/drawfile.h"
#include "history/lottery.h"
#include "hookreset.h"
#include "httpserver.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/commands.h"
#include "mainwindow/historylist.h"
#include "mainwindow/trayicon.h"
#include "platform/ui/pageresources.h"
#include "platform/ui/webview.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/settingsnotice.h"
#include "legibility.h"
#include "platform/ui/tablefont.h"
#include "buttonwalk.h"
#include "testsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDir>
#include <QFontDatabase>
#include <functional>
#include <QFile>
#include <QFileInfo>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QDeadlineTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QSystemTrayIcon>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

using mainwindow::Command;
using testsupport::EnvVar;

QByteArray Draws(int n, int firstYear = 2020) {
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += history::EncodeDrawRecord(QStringLiteral("%1%2 %3").arg(firstYear + i / 300).arg(i % 300 + 1, 3, 10, QLatin1Char('0')).arg(i % 1000, 3, 10, QLatin1Char('0')));
    return b;
}

// Runs the event loop until the signal comes (true) or the limit passes (false).
template <class Sender, class Signal>
bool WaitFor(Sender* sender, Signal signal, int limitMs = 10000) {
    QEventLoop loop;
    bool came = false;
    auto c = QObject::connect(sender, signal, &loop, [&] {
        came = true;
        loop.quit();
    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(c);
    return came;
}

// A control of the window by its name (the arrows stand on their buttons, so the search goes deep).
template <class T>
T* Child(QWidget* f, const char* name) {
    T* child = f->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}
QAction* ToolbarButton(QWidget* f, int index) { return f->findChild<QAction*>(QStringLiteral("Toolbar2(%1)").arg(index)); }
QAction* ToolbarItem(QWidget* f, int index) {
    return f->findChild<QAction*>(QStringLiteral("Toolbar2(3).ButtonMenus(%1)").arg(index));
}
// A left click on the tray icon, as the notification area reports it.
void TrayClick(MainWindow* f, QSystemTrayIcon::ActivationReason reason = QSystemTrayIcon::Trigger) {
    emit f->tray()->icon()->activated(reason);
}
void SendMouse(QWidget* w, QEvent::Type type) {
    QMouseEvent e(type, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

QString Shown(const QString& historyText) { return QString(historyText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

class MainWindowTest : public ::testing::Test {
protected:
    testsupport::ProgramDir dir;
    std::unique_ptr<EnvVar> home{std::make_unique<EnvVar>("SIFMORA_HOME_URL", QString())};
    common::AppState app;  // outlives the window it is handed to
    std::unique_ptr<MainWindow> form;

    void SetUp() override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"), QStringLiteral("Lotvane")).clear();
    }
    void TearDown() override {
        if (form) form->quitOnClose = false;
        form.reset();
    }
    MainWindow* create() {
        form = std::make_unique<MainWindow>(app);
        form->quitOnClose = false;
        form->start();
        return form.get();
    }
    bool useShared() { return dir.copyShared("data/HAO.TXT") && dir.copyShared("data/HAOP3.TXT"); }
};

TEST_F(MainWindowTest, FirstStartDefaultsAndHistoryListOfTheRange) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    ASSERT_TRUE(useShared());
    MainWindow* f = create();
    EXPECT_FALSE(app.lotteryIsP3());
    EXPECT_EQ(Child<QLabel>(f, "Label3")->text(), QStringLiteral("全国福彩3D"));
    EXPECT_TRUE(app.drawFilePath().endsWith(QStringLiteral("/HAO.TXT")));
    EXPECT_TRUE(common::SettingUseAllDraws());
    EXPECT_EQ(common::SettingSmartScheme(), 1);
    EXPECT_EQ(common::SettingToleranceRange(), QStringLiteral("1"));
    EXPECT_TRUE(f->tray()->toggleEnabled());
    EXPECT_FALSE(f->boardOpen());
    EXPECT_EQ(app.history().count(), 7774);
    EXPECT_EQ(app.rangeFirst(), 7673);
    EXPECT_EQ(app.rangeLast(), 7773);
    EXPECT_EQ(f->width(), 8070 / 15);
    EXPECT_EQ(f->height(), 7050 / 15);
    EXPECT_TRUE(Child<QTimer>(f, "Timer1")->isActive());
    EXPECT_EQ(Child<QTimer>(f, "Timer1")->interval(), 100);
    EXPECT_TRUE(Child<QTimer>(f, "Timer2")->isActive());
    EXPECT_EQ(Child<QTimer>(f, "Timer2")->interval(), 2000);
    EXPECT_TRUE(f->tray()->isInstalled());

    f->showListAfterReload();
    EXPECT_FALSE(Child<QTimer>(f, "Timer1")->isActive());
    EXPECT_FALSE(app.quitting());
    const QString expected = mainwindow::BuildHistoryText(app.history().draws(), 7673, 7773);
    EXPECT_EQ(f->historyListText(), expected);
    EXPECT_EQ(Child<QPlainTextEdit>(f, "Text1")->toPlainText(), Shown(expected));
    EXPECT_EQ(Child<QPlainTextEdit>(f, "Text1")->toPlainText().count(QLatin1Char('\n')), 102);
    EXPECT_TRUE(Child<QPlainTextEdit>(f, "Text1")->textCursor().atEnd());
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".福利3D共开奖7774期"));
    f->tick();
    EXPECT_FALSE(Child<QWidget>(f, "Picture6")->isHidden());
    EXPECT_TRUE(Child<QLabel>(f, "Label2")->text().contains(QStringLiteral("   ")));
}

// The history list's header keeps its columns over the text's columns when the text is scrolled
// sideways; the 012路 and 1234 arrows lie on the right end of their buttons and open the choices.
TEST_F(MainWindowTest, HeaderFollowsTheTextAndArrowsSitOnTheirButtons) {
    dir.write("HAO.TXT", Draws(150));
    MainWindow* f = create();
    f->show();
    f->showListAfterReload();
    f->tick();
    ASSERT_FALSE(Child<QWidget>(f, "Picture6")->isHidden());
    QScrollBar* bar = Child<QPlainTextEdit>(f, "Text1")->horizontalScrollBar();
    auto textLeft = [f] {
        const QRect start = Child<QPlainTextEdit>(f, "Text1")->cursorRect(QTextCursor(Child<QPlainTextEdit>(f, "Text1")->document()));
        return Child<QPlainTextEdit>(f, "Text1")->viewport()->mapTo(f, start.topLeft()).x();
    };
    // A narrow text box so that the rows need the scroll bar.
    Child<QPlainTextEdit>(f, "Text1")->resize(200, Child<QPlainTextEdit>(f, "Text1")->height());
    QCoreApplication::processEvents();
    ASSERT_GT(bar->maximum(), 40);
    for (int x : {0, 40, bar->maximum(), 0}) {
        SCOPED_TRACE(x);
        bar->setValue(x);
        EXPECT_EQ(Child<QLabel>(f, "Label4")->mapTo(f, QPoint(0, 0)).x(), textLeft());
    }
    EXPECT_GE(Child<QLabel>(f, "Label4")->width(), Child<QLabel>(f, "Label4")->sizeHint().width());  // the whole header, not cut at the box

    struct Arrow {
        QLabel* arrow;
        QPushButton* button;
        QMenu* menu;
    } arrows[] = {{Child<QLabel>(f, "Picture4"), Child<QPushButton>(f, "Command3"), Child<QMenu>(f, "popup1")}, {Child<QLabel>(f, "Picture3"), Child<QPushButton>(f, "Command8"), Child<QMenu>(f, "popup2")}};
    for (const Arrow& a : arrows) {
        SCOPED_TRACE(a.arrow->objectName().toStdString());
        EXPECT_EQ(a.arrow->parentWidget(), a.button);
        EXPECT_FALSE(a.arrow->pixmap().isNull());
        EXPECT_GE(a.arrow->geometry().right(), a.button->width() - 4);
        bool clicked = false;
        auto c = QObject::connect(a.button, &QPushButton::clicked, [&] { clicked = true; });
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), a.arrow->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(a.arrow, &press);
        EXPECT_TRUE(a.menu->isVisible());
        EXPECT_FALSE(clicked);  // the arrow offers the choices instead of repeating the last one
        a.menu->hide();
        QObject::disconnect(c);
    }
}

// The title bar's pictures act on the mouse: 最小化 on release; the lottery label opens the menu
// on press and keeps the press from the window.
TEST_F(MainWindowTest, TitlePicturesActOnTheMouse) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    f->show();
    auto send = [](QWidget* w, QEvent::Type type) {
        QMouseEvent e(type, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
        return e.isAccepted();
    };
    EXPECT_TRUE(send(Child<QLabel>(f, "Label3"), QEvent::MouseButtonPress));
    EXPECT_TRUE(Child<QMenu>(f, "popup")->isVisible());
    Child<QMenu>(f, "popup")->hide();
    send(Child<QLabel>(f, "winmin"), QEvent::MouseButtonPress);
    EXPECT_FALSE(f->isMinimized());
    send(Child<QLabel>(f, "winmin"), QEvent::MouseButtonRelease);
    EXPECT_TRUE(f->isMinimized());
}

TEST_F(MainWindowTest, DefaultRangeEdges) {
    struct Case {
        int draws, first, last;
    } cases[] = {{200, 0, 199}, {201, 100, 200}, {0, 0, -1}};
    for (const Case& c : cases) {
        dir.write("HAO.TXT", Draws(c.draws));
        MainWindow* f = create();
        EXPECT_EQ(app.rangeFirst(), c.first) << c.draws;
        EXPECT_EQ(app.rangeLast(), c.last) << c.draws;
        f->showHistoryList();
        if (c.draws == 0) {
            EXPECT_EQ(f->historyListText(), QStringLiteral("\r\n"));
            EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".福利3D共开奖0期"));
        }
        form.reset();
        app.reset();
    }
}

TEST_F(MainWindowTest, ListIsShownFromCacheUntilTheRangeChanges) {
    dir.write("HAO.TXT", Draws(300));
    MainWindow* f = create();
    f->showHistoryList();
    const QString first = f->historyListText();
    // Shown again with nothing changed: the same list.
    f->showHistoryList();
    EXPECT_EQ(f->historyListText(), first);
    EXPECT_EQ(Child<QPlainTextEdit>(f, "Text1")->toPlainText(), Shown(first));
    // A range the settings window takes reaches the list through the state's rangeChanged, with
    // no settings opener marking anything: the next list uses the new range.
    app.setRange(0, app.rangeLast());
    f->run(Command::Settings);
    f->showHistoryList();
    EXPECT_EQ(f->historyListText().count(QStringLiteral("\r\n")), 301);
}

// A draw added to HAO.TXT reaches the list through the history routine and the state's signal
// alone: no one tells the window that its cached list is stale.
TEST_F(MainWindowTest, ReloadedHistoryReachesTheListThroughTheStateSignal) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    f->showHistoryList();
    ASSERT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".福利3D共开奖5期"));
    dir.write("HAO.TXT", Draws(6));
    ASSERT_TRUE(history::ReloadCurrentLottery(app));
    f->showHistoryList();
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".福利3D共开奖6期"));
    EXPECT_EQ(f->historyListText(), mainwindow::BuildHistoryText(app.history().draws(), 0, 5));
}

// A settings folder nothing can be written into: the switch still happens, and the first save
// that is lost is said once, with the folder and why, as the program's start sets it up.
TEST_F(MainWindowTest, LotterySwitchWithSettingsThatCannotBeSavedSaysSoOnce) {
    dir.write("HAO.TXT", Draws(5));
    dir.write("HAOP3.TXT", Draws(6));
    common::SaveSetting(QStringLiteral("zl"), QStringLiteral("1"));
    const QString folder = QFileInfo(common::SettingsFilePath()).absolutePath();
    testsupport::ReadOnlyFolder readOnly(folder);
    if (!readOnly.isReadOnly()) GTEST_SKIP() << "the settings folder could not be made read-only here";
    ui::SaySettingsSaveFailures();
    ui::MessageRecorder messages;
    const auto said = [&] {
        QCoreApplication::processEvents();
        QStringList texts;
        for (const ui::MessageRecord& m : messages.messages)
            if (m.text.startsWith(QStringLiteral("设置无法保存："))) texts << m.text;
        return texts;
    };
    MainWindow* f = create();
    ToolbarItem(f, 2)->trigger();  // "2.体彩排列三"
    EXPECT_TRUE(app.lotteryIsP3());
    EXPECT_EQ(Child<QLabel>(f, "Label3")->text(), QStringLiteral("体彩排列3"));
    QFile ini(common::SettingsFilePath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_FALSE(ini.readAll().contains("fclx"));
    ASSERT_EQ(said().size(), 1);
    EXPECT_TRUE(said()[0].contains(QDir::toNativeSeparators(folder))) << said()[0].toStdString();
    EXPECT_EQ(messages.messages.last().icon, ui::Icon::Warning);
    f->findChild<QAction*>(QStringLiteral("fc3d"))->trigger();
    EXPECT_FALSE(app.lotteryIsP3());
    EXPECT_EQ(said().size(), 1);
    common::SetSettingsSaveNotice({});
}

TEST_F(MainWindowTest, LotterySwitchFromMenuAndToolbar) {
    SKIP_WITHOUT_SHARED("data/HAOP3.TXT");
    ASSERT_TRUE(useShared());
    MainWindow* f = create();
    f->showHistoryList();
    // Switching to the lottery already current writes nothing and shows the cached list.
    f->switchLottery(false);
    EXPECT_FALSE(common::HasSetting(QStringLiteral("fclx")));
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".福利3D共开奖7774期"));

    ToolbarItem(f, 2)->trigger();  // "2.体彩排列三"
    EXPECT_EQ(common::GetSetting(QStringLiteral("fclx")), QStringLiteral("1"));
    EXPECT_TRUE(app.lotteryIsP3());
    EXPECT_TRUE(app.drawFilePath().endsWith(QStringLiteral("/HAOP3.TXT")));
    EXPECT_EQ(app.history().count(), 7742);
    EXPECT_EQ(app.rangeFirst(), 7641);
    EXPECT_EQ(Child<QLabel>(f, "Label3")->text(), QStringLiteral("体彩排列3"));
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".体彩排列3共开奖7742期"));
    EXPECT_EQ(f->historyListText(), mainwindow::BuildHistoryText(app.history().draws(), 7641, 7741));

    f->findChild<QAction*>(QStringLiteral("fc3d"))->trigger();
    EXPECT_EQ(common::GetSetting(QStringLiteral("fclx")), QStringLiteral("0"));
    EXPECT_EQ(Child<QLabel>(f, "Label3")->text(), QStringLiteral("全国福彩3D"));
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".福利3D共开奖7774期"));

    // The setting is read at creation.
    form.reset();
    common::SaveSetting(QStringLiteral("fclx"), QStringLiteral("1"));
    app.reset();
    f = create();
    EXPECT_TRUE(app.lotteryIsP3());
    EXPECT_EQ(Child<QLabel>(f, "Label3")->text(), QStringLiteral("体彩排列3"));
    EXPECT_EQ(app.history().count(), 7742);
}

TEST_F(MainWindowTest, SwitchWhileTheListIsBuiltEndsWithTheNewLottery) {
    SKIP_WITHOUT_SHARED("data/HAOP3.TXT");
    ASSERT_TRUE(useShared());
    MainWindow* f = create();
    // The switch arrives through the events handled between lines.
    QTimer::singleShot(0, f, [f] { f->switchLottery(true); });
    f->showHistoryList();
    EXPECT_FALSE(app.quitting());
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".体彩排列3共开奖7742期"));
    EXPECT_EQ(f->historyListText(),
              mainwindow::BuildHistoryText(app.history().draws(), 7641, 7741));
}

// A switch made by another window reaches this one through the shared routine's signal: Label3
// follows the lottery and the list waits for a refresh; a switch back does the same.
TEST_F(MainWindowTest, SwitchElsewhereLeavesTheRefreshNotice) {
    dir.write("HAO.TXT", Draws(5));
    dir.write("HAOP3.TXT", Draws(7));
    MainWindow* f = create();
    f->showListAfterReload();
    for (const bool toP3 : {true, false}) {
        ASSERT_TRUE(history::SelectLottery(app, toP3));
        EXPECT_EQ(Child<QLabel>(f, "Label3")->text(), history::LotteryLabel(toP3));
        EXPECT_EQ(Child<QPlainTextEdit>(f, "Text1")->toPlainText(), QStringLiteral("彩票类型已被转换请刷新数据..."));
        EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral("彩票类型已被转换请刷新数据..."));
        EXPECT_EQ(app.history().count(), toP3 ? 7 : 5);
    }
    // Its own switch rebuilds the list instead of leaving the notice.
    f->switchLottery(true);
    EXPECT_EQ(Child<QLabel>(f, "Label3")->text(), QStringLiteral("体彩排列3"));
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".体彩排列3共开奖7期"));
}

TEST_F(MainWindowTest, EveryButtonReachesAHandler) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    // 14 command buttons (the toolbar stays hidden), 14 clickable pictures and labels, the tray icon.
    EXPECT_EQ(testsupport::WalkedButtonCount(f), 29);
    EXPECT_EQ(testsupport::UnboundButtons(f), QStringList{});
}

TEST_F(MainWindowTest, WorkbenchLotteryNotice) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    app.selectLottery(true, common::DrawFilePathFor(true), app.history());
    EXPECT_EQ(Child<QLabel>(f, "Label3")->text(), QStringLiteral("体彩排列3"));
    EXPECT_EQ(Child<QPlainTextEdit>(f, "Text1")->toPlainText(), QStringLiteral("彩票类型已被转换请刷新数据..."));
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral("彩票类型已被转换请刷新数据..."));
    f->tick();
    EXPECT_TRUE(Child<QWidget>(f, "Picture6")->isHidden());
}

TEST_F(MainWindowTest, BusyRefusesCloseWorkbenchAndDrawEntry) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    int workbench = 0, entry = 0;
    f->openers().workbench = [&] { ++workbench; };
    f->openers().drawEntry = [&](QWidget*) { ++entry; };
    f->show();
    // The requests arrive through the events handled while the list is built.
    bool ran = false;
    QTimer::singleShot(0, f, [&] {
        ran = true;
        EXPECT_FALSE(f->close());
        EXPECT_EQ(Child<QPlainTextEdit>(f, "Text1")->toPlainText(), QStringLiteral("数据处理中,请稍候..."));
        EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral("数据处理中,请稍候..."));
        EXPECT_TRUE(f->isVisible());
        Child<QPushButton>(f, "Command9")->click();
        Child<QPushButton>(f, "Command15")->click();
        EXPECT_EQ(workbench, 0);
        EXPECT_EQ(entry, 0);
        EXPECT_TRUE(f->tray()->isInstalled());
    });
    f->showHistoryList();
    EXPECT_TRUE(ran);
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".福利3D共开奖5期"));
    // Once built, the same requests go through.
    Child<QPushButton>(f, "Command9")->click();
    EXPECT_EQ(workbench, 1);
}

TEST_F(MainWindowTest, WorkbenchAndTrayToggle) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    f->show();
    bool opened = false;
    f->openers().workbench = [&] { opened = true; };
    TrayClick(f);
    EXPECT_FALSE(f->isVisible());
    TrayClick(f);
    EXPECT_TRUE(f->isVisible());

    ToolbarButton(f, 7)->trigger();  // "过滤缩水"
    EXPECT_TRUE(opened);
    EXPECT_FALSE(f->isVisible());
    EXPECT_FALSE(f->tray()->toggleEnabled());
    TrayClick(f);  // no effect while the workbench is open
    EXPECT_FALSE(f->isVisible());
    f->workbenchClosed();
    EXPECT_TRUE(f->isVisible());
    TrayClick(f);
    EXPECT_FALSE(f->isVisible());
    TrayClick(f);
    EXPECT_TRUE(f->isVisible());
}

TEST_F(MainWindowTest, ModalWindowsDisableTheTrayAndReload) {
    dir.write("HAO.TXT", Draws(300));
    MainWindow* f = create();
    f->show();
    f->showHistoryList();
    bool trayDuringSettings = true, trayDuringEntry = true, visibleAfterClick = false;
    f->openers().settings = [&](QWidget* parent) {
        EXPECT_EQ(parent, f);
        trayDuringSettings = f->tray()->toggleEnabled();
        app.setRange(0, app.rangeLast());  // the settings window takes a new range
        TrayClick(f);
        visibleAfterClick = f->isVisible();
    };
    f->openers().drawEntry = [&](QWidget*) {
        trayDuringEntry = f->tray()->toggleEnabled();
        EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral("(数据输入)软件支持在线更新"));
        // The entry window adds a draw and writes the file.
        dir.write("HAO.TXT", Draws(301));
    };
    ToolbarButton(f, 4)->trigger();  // 系统设置
    EXPECT_FALSE(trayDuringSettings);
    EXPECT_TRUE(visibleAfterClick);
    EXPECT_TRUE(f->tray()->toggleEnabled());
    f->showHistoryList();  // built again over the new range
    EXPECT_EQ(f->historyListText().count(QStringLiteral("\r\n")), 301);

    app.setRange(3, app.rangeLast());
    ToolbarButton(f, 6)->trigger();  // 数据输入
    EXPECT_FALSE(trayDuringEntry);
    EXPECT_TRUE(f->tray()->toggleEnabled());
    EXPECT_EQ(app.history().count(), 301);
    EXPECT_EQ(app.rangeFirst(), 200);  // the range is reset by the reload
    EXPECT_TRUE(Child<QTimer>(f, "Timer1")->isActive());
    f->showListAfterReload();
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), QStringLiteral(".福利3D共开奖301期"));
}

TEST_F(MainWindowTest, ClosingEndsEverythingOnce) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    f->show();
    QWidget other;
    other.show();
    EXPECT_TRUE(f->close());
    EXPECT_TRUE(app.quitting());
    EXPECT_FALSE(f->tray()->isInstalled());
    EXPECT_FALSE(other.isVisible());
    // From now on nothing starts.
    int workbench = 0;
    f->openers().workbench = [&] { ++workbench; };
    f->run(Command::Workbench);
    EXPECT_EQ(workbench, 0);
    // The toolbar's 退出系统 reaches the same closing path.
    form.reset();
    app.reset();
    f = create();
    f->show();
    ToolbarButton(f, 10)->trigger();
    EXPECT_FALSE(f->isVisible());
    EXPECT_TRUE(app.quitting());
    EXPECT_FALSE(f->tray()->isInstalled());
}

// Only the left button acts on the tray icon: the right button offers no menu (no way to quit
// from there) and the middle button changes nothing. Qt reports a double click as Trigger and
// then DoubleClick: it toggles twice, as two clicks do.
TEST_F(MainWindowTest, TrayIconActsOnTheLeftButtonOnly) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    f->show();
    EXPECT_EQ(f->tray()->icon()->contextMenu(), nullptr);
    for (const auto reason : {QSystemTrayIcon::Context, QSystemTrayIcon::MiddleClick}) {
        SCOPED_TRACE(int(reason));
        TrayClick(f, reason);
        EXPECT_TRUE(f->isVisible());
        EXPECT_FALSE(app.quitting());
        EXPECT_TRUE(f->tray()->isInstalled());
    }
    TrayClick(f);
    EXPECT_FALSE(f->isVisible());
    TrayClick(f, QSystemTrayIcon::DoubleClick);  // the second click of a double click
    EXPECT_TRUE(f->isVisible());
    TrayClick(f);
    TrayClick(f, QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(f->isVisible());
}

// A minimised window comes back from the tray and from the workbench normal and active: without
// a taskbar there is no other way back.
TEST_F(MainWindowTest, MinimisedWindowComesBackNormalAndActive) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    QWidget bench;  // the workbench, active while it is open
    f->openers().workbench = [&] {
        bench.show();
        bench.activateWindow();
    };
    for (const bool throughWorkbench : {false, true}) {
        SCOPED_TRACE(throughWorkbench ? "workbench closed" : "tray");
        f->setWindowState(Qt::WindowNoState);
        f->show();
        f->showMinimized();
        ASSERT_TRUE(f->isMinimized());
        if (throughWorkbench) {
            f->run(Command::Workbench);
            ASSERT_FALSE(f->isVisible());
            QCoreApplication::processEvents();
            bench.hide();
            f->workbenchClosed();
        } else {
            TrayClick(f);
        }
        for (int i = 0; i < 10 && !f->isActiveWindow(); ++i) QCoreApplication::processEvents();
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(f->windowState() & ~Qt::WindowActive, Qt::WindowNoState);
        EXPECT_TRUE(f->isActiveWindow());
        EXPECT_TRUE(f->tray()->toggleEnabled());
    }
    // A shown window still hides on a click, and a hidden one comes back.
    TrayClick(f);
    EXPECT_FALSE(f->isVisible());
    TrayClick(f);
    EXPECT_TRUE(f->isVisible());
}

// The updater's close request can come while the start's message about the draw file is up,
// before the window has its tray icon: the window closes, and nothing is set up or shown after.
TEST_F(MainWindowTest, CloseDuringTheStartsMessageEndsCleanly) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("HAO.TXT"));  // the load fails with a message
    bool closed = false;
    form = std::make_unique<MainWindow>(app);
    MainWindow* f = form.get();
    f->quitOnClose = false;
    ui::SetMessageHandler([&](const ui::MessageRecord&) {
        closed = f->close();
        return ui::Answer::Ok;
    });
    f->start();
    f->present();  // as the program does once the start is over: nothing for a closed window
    ui::SetMessageHandler({});
    EXPECT_TRUE(closed);
    EXPECT_FALSE(f->isVisible());
    EXPECT_TRUE(app.quitting());
    EXPECT_FALSE(Child<QTimer>(f, "Timer1")->isActive());  // the list is never built for a closing window
    EXPECT_TRUE(QFileInfo(dir.file("HAO.TXT")).isDir());
}

TEST_F(MainWindowTest, ControlsCarryTheirNamesAndCaptions) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    const QList<QPair<const char*, const char*>> buttons = {
        {"Command1", "质合分析"}, {"Command2", "二码分析"}, {"Command3", "012路分析"}, {"Command4", "合值分析"},
        {"Command5", "跨值分析"}, {"Command6", "中奖分析"}, {"Command7", "单码分析"}, {"Command8", "1234分析"},
        {"Command9", "过滤缩水"}, {"Command10", "和值分析"}, {"Command12", "奇偶分析"}, {"Command13", "大中小分析"},
        {"Command14", "大小分析"}, {"Command15", "数据输入"}};
    for (const auto& b : buttons) {
        auto* button = f->findChild<QPushButton*>(QString::fromLatin1(b.first));
        ASSERT_NE(button, nullptr) << b.first;
        EXPECT_EQ(button->text(), QString::fromUtf8(b.second));
    }
    EXPECT_EQ(f->findChild<QPushButton*>(QStringLiteral("Command11")), nullptr);
    const QList<QPair<const char*, const char*>> items = {
        {"fc3d", "1.全国福彩3D"}, {"p3", "2.体彩排列三"}, {"helpme", "帮助系统"}, {"zaixsj", "在线升级"},
        {"syssetup", "系统设置"}, {"reflush", "刷新公告"}, {"openguang", "打开|关闭公告栏"},
        {"p1d", "单选"}, {"p1z", "组选"}, {"p2d", "单选"}, {"p2z", "组选"}};
    for (const auto& i : items) {
        QAction* a = f->findChild<QAction*>(QString::fromLatin1(i.first));
        ASSERT_NE(a, nullptr) << i.first;
        EXPECT_EQ(a->text(), QString::fromUtf8(i.second));
    }
    EXPECT_EQ(ToolbarButton(f, 3)->text(), QStringLiteral("中奖分析"));
    EXPECT_EQ(ToolbarButton(f, 10)->text(), QStringLiteral("退出系统"));
    EXPECT_TRUE(ToolbarButton(f, 5)->isSeparator());
    EXPECT_EQ(ToolbarItem(f, 16)->text(), QStringLiteral("组选1234分析"));
    EXPECT_EQ(f->tray()->icon()->toolTip(), QStringLiteral("Sifmora"));
    EXPECT_EQ(Child<QLabel>(f, "Label13dd")->text(), QStringLiteral("Sifmora 5.80"));
}

TEST_F(MainWindowTest, AnalysisButtonsShowTheirTables) {
    dir.write("HAO.TXT", Draws(300));
    MainWindow* f = create();
    Child<QPushButton>(f, "Command1")->click();
    EXPECT_TRUE(Child<QLabel>(f, "Label1")->text().startsWith(QStringLiteral("(质合分析"))) << Child<QLabel>(f, "Label1")->text().toStdString();
    EXPECT_FALSE(Child<QPlainTextEdit>(f, "Text1")->toPlainText().contains(QLatin1Char('\r')));
    f->run(Command::GroupRoute);
    const QString groupRoute = Child<QLabel>(f, "Label1")->text();
    Child<QPushButton>(f, "Command2")->click();
    Child<QPushButton>(f, "Command3")->click();  // repeats the last 0/1/2-route choice
    EXPECT_EQ(Child<QLabel>(f, "Label1")->text(), groupRoute);
}

// Legibility problems apart from the title bar, whose pictures, captions and frame buttons are
// drawn in layers over one another.
static QStringList Problems(MainWindow* f) {
    static const QStringList titleBar{QStringLiteral("Bar"),   QStringLiteral("RightBar"),  QStringLiteral("Image17"),
                                      QStringLiteral("Image18"), QStringLiteral("Label13dd"), QStringLiteral("Label3"),
                                      QStringLiteral("Label2"),  QStringLiteral("winmin"),    QStringLiteral("winexit")};
    QStringList problems;
    for (const QString& p : testsupport::LegibilityProblems(f)) {
        const QStringList pair = p.split(QStringLiteral(" 与 "));
        const bool layered = p.endsWith(QStringLiteral(" 重叠")) && pair.size() == 2 && titleBar.contains(pair[0]) &&
                             titleBar.contains(pair[1].chopped(3));
        if (!layered) problems << p;
    }
    return problems;
}

// At the window's size every column of the history list (and its header) and of each of the
// thirteen tables is in sight without scrolling sideways, in each installed table font.
TEST(MainWindowTables, EveryColumnOfTheTablesIsInSight) {
    testsupport::ProgramDir dir;
    EnvVar home("SIFMORA_HOME_URL", QString());
    if (!dir.copyShared("data/HAO.TXT")) dir.write("HAO.TXT", Draws(3000));
    common::AppState app;
    testsupport::HookReset<&ui::SetPreferredTableFamily> familyReset;
    QStringList families;
    for (const QString& family : {QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("WenQuanYi Micro Hei Mono")})
        if (QFontDatabase::hasFamily(family)) families << family;
    if (families.isEmpty()) families << QString();
    for (const QString& family : families) {
        SCOPED_TRACE(family.toStdString());
        ui::SetPreferredTableFamily(family);
        app.reset();
        auto form = std::make_unique<MainWindow>(app);
        MainWindow* f = form.get();
        f->quitOnClose = false;
        f->start();
        f->show();
        f->showListAfterReload();
        f->tick();
        ASSERT_TRUE(Child<QLabel>(f, "Label1")->text().startsWith(QLatin1Char('.')));
        // Every column in sight; or, where the font cannot hold the table at its smallest
        // legible size, that size (never smaller) and the table scrolling sideways under its
        // header.
        auto inSight = [f] {
            const int pixels = QFontInfo(Child<QPlainTextEdit>(f, "Text1")->font()).pixelSize();
            EXPECT_GE(pixels, 10);
            QStringList problems = Problems(f);
            QScrollBar* sideways = Child<QPlainTextEdit>(f, "Text1")->horizontalScrollBar();
            if (sideways->maximum() > 0) {
                EXPECT_EQ(pixels, 10);
                problems.removeIf([](const QString& p) { return p.startsWith(QStringLiteral("Text1: 第")); });
                const int headerAt = Child<QLabel>(f, "Label4")->x();
                sideways->setValue(sideways->maximum());
                EXPECT_EQ(Child<QLabel>(f, "Label4")->x(), headerAt - sideways->maximum());
                sideways->setValue(0);
            }
            EXPECT_EQ(problems, QStringList());
            return sideways->maximum() == 0;
        };
        // The header stands whole inside its strip when the table fits.
        if (inSight()) {
            EXPECT_LE(Child<QLabel>(f, "Label4")->geometry().right(), Child<QWidget>(f, "Picture6")->width());
        }
        EXPECT_GE(Child<QLabel>(f, "Label4")->width(), Child<QLabel>(f, "Label4")->sizeHint().width());

        const std::vector<std::pair<const char*, std::function<void()>>> tables{
            {"Command1", [f] { f->run(Command::PrimeComposite); }},   {"Command2", [f] { f->run(Command::Pair); }},
            {"Command4", [f] { f->run(Command::SumTail); }},   {"Command5", [f] { f->run(Command::Span); }},
            {"Command7", [f] { f->run(Command::SingleDigit); }},   {"Command10", [f] { f->run(Command::Sum); }},
            {"Command12", [f] { f->run(Command::OddEven); }}, {"Command13", [f] { f->run(Command::BigMiddleSmall); }},
            {"Command14", [f] { f->run(Command::BigSmall); }}, {"p1d", [f] { f->run(Command::StraightRoute); }},
            {"p1z", [f] { f->run(Command::GroupRoute); }},             {"p2d", [f] { f->run(Command::Straight1234); }},
            {"p2z", [f] { f->run(Command::Group1234); }}};
        for (const auto& [name, show] : tables) {
            SCOPED_TRACE(name);
            show();
            SCOPED_TRACE(Child<QLabel>(f, "Label1")->text().toStdString());
            inSight();
        }
        form.reset();
    }
}

TEST_F(MainWindowTest, BoardOpensWidensAndCloses) {
    testsupport::HttpServer server;
    server.serve("/3d/3dindex.htm", "<html><body><p>公告</p></body></html>", 200, "text/html; charset=utf-8");
    EnvVar h("SIFMORA_HOME_URL", server.baseUrl());
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    auto complete = [f] { return WaitFor(Child<ui::WebView>(f, "WebBrowser1"), &ui::WebView::documentComplete); };
    QTimer::singleShot(0, f, [f] { f->openBoard(); });
    ASSERT_TRUE(complete());
    EXPECT_TRUE(f->boardOpen());
    EXPECT_EQ(f->width(), 11100 / 15);
    EXPECT_EQ(Child<QLabel>(f, "Bar")->width(), 8935 / 15);
    EXPECT_EQ(Child<QLabel>(f, "winexit")->x(), 10680 / 15);
    EXPECT_TRUE(Child<ui::WebView>(f, "WebBrowser1")->toPlainText().contains(QStringLiteral("公告")));
    EXPECT_TRUE(Child<ui::WebView>(f, "WebBrowser1")->silent());

    SendMouse(Child<QLabel>(f, "Bar"), QEvent::MouseButtonDblClick);  // close: narrow at once
    EXPECT_FALSE(f->boardOpen());
    EXPECT_EQ(f->width(), 8070 / 15);
    EXPECT_EQ(Child<QLabel>(f, "winmin")->x(), 7300 / 15);
    ASSERT_TRUE(complete());  // about:blank, completed from the event loop
    EXPECT_TRUE(Child<ui::WebView>(f, "WebBrowser1")->toPlainText().isEmpty());
    EXPECT_EQ(f->width(), 8070 / 15);

    f->findChild<QAction*>(QStringLiteral("openguang"))->trigger();  // open again: wide once loaded
    EXPECT_TRUE(f->boardOpen());
    EXPECT_EQ(f->width(), 8070 / 15);
    ASSERT_TRUE(complete());
    EXPECT_EQ(f->width(), 11100 / 15);
    const int before = server.requestCount("/3d/3dindex.htm");
    QTimer::singleShot(0, f, [f] { f->run(Command::RefreshBoard); });
    ASSERT_TRUE(complete());
    EXPECT_EQ(server.requestCount("/3d/3dindex.htm"), before + 1);
}

// The title bars move the window only once the pointer has moved the drag distance: a press
// alone leaves the mouse to this window, so that a double click on Bar reaches it under a window
// manager too and opens or closes the board, once per double click.
TEST_F(MainWindowTest, TitleBarsMoveOnDragAndBarDoubleClickTogglesTheBoard) {
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    f->show();
    int moves = 0;
    f->systemMove = [&](QWindow* window) {
        EXPECT_EQ(window, f->windowHandle());
        ++moves;
    };
    const QPoint at(10, 10);
    auto send = [](QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons held) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    };
    QLabel* bar = Child<QLabel>(f, "Bar");
    for (int round = 0; round < 2; ++round) {
        const bool before = f->boardOpen();
        send(bar, QEvent::MouseButtonPress, at, Qt::LeftButton);
        send(bar, QEvent::MouseButtonRelease, at, Qt::NoButton);
        EXPECT_EQ(f->boardOpen(), before);  // a single click does nothing
        send(bar, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        send(bar, QEvent::MouseButtonRelease, at, Qt::NoButton);
        EXPECT_NE(f->boardOpen(), before) << round;
    }
    EXPECT_EQ(moves, 0);

    const int distance = QApplication::startDragDistance();
    for (const char* name : {"Bar", "RightBar", "Label13dd"}) {
        SCOPED_TRACE(name);
        QLabel* w = Child<QLabel>(f, name);
        moves = 0;
        send(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
        send(w, QEvent::MouseMove, at + QPoint(distance - 1, 0), Qt::LeftButton);
        EXPECT_EQ(moves, 0);
        send(w, QEvent::MouseMove, at + QPoint(distance, 0), Qt::LeftButton);
        EXPECT_EQ(moves, 1);
        send(w, QEvent::MouseMove, at + QPoint(3 * distance, 0), Qt::LeftButton);
        send(w, QEvent::MouseButtonRelease, at + QPoint(3 * distance, 0), Qt::NoButton);
        send(w, QEvent::MouseMove, at + QPoint(6 * distance, 0), Qt::NoButton);  // no button held
        EXPECT_EQ(moves, 1);
    }
}

// Shows the window, opens its board and gives its view once the page is shown and laid out;
// null when no page came.
ui::WebView* OpenBoard(MainWindow* f) {
    f->show();
    QTimer::singleShot(0, f, [f] { f->openBoard(); });
    auto* view = Child<ui::WebView>(f, "WebBrowser1");
    if (!WaitFor(view, &ui::WebView::documentComplete, 60000)) return nullptr;
    view->document()->documentLayout()->documentSize();
    return view;
}

// The board page is the server's: a page naming a device, a kernel file or a FIFO as its
// pictures is shown without them, and the window is not held.
TEST_F(MainWindowTest, BoardPageNamingDevicesShowsWithoutThem) {
    QTemporaryDir local;
    testsupport::Fifo fifo(local.filePath(QStringLiteral("pipe.gif")));
    ASSERT_TRUE(fifo.isMade());
    const QStringList named = {QStringLiteral("file:///dev/zero"), QStringLiteral("file:///proc/self/pagemap"),
                               QUrl::fromLocalFile(local.filePath(QStringLiteral("pipe.gif"))).toString()};
    QString page = QStringLiteral("<html><body><p>公告</p>");
    for (const QString& n : named) page += QStringLiteral("<img src=\"%1\">").arg(n);
    testsupport::HttpServer server;
    server.serve("/3d/3dindex.htm", (page + QStringLiteral("</body></html>")).toUtf8(), 200, "text/html; charset=utf-8");
    EnvVar h("SIFMORA_HOME_URL", server.baseUrl());
    dir.write("HAO.TXT", Draws(5));
    ui::WebView* view = OpenBoard(create());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("公告")));
    for (const QString& n : named)
        EXPECT_TRUE(ui::IsLeftOut(view->document()->resource(QTextDocument::ImageResource, QUrl(n)))) << n.toStdString();
    EXPECT_FALSE(fifo.readerWaited());
}

// A board page of 60,000 pictures is shown with a bounded part of them laid out, and the window
// goes on answering: a timer of the window thread ticks once the page is in.
TEST_F(MainWindowTest, BoardPageOfManyPicturesLaysOutABoundedPart) {
    QString page = QStringLiteral("<html><body><p>公告</p>");
    for (int i = 0; i < 60000; ++i) page += QStringLiteral("<img src=\"dot%1.png\">").arg(i);
    testsupport::HttpServer server;
    server.serve("/3d/3dindex.htm", (page + QStringLiteral("</body></html>")).toUtf8(), 200, "text/html; charset=utf-8");
    EnvVar h("SIFMORA_HOME_URL", server.baseUrl());
    dir.write("HAO.TXT", Draws(5));
    ui::WebView* view = OpenBoard(create());
    ASSERT_NE(view, nullptr);
    int images = 0;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) images += it.fragment().length();
    EXPECT_EQ(images, ui::kMaxPageImages);
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(20);
    const QDeadlineTimer guard(60000);  // a guard against hanging, not a measurement
    while (ticks < 3 && !guard.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("公告")));
}

TEST_F(MainWindowTest, UnreachableBoardCountsAsOpenWithoutMessage) {
    EnvVar h("SIFMORA_HOME_URL", QStringLiteral("http://127.0.0.1:1"));
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    SendMouse(Child<QLabel>(f, "Label5"), QEvent::MouseButtonRelease);  // a reload before any page does nothing
    QTimer::singleShot(0, f, [f] { f->openBoard(); });
    ASSERT_TRUE(WaitFor(Child<ui::WebView>(f, "WebBrowser1"), &ui::WebView::documentComplete));
    EXPECT_TRUE(f->boardOpen());
    EXPECT_EQ(f->width(), 11100 / 15);
}

// No home address set: the board comes from the home folder that ships with the program; a
// folder without the page shows the failure page like an unreachable server.
TEST_F(MainWindowTest, BoardFromTheShippedHomeFolder) {
    EnvVar h("SIFMORA_HOME_URL", QString());
    QFile page(QStringLiteral(SIFMORA_SOURCE_DIR "/home/3d/3dindex.htm"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    dir.write("home/3d/3dindex.htm", page.readAll());
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    QTimer::singleShot(0, f, [f] { f->openBoard(); });
    ASSERT_TRUE(WaitFor(Child<ui::WebView>(f, "WebBrowser1"), &ui::WebView::documentComplete));
    EXPECT_TRUE(Child<ui::WebView>(f, "WebBrowser1")->toPlainText().contains(QStringLiteral("Sifmora 公告"))) << Child<ui::WebView>(f, "WebBrowser1")->toPlainText().toStdString();
    EXPECT_EQ(f->width(), 11100 / 15);

    ASSERT_TRUE(QFile::remove(dir.file("home/3d/3dindex.htm")));
    QTimer::singleShot(0, f, [f] { f->run(Command::RefreshBoard); });
    ASSERT_TRUE(WaitFor(Child<ui::WebView>(f, "WebBrowser1"), &ui::WebView::navigateError));
    EXPECT_TRUE(Child<ui::WebView>(f, "WebBrowser1")->toPlainText().contains(QStringLiteral("网络连接失败")));

    // A FIFO in the page's place: the window is not held, the page says it is no file.
    testsupport::Fifo fifo(dir.file("home/3d/3dindex.htm"));
    ASSERT_TRUE(fifo.isMade());
    QTimer::singleShot(0, f, [f] { f->run(Command::RefreshBoard); });
    ASSERT_TRUE(WaitFor(Child<ui::WebView>(f, "WebBrowser1"), &ui::WebView::navigateError));
    EXPECT_FALSE(fifo.readerWaited());
    EXPECT_TRUE(Child<ui::WebView>(f, "WebBrowser1")->toPlainText().contains(QStringLiteral("这不是文件"))) << Child<ui::WebView>(f, "WebBrowser1")->toPlainText().toStdString();
}

TEST_F(MainWindowTest, CloseRequestWhileHiddenStillEndsTheProgram) {
    // The updater's request can come while the workbench is open and this window is hidden.
    dir.write("HAO.TXT", Draws(5));
    MainWindow* f = create();
    f->show();
    f->openers().workbench = [] {};
    f->run(Command::Workbench);
    ASSERT_FALSE(f->isVisible());
    EXPECT_TRUE(f->close());
    EXPECT_TRUE(app.quitting());
    EXPECT_FALSE(f->tray()->isInstalled());
    // Closing the workbench afterwards no longer brings this window back.
    f->workbenchClosed();
    EXPECT_FALSE(f->isVisible());
}

TEST_F(MainWindowTest, UnreadableDrawFileIsReportedNotShownAsEmpty) {
    // A draw file that exists but cannot be read (here: a folder of that name).
    dir.write("HAO.TXT", Draws(5));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("HAOP3.TXT")));
    ui::MessageRecorder box;
    MainWindow* f = create();
    EXPECT_TRUE(box.messages.isEmpty());
    f->switchLottery(true);
    ASSERT_EQ(box.messages.size(), 1);
    EXPECT_TRUE(box.messages[0].text.contains(QStringLiteral("HAOP3.TXT"))) << box.messages[0].text.toStdString();
    EXPECT_EQ(app.history().count(), 0);
    // The reload at creation reports it as well.
    form.reset();
    app.reset();
    create();
    EXPECT_EQ(box.messages.size(), 2);
}

}  // namespace
