// The workbench window offscreen: real buttons pressed by name, pool, log, count and files checked.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/drawhistory.h"
#include "common/paths.h"
#include "common/settings.h"
#include "dialogs/setoperationswindow.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"
#include "buttonwalk.h"
#include "legibility.h"
#include "history/lottery.h"
#include "hookreset.h"
#include "testsupport.h"
#include "workbench/workbench.h"
#include "workbenchfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kInitialLog = QStringLiteral("准备就绪,请选择数据...\n");

// Oldest first; the newest is 2025002 123.
QStringList FixtureDraws() {
    return {"2024001 123", "2024002 456", "2024003 321", "2025001 789", "2025002 123"};
}

// What the workbench tells the windows it does not know: counted.
class CountingLinks : public workbench::WorkbenchLinks {
public:
    void workbenchClosed() override { ++closed; }
    void openSmartSystem(QWidget*) override { ++smartOpened; }
    int closed = 0;
    int smartOpened = 0;
};

class WorkbenchTest : public WorkbenchFixture {
protected:
    void SetUp() override {
        app.selectLottery(false, common::DrawFilePathFor(false), common::DrawHistory(FixtureDraws()));
        recorder = std::make_unique<ui::MessageRecorder>();
        make();
    }
    ui::FileDialogAnswerScope fileDialogs;  // no answer left behind for the next test
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    void TearDown() override {
        form.reset();
        recorder.reset();
    }
    void make() {
        form.reset();
        form = std::make_unique<WorkbenchWindow>(app);
        form->offerSmartSystem();  // as the opener does at the first opening
    }

    void select(const QString& option) { get<QRadioButton>(option)->click(); }
    QString countLabel() { return get<QLabel>(QStringLiteral("Label5"))->text(); }
};

