// The older smart selection and its verification on fixture histories.
#include "programsmartcontext.h"
#include "presses.h"
#include "common/appstate.h"
#include "common/drawattributes.h"
#include "common/drawtext.h"
#include "common/numbertables.h"
#include "common/settings.h"
#include "platform/ui/messagebox.h"
#include "pool/recent.h"
#include "smart/windows/olderselectionwindow.h"
#include "smart/windows/olderselectionverificationwindow.h"
#include "smart/killdigits.h"
#include "smart/olderselection.h"
#include "smart/verificationtexts.h"
#include "legibility.h"
#include "testsupport.h"
#include "fakeworkbench.h"
#include "fixture.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTreeWidget>

namespace {

// What the selection must leave, rebuilt from what it says it picked.
QStringList OldSelExpected(const common::DrawHistory& history, int base, const QStringList& table,
                        const smart::OlderSelectionTrace& t) {
    QStringList out;
    for (const QString& n : table) {
        bool gone = t.excludedSpans.contains(common::Span(n)) || t.excludedSums.contains(common::Sum(n)) ||
                    common::Sum(n) < 2 || common::Sum(n) > 25;
        for (QChar d : t.killDigits) gone = gone || n.contains(d);
        for (int i = base - 9; i <= base; ++i) gone = gone || common::GroupEquals(n, history.number(i));
        if (!gone) out << n;
    }
    return out;
}

}  // namespace

TEST(SmartOldSelection, EachSchemeAndBaseTypeCutsWhatItSays) {
    const common::DrawHistory history = smartwin::HistoryOf(calcfixture::MixedHistory(600));
    const QList<int> spans = smart::BaseSpans(history, 600);
    for (int baseType : {0, 1})
        for (int scheme : {0, 1, 2})
            for (int sums : {0, 3}) {
                SCOPED_TRACE(testing::Message() << baseType << scheme << sums);
                pool::NumberPool pool;
                QString log;
                smart::OlderSelectionTrace t;
                smart::MakeOlderSelection(history, 600, {baseType, sums, scheme}, pool, log, &t);
                const QStringList& table = baseType == 0 ? common::GroupSixTable() : common::GroupThreeTable();
                EXPECT_EQ(pool, OldSelExpected(history, 600, table, t));
                if (sums == 0) { EXPECT_TRUE(t.excludedSums.isEmpty()); }
                EXPECT_LE(t.excludedSums.size(), sums);
                // 组选六 drops span 2 and one more; 组选三 one span; never the base draw's span.
                ASSERT_EQ(t.excludedSpans.size(), baseType == 0 ? 2 : 1);
                EXPECT_NE(t.excludedSpans.last(), spans.at(0));
                EXPECT_GT(t.excludedSpans.last(), baseType == 0 ? 2 : 0);
                EXPECT_EQ(t.killDigits.size(), scheme == 0 ? 2 : scheme == 1 ? 1 : 0);
                EXPECT_TRUE(log.contains(QStringLiteral("[组选]过滤近10期号码开始")));
                // Same history and settings: the same set.
                pool::NumberPool again;
                smart::MakeOlderSelection(history, 600, {baseType, sums, scheme}, again, log);
                EXPECT_EQ(again, pool);
            }
}

TEST(SmartOldSelection, PairOfEqualDigitsKillsOneDigitOnly) {
    // The last 80 draws all read 5: every row gives the same digit twice.
    QStringList numbers = calcfixture::MixedHistory(520);
    for (int i = 0; i < 80; ++i) numbers << QStringLiteral("555");
    const common::DrawHistory history = smartwin::HistoryOf(numbers);
    EXPECT_EQ(smart::RecentDigits(history, 600), QString(240, QLatin1Char('5')));
    pool::NumberPool pool;
    QString log;
    smart::OlderSelectionTrace t;
    smart::MakeOlderSelection(history, 600, {0, 0, 0}, pool, log, &t);
    EXPECT_EQ(t.killDigits, QStringLiteral("55"));
    EXPECT_FALSE(pool.isEmpty());
    for (const QString& n : pool) EXPECT_FALSE(n.contains(QLatin1Char('5')));
}

