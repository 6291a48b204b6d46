// WorkbenchWindow's universal formula frame (万能公式过滤): the list of formula files, loading a
// formula, editing it in the formula editor, and running it over the pool through the
// window's script engine.
#include "workbench/workbenchwindow.h"

#include "dialogs/formulaeditor.h"
#include "dialogs/formulafiles.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/progressrun.h"
#include "platform/ui/scriptboxes.h"
#include "script/scriptengine.h"
#include "workbench/formulafilter.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

script::ScriptEngine& WorkbenchWindow::ScriptControl1() {
    // One engine for the window's whole life: definitions of earlier runs stay in it.
    if (!scriptControl1_) {
        scriptControl1_ = std::make_shared<script::ScriptEngine>();
        scriptControl1_->setLanguage(QStringLiteral("VBScript"));
        scriptControl1_->setTimeout(10000);
        scriptBoxes_ = std::make_shared<ui::ScriptBoxes>(this);
        scriptControl1_->setHost(scriptBoxes_.get());
    }
    return *scriptControl1_;
}

void WorkbenchWindow::Combo21_re() {
    QComboBox* combo = formulaList_;
    combo->clear();
    combo->addItem(QStringLiteral("选择要过滤的万能公式"));
    combo->addItems(dialogs::ListFormulaFiles());  // a missing folder lists nothing
    // The prompt is selected without loading it, so a refill (the editor's save) never
    // replaces the script box's text by a not-found message.
    combo->setCurrentIndex(0);
}

void WorkbenchWindow::Check67_Click() {
    const bool on = formulaCondition_->isChecked();
    formulaText_->setEnabled(on);
    formulaEdit_->setEnabled(on);
}

void WorkbenchWindow::Combo21_Click() {
    QComboBox* combo = formulaList_;
    // The prompt names no formula: the script box keeps what the user has.
    if (combo->currentIndex() <= 0) return;
    const QString fileName = combo->currentText();
    QPlainTextEdit* script = formulaText_;
    QString text, error;
    if (dialogs::ReadFormulaFile(fileName, &text, &error)) {
        script->setPlainText(text);
        return;
    }
    // A message never becomes a script: the box is emptied, so 过滤 refuses to run it.
    script->clear();
    const QString reason = QFileInfo::exists(dialogs::FormulaFilePath(fileName))
                               ? QStringLiteral("公式文件“%1”无法读取（%2）。").arg(fileName, error)
                               : QStringLiteral("公式文件“%1”不存在，可能已被删除。").arg(fileName);
    ui::MsgBox(reason, ui::Icon::Information, ui::Buttons::Ok, QStringLiteral("万能条件(公式)过滤"), this);
    Combo21_re();  // the list no longer offers what is gone
}

void WorkbenchWindow::Command68_Click() { FormulaEditor::Open(model_.input(pool::InputBox::Formula)); }

void WorkbenchWindow::Command67_Click() {
    const QString title = QStringLiteral("万能条件(公式)过滤");
    if (model_.input(pool::InputBox::Formula).trimmed().isEmpty()) {
        ui::MsgBox(QStringLiteral("公式内容为空，请先选择或编写要过滤的万能公式。"), ui::Icon::Information,
                   ui::Buttons::Ok, title, this);
        return;
    }
    const QString code = workbench::FormulaCode(model_.input(pool::InputBox::Formula),
                                                formulaConditionText_->text());
    // The engine still holds the previous formula's Custom_GL: running a script without its
    // own would filter by that one.
    if (!workbench::DefinesCustomGl(code)) {
        ui::MsgBox(workbench::kNoCustomGl, ui::Icon::Information, ui::Buttons::Ok, title, this);
        return;
    }
    // Away from the window, on a copy: the window keeps painting, 取消 stops even a call under
    // way, and only a finished run touches the pool and the log.
    script::ScriptEngine& engine = ScriptControl1();
    pool::NumberPool filtered = session_.pool;
    QString removed;
    workbench::FormulaRunResult run;
    const bool finished = ui::RunWithProgress(this, QStringLiteral("正在运行万能公式…"), [&](common::WorkProgress& progress) {
        run = workbench::RunFormulaFilter(engine, code, filtered, removed, &progress);
    });
    if (!finished || run.cancelled) return;
    if (!run.ok) {
        // The pool is as it was; the log says so instead of listing numbers that stayed.
        appendLog(pool::FilterLogHeader(title + QStringLiteral("开始")) + QStringLiteral("公式出错,号码未改变") +
                  pool::kNewLine);
        ui::MsgBox(workbench::FormulaErrorText(run, code), ui::Icon::Information, ui::Buttons::Ok, title, this);
        return;
    }
    session_.pool = std::move(filtered);
    appendLog(pool::FilterLogHeader(title + QStringLiteral("开始")) + removed +
              pool::FilterLogFooter(run.removed, int(session_.pool.size())));
    session_.setDescription = title;
    session_.CommitSet();
}
