#include "mainwindow/boardframe.h"

#include "common/paths.h"
#include "mainwindow/mainwindowlayout.h"
#include "platform/ui/clicksource.h"
#include "platform/ui/controls.h"
#include "platform/ui/webview.h"

#include <QLabel>
#include <QTimer>

namespace mainwindow {

using layout::Px;

BoardFrame::BoardFrame(QWidget* window) : QObject(window) {
    view_ = new ui::WebView(window);
    view_->setObjectName(QStringLiteral("WebBrowser1"));
    view_->setGeometry(Px(layout::kNarrowWidth) + 2, 34, 196, 410);
    refreshLink_ = ui::MakeLabel(window, "Label5", QStringLiteral("刷新公告栏"));
    refreshLink_->setGeometry(Px(layout::kNarrowWidth) + 2, 446, 100, 18);
    refreshLink_->setCursor(Qt::PointingHandCursor);
    openTimer_ = new QTimer(window);
    openTimer_->setObjectName(QStringLiteral("Timer2"));
    openTimer_->setInterval(2000);
    openTimer_->setSingleShot(true);
    connect(openTimer_, &QTimer::timeout, this, &BoardFrame::open);

    // The page's own scripts stay quiet; a load error shows the view's failure page instead.
    connect(view_, &ui::WebView::downloadBegin, this, [this] { view_->setSilent(true); });
    connect(view_, &ui::WebView::downloadComplete, this, [this] { view_->setSilent(true); });
    connect(view_, &ui::WebView::documentComplete, this, [this] {
        emit pageEnded();
        if (open_) emit wideRequested();
    });
    connect(view_, &ui::WebView::navigateError, this, [this] {
        emit pageEnded();
        open_ = true;
    });
    // The link under the board reloads what is shown (nothing before the first page).
    connect(ui::ClickSource::of(refreshLink_), &ui::ClickSource::released, view_, &ui::WebView::Refresh2);
}

QString BoardFrame::PageUrl() { return common::HomeUrl() + QStringLiteral("/3d/3dindex.htm"); }

void BoardFrame::startOpeningLater() { openTimer_->start(); }

void BoardFrame::cancelOpening() { openTimer_->stop(); }

void BoardFrame::open() {
    openTimer_->stop();
    open_ = true;
    view_->Navigate(PageUrl());
}

void BoardFrame::toggle() {
    if (open_) {
        emit narrowRequested();
        view_->Navigate(QStringLiteral("about:blank"));
    } else {
        view_->Navigate(PageUrl());
    }
    open_ = !open_;
}

void BoardFrame::refresh() { view_->Refresh(); }

}  // namespace mainwindow
