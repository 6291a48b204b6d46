// The workbench's model with no window built: batches over the model's conditions, a filter
// run over its inputs, a base set from its choice, and the lottery switch.
#include "pool/workbenchmodel.h"

#include "common/appstate.h"
#include "common/numbertables.h"
#include "common/settings.h"
#include "history/lottery.h"
#include "testsupport.h"
#include "workbench/basesets.h"
#include "pool/batchinputs.h"
#include "pool/filterruns.h"
#include "workbench/lotteryswitch.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

pool::WorkbenchModel ModelOver(const QStringList& numbers) {
    pool::WorkbenchModel model;
    model.session.pool = numbers;
    model.session.CommitSet();
    return model;
}

TEST(WorkbenchModel, NoWindowIsBuilt) {
    // Every test here runs without a widget: the model and its routines need none.
    pool::WorkbenchModel model = ModelOver({QStringLiteral("123")});
    pool::RunBasicBatch(model);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST(WorkbenchModel, CaptionsMatchTheEditorsBoxes) {
    EXPECT_EQ(pool::PatternCaptions(1)[15], QStringLiteral("012"));
    EXPECT_EQ(pool::PatternCaptions(5)[1], QStringLiteral("中大大"));
    EXPECT_EQ(pool::PatternCaptions(6).size(), 20);
    EXPECT_EQ(pool::PatternCaptions(6)[19], QStringLiteral("444"));
    EXPECT_EQ(pool::PatternCaptions(7)[27], QStringLiteral("234"));
    EXPECT_EQ(pool::OptionCaptions(0)[7], QStringLiteral("ABC"));
    pool::EditorConditions c;
    for (int t = 0; t < pool::kPatternTabs; ++t) EXPECT_EQ(c.patterns[size_t(t)].size(), pool::PatternCaptions(t).size());
    for (int t = 0; t < pool::kOptionTabs; ++t) EXPECT_EQ(c.options[size_t(t)].size(), pool::OptionCaptions(t).size());
    EXPECT_EQ(c.sums.size(), 28);
}

TEST(WorkbenchModel, BasicBatchRunsTheTickedFamiliesAndUnticksThem) {
    pool::WorkbenchModel model = ModelOver(common::GroupTable());
    model.conditions.patterns[0][9] = true;  // 组选012: 021
    model.conditions.patterns[2][7] = true;  // 奇偶 not run: its family is not ticked
    model.conditions.basicFamilies[0] = true;
    pool::RunBasicBatch(model);
    EXPECT_EQ(model.session.pool.size(), 202);
    EXPECT_FALSE(model.session.pool.contains(QStringLiteral("145")));
    EXPECT_TRUE(model.session.pool.contains(QStringLiteral("135")));  // 奇奇奇 stays
    EXPECT_EQ(model.session.setDescription, QStringLiteral("组选过滤012路：021 "));
    EXPECT_EQ(model.session.ring.index(), 2);  // the base and the batch
    EXPECT_FALSE(model.conditions.basicFamilies[0]);
    EXPECT_TRUE(model.conditions.patterns[0][9]);  // the editor's ticks stay

    // Undo goes back to the base set.
    model.session.Undo();
    EXPECT_EQ(model.session.pool.size(), common::GroupTable().size());
}

TEST(WorkbenchModel, AdvancedConditionsComeFromTheModel) {
    pool::EditorConditions c;
    c.sums[0] = c.sums[27] = true;
    c.oneD[1][3] = true;
    c.oneD[2][4] = true;
    c.oneDModes[2] = pool::OneDMode::Off;  // 不过滤: its ticks stay but apply nothing
    c.options[2][1] = true;                // AC值 2
    c.positionPatterns = {QStringLiteral("1*2")};
    for (int f : {0, 1, 2, 5}) c.advancedFamilies[size_t(f)] = true;

    const QList<pool::AdvancedCondition> taken = pool::TakeAdvancedConditions(c);
    ASSERT_EQ(taken.size(), 4);
    EXPECT_EQ(taken[0].family, pool::AdvancedFamily::Positional);
    EXPECT_EQ(taken[0].patterns, QStringList({QStringLiteral("1*2")}));
    EXPECT_EQ(taken[1].family, pool::AdvancedFamily::Sum);
    ASSERT_EQ(taken[1].ticked.size(), 2);
    EXPECT_EQ(taken[1].ticked[1].index, 27);
    EXPECT_EQ(taken[2].oneD[1], QList<int>({3}));
    EXPECT_TRUE(taken[2].oneD[2].isEmpty());
    EXPECT_EQ(taken[3].family, pool::AdvancedFamily::AcValue);
    ASSERT_EQ(taken[3].ticked.size(), 1);
    EXPECT_EQ(taken[3].ticked[0].caption, QStringLiteral("2"));
    for (bool family : c.advancedFamilies) EXPECT_FALSE(family);
    EXPECT_TRUE(pool::TakeAdvancedConditions(c).isEmpty());  // taken once

    // The batch over a model: the sums 0 and 27 go.
    pool::WorkbenchModel model = ModelOver({QStringLiteral("000"), QStringLiteral("999"), QStringLiteral("123")});
    model.conditions.sums[0] = model.conditions.sums[27] = true;
    model.conditions.advancedFamilies[1] = true;
    EXPECT_TRUE(pool::RunAdvancedBatch(model, common::DrawHistory()).isEmpty());
    EXPECT_EQ(model.session.pool, QStringList({QStringLiteral("123")}));
}

TEST(WorkbenchModel, TwoCodeFilterRunsOverTheModelsInput) {
    pool::WorkbenchModel model = ModelOver({QStringLiteral("123"), QStringLiteral("456"), QStringLiteral("789")});
    model.input(pool::InputBox::TwoCodes) = QStringLiteral("12,89");
    pool::RunTwoCode(model.session, model.input(pool::InputBox::TwoCodes), false, 0, QStringLiteral("全部"));
    EXPECT_EQ(model.session.pool, QStringList({QStringLiteral("456")}));
    EXPECT_EQ(model.session.ring.index(), 2);
    EXPECT_TRUE(model.session.log.text().contains(QStringLiteral("还剩1注")));
}

TEST(WorkbenchModel, BaseSetFromTheChoice) {
    struct Case {
        pool::BaseSetChoice choice;
        int size;
    };
    const Case cases[] = {
        {{pool::BaseChoice::AllNumbers, true, 0}, 1000},
        {{pool::BaseChoice::AllNumbers, false, 0}, 720},
        {{pool::BaseChoice::AllGroups, false, 0}, 220},
        {{pool::BaseChoice::GroupThree, false, 0}, 90},
        {{pool::BaseChoice::GroupSix, false, 0}, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.choice.choice));
        EXPECT_EQ(int(workbench::MakeBaseSet(workbench::BaseKindOf(c.choice)).numbers.size()), c.size);
    }
    EXPECT_EQ(workbench::BaseKindOf({pool::BaseChoice::GroupSix, false, 3}), workbench::BaseKind::GroupSixMixed);
}

