// The workbench's tab 万能公式: its controls, the formula files, and the formula run
// (formulafilter.h) away from the window, on a copy of the pool.
#include "workbench/formulatab.h"

#include "dialogs/formulaeditor.h"
#include "dialogs/formulafiles.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/progressrun.h"
#include "platform/ui/scriptboxes.h"
#include "script/scriptengine.h"
#include "workbench/benchcontrols.h"
#include "workbench/formulafilter.h"

#include <QFileInfo>
#include <QPlainTextEdit>

namespace workbench {

FormulaTab::FormulaTab(dialogs::WorkbenchApi& bench) : bench_(bench) {
    QGroupBox* f19 = Frm(this, QStringLiteral("Frame19"), QStringLiteral("万能公式过滤"), 2, 0, 402, 236);
    list_ = Cmb(f19, QStringLiteral("Combo21"), 6, 18, 280, false);
    condition_ = Chk(f19, QStringLiteral("Check67"), QStringLiteral("设置条件:"), 6, 44, 90, 20, true);
    conditionText_ = Line(f19, QStringLiteral("Text28"), 100, 44, 200);
    conditionText_->setToolTip(QStringLiteral("这里输入要过滤的条件"));
    text_ = new QPlainTextEdit(f19);
    text_->setObjectName(QStringLiteral("Text29"));
    text_->setGeometry(6, 68, 390, 136);
    edit_ = Button(f19, this, &FormulaTab::edit, QStringLiteral("Command68"), QStringLiteral("编写公式…"), 6, 208, 90, 24);
    run_ = Button(f19, this, &FormulaTab::run, QStringLiteral("Command67"), QStringLiteral("过滤"), 346, 212);
    connect(list_, qOverload<int>(&QComboBox::activated), this, &FormulaTab::loadChosen);
}

void FormulaTab::bindModel() {
    pool::FormulaInputs& formula = bench_.model().formula;
    Bind(this, condition_, formula.conditionOn);
    Bind(this, conditionText_, formula.condition);
    // After the binding: the handler reads the model the box has just written.
    connect(condition_, &QCheckBox::toggled, this, &FormulaTab::conditionSwitched);
}

FormulaTab::~FormulaTab() = default;

script::ScriptEngine& FormulaTab::engine() {
    // One engine for the window's whole life; each run starts it afresh (RunFormulaFilter).
    if (!engine_) {
        engine_ = std::make_unique<script::ScriptEngine>();
        engine_->setLanguage(QStringLiteral("VBScript"));
        engine_->setTimeout(10000);
        boxes_ = std::make_unique<ui::ScriptBoxes>(bench_.dialogParent());
        engine_->setHost(boxes_.get());
    }
    return *engine_;
}

void FormulaTab::refillList() {
    list_->clear();
    list_->addItem(QStringLiteral("选择要过滤的万能公式"));
    list_->addItems(dialogs::ListFormulaFiles());  // a missing folder lists nothing
    // The prompt is selected without loading it, so a refill (the editor's save) never
    // replaces the script box's text by a not-found message.
    list_->setCurrentIndex(0);
}

void FormulaTab::conditionSwitched() {
    const bool on = bench_.model().formula.conditionOn;
    text_->setEnabled(on);
    edit_->setEnabled(on);
}

void FormulaTab::loadChosen() {
    // The prompt names no formula: the script box keeps what the user has.
    if (list_->currentIndex() <= 0) return;
    const QString fileName = list_->currentText();
    QString text, error;
    if (dialogs::ReadFormulaFile(fileName, &text, &error)) {
        bench_.setInput(pool::InputBox::Formula, text);
        return;
    }
    // A message never becomes a script: the box is emptied, so 过滤 refuses to run it.
    bench_.setInput(pool::InputBox::Formula, QString());
    const QString reason = QFileInfo::exists(dialogs::FormulaFilePath(fileName))
                               ? QStringLiteral("公式文件“%1”无法读取（%2）。").arg(fileName, error)
                               : QStringLiteral("公式文件“%1”不存在，可能已被删除。").arg(fileName);
    ui::MsgBox(reason, ui::Icon::Information, ui::Buttons::Ok, QStringLiteral("万能条件(公式)过滤"), bench_.dialogParent());
    refillList();  // the list no longer offers what is gone
}

void FormulaTab::edit() { FormulaEditor::Open(bench_, bench_.model().input(pool::InputBox::Formula)); }

void FormulaTab::run() {
    const QString title = QStringLiteral("万能条件(公式)过滤");
    QWidget* parent = bench_.dialogParent();
    const QString formula = bench_.model().input(pool::InputBox::Formula);
    if (formula.trimmed().isEmpty()) {
        ui::MsgBox(QStringLiteral("公式内容为空，请先选择或编写要过滤的万能公式。"), ui::Icon::Information,
                   ui::Buttons::Ok, title, parent);
        return;
    }
    const QString code = FormulaCode(formula, bench_.model().formula.condition);
    // Away from the window, on a copy: the window keeps painting, 取消 stops even a call under
    // way, and only a finished run touches the pool and the log.
    script::ScriptEngine& scripts = engine();
    pool::PoolSession& session = bench_.session();
    pool::NumberPool filtered = session.pool;
    QString removed;
    FormulaRunResult result;
    const bool finished = ui::RunWithProgress(parent, QStringLiteral("正在运行万能公式…"), [&](common::WorkProgress& progress) {
        result = RunFormulaFilter(scripts, code, filtered, removed, &progress);
    });
    if (!finished || result.cancelled) return;
    if (result.noCustomGl) {
        // Nothing was filtered: the log and the pool stay as they were.
        ui::MsgBox(kNoCustomGl, ui::Icon::Information, ui::Buttons::Ok, title, parent);
        return;
    }
    if (!result.ok) {
        // The pool is as it was; the log says so instead of listing numbers that stayed.
        session.log.append(pool::FilterLogHeader(title + QStringLiteral("开始")) + QStringLiteral("公式出错,号码未改变") +
                           pool::kNewLine);
        ui::MsgBox(FormulaErrorText(result, code), ui::Icon::Information, ui::Buttons::Ok, title, parent);
        return;
    }
    session.pool = std::move(filtered);
    session.log.append(pool::FilterLogHeader(title + QStringLiteral("开始")) + removed +
                       pool::FilterLogFooter(result.removed, int(session.pool.size())));
    session.setDescription = title;
    session.CommitSet();
}

}  // namespace workbench
