// The statistics window offscreen: its load, the openers' tabs, and each tab's buttons.
#include "common/settings.h"
#include "statistics/statisticswindow.h"
#include "statistics/compoundstatstab.h"
#include "statistics/formulastatstab.h"
#include "statistics/numbercountstab.h"

#include "history/drawfile.h"
#include "platform/ui/messagebox.h"
#include "statistics/compoundstats.h"
#include "statistics/statstable.h"
#include "statistics/tablecopy.h"

#include "buttonwalk.h"
#include "statsfixture.h"
#include "hookreset.h"
#include "testsupport.h"
#include "tickwatch.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {


class StatisticsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        statsfixture::SetState(app, {"357", "000", "753", "112", "123", "321", "999", "555"});
        recorder = std::make_unique<ui::MessageRecorder>();
    }
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    common::AppState app;  // outlives the windows it is handed to
    void TearDown() override {
        recorder.reset();
    }
    std::unique_ptr<StatisticsWindow> open(StatisticsWindow::WorkbenchInputs in = {}) { return std::make_unique<StatisticsWindow>(app, std::move(in)); }

    template <class T>
    static T* ctl(StatisticsWindow* f, const char* name) {
        T* c = f->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }

    std::unique_ptr<ui::MessageRecorder> recorder;
};

TEST_F(StatisticsWindowTest, LoadFillsTablesAndDefaults) {
    auto f = open();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("统计分析"));
    EXPECT_EQ(ctl<QComboBox>(f.get(), "Combo1")->currentText(), QStringLiteral("百位"));
    EXPECT_EQ(ctl<QComboBox>(f.get(), "Combo2")->currentText(), QStringLiteral("加"));
    EXPECT_EQ(ctl<QComboBox>(f.get(), "Combo3")->currentText(), QStringLiteral("百位"));
    EXPECT_EQ(ctl<QComboBox>(f.get(), "Combo4")->currentText(), QStringLiteral("请选择条件"));
    const char* planLists[4][3] = {{"Combo5", "20", "100"}, {"Combo6", "20", "1000"}, {"Combo7", "1", "100"},
                                   {"Combo8", "1000", "1000"}};
    for (const auto& l : planLists) {
        auto* c = ctl<QComboBox>(f.get(), l[0]);
        EXPECT_EQ(c->currentText(), QString::fromLatin1(l[1])) << l[0];
        EXPECT_EQ(c->itemText(c->count() - 1), QString::fromLatin1(l[2])) << l[0];
        EXPECT_EQ(c->itemText(0), QStringLiteral("1"));
        EXPECT_FALSE(c->isEditable());
    }
    for (const char* name : {"Combo11", "Combo12", "Combo13"}) {
        auto* c = ctl<QComboBox>(f.get(), name);
        ASSERT_EQ(c->count(), 10);
        EXPECT_EQ(c->itemText(9), QStringLiteral("10"));
        EXPECT_EQ(c->currentText(), QStringLiteral("1"));
    }
    EXPECT_TRUE(ctl<QCheckBox>(f.get(), "Check1")->isChecked());
    EXPECT_EQ(ctl<QLineEdit>(f.get(), "Text1")->text(), QStringLiteral("1000"));
    EXPECT_TRUE(ctl<QLabel>(f.get(), "Label8")->isHidden());

    const QString caption = QStringLiteral("统计2024001到2024008期");
    for (const char* label : {"Label1", "Label2", "Label10"})
        EXPECT_EQ(ctl<QLabel>(f.get(), label)->text(), caption) << label;
    EXPECT_EQ(f->table(1)->rowCount(), 8);
    EXPECT_EQ(f->table(2)->rowCount(), 19);
    EXPECT_EQ(f->table(2)->rowTexts(6), statsfixture::Split("6,2,25.00%,3.0,4,4,2,0.67"));  // 357, 321
    EXPECT_EQ(f->table(3)->rowCount(), 0);
    EXPECT_EQ(f->table(4)->rowCount(), 0);
    ASSERT_EQ(f->table(5)->rowCount(), 1000);
    EXPECT_EQ(f->table(5)->rowTexts(0), statsfixture::Split("000,1"));
    EXPECT_EQ(f->table(5)->rowTexts(999), statsfixture::Split("999,1"));
    EXPECT_EQ(ctl<QComboBox>(f.get(), "Combo9")->currentText(), QStringLiteral("0"));
    EXPECT_EQ(ctl<QComboBox>(f.get(), "Combo10")->currentText(), QStringLiteral("1"));
    EXPECT_EQ(ctl<QComboBox>(f.get(), "Combo10")->count(), 2);

    EXPECT_EQ(f->table(1)->headerData(0, Qt::Horizontal).toString(), QStringLiteral("期号"));
    EXPECT_EQ(f->table(3)->columnCount(), 8);
    EXPECT_EQ(f->table(4)->headerData(6, Qt::Horizontal).toString(), QStringLiteral("收入率"));
    EXPECT_EQ(f->table(5)->headerData(1, Qt::Horizontal).toString(), QStringLiteral("号码历史开出次数"));
}

