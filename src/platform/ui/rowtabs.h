#pragma once
// A tab control whose tabs stand in rows of a set count, each tab taking its share of the
// row's width (one per row: a single tab spans the control). Qt's own bar keeps every tab on
// one line at its caption's width, so this bar lays out and paints the tabs itself and keeps
// the rest of QTabWidget (pages, visibility, selection, keys).
#include <QList>
#include <QRect>
#include <QTabBar>
#include <QTabWidget>

namespace ui {

// Places of `shown` tabs in rows of `perRow` (at least 1) within `width`, row after row from
// the top, each `rowHeight` high and width / perRow wide (the last tab of a full row takes the
// pixels the division leaves over).
QList<QRect> TabRowRects(int shown, int perRow, int width, int rowHeight);

class RowTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit RowTabBar(QWidget* parent = nullptr);

    int tabsPerRow() const { return perRow_; }
    void setTabsPerRow(int perRow);
    // Where tab `index` stands in the bar; empty for a hidden tab.
    QRect rowTabRect(int index) const;
    int rowCount() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabLayoutChange() override;

private:
    QList<int> shownTabs() const;
    int rowHeight() const;
    int rowWidth() const;
    int indexAt(const QPoint& pos) const;

    int perRow_ = 1;
};

class RowTabWidget : public QTabWidget {
    Q_OBJECT
public:
    explicit RowTabWidget(QWidget* parent = nullptr);

    RowTabBar* rowBar() const { return bar_; }
    int tabsPerRow() const { return bar_->tabsPerRow(); }
    // Lays the shown tabs out again in rows of `perRow`; the pages give the bar its new height.
    void setTabsPerRow(int perRow);

private:
    RowTabBar* bar_;
};

}  // namespace ui
