// The universal formula filter and the formula editor, on the real workbench offscreen.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/numbertables.h"
#include "common/textcodec.h"
#include "dialogs/formulaeditor.h"
#include "dialogs/setoperationswindow.h"
#include "httpserver.h"
#include "platform/ui/messagebox.h"
#include "addresslimit.h"
#include "hookreset.h"
#include "presses.h"
#include "sanitized.h"
#include "testsupport.h"
#include "tickwatch.h"
#include "workbench/formulafilter.h"
#include "workbench/workbench.h"
#include "workbenchfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

const QString kFormulaTitle = QStringLiteral("万能条件(公式)过滤");
const QString kFormulaHeader = QStringLiteral("\n万能条件(公式)过滤开始\n");
const QString kFormulaFailLine = QStringLiteral("公式出错,号码未改变\n");
const QString kFormulaPrompt = QStringLiteral("选择要过滤的万能公式");

QString FormulaFrame(const QStringList& removed, int remaining) {
    QString s = kFormulaHeader;
    for (const QString& n : removed) s += n + QStringLiteral("| ");
    return s + QStringLiteral("\n过滤%1注\n还剩%2注\n").arg(removed.size()).arg(remaining);
}

QStringList FormulaPoolWithout(const QStringList& all, const QStringList& removed) {
    QStringList rest;
    for (const QString& n : all)
        if (!removed.contains(n)) rest << n;
    return rest;
}

class FormulaFilterTest : public WorkbenchFixture {
protected:
    void SetUp() override {
        app.setHistory(common::DrawHistory(QStringList{"2025001 123", "2025002 456"}));
        recorder = std::make_unique<ui::MessageRecorder>();
    }
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    testsupport::HookReset<&ui::SetInputHandler> inputReset;
    void TearDown() override {
        form.reset();
        recorder.reset();
    }
    // The workbench lists the formula folder when it loads.
    void make() {
        form = std::make_unique<WorkbenchWindow>(app);
        recorder->messages.clear();  // the smart-system gate of the first opening
    }
    void setScript(const QString& text) { get<QPlainTextEdit>(QStringLiteral("Text29"))->setPlainText(text); }
    QString script() { return get<QPlainTextEdit>(QStringLiteral("Text29"))->toPlainText(); }
    void run() { get<QPushButton>(QStringLiteral("Command67"))->click(); }
    QStringList comboItems() {
        auto* c = get<QComboBox>(QStringLiteral("Combo21"));
        QStringList items;
        for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
        return items;
    }
    void choose(const QString& item) {
        auto* c = get<QComboBox>(QStringLiteral("Combo21"));
        const int i = c->findText(item);
        ASSERT_GE(i, 0) << item.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    void writeFormula(const QString& name, const QString& text) {
        dir.write(QStringLiteral("公式/") + name, common::EncodeAnsi(text));
    }
    // Opens the editor with "编写公式…" and lets body work on it while it is shown.
    void withEditor(const std::function<void(FormulaEditor&)>& body) {
        bool shown = false;
        ui::SetModalHandler([&](QDialog* d) {
            auto* editor = qobject_cast<FormulaEditor*>(d);
            EXPECT_NE(editor, nullptr);
            if (!editor) return 0;
            shown = true;
            body(*editor);
            return int(editor->result());
        });
        get<QPushButton>(QStringLiteral("Command68"))->click();
        EXPECT_TRUE(shown);
        ui::SetModalHandler({});
    }
};

template <class T>
T* EditorControl(FormulaEditor& editor, const QString& name) {
    T* w = editor.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

QStringList EditorFiles(FormulaEditor& editor) {
    QStringList names;
    auto* list = EditorControl<QListWidget>(editor, QStringLiteral("File1"));
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    return names;
}

void SelectEditorFile(FormulaEditor& editor, const QString& name) {
    auto* list = EditorControl<QListWidget>(editor, QStringLiteral("File1"));
    const auto items = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    list->setCurrentItem(items[0]);
}

// Every shared formula over the 1000 numbers removes exactly its listed numbers, with the
// log frame, count, description and undo snapshot of a filter step.
TEST_F(FormulaFilterTest, SharedFormulasRemoveExactlyTheirNumbers) {
    SKIP_WITHOUT_SHARED("vbscript/formulas/sum_in_list.txt");
    const QDir shared(testsupport::SharedFile(QStringLiteral("vbscript/formulas")));
    const QStringList names = shared.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("公式")));
    for (const QString& n : names)
        ASSERT_TRUE(dir.copyShared(QStringLiteral("vbscript/formulas/") + n, QStringLiteral("公式/") + n));
    make();
    EXPECT_EQ(comboItems(), QStringList{kFormulaPrompt} + names);