TEST_F(StatisticsWindowTest, NarrowRangeWithAllDrawsOnlyLimitsTheFuzzyTable) {
    statsfixture::SetState(app, {"357", "000", "753", "112", "123", "321", "999", "555"}, true, 5, 6);
    auto f = open();
    ASSERT_EQ(f->table(1)->rowCount(), 2);
    EXPECT_EQ(f->table(1)->text(0, 0), QStringLiteral("2024006"));
    EXPECT_EQ(ctl<QLabel>(f.get(), "Label1")->text(), QStringLiteral("统计2024001到2024008期"));
    common::SaveUseAllDraws(false);
    auto g = open();
    EXPECT_EQ(ctl<QLabel>(g.get(), "Label10")->text(), QStringLiteral("统计2024006到2024007期"));
    EXPECT_EQ(g->table(5)->text(321, 1), QStringLiteral("1"));
    EXPECT_EQ(g->table(5)->text(357, 1), QStringLiteral("0"));
}

TEST_F(StatisticsWindowTest, EmptyHistoryLoadsWithoutCaptions) {
    statsfixture::SetState(app, {});
    auto f = open();
    EXPECT_EQ(f->table(1)->rowCount(), 0);
    EXPECT_EQ(ctl<QLabel>(f.get(), "Label1")->text(), QString());
    EXPECT_EQ(f->table(2)->rowTexts(0), statsfixture::Split("0,0,0.00%,0.0,0,0,0,0.00"));
    EXPECT_EQ(ctl<QComboBox>(f.get(), "Combo10")->count(), 1);
}

TEST_F(StatisticsWindowTest, OpenersShowOnlyTheirTabs) {
    struct Case {
        StatisticsWindow::Opener opener;
        QList<int> shown;
    };
    const Case cases[] = {{StatisticsWindow::Opener::FuzzyFilter, {0}},
                          {StatisticsWindow::Opener::FormulaFilter, {1}},
                          {StatisticsWindow::Opener::Compound, {2}},
                          {StatisticsWindow::Opener::ProfitPlan, {3, 4}}};
    for (const Case& c : cases) {
        bool shown = false;
        ui::SetModalHandler([&](QDialog* d) {
            auto* f = qobject_cast<StatisticsWindow*>(d);
            EXPECT_NE(f, nullptr);
            for (int t = 0; t < 5; ++t)
                EXPECT_EQ(f->tabs()->isTabVisible(t), c.shown.contains(t)) << t;
            EXPECT_EQ(f->tabs()->currentIndex(), c.shown.first());
            // The shown tabs stand in one row, each its share: one tab spans the control, two
            // (two per row) take half each.
            const ui::RowTabBar* bar = f->tabs()->rowBar();
            EXPECT_EQ(f->tabs()->tabsPerRow(), int(c.shown.size()));
            EXPECT_EQ(bar->rowCount(), 1);
            const int share = f->tabs()->width() / int(c.shown.size());
            const int height = bar->rowTabRect(c.shown.first()).height();
            EXPECT_GT(height, 0);
            for (qsizetype k = 0; k < c.shown.size(); ++k) {
                const QRect place = bar->rowTabRect(c.shown[k]);
                EXPECT_EQ(place.topLeft(), QPoint(int(k) * share, 0)) << k;
                EXPECT_EQ(place.height(), height) << k;
            }
            EXPECT_EQ(bar->rowTabRect(c.shown.last()).right(), f->tabs()->width() - 1);
            if (c.opener == StatisticsWindow::Opener::FormulaFilter) {
                EXPECT_EQ(f->size(), QSize(546, 400));
                EXPECT_EQ(ctl<QPushButton>(f, "Command1")->pos(), QPoint(433, 333));
            }
            shown = true;
            return 0;
        });
        StatisticsWindow::Open(app, c.opener, {});
        EXPECT_TRUE(shown);
    }
}

