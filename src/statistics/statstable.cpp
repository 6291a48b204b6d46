#include "statistics/statstable.h"

#include <algorithm>
#include <numeric>

namespace statistics {

StatsTable::StatsTable(QStringList titles, QObject* parent) : QAbstractTableModel(parent), titles_(std::move(titles)) {}

int StatsTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int StatsTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(titles_.size()); }

QVariant StatsTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return text(index.row(), index.column());
}

QVariant StatsTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= titles_.size())
        return {};
    return titles_.at(section);
}

void StatsTable::clear() {
    beginResetModel();
    rows_.clear();
    texts_.clear();
    omission_.clear();
    endResetModel();
}

void StatsTable::appendTexts(const QList<QStringList>& rows) {
    if (rows.isEmpty())
        return;
    const int first = int(rows_.size());
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    for (const QStringList& r : rows) {
        rows_.push_back(Row{-1, int(texts_.size())});
        texts_ << r;
    }
    endInsertRows();
}

void StatsTable::appendOmission(std::vector<OmissionRow> rows) {
    if (rows.empty())
        return;
    const int first = int(rows_.size());
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    rows_.reserve(rows_.size() + rows.size());
    omission_.reserve(omission_.size() + rows.size());
    for (OmissionRow& r : rows) {
        rows_.push_back(Row{int(omission_.size()), -1});
        omission_.push_back(std::move(r));
    }
    endInsertRows();
}

QString StatsTable::text(int row, int column) const {
    if (row < 0 || row >= int(rows_.size()))
        return QString();
    const Row& r = rows_[size_t(row)];
    if (r.omission >= 0)
        return omission_[size_t(r.omission)].cell(column);
    return texts_.at(r.texts).value(column);
}

QStringList StatsTable::rowTexts(int row) const {
    QStringList out;
    for (int c = 0; c < titles_.size(); ++c)
        out << text(row, c);
    return out;
}

QList<QStringList> StatsTable::allTexts() const {
    QList<QStringList> out;
    out.reserve(int(rows_.size()));
    for (int r = 0; r < int(rows_.size()); ++r)
        out << rowTexts(r);
    return out;
}

void StatsTable::sortByText(int column, Qt::SortOrder order) {
    if (column < 0 || column >= titles_.size() || rows_.size() < 2)
        return;
    std::vector<QString> keys;
    keys.reserve(rows_.size());
    for (int r = 0; r < int(rows_.size()); ++r)
        keys.push_back(text(r, column));
    std::vector<int> idx(rows_.size());
    std::iota(idx.begin(), idx.end(), 0);
    std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) {
        const int c = QString::compare(keys[size_t(a)], keys[size_t(b)]);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newRowOf(rows_.size());
    for (int i = 0; i < int(idx.size()); ++i) {
        sorted.push_back(rows_[size_t(idx[size_t(i)])]);
        newRowOf[size_t(idx[size_t(i)])] = i;
    }
    rows_.swap(sorted);
    // Keep the view's current row and selection on the same rows.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after << index(newRowOf[size_t(i.row())], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace statistics
