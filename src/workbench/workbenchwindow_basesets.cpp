// WorkbenchWindow's conversions of the pool between straight and group numbers and the reset to
// building mode (the base-set frames themselves are basesetframes.h's).
#include "workbench/workbenchwindow.h"

#include "pool/numberpool.h"
#include "workbench/basesetframes.h"
#include "workbench/basesets.h"
#include "workbench/resultsframe.h"

#include <QLabel>
#include <QPushButton>
#include <QStringListModel>

using pool::kNewLine;

void WorkbenchWindow::Command30_Click() {
    session_.pool = workbench::ExpandToStraight(session_.pool);
    session_.setDescription += QStringLiteral("=》组变单");
    appendLog(kNewLine + QStringLiteral("组变单") + kNewLine);
    session_.CommitSet();
}

void WorkbenchWindow::Command31_Click() {
    workbench::ReduceToGroup(session_.pool);
    session_.setDescription += QStringLiteral("=》单变组");
    appendLog(kNewLine + QStringLiteral("单变组") + kNewLine);
    session_.CommitSet();
}

void WorkbenchWindow::Command58_Click() {
    session_.pool.clear();
    for (QPushButton* b : baseFrame_->buildingButtons()) b->setEnabled(true);
    positionalFrame_->buildButton()->setEnabled(true);
    setFilterButtons(false);
    baseFrame_->buildingButtons().front()->setFocus();
    session_.log.reset();
    results_->clear();
}