TEST_F(StatisticsWindowTest, CompoundOpeningAddsTheRowOfTheDigitLists) {
    StatisticsWindow::WorkbenchInputs in;
    in.digitLists[0] = QStringLiteral("1,3,5");
    in.digitLists[1] = QStringLiteral("0,1,2,5");
    in.digitLists[2] = QStringLiteral("0,1,2,3,4,5,6,7,8,9");
    in.compoundOpening = true;
    auto f = open(in);
    ASSERT_EQ(f->table(3)->rowCount(), 1);
    // 357, 112, 123, 555
    // 357, 112, 123, 321 and 555 fit the three lists.
    EXPECT_EQ(f->table(3)->rowTexts(0), QStringList{QStringLiteral("1,3,5|0,1,2,5|0,1,2,3,4,5,6,7,8,9")} +
                                            statsfixture::Split("5,62.50%,1.6,2,1,0,0.00"));
}

TEST_F(StatisticsWindowTest, FormulaQueryAndDescendingTextSort) {
    auto f = open();
    f->formulaTab()->sortBySection(0);
    QStringList order;
    for (int r = 0; r < f->table(2)->rowCount(); ++r)
        order << f->table(2)->text(r, 0);
    EXPECT_EQ(order, statsfixture::Split("9,8,7,6,5,4,3,2,18,17,16,15,14,13,12,11,10,1,0"));
    // The header click of the real view sorts the same way; a second click does not reverse.
    auto* view = ctl<QTreeView>(f.get(), "ListView2");
    emit view->header()->sectionClicked(0);
    EXPECT_EQ(f->table(2)->text(0, 0), QStringLiteral("9"));

    ctl<QComboBox>(f.get(), "Combo2")->setCurrentIndex(2);
    ctl<QComboBox>(f.get(), "Combo1")->setCurrentIndex(1);
    ctl<QComboBox>(f.get(), "Combo3")->setCurrentIndex(2);
    ctl<QPushButton>(f.get(), "Command2")->click();
    ASSERT_EQ(f->table(2)->rowCount(), 82);
    EXPECT_EQ(f->table(2)->text(0, 0), QStringLiteral("0"));
    EXPECT_EQ(f->table(2)->text(0, 1), QStringLiteral("1"));  // 十 x 个 is 0 only for 000
    // 乘 does not rewrite the other tabs' captions.
    EXPECT_EQ(ctl<QLabel>(f.get(), "Label1")->text(), QStringLiteral("统计2024001到2024008期"));
}

TEST_F(StatisticsWindowTest, CopyButtonsPutTheTablesOnTheClipboard) {
    statsfixture::SetState(app, {"123", "456"}, false, 1, 1);
    auto f = open();
    ctl<QPushButton>(f.get(), "Command6")->click();
    const QString formula = clipboard();
    EXPECT_TRUE(formula.startsWith(statistics::FormulaCopyLayout().header + QStringLiteral("\r\n\r\n0       0         ")));
    EXPECT_TRUE(formula.contains(QStringLiteral("\r\n8       1         100.00%   1.0       0         0         0         0.00\r\n")));
    EXPECT_TRUE(formula.contains(QStringLiteral("\r\n9       0         0.00%     0.0       0         0         1         0.00\r\n")));
    EXPECT_EQ(formula.count(QStringLiteral("\r\n")), 21);

    ctl<QPushButton>(f.get(), "Command9")->click();
    EXPECT_EQ(clipboard(), statistics::FuzzyCopyLayout().header +
                               QStringLiteral("\r\n\r\n2024002   456       --        --        --        --        "
                                              "--        --        --        --        456       37        01289     --\r\n"));

    ctl<QPushButton>(f.get(), "Command7")->click();
    EXPECT_EQ(clipboard(), statistics::ProfitPlanCopyLayout().header + QStringLiteral("\r\n\r\n"));
    ctl<QPushButton>(f.get(), "Command3")->click();
    ctl<QPushButton>(f.get(), "Command7")->click();
    EXPECT_EQ(clipboard().count(QStringLiteral("\r\n")), 22);
}

