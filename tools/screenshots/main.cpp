// Opens every window and dialog of the program through its own opener (a button, a menu item
// or the window's Open) and saves what it shows as PNG files, one per window and tab, so that
// clipped, wrapped or overlapping controls can be seen. Run through tools/screenshots.sh.
#include "app/programwindows.h"
#include "history/windows/drawentrywindow.h"
#include "history/windows/settingswindow.h"
#include "common/appstate.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/trayicon.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/pagewindow.h"
#include "platform/ui/tablefont.h"
#include "smart/windows/smartsystemwindow.h"
#include "smart/verificationtexts.h"
#include "startup/startupwindow.h"
#include "updater/updaterwindow.h"
#include "workbench/workbenchwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <map>

namespace {

QString g_out;
QSet<QString> g_taken;
// What to press inside a dialog while it is shown (nested dialogs are shot the same way).
std::map<QString, std::function<void(QDialog*)>> g_inside;

void Settle() {
    for (int i = 0; i < 8; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(15);
    }
}

QString FreeName(const QString& base) {
    QString name = base;
    for (int n = 2; g_taken.contains(name); ++n) name = base + QStringLiteral("_%1").arg(n);
    g_taken.insert(name);
    return name;
}

// A window with its frame and title bar from the screen when a window manager draws them,
// else the window's own drawing.
QPixmap Picture(QWidget* w) {
    if (!w->isWindow() || qEnvironmentVariableIsEmpty("SIFMORA_SCREENSHOT_WM") || !w->screen()) return w->grab();
    const QRect frame = w->frameGeometry();
    return w->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}
void Save(QWidget* w, const QString& name) {
    const QString file = QDir(g_out).filePath(FreeName(name) + QStringLiteral(".png"));
    if (!Picture(w).save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    else std::printf("%s\n", qPrintable(file));
}

// The window as it stands, then each further visible tab of its tab controls.
void Shoot(QWidget* w, const QString& name) {
    w->show();
    w->raise();
    Settle();
    Save(w, name);
    // A window opened again (on another tab) shows its other tabs once only.
    static QSet<QString> tabsShot;
    if (tabsShot.contains(name)) return;
    tabsShot.insert(name);
    for (QTabWidget* tabs : w->findChildren<QTabWidget*>()) {
        if (!tabs->isVisible()) continue;
        const int current = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (i == current || !tabs->isTabVisible(i)) continue;
            tabs->setCurrentIndex(i);
            Settle();
            Save(w, name + QStringLiteral("_") + tabs->objectName() + QStringLiteral("_") + tabs->tabText(i));
        }
        tabs->setCurrentIndex(current);
    }
}

QWidget* TopLevel(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

void Press(QWidget* parent, const char* name) {
    if (auto* b = parent->findChild<QPushButton*>(QString::fromLatin1(name))) {
        b->setEnabled(true);
        b->click();
        Settle();
    } else {
        std::fprintf(stderr, "no button %s in %s\n", name, qPrintable(parent->objectName()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sifmora"));
    QApplication::setWindowIcon(mainwindow::AppIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>   (SIFMORA_DIR: a program folder with draw files)\n", argv[0]);
        return 2;
    }
    // Another user-interface font, to see the windows as a machine with only that font shows them.
    const QString family = qEnvironmentVariable("SIFMORA_SCREENSHOT_FONT");
    if (!family.isEmpty()) QApplication::setFont(QFont(family, QApplication::font().pointSize()));
    // Tables in the same family's fixed-pitch face, where it has one.
    const QString mono = family + QStringLiteral(" Mono");
    if (!family.isEmpty() && QFontDatabase::hasFamily(mono)) ui::SetPreferredTableFamily(mono);
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);

    // Message boxes answer "no" and are not shown; every modal dialog is shot instead of run.
    ui::MessageRecorder messages(ui::Answer::No);
    ui::SetInputHandler([](const QString&, const QString&, QString*) { return false; });
    ui::SetModalHandler([](QDialog* d) {
        Shoot(d, d->objectName());
        const auto inside = g_inside.find(d->objectName());
        if (inside != g_inside.end()) inside->second(d);
        d->hide();
        return int(QDialog::Rejected);
    });
    g_inside[QStringLiteral("Form15")] = [](QDialog* d) {
        // The "?" picture's tip over the guide, to see it whole; a second click hides it.
        if (auto* mark = d->findChild<QLabel*>(QStringLiteral("Image1"))) {
            emit ui::ClickSource::of(mark)->released();
            Settle();
            Save(d, QStringLiteral("Form15_tip"));
            emit ui::ClickSource::of(mark)->released();
        }
        Press(d, "Command3");  // 历史成绩验证
        Press(d, "Command5");  // the older smart selection
    };
    // The verification list with rows as a run leaves them, to see every column whole.
    g_inside[QStringLiteral("Form18")] = [](QDialog* d) {
        auto* list = d->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
        if (!list) return;
        const QStringList numbers{QStringLiteral("222"), QStringLiteral("151"), QStringLiteral("721")};
        for (int r = 0; r < 14; ++r) {
            auto* row = new QTreeWidgetItem(list);
            const QString number = numbers[r % 3];
            row->setText(0, QString::number(2026254 + r));
            row->setText(1, number);
            for (int k = 0; k < 4; ++k) row->setText(2 + k, smart::VerifyCell(QStringLiteral("0123").left(1 + (r + k) % 3), (r + k) % 2));
            row->setText(6, smart::VerifyRemark(number));
        }
        list->scrollToItem(list->topLevelItem(list->topLevelItemCount() - 1));
        d->findChild<QLabel*>(QStringLiteral("Label1"))->setText(smart::VerifyProgress(14, 20));
        Shoot(d, QStringLiteral("Form18_rows"));
    };
    g_inside[QStringLiteral("F15old")] = [](QDialog* d) { Press(d, "Command3"); };  // 验证…: its table
    g_inside[QStringLiteral("Form4")] = [](QDialog* d) {  // a click on the folder: its chooser
        emit ui::ClickSource::of(d->findChild<QLabel*>(QStringLiteral("Label3")))->released();
    };

    common::AppState appState;  // the run's one state, as the program's main owns it
    app::ProgramWindows windows(appState);

    {
        StartupWindow start;
        Shoot(&start, QStringLiteral("Form22"));
        start.hide();
    }
    {
        updater::Timings idle;
        idle.startDelayMs = 3600 * 1000;  // the picture only: the upgrade never starts
        updater::UpdaterWindow updater(idle);
        updater.setNotifier([](QWidget*, const QString&) {});
        Shoot(&updater, QStringLiteral("UpdaterWindow"));
        updater.hide();
    }

    MainWindow* main = windows.showMainWindow();
    main->quitOnClose = false;
    Settle();
    main->showListAfterReload();
    main->tick();
    Shoot(main, QStringLiteral("Form1_history"));
    // Every analysis table: the eleven buttons, then the group forms of the two drop-downs.
    for (const char* button : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command7", "Command8",
                               "Command10", "Command12", "Command13", "Command14"}) {
        Press(main, button);
        main->tick();
        Shoot(main, QStringLiteral("Form1_") + QLatin1String(button));
    }
    main->run(mainwindow::Command::GroupRoute);
    Shoot(main, QStringLiteral("Form1_p1z"));
    main->run(mainwindow::Command::Group1234);
    Shoot(main, QStringLiteral("Form1_p2z"));
    // The help in the program's own page window.
    main->run(mainwindow::Command::Help);
    Settle();
    if (auto* page = main->findChild<ui::PageWindow*>(QStringLiteral("PageWindow"))) {
        Shoot(page, QStringLiteral("PageWindow_help"));
        page->hide();
    }
    Press(main, "Command6");
    Press(main, "Command15");  // 数据输入
    if (auto* settings = main->findChild<QAction*>(QStringLiteral("syssetup"))) settings->trigger();
    Settle();

    Press(main, "Command9");  // 过滤缩水: the workbench, and the smart system at its first opening
    WorkbenchWindow* bench = windows.workbench();
    if (!bench) {
        std::fprintf(stderr, "the workbench did not open\n");
        return 1;
    }
    Shoot(bench, QStringLiteral("Form2"));
    Press(bench, "Command1");  // a base set, so that every filter opener is enabled
    for (int n : {12, 13, 14}) bench->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n))->setText(QStringLiteral("0,1,2"));
    for (const char* opener : {"Command18", "Command19", "Command26", "Command32", "Command27", "Command41", "Command46",
                               "Command50", "Command28", "Command15", "Command53", "Command39", "Command56", "Command60",
                               "Command61", "Command59", "Command22", "Command47", "Command64", "Command45", "Command25",
                               "Command16", "Command68", "Command12", "Command69",
                               "Command9",    // 二码处理's 设置: the pair picker
                               "Command36"})  // the omission picker, in a frame the design keeps hidden
        Press(bench, opener);
    Press(bench, "Command54");  // 集合运算, modeless
    if (QWidget* sets = TopLevel(QStringLiteral("Form17"))) {
        Shoot(sets, QStringLiteral("Form17"));
        sets->hide();
    }
    Settle();
    main->close();
    return 0;
}
