// The universal formula filter and the formula editor, on the real workbench offscreen.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/numbertables.h"
#include "common/textcodec.h"
#include "dialogs/formulaeditor.h"
#include "httpserver.h"
#include "platform/ui/messagebox.h"
#include "testsupport.h"
#include "workbench/formulafilter.h"
#include "workbench/workbench.h"
#include "workbenchfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

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
        common::App().history = common::DrawHistory(QStringList{"2025001 123", "2025002 456"});
        common::App().busyFlag = false;
        recorder = std::make_unique<ui::MessageRecorder>();
    }
    void TearDown() override {
        form.reset();
        ui::SetModalHandler({});
        ui::SetInputHandler({});
        workbench::SetSmartSystemOpener({});
        recorder.reset();
    }
    // The workbench lists the formula folder when it loads.
    void make() {
        form = std::make_unique<WorkbenchWindow>();
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
        EXPECT_EQ(get<QPushButton>(QStringLiteral("Command11"))->property("Tag").toString(), kFormulaTitle);
    }
    // The step is an undo snapshot like any filter.
    form->Command52_Click();
    EXPECT_EQ(form->session().pool, all);
}

// A script that fails keeps every number: none is lost, nothing is committed, and the error's
// description is shown under the filter's title.
TEST_F(FormulaFilterTest, ScriptErrorsShowTheDescriptionAndKeepThePool) {
    make();
    const QStringList start{"001", "002", "003", "004", "005"};
    struct Case {
        const char* what;
        QString script;
        QString description;  // empty: any non-empty description
    };
    const Case cases[] = {
        // Numbers before the failing one would have been removed.
        {"run-time error after removals",
         "Function Custom_GL(NUMBER)\n If NUMBER = \"004\" Then Err.Raise 1000, \"f\", \"stopped at 004\"\n"
         " Custom_GL = True\nEnd Function\n",
         QStringLiteral("stopped at 004")},
        {"does not compile", "Function Custom_GL(NUMBER)\n If NUMBER Then\nEnd Function\n", QString()},
        {"division by zero", "Function Custom_GL(NUMBER)\n Custom_GL = 1 / (CInt(NUMBER) - 3)\nEnd Function\n",
         QString()},
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
        EXPECT_EQ(recorder->messages[0].title, kFormulaTitle);
        EXPECT_EQ(recorder->messages[0].icon, ui::Icon::Information);
        EXPECT_EQ(recorder->messages[0].buttons, ui::Buttons::Ok);
        if (c.description.isEmpty()) EXPECT_FALSE(recorder->messages[0].text.isEmpty());
        else EXPECT_EQ(recorder->messages[0].text, c.description);
        EXPECT_EQ(form->session().pool, start);
        EXPECT_EQ(log(), before + kFormulaHeader + kFormulaFailLine);
        EXPECT_EQ(form->session().setDescription, QStringLiteral("之前"));
    }
    // Nothing was committed: undo goes back past the failed run to the set before it.
    load({"888"});
    load(start);
    setScript(cases[0].script);
    run();
    form->Command52_Click();
    EXPECT_EQ(form->session().pool, QStringList{"888"});
}

TEST_F(FormulaFilterTest, NoCustomGlInAFreshEngineFailsAtTheFirstNumber) {
    make();
    load({"123", "456"});
    setScript(QStringLiteral("x = 1\n"));
    const QString before = log();
    run();
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_FALSE(recorder->messages[0].text.isEmpty());
    EXPECT_EQ(log(), before + kFormulaHeader + kFormulaFailLine);
    EXPECT_EQ(form->session().pool, (QStringList{"123", "456"}));
}

// The condition text goes in verbatim; results equal to True are True and -1 only; the engine
// keeps the last Custom_GL for a later run whose script defines none.
TEST_F(FormulaFilterTest, ConditionResultsAndTheLastingEngine) {
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

    // A later script without the condition still finds the top-level T the engine kept.
    load({"111", "222", "555"});
    setScript(QStringLiteral("' 沿用上次的条件"));
    run();
    EXPECT_TRUE(recorder->messages.isEmpty());
    EXPECT_EQ(form->session().pool, (QStringList{"222"}));

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
    EXPECT_EQ(get<QPushButton>(QStringLiteral("Command11"))->property("Tag").toString(), kFormulaTitle);
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
    form->Combo21_re();
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
    form->Command52_Click();  // undo reaches the set before the successful run: nothing else was committed
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
    QElapsedTimer clock;
    clock.start();
    choose(QStringLiteral("b.txt"));
    EXPECT_LT(clock.elapsed(), 1000);
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
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);  // a guard, not a measurement
        QElapsedTimer pageClock;
        pageClock.start();
        loop.exec();
        EXPECT_TRUE(finished);
        EXPECT_FALSE(shown);
        EXPECT_LT(pageClock.elapsed(), 1000);
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
        EXPECT_TRUE(EditorControl<QLabel>(editor, QStringLiteral("Label1"))->text().endsWith(
            QDir::toNativeSeparators(QStringLiteral("公式/"))));
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
        editor.File1_DblClick();
        EXPECT_EQ(editor.rememberedName(), QStringLiteral("A"));
        EXPECT_EQ(EditorControl<QPlainTextEdit>(editor, QStringLiteral("Text1"))->toPlainText(),
                  QStringLiteral("' 甲\nx = 1\n"));
        editor.menu2_Click();
        EXPECT_EQ(offered, QStringList{QStringLiteral("A")});

        SelectEditorFile(editor, QStringLiteral("B.txt"));
        recorder->answer = ui::Answer::No;
        editor.Label2_Click();
        ASSERT_EQ(recorder->messages.size(), 1);
        EXPECT_EQ(recorder->messages[0].text, QStringLiteral("此步骤将删除“B.txt”公式,是否继续?"));
        EXPECT_EQ(recorder->messages[0].title, QStringLiteral("自编公式"));
        EXPECT_EQ(recorder->messages[0].icon, ui::Icon::Question);
        EXPECT_EQ(recorder->messages[0].buttons, ui::Buttons::YesNo);
        EXPECT_EQ(recorder->messages[0].defaultButton, ui::Answer::No);
        EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("公式/B.txt"))));

        recorder->answer = ui::Answer::Yes;
        editor.Label2_Click();
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