TEST_F(StatisticsWindowTest, GroupSelectorReplacesTheRows) {
    auto f = open();
    auto* combo4 = ctl<QComboBox>(f.get(), "Combo4");
    combo4->setCurrentIndex(1);
    f->compoundTab()->showGroupCombinations();
    ASSERT_EQ(f->table(3)->rowCount(), 10);
    EXPECT_EQ(f->table(3)->rowTexts(5), statsfixture::Split("5|5|5,1,12.50%,8.0,7,7,0,0.00"));
    EXPECT_EQ(f->table(3)->rowTexts(9), statsfixture::Split("9|9|9,1,12.50%,7.0,6,6,1,0.14"));
    f->compoundTab()->sortBySection(1);
    EXPECT_EQ(f->table(3)->text(0, 1), QStringLiteral("1"));
    combo4->setCurrentIndex(5);
    f->compoundTab()->showGroupCombinations();
    ASSERT_EQ(f->table(3)->rowCount(), 252);
    EXPECT_EQ(f->table(3)->text(0, 0), QStringLiteral("01234|01234|01234"));
    combo4->setCurrentIndex(0);
    f->compoundTab()->showGroupCombinations();
    EXPECT_EQ(f->table(3)->rowCount(), 0);
}

TEST_F(StatisticsWindowTest, StraightStatisticsAsksBeforeEveryRun) {
    auto f = open();
    f->compoundTab()->showGroupCombinations();
    ctl<QComboBox>(f.get(), "Combo4")->setCurrentIndex(9);
    f->compoundTab()->showGroupCombinations();
    recorder->answer = ui::Answer::No;
    ctl<QPushButton>(f.get(), "Command10")->click();
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_EQ(recorder->messages[0].text, QStringLiteral("此步骤将运算大量数据,有可能造成死机,是否继续?"));
    EXPECT_EQ(recorder->messages[0].title, QStringLiteral("确定"));
    EXPECT_EQ(recorder->messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(recorder->messages[0].icon, ui::Icon::Question);
    EXPECT_EQ(recorder->messages[0].defaultButton, ui::Answer::Yes);
    EXPECT_EQ(f->table(3)->rowCount(), 10);  // left as it was

    recorder->answer = ui::Answer::Yes;
    ctl<QPushButton>(f.get(), "Command10")->click();
    ASSERT_EQ(f->table(3)->rowCount(), 1000);
    EXPECT_EQ(f->table(3)->text(0, 0), QStringLiteral("0|0|0"));
    EXPECT_EQ(f->table(3)->text(1, 0), QStringLiteral("0|0|1"));
    EXPECT_EQ(f->table(3)->rowTexts(357), statsfixture::Split("3|5|7,1,12.50%,1.0,0,0,7,7.00"));
    EXPECT_EQ(f->table(3)->text(999, 0), QStringLiteral("9|9|9"));
    EXPECT_EQ(ctl<QLabel>(f.get(), "RowCountLabel")->text(), QStringLiteral("共1,000行"));

    for (const char* name : {"Combo11", "Combo12", "Combo13"})
        ctl<QComboBox>(f.get(), name)->setCurrentText(QStringLiteral("10"));
    ctl<QPushButton>(f.get(), "Command10")->click();
    ASSERT_EQ(f->table(3)->rowCount(), 1);
    EXPECT_EQ(f->table(3)->rowTexts(0).mid(0, 2), statsfixture::Split("0123456789|0123456789|0123456789,8"));

    // 4,4,4 gives 9,261,000 rows after the same question and nothing else.
    for (const char* name : {"Combo11", "Combo12", "Combo13"})
        ctl<QComboBox>(f.get(), name)->setCurrentText(QStringLiteral("4"));
    const int asked = int(recorder->messages.size());
    ctl<QPushButton>(f.get(), "Command10")->click();
    ASSERT_EQ(recorder->messages.size(), asked + 1);
    EXPECT_EQ(recorder->lastText(), QStringLiteral("此步骤将运算大量数据,有可能造成死机,是否继续?"));
    ASSERT_EQ(f->table(3)->rowCount(), 9261000);
    EXPECT_EQ(f->table(3)->rowTexts(0), statsfixture::Split("0123|0123|0123,4,50.00%,1.5,1,0,2,1.33"));
    EXPECT_EQ(f->table(3)->text(9260999, 0), QStringLiteral("6789|6789|6789"));
    // Its copy holds the first 1000 rows as shown.
    ctl<QPushButton>(f.get(), "Command8")->click();
    const QStringList lines = clipboard().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1003);  // header, empty line, 1000 rows, nothing after the last CR LF
    EXPECT_EQ(lines[2], statistics::CopyLine(statistics::CompoundCopyLayout(), f->table(3)->rowTexts(0)));
    EXPECT_EQ(lines[1001], statistics::CopyLine(statistics::CompoundCopyLayout(), f->table(3)->rowTexts(999)));
}