TEST_F(WorkbenchTest, OpensInBuildingModeWithTheGateMessage) {
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_EQ(recorder->messages[0].text, QStringLiteral("开奖总期数累积达到600期以后,智能选号系统才能启动。"));
    EXPECT_EQ(recorder->messages[0].title, QStringLiteral("智能选号"));
    EXPECT_EQ(recorder->messages[0].icon, ui::Icon::Information);

    EXPECT_EQ(log(), kInitialLog);
    EXPECT_EQ(get<QPlainTextEdit>(QStringLiteral("Text5"))->toPlainText(), kInitialLog);
    EXPECT_TRUE(countLabel().isEmpty());
    EXPECT_FALSE(form->hasBaseSet());
    for (const char* on : {"Command1", "Command12", "Command21", "Command54", "Command11", "Command13", "Command70"})
        EXPECT_TRUE(get<QPushButton>(QString::fromLatin1(on))->isEnabled()) << on;
    for (const char* off : {"Command2", "Command4", "Command5", "Command7", "Command10", "Command14", "Command30",
                            "Command40", "Command43", "Command44", "Command63", "Command67"})
        EXPECT_FALSE(get<QPushButton>(QString::fromLatin1(off))->isEnabled()) << off;
    // Controls later filters use exist with their array indexes.
    for (const char* name : {"Check49", "Check58", "Check64", "Check66", "Command70", "Command71", "Text29", "Text28",
                             "Combo21", "Frame16", "Frame13", "Frame18", "Check31(0)", "Check31(7)", "Check32(11)",
                             "Check33(4)", "Check23(0)", "Check23(9)", "Text20"})
        EXPECT_NE(form->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(static_cast<dialogs::WorkbenchApi&>(*form).dialogParent(), form.get());  // the dialogs' parent
}

// Every visible button, option and clickable picture of the window and its tabs reaches a
// handler; the tick boxes hold conditions the filters read (Check67 has its own handler).
TEST_F(WorkbenchTest, EveryVisibleButtonReachesAHandler) {
    const testsupport::ButtonWalk walk{{QStringLiteral("Check*")}, {}};
    EXPECT_EQ(testsupport::UnboundButtons(form.get(), walk), QStringList{});
    EXPECT_GT(testsupport::WalkedButtonCount(form.get(), walk), 60);
    // Check67 is walked as a button of its own when the choices leave it out.
    const testsupport::ButtonWalk strict{{QStringLiteral("Check1*"), QStringLiteral("Check2*"), QStringLiteral("Check3*"),
                                          QStringLiteral("Check4*"), QStringLiteral("Check5*"), QStringLiteral("Check61"),
                                          QStringLiteral("Check62"), QStringLiteral("Check63"), QStringLiteral("Check68"),
                                          QStringLiteral("Check69"), QStringLiteral("Check7*"), QStringLiteral("Check8*"),
                                          QStringLiteral("Check9*")},
                                         {}};
    EXPECT_EQ(testsupport::UnboundButtons(form.get(), strict), QStringList{});
}

// The boxes the single filters, the omission filter, 定位组号 and the formula condition read are
// the model's: a change of the box is the model's change.
TEST_F(WorkbenchTest, FrameChoicesAreTheModels) {
    pool::WorkbenchModel& m = form->model();
    const struct {
        const char* box;
        bool* value;
    } boxes[] = {{"Check13", &m.common.row(pool::DigitRowKind::Pick)[0]},
                 {"Check23(0)", &m.common.row(pool::DigitRowKind::Exclude)[9]},
                 {"Check44", &m.common.row(pool::DigitRowKind::Span)[0]},
                 {"Check57", &m.common.row(pool::DigitRowKind::SumTail)[9]},
                 {"Check5", &m.omissionOn[0]},
                 {"Check82", &m.omissionOn[4]},
                 {"Check61", &m.baseSet.positionalCompound},
                 {"Check67", &m.formula.conditionOn}};
    for (const auto& b : boxes) {
        auto* box = get<QCheckBox>(QString::fromLatin1(b.box));
        EXPECT_EQ(*b.value, box->isChecked()) << b.box;
        box->setChecked(!box->isChecked());
        EXPECT_EQ(*b.value, box->isChecked()) << b.box;
    }
    select(QStringLiteral("Option10"));
    EXPECT_TRUE(m.common.twoCodeSelect);
    get<QComboBox>(QStringLiteral("Combo10"))->setCurrentIndex(2);
    EXPECT_EQ(m.common.twoCodePosition, 2);
    get<QLineEdit>(QStringLiteral("Text28"))->setText(QStringLiteral("x>1"));
    EXPECT_EQ(m.formula.condition, QStringLiteral("x>1"));
}

TEST_F(WorkbenchTest, GateStaysQuietWith600Draws) {
    QStringList draws;
    for (int i = 0; i < 600; ++i) draws << QStringLiteral("2020%1 %2").arg(i % 999 + 1, 3, 10, QLatin1Char('0')).arg(i % 1000, 3, 10, QLatin1Char('0'));
    app.setHistory(common::DrawHistory(draws));
    CountingLinks links;
    recorder->messages.clear();
    form.reset();
    form = std::make_unique<WorkbenchWindow>(app, nullptr, &links);
    EXPECT_EQ(links.smartOpened, 0);  // nothing the constructor builds opens another window
    form->offerSmartSystem();
    EXPECT_TRUE(recorder->messages.isEmpty());
    EXPECT_EQ(links.smartOpened, 1);
}

TEST_F(WorkbenchTest, LoadAndActivateFillTheLists) {
    // Fifteen draws ending with serial 345: Combo9 lists the eleven newest, Combo11 the serials
    // around the next issue.
    QStringList draws;
    for (int i = 0; i < 15; ++i) draws << QStringLiteral("2024%1 %2").arg(331 + i, 3, 10, QLatin1Char('0')).arg(i * 7, 3, 10, QLatin1Char('0'));
    app.setHistory(common::DrawHistory(draws));
    make();
    form->refreshFromState();
    auto* c9 = get<QComboBox>(QStringLiteral("Combo9"));
    ASSERT_EQ(c9->count(), 11);
    EXPECT_EQ(c9->itemText(0), QStringLiteral("028"));  // draw 5 of 15
    EXPECT_EQ(c9->itemText(10), QStringLiteral("098"));
    EXPECT_EQ(c9->currentText(), QStringLiteral("098"));
    auto* c11 = get<QComboBox>(QStringLiteral("Combo11"));
    ASSERT_EQ(c11->count(), 11);
    EXPECT_EQ(c11->currentText(), QStringLiteral("346"));
    EXPECT_EQ(c11->itemText(0), QStringLiteral("340"));
    EXPECT_EQ(c11->itemText(10), QStringLiteral("350"));

    struct Row { int combo; int first; int count; const char* selected; };
    const Row rows[] = {{5, 1, 100, "30"},  {6, 1, 100, "5"},   {13, 1, 100, "10"}, {20, 1, 100, "10"},
                        {7, 0, 28, "10"},   {8, 0, 28, "17"}};
    for (const Row& r : rows) {
        auto* c = get<QComboBox>(QStringLiteral("Combo%1").arg(r.combo));
        ASSERT_EQ(c->count(), r.count) << r.combo;
        EXPECT_EQ(c->itemText(0), QString::number(r.first)) << r.combo;
        EXPECT_EQ(c->currentText(), QLatin1String(r.selected)) << r.combo;
    }
    EXPECT_EQ(get<QComboBox>(QStringLiteral("Combo10"))->currentText(), QStringLiteral("全部"));
    EXPECT_EQ(get<QComboBox>(QStringLiteral("Combo21"))->currentText(), QStringLiteral("选择要过滤的万能公式"));
}

TEST_F(WorkbenchTest, EveryBaseSetWithItsCountLogAndDescription) {
    struct Row { const char* option; bool compound; int combo; int count; const char* first; const char* line; const char* description; };
    const Row rows[] = {
        {"Option1", true, 0, 1000, "000", "你选的是全部号码(复式)共1000注", "全部号码(复式)"},
        {"Option1", false, 0, 720, "012", "你选的是全部号码(单选)共720注", "全部号码(单选)"},
        {"Option2", true, 0, 220, "000", "你选的是全部组选共220注", "全部组选"},
        {"Option3", true, 0, 90, "001", "你选的是组三共90注", "组三"},
        {"Option4", true, 0, 120, "012", "你选的是组六(全部)共120注", "组六(全部)"},
        {"Option4", true, 1, 10, "012", "你选的是组六(顺子)共10注", "组六(顺子)"},
        {"Option4", true, 2, 60, "013", "你选的是组六(半顺)共60注", "组六(半顺)"},
        {"Option4", true, 3, 50, "024", "你选的是组六(杂六)共50注", "组六(杂六)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        click(QStringLiteral("Command58"));
        select(QString::fromLatin1(r.option));
        tick(QStringLiteral("Check51"), r.compound);
        get<QComboBox>(QStringLiteral("Combo12"))->setCurrentIndex(r.combo);
        click(QStringLiteral("Command1"));
        EXPECT_EQ(numbers().size(), r.count);
        EXPECT_EQ(numbers().first(), QLatin1String(r.first));
        EXPECT_EQ(get<QListView>(QStringLiteral("List1"))->model()->rowCount(), r.count);
        EXPECT_EQ(countLabel(), QStringLiteral("还剩：%1注").arg(r.count));
        EXPECT_EQ(log(), kInitialLog + QString::fromUtf8(r.line) + QStringLiteral("\n"));
        EXPECT_EQ(form->session().setDescription, QString::fromUtf8(r.description));
        EXPECT_TRUE(form->hasBaseSet());
        EXPECT_FALSE(get<QPushButton>(QStringLiteral("Command1"))->isEnabled());
    }
    // The 组六 options show the subset list; the others hide it and switch 复式.
    select(QStringLiteral("Option4"));
    EXPECT_FALSE(get<QComboBox>(QStringLiteral("Combo12"))->isHidden());
    EXPECT_FALSE(get<QCheckBox>(QStringLiteral("Check51"))->isEnabled());
    select(QStringLiteral("Option1"));
    EXPECT_TRUE(get<QComboBox>(QStringLiteral("Combo12"))->isHidden());
    EXPECT_TRUE(get<QCheckBox>(QStringLiteral("Check51"))->isEnabled());
}

TEST_F(WorkbenchTest, PositionalBuilder) {
    click(QStringLiteral("Command21"));
    EXPECT_EQ(numbers().size(), 1000);
    EXPECT_TRUE(log().endsWith(QStringLiteral("百位定位:0,1,2,3,4,5,6,7,8,9\n十位定位:0,1,2,3,4,5,6,7,8,9\n"
                                              "个位定位:0,1,2,3,4,5,6,7,8,9\n定位组号共生成1000注\n")));

    click(QStringLiteral("Command58"));
    get<QLineEdit>(QStringLiteral("Text12"))->setText(QStringLiteral(" 1,1 "));
    get<QLineEdit>(QStringLiteral("Text13"))->setText(QStringLiteral("2"));
    get<QLineEdit>(QStringLiteral("Text14"))->setText(QStringLiteral("3"));
    click(QStringLiteral("Command21"));
    EXPECT_EQ(numbers(), QStringList({"123", "123"}));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text12"))->text(), QStringLiteral("1,1"));
    EXPECT_EQ(form->session().setDescription, QStringLiteral("定位组号：1,1|2|3"));

    // A list without a single digit stops before anything changes.
    click(QStringLiteral("Command58"));
    get<QLineEdit>(QStringLiteral("Text12"))->setText(QStringLiteral("12"));
    click(QStringLiteral("Command21"));
    EXPECT_EQ(log(), kInitialLog);
    EXPECT_FALSE(form->hasBaseSet());
}

TEST_F(WorkbenchTest, ConversionsAppendToTheDescription) {
    select(QStringLiteral("Option2"));
    click(QStringLiteral("Command1"));
    click(QStringLiteral("Command30"));
    EXPECT_EQ(numbers().size(), 1000);
    click(QStringLiteral("Command31"));
    EXPECT_EQ(numbers().size(), 220);
    EXPECT_EQ(form->session().setDescription, QStringLiteral("全部组选=》组变单=》单变组"));
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n组变单\n\n单变组\n")));
}

TEST_F(WorkbenchTest, UndoRightAfterOpeningGivesAnEmptyPool) {
    click(QStringLiteral("Command52"));
    EXPECT_TRUE(numbers().isEmpty());
    EXPECT_EQ(countLabel(), QStringLiteral("还剩：0注"));
    EXPECT_EQ(log(), kInitialLog + QStringLiteral("\n返回上一步\n"));
    EXPECT_EQ(form->session().ring.index(), 10);
    EXPECT_FALSE(form->hasBaseSet());
}

TEST_F(WorkbenchTest, UndoAndRedoStepThroughTheRing) {
    select(QStringLiteral("Option2"));
    click(QStringLiteral("Command1"));
    tick(QStringLiteral("Check35"));  // span 0: the ten triples
    click(QStringLiteral("Command10"));
    ASSERT_EQ(numbers().size(), 210);
    click(QStringLiteral("Command52"));
    EXPECT_EQ(numbers().size(), 220);
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n返回上一步\n")));
    click(QStringLiteral("Command51"));
    EXPECT_EQ(numbers().size(), 210);
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n返回下一步\n")));
    EXPECT_EQ(form->session().setDescription, QStringLiteral("夸度过滤：0 "));

    // Ten commits, then ten undos: each earlier pool once, then the last commit again.
    click(QStringLiteral("Command58"));
    select(QStringLiteral("Option2"));
    click(QStringLiteral("Command1"));
    auto* list = get<QListView>(QStringLiteral("List1"));
    for (int i = 0; i < 9; ++i) {
        list->setCurrentIndex(list->model()->index(0, 0));
        emit list->doubleClicked(list->currentIndex());  // the double click List1 reports
    }
    ASSERT_EQ(numbers().size(), 211);
    for (int expected : {212, 213, 214, 215, 216, 217, 218, 219, 220, 211}) {
        click(QStringLiteral("Command52"));
        EXPECT_EQ(numbers().size(), expected);
    }
}

TEST_F(WorkbenchTest, DeletingOneNumberLogsAndCommits) {
    load({"123", "456", "789"});
    auto* list = get<QListView>(QStringLiteral("List1"));
    emit list->doubleClicked(list->currentIndex());  // nothing selected: nothing happens
    EXPECT_EQ(numbers().size(), 3);
    list->setCurrentIndex(list->model()->index(1, 0));
    const QString before = log();
    emit list->doubleClicked(list->currentIndex());  // the double click List1 reports
    EXPECT_EQ(numbers(), QStringList({"123", "789"}));
    EXPECT_EQ(log(), before + QStringLiteral("\n删除 456\n"));
    EXPECT_EQ(countLabel(), QStringLiteral("还剩：2注"));
}

TEST_F(WorkbenchTest, ResetReturnsToBuildingMode) {
    buildAll();
    click(QStringLiteral("Command58"));
    EXPECT_TRUE(numbers().isEmpty());
    EXPECT_EQ(log(), kInitialLog);
    EXPECT_EQ(get<QPlainTextEdit>(QStringLiteral("Text5"))->toPlainText(), kInitialLog);
    EXPECT_TRUE(countLabel().isEmpty());
    EXPECT_EQ(get<QListView>(QStringLiteral("List1"))->model()->rowCount(), 0);
    EXPECT_FALSE(form->hasBaseSet());
    EXPECT_TRUE(get<QPushButton>(QStringLiteral("Command1"))->isEnabled());
    EXPECT_EQ(form->session().setDescription, QStringLiteral("全部号码(复式)"));
    EXPECT_EQ(form->session().ring.index(), 1);
}

TEST_F(WorkbenchTest, SingleValueFilters) {
    buildAll();
    tick(QStringLiteral("Check36"));  // span 9
    tick(QStringLiteral("Check35"));  // span 0
    const QString before = log();
    click(QStringLiteral("Command10"));
    EXPECT_EQ(numbers().size(), 936);
    EXPECT_TRUE(log().startsWith(before + QStringLiteral("\n跨度过滤开始\n009| 019| 029| ")));
    EXPECT_TRUE(log().endsWith(QStringLiteral("| \n过滤64注\n还剩936注\n")));
    EXPECT_EQ(form->session().setDescription, QStringLiteral("夸度过滤：9 0 "));
    EXPECT_EQ(get<QPlainTextEdit>(QStringLiteral("Text5"))->toPlainText(), log());
    EXPECT_EQ(countLabel(), QStringLiteral("还剩：936注"));

    struct Row { const char* box; const char* button; int removed; const char* description; };
    const Row rows[] = {
        {"Check47", "Command14", 100, "和值尾（合值）过滤：3 "},
        {"Check23(0)", "Command4", 271, "胆码过滤：0  "},
    };
    for (const Row& r : rows) {
        click(QStringLiteral("Command58"));
        buildAll();
        tick(QString::fromLatin1(r.box));
        click(QString::fromLatin1(r.button));
        EXPECT_EQ(numbers().size(), 1000 - r.removed) << r.button;
        EXPECT_EQ(form->session().setDescription, QString::fromUtf8(r.description));
        EXPECT_TRUE(log().endsWith(QStringLiteral("\n过滤%1注\n还剩%2注\n").arg(r.removed).arg(1000 - r.removed)));
        tick(QString::fromLatin1(r.box), false);
    }

    // Nothing ticked: the frame with 0 and the bare prefix, and still a snapshot.
    const int index = form->session().ring.index();
    click(QStringLiteral("Command4"));
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n胆码过滤开始\n\n过滤0注\n还剩729注\n")));
    EXPECT_EQ(form->session().setDescription, QStringLiteral("胆码过滤："));
    EXPECT_EQ(form->session().ring.index(), index % 10 + 1);
}

TEST_F(WorkbenchTest, DigitSelectionKeepsNumbersHoldingATickedDigit) {
    load({"123", "145", "267", "389"});
    for (int i = 13; i <= 22; ++i) tick(QStringLiteral("Check%1").arg(i), false);
    tick(QStringLiteral("Check13"));  // 1
    tick(QStringLiteral("Check14"));  // 2
    const QString before = log();
    click(QStringLiteral("Command2"));
    EXPECT_EQ(numbers(), QStringList({"123", "145", "267"}));
    EXPECT_EQ(log(), before + QStringLiteral("\n胆码选取开始\n123| 145| 267| \n选出3注\n"));
    EXPECT_EQ(form->session().setDescription, QStringLiteral("选胆：1  2  "));

    tick(QStringLiteral("Check13"), false);
    tick(QStringLiteral("Check14"), false);
    click(QStringLiteral("Command2"));
    EXPECT_TRUE(numbers().isEmpty());
    EXPECT_TRUE(log().endsWith(QStringLiteral("\n选出0注\n")));

    load({"123", "145"});
    for (int i = 13; i <= 22; ++i) tick(QStringLiteral("Check%1").arg(i));
    click(QStringLiteral("Command2"));
    EXPECT_EQ(numbers(), QStringList({"123", "145"}));
}

TEST_F(WorkbenchTest, CollectionIsWrittenAndListed) {
    select(QStringLiteral("Option4"));
    get<QComboBox>(QStringLiteral("Combo12"))->setCurrentIndex(1);
    click(QStringLiteral("Command1"));
    recorder->messages.clear();
    ASSERT_FALSE(QDir(dir.file("HAO")).exists());
    click(QStringLiteral("Command11"));
    EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
    EXPECT_TRUE(form->collectionSaved());
    const QString path = form->lastCollectionPath();
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("大底采集")));
    EXPECT_EQ(QFileInfo(path).dir().dirName(), QStringLiteral("HAO"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("012\r\n019\r\n089\r\n123\r\n234\r\n345\r\n456\r\n567\r\n678\r\n789\r\n\r\n"));
    ASSERT_NE(SetOperationsWindow::existing(*form), nullptr);
    EXPECT_EQ(SetOperationsWindow::existing(*form)->windowTitle(), QStringLiteral("大底采集"));
    EXPECT_EQ(numbers().size(), 10);  // the pool is not changed

    // A second collection never replaces the first.
    click(QStringLiteral("Command11"));
    EXPECT_NE(form->lastCollectionPath(), path);
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(WorkbenchTest, FailedCollectionShowsTheError) {
    dir.write("HAO", "not a folder");
    buildAll();
    recorder->messages.clear();
    click(QStringLiteral("Command11"));
    EXPECT_FALSE(form->collectionSaved());
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_FALSE(recorder->lastText().contains(QStringLiteral("保存大底成功")));
}

TEST_F(WorkbenchTest, CollectionOnAFullDiskIsNoSuccess) {
    // The whole pool is about 5 KB: small enough to sit in a write buffer, too big for the disk.
    buildAll();
    recorder->messages.clear();
    {
        testsupport::FileSizeLimit fullDisk(4096);
        click(QStringLiteral("Command11"));
    }
    EXPECT_FALSE(form->collectionSaved());
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_FALSE(recorder->lastText().contains(QStringLiteral("保存大底成功")));
    EXPECT_TRUE(recorder->lastText().contains(QStringLiteral("磁盘空间不足"))) << recorder->lastText().toStdString();
    EXPECT_EQ(testsupport::FilesIn(dir.file("HAO")), QStringList());
}

TEST_F(WorkbenchTest, ExportWritesTheNumberFile) {
    load({"012", "345", "999"});
    QDir().mkpath(dir.file("bets"));
    QString title, defaultName;
    ui::SetFileDialogAnswer([&](const ui::FileDialogRequest& r) {
        title = r.title;
        defaultName = r.defaultName;
        return QStringList{dir.file("bets/plan")};
    });
    recorder->messages.clear();
    click(QStringLiteral("Command13"));
    EXPECT_EQ(title, QStringLiteral("导出奖号"));
    EXPECT_EQ(defaultName, dir.file("HAO/") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".txt"));
    EXPECT_EQ(dir.read("bets/plan.txt"), QByteArray("012\r\n345\r\n999\r\n\r\n"));
    EXPECT_EQ(common::GetSetting(QStringLiteral("path")), dir.file("bets/"));
    EXPECT_TRUE(recorder->messages.isEmpty());

    // An empty pool gives one line break.
    load({});
    click(QStringLiteral("Command13"));
    EXPECT_EQ(dir.read("bets/plan.txt"), QByteArray("\r\n"));
}

TEST_F(WorkbenchTest, ExportCancelIsSilentAndWriteErrorsAreShown) {
    load({"012"});
    common::SaveSetting(QStringLiteral("path"), QStringLiteral("/before/"));
    recorder->messages.clear();
    ui::SetFileDialogAnswer([](const ui::FileDialogRequest&) { return QStringList(); });
    click(QStringLiteral("Command13"));
    EXPECT_TRUE(recorder->messages.isEmpty());

    ui::SetFileDialogAnswer(
        [&](const ui::FileDialogRequest&) { return QStringList{dir.file("missing/sub/out.txt")}; });
    click(QStringLiteral("Command13"));
    EXPECT_EQ(recorder->messages.size(), 1);
    EXPECT_EQ(common::GetSetting(QStringLiteral("path")), QStringLiteral("/before/"));
}

TEST_F(WorkbenchTest, ExportDialogAddsTheExtensionItself) {
    // The dialog, not the handler, adds ".txt", so its overwrite question names the real file.
    load({"012"});
    QDir().mkpath(dir.file("bets"));
    QString title;
    QString suffix;
    bool confirms = false;
    ui::SetModalHandler([&](QDialog* d) {
        auto* fd = qobject_cast<QFileDialog*>(d);
        if (!fd) return int(QDialog::Rejected);
        title = fd->windowTitle();
        suffix = fd->defaultSuffix();
        confirms = fd->acceptMode() == QFileDialog::AcceptSave && !fd->testOption(QFileDialog::DontConfirmOverwrite);
        fd->selectFile(dir.file("bets/plan"));
        return int(QDialog::Accepted);
    });
    click(QStringLiteral("Command13"));
    EXPECT_EQ(title, QStringLiteral("导出奖号"));
    EXPECT_EQ(suffix, QStringLiteral("txt"));
    EXPECT_TRUE(confirms);
    EXPECT_EQ(dir.read("bets/plan.txt"), QByteArray("012\r\n\r\n"));
}

// The player's path on a fresh program folder while the process works elsewhere (./run.sh
// starts in the project's folder): 保存 opens in HAO proposing the day's file, and 兑奖 with no
// bet folder set lists HAO, never the current folder.
TEST_F(WorkbenchTest, SaveProposesTheDayInHaoAndThePrizeCheckListsHao) {
    testsupport::CurrentFolderElsewhere cwd;
    ASSERT_EQ(common::MakePlayerFolders(), QString());  // as the start does
    const QString day = QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".txt");
    load({"012", "345"});
    recorder->messages.clear();
    QString directory, proposed;
    QStringList listed;
    ui::SetModalHandler([&](QDialog* d) {
        if (auto* save = qobject_cast<QFileDialog*>(d)) {
            directory = save->directory().absolutePath();
            proposed = save->selectedFiles().value(0);
            return int(QDialog::Accepted);  // the proposal as it stands
        }
        if (auto* files = d->findChild<QListWidget*>(QStringLiteral("File1")))
            for (int i = 0; i < files->count(); ++i) listed << files->item(i)->text();
        return int(QDialog::Rejected);
    });
    click(QStringLiteral("Command13"));
    EXPECT_EQ(directory, dir.file("HAO"));
    EXPECT_EQ(proposed, dir.file("HAO/") + day);
    EXPECT_EQ(dir.read(QStringLiteral("HAO/") + day), QByteArray("012\r\n345\r\n\r\n"));

    common::SaveSetting(QStringLiteral("path"), QString());  // no bet folder set
    click(QStringLiteral("Command16"));
    EXPECT_EQ(listed, QStringList{day});
    EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
}