    const QStringList& all = common::AllNumbers();
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QString expectedText;
        ASSERT_TRUE(common::ReadAnsiFile(shared.filePath(QFileInfo(name).completeBaseName() + ".expected"),
                                         &expectedText));
        const QStringList expected = expectedText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);

        load(all);
        choose(name);
        QString fileText;
        ASSERT_TRUE(common::ReadAnsiFile(shared.filePath(name), &fileText));
        EXPECT_EQ(script(), fileText);
        const QString before = log();
        run();
        EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
        const QStringList rest = FormulaPoolWithout(all, expected);
        EXPECT_EQ(form->session().pool, rest);
        EXPECT_EQ(log(), before + FormulaFrame(expected, int(rest.size())));
        EXPECT_EQ(get<QLabel>(QStringLiteral("Label5"))->text(), pool::PoolSession::CountLabel(int(rest.size())));
        EXPECT_EQ(form->session().setDescription, kFormulaTitle);
    }
    // The step is an undo snapshot like any filter.
    form->undo();
    EXPECT_EQ(form->session().pool, all);
}

// A script that fails keeps every number: none is lost, nothing is committed, and the message
// under the filter's title says what failed, on which line, and (while running) for which number.
TEST_F(FormulaFilterTest, ScriptErrorsSayWhereAndKeepThePool) {
    make();
    const QStringList start{"001", "002", "003", "004", "005"};
    struct Case {
        const char* what;
        QString script;
        QString where;  // the message after the engine's description
        QString description;  // empty: the engine's own wording, not checked
    };
    const Case cases[] = {
        // Numbers before the failing one would have been removed.
        {"run-time error after removals",
         "Function Custom_GL(NUMBER)\n If NUMBER = \"004\" Then Err.Raise 1000, \"f\", \"stopped at 004\"\n"
         " Custom_GL = True\nEnd Function\n",
         QStringLiteral("\n第2行：If NUMBER = \"004\" Then Err.Raise 1000, \"f\", \"stopped at 004\"\n号码 004"),
         QStringLiteral("stopped at 004")},
        {"does not compile: no number is tested", "Function Custom_GL(NUMBER)\n If NUMBER Then\nEnd Function\n",
         QStringLiteral("\n第3行：End Function"), QString()},
        {"division by zero", "Function Custom_GL(NUMBER)\n Custom_GL = 1 / (CInt(NUMBER) - 3)\nEnd Function\n",
         QStringLiteral("\n第2行：Custom_GL = 1 / (CInt(NUMBER) - 3)\n号码 003"), QStringLiteral("除数为零")},
        {"top-level statement fails for a number",
         "If n = 1 Then x = 1 / 0\nn = n + 1\nFunction Custom_GL(NUMBER)\nEnd Function\n",
         QStringLiteral("\n第1行：If n = 1 Then x = 1 / 0\n号码 002"), QStringLiteral("除数为零")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        load(start);
        form->session().setDescription = QStringLiteral("之前");
        setScript(c.script);
        const QString before = log();
        recorder->messages.clear();
        run();
        ASSERT_EQ(recorder->messages.size(), 1);
        const QString text = recorder->messages[0].text;
        EXPECT_EQ(recorder->messages[0].title, kFormulaTitle);
        EXPECT_EQ(recorder->messages[0].icon, ui::Icon::Information);
        EXPECT_EQ(recorder->messages[0].buttons, ui::Buttons::Ok);
        EXPECT_TRUE(text.endsWith(c.where)) << text.toStdString();
        EXPECT_GT(text.size(), c.where.size()) << "the description comes first";
        if (!c.description.isEmpty()) { EXPECT_EQ(text, c.description + c.where); }
        EXPECT_EQ(form->session().pool, start);
        EXPECT_EQ(log(), before + kFormulaHeader + kFormulaFailLine);
        EXPECT_EQ(form->session().setDescription, QStringLiteral("之前"));
    }
    // Nothing was committed: undo goes back past the failed run to the set before it.
    load({"888"});
    load(start);
    setScript(cases[0].script);
    run();
    form->undo();
    EXPECT_EQ(form->session().pool, QStringList{"888"});
}

// A formula that fills the memory, in its function or in its module, under an address-space
// limit (in a child process, a fresh start of this program): the run fails with the engine's
// error 7 in Chinese, the pool and the log stay as they were, and the engine runs the next
// formula. The filter runs without the window here: the window's progress box, painting while
// memory is gone, waits on drawing threads that cannot start.
TEST(FormulaMemory, AFormulaThatRunsOutOfMemoryKeepsThePool) {
#ifdef SIFMORA_SANITIZED
    GTEST_SKIP() << "a sanitizer's shadow memory does not fit under the limit";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* formulas[] = {
        "Function Custom_GL(NUMBER)\n ReDim k(1000000)\n For i = 0 To 1000000 : k(i) = Space(200) & i : Next\n"
        "End Function\n",
        "ReDim k(1000000)\nFor i = 0 To 1000000 : k(i) = Space(200) & i : Next\n"
        "Function Custom_GL(NUMBER)\nEnd Function\n",
        "Class C : Public a, b, c : End Class\nReDim k(1000000)\nFor i = 0 To 1000000 : Set k(i) = New C : Next\n"
        "Function Custom_GL(NUMBER)\nEnd Function\n",
    };
    const pool::NumberPool start{"001", "002", "003"};
    auto runOutOfMemory = [&](const char* formula) {
        script::ScriptEngine engine;
        pool::NumberPool numbers = start;
        QString log = QStringLiteral("之前\n");
        if (!testsupport::LimitAddressSpace(size_t(96) << 20)) std::_Exit(2);
        const QString code = QString::fromUtf8(formula);
        const workbench::FormulaRunResult run = workbench::RunFormulaFilter(engine, code, numbers, log);
        const QString text = workbench::FormulaErrorText(run, code);
        bool ok = !run.ok && run.error.number == 7 && text.startsWith(QStringLiteral("内存不够")) && numbers == start &&
                  log == QStringLiteral("之前\n");
        std::fprintf(stderr, "%s\n", qPrintable(text));
        const workbench::FormulaRunResult next = workbench::RunFormulaFilter(
            engine, QStringLiteral("Function Custom_GL(NUMBER)\n Custom_GL = NUMBER = \"002\"\nEnd Function\n"), numbers, log);
        ok = ok && next.ok && numbers == pool::NumberPool({"001", "003"});
        std::_Exit(ok ? 0 : 1);
    };
    for (const char* formula : formulas)
        EXPECT_EXIT(runOutOfMemory(formula), testing::ExitedWithCode(0), "内存不够") << formula;
}

// A script whose top-level code leaves no Custom_GL of its own never reaches one an earlier
// formula defined: it is refused and nothing changes; one defined through ExecuteGlobal runs.
TEST_F(FormulaFilterTest, AScriptWithoutCustomGlChangesNothing) {
    make();
    load({"123", "456"});
    setScript(QStringLiteral("Function Custom_GL(NUMBER)\n Custom_GL = True\nEnd Function\n"));
    run();
    ASSERT_TRUE(numbers().isEmpty());  // the engine now holds a Custom_GL that removes all
    const QStringList scripts{
        QStringLiteral("x = 1\n"),
        QStringLiteral("' Function Custom_GL(NUMBER)\nx = 1"),
        QStringLiteral("x = \"Function Custom_GL(NUMBER)\"\nRem Function Custom_GL(NUMBER)"),
        QStringLiteral("Class C\n Function Custom_GL(NUMBER)\n Custom_GL = True\n End Function\nEnd Class\n"),
    };
    for (const QString& script : scripts) {
        SCOPED_TRACE(script.toStdString());
        load({"123", "456"});
        form->session().setDescription = QStringLiteral("之前");
        const QString before = log();
        const int index = form->session().ring.index();
        recorder->messages.clear();
        setScript(script);
        run();
        ASSERT_EQ(recorder->messages.size(), 1);
        EXPECT_EQ(recorder->messages[0].text, QStringLiteral("公式中没有 Custom_GL 函数"));
        EXPECT_EQ(recorder->messages[0].title, kFormulaTitle);
        EXPECT_EQ(numbers(), (QStringList{"123", "456"}));
        EXPECT_EQ(log(), before);
        EXPECT_EQ(form->session().ring.index(), index);
        EXPECT_EQ(form->session().setDescription, QStringLiteral("之前"));
    }
    load({"123", "456"});
    recorder->messages.clear();
    setScript(QStringLiteral("ExecuteGlobal \"Function Custom_GL(NUMBER): Custom_GL = NUMBER = \"\"456\"\": End Function\""));
    run();
    EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
    EXPECT_EQ(numbers(), QStringList{"123"});
}

// Custom_GL is what the formula's top-level code leaves defined, on a fresh module: text that
// only mentions it is refused, one made by ExecuteGlobal runs, and a formula never reaches a
// Custom_GL an earlier run defined in the same engine.
TEST(FormulaDeclaration, CustomGlIsWhatTheFormulaDefinesWhenItRuns) {
    const struct {
        const char* code;
        bool defines;
    } cases[] = {
        {"Function Custom_GL(NUMBER)\nCustom_GL = True\nEnd Function", true},
        {"  public function custom_gl (n)\ncustom_gl = true\nend function", true},
        {"x = 1 : Function Custom_GL(n)\nCustom_GL = True\nEnd Function", true},
        {"ExecuteGlobal \"Function Custom_GL(n)\" & vbCrLf & \"Custom_GL = True\" & vbCrLf & \"End Function\"", true},
        {"f = \"Custom_GL\"\nExecuteGlobal \"Function \" & f & \"(n): \" & f & \" = True: End Function\"", true},
        {"If False Then ExecuteGlobal \"Function Custom_GL(n): Custom_GL = True: End Function\"", false},
        {"Function Custom_GL2(n)\nEnd Function", false},
        {"Function MyCustom_GL(n)\nEnd Function", false},
        {"x = 1 ' Function Custom_GL(n)", false},
        {"y = \"a:Function Custom_GL(n)\"", false},
        {"REM Function Custom_GL(n)", false},
        {"Custom_GL = True", false},
        {"Class A\n Function Custom_GL(n)\n Custom_GL = True\n End Function\nEnd Class", false},
        {"", false},
    };
    script::ScriptEngine engine;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        // The engine first ran a formula whose Custom_GL removes everything.
        pool::NumberPool earlier{"001"};
        QString earlierLog;
        ASSERT_TRUE(workbench::RunFormulaFilter(engine, QStringLiteral("Function Custom_GL(N)\nCustom_GL = True\nEnd Function"),
                                                earlier, earlierLog)
                        .ok);
        pool::NumberPool numbers{"123", "456"};
        QString log = QStringLiteral("之前");
        const workbench::FormulaRunResult run =
            workbench::RunFormulaFilter(engine, QString::fromUtf8(c.code), numbers, log);
        EXPECT_EQ(run.ok, c.defines);
        EXPECT_EQ(run.noCustomGl, !c.defines);
        EXPECT_EQ(numbers, c.defines ? pool::NumberPool{} : (pool::NumberPool{"123", "456"}));
        EXPECT_EQ(log, c.defines ? QStringLiteral("之前123| 456| ") : QStringLiteral("之前"));
    }
}