TEST_F(StatisticsWindowTest, CompoundViewSelectsScrollsAndSortsOnItsHeader) {
    auto f = open();
    f->tabs()->setCurrentIndex(2);
    f->show();
    recorder->answer = ui::Answer::Yes;
    ctl<QPushButton>(f.get(), "Command10")->click();  // 1,1,1: the 1000 straight numbers
    ASSERT_EQ(f->table(3)->rowCount(), 1000);
    auto* view = ctl<QAbstractItemView>(f.get(), "ListView3");
    QApplication::processEvents();
    // A click on a cell selects its whole row.
    const QPointF at = view->visualRect(f->table(3)->index(2, 3)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &click);
    }
    EXPECT_EQ(view->currentIndex().row(), 2);
    EXPECT_TRUE(view->selectionModel()->isRowSelected(2, {}));
    // End goes to the last row and brings it into view; Up goes one back.
    auto press = [view](int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    press(Qt::Key_End);
    EXPECT_EQ(view->currentIndex().row(), 999);
    EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(view->currentIndex())));
    press(Qt::Key_Up);
    EXPECT_EQ(view->currentIndex().row(), 998);
    // 开出次数 by value, descending; the current row stays on its number.
    const QString current = f->table(3)->text(998, 0);
    auto* header = view->findChild<QHeaderView*>();
    ASSERT_NE(header, nullptr);
    emit header->sectionClicked(1);
    EXPECT_EQ(f->table(3)->text(0, 1), QStringLiteral("1"));
    EXPECT_EQ(f->table(3)->text(999, 1), QStringLiteral("0"));
    EXPECT_EQ(f->table(3)->text(view->currentIndex().row(), 0), current);
}

TEST_F(StatisticsWindowTest, WorkbenchNumbersRows) {
    StatisticsWindow::WorkbenchInputs in;
    in.numbers = {QStringLiteral("123"), QStringLiteral("555")};
    auto f = open(in);
    ctl<QComboBox>(f.get(), "Combo4")->setCurrentIndex(3);
    f->compoundTab()->showGroupCombinations();
    ctl<QPushButton>(f.get(), "Command11")->click();
    ASSERT_EQ(f->table(3)->rowCount(), 6);
    EXPECT_EQ(f->table(3)->rowTexts(0), statsfixture::Split("组选综合统计 123 555 ,3,37.50%,2.7,4,1,0,0.00"));
    EXPECT_EQ(f->table(3)->rowTexts(1), statsfixture::Split("单选综合统计 123 555 ,2,25.00%,4.0,4,2,0,0.00"));
    EXPECT_EQ(f->table(3)->text(2, 0), QStringLiteral("1|2|3"));
    EXPECT_EQ(f->table(3)->text(5, 0), QStringLiteral("组选 5|5|5"));
    // The copy keeps every row, the long pool categories included.
    ctl<QPushButton>(f.get(), "Command8")->click();
    EXPECT_EQ(clipboard().count(QStringLiteral("\r\n")), 8);
}

