// WorkbenchWindow's results: undo and redo through the pool's ring, 【做大底】 (the pool saved as a
// collection and listed in the set-operations window), the export, and deleting one number
// from the result list.
#include "workbench/workbenchwindow.h"

#include "common/settings.h"
#include "dialogs/setoperationswindow.h"
#include "platform/ui/messagebox.h"
#include "workbench/numberfiles.h"
#include "workbench/workbenchlinks.h"

#include <QDateTime>
#include <QListView>

using pool::kNewLine;

void WorkbenchWindow::Command52_Click() {
    session_.Undo();
    if (!session_.pool.isEmpty()) enterFilteringMode();
}

void WorkbenchWindow::Command51_Click() {
    session_.Redo();
    if (!session_.pool.isEmpty()) enterFilteringMode();
}

void WorkbenchWindow::Command11_Click() {
    QString path, error;
    collectionSaved_ = workbench::SaveCollection(session_.pool, QDateTime::currentDateTime(), &path, &error);
    if (!collectionSaved_) {
        ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    lastCollectionPath_ = path;
    // Lists the file in the set-operations window (caption 大底采集) and shows it.
    if (!SetOperationsWindow::AddCollection(path, session_.setDescription)) collectionSaved_ = false;
}

void WorkbenchWindow::Command13_Click() {
    const QString chosen = workbench::AskSaveFileName(this, QStringLiteral("导出奖号"),
                                                      workbench::ExportDefaultName(QDate::currentDate()),
                                                      QStringLiteral("文本文件 (*.txt)"));
    if (chosen.isEmpty()) return;  // cancelled
    const QString path = workbench::WithDefaultExtension(chosen);
    QString error;
    if (!workbench::ExportNumbers(session_.pool, path, &error)) {
        ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, this);
        return;
    }
    common::SaveExportPath(workbench::FolderOf(path));
}

void WorkbenchWindow::List1_DblClick() {
    QListView* list = resultList_;
    const QModelIndex index = list->currentIndex();
    if (!index.isValid() || !list->selectionModel()->isSelected(index)) return;
    const int row = index.row();
    if (row < 0 || row >= session_.pool.size()) return;
    appendLog(kNewLine + QStringLiteral("删除 ") + session_.pool.at(row) + kNewLine);
    session_.pool.removeAt(row);
    session_.CommitSet();
}