// The condition text goes in verbatim; results equal to True are True and -1 only; the engine
// starts every run on a fresh module.
TEST_F(FormulaFilterTest, ConditionResultsAndTheFreshModule) {
    make();
    load({"105", "234", "512", "777"});
    setScript(QStringLiteral("T = \"%条件%\"\nFunction Custom_GL(NUMBER)\n"
                             " Custom_GL = InStr(\",\" & T & \",\", \",\" & Mid(NUMBER, 1, 1) & \",\") > 0\n"
                             "End Function\n"));
    get<QLineEdit>(QStringLiteral("Text28"))->setText(QStringLiteral("1,5"));
    const QString before = log();
    run();
    EXPECT_EQ(form->session().pool, (QStringList{"234", "777"}));
    EXPECT_EQ(log(), before + FormulaFrame({"105", "512"}, 2));

    // A later script starts on a fresh module: the earlier formula's top-level T is gone.
    load({"111", "222", "555"});
    setScript(QStringLiteral("' 沿用上次的条件\nFunction Custom_GL(NUMBER)\n"
                             " Custom_GL = InStr(T, Left(NUMBER, 1)) > 0\nEnd Function\n"));
    run();
    EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
    EXPECT_EQ(form->session().pool, (QStringList{"111", "222", "555"}));

    // -1 removes like True; 1, False, Empty and a text keep the number.
    load({"000", "001", "002", "003", "004"});
    setScript(QStringLiteral("Function Custom_GL(NUMBER)\n Select Case NUMBER\n"
                             "  Case \"000\": Custom_GL = -1\n  Case \"001\": Custom_GL = 1\n"
                             "  Case \"002\": Custom_GL = False\n  Case \"003\": Custom_GL = \"abc\"\n"
                             " End Select\nEnd Function\n"));
    run();
    EXPECT_EQ(form->session().pool, (QStringList{"001", "002", "003", "004"}));

    // An empty pool makes no call: even a broken script only logs a step with no numbers.
    load({});
    setScript(QStringLiteral("Function Custom_GL(\n"));
    const QString beforeEmpty = log();
    run();
    EXPECT_TRUE(recorder->messages.isEmpty());
    EXPECT_EQ(log(), beforeEmpty + FormulaFrame({}, 0));
    EXPECT_EQ(form->session().setDescription, kFormulaTitle);
}