TEST_F(StatisticsWindowTest, OccurrenceCountsPickAndCopy) {
    auto f = open();
    ctl<QPushButton>(f.get(), "Command4")->click();
    EXPECT_EQ(ctl<QLabel>(f.get(), "Label12")->text(), QStringLiteral("共计1000注"));
    EXPECT_TRUE(ctl<QPlainTextEdit>(f.get(), "Text2")->toPlainText().startsWith(QStringLiteral("000 001 002 ")));
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_EQ(recorder->lastText(), QStringLiteral("小提示：您可以用生成的号码来进行垃圾号码过滤。"));
    EXPECT_EQ(recorder->messages[0].title, ui::kAppTitle);

    // Sorted by count (ascending, as text), the pick follows the shown order.
    f->countsTab()->sortBySection(1);
    ctl<QComboBox>(f.get(), "Combo9")->setCurrentText(QStringLiteral("1"));
    ctl<QPushButton>(f.get(), "Command4")->click();
    EXPECT_EQ(ctl<QPlainTextEdit>(f.get(), "Text2")->toPlainText(),
              QStringLiteral("000 112 123 321 357 555 753 999 "));
    EXPECT_EQ(ctl<QLabel>(f.get(), "Label12")->text(), QStringLiteral("共计8注"));
    ctl<QPushButton>(f.get(), "Command5")->click();
    EXPECT_EQ(clipboard(), QStringLiteral("000 112 123 321 357 555 753 999"));

    ctl<QComboBox>(f.get(), "Combo10")->setCurrentText(QStringLiteral("0"));
    ctl<QPushButton>(f.get(), "Command4")->click();
    EXPECT_EQ(ctl<QPlainTextEdit>(f.get(), "Text2")->toPlainText(), QString());
    EXPECT_EQ(ctl<QLabel>(f.get(), "Label12")->text(), QStringLiteral("共计0注"));
    EXPECT_EQ(recorder->messages.size(), 3);
    ctl<QPushButton>(f.get(), "Command5")->click();
    EXPECT_EQ(clipboard(), QString());
}

TEST_F(StatisticsWindowTest, ProfitPlanTargetModes) {
    auto f = open();
    auto* check = ctl<QCheckBox>(f.get(), "Check1");
    auto* text1 = ctl<QLineEdit>(f.get(), "Text1");
    check->click();
    EXPECT_EQ(text1->text(), QStringLiteral("50"));
    EXPECT_FALSE(ctl<QLabel>(f.get(), "Label8")->isHidden());
    ctl<QPushButton>(f.get(), "Command3")->click();
    ASSERT_EQ(f->table(4)->rowCount(), 20);
    EXPECT_EQ(f->table(4)->rowTexts(16), statsfixture::Split("17,2,80,720,2000,1280,177.78%"));
    check->click();
    EXPECT_EQ(text1->text(), QStringLiteral("1000"));
    EXPECT_TRUE(ctl<QLabel>(f.get(), "Label8")->isHidden());

    text1->setText(QStringLiteral("abc"));
    ctl<QPushButton>(f.get(), "Command3")->click();
    EXPECT_EQ(text1->text(), QStringLiteral("50"));
    EXPECT_EQ(f->table(4)->rowCount(), 0);
    text1->setText(QStringLiteral("  800 "));
    ctl<QPushButton>(f.get(), "Command3")->click();
    EXPECT_EQ(text1->text(), QStringLiteral("800"));
    EXPECT_EQ(f->table(4)->rowTexts(0), statsfixture::Split("1,1,40,40,1000,960,2400.00%"));
}

TEST_F(StatisticsWindowTest, SecondOpeningStartsFromTheDefaults) {
    {
        auto f = open();
        ctl<QComboBox>(f.get(), "Combo2")->setCurrentIndex(1);
        ctl<QCheckBox>(f.get(), "Check1")->click();
        ctl<QComboBox>(f.get(), "Combo5")->setCurrentIndex(3);
        ctl<QPushButton>(f.get(), "Command1")->click();
    }
    auto g = open();
    EXPECT_EQ(ctl<QComboBox>(g.get(), "Combo2")->currentText(), QStringLiteral("加"));
    EXPECT_TRUE(ctl<QCheckBox>(g.get(), "Check1")->isChecked());
    EXPECT_EQ(ctl<QLineEdit>(g.get(), "Text1")->text(), QStringLiteral("1000"));
    EXPECT_EQ(ctl<QComboBox>(g.get(), "Combo5")->currentText(), QStringLiteral("20"));
}