TEST_F(WorkbenchTest, NumberAndIssueQueries) {
    form->refreshFromState();
    auto* numberBox = get<QComboBox>(QStringLiteral("Combo9"));
    EXPECT_EQ(numberBox->count(), 5);
    EXPECT_EQ(numberBox->currentText(), QStringLiteral("123"));
    auto* serialBox = get<QComboBox>(QStringLiteral("Combo11"));
    EXPECT_EQ(serialBox->currentText(), QStringLiteral("003"));
    EXPECT_EQ(serialBox->itemText(0), QStringLiteral("001"));
    EXPECT_EQ(serialBox->itemText(10), QStringLiteral("011"));

    const int index = form->session().ring.index();
    click(QStringLiteral("Command42"));
    EXPECT_EQ(log(), kInitialLog + QStringLiteral(
                                       "\n要查询[单选]的号码：123\n第2024001期,下期号码开456\n第2025002期,下期号码还未开出\n共出2次\n"
                                       "\n要查询[组选]的号码：123\n第2024001期,下期号码开456\n第2024003期,下期号码开789\n"
                                       "第2025002期,下期号码还未开出\n共出3次\n"));
    const QString afterNumber = log();
    serialBox->setEditText(QStringLiteral(" 001 "));
    click(QStringLiteral("Command57"));
    EXPECT_EQ(log(), afterNumber + QStringLiteral("\n要查询的期号：001\n2024001 123\n2025001 789\n"));
    EXPECT_EQ(form->session().ring.index(), index);  // nothing committed

    // Rejected input clears the box and logs nothing.
    const QString before = log();
    for (const char* bad : {"12", "1234", "abc", "nan", "inf"}) {
        numberBox->setEditText(QString::fromLatin1(bad));
        click(QStringLiteral("Command42"));
        EXPECT_TRUE(numberBox->currentText().isEmpty()) << bad;
        serialBox->setEditText(QString::fromLatin1(bad));
        click(QStringLiteral("Command57"));
        EXPECT_TRUE(serialBox->currentText().isEmpty()) << bad;
    }
    EXPECT_EQ(log(), before);
}

