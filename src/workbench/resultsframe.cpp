// The workbench's results: the session shown, 【做大底】 (saved as a collection and listed in the
// set-operations window), the export (numberfiles.h), the prize check and deleting one number.
#include "workbench/resultsframe.h"

#include "common/paths.h"
#include "common/settings.h"
#include "dialogs/numberpreviewwindow.h"
#include "dialogs/prizecheckwindow.h"
#include "dialogs/setoperationswindow.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"
#include "workbench/benchcontrols.h"
#include "workbench/numberfiles.h"
#include "workbench/workbenchlinks.h"

#include <QDateTime>
#include <QDir>
#include <QListView>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QTextCursor>

#include <exception>

namespace workbench {

ResultsFrame::ResultsFrame(dialogs::WorkbenchApi& bench, QWidget* parent) : QGroupBox(parent), bench_(bench) {
    setObjectName(QStringLiteral("Frame8"));
    setTitle(QStringLiteral("缩水结果"));
    setGeometry(376, 284, 416, 220);
    log_ = new QPlainTextEdit(this);
    log_->setObjectName(QStringLiteral("Text5"));
    log_->setGeometry(8, 18, 260, 167);
    log_->setReadOnly(true);
    log_->setUndoRedoEnabled(false);
    list_ = new QListView(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setGeometry(293, 18, 115, 167);
    list_->setToolTip(QStringLiteral("双击删除"));
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setUniformItemSizes(true);
    listModel_ = new QStringListModel(this);
    list_->setModel(listModel_);
    connect(list_, &QListView::doubleClicked, this, &ResultsFrame::deleteChosen);
    count_ = Lbl(this, QStringLiteral("Label5"), QStringLiteral("统计"), 8, 194, 140);
    using F = ResultsFrame;
    preview_ = MakeButton(this, QStringLiteral("Command25"), QStringLiteral("预览"), 160, 194, 60, 26);
    connect(preview_, &QPushButton::clicked, this, [this] { NumberPreviewWindow::Open(bench_, bench_.state()); });
    prizes_ = Button(this, this, &F::checkPrizes, QStringLiteral("Command16"), QStringLiteral("兑奖"), 220, 194, 60, 26);
    export_ = Button(this, this, &F::exportNumbers, QStringLiteral("Command13"), QStringLiteral("保存"), 280, 194, 60, 26);
    collection_ = Button(this, this, &F::saveCollection, QStringLiteral("Command11"), QStringLiteral("【做大底】"), 340, 194, 76, 26);
}

QList<QPushButton*> ResultsFrame::buttons() const { return {collection_, export_, prizes_, preview_}; }

void ResultsFrame::followSession() {
    pool::PoolSession& session = bench_.session();
    QPlainTextEdit* log = log_;
    session.log.onAppend = [log](const QString& block) {
        // Appended in one piece at the end, whatever the caret was doing.
        QTextCursor c(log->document());
        c.movePosition(QTextCursor::End);
        c.insertText(block);
        log->moveCursor(QTextCursor::End);
    };
    session.log.onReplace = [&session, log]() {
        log->setPlainText(session.log.text());
        log->moveCursor(QTextCursor::End);
    };
    session.onCommit = [this](const pool::NumberPool& numbers) {
        listModel_->setStringList(numbers);
        count_->setText(pool::PoolSession::CountLabel(int(numbers.size())));
    };
}

void ResultsFrame::clear() {
    listModel_->setStringList({});
    count_->clear();
}

void ResultsFrame::place(double wr) {
    if (int(list_->width() * wr) >= 0 && height() - 53 >= 0)
        list_->setGeometry(list_->x(), list_->y(), int(list_->width() * wr), height() - 53);
    if (int(log_->width() * wr) >= 0 && list_->height() >= 0)
        log_->setGeometry(log_->x(), log_->y(), int(log_->width() * wr), list_->height());
    list_->move(log_->width() + 33, log_->y());
    count_->move(count_->x(), log_->height() + 27);
}

void ResultsFrame::saveCollection() {
    pool::PoolSession& session = bench_.session();
    QString path, error;
    collectionSaved_ = SaveCollection(session.pool, QDateTime::currentDateTime(), &path, &error);
    if (!collectionSaved_) {
        ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, bench_.dialogParent());
        return;
    }
    lastCollectionPath_ = path;
    // Lists the file in the set-operations window (caption 大底采集) and shows it.
    if (!SetOperationsWindow::AddCollection(bench_, path, session.setDescription)) collectionSaved_ = false;
}

void ResultsFrame::exportNumbers() {
    QWidget* parent = bench_.dialogParent();
    // The proposal lies in HAO, made again if it went since the start (otherwise the dialog
    // starts in the program folder).
    QDir().mkpath(common::NumberFolder());
    const QString chosen = AskSaveFileName(parent, QStringLiteral("导出奖号"), ExportDefaultName(QDate::currentDate()),
                                           QStringLiteral("文本文件 (*.txt)"));
    if (chosen.isEmpty()) return;  // cancelled
    const QString path = WithDefaultExtension(chosen);
    QString error;
    if (!ExportNumbers(bench_.session().pool, path, &error)) {
        ui::MsgBox(error, ui::Icon::Critical, ui::Buttons::Ok, ui::kAppTitle, parent);
        return;
    }
    common::SaveExportPath(FolderOf(path));
}

void ResultsFrame::deleteChosen() {
    const QModelIndex index = list_->currentIndex();
    if (!index.isValid() || !list_->selectionModel()->isSelected(index)) return;
    pool::PoolSession& session = bench_.session();
    const int row = index.row();
    if (row < 0 || row >= session.pool.size()) return;
    session.log.append(pool::kNewLine + QStringLiteral("删除 ") + session.pool.at(row) + pool::kNewLine);
    session.pool.removeAt(row);
    session.CommitSet();
}

void ResultsFrame::checkPrizes() {
    QString error;
    bool opened = false;
    try {
        opened = PrizeCheckWindow::Open(bench_, bench_.state(), &chosenBetFolder_, &error);
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    if (opened) return;
    QString text = QStringLiteral("无法打开兑奖窗口。");
    if (!error.isEmpty()) text += QLatin1Char('\n') + error;
    ui::MsgBox(text, ui::Icon::Warning, ui::Buttons::Ok, ui::kAppTitle, bench_.dialogParent());
}

}  // namespace workbench