// A script's MsgBox that cancels the run's progress: the cancel then arrives while a call is
// under way, deterministically.
class CancellingHost : public script::ScriptHost {
public:
    explicit CancellingHost(common::WorkProgress& progress) : progress_(progress) {}
    int msgBox(const QString&, int, const QString&) override {
        ++boxes;
        progress_.cancel();
        return 1;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return QString(); }
    int boxes = 0;

private:
    common::WorkProgress& progress_;
};

// Cancelled before or during a call, the run ends with the pool and the log as they were, and
// the engine serves the next run; a call that never ends on its own (no time limit) is stopped.
TEST(FormulaRunCancel, StopsEvenAnEndlessCallAndChangesNothing) {
    script::ScriptEngine engine;
    engine.setTimeout(0);
    const QString endless = QStringLiteral(
        "Function Custom_GL(NUMBER)\n If NUMBER = \"003\" Then\n  MsgBox \"停\"\n  Do\n  Loop\n End If\n"
        " Custom_GL = True\nEnd Function\n");
    const pool::NumberPool start{"001", "002", "003", "004"};
    {
        common::WorkProgress progress;
        CancellingHost host(progress);
        engine.setHost(&host);
        pool::NumberPool numbers = start;
        QString log = QStringLiteral("之前");
        const workbench::FormulaRunResult run = workbench::RunFormulaFilter(engine, endless, numbers, log, &progress);
        EXPECT_FALSE(run.ok);
        EXPECT_TRUE(run.cancelled);
        EXPECT_EQ(run.error.number, script::kErrStopped);
        EXPECT_EQ(host.boxes, 1);
        EXPECT_EQ(progress.done(), 2);  // 001 and 002 were through
        EXPECT_EQ(numbers, start);
        EXPECT_EQ(log, QStringLiteral("之前"));
        engine.setHost(nullptr);
    }
    {
        common::WorkProgress progress;
        progress.cancel();
        pool::NumberPool numbers = start;
        QString log;
        const workbench::FormulaRunResult run = workbench::RunFormulaFilter(engine, endless, numbers, log, &progress);
        EXPECT_TRUE(run.cancelled);
        EXPECT_EQ(progress.done(), 0);
        EXPECT_EQ(numbers, start);
        EXPECT_TRUE(log.isEmpty());
    }
    // The stop request belonged to that run only.
    pool::NumberPool numbers{"001", "002"};
    QString log;
    const workbench::FormulaRunResult run =
        workbench::RunFormulaFilter(engine, QStringLiteral("Function Custom_GL(N)\n Custom_GL = N = \"002\"\nEnd Function"),
                                    numbers, log);
    EXPECT_TRUE(run.ok) << run.error.text().toStdString();
    EXPECT_EQ(numbers, pool::NumberPool{"001"});
}