TEST_F(WorkbenchTest, FuzzySourcesAndCustomMemory) {
    // Created with 热温冷 over the draws there are.
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text2"))->text(), QStringLiteral("1,2,3"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text3"))->text(), QString());
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text4"))->text(), QStringLiteral("0,4,5,6,7,8,9"));
    EXPECT_EQ(get<QCheckBox>(QStringLiteral("Check28"))->text(), QStringLiteral("热") + QString(32, ' ') + QStringLiteral("出"));

    select(QStringLiteral("Option13"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text3"))->text(), QStringLiteral("0,4"));
    EXPECT_EQ(get<QCheckBox>(QStringLiteral("Check30"))->text(), QStringLiteral("孤") + QString(32, ' ') + QStringLiteral("出"));
    select(QStringLiteral("Option14"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text3"))->text(), QStringLiteral("7,8,9"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text4"))->text(), QStringLiteral("0,4,5,6"));

    select(QStringLiteral("Option11"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text2"))->text(), QString());
    EXPECT_EQ(get<QCheckBox>(QStringLiteral("Check29"))->text(), QStringLiteral("数字2") + QString(29, ' ') + QStringLiteral("出"));
    get<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("1,2"));
    select(QStringLiteral("Option12"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text2"))->text(), QStringLiteral("1,2,3"));
    get<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("9"));  // not remembered
    select(QStringLiteral("Option11"));
    EXPECT_EQ(get<QLineEdit>(QStringLiteral("Text2"))->text(), QStringLiteral("1,2"));
}

TEST_F(WorkbenchTest, TwoCodeModesKeepOneListEach) {
    auto* text1 = get<QLineEdit>(QStringLiteral("Text1"));
    text1->setText(QStringLiteral("12,34"));
    select(QStringLiteral("Option10"));
    EXPECT_EQ(text1->text(), QString());
    EXPECT_EQ(form->model().common.twoCodesAside, QStringLiteral("12,34"));  // the model keeps it, no widget
    EXPECT_EQ(get<QPushButton>(QStringLiteral("Command40"))->text(), QStringLiteral("选择"));
    text1->setText(QStringLiteral("56"));
    select(QStringLiteral("Option9"));
    EXPECT_EQ(text1->text(), QStringLiteral("12,34"));
    EXPECT_EQ(get<QPushButton>(QStringLiteral("Command40"))->text(), QStringLiteral("过滤"));
    select(QStringLiteral("Option10"));
    EXPECT_EQ(text1->text(), QStringLiteral("56"));
}

TEST_F(WorkbenchTest, EnterTypesACommaAndPickersOpenWithTheirCaptions) {
    auto* text12 = get<QLineEdit>(QStringLiteral("Text12"));
    text12->setText(QStringLiteral("1,2"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(text12, &enter);
    EXPECT_EQ(text12->text(), QStringLiteral("1,2,"));

    QString title;
    QStringList tabs;
    int current = -1;
    ui::SetModalHandler([&](QDialog* d) {
        title = d->windowTitle();
        auto* t = d->findChild<QTabWidget*>();
        tabs.clear();
        for (int i = 0; t && i < t->count(); ++i) tabs << t->tabText(i);
        current = t ? t->currentIndex() : -1;
        return 0;
    });
    select(QStringLiteral("Option13"));
    auto* text3 = get<QLineEdit>(QStringLiteral("Text3"));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), text3->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(text3, &dbl);
    EXPECT_EQ(title, QStringLiteral("模糊过滤"));
    EXPECT_EQ(tabs, QStringList({"传  ", "邻  ", "孤  "}));
    EXPECT_EQ(current, 1);

    click(QStringLiteral("Command24"));
    EXPECT_EQ(title, QStringLiteral("定位选号"));
    EXPECT_EQ(tabs, QStringList({"百位", "十位", "个位"}));
    EXPECT_EQ(current, 2);
}

TEST_F(WorkbenchTest, LotterySwitchReloadsAndTellsTheMainWindow) {
    dir.write("HAOP3.TXT", "2024100 5671");
    QWidget main;
    auto* label3 = new QLabel(&main);
    label3->setObjectName(QStringLiteral("Label3"));
    auto* text1 = new QPlainTextEdit(&main);
    text1->setObjectName(QStringLiteral("Text1"));
    auto* label1 = new QLabel(&main);
    label1->setObjectName(QStringLiteral("Label1"));
    form->setMainWindow(&main);
    // The main window's own reaction to the switch, which it follows through the notifier: its labels.
    int told = 0;
    QObject::connect(&app, &common::AppState::lotteryChanged, &main, [&] {
        ++told;
        label3->setText(history::LotteryLabel(app.lotteryIsP3()));
        text1->setPlainText(QStringLiteral("彩票类型已被转换请刷新数据..."));
        label1->setText(QStringLiteral("彩票类型已被转换请刷新数据..."));
    });
    load({"123"});
    recorder->messages.clear();

    // The pictures switch on a mouse release, as a player's click ends.
    auto press = [this](const char* image) {
        QLabel* label = get<QLabel>(QString::fromLatin1(image));
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(4, 4), label->mapToGlobal(QPointF(4, 4)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &release);
    };
    get<QLabel>(QStringLiteral("Image2"))->setVisible(false);
    press("Image2");  // 福彩3D is current: nothing
    EXPECT_TRUE(recorder->messages.isEmpty());
    press("Image1");
    EXPECT_TRUE(app.lotteryIsP3());
    EXPECT_EQ(common::GetSetting(QStringLiteral("fclx")), QStringLiteral("1"));
    EXPECT_EQ(app.history().count(), 1);
    EXPECT_EQ(label3->text(), QStringLiteral("体彩排列3"));
    EXPECT_EQ(text1->toPlainText(), QStringLiteral("彩票类型已被转换请刷新数据..."));
    EXPECT_EQ(label1->text(), QStringLiteral("彩票类型已被转换请刷新数据..."));
    EXPECT_EQ(get<QComboBox>(QStringLiteral("Combo9"))->currentText(), QStringLiteral("567"));
    EXPECT_TRUE(get<QLabel>(QStringLiteral("Image1"))->isHidden());
    EXPECT_FALSE(get<QLabel>(QStringLiteral("Image2"))->isHidden());
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_EQ(recorder->lastText(), QStringLiteral("彩票类型已被转换，当前彩票类型为[体彩排列3]。"));
    EXPECT_EQ(numbers(), QStringList({"123"}));
    press("Image1");
    EXPECT_EQ(recorder->messages.size(), 1);
    press("Image2");
    EXPECT_FALSE(app.lotteryIsP3());
    EXPECT_EQ(recorder->lastText(), QStringLiteral("彩票类型已被转换，当前彩票类型为[福彩3D]。"));
    EXPECT_EQ(told, 2);
    EXPECT_FALSE(get<QLabel>(QStringLiteral("Image1"))->isHidden());  // the workbench shows 福彩3D again
    EXPECT_TRUE(get<QLabel>(QStringLiteral("Image2"))->isHidden());
}

TEST_F(WorkbenchTest, ClosingHidesAndShowsTheMainWindow) {
    QWidget main;
    form->setMainWindow(&main);
    buildAll();
    form->show();
    form->close();
    EXPECT_TRUE(form->isHidden());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(numbers().size(), 1000);
    EXPECT_TRUE(form->hasBaseSet());
}

namespace {
// The window is told its size as the platform tells it (a hidden window gets no resize event).
void SendResize(QWidget& window) {
    QResizeEvent resized(window.size(), window.size());
    QCoreApplication::sendEvent(&window, &resized);
}
}  // namespace

TEST_F(WorkbenchTest, ResizeKeepsTheFramesInPlace) {
    form->resize(1000, 700);
    SendResize(*form);
    auto* f1 = get<QWidget>(QStringLiteral("Frame1"));
    auto* f7 = get<QWidget>(QStringLiteral("Frame7"));
    auto* f8 = get<QWidget>(QStringLiteral("Frame8"));
    auto* tab = get<QWidget>(QStringLiteral("SSTab1"));
    EXPECT_EQ(tab->x(), f1->x() + f1->width() + 8);
    EXPECT_EQ(f8->x(), tab->x());
    EXPECT_EQ(f8->y() + f8->height(), f7->y() + f7->height());
    EXPECT_EQ(tab->width(), f8->width());
    auto* c11 = get<QWidget>(QStringLiteral("Command11"));
    EXPECT_EQ(c11->x() + c11->width(), f8->width());
}

TEST_F(WorkbenchTest, LayoutAtTheDesignSizeMovesNothing) {
    // The stored positions are those the layout handler gives, so the first resize of the
    // window (showing it, maximising it and back) does not make the frames jump.
    QHash<QWidget*, QRect> before;
    for (QWidget* w : form->findChildren<QWidget*>()) before.insert(w, w->geometry());
    SendResize(*form);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(it.key()->geometry(), it.value()) << it.key()->objectName().toStdString();
}

// At its design size in the installed fonts every caption and default text fits and nothing
// covers anything else, on every tab.
TEST_F(WorkbenchTest, EveryControlIsLegible) {
    EXPECT_EQ(testsupport::LegibilityProblems(form.get()), QStringList());
}

// 计算器 starts the calculator found on PATH, or says in Chinese that there is none.
TEST_F(WorkbenchTest, CalculatorButton) {
    testsupport::ProgramDir dir;
    recorder->messages.clear();  // the smart-system gate of the first opening
#ifdef Q_OS_UNIX
    dir.write(QStringLiteral("mate-calc"), "#!/bin/sh\necho started > \"$SIFMORA_DIR/calc.txt\"\n");
    QFile(dir.file(QStringLiteral("mate-calc"))).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    {
        testsupport::EnvVar path("PATH", dir.path());
        click(QStringLiteral("Command20"));
    }
    EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
    QDeadlineTimer deadline(10000);  // a guard for the detached script, not a measurement
    while (!deadline.hasExpired() && !dir.read(QStringLiteral("calc.txt")).endsWith('\n')) QThread::msleep(20);
    EXPECT_EQ(dir.read(QStringLiteral("calc.txt")), QByteArray("started\n"));
#endif
    testsupport::EnvVar path("PATH", QString(""));
    recorder->messages.clear();
    click(QStringLiteral("Command20"));
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_TRUE(recorder->messages[0].text.startsWith(QStringLiteral("没有找到计算器程序")));
    EXPECT_EQ(recorder->messages[0].title, QStringLiteral("Sifmora"));
}

TEST_F(WorkbenchTest, ShowWorkbenchHidesTheMainWindowAndTellsItsLinksWhenClosed) {
    form.reset();
    recorder->messages.clear();
    QWidget main;
    main.show();
    CountingLinks links;
    form = std::make_unique<WorkbenchWindow>(app, &main, &links);
    WorkbenchWindow* shown = form.get();
    shown->offerSmartSystem();  // as the opener does at the first opening
    workbench::ShowWorkbench(*shown, &main);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(recorder->messages.size(), 1);  // the 600-draw gate, at its making only

    shown->session().pool = {"123"};
    shown->close();
    EXPECT_EQ(links.closed, 1);
    EXPECT_TRUE(shown->isHidden());
    EXPECT_FALSE(main.isVisible());  // the links show the main window, not the workbench
    workbench::ShowWorkbench(*shown, &main);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->session().pool, QStringList({"123"}));
    EXPECT_EQ(recorder->messages.size(), 1);

    // While the program quits nothing is shown.
    shown->hide();
    app.setQuitting(true);
    workbench::ShowWorkbench(*shown, &main);
    EXPECT_FALSE(shown->isVisible());
}

}  // namespace
