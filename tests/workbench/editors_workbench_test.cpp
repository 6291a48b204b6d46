// The condition editors over the real workbench: each start button runs its family through
// the batch filters; the pool, the log, the description and the family boxes are checked.
#include "common/settings.h"
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/drawhistory.h"
#include "common/numbertables.h"
#include "dialogs/editorframe.h"
#include "dialogs/sumeditor.h"
#include "dialogs/positionexclusioneditor.h"
#include "dialogs/optioneditor.h"
#include "dialogs/onedigiteditor.h"
#include "dialogs/patterneditor.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"
#include "hookreset.h"
#include "presses.h"
#include "testsupport.h"
#include "workbenchfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>

namespace {

using dialogs::ArrayName;

class EditorsTest : public WorkbenchFixture {
protected:
    void SetUp() override {
        // Newest draw 936 for the last-draw families.
        app.setHistory(common::DrawHistory(QStringList{QStringLiteral("2024001 123"), QStringLiteral("2024002 936")}));
        common::SaveUseAllDraws(true);
        recorder = std::make_unique<ui::MessageRecorder>();
        form = std::make_unique<WorkbenchWindow>(app);
        recorder->messages.clear();  // the smart-system gate of the first opening
    }
    ui::FileDialogAnswerScope fileDialogs;  // no answer left behind for the next test
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    void TearDown() override {
        form.reset();
        recorder.reset();
    }

    template <class T>
    static T* in(QWidget* window, const QString& name) {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(QWidget* window, const QString& name) { in<QPushButton>(window, name)->click(); }
    void tick(QWidget* window, const QString& name, bool on = true) { in<QCheckBox>(window, name)->setChecked(on); }
    void buildGroup() {
        get<QRadioButton>(QStringLiteral("Option2"))->click();
        get<QPushButton>(QStringLiteral("Command1"))->click();
    }
    // Presses a workbench opener; `user` acts in the modal editor.
    void open(const QString& opener, const std::function<void(QDialog*)>& user) {
        int shown = 0;
        ui::SetModalHandler([&](QDialog* d) {
            ++shown;
            user(d);
            return 0;
        });
        get<QPushButton>(opener)->click();
        ui::SetModalHandler({});
        EXPECT_EQ(shown, 1) << opener.toStdString();
    }
    QString description() const { return form->session().setDescription; }
};

TEST_F(EditorsTest, TypicalRequestGroup012ThenUndo) {
    buildGroup();
    ASSERT_EQ(numbers().size(), 220);
    const QString before = log();
    open(QStringLiteral("Command18"), [&](QDialog* d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("Form6"));
        EXPECT_EQ(d->windowTitle(), QStringLiteral("组合过滤"));
        EXPECT_EQ(in<QTabWidget>(d, QStringLiteral("SSTab1"))->currentIndex(), 0);
        QCheckBox* box = in<QCheckBox>(d, ArrayName(QStringLiteral("Check1"), 9));
        EXPECT_EQ(box->text(), QStringLiteral("021"));
        box->setChecked(true);
        click(d, QStringLiteral("Command17"));
    });
    EXPECT_EQ(numbers().size(), 202);
    EXPECT_FALSE(numbers().contains(QStringLiteral("112")));
    EXPECT_TRUE(numbers().contains(QStringLiteral("222")));
    const QString added = log().mid(before.size());
    EXPECT_TRUE(added.startsWith(QStringLiteral("\n组选012路过滤开始\n"))) << added.toStdString();
    EXPECT_TRUE(added.endsWith(QStringLiteral("| \n组选012路： 021 \n过滤18注\n还剩202注\n"))) << added.toStdString();
    EXPECT_EQ(description(), QStringLiteral("组选过滤012路：021 "));
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("Check49"))->isChecked());
    EXPECT_EQ(get<QPlainTextEdit>(QStringLiteral("Text5"))->toPlainText(), log());

    // 撤消 from the editor brings the 220 back; the editor keeps its tick.
    in<QPushButton>(PatternEditor::instance(*form), QStringLiteral("Command19"))->click();
    EXPECT_EQ(numbers().size(), 220);
    EXPECT_TRUE(PatternEditor::instance(*form)->array(0)[9]->isChecked());
    in<QPushButton>(PatternEditor::instance(*form), QStringLiteral("Command18"))->click();  // 恢复
    EXPECT_EQ(numbers().size(), 202);
}