// A slow formula runs away from the window: it keeps painting, a progress box with 取消 comes
// up, and 取消 ends the run at once with the pool, the log, the undo ring and the description
// exactly as before.
TEST_F(FormulaFilterTest, SlowFormulaShowsProgressAndCancelsCleanly) {
    make();
    const QStringList start{"001", "002", "003"};
    load(start);
    form->session().setDescription = QStringLiteral("之前");
    // Each call runs into the engine's 10 s limit.
    setScript(QStringLiteral("Function Custom_GL(NUMBER)\n Do\n Loop\nEnd Function\n"));
    const QString before = log();
    const int index = form->session().ring.index();
    // 取消 once the box is up and the formula has run a while on another thread than the
    // window's, whose loop kept turning; a formula run on the window's thread never gets there.
    testsupport::TickWatch watch;
    bool pressed = false;
    watch.onTick = [&] {
        if (!pressed && watch.awayCpuMs() >= 100 && testsupport::ProgressBoxOf(form.get()) &&
            testsupport::ProgressBoxOf(form.get())->isVisible() && testsupport::PressProgressCancel(form.get()))
            pressed = true;
    };
    run();
    ASSERT_TRUE(pressed) << "no progress box with 取消 came up while the formula ran away";
    // Had 取消 not reached the running call, it would have run into the engine's limit and said so.
    EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
    EXPECT_EQ(numbers(), start);
    EXPECT_EQ(log(), before);
    EXPECT_EQ(form->session().ring.index(), index);
    EXPECT_EQ(form->session().setDescription, QStringLiteral("之前"));
    EXPECT_EQ(testsupport::ProgressBoxOf(form.get()), nullptr);

    // The window's engine serves the next formula.
    setScript(QStringLiteral("Function Custom_GL(NUMBER)\n Custom_GL = NUMBER = \"002\"\nEnd Function\n"));
    run();
    EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
    EXPECT_EQ(numbers(), (QStringList{"001", "003"}));
}

// A collection made after undo or redo is listed with the description of the set it holds,
// not of the step that was undone.
TEST_F(FormulaFilterTest, CollectionAfterUndoCarriesItsSetsDescription) {
    make();
    form->session().setDescription = QStringLiteral("大底一");
    load({"001", "002", "003"});
    setScript(QStringLiteral("Function Custom_GL(NUMBER)\n Custom_GL = NUMBER = \"002\"\nEnd Function\n"));
    run();
    ASSERT_EQ(numbers(), (QStringList{"001", "003"}));
    auto listedAs = [&]() -> QString {
        click(QStringLiteral("Command11"));
        EXPECT_TRUE(form->collectionSaved());
        auto* list = SetOperationsWindow::existing(*form)->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
        for (int i = 0; list && i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->data(2, Qt::UserRole).toString() == form->lastCollectionPath()) return list->topLevelItem(i)->text(0);
        return QStringLiteral("(not listed)");
    };
    form->undo();
    ASSERT_EQ(numbers(), (QStringList{"001", "002", "003"}));
    EXPECT_EQ(listedAs(), QStringLiteral("大底一"));
    form->redo();
    ASSERT_EQ(numbers(), (QStringList{"001", "003"}));
    EXPECT_EQ(listedAs(), kFormulaTitle);
}

// The code is added again for every number, so its top-level statements run before each call.
TEST_F(FormulaFilterTest, TopLevelStatementsRunBeforeEveryCall) {
    make();
    load({"001", "002", "003", "004"});
    setScript(QStringLiteral("calls = calls + 1\nFunction Custom_GL(NUMBER)\n"
                             " Custom_GL = (calls = 2 Or calls = 4)\nEnd Function\n"));
    run();
    EXPECT_TRUE(recorder->messages.isEmpty()) << recorder->lastText().toStdString();
    EXPECT_EQ(form->session().pool, (QStringList{"001", "003"}));
}

