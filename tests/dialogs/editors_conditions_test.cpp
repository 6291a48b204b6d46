// The condition editors on their own, over a stand-in workbench: presets, clear and invert,
// the start contract with the family boxes, and the positional editor's list building.
#include "common/settings.h"
#include "common/appstate.h"
#include "common/drawhistory.h"
#include "common/numbertables.h"
#include "dialogs/editorframe.h"
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

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The workbench's model with its two groups of families, and its batch runs, counted, over the
// test's state.
class FamilyBench : public QWidget, public dialogs::WorkbenchApi {
public:
    explicit FamilyBench(common::AppState& state) : state_(state) {}
    pool::WorkbenchModel& model() override { return model_; }
    const common::AppState& state() const override { return state_; }
    QWidget* dialogParent() override { return this; }
    void setInput(pool::InputBox, const QString&) override {}
    void enterFilteringMode() override { baseSet = true; }
    void saveCollection() override {}
    void redo() override { ++redos; }
    void undo() override { ++undos; }
    void refillFormulaList() override {}
    void runBasicBatch() override { basicRuns << tickedBoxes(); }
    void runAdvancedBatch() override { advancedRuns << tickedBoxes(); }
    bool hasBaseSet() const override { return baseSet; }

    // The ticked families by the objectNames of their workbench boxes.
    QStringList tickedBoxes() {
        QStringList ticked;
        for (auto g : {dialogs::BatchGroup::Basic, dialogs::BatchGroup::Advanced}) {
            const auto& families = g == dialogs::BatchGroup::Basic ? model_.conditions.basicFamilies
                                                                   : model_.conditions.advancedFamilies;
            for (int f = 0; f < pool::kBatchFamilies; ++f)
                if (families[size_t(f)]) ticked << dialogs::FamilyBoxes(g)[f];
        }
        return ticked;
    }
    // Ticks the family whose workbench box has this objectName.
    void tick(const QString& name) {
        for (auto g : {dialogs::BatchGroup::Basic, dialogs::BatchGroup::Advanced}) {
            auto& families = g == dialogs::BatchGroup::Basic ? model_.conditions.basicFamilies
                                                             : model_.conditions.advancedFamilies;
            const int f = int(dialogs::FamilyBoxes(g).indexOf(name));
            if (f >= 0) families[size_t(f)] = true;
        }
    }
    bool baseSet = true;
    int undos = 0, redos = 0;
    QList<QStringList> basicRuns, advancedRuns;

private:
    common::AppState& state_;
    pool::WorkbenchModel model_;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder = std::make_unique<ui::MessageRecorder>();
        bench = std::make_unique<FamilyBench>(app);
    }
    ui::FileDialogAnswerScope fileDialogs;  // no answer left behind for the next test
    void TearDown() override {
        bench.reset();
        recorder.reset();
    }
    static int ticked(const QList<QCheckBox*>& boxes) { return int(dialogs::TickedIndexes(boxes).size()); }

    common::AppState app;  // fresh for each test: not quitting, no history
    std::unique_ptr<ui::MessageRecorder> recorder;
    std::unique_ptr<FamilyBench> bench;
};

TEST_F(EditorTest, StartLeavesOnlyItsFamilyBoxTicked) {
    for (const char* name : {"Check49", "Check11", "Check12", "Check58"})
        bench->tick(QString::fromLatin1(name));
    testsupport::Press(PatternEditor::instance(*bench), QStringLiteral("Command17"));
    ASSERT_EQ(bench->basicRuns.size(), 1);
    // The advanced group is left alone.
    EXPECT_EQ(QSet<QString>(bench->basicRuns[0].begin(), bench->basicRuns[0].end()),
              QSet<QString>({QStringLiteral("Check49"), QStringLiteral("Check58")}));

    OptionEditor* options = OptionEditor::instance(*bench);
    options->tabs()->setCurrentIndex(3);
    testsupport::Press(options, QStringLiteral("Command1"));
    ASSERT_EQ(bench->advancedRuns.size(), 1);
    EXPECT_TRUE(bench->advancedRuns[0].contains(QStringLiteral("Check69")));
    EXPECT_FALSE(bench->advancedRuns[0].contains(QStringLiteral("Check58")));

    bench->baseSet = false;
    testsupport::Press(OneDigitEditor::instance(*bench), QStringLiteral("Command8"));
    EXPECT_EQ(bench->advancedRuns.size(), 1);
    EXPECT_EQ(recorder->lastText(), dialogs::NoBaseSetMessage());

    testsupport::Press(PatternEditor::instance(*bench), QStringLiteral("Command19"));
    testsupport::Press(OptionEditor::instance(*bench), QStringLiteral("Command5"));
    EXPECT_EQ(bench->undos, 1);
    EXPECT_EQ(bench->redos, 1);
}

