#include "smart/windows/olderselectionverificationwindow.h"

#include "dialogs/dialogutil.h"
#include "platform/ui/columnfit.h"
#include "smart/killdigits.h"
#include "smart/olderselection.h"
#include "smart/verificationtexts.h"
#include "smart/windows/workbenchlog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {
constexpr int kOlderSelectionVerificationDraws = 100;
}

OlderSelectionVerification::OlderSelectionVerification(smart::SelectionReplayHost* selection, QWidget* parent)
    : QDialog(parent),
      selection_(selection),
      context_(selection ? selection->context() : smart::SmartContext{}),
      selectionAlive_(selection ? selection->hostObject() : nullptr) {
    setObjectName(QStringLiteral("F18old"));
    setWindowTitle(QStringLiteral("验证"));
    resize(520, 440);
    auto* list = table_ = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("ListView1"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("开奖期号"), QStringLiteral("开奖号"), QStringLiteral("组选注数"),
                           QStringLiteral("验证"), QStringLiteral("备注")});
    list->setGeometry(8, 8, 504, 350);
    ui::FitColumns(list, {{QStringLiteral("0000000")}, {QStringLiteral("000")}, {QStringLiteral("0000")},
                          {QStringLiteral("正确")}, {QStringLiteral("本期开组三")}});
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("Label1"));
    summary_->setGeometry(8, 366, 400, 24);
    connect(dialogs::MakeButton(this, "Command1", QStringLiteral("返回"), 420, 400, 90, 28), &QPushButton::clicked, this,
            &OlderSelectionVerification::giveNumbersBackAndClose);
    replayLatestDraws();
}

void OlderSelectionVerification::replayLatestDraws() {
    dialogs::CentreOnScreen(this);
    if (!selectionAlive_) return;
    const QString savedLog = smart::SaveWorkbenchLog(context_.bench());
    const common::DrawHistory& history = context_.history();
    const int last = history.count();
    // Each replay needs 500 draws before its draw; with fewer the table starts later.
    const int first = qMax(last - kOlderSelectionVerificationDraws + 1, smart::kBaseDrawsNeeded + 1);
    // The window's settings as they stand: every draw is replayed with them, and nothing is
    // saved (the player changed nothing).
    const smart::OlderSelectionSettings settings = selection_->selectionSettings();
    pool::NumberPool& made = selection_->numberPool();
    int draws = 0, groupThree = 0, hits = 0;
    QList<QTreeWidgetItem*> rows;
    for (int i = first; i <= last; ++i) {
        ++draws;
        auto* row = new QTreeWidgetItem;
        const QString number = history.number(i);
        row->setText(0, history.issue(i));
        row->setText(1, number);
        const QString remark = smart::OldVerifyRemark(number);
        if (!remark.isEmpty()) ++groupThree;
        row->setText(4, remark);
        QString log;
        smart::MakeOlderSelection(history, i - 1, settings, made, log);
        row->setText(2, QString::number(made.size()));
        if (made.contains(smart::GroupNumberOf(number))) {
            row->setText(3, QStringLiteral("正确"));
            ++hits;
        }
        rows << row;
    }
    table_->addTopLevelItems(rows);
    smart::ShowWorkbenchLog(context_.bench(), true);
    smart::PutBackWorkbenchLog(context_.bench(), savedLog);
    summary_->setText(smart::OldVerifySummary(settings.baseType, draws, groupThree, hits));
}

void OlderSelectionVerification::restoreWorkbench() {
    if (restored_) return;
    restored_ = true;
    smart::RestoreWorkbenchNumbers(context_.bench());
}

void OlderSelectionVerification::giveNumbersBackAndClose() {
    restoreWorkbench();
    close();
}

void OlderSelectionVerification::closeEvent(QCloseEvent* event) {
    // Every way of closing gives the workbench its committed numbers back.
    restoreWorkbench();
    QDialog::closeEvent(event);
}