// MsgBox and InputBox of a formula are the program's boxes: the test hooks answer them.
TEST_F(FormulaFilterTest, FormulaBoxesGoThroughTheMessageLayer) {
    make();
    load({"123", "456", "789"});
    setScript(QStringLiteral("If IsEmpty(digit) Then digit = InputBox(\"去掉含哪个数字的号码?\", \"提问\", \"4\")\n"
                             "If IsEmpty(asked) Then asked = MsgBox(\"确定吗?\", 4 + 32 + 256, \"确认\")\n"
                             "Function Custom_GL(NUMBER)\n"
                             " Custom_GL = asked = 6 And InStr(NUMBER, digit) > 0\nEnd Function\n"));
    QStringList prompts;
    ui::SetInputHandler([&](const QString& prompt, const QString& title, QString* a) {
        prompts << prompt + u'|' + title;
        *a = QStringLiteral("5");
        return true;
    });
    recorder->answer = ui::Answer::Yes;
    run();
    EXPECT_EQ(prompts, QStringList{QStringLiteral("去掉含哪个数字的号码?|提问")});
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_EQ(recorder->messages[0].text, QStringLiteral("确定吗?"));
    EXPECT_EQ(recorder->messages[0].title, QStringLiteral("确认"));
    EXPECT_EQ(recorder->messages[0].icon, ui::Icon::Question);
    EXPECT_EQ(recorder->messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(recorder->messages[0].defaultButton, ui::Answer::No);
    EXPECT_EQ(form->session().pool, (QStringList{"123", "789"}));
}

TEST_F(FormulaFilterTest, SubstitutionIsExactAndCaseSensitive) {
    EXPECT_EQ(workbench::FormulaCode(QStringLiteral("a%条件%b%条件%%条件"), QStringLiteral("1,2")),
              QStringLiteral("a1,2b1,2%条件"));
    EXPECT_EQ(workbench::FormulaCode(QStringLiteral("x=\"%条件%\""), QString()), QStringLiteral("x=\"\""));
}

// The list holds the prompt and the folder's formulas; choosing one loads its code-page-936
// text, choosing the prompt keeps the script box as it is.
TEST_F(FormulaFilterTest, FormulaListLoadsFiles) {
    make();
    EXPECT_EQ(comboItems(), QStringList{kFormulaPrompt});  // no folder yet

    const QString text = QStringLiteral("' 和值公式\r\nFunction Custom_GL(NUMBER)\r\nEnd Function\r\n");
    writeFormula(QStringLiteral("和值.txt"), text);
    writeFormula(QStringLiteral("b.txt"), "x");
    dir.write(QStringLiteral("公式/readme.doc"), "no");
    form->refillFormulaList();
    EXPECT_EQ(comboItems(), (QStringList{kFormulaPrompt, QStringLiteral("b.txt"), QStringLiteral("和值.txt")}));

    choose(QStringLiteral("和值.txt"));
    EXPECT_EQ(script().remove(QLatin1Char('\r')), QString(text).remove(QLatin1Char('\r')));
    choose(kFormulaPrompt);
    EXPECT_EQ(script().remove(QLatin1Char('\r')), QString(text).remove(QLatin1Char('\r')));
    EXPECT_TRUE(recorder->messages.isEmpty());
}

// A formula deleted behind the list's back: choosing it empties the script box, says the file is
// gone and drops it from the list; 过滤 then refuses the empty script and changes nothing.
TEST_F(FormulaFilterTest, DeletedFormulaIsNeverRunAsAScript) {
    writeFormula(QStringLiteral("b.txt"), "Function Custom_GL(NUMBER)\r\n Custom_GL = True\r\nEnd Function\r\n");
    writeFormula(QStringLiteral("c.txt"), "x");
    make();
    load({"123", "456"});
    choose(QStringLiteral("b.txt"));
    run();  // defines Custom_GL in the engine: an empty script must not reach it
    EXPECT_TRUE(form->session().pool.isEmpty());

    load({"123", "456"});
    setScript(QStringLiteral("用户自己的公式"));
    QFile::remove(dir.file(QStringLiteral("公式/b.txt")));
    choose(QStringLiteral("b.txt"));
    EXPECT_EQ(script(), QString());
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_TRUE(recorder->messages[0].text.contains(QStringLiteral("b.txt")));
    EXPECT_TRUE(recorder->messages[0].text.contains(QStringLiteral("不存在")));
    EXPECT_EQ(comboItems(), (QStringList{kFormulaPrompt, QStringLiteral("c.txt")}));

    // Empty and blank scripts alike: one message under the filter's title, no log, no commit.
    for (const QString& blank : {QString(), QStringLiteral(" \n\t ")}) {
        setScript(blank);
        const QString before = log();
        recorder->messages.clear();
        run();
        ASSERT_EQ(recorder->messages.size(), 1);
        EXPECT_EQ(recorder->messages[0].title, kFormulaTitle);
        EXPECT_TRUE(recorder->messages[0].text.contains(QStringLiteral("公式内容为空")));
        EXPECT_EQ(log(), before);
        EXPECT_EQ(form->session().pool, (QStringList{"123", "456"}));
    }
    form->undo();  // undo reaches the set before the successful run: nothing else was committed
    EXPECT_TRUE(form->session().pool.isEmpty());
}

// A FIFO put in a formula's place, or in the home folder's page's place: each read returns at
// once, the formula with the reason in Chinese, the page as not shown.
TEST_F(FormulaFilterTest, FifoInPlaceOfAFormulaOrThePageFailsAtOnce) {
    writeFormula(QStringLiteral("b.txt"), "x");
    make();
    setScript(QStringLiteral("用户自己的公式"));
    QFile::remove(dir.file(QStringLiteral("公式/b.txt")));
    testsupport::Fifo formula(dir.file(QStringLiteral("公式/b.txt")));
    ASSERT_TRUE(formula.isMade());
    choose(QStringLiteral("b.txt"));
    EXPECT_FALSE(formula.readerWaited());
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_TRUE(recorder->messages[0].text.contains(QStringLiteral("这不是文件"))) << recorder->messages[0].text.toStdString();
    EXPECT_EQ(script(), QString());  // never run as a script

    testsupport::ProgramDir home;
    testsupport::Fifo page(home.file("wngs.htm"));
    ASSERT_TRUE(page.isMade());
    testsupport::EnvVar homeUrl("SIFMORA_HOME_URL", QUrl::fromLocalFile(home.path()).toString());
    withEditor([&](FormulaEditor& editor) {
        QEventLoop loop;
        bool finished = false, shown = true;
        QObject::connect(&editor, &FormulaEditor::pageFinished, &loop, [&](bool ok) {
            finished = true;
            shown = ok;
            loop.quit();
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // a guard against hanging, not a measurement
        loop.exec();
        EXPECT_TRUE(finished);
        EXPECT_FALSE(shown);
        EXPECT_FALSE(page.readerWaited());
    });
}

// The editor opens on the workbench's script; 确定 hands its text back, 取消 does not.
TEST_F(FormulaFilterTest, EditorOkAndCancel) {
    make();
    setScript(QStringLiteral("原来的公式"));
    withEditor([&](FormulaEditor& editor) {
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("自编公式"));
        EXPECT_EQ(editor.parentWidget(), nullptr);
        auto* text = EditorControl<QPlainTextEdit>(editor, QStringLiteral("Text1"));
        EXPECT_EQ(text->toPlainText(), QStringLiteral("原来的公式"));
        text->setPlainText(QStringLiteral("改过的"));
        EditorControl<QPushButton>(editor, QStringLiteral("Command5"))->click();
    });
    EXPECT_EQ(script(), QStringLiteral("原来的公式"));

    withEditor([&](FormulaEditor& editor) {
        EditorControl<QPlainTextEdit>(editor, QStringLiteral("Text1"))->setPlainText(QString());
        EditorControl<QPushButton>(editor, QStringLiteral("Command4"))->click();
        EXPECT_EQ(editor.result(), int(QDialog::Accepted));
    });
    EXPECT_EQ(script(), QString());
}

// Saving: the folder is made at the first opening; the text is stored as code page 936 with one
// closing line break; both lists see the new formula; the same name replaces the file.
TEST_F(FormulaFilterTest, EditorSavesFormulas) {
    make();
    ASSERT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("公式"))));
    QStringList offered;
    QString answer;
    ui::SetInputHandler([&](const QString& prompt, const QString& title, QString* a) {
        EXPECT_EQ(prompt, QStringLiteral("请输入公式名称："));
        EXPECT_EQ(title, QStringLiteral("保存公式"));
        offered << *a;
        *a = answer;
        return true;
    });
    setScript(QStringLiteral("工作台的公式"));
    withEditor([&](FormulaEditor& editor) {
        EXPECT_TRUE(QFileInfo(dir.file(QStringLiteral("公式"))).isDir());
        EXPECT_TRUE(EditorFiles(editor).isEmpty());
        // The folder by its name, its whole path as the tooltip.
        auto* folder = EditorControl<QLabel>(editor, QStringLiteral("Label1"));
        EXPECT_EQ(folder->text(), QDir::toNativeSeparators(QStringLiteral("公式/")));
        EXPECT_EQ(folder->toolTip(), QDir::toNativeSeparators(dir.file(QStringLiteral("公式/"))));
        auto* text = EditorControl<QPlainTextEdit>(editor, QStringLiteral("Text1"));
        QAction* save = editor.findChild<QAction*>(QStringLiteral("menu2"));
        ASSERT_NE(save, nullptr);

        text->setPlainText(QStringLiteral("' 第一版\nFunction Custom_GL(NUMBER)\nEnd Function"));
        answer = QStringLiteral("跨度");
        save->trigger();
        text->setPlainText(QStringLiteral("' 第二版"));
        save->trigger();
        EXPECT_EQ(offered, (QStringList{QString(), QStringLiteral("跨度")}));
        EXPECT_EQ(dir.read(QStringLiteral("公式/跨度.txt")), common::EncodeAnsi(QStringLiteral("' 第二版\r\n")));
        EXPECT_EQ(EditorFiles(editor), QStringList{QStringLiteral("跨度.txt")});
        EXPECT_EQ(comboItems(), (QStringList{kFormulaPrompt, QStringLiteral("跨度.txt")}));
        // The refill selects the prompt but keeps the workbench's script (a 取消 now loses nothing).
        EXPECT_EQ(script(), QStringLiteral("工作台的公式"));

        // Blanks only save nothing but still refresh both lists.
        writeFormula(QStringLiteral("外部.txt"), "x");
        answer = QStringLiteral("   ");
        save->trigger();
        EXPECT_EQ(EditorFiles(editor), (QStringList{QStringLiteral("外部.txt"), QStringLiteral("跨度.txt")}));
        EXPECT_EQ(comboItems().size(), 3);

        // A name that would leave the folder is refused with a message; nothing is written.
        answer = QStringLiteral("../逃出");
        recorder->messages.clear();
        save->trigger();
        ASSERT_EQ(recorder->messages.size(), 1);
        EXPECT_EQ(recorder->messages[0].icon, ui::Icon::Information);
        EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("逃出.txt"))));
        EXPECT_EQ(QDir(dir.file(QStringLiteral("公式"))).entryList(QDir::Files).size(), 2);
    });
    // The stored text reads back through the workbench's list.
    choose(QStringLiteral("跨度.txt"));
    EXPECT_EQ(script().remove(QLatin1Char('\r')), QStringLiteral("' 第二版\n"));
}