TEST_F(EditorTest, PatternEditorCaptionsPresetsClearAndInvert) {
    PatternEditor* e = PatternEditor::instance(*bench);
    EXPECT_EQ(e->array(1)[15]->text(), QStringLiteral("012"));
    EXPECT_EQ(e->array(1)[1]->text(), QStringLiteral("100"));
    EXPECT_EQ(e->array(5)[1]->text(), QStringLiteral("中大大"));
    EXPECT_EQ(e->array(5)[3]->text(), QStringLiteral("大大中"));
    EXPECT_EQ(e->array(6)[19]->text(), QStringLiteral("444"));
    EXPECT_EQ(e->array(7)[27]->text(), QStringLiteral("234"));

    // 奇偶: "两奇一偶" adds 偶奇奇, 奇偶奇, 奇奇偶 and keeps 偶偶偶; 全清 resets the list.
    e->array(2)[0]->setChecked(true);
    auto* oddEven = e->findChild<QComboBox*>(QStringLiteral("Combo1"));
    testsupport::Choose(oddEven, 2);
    EXPECT_EQ(dialogs::TickedIndexes(e->array(2)), QList<int>({0, 3, 5, 6}));
    testsupport::Press(e, QStringLiteral("Command11"));
    EXPECT_EQ(ticked(e->array(2)), 0);
    EXPECT_EQ(oddEven->currentIndex(), 0);
    // 质合 "两质一合" ticks 质质合, 质合质, 合质质.
    auto* prime = e->findChild<QComboBox*>(QStringLiteral("Combo3"));
    testsupport::Choose(prime, 2);
    EXPECT_EQ(dialogs::TickedIndexes(e->array(3)), QList<int>({1, 2, 4}));

    // 反选 twice restores; 全清 then 反选 ticks every box.
    e->array(1)[4]->setChecked(true);
    testsupport::Press(e, QStringLiteral("Command2"));
    EXPECT_EQ(ticked(e->array(1)), 26);
    testsupport::Press(e, QStringLiteral("Command2"));
    EXPECT_EQ(dialogs::TickedIndexes(e->array(1)), QList<int>({4}));
    testsupport::Press(e, QStringLiteral("Command3"));
    testsupport::Press(e, QStringLiteral("Command2"));
    EXPECT_EQ(ticked(e->array(1)), 27);
}

TEST_F(EditorTest, OptionAndOneDEditorsPresets) {
    OptionEditor* o = OptionEditor::instance(*bench);
    auto* shapes = o->findChild<QComboBox*>(QStringLiteral("Combo1"));
    testsupport::Choose(shapes, 1);  // 升组合
    testsupport::Choose(shapes, 2);  // 降组合
    EXPECT_EQ(dialogs::TickedIndexes(o->array(0)), QList<int>({7, 12}));
    testsupport::Choose(shapes, 6);  // 偏组合
    EXPECT_EQ(ticked(o->array(0)), 8);
    testsupport::Choose(shapes, 0);
    EXPECT_EQ(ticked(o->array(0)), 0);
    o->array(1)[0]->setChecked(true);
    o->array(1)[9]->setChecked(true);
    testsupport::Press(o, QStringLiteral("Command3"));
    EXPECT_EQ(dialogs::TickedIndexes(o->array(1)), QList<int>({1, 2, 3, 4, 5, 6, 7, 8}));

    OneDigitEditor* d = OneDigitEditor::instance(*bench);
    EXPECT_EQ(d->modeList(0)->currentIndex(), -1);  // no mode chosen at first: boxes apply
    d->values(1)[3]->setChecked(true);
    testsupport::Press(d, QStringLiteral("Command10"));  // 反选 of 正1D only
    EXPECT_EQ(ticked(d->values(0)), 10);
    EXPECT_EQ(dialogs::TickedIndexes(d->values(1)), QList<int>({3}));
    EXPECT_EQ(d->filteredValues(1), QList<int>({3}));
    testsupport::Choose(d->modeList(1), 0);
    EXPECT_TRUE(d->filteredValues(1).isEmpty());
}

