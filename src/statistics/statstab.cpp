#include "statistics/statstab.h"

#include "platform/ui/columnfit.h"
#include "platform/ui/clipboard.h"
#include "statistics/omissionrow.h"
#include "statistics/statstable.h"
#include "statistics/tablecopy.h"
#include "statistics/uniformtableview.h"

#include <QHeaderView>
#include <QTreeView>

namespace statistics {

namespace {

// A table as its columns show it: centred columns centred, the cells of a column of long labels
// whole in their tooltips (the view elides them).
class ShownStatsTable : public StatsTable {
public:
    ShownStatsTable(QStringList titles, QList<int> centred, int longLabels, QObject* parent)
        : StatsTable(std::move(titles), parent), centred_(std::move(centred)), longLabels_(longLabels) {}
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::TextAlignmentRole && index.isValid())
            return int((centred_.contains(index.column()) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        if (role == Qt::ToolTipRole && index.isValid() && index.column() == longLabels_)
            return text(index.row(), index.column());
        return StatsTable::data(index, role);
    }

private:
    QList<int> centred_;
    int longLabels_;
};

}  // namespace

const common::DrawHistory& StatsSource::history() const { return state_.history(); }
StatsRange StatsSource::analysisRange() const { return AnalysisRange(state_); }
StatsRange StatsSource::fuzzyRange() const { return FuzzyRange(state_); }
QString StatsSource::rangeCaption() const { return RangeCaption(history(), analysisRange()); }

QList<TableColumn> OmissionColumns(int categoryTwips) {
    QList<TableColumn> columns{{QStringLiteral("类别"), categoryTwips}};
    for (const QString& title : OmissionMeasureTitles())
        columns.append({title, 1000});
    return columns;
}

QStringList NumberItems(int first, int last) {
    QStringList items;
    for (int k = first; k <= last; ++k)
        items << QString::number(k);
    return items;
}

StatsTab::StatsTab(const StatsSource& source, QWidget* parent) : QWidget(parent), source_(source) {}

void StatsTab::makeTable(int n, const QList<TableColumn>& columns, QRect geometry, ViewKind kind) {
    columns_ = columns;
    if (kind == ViewKind::Uniform) {
        auto* table = new UniformTableView(this);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        table->header()->setStretchLastSection(true);
        header_ = table->header();
        view_ = table;
    } else {
        // A tree view without roots is the list in report view.
        auto* tree = new QTreeView(this);
        tree->setRootIsDecorated(false);
        tree->setUniformRowHeights(true);
        tree->setAllColumnsShowFocus(true);
        header_ = tree->header();
        view_ = tree;
    }
    view_->setObjectName(QStringLiteral("ListView%1").arg(n));
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setGeometry(geometry);
    QStringList titles;
    QList<int> centred;
    int longLabels = -1;
    for (qsizetype c = 0; c < columns.size(); ++c) {
        titles << columns[c].title;
        if (columns[c].centred) centred << int(c);
        if (columns[c].halfAtMost) longLabels = int(c);
    }
    // The design's widths do not hold every column in the CJK fonts: fitted to the rows.
    view_->setTextElideMode(Qt::ElideRight);
    ui::KeepColumnsFitted(view_, header_, {}, longLabels);
    table_ = new ShownStatsTable(titles, centred, longLabels, this);
    view_->setModel(table_);
}

void StatsTab::resetTable() {
    table_->clear();
    for (qsizetype c = 0; c < columns_.size(); ++c)
        header_->resizeSection(int(c), Px(columns_[c].twips));
}

void StatsTab::copyTable(const CopyLayout& layout) const {
    StatsTable* model = table_;
    ui::PutOnClipboard(CopyText(layout, model->rowCount(), [model](int r) { return model->rowTexts(r); }));
}

}  // namespace statistics