TEST(SmartOldSelection, RecentDigitsPlaces) {
    const common::DrawHistory history = smartwin::HistoryOf(calcfixture::MixedHistory(600));
    const QString digits = smart::RecentDigits(history, 600);
    ASSERT_EQ(digits.size(), 240);
    // Place 136 is the hundreds digit of the draw 34 before the base.
    EXPECT_EQ(digits.at(135), history.number(600 - 34).at(0));
    EXPECT_EQ(digits.right(3), history.number(600));
}

TEST(SmartOldSelectionWindow, ConfirmCommitsTheSetWithOneLogLine) {
    common::AppState app;
    testsupport::ProgramDir dir;
    smartwin::UseHistory(app, calcfixture::MixedHistory(600));
    common::SaveSmartScheme(3);  // 方案4 has no position: the slider stops at its end
    FakeWorkbench bench{app};
    bench.model().straightMode = true;  // a straight 近期过滤 ran before
    bench.commit({QStringLiteral("123")}, QStringLiteral("\n大底共1注\n"));
    OlderSmartSelection w(testsupport::ProgramSmartContext(app, &bench));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("智能选号V1.8"));
    EXPECT_EQ(w.findChild<QSlider*>(QStringLiteral("Slider1"))->value(), 2);
    EXPECT_TRUE(w.findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked());
    w.findChild<QSlider*>(QStringLiteral("Slider1"))->setValue(1);
    w.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(2);
    {
        ui::MessageRecorder no(ui::Answer::No);
        testsupport::Press(&w, QStringLiteral("Command2"));
        EXPECT_EQ(no.messages.size(), 1);
        EXPECT_EQ(no.messages[0].title, QStringLiteral("智能选号"));
        EXPECT_TRUE(no.messages[0].text.startsWith(QStringLiteral("此步骤将以[2020600]期为基数生成下一期的选号组合,是否继续?\n")));
        EXPECT_EQ(bench.session().pool, QStringList{QStringLiteral("123")});
    }
    ui::MessageRecorder yes(ui::Answer::Yes);
    testsupport::Press(&w, QStringLiteral("Command2"));
    pool::NumberPool expected;
    QString log;
    smart::MakeOlderSelection(app.history(), 600, {0, 2, 1}, expected, log);
    EXPECT_EQ(bench.session().pool, expected);
    EXPECT_EQ(bench.session().ring.slot(bench.session().ring.index()), expected);
    EXPECT_EQ(bench.session().log.text(),
              QStringLiteral("福彩3D 第2020601期智能选号共生成") + QString::number(expected.size()) + QStringLiteral("注\n"));
    EXPECT_EQ(bench.session().setDescription, QStringLiteral("智能选号"));
    EXPECT_EQ(bench.enterFilteringModeCalls, 1);
    EXPECT_FALSE(bench.model().straightMode);
    EXPECT_EQ(common::GetSetting(QStringLiteral("zl")), QStringLiteral("1"));
    EXPECT_TRUE(bench.logBox()->isVisibleTo(&bench));
    // 撤消 brings back the numbers from before.
    bench.undo();
    EXPECT_EQ(bench.session().pool, QStringList{QStringLiteral("123")});
    EXPECT_EQ(smart::OlderSelectionLogLine(true, QStringLiteral("2020009 123"), 5),
              QStringLiteral("体彩排列三 第2020010期智能选号共生成5注\n"));
}

