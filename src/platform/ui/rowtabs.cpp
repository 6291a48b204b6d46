#include "platform/ui/rowtabs.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionTab>

#include <algorithm>

namespace ui {

QList<QRect> TabRowRects(int shown, int perRow, int width, int rowHeight) {
    perRow = std::max(1, perRow);
    const int share = width / perRow;
    QList<QRect> rects;
    rects.reserve(shown);
    for (int k = 0; k < shown; ++k) {
        const int column = k % perRow;
        const int tabWidth = column == perRow - 1 ? width - column * share : share;
        rects.append(QRect(column * share, (k / perRow) * rowHeight, tabWidth, rowHeight));
    }
    return rects;
}

RowTabBar::RowTabBar(QWidget* parent) : QTabBar(parent) {
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setExpanding(false);
    setDrawBase(false);
}

void RowTabBar::setTabsPerRow(int perRow) {
    perRow_ = std::max(1, perRow);
    updateGeometry();
    update();
}

QList<int> RowTabBar::shownTabs() const {
    QList<int> shown;
    for (int i = 0; i < count(); ++i)
        if (isTabVisible(i)) shown.append(i);
    return shown;
}

int RowTabBar::rowHeight() const {
    int height = 0;
    for (int i : shownTabs()) height = std::max(height, QTabBar::tabSizeHint(i).height());
    return height > 0 ? height : fontMetrics().height() + 8;
}

int RowTabBar::rowCount() const {
    const auto shown = int(shownTabs().size());
    return std::max(1, (shown + perRow_ - 1) / perRow_);
}

QRect RowTabBar::rowTabRect(int index) const {
    const QList<int> shown = shownTabs();
    const auto k = shown.indexOf(index);
    if (k < 0) return {};
    return TabRowRects(int(shown.size()), perRow_, rowWidth(), rowHeight()).at(k);
}

int RowTabBar::indexAt(const QPoint& pos) const {
    const QList<int> shown = shownTabs();
    const QList<QRect> rects = TabRowRects(int(shown.size()), perRow_, rowWidth(), rowHeight());
    for (qsizetype k = 0; k < rects.size(); ++k)
        if (rects[k].contains(pos)) return shown[k];
    return -1;
}

// As wide as the control that holds it: the rows share that width, not the captions'. Taken
// from the control, so the places hold before the control first lays its bar out.
int RowTabBar::rowWidth() const { return parentWidget() ? parentWidget()->width() : width(); }

QSize RowTabBar::sizeHint() const { return {rowWidth(), rowCount() * rowHeight()}; }

QSize RowTabBar::minimumSizeHint() const { return {0, rowCount() * rowHeight()}; }

void RowTabBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPoint mouse = mapFromGlobal(QCursor::pos());
    for (int i : shownTabs()) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.rect = rowTabRect(i);
        option.position = QStyleOptionTab::Middle;
        if (underMouse() && option.rect.contains(mouse))
            option.state |= QStyle::State_MouseOver;
        else
            option.state &= ~QStyle::State_MouseOver;
        style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
    }
}

void RowTabBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int index = indexAt(event->position().toPoint());
    if (index >= 0 && isTabEnabled(index)) setCurrentIndex(index);
    event->accept();
}

// Qt's own handlers find tabs on its one-line layout; hovering only repaints here.
void RowTabBar::mouseMoveEvent(QMouseEvent* event) {
    update();
    event->accept();
}

bool RowTabBar::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
        update();
        return true;
    default:
        return QTabBar::event(event);
    }
}

void RowTabBar::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void RowTabBar::tabLayoutChange() {
    updateGeometry();
    update();
}

RowTabWidget::RowTabWidget(QWidget* parent) : QTabWidget(parent), bar_(new RowTabBar(this)) { setTabBar(bar_); }

void RowTabWidget::setTabsPerRow(int perRow) {
    bar_->setTabsPerRow(perRow);
    // The tab widget places its bar and pages on a layout request; asked now, not on the next
    // turn of the event loop, so the pages stand right before the window is shown.
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(this, &request);
}

}  // namespace ui