// Loading by double click remembers the name, which saving then offers; deleting asks first.
TEST_F(FormulaFilterTest, EditorLoadsAndDeletes) {
    writeFormula(QStringLiteral("A.txt"), QStringLiteral("' 甲\r\nx = 1\r\n"));
    writeFormula(QStringLiteral("B.txt"), "y");
    make();
    QStringList offered;
    ui::SetInputHandler([&](const QString&, const QString&, QString* a) {
        offered << *a;
        return false;  // cancelled: nothing saved, lists still refreshed
    });
    withEditor([&](FormulaEditor& editor) {
        SelectEditorFile(editor, QStringLiteral("A.txt"));
        auto* files = EditorControl<QListWidget>(editor, QStringLiteral("File1"));
        emit files->itemDoubleClicked(files->currentItem());
        EXPECT_EQ(editor.rememberedName(), QStringLiteral("A"));
        EXPECT_EQ(EditorControl<QPlainTextEdit>(editor, QStringLiteral("Text1"))->toPlainText(),
                  QStringLiteral("' 甲\nx = 1\n"));
        testsupport::Trigger(&editor, QStringLiteral("menu2"));  // 保存为新公式
        EXPECT_EQ(offered, QStringList{QStringLiteral("A")});

        SelectEditorFile(editor, QStringLiteral("B.txt"));
        recorder->answer = ui::Answer::No;
        testsupport::ClickOn(EditorControl<QLabel>(editor, QStringLiteral("Label2")));  // 删除所选公式
        ASSERT_EQ(recorder->messages.size(), 1);
        EXPECT_EQ(recorder->messages[0].text, QStringLiteral("此步骤将删除“B.txt”公式,是否继续?"));
        EXPECT_EQ(recorder->messages[0].title, QStringLiteral("自编公式"));
        EXPECT_EQ(recorder->messages[0].icon, ui::Icon::Question);
        EXPECT_EQ(recorder->messages[0].buttons, ui::Buttons::YesNo);
        EXPECT_EQ(recorder->messages[0].defaultButton, ui::Answer::No);
        EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("公式/B.txt"))));

        recorder->answer = ui::Answer::Yes;
        testsupport::ClickOn(EditorControl<QLabel>(editor, QStringLiteral("Label2")));  // 删除所选公式
        EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("公式/B.txt"))));
        EXPECT_EQ(EditorFiles(editor), QStringList{QStringLiteral("A.txt")});
        EXPECT_EQ(comboItems(), (QStringList{kFormulaPrompt, QStringLiteral("A.txt")}));
        EXPECT_EQ(recorder->messages.size(), 2);
    });
}