TEST_F(EditorsTest, EachPatternTabRunsItsFamilyAlone) {
    struct Case {
        int tab;
        const char* opener;
        const char* start;
        const char* familyBox;
        int box;
        const char* caption;
        QStringList removed;
        QStringList kept;
        const char* header;
        const char* label;
        const char* description;
    };
    const Case cases[] = {
        {1, "Command19", "Command22", "Check50", 15, "012", {"012", "015", "042"}, {"021"}, "单选012路过滤开始",
         "单选012路： ", "单选过滤012路："},
        {2, "Command26", "Command23", "Check11", 4, "奇偶偶", {"500", "924"}, {"555", "050"}, "奇偶组合过滤开始",
         "奇偶组合： ", "奇偶组合："},
        {3, "Command32", "Command24", "Check3", 1, "质质合", {"230", "578"}, {"235", "023"}, "质合组合过滤开始",
         "质合组合： ", "质合组合："},
        {4, "Command27", "Command25", "Check12", 6, "大大小", {"590", "994"}, {"595", "059"}, "大小组合过滤开始",
         "大小组合： ", "大小组合："},
        {5, "Command41", "Command26", "Check24", 15, "大中小", {"730", "952"}, {"703"}, "大中小过滤开始", "大中小： ",
         "大中小："},
        {6, "Command46", "Command27", "Check34", 5, "123", {"150", "051"}, {"155"}, "1234组选过滤开始", "1234组选： ",
         "组选1234："},
        {7, "Command50", "Command28", "Check59", 27, "234", {"056", "258"}, {"650"}, "1234单选过滤开始", "1234单选： ",
         "单选1234："},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        load(common::AllNumbers());
        // Boxes the user ticked on the workbench do not run: the start button clears them.
        get<QCheckBox>(QStringLiteral("Check49"))->setChecked(true);
        get<QCheckBox>(QStringLiteral("Check12"))->setChecked(c.tab != 4);
        const QString before = log();
        open(QString::fromLatin1(c.opener), [&](QDialog* d) {
            EXPECT_EQ(in<QTabWidget>(d, QStringLiteral("SSTab1"))->currentIndex(), c.tab);
            QCheckBox* box = PatternEditor::instance(*form)->array(c.tab)[c.box];
            EXPECT_EQ(box->text(), QString::fromUtf8(c.caption));
            box->setChecked(true);
            click(d, QString::fromLatin1(c.start));
            box->setChecked(false);
        });
        for (const QString& n : c.removed) EXPECT_FALSE(numbers().contains(n)) << n.toStdString();
        for (const QString& n : c.kept) EXPECT_TRUE(numbers().contains(n)) << n.toStdString();
        const QString added = log().mid(before.size());
        const QString label = QString::fromUtf8(c.label) + QString::fromUtf8(c.caption) + QStringLiteral(" \n");
        EXPECT_TRUE(added.startsWith(QStringLiteral("\n") + QString::fromUtf8(c.header) + QStringLiteral("\n")))
            << added.toStdString();
        EXPECT_TRUE(added.contains(label)) << added.toStdString();
        EXPECT_EQ(added.count(QStringLiteral("开始")), 1);
        EXPECT_TRUE(added.endsWith(QStringLiteral("还剩") + QString::number(numbers().size()) + QStringLiteral("注\n")));
        EXPECT_EQ(description(), QString::fromUtf8(c.description) + QString::fromUtf8(c.caption) + QLatin1Char(' '));
        for (const char* box : {"Check49", "Check50", "Check11", "Check3", "Check12", "Check24", "Check34", "Check59"})
            EXPECT_FALSE(get<QCheckBox>(QString::fromLatin1(box))->isChecked()) << box;
    }
}