// ---- Positional exclusion editor -------------------------------------------------------

class PositionalTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        bench->model().conditions.positionPatterns.clear();
        editor = new PositionExclusionEditor(*bench);
    }
    void type(int box, const QString& key) {
        auto* line = editor->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(9 + box));
        QKeyEvent press(QEvent::KeyPress, key == QLatin1String("\b") ? Qt::Key_Backspace : Qt::Key_X, Qt::NoModifier,
                        key);
        QCoreApplication::sendEvent(line, &press);
    }
    void collect(const QString& text) {
        editor->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->setPlainText(text);
        testsupport::Press(editor, QStringLiteral("Command15"));
    }
    PositionExclusionEditor* editor = nullptr;
};

TEST_F(PositionalTest, HandEntryGenerationAndCollection) {
    testsupport::Press(editor, QStringLiteral("Command2"));  // three "*": nothing
    EXPECT_TRUE(editor->patterns().isEmpty());
    type(0, QStringLiteral("5"));
    type(1, QStringLiteral("x"));
    type(2, QStringLiteral("3"));
    testsupport::Press(editor, QStringLiteral("Command2"));
    testsupport::Press(editor, QStringLiteral("Command2"));
    EXPECT_EQ(editor->patterns(), QStringList({QStringLiteral("5*3")}));

    auto box = [&](int row, int i) {
        return editor->findChild<QCheckBox*>(dialogs::ArrayName(QStringLiteral("Check%1").arg(row), i));
    };
    testsupport::Press(editor, QStringLiteral("Command20"));
    box(1, 3)->setChecked(true);
    box(2, 10)->setChecked(true);
    box(3, 0)->setChecked(true);
    box(3, 1)->setChecked(true);
    testsupport::Press(editor, QStringLiteral("Command14"));
    EXPECT_EQ(editor->patterns(), QStringList({QStringLiteral("3*0"), QStringLiteral("3*1")}));

    testsupport::Press(editor, QStringLiteral("Command20"));
    collect(QStringLiteral("12*3,45 6"));
    EXPECT_EQ(editor->patterns(), QStringList({QStringLiteral("12*"), QStringLiteral("345")}));
    collect(QStringLiteral("***,123"));
    EXPECT_EQ(editor->patterns().size(), 3);
    collect(QStringLiteral("可以从论坛复制垃圾号码到这里采集"));
    EXPECT_EQ(editor->patterns().size(), 3);
    // A shorter text is refused when a row starts with it.
    editor->CheckForDupes(QStringLiteral("12"));
    EXPECT_EQ(editor->patterns().size(), 3);

    testsupport::WaitForTick(editor, QStringLiteral("Timer1"));
    EXPECT_EQ(editor->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("3组"));
    editor->selectRow(0);
    auto* list = editor->findChild<QListView*>(QStringLiteral("List1"));
    emit list->doubleClicked(list->currentIndex());
    EXPECT_EQ(editor->patterns(), QStringList({QStringLiteral("123"), QStringLiteral("345")}));
}

TEST_F(PositionalTest, ReadyMadeSetsAndDigitOrders) {
    editor->CheckForDupes(QStringLiteral("5*3"));
    testsupport::Trigger(editor, QStringLiteral("menu_4"));
    EXPECT_EQ(editor->patterns(), common::GroupThreeTable());
    testsupport::Trigger(editor, QStringLiteral("menu_6"));
    EXPECT_EQ(editor->patterns().size(), 10);
    EXPECT_TRUE(editor->findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText().isEmpty());
    // Called one by one: GCC 12's -fsanitize=vptr at -O2 reads an unsaved `this` when a loop
    // calls through pointers to these (non-virtual) members, so the sanitizer run crashed here.
    testsupport::Trigger(editor, QStringLiteral("menu_6"));
    QStringList six = editor->patterns();
    testsupport::Trigger(editor, QStringLiteral("meun_7"));
    six += editor->patterns();
    testsupport::Trigger(editor, QStringLiteral("menu_8"));
    six += editor->patterns();
    six.sort();
    EXPECT_EQ(six, common::GroupSixTable());

    testsupport::Press(editor, QStringLiteral("Command20"));
    editor->CheckForDupes(QStringLiteral("1*2"));
    testsupport::Press(editor, QStringLiteral("Command19"));
    EXPECT_EQ(editor->patterns(), QStringList({"*12", "*21", "1*2", "12*", "2*1", "21*"}));
    testsupport::Press(editor, QStringLiteral("Command20"));
    editor->CheckForDupes(QStringLiteral("112"));
    testsupport::Press(editor, QStringLiteral("Command19"));
    EXPECT_EQ(editor->patterns(), QStringList({"112", "121", "211"}));
}