// Check1 saves its tick at once, the help mark (Image1) shows the guide, 取消 closes the window
// and leaves the workbench alone.
TEST(SmartOldSelectionWindow, TickGuideAndCancel) {
    common::AppState app;
    testsupport::ProgramDir dir;
    smartwin::UseHistory(app, calcfixture::MixedHistory(600));
    FakeWorkbench bench{app};
    bench.commit({QStringLiteral("123")}, QStringLiteral("\n大底共1注\n"));
    OlderSmartSelection w(testsupport::ProgramSmartContext(app, &bench));
    w.show();
    testsupport::Press(&w, QStringLiteral("Check1"));
    EXPECT_FALSE(common::SettingSmartPick());
    testsupport::Press(&w, QStringLiteral("Check1"));
    EXPECT_TRUE(common::SettingSmartPick());
    ui::MessageRecorder messages;
    testsupport::ClickOn(testsupport::Find<QLabel>(&w, QStringLiteral("Image1")));
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.lastText(), w.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText());
    testsupport::Press(&w, QStringLiteral("Command1"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(bench.session().pool, QStringList{QStringLiteral("123")});
}

TEST(SmartOldSelectionWindow, VerificationReplaysTheLatestHundredDraws) {
    common::AppState app;
    testsupport::ProgramDir dir;
    QStringList numbers = calcfixture::MixedHistory(598);
    numbers << QStringLiteral("115") << QStringLiteral("777");  // the last two: 组三 and a triple
    smartwin::UseHistory(app, numbers);
    FakeWorkbench bench{app};
    bench.commit({QStringLiteral("123"), QStringLiteral("456")}, QStringLiteral("\n大底共2注\n"));
    const QString logBefore = bench.session().log.text();
    OlderSmartSelection selection(testsupport::ProgramSmartContext(app, &bench));
    selection.findChild<QSlider*>(QStringLiteral("Slider1"))->setValue(2);

    OlderSelectionVerification w(&selection);
    const QTreeWidget* list = w.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_EQ(list->topLevelItemCount(), 100);
    int groupThree = 0, hits = 0;
    for (int r = 0; r < 100; ++r) {
        const QTreeWidgetItem* row = list->topLevelItem(r);
        const int draw = 501 + r;
        EXPECT_EQ(row->text(0), app.history().issue(draw));
        if (!row->text(4).isEmpty()) {
            ++groupThree;
            EXPECT_TRUE(row->text(3).isEmpty()) << "组选六 never holds a 组三 number";
        }
        if (row->text(3) == QStringLiteral("正确")) ++hits;
    }
    EXPECT_EQ(list->topLevelItem(98)->text(4), QStringLiteral("本期开组三"));
    EXPECT_EQ(list->topLevelItem(99)->text(4), QStringLiteral("本期开组三"));
    pool::NumberPool made;
    QString log;
    smart::MakeOlderSelection(app.history(), 599, {0, 0, 2}, made, log);
    EXPECT_EQ(list->topLevelItem(99)->text(2), QString::number(made.size()));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(), smart::OldVerifySummary(0, 100, groupThree, hits));
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("Label1"))->text().startsWith(QStringLiteral("最近100期组六共开出")));
    // Every column, 备注 included, in sight beside the scroll bar.
    EXPECT_EQ(testsupport::LegibilityProblems(&w), QStringList());
    // The replays' log lines are gone at once; 返回 brings the numbers back.
    EXPECT_EQ(bench.session().log.text(), logBefore);
    testsupport::Press(&w, QStringLiteral("Command1"));
    EXPECT_EQ(bench.session().pool, (QStringList{QStringLiteral("123"), QStringLiteral("456")}));
    EXPECT_EQ(bench.session().log.text(), logBefore);
    // A second verification gives the same table.
    OlderSelectionVerification again(&selection);
    for (int r = 0; r < 100; ++r)
        EXPECT_EQ(again.findChild<QTreeWidget*>(QStringLiteral("ListView1"))->topLevelItem(r)->text(2), list->topLevelItem(r)->text(2));
    again.close();  // the close box restores too
    EXPECT_EQ(bench.session().pool, (QStringList{QStringLiteral("123"), QStringLiteral("456")}));
}