TEST(WorkbenchModel, InputBoxesKeepTheirControlNames) {
    EXPECT_EQ(pool::InputBoxName(pool::InputBox::TwoCodes), QStringLiteral("Text1"));
    EXPECT_EQ(pool::InputBoxName(pool::InputBox::FuzzyDigits3), QStringLiteral("Text4"));
    EXPECT_EQ(pool::InputBoxName(pool::InputBox::PositionDigits1), QStringLiteral("Text12"));
    EXPECT_EQ(pool::InputBoxName(pool::InputBox::OmissionHundreds), QStringLiteral("Text18"));
    EXPECT_EQ(pool::InputBoxName(pool::InputBox::OmissionStraight), QStringLiteral("Text11"));
    EXPECT_EQ(pool::InputBoxName(pool::InputBox::Formula), QStringLiteral("Text29"));
}

TEST(WorkbenchModel, LotterySwitchReloadsTheHistoryWithoutAWindow) {
    testsupport::ProgramDir dir;
    dir.write("HAOP3.TXT", "2024100 5671");
    common::AppState app;
    app.selectLottery(false, common::DrawFilePathFor(false), common::DrawHistory());
    pool::WorkbenchModel model = ModelOver({QStringLiteral("123")});

    QString error;
    EXPECT_FALSE(history::SelectLottery(app, false, &error));  // already 福彩3D
    EXPECT_TRUE(history::SelectLottery(app, true, &error));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_TRUE(app.lotteryIsP3());
    EXPECT_EQ(common::GetSetting(QStringLiteral("fclx")), QStringLiteral("1"));
    EXPECT_EQ(app.history().count(), 1);
    EXPECT_EQ(app.history().number(1), QStringLiteral("567"));
    EXPECT_EQ(model.session.pool, QStringList({QStringLiteral("123")}));  // the numbers stay
    EXPECT_EQ(workbench::LotterySwitchedMessage(true), QStringLiteral("彩票类型已被转换，当前彩票类型为[体彩排列3]。"));

    // Back to 福彩3D, whose file is absent: the switch happens and the history is empty.
    EXPECT_TRUE(history::SelectLottery(app, false, &error));
    EXPECT_FALSE(app.lotteryIsP3());
    EXPECT_EQ(common::GetSetting(QStringLiteral("fclx")), QStringLiteral("0"));
    EXPECT_EQ(app.history().count(), 0);
}

}  // namespace