// Every tab's buttons, whichever opener shows it.
TEST_F(StatisticsWindowTest, EveryButtonReachesAHandler) {
    auto f = open();
    EXPECT_EQ(testsupport::WalkedButtonCount(f.get()), 12);
    EXPECT_EQ(testsupport::UnboundButtons(f.get()), QStringList{});
}

using testsupport::TickWatch;

void SetStraightSizes(StatisticsWindow* f, const char* size) {
    for (const char* name : {"Combo11", "Combo12", "Combo13"})
        f->findChild<QComboBox*>(QString::fromLatin1(name))->setCurrentText(QString::fromLatin1(size));
}

TEST(StatisticsWindowRealHistoryTest, LargestStraightRunKeepsTheWindowResponsiveAndCancels) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    common::AppState app;
    ASSERT_TRUE(statsfixture::UseRealHistory(app, true));
    ui::MessageRecorder recorder(ui::Answer::Yes);
    StatisticsWindow f(app);
    f.findChild<QComboBox*>(QStringLiteral("Combo4"))->setCurrentIndex(9);
    f.compoundTab()->showGroupCombinations();
    const QList<QStringList> before = f.table(3)->allTexts();
    ASSERT_EQ(before.size(), 10);
    SetStraightSizes(&f, "5");
    // 5,5,5 over every draw takes seconds of processor time: once some of it has gone to
    // threads other than the window's while the window's loop kept turning, press 取消. Work on
    // the window's thread would never get there and would run to its end.
    TickWatch watch;
    bool cancelled = false;
    int ticksBefore = 0;
    watch.onTick = [&] {
        auto* box = f.findChild<QProgressDialog*>(QStringLiteral("ProgressBox"));
        if (box && !cancelled && watch.ticks >= 3 && watch.awayCpuMs() >= 100) {
            ticksBefore = watch.ticks;
            auto* cancel = box->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(), QStringLiteral("取消"));
            cancel->click();
            cancelled = true;
        }
    };
    f.findChild<QPushButton*>(QStringLiteral("Command10"))->click();
    EXPECT_TRUE(cancelled) << "the run never left the window's thread";
    EXPECT_GE(ticksBefore, 3);
    EXPECT_EQ(recorder.messages.size(), 1);  // the question only
    EXPECT_EQ(f.table(3)->allTexts(), before);
    EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("RowCountLabel"))->text(),
              QStringLiteral("已取消，表格未改变（共10行）"));
    EXPECT_EQ(f.findChild<QProgressDialog*>(QStringLiteral("ProgressBox")), nullptr);
}

TEST(StatisticsWindowRealHistoryTest, LargeStraightRunGivesEveryRowAndSortsAwayFromTheWindow) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    common::AppState app;
    ASSERT_TRUE(statsfixture::UseRealHistory(app, true));
    ui::MessageRecorder recorder(ui::Answer::Yes);
    StatisticsWindow f(app);
    SetStraightSizes(&f, "3");
    f.findChild<QPushButton*>(QStringLiteral("Command10"))->click();
    statistics::StatsTable* table = f.table(3);
    ASSERT_EQ(table->rowCount(), 1728000);
    const auto in = statistics::MakeCompoundInput(app.history(), statistics::AnalysisRange(app));
    const QStringList sets = statistics::DigitCombinations(3);
    for (int r : {0, 1, 14399, 864123, 1727999}) {
        const auto row = statistics::PositionalRow(in, sets[r / 14400], sets[r / 120 % 120], sets[r % 120]);
        EXPECT_EQ(table->rowTexts(r), row.cells()) << r;
    }
    // 开出次数, descending by value; equal counts keep the order of the run.
    TickWatch watch;
    f.compoundTab()->sortBySection(1);
    const int ticks = watch.ticks;
    const double away = watch.awayCpuMs(), window = watch.windowCpuMs();
    watch.timer.stop();
    EXPECT_GT(ticks, 0) << "the window's loop never turned during the sort";
    EXPECT_GT(away, window) << "the sort ran on the window's thread";
    int previous = table->text(0, 1).toInt();
    for (int r = 1; r < table->rowCount(); r += r < 3000 ? 1 : 997) {
        const int count = table->text(r, 1).toInt();
        ASSERT_GE(previous, count) << r;
        if (count == previous && r < 3000) {
            ASSERT_LT(QString::compare(table->text(r - 1, 0), table->text(r, 0)), 0) << r;
        }
        previous = count;
    }
    EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("RowCountLabel"))->text(), QStringLiteral("共1,728,000行"));
}

