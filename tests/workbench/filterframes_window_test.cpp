// The workbench's recent-draw, two-code, fuzzy, digit-group and omission frames, driven
// through the real window offscreen: buttons pressed by name, pool, log and description checked.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/drawtext.h"
#include "dialogs/omissionpicker.h"
#include "dialogs/setoperationswindow.h"
#include "platform/ui/messagebox.h"
#include "hookreset.h"
#include "presses.h"
#include "testsupport.h"
#include "pool/filterruns.h"
#include "workbenchfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

// 40 draws: 000 up to the last three, then 123, 345, 567 (the newest, issue 2024040).
QStringList FilterFramesDraws() {
    QStringList texts;
    for (int i = 1; i <= 40; ++i) {
        const QString number = i == 38 ? QStringLiteral("123") : i == 39 ? QStringLiteral("345")
                             : i == 40 ? QStringLiteral("567") : QStringLiteral("000");
        texts << common::MakeDrawText(QStringLiteral("2024%1").arg(i, 3, 10, QLatin1Char('0')), number);
    }
    return texts;
}

class FilterFramesWindow : public WorkbenchFixture {
protected:
    void SetUp() override {
        app.setHistory(common::DrawHistory(FilterFramesDraws()));
        recorder = std::make_unique<ui::MessageRecorder>();
        pool::SetAutoCollectionPauseHook([this]() { ++pauses; });
        form = std::make_unique<WorkbenchWindow>(app);
        recorder->messages.clear();
    }
    testsupport::HookReset<&pool::SetAutoCollectionPauseHook> pauseHookReset;
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    void TearDown() override {
        form.reset();  // takes its set-operations window along
        recorder.reset();
    }

    bool isTicked(const QString& name) { return get<QCheckBox>(name)->isChecked(); }
    void setText(const QString& name, const QString& text) { get<QLineEdit>(name)->setText(text); }
    QString description() { return form->session().setDescription; }

    int pauses = 0;
};

TEST_F(FilterFramesWindow, FilterButtonsWaitForABaseSet) {
    for (const char* name : {"Command37", "Command40", "Command43", "Command44", "Command63"})
        EXPECT_FALSE(get<QPushButton>(QString::fromLatin1(name))->isEnabled()) << name;
    buildAll();
    for (const char* name : {"Command37", "Command40", "Command43", "Command44", "Command63"})
        EXPECT_TRUE(get<QPushButton>(QString::fromLatin1(name))->isEnabled()) << name;
}

TEST_F(FilterFramesWindow, RecentRowsRunChainedAndAreConsumed) {
    buildAll();
    const QString before = log();
    tick(QStringLiteral("Check10"));                                      // 30 draws, straight
    tick(QStringLiteral("Check74"));                                      // odd/even
    get<QComboBox>(QStringLiteral("Combo15"))->setCurrentText(QStringLiteral("3"));
    tick(QStringLiteral("Check71"));                                      // 100 draws: too many
    get<QComboBox>(QStringLiteral("Combo13"))->setCurrentText(QStringLiteral("100"));
    form->model().straightMode = false;
    click(QStringLiteral("Command44"));

    EXPECT_FALSE(isTicked(QStringLiteral("Check10")));
    EXPECT_FALSE(isTicked(QStringLiteral("Check74")));
    EXPECT_TRUE(isTicked(QStringLiteral("Check71")));
    EXPECT_TRUE(form->model().straightMode);
    // Row 1 removes 000, 123, 345, 567; the odd/even row (three draws of 101) then the 125
    // odd-even-odd numbers less the drawn 123, 345 and 567 already gone.
    EXPECT_EQ(numbers().size(), 1000 - 4 - 122);
    const QString added = log().mid(before.size());
    EXPECT_TRUE(added.startsWith(QStringLiteral("\n单选过滤近30期号码开始\n567| 345| 123| 000| \n过滤4注\n还剩996注\n"
                                                "\n近3期单选奇偶过滤开始\n101| ")));
    EXPECT_TRUE(added.endsWith(QStringLiteral("\n过滤122注\n还剩874注\n")));
    EXPECT_EQ(description(), QStringLiteral("近期开奖过滤"));
    EXPECT_EQ(get<QLabel>(QStringLiteral("Label5"))->text(), QStringLiteral("还剩：874注"));
    EXPECT_TRUE(recorder->messages.isEmpty());
}