TEST_F(PositionalTest, DrawnAndUndrawnAreComplementary) {
    app.setHistory(common::DrawHistory(QStringList{"2024001 123", "2024002 456", "2024003 123", "2024004 789"}));
    common::SaveUseAllDraws(false);
    app.setRange(1, 2);  // 456 and 123
    testsupport::Trigger(editor, QStringLiteral("meun_3"));
    EXPECT_EQ(editor->patterns(), QStringList({"123", "456"}));
    testsupport::Trigger(editor, QStringLiteral("menu_2"));
    EXPECT_EQ(editor->patterns().size(), 998);
    EXPECT_FALSE(editor->patterns().contains(QStringLiteral("456")));
    EXPECT_TRUE(editor->patterns().contains(QStringLiteral("789")));
}

TEST_F(PositionalTest, FailedImportKeepsTheListAndSaysWhy) {
    QTemporaryDir tmp;
    editor->CheckForDupes(QStringLiteral("5*3"));
    ui::SetFileDialogAnswer([&](const ui::FileDialogRequest&) { return QStringList{tmp.filePath(QStringLiteral("missing.txt"))}; });
    testsupport::Trigger(editor, QStringLiteral("menu_10"));
    EXPECT_EQ(editor->patterns(), QStringList({QStringLiteral("5*3")}));
    EXPECT_TRUE(recorder->lastText().startsWith(QStringLiteral("无法读取文件："))) << recorder->lastText().toStdString();

    QFile empty(tmp.filePath(QStringLiteral("none.txt")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.write("no numbers here");
    empty.close();
    ui::SetFileDialogAnswer([&](const ui::FileDialogRequest&) { return QStringList{empty.fileName()}; });
    testsupport::Trigger(editor, QStringLiteral("menu_10"));
    EXPECT_EQ(editor->patterns(), QStringList({QStringLiteral("5*3")}));
    EXPECT_TRUE(recorder->lastText().startsWith(QStringLiteral("文件中没有找到号码：")));

    QFile good(tmp.filePath(QStringLiteral("good.txt")));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write(" 1*2 \r\n 345 ");
    good.close();
    ui::SetFileDialogAnswer([&](const ui::FileDialogRequest&) { return QStringList{good.fileName()}; });
    testsupport::Trigger(editor, QStringLiteral("menu_10"));
    EXPECT_EQ(editor->patterns(), QStringList({QStringLiteral("1*2"), QStringLiteral("345")}));

    ui::SetFileDialogAnswer([](const ui::FileDialogRequest&) { return QStringList{QString()}; });  // cancelled
    testsupport::Trigger(editor, QStringLiteral("menu_10"));
    EXPECT_EQ(editor->patterns().size(), 2);
}

TEST_F(PositionalTest, SaveStepOnStartAndOnLeavingWithYes) {
    editor->CheckForDupes(QStringLiteral("9*9"));
    bench->baseSet = false;
    testsupport::Press(editor, QStringLiteral("Command25"));  // refused, but saved all the same
    EXPECT_EQ(bench->model().conditions.positionPatterns, QStringList({QStringLiteral("9*9")}));
    EXPECT_EQ(recorder->lastText(), dialogs::NoBaseSetMessage());
    editor->CheckForDupes(QStringLiteral("1**"));
    recorder->answer = ui::Answer::Yes;
    testsupport::Press(editor, QStringLiteral("Command18"));
    EXPECT_EQ(bench->model().conditions.positionPatterns, QStringList({QStringLiteral("1**"), QStringLiteral("9*9")}));
    EXPECT_EQ(recorder->messages.last().icon, ui::Icon::Question);
}

}  // namespace