TEST_F(EditorsTest, StartWithoutBaseSetOnlyRefuses) {
    get<QCheckBox>(QStringLiteral("Check50"))->setChecked(true);
    get<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);
    const QString before = log();
    const int snapshots = form->session().ring.index();
    PatternEditor::instance(*form)->array(0)[0]->setChecked(true);
    SumEditor::instance(*form)->sums()[3]->setChecked(true);
    const std::function<void()> starts[] = {
        [this] { click(PatternEditor::instance(*form), QStringLiteral("Command17")); }, [this] { click(SumEditor::instance(*form), QStringLiteral("Command7")); },
        [this] { click(OneDigitEditor::instance(*form), QStringLiteral("Command8")); }, [this] { click(OptionEditor::instance(*form), QStringLiteral("Command1")); },
        [this] { open(QStringLiteral("Command15"), [](QDialog* d) { testsupport::Press(d, QStringLiteral("Command25")); }); }};
    for (const auto& start : starts) {
        recorder->messages.clear();
        start();
        ASSERT_EQ(recorder->messages.size(), 1);
        EXPECT_EQ(recorder->messages[0].text, QStringLiteral("你还没有组装要过滤的号码，请先设置大底后再过滤号码。"));
        EXPECT_EQ(recorder->messages[0].icon, ui::Icon::Information);
        EXPECT_EQ(recorder->messages[0].title, ui::kAppTitle);
    }
    EXPECT_EQ(log(), before);
    EXPECT_EQ(form->session().ring.index(), snapshots);
    EXPECT_TRUE(get<QCheckBox>(QStringLiteral("Check50"))->isChecked());
    EXPECT_TRUE(get<QCheckBox>(QStringLiteral("Check1"))->isChecked());
}

TEST_F(EditorsTest, EmptiedPoolStillStartsAndLogsAStep) {
    load({QStringLiteral("123")});
    SumEditor::instance(*form)->sums()[6]->setChecked(true);
    click(SumEditor::instance(*form), QStringLiteral("Command7"));
    ASSERT_TRUE(numbers().isEmpty());
    const int snapshots = form->session().ring.index();
    click(SumEditor::instance(*form), QStringLiteral("Command7"));
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n和值过滤开始\n\n和值： 6 \n过滤0注\n还剩0注\n")));
    EXPECT_EQ(form->session().ring.index(), snapshots % 10 + 1);
    EXPECT_TRUE(recorder->messages.isEmpty());
}

TEST_F(EditorsTest, SumEditorWithRoutePresets) {
    buildGroup();
    open(QStringLiteral("Command28"), [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("和值过滤"));
        auto* preset = in<QComboBox>(d, QStringLiteral("Combo1"));
        testsupport::Choose(preset, 2);  // 1路
        testsupport::Choose(preset, 3);  // 2路 adds
        EXPECT_EQ(dialogs::TickedIndexes(SumEditor::instance(*form)->sums()).size(), 18);
        click(d, QStringLiteral("Command7"));
    });
    // Only sums of route 0 are left.
    for (const QString& n : numbers()) {
        const int sum = n.at(0).digitValue() + n.at(1).digitValue() + n.at(2).digitValue();
        EXPECT_EQ(sum % 3, 0) << n.toStdString();
    }
    EXPECT_TRUE(log().contains(QStringLiteral("\n和值： 1 2 4 5 7 8 10 11 13 14 16 17 19 20 22 23 25 26 \n过滤")));
    EXPECT_EQ(description(), QStringLiteral("和值过滤：1 2 4 5 7 8 10 11 13 14 16 17 19 20 22 23 25 26 "));
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("Check1"))->isChecked());

    // "请选择条件" clears; 反选 then ticks all 28 and shows the prompt without applying it.
    SumEditor* sums = SumEditor::instance(*form);
    auto* preset = in<QComboBox>(sums, QStringLiteral("Combo1"));
    testsupport::Choose(preset, 0);
    EXPECT_TRUE(dialogs::TickedIndexes(sums->sums()).isEmpty());
    testsupport::Choose(preset, 1);  // 0路
    click(sums, QStringLiteral("Command2"));
    EXPECT_EQ(dialogs::TickedIndexes(sums->sums()).size(), 18);
    EXPECT_EQ(preset->currentIndex(), 0);
    click(sums, QStringLiteral("Command3"));
    EXPECT_TRUE(dialogs::TickedIndexes(sums->sums()).isEmpty());
}