// After 统计缩水器的号码 over a big pool each row's label is the whole pool: 类别 keeps at most half
// the view, elides the label and gives it whole in its tooltip, so the counts stay in sight
// beside it; the copy keeps the label whole.
TEST(StatisticsWindowRealHistoryTest, LongPoolLabelsLeaveTheCountsInSight) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    common::AppState app;
    ASSERT_TRUE(statsfixture::UseRealHistory(app, true));
    ui::MessageRecorder recorder;
    StatisticsWindow::WorkbenchInputs in;
    for (int n = 0; n < 1000; n += 3)
        in.numbers << QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
    StatisticsWindow f(app, std::move(in));
    f.tabs()->setCurrentIndex(2);
    f.show();
    f.findChild<QPushButton*>(QStringLiteral("Command11"))->click();
    QApplication::processEvents();  // the columns are fitted to the new rows from the event loop
    statistics::StatsTable* table = f.table(3);
    ASSERT_GT(table->rowCount(), 2);
    const QString label = table->text(0, 0);
    ASSERT_TRUE(label.contains(QStringLiteral(" 999 ")));
    auto* view = f.findChild<QAbstractItemView*>(QStringLiteral("ListView3"));
    auto* header = view->findChild<QHeaderView*>();
    ASSERT_NE(header, nullptr);
    EXPECT_GT(view->fontMetrics().horizontalAdvance(label), view->viewport()->width());
    EXPECT_LE(header->sectionSize(0), view->viewport()->width() / 2);
    EXPECT_EQ(view->textElideMode(), Qt::ElideRight);
    const int last = header->count() - 1;
    EXPECT_LE(header->sectionViewportPosition(last) + header->sectionSize(last), view->viewport()->width());
    EXPECT_GE(header->sectionSize(1), view->fontMetrics().horizontalAdvance(table->text(0, 1)));
    EXPECT_EQ(table->index(0, 0).data(Qt::ToolTipRole).toString(), label);
    EXPECT_FALSE(table->index(0, 1).data(Qt::ToolTipRole).isValid());
    f.findChild<QPushButton*>(QStringLiteral("Command8"))->click();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("\r\n") + label + QLatin1Char(' ')));
}

TEST(StatisticsWindowRealHistoryTest, TablesAgreeWithTheHistory) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    common::AppState app;
    ASSERT_TRUE(statsfixture::UseRealHistory(app, true));
    ui::MessageRecorder recorder;
    StatisticsWindow f(app);
    const int n = app.history().count();
    EXPECT_EQ(f.table(1)->rowCount(), app.rangeLast() - app.rangeFirst() + 1);
    int counted = 0, sums = 0;
    for (int r = 0; r < 1000; ++r)
        counted += f.table(5)->text(r, 1).toInt();
    for (int r = 0; r < f.table(2)->rowCount(); ++r)
        sums += f.table(2)->text(r, 1).toInt();
    EXPECT_EQ(counted, n);
    EXPECT_EQ(sums, n);
    EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
              QStringLiteral("统计") + app.history().issue(1) + QStringLiteral("到") + app.history().issue(n) +
                  QStringLiteral("期"));
    // 组选9码: the row leaving out digit d counts the draws without d.
    auto* combo4 = f.findChild<QComboBox*>(QStringLiteral("Combo4"));
    combo4->setCurrentIndex(9);
    f.compoundTab()->showGroupCombinations();
    ASSERT_EQ(f.table(3)->rowCount(), 10);
    for (int d = 0; d < 10; ++d) {
        int without = 0;
        for (int i = 1; i <= n; ++i)
            without += app.history().number(i).contains(QChar(u'0' + d)) ? 0 : 1;
        EXPECT_EQ(f.table(3)->text(9 - d, 1).toInt(), without) << d;
    }
}

}  // namespace
