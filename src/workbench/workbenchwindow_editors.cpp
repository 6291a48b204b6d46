// WorkbenchWindow's condition editors and batch filters: the buttons that open the editors,
// and the hidden buttons Command70 / Command71 the editors press to run the basic and the
// advanced batch over the model's ticked families (batch.h, batchinputs.h).
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "dialogs/onedigiteditor.h"
#include "dialogs/optioneditor.h"
#include "dialogs/patterneditor.h"
#include "dialogs/positionexclusioneditor.h"
#include "dialogs/sumeditor.h"
#include "platform/ui/messagebox.h"
#include "workbench/batch.h"
#include "workbench/batchinputs.h"

#include <QPlainTextEdit>
#include <QTextCursor>

void WorkbenchWindow::Command70_Click() { Command5_Click(); }
void WorkbenchWindow::Command71_Click() { Command7_Click(); }
void WorkbenchWindow::Command5_Click() {
    log_->moveCursor(QTextCursor::End);
    workbench::RunBasicBatch(model_);
    showFamilies();
}
void WorkbenchWindow::Command7_Click() {
    log_->moveCursor(QTextCursor::End);
    const QString warning = workbench::RunAdvancedBatch(model_, common::App().history);
    showFamilies();
    if (!warning.isEmpty()) ui::MsgBox(warning, ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, this);
}

// ---- Editor openers -------------------------------------------------------------------------

void WorkbenchWindow::Command15_Click() { PositionExclusionEditor::Open(); }
void WorkbenchWindow::Command18_Click() { PatternEditor::Open(0); }
void WorkbenchWindow::Command19_Click() { PatternEditor::Open(1); }
void WorkbenchWindow::Command26_Click() { PatternEditor::Open(2); }
void WorkbenchWindow::Command27_Click() { PatternEditor::Open(4); }
void WorkbenchWindow::Command28_Click() { SumEditor::Open(); }
void WorkbenchWindow::Command32_Click() { PatternEditor::Open(3); }
void WorkbenchWindow::Command39_Click() { OptionEditor::Open(0); }
void WorkbenchWindow::Command41_Click() { PatternEditor::Open(5); }
void WorkbenchWindow::Command46_Click() { PatternEditor::Open(6); }
void WorkbenchWindow::Command50_Click() { PatternEditor::Open(7); }
void WorkbenchWindow::Command53_Click() { OneDigitEditor::Open(); }
void WorkbenchWindow::Command56_Click() { OptionEditor::Open(1); }
void WorkbenchWindow::Command59_Click() { OptionEditor::Open(4); }
void WorkbenchWindow::Command60_Click() { OptionEditor::Open(2); }
void WorkbenchWindow::Command61_Click() { OptionEditor::Open(3); }
