// The tab control with rows of a set count: where the tabs stand, what a click selects and
// where the pages begin.
#include "platform/ui/rowtabs.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

TEST(TabRows, RectsShareTheRowWidth) {
    struct Case {
        int shown, perRow, width;
        QList<QRect> rects;
    };
    const Case cases[] = {
        // One per row: every tab spans the control, one row under the other.
        {2, 1, 300, {QRect(0, 0, 300, 20), QRect(0, 20, 300, 20)}},
        // Two per row: halves; an odd last tab keeps the share, not the whole row.
        {3, 2, 300, {QRect(0, 0, 150, 20), QRect(150, 0, 150, 20), QRect(0, 20, 150, 20)}},
        // The pixels a division leaves go to the last tab of a full row.
        {3, 3, 100, {QRect(0, 0, 33, 20), QRect(33, 0, 33, 20), QRect(66, 0, 34, 20)}},
        // A count below 1 is one per row.
        {1, 0, 80, {QRect(0, 0, 80, 20)}},
        {0, 2, 80, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::TabRowRects(c.shown, c.perRow, c.width, 20), c.rects) << c.shown << " " << c.perRow;
}

class RowTabsTest : public ::testing::Test {
protected:
    void SetUp() override {
        tabs.setGeometry(0, 0, 600, 300);
        for (const char* caption : {"模糊统计", "公式统计", "复式统计", "投资计划", "号码历史开出次数统计"})
            tabs.addTab(new QWidget, QString::fromUtf8(caption));
        tabs.show();
        QApplication::processEvents();
    }
    void press(QPoint at) {
        QMouseEvent e(QEvent::MouseButtonPress, at, tabs.rowBar()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(tabs.rowBar(), &e);
    }
    int rowHeight() const { return tabs.rowBar()->rowTabRect(tabs.currentIndex()).height(); }

    ui::RowTabWidget tabs;
};

TEST_F(RowTabsTest, RowsOfTheCountAndPagesBelowThem) {
    tabs.setTabsPerRow(2);
    const int h = rowHeight();
    ASSERT_GT(h, 0);
    EXPECT_EQ(tabs.rowBar()->rowCount(), 3);
    EXPECT_EQ(tabs.rowBar()->height(), 3 * h);
    EXPECT_EQ(tabs.rowBar()->rowTabRect(4), QRect(0, 2 * h, tabs.width() / 2, h));
    EXPECT_GE(tabs.widget(0)->mapTo(&tabs, QPoint(0, 0)).y(), 3 * h);

    // Hidden tabs leave no gap: the two shown share one row side by side.
    for (int t : {0, 1, 2}) tabs.setTabVisible(t, false);
    EXPECT_EQ(tabs.rowBar()->rowCount(), 1);
    EXPECT_EQ(tabs.rowBar()->height(), h);
    EXPECT_EQ(tabs.rowBar()->rowTabRect(3), QRect(0, 0, tabs.width() / 2, h));
    EXPECT_EQ(tabs.rowBar()->rowTabRect(4).left(), tabs.width() / 2);
    EXPECT_TRUE(tabs.rowBar()->rowTabRect(1).isEmpty());
    EXPECT_LT(tabs.widget(3)->mapTo(&tabs, QPoint(0, 0)).y(), 2 * h);

    // One per row and one shown: the tab spans the control.
    tabs.setTabVisible(4, false);
    tabs.setTabsPerRow(1);
    EXPECT_EQ(tabs.rowBar()->rowTabRect(3), QRect(0, 0, tabs.width(), h));
}

TEST_F(RowTabsTest, AClickSelectsTheTabUnderItsRowPlace) {
    tabs.setTabsPerRow(2);
    // The fourth tab stands at the right of the second row, where a one-line bar has the second.
    press(tabs.rowBar()->rowTabRect(3).center());
    EXPECT_EQ(tabs.currentIndex(), 3);
    EXPECT_TRUE(tabs.widget(3)->isVisible());
    press(tabs.rowBar()->rowTabRect(4).center());
    EXPECT_EQ(tabs.currentIndex(), 4);
    // A disabled tab and the bar's empty room beside the last tab select nothing.
    tabs.setTabEnabled(1, false);
    press(tabs.rowBar()->rowTabRect(1).center());
    const QRect last = tabs.rowBar()->rowTabRect(4);
    press(QPoint(last.right() + 5, last.center().y()));
    EXPECT_EQ(tabs.currentIndex(), 4);
}

}  // namespace
