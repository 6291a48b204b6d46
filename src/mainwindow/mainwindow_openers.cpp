// The main window: opening the other windows, the updater and the help; the toolbar.
#include "mainwindow/mainwindow.h"

#include "common/appstate.h"
#include "common/paths.h"
#include "platform/process.h"
#include "platform/ui/pagewindow.h"

#include <QLabel>
#include <QUrl>

void MainWindow::Command9_Click() {
    common::AppState& app = common::App();
    if (app.busyFlag || !openers().workbench) return;
    app.trayToggleEnabled = false;
    hide();
    openers().workbench();
}

void MainWindow::WorkbenchClosed() {
    if (closing_) return;
    show();
    common::App().trayToggleEnabled = true;
}

void MainWindow::Command15_Click() {
    common::AppState& app = common::App();
    if (app.busyFlag) return;
    Label1->setText(QStringLiteral("(数据输入)软件支持在线更新"));
    app.trayToggleEnabled = false;
    if (openers().drawEntry) openers().drawEntry(this);
    app.drawListDirty = true;
    app.trayToggleEnabled = true;
    Form_Load();
}

void MainWindow::syssetup_Click() {
    common::AppState& app = common::App();
    app.trayToggleEnabled = false;
    app.drawListDirty = true;
    if (openers().settings) openers().settings(this);
    app.trayToggleEnabled = true;
}

void MainWindow::zaixsj_Click() { platform::StartUpdater(); }  // a missing updater is ignored

void MainWindow::helpme_Click() {
    ui::ShowPage(common::HelpPageUrl(), QStringLiteral("Sifmora 帮助"), this);
}

void MainWindow::Toolbar2_ButtonClick(int index) {
    switch (index) {
    case 3: Command6_Click(); break;
    case 4: syssetup_Click(); break;
    case 6: Command15_Click(); break;
    case 7: Command9_Click(); break;
    case 9:
        ui::ShowHomePage(QStringLiteral("/3d/gd.htm"), QStringLiteral("使用教程"), this);
        break;
    case 10: close(); break;
    default: break;
    }
}

void MainWindow::Toolbar2_ButtonMenuClick(int menuIndex) {
    switch (menuIndex) {
    case 1: fc3d_Click(); break;
    case 2: p3_Click(); break;
    case 4: Command4_Click(); break;
    case 5: Command5_Click(); break;
    case 6: Command12_Click(); break;
    case 7: Command1_Click(); break;
    case 8: Command2_Click(); break;
    case 9: Command10_Click(); break;
    case 10: Command7_Click(); break;
    case 11: Command13_Click(); break;
    case 12: Command14_Click(); break;
    case 13: p1d_Click(); break;
    case 14: p1z_Click(); break;
    case 15: p2d_Click(); break;
    case 16: p2z_Click(); break;
    default: break;
    }
}