TEST_F(EditorsTest, OneDModesAndTheNoFilterSetting) {
    const char* const labels[4] = {"正1D  ： ", "负1D  ： ", "反正1D： ", "反负1D： "};
    // 123 has 正1D 8, 负1D 0, 反正1D 2, 反负1D 2.
    const int values[4] = {8, 0, 2, 2};
    for (int m = 0; m < 4; ++m) {
        SCOPED_TRACE(m);
        load(common::AllNumbers());
        OneDigitEditor* editor = OneDigitEditor::instance(*form);
        for (int k = 0; k < 4; ++k) dialogs::ClearTicks(editor->values(k));
        editor->values(m)[values[m]]->setChecked(true);
        const QString before = log();
        open(QStringLiteral("Command53"), [&](QDialog* d) { click(d, QStringLiteral("Command8")); });
        EXPECT_FALSE(numbers().contains(QStringLiteral("123")));
        const QString added = log().mid(before.size());
        EXPECT_TRUE(added.startsWith(QStringLiteral("\n单选1D过滤开始\n")));
        EXPECT_TRUE(added.contains(QString::fromUtf8(labels[m]) + QString::number(values[m]) + QStringLiteral(" \n过滤")))
            << added.toStdString();
        EXPECT_EQ(added.count(QStringLiteral("1D")), 2);  // the header and one mode line
        EXPECT_TRUE(added.endsWith(QStringLiteral("还剩") + QString::number(numbers().size()) + QStringLiteral("注\n")));
        EXPECT_FALSE(get<QCheckBox>(QStringLiteral("Check26"))->isChecked());
    }

    // A mode set to 不过滤 disables its boxes and filters nothing, though they stay ticked.
    load(common::AllNumbers());
    OneDigitEditor* editor = OneDigitEditor::instance(*form);
    auto* mode = in<QComboBox>(editor, QStringLiteral("Combo4"));
    testsupport::Choose(mode, 0);
    EXPECT_FALSE(editor->values(3)[2]->isEnabled());
    EXPECT_TRUE(editor->values(3)[2]->isChecked());
    click(editor, QStringLiteral("Command8"));
    EXPECT_EQ(numbers().size(), 1000);
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n单选1D过滤开始\n过滤0注\n还剩1000注\n")));
    EXPECT_TRUE(description().isEmpty());
    testsupport::Choose(mode, 1);  // 单选过滤
    EXPECT_TRUE(editor->values(3)[2]->isEnabled());
    click(editor, QStringLiteral("Command8"));
    EXPECT_EQ(description(), QStringLiteral("反负1D： 2 \n"));
    int expected = 0;  // 反负1D = (|a - b| + |b - c|) mod 10
    for (int n = 0; n < 1000; ++n) expected += (std::abs(n / 100 - n / 10 % 10) + std::abs(n / 10 % 10 - n % 10)) % 10 == 2;
    EXPECT_EQ(numbers().size(), 1000 - expected);
    EXPECT_FALSE(numbers().contains(QStringLiteral("123")));
}

TEST_F(EditorsTest, PositionalPatternsWithWildcards) {
    load({QStringLiteral("102"), QStringLiteral("112"), QStringLiteral("122"), QStringLiteral("320"),
          QStringLiteral("345")});
    open(QStringLiteral("Command15"), [&](QDialog* d) {
        auto* editor = static_cast<PositionExclusionEditor*>(d);
        EXPECT_TRUE(editor->patterns().isEmpty());
        in<QPlainTextEdit>(d, QStringLiteral("Text1"))->setPlainText(QStringLiteral("  1*2, *2* 9 "));
        click(d, QStringLiteral("Command15"));
        EXPECT_EQ(editor->patterns(), QStringList({QStringLiteral("*2*"), QStringLiteral("1*2")}));
        click(d, QStringLiteral("Command25"));
    });
    EXPECT_EQ(form->model().conditions.positionPatterns, QStringList({QStringLiteral("*2*"), QStringLiteral("1*2")}));
    EXPECT_EQ(numbers(), QStringList({QStringLiteral("345")}));
    // 122 matches both patterns and is logged once.
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n定位过滤开始\n122| 320| 102| 112| \n过滤4注\n还剩1注\n")))
        << log().toStdString();
    EXPECT_EQ(description(), QStringLiteral("定位过滤"));
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("Check58"))->isChecked());

    // The next opening starts from the saved patterns; leaving without saving keeps them.
    open(QStringLiteral("Command15"), [&](QDialog* d) {
        auto* editor = static_cast<PositionExclusionEditor*>(d);
        EXPECT_EQ(editor->patterns().size(), 2);
        click(editor, QStringLiteral("Command20"));
        recorder->answer = ui::Answer::No;
        click(editor, QStringLiteral("Command18"));
        EXPECT_EQ(recorder->lastText(), QStringLiteral("是否保存设置的定位号码条件？"));
    });
    EXPECT_EQ(form->findChild<PositionExclusionEditor*>(), nullptr);  // unloaded
    EXPECT_EQ(form->model().conditions.positionPatterns.size(), 2);
}

