// The main window: the announcement board (the wide layout with the web view).
#include "mainwindow/mainwindow.h"

#include "common/appstate.h"
#include "mainwindow/mainwindowlayout.h"
#include "platform/ui/webview.h"

#include <QLabel>
#include <QTimer>

using namespace mainwindow::layout;

namespace {

struct BoardLayout {
    int width, bar, image18, rightBar, minimizeButton, winexit;
};
constexpr BoardLayout kNarrow{8070, 4935, 7680, 4680, 7300, 7620};
constexpr BoardLayout kWide{11100, 8935, 10800, 7740, 10365, 10680};

}  // namespace

void MainWindow::applyBoardLayout(bool wide) {
    const BoardLayout& l = wide ? kWide : kNarrow;
    resize(Px(l.width), height() > 0 ? height() : Px(kHeight));
    Image18->setGeometry(Px(l.image18), 0, Px(l.width) - Px(l.image18), 32);
    RightBar->setGeometry(Px(l.rightBar), 0, Px(l.width) - Px(l.rightBar), 32);
    minimizeButton->setGeometry(Px(l.minimizeButton), 6, 20, 20);
    winexit->setGeometry(Px(l.winexit), 6, 20, 20);
    Bar->setGeometry(0, 0, Px(l.bar), 32);
    Label2->move(Image18->x() - Px(2350), Label2->y());
}

void MainWindow::showNarrowLayout() { applyBoardLayout(false); }

void MainWindow::Timer2_Timer() {
    Timer2->stop();
    boardOpen_ = true;
    WebBrowser1->Navigate(BoardUrl());
}

void MainWindow::openguang_Click() {
    if (boardOpen_) {
        showNarrowLayout();
        WebBrowser1->Navigate(QStringLiteral("about:blank"));
    } else {
        WebBrowser1->Navigate(BoardUrl());
    }
    boardOpen_ = !boardOpen_;
}

void MainWindow::Bar_DblClick() { openguang_Click(); }
void MainWindow::reflush_Click() { WebBrowser1->Refresh(); }
void MainWindow::Label5_Click() { WebBrowser1->Refresh2(); }

void MainWindow::WebBrowser1_DocumentComplete() {
    if (isMinimized() || isMaximized()) showNormal();
    if (boardOpen_) applyBoardLayout(true);
}

void MainWindow::WebBrowser1_NavigateError() {
    if (isMinimized() || isMaximized()) showNormal();
    boardOpen_ = true;
}
