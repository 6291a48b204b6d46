// The workbench's history queries (pool/queries.h) over the program's draw history.
#include "workbench/historyqueryframe.h"

#include "common/drawtext.h"
#include "pool/numberpool.h"
#include "pool/queries.h"
#include "workbench/benchcontrols.h"

namespace workbench {

namespace {

// A three-character text that converts to a number (the queries' input test).
bool AcceptedQuery(const QString& text) { return text.size() == 3 && pool::IsNumericText(text); }

}  // namespace

HistoryQueryFrame::HistoryQueryFrame(pool::PoolSession& session, const common::DrawHistory& history, QWidget* parent)
    : QGroupBox(parent), session_(session), history_(history) {
    setObjectName(QStringLiteral("Frame2"));
    setTitle(QStringLiteral("历史查询"));
    setGeometry(8, 132, 175, 100);
    using F = HistoryQueryFrame;
    Lbl(this, {}, QStringLiteral("号码："), 6, 22, 36);
    numbers_ = Cmb(this, QStringLiteral("Combo9"), 42, 20, 60, true);
    Button(this, this, &F::queryNumber, QStringLiteral("Command42"), QStringLiteral("查询号码"), 104, 19, 66, 24);
    Lbl(this, {}, QStringLiteral("期号："), 6, 48, 36);
    serials_ = Cmb(this, QStringLiteral("Combo11"), 42, 46, 60, true);
    Button(this, this, &F::querySerial, QStringLiteral("Command57"), QStringLiteral("查询期号"), 104, 45, 66, 24);
    sumRange_[0] = Cmb(this, QStringLiteral("Combo7"), 6, 74, 48, false);
    sumRange_[0]->hide();
    Lbl(this, QStringLiteral("Label12"), QStringLiteral("-"), 56, 75, 8)->hide();
    sumRange_[1] = Cmb(this, QStringLiteral("Combo8"), 64, 74, 48, false);
    sumRange_[1]->hide();
    hiddenRun_ = MakeButton(this, QStringLiteral("Command3"), QStringLiteral("过滤"), 119, 76, 56, 24);
    hiddenRun_->hide();
}

void HistoryQueryFrame::fillNumbers() {
    numbers_->clear();
    const common::DrawHistory& h = history_;
    const int n = h.count();
    for (int i = std::max(1, n - 10); i <= n; ++i) numbers_->addItem(h.number(i));
    if (n > 0) numbers_->setEditText(h.number(n));
}

void HistoryQueryFrame::fillSerials() {
    QStringList sums;
    for (int i = 0; i <= 27; ++i) sums << QString::number(i);
    serials_->clear();
    for (QComboBox* range : sumRange_) {
        range->clear();
        range->addItems(sums);
    }
    sumRange_[0]->setCurrentIndex(10);
    sumRange_[1]->setCurrentIndex(17);
    // Issue serials around the next draw; an empty history leaves the box empty.
    const common::DrawHistory& h = history_;
    if (h.isEmpty()) return;
    const int s = common::SerialOf(h.newest());
    const int x = std::max(s - 5, 1);
    for (int i = x; i <= x + 10; ++i) serials_->addItem(QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')));
    serials_->setEditText(QStringLiteral("%1").arg(s + 1, 3, 10, QLatin1Char('0')));
}

// Runs one history query on the text of a query box; a text that is no number clears the box.
void HistoryQueryFrame::run(QComboBox* box, int (*query)(QString&, const common::DrawHistory&, const QString&)) {
    const QString text = box->currentText().trimmed();
    if (!AcceptedQuery(text)) {
        box->setFocus();
        box->setEditText(QString());
        return;
    }
    QString block;
    query(block, history_, text);
    session_.log.append(block);
}

void HistoryQueryFrame::queryNumber() { run(numbers_, pool::QueryNumberHistory); }
void HistoryQueryFrame::querySerial() { run(serials_, pool::QueryIssueSerial); }

}  // namespace workbench