TEST_F(FilterFramesWindow, RecentRowsWithAutomaticCollectionSaveEachRow) {
    buildAll();
    tick(QStringLiteral("Check68"));
    tick(QStringLiteral("Check10"));
    tick(QStringLiteral("Check4"));
    click(QStringLiteral("Command44"));

    EXPECT_EQ(pauses, 2);
    EXPECT_EQ(numbers().size(), 1000);
    EXPECT_EQ(description(), QStringLiteral("近期开奖过滤"));
    EXPECT_TRUE(isTicked(QStringLiteral("Check68")));
    EXPECT_TRUE(log().contains(QStringLiteral("单选过滤近30期号码开始")));
    EXPECT_TRUE(log().contains(QStringLiteral("近5期和值过滤开始")));

    const QStringList files = QDir(dir.file(QStringLiteral("HAO"))).entryList({QStringLiteral("*.h")}, QDir::Files);
    ASSERT_EQ(files.size(), 2);
    ASSERT_NE(SetOperationsWindow::existing(*form), nullptr);
    QTreeWidget* rows = SetOperationsWindow::existing(*form)->fileList();
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->topLevelItem(0)->text(0), QStringLiteral("单选过滤最近30期的号码"));
    EXPECT_EQ(rows->topLevelItem(1)->text(0), QStringLiteral("过滤最近5期的和值"));
    EXPECT_EQ(rows->topLevelItem(0)->text(1), QStringLiteral("996"));
    // Sums 0, 6, 12 and 18 of the last five draws; each row started from the 1000.
    EXPECT_EQ(rows->topLevelItem(1)->text(1), QStringLiteral("%1").arg(1000 - 1 - 28 - 73 - 55, 3, 10, QLatin1Char('0')));
}

TEST_F(FilterFramesWindow, AFailedAutomaticSaveStopsTheRun) {
    dir.write("HAO", "not a folder");
    buildAll();
    tick(QStringLiteral("Check68"));
    tick(QStringLiteral("Check10"));
    tick(QStringLiteral("Check4"));
    click(QStringLiteral("Command44"));
    ASSERT_EQ(recorder->messages.size(), 1);  // one error, not one per row
    EXPECT_FALSE(isTicked(QStringLiteral("Check10")));
    EXPECT_TRUE(isTicked(QStringLiteral("Check4")));
    EXPECT_EQ(numbers().size(), 1000);
    EXPECT_EQ(description(), QStringLiteral("近期开奖过滤"));
}