TEST_F(EditorsTest, OptionTabsOneAtATime) {
    struct Case {
        const char* opener;
        int tab;
        const char* caption;
        QList<int> boxes;
        const char* familyBox;
        const char* label;
        const char* items;
        const char* description;
        QStringList removed;
        QStringList kept;
    };
    const Case cases[] = {
        {"Command39", 0, "升降序", {7, 12}, "Check9", "ABC类型：", "ABC CBA ", "升降序过滤：", {"123", "321"}, {"132"}},
        {"Command56", 1, "均值", {0, 9}, "Check27", "均值：", "0 9 ", "均值过滤：", {"000", "999", "002"}, {"003"}},
        {"Command60", 2, "AC值", {0, 2}, "Check25", "AC值：", "1 3 ", "AC值过滤：", {"555", "139"}, {"123", "112"}},
        {"Command61", 3, "直落号", {3}, "Check69", "直落号：", "3 ", "直落号过滤：", {"369", "693"}, {"366"}},
        {"Command59", 4, "斜连值", {3}, "Check60", "斜连值：", "3 ", "斜连值过滤：", {"542"}, {"123"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        load(common::AllNumbers());
        const QString before = log();
        open(QString::fromLatin1(c.opener), [&](QDialog* d) {
            EXPECT_EQ(d->windowTitle(), QString::fromUtf8(c.caption));
            auto* tabs = in<QTabWidget>(d, QStringLiteral("SSTab1"));
            EXPECT_EQ(tabs->currentIndex(), c.tab);
            for (int t = 0; t < OptionEditor::kTabs; ++t) EXPECT_EQ(tabs->isTabVisible(t), t == c.tab) << t;
            for (int b : c.boxes) OptionEditor::instance(*form)->array(c.tab)[b]->setChecked(true);
            click(d, QStringLiteral("Command1"));
        });
        for (const QString& n : c.removed) EXPECT_FALSE(numbers().contains(n)) << n.toStdString();
        for (const QString& n : c.kept) EXPECT_TRUE(numbers().contains(n)) << n.toStdString();
        const QString added = log().mid(before.size());
        EXPECT_TRUE(added.contains(QStringLiteral("\n") + QString::fromUtf8(c.label) + QString::fromUtf8(c.items) +
                                   QStringLiteral("\n过滤")))
            << added.toStdString();
        EXPECT_EQ(description(), QString::fromUtf8(c.description) + QString::fromUtf8(c.items));
        EXPECT_FALSE(get<QCheckBox>(QString::fromLatin1(c.familyBox))->isChecked());
    }
    // The ticks of a tab stay while the editor is opened on another one.
    EXPECT_TRUE(OptionEditor::instance(*form)->array(2)[2]->isChecked());
}

TEST_F(EditorsTest, MakeBaseFromAnEditorConfirmsAndShowsItAgain) {
    QDir(dir.path()).mkpath(QStringLiteral("HAO"));
    buildGroup();
    PatternEditor* editor = PatternEditor::instance(*form);
    editor->array(0)[3]->setChecked(true);
    int reshown = 0;
    ui::SetModalHandler([&](QDialog* d) {
        EXPECT_EQ(d, editor);
        ++reshown;
        return 0;
    });
    click(editor, QStringLiteral("Command20"));
    ui::SetModalHandler({});
    EXPECT_EQ(reshown, 1);
    EXPECT_EQ(recorder->lastText(), description() + QStringLiteral("\n保存大底成功！"));
    EXPECT_TRUE(editor->array(0)[3]->isChecked());
    EXPECT_TRUE(QFileInfo::exists(form->lastCollectionPath()));
}

TEST_F(EditorsTest, MakeBaseInsideTheModalLoopShowsTheEditorAgain) {
    // A real modal loop: the editor must come back after the save with its unsaved list.
    QDir(dir.path()).mkpath(QStringLiteral("HAO"));
    buildGroup();
    bool backAfterSave = false;
    QStringList listAfterSave;
    QObject driver;
    QTimer::singleShot(0, &driver, [&] {
        PositionExclusionEditor* editor = form->findChild<PositionExclusionEditor*>();
        ASSERT_NE(editor, nullptr);
        editor->CheckForDupes(QStringLiteral("1*2"));
        testsupport::Press(editor, QStringLiteral("Command24"));  // [做大底]
        // Runs only while the editor's modal loop is still going.
        QTimer::singleShot(0, &driver, [&, editor] {
            backAfterSave = editor->isVisible();
            listAfterSave = editor->patterns();
            editor->hide();
        });
    });
    get<QPushButton>(QStringLiteral("Command15"))->click();
    EXPECT_TRUE(backAfterSave);
    EXPECT_EQ(listAfterSave, QStringList({QStringLiteral("1*2")}));
    EXPECT_EQ(recorder->lastText(), description() + QStringLiteral("\n保存大底成功！"));
    EXPECT_TRUE(QFileInfo::exists(form->lastCollectionPath()));
    EXPECT_EQ(form->findChild<PositionExclusionEditor*>(), nullptr);  // unloaded once closed
}

TEST_F(EditorsTest, EditorsHideOnCloseAndKeepTheirTicks) {
    PatternEditor* editor = PatternEditor::instance(*form);
    editor->array(7)[63]->setChecked(true);
    EXPECT_EQ(editor->array(7)[63]->text(), QStringLiteral("444"));
    editor->show();
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(PatternEditor::instance(*form), editor);
    EXPECT_TRUE(editor->array(7)[63]->isChecked());
    // Opening on another tab shows that tab.
    open(QStringLiteral("Command41"), [&](QDialog* d) {
        EXPECT_EQ(in<QTabWidget>(d, QStringLiteral("SSTab1"))->currentIndex(), 5);
    });
}

// The editors and the workbench's own controls show the model and write back to it.
TEST_F(EditorsTest, EditorsAndControlsStayInStepWithTheModel) {
    pool::WorkbenchModel& model = form->model();
    // A tick set in the model shows when the editor opens; a toggle in the editor writes it.
    model.conditions.sums[5] = true;
    open(QStringLiteral("Command28"), [&](QDialog* d) {
        auto* editor = static_cast<SumEditor*>(d);
        EXPECT_TRUE(editor->sums()[5]->isChecked());
        editor->sums()[6]->setChecked(true);
        editor->sums()[5]->setChecked(false);
    });
    EXPECT_FALSE(model.conditions.sums[5]);
    EXPECT_TRUE(model.conditions.sums[6]);
    PatternEditor::instance(*form)->array(3)[2]->setChecked(true);
    EXPECT_TRUE(model.conditions.patterns[3][2]);

    // Family boxes, inputs and the base-set choice.
    get<QCheckBox>(QStringLiteral("Check11"))->setChecked(true);
    EXPECT_TRUE(model.conditions.basicFamilies[2]);
    form->setInput(pool::InputBox::TwoCodes, QStringLiteral("12,34"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("12,34"));
    get<QLineEdit>(QStringLiteral("Text13"))->setText(QStringLiteral("1,2"));
    EXPECT_EQ(model.input(pool::InputBox::PositionDigits2), QStringLiteral("1,2"));
    get<QPlainTextEdit>(QStringLiteral("Text29"))->setPlainText(QStringLiteral("x"));
    EXPECT_EQ(model.input(pool::InputBox::Formula), QStringLiteral("x"));
    get<QRadioButton>(QStringLiteral("Option3"))->click();
    EXPECT_EQ(model.baseSet.choice, pool::BaseChoice::GroupThree);
    get<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(form->session().pool.size(), 90);

    // A batch run through the model unticks the family box on the window too.
    form->runBasicBatch();
    EXPECT_FALSE(model.conditions.basicFamilies[2]);
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("Check11"))->isChecked());
}

}  // namespace