// The home server's formula page is shown beside the text; without a server nothing is asked.
TEST_F(FormulaFilterTest, EditorShowsTheHomeServersPage) {
    testsupport::HttpServer server;
    ASSERT_TRUE(server.isListening());
    server.serve(QStringLiteral("/wngs.htm"),
                 common::EncodeAnsi(QStringLiteral("<html><head><meta charset=\"gb2312\"></head>"
                                                   "<body>万能公式说明</body></html>")),
                 200, "text/html");
    make();
    {
        testsupport::EnvVar home("SIFMORA_HOME_URL", server.baseUrl());
        withEditor([&](FormulaEditor& editor) {
            QEventLoop loop;
            bool shown = false;
            QObject::connect(&editor, &FormulaEditor::pageFinished, &loop, [&](bool ok) {
                shown = ok;
                loop.quit();
            });
            QTimer::singleShot(30000, &loop, &QEventLoop::quit);  // a guard, not a measurement
            loop.exec();
            EXPECT_TRUE(shown);
            EXPECT_TRUE(EditorControl<QTextBrowser>(editor, QStringLiteral("WebBrowser1"))
                            ->toPlainText()
                            .contains(QStringLiteral("万能公式说明")));
        });
    }
    EXPECT_EQ(server.requestCount(QStringLiteral("/wngs.htm")), 1);

    // Closing the editor before the page arrives drops the transfer quietly.
    {
        testsupport::HttpResponse slow;
        slow.body = "<html><body>late</body></html>";
        slow.delayMs = 300;
        server.setResponse(QStringLiteral("/wngs.htm"), slow);
        testsupport::EnvVar home("SIFMORA_HOME_URL", server.baseUrl());
        withEditor([&](FormulaEditor& editor) { EditorControl<QPushButton>(editor, QStringLiteral("Command5"))->click(); });
        EXPECT_EQ(script(), QString());
    }

    testsupport::EnvVar none("SIFMORA_HOME_URL", QString());
    const int asked = server.requestCount(QStringLiteral("/wngs.htm"));
    withEditor([&](FormulaEditor& editor) {
        EXPECT_TRUE(EditorControl<QTextBrowser>(editor, QStringLiteral("WebBrowser1"))->toPlainText().isEmpty());
    });
    EXPECT_EQ(server.requestCount(QStringLiteral("/wngs.htm")), asked);
}

}  // namespace