TEST_F(FilterFramesWindow, TwoCodeSelectionAndFilter) {
    load({"105", "377", "222", "730"});
    get<QRadioButton>(QStringLiteral("Option10"))->click();
    setText(QStringLiteral("Text1"), QStringLiteral("  05,37 "));
    click(QStringLiteral("Command40"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("05,37"));
    EXPECT_EQ(numbers(), pool::NumberPool({"105", "377", "730"}));
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n二码选取开始\n(条件：全部 05 37)\n105| 377| 730| \n选取3注\n")));
    EXPECT_EQ(description(), QStringLiteral("二码选取：全部 05 37"));

    get<QRadioButton>(QStringLiteral("Option9"))->click();
    setText(QStringLiteral("Text1"), QStringLiteral("70"));
    get<QComboBox>(QStringLiteral("Combo10"))->setCurrentIndex(3);  // 百个
    click(QStringLiteral("Command40"));
    EXPECT_EQ(numbers(), pool::NumberPool({"105", "377"}));
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n二码过滤开始\n(条件：百个 70)\n730| \n过滤1注\n还剩2注\n")));
    EXPECT_EQ(description(), QStringLiteral("二码过滤：百个 70"));
}

TEST_F(FilterFramesWindow, FuzzyFilterUsesTheSwitchedOnRows) {
    buildAll();
    for (int k = 28; k <= 30; ++k) tick(QStringLiteral("Check%1").arg(k), false);
    const QString before = log();
    const int index = form->session().ring.index();
    click(QStringLiteral("Command43"));  // nothing switched on: nothing at all
    EXPECT_EQ(log(), before);
    EXPECT_EQ(form->session().ring.index(), index);

    get<QRadioButton>(QStringLiteral("Option11"))->click();
    setText(QStringLiteral("Text2"), QStringLiteral("1,2,3"));
    tick(QStringLiteral("Check28"));
    tick(QStringLiteral("Check31(3)"));
    click(QStringLiteral("Command43"));
    EXPECT_EQ(numbers().size(), 27);
    EXPECT_TRUE(log().mid(before.size()).startsWith(QStringLiteral("\n模糊过滤开始\n000| ")));
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n过滤973注\n还剩27注\n")));
    EXPECT_EQ(description(), QStringLiteral("模糊过滤"));
}

TEST_F(FilterFramesWindow, DigitGroupsReadTheirRowsAndCollect) {
    buildAll();
    tick(QStringLiteral("Check81"));
    tick(QStringLiteral("Check32(8)"));  // group 1, count 3
    ASSERT_TRUE(isTicked(QStringLiteral("Check2")));
    click(QStringLiteral("Command63"));
    EXPECT_EQ(numbers().size(), 720);
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n条件组合过滤开始\n过滤280注\n还剩720注\n")));
    EXPECT_EQ(description(), QStringLiteral("组合过滤:例：0,1,2,3,4,5,6,7,8,9出3"));
    EXPECT_TRUE(isTicked(QStringLiteral("Check81")));  // switches are kept

    // Group 3 (Check31 members 7..4 are counts 0..3) with automatic collection.
    tick(QStringLiteral("Check81"), false);
    tick(QStringLiteral("Check70"));
    setText(QStringLiteral("Text8"), QStringLiteral("9"));
    tick(QStringLiteral("Check31(7)"));  // count 0
    tick(QStringLiteral("Check90"));
    click(QStringLiteral("Command63"));
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(numbers().size(), 720);
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n条件组合过滤开始\n过滤0注\n还剩720注\n")));
    EXPECT_EQ(description(), QStringLiteral("组合过滤:9出0组合过滤:9出0"));
    ASSERT_NE(SetOperationsWindow::existing(*form), nullptr);
    QTreeWidget* rows = SetOperationsWindow::existing(*form)->fileList();
    ASSERT_EQ(rows->topLevelItemCount(), 1);
    EXPECT_EQ(rows->topLevelItem(0)->text(0), QStringLiteral("组合过滤:9出0"));
    EXPECT_EQ(rows->topLevelItem(0)->text(1), QStringLiteral("504"));  // 9·8·7 without a 9
}

TEST_F(FilterFramesWindow, OmissionFilterUsesAllDraws) {
    // Omissions after ...000, 123, 345, 567: any-position 5 and 6 and 7 are 0.
    load({"567", "576", "568", "999"});
    tick(QStringLiteral("Check5"));
    setText(QStringLiteral("Text15"), QStringLiteral("0,1"));
    tick(QStringLiteral("Check82"));
    setText(QStringLiteral("Text11"), QStringLiteral("x"));  // no value: no frame
    click(QStringLiteral("Command37"));
    EXPECT_EQ(numbers(), pool::NumberPool({"568", "999"}));
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n组选遗漏过滤开始\n(条件： 0 1)\n567| 576| \n过滤2注\n还剩2注\n")));
    EXPECT_EQ(description(), QStringLiteral("遗漏过滤"));
}

TEST_F(FilterFramesWindow, OmissionPickerListsAndWritesTheBoxes) {
    bool shown = false;
    ui::SetModalHandler([&](QDialog* d) {
        auto* picker = qobject_cast<OmissionPicker*>(d);
        EXPECT_NE(picker, nullptr);
        if (!picker) return 0;
        shown = true;
        EXPECT_EQ(picker->windowTitle(), QStringLiteral("遗漏过滤 [2024040]"));
        // 百位: 5 is 0, 3 is 1, 1 is 2, 0 was last at draw 37, the others never came (40).
        QStringList hundreds;
        for (int i = 0; i < picker->list(2)->count(); ++i) hundreds << picker->list(2)->item(i)->text();
        EXPECT_EQ(hundreds, QStringList({"00", "01", "02", "03", "40", "40", "40", "40", "40", "40"}));
        EXPECT_EQ(picker->list(5)->item(0)->text(), QStringLiteral("000"));

        // Ticking 00 and 03 in 组选 (a click toggles) and "设置" writes 0,3.
        QListWidget* group = picker->list(1);
        emit group->itemClicked(group->findItems(QStringLiteral("03"), Qt::MatchExactly).value(0));
        emit group->itemClicked(group->item(0));
        testsupport::ClickOn(picker->label(1));
        testsupport::ClickOn(picker->label(2));  // nothing ticked: empties the box
        testsupport::Press(picker, QStringLiteral("Command3"));
        testsupport::Press(picker, QStringLiteral("Command2"));
        for (int k = 1; k <= 5; ++k)
            for (int i = 0; i < picker->list(k)->count(); ++i)
                EXPECT_EQ(picker->list(k)->item(i)->checkState(), Qt::Checked);
        return 0;
    });
    setText(QStringLiteral("Text18"), QStringLiteral("7"));
    click(QStringLiteral("Command36"));
    EXPECT_TRUE(shown);
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text15"))->text(), QStringLiteral("0,3"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text18"))->text(), QString());
}

TEST_F(FilterFramesWindow, OmissionPickerOnAnEmptyHistory) {
    app.setHistory(common::DrawHistory());
    OmissionPicker picker(*form, app);
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("遗漏过滤 []"));
    EXPECT_EQ(picker.list(1)->count(), 1);
    EXPECT_EQ(picker.list(3)->count(), 10);
    EXPECT_EQ(picker.list(5)->item(0)->text(), QStringLiteral("000"));
}

}  // namespace
