#include "statistics/formulastatstab.h"

#include "platform/ui/controls.h"
#include "statistics/formulastats.h"
#include "statistics/statstable.h"
#include "statistics/tablecopy.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

namespace statistics {

FormulaStatsTab::FormulaStatsTab(const StatsSource& source, QWidget* parent) : StatsTab(source, parent) {
    const QStringList positions{QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};
    firstPosition_ = ui::MakePickList(this, QStringLiteral("Combo1"), positions, 6, 6, 70);
    operation_ = ui::MakePickList(this, QStringLiteral("Combo2"),
                                  {QStringLiteral("加"), QStringLiteral("减"), QStringLiteral("乘")}, 82, 6, 60);
    secondPosition_ = ui::MakePickList(this, QStringLiteral("Combo3"), positions, 148, 6, 70);
    ui::MakeButton(this, QStringLiteral("Command2"), QStringLiteral("查询"), 226, 5, 70, 26, this, &FormulaStatsTab::query);
    makeTable(2, OmissionColumns(800), QRect(6, 38, 525, 260));
    rangeCaption_ = ui::MakeLabel(this, QStringLiteral("Label1"), QString(), 6, 304, 400, 20);
    copyButton_ = ui::MakeButton(this, QStringLiteral("Command6"), QStringLiteral("复制结果"), 441, 302, 90, 26, this,
                                 &FormulaStatsTab::copy);
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, &FormulaStatsTab::sortBySection);
}

void FormulaStatsTab::load() {
    for (QComboBox* combo : {firstPosition_, operation_, secondPosition_})
        combo->setCurrentIndex(0);
    resetTable();
    fill();
}

void FormulaStatsTab::fill() {
    const StatsRange range = source_.analysisRange();
    const QString caption = RangeCaption(source_.history(), range);
    const int op = operation_->currentIndex();
    rangeCaption_->setText(caption);
    if (op == 0) emit additionRangeShown(caption);
    const QList<OmissionRow> rows = FormulaStatsRows(source_.history(), range, firstPosition_->currentIndex(),
                                                     FormulaOp(qBound(0, op, 2)), secondPosition_->currentIndex());
    table()->appendOmission(std::vector<OmissionRow>(rows.begin(), rows.end()));
}

void FormulaStatsTab::query() {
    table()->clear();
    fill();
}

void FormulaStatsTab::copy() { copyTable(FormulaCopyLayout()); }

void FormulaStatsTab::sortBySection(int section) { table()->sortBy(section, Qt::DescendingOrder); }

void FormulaStatsTab::placeForFormulaOpening(int labelY, int labelWidth) {
    rangeCaption_->move(rangeCaption_->x(), labelY);
    rangeCaption_->resize(labelWidth, rangeCaption_->height());
    view()->resize(view()->width(), labelY - view()->y() - 36);
    copyButton_->move(view()->x() + view()->width() - 90, labelY - 32);
}

}  // namespace statistics
