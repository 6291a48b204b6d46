// The workbench buttons that open the statistics window: which tabs, what it reads.
#include "statistics/statisticswindow.h"
#include "statistics/compoundstatstab.h"
#include "statistics/statstable.h"
#include "workbench/statsopeners.h"
#include "workbench/workbenchwindow.h"

#include "platform/ui/messagebox.h"
#include "statsfixture.h"
#include "hookreset.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class StatsOpenersTest : public ::testing::Test {
protected:
    common::AppState app;  // outlives the windows it is handed to
    void SetUp() override {
        statsfixture::SetState(app, {"123", "456", "321", "789", "123"});
        recorder = std::make_unique<ui::MessageRecorder>();
        bench = std::make_unique<WorkbenchWindow>(app);
        ui::SetModalHandler([this](QDialog* d) {
            auto* f = qobject_cast<StatisticsWindow*>(d);
            EXPECT_NE(f, nullptr);
            if (!f)
                return 0;
            ++opened;
            shownTabs.clear();
            for (int t = 0; t < 5; ++t)
                if (f->tabs()->isTabVisible(t))
                    shownTabs << t;
            compoundRows.clear();
            for (int r = 0; r < f->table(3)->rowCount(); ++r)
                compoundRows << f->table(3)->text(r, 0);
            f->compoundTab()->countWorkbenchNumbers();
            workbenchRows = f->table(3)->rowCount();
            return 0;
        });
    }
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    void TearDown() override {
        bench.reset();
        recorder.reset();
    }

    std::unique_ptr<ui::MessageRecorder> recorder;
    std::unique_ptr<WorkbenchWindow> bench;
    int opened = 0;
    QList<int> shownTabs;
    QStringList compoundRows;
    int workbenchRows = 0;
};

TEST_F(StatsOpenersTest, CompoundStatisticsOfTheDigitLists) {
    const char* lists[3][2] = {{"Text12", "1,4"}, {"Text13", "2,5"}, {"Text14", "0,1,2,3,4,5,6,7,8,9"}};
    for (const auto& l : lists)
        bench->findChild<QLineEdit*>(QString::fromLatin1(l[0]))->setText(QString::fromLatin1(l[1]));
    bench->session().pool = {QStringLiteral("123"), QStringLiteral("789")};
    bench->findChild<QPushButton*>(QStringLiteral("Command47"))->click();
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(shownTabs, QList<int>{2});
    EXPECT_EQ(compoundRows, QStringList{QStringLiteral("1,4|2,5|0,1,2,3,4,5,6,7,8,9")});
    EXPECT_EQ(workbenchRows, 6);  // the workbench's two numbers

    // An empty digit list: nothing opens, nothing is said.
    bench->findChild<QLineEdit*>(QStringLiteral("Text13"))->clear();
    const auto said = recorder->messages.size();
    bench->findChild<QPushButton*>(QStringLiteral("Command47"))->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(recorder->messages.size(), said);
}

TEST_F(StatsOpenersTest, PlanAndFuzzyOpenersShowTheirTabsOnly) {
    bench->findChild<QPushButton*>(QStringLiteral("Command45"))->click();
    ASSERT_EQ(opened, 1);
    EXPECT_EQ(shownTabs, (QList<int>{3, 4}));
    EXPECT_TRUE(compoundRows.isEmpty());
    EXPECT_EQ(workbenchRows, 2);  // empty pool: the two list rows
    bench->findChild<QPushButton*>(QStringLiteral("Command64"))->click();
    ASSERT_EQ(opened, 2);
    EXPECT_EQ(shownTabs, QList<int>{0});
    workbench::OpenStatistics(*bench, StatisticsWindow::Opener::FormulaFilter);
    ASSERT_EQ(opened, 3);
    EXPECT_EQ(shownTabs, QList<int>{1});
}

}  // namespace
