#include "statistics/statstable.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace statistics {

namespace {

// Rows ranked between checks for a cancelled sort.
constexpr std::uint32_t kSortChunk = 1u << 20;

// The text of a measure column of a compact row.
QString StraightMeasure(const StraightRow& row, int drawCount, int column) {
    return OmissionRow{QString(), row.stats(), drawCount}.cell(column);
}

// What a measure column's text of a compact row depends on; equal keys give equal texts.
std::uint32_t StraightMeasureKey(const StraightRow& row, int column) {
    switch (column) {
    case 1:
    case 2: return row.hitCount;
    case 4: return row.maxGap;
    case 5: return row.prevGap;
    case 6: return row.currentGap;
    default: return (std::uint32_t(row.hitCount) << 16) | row.currentGap;  // 平均遗漏, 出号几率
    }
}

// A cell as the sort compares it: numbers by value, below them ("not a number") texts by text.
struct CellKey {
    bool number = false;
    double value = 0.0;
    const QString* text = nullptr;

    bool operator<(const CellKey& other) const {
        if (number != other.number)
            return other.number;
        if (number)
            return value < other.value;
        return QString::compare(*text, *other.text) < 0;
    }
};

// A measure column's cell: a count or gap ("999"), a decimal ("1.6") or a rate ("62.50%").
CellKey MeasureKey(const QString& text) {
    QStringView view = QStringView(text).trimmed();
    if (view.endsWith(u'%'))
        view.chop(1);
    bool ok = false;
    const double value = view.toDouble(&ok);
    if (ok && std::isfinite(value))
        return CellKey{true, value, &text};
    return CellKey{false, 0.0, &text};
}

}  // namespace

StatsTable::StatsTable(QStringList titles, QObject* parent) : QAbstractTableModel(parent), titles_(std::move(titles)) {}

int StatsTable::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(size_); }

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
    size_ = 0;
    segments_.clear();
    order_.clear();
    order_.shrink_to_fit();
    texts_.clear();
    omission_.clear();
    straight_.clear();
    endResetModel();
}

void StatsTable::appendSegment(Kind kind, std::uint32_t count, std::uint32_t offset, std::uint32_t block) {
    const std::uint32_t first = size_;
    beginInsertRows(QModelIndex(), int(first), int(first + count) - 1);
    segments_.push_back(Segment{kind, first, count, offset, block});
    size_ += count;
    if (!order_.empty()) {
        order_.resize(size_);
        std::iota(order_.begin() + first, order_.end(), first);
    }
    endInsertRows();
}

void StatsTable::appendTexts(const QList<QStringList>& rows) {
    if (rows.isEmpty())
        return;
    const auto offset = std::uint32_t(texts_.size());
    texts_ << rows;
    appendSegment(Kind::Texts, std::uint32_t(rows.size()), offset, 0);
}

void StatsTable::appendOmission(std::vector<OmissionRow> rows) {
    if (rows.empty())
        return;
    const auto offset = std::uint32_t(omission_.size());
    omission_.insert(omission_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    appendSegment(Kind::Omission, std::uint32_t(rows.size()), offset, 0);
}

void StatsTable::appendStraight(StraightRows rows) {
    if (rows.rows.empty())
        return;
    const auto count = std::uint32_t(rows.rows.size());
    straight_.push_back(std::move(rows));
    appendSegment(Kind::Straight, count, 0, std::uint32_t(straight_.size() - 1));
}

void StatsTable::replaceWithStraight(StraightRows rows) {
    const auto count = std::uint32_t(rows.rows.size());
    std::vector<Segment> segments;
    std::vector<StraightRows> blocks;
    if (count > 0) {
        segments.push_back(Segment{Kind::Straight, 0, count, 0, 0});
        blocks.push_back(std::move(rows));
    }
    beginResetModel();
    size_ = count;
    segments_.swap(segments);
    straight_.swap(blocks);
    std::vector<std::uint32_t>().swap(order_);
    texts_.clear();
    std::vector<OmissionRow>().swap(omission_);
    endResetModel();
}

const StatsTable::Segment& StatsTable::segmentOf(std::uint32_t position) const {
    auto it = std::upper_bound(segments_.begin(), segments_.end(), position,
                               [](std::uint32_t p, const Segment& s) { return p < s.first; });
    return *(it - 1);
}

QString StatsTable::storedText(std::uint32_t position, int column) const {
    const Segment& s = segmentOf(position);
    const size_t at = size_t(position - s.first) + s.offset;
    switch (s.kind) {
    case Kind::Texts: return texts_.at(qsizetype(at)).value(column);
    case Kind::Omission: return omission_[at].cell(column);
    case Kind::Straight: {
        const StraightRows& block = straight_[s.block];
        const StraightRow& row = block.rows[at];
        if (column == 0)
            return block.category(row);
        return column < OmissionRow::kColumns ? StraightMeasure(row, block.drawCount, column) : QString();
    }
    }
    return QString();
}

QString StatsTable::text(int row, int column) const {
    if (row < 0 || row >= int(size_))
        return QString();
    return storedText(stored(row), column);
}

QStringList StatsTable::rowTexts(int row) const {
    QStringList out;
    for (int c = 0; c < titles_.size(); ++c)
        out << text(row, c);
    return out;
}

QList<QStringList> StatsTable::allTexts() const {
    QList<QStringList> out;
    out.reserve(qsizetype(size_));
    for (int r = 0; r < int(size_); ++r)
        out << rowTexts(r);
    return out;
}

std::uint32_t StatsTable::rankRows(int column, std::vector<std::uint32_t>* ranks,
                                   common::WorkProgress* progress) const {
    ranks->assign(size_, 0);
    // A table of one block of compact rows by 类别: "s1|s2|s3" with sets of one size per position
    // compare as the triple of the sets' own ranks, so no text is made.
    if (column == 0 && segments_.size() == 1 && segments_[0].kind == Kind::Straight) {
        const StraightRows& block = straight_[segments_[0].block];
        std::vector<std::uint32_t> setRank[3];
        for (int p = 0; p < 3; ++p) {
            const QStringList& sets = block.sets[p];
            std::vector<std::uint32_t> idx(size_t(sets.size()));
            std::iota(idx.begin(), idx.end(), 0u);
            std::sort(idx.begin(), idx.end(), [&](std::uint32_t a, std::uint32_t b) { return sets[a] < sets[b]; });
            setRank[p].resize(idx.size());
            for (size_t r = 0; r < idx.size(); ++r)
                setRank[p][idx[r]] = std::uint32_t(r);
        }
        const auto n1 = std::uint32_t(block.sets[1].size()), n2 = std::uint32_t(block.sets[2].size());
        for (std::uint32_t i = 0; i < size_; ++i) {
            const StraightRow& row = block.rows[i];
            (*ranks)[i] = (setRank[0][row.sets[0]] * n1 + setRank[1][row.sets[1]]) * n2 + setRank[2][row.sets[2]];
            if ((i + 1) % kSortChunk == 0 && progress) {
                if (progress->cancelled())
                    return 0;
                progress->advance(kSortChunk);
            }
        }
        return std::uint32_t(block.sets[0].size()) * n1 * n2;
    }
    // Otherwise every distinct text once: each row of texts or OmissionStats brings its own, the
    // compact rows one per distinct value of what the column's text depends on.
    std::vector<QString> keys;
    std::vector<std::uint32_t>& keyOf = *ranks;  // each row's text, then in place its rank
    for (const Segment& s : segments_) {
        if (s.kind == Kind::Straight && column > 0 && column < OmissionRow::kColumns) {
            const StraightRows& block = straight_[s.block];
            std::unordered_map<std::uint32_t, std::uint32_t> known;
            for (std::uint32_t i = 0; i < s.count; ++i) {
                const StraightRow& row = block.rows[s.offset + i];
                const auto [it, added] = known.try_emplace(StraightMeasureKey(row, column), std::uint32_t(keys.size()));
                if (added)
                    keys.push_back(StraightMeasure(row, block.drawCount, column));
                keyOf[s.first + i] = it->second;
                if ((i + 1) % kSortChunk == 0 && progress) {
                    if (progress->cancelled())
                        return 0;
                    progress->advance(kSortChunk);
                }
            }
        } else {
            for (std::uint32_t i = 0; i < s.count; ++i) {
                keyOf[s.first + i] = std::uint32_t(keys.size());
                keys.push_back(storedText(s.first + i, column));
            }
        }
    }
    // Distinct cells in order, then ranks: a new rank wherever the order sees a difference.
    std::vector<CellKey> cells(keys.size());
    for (size_t k = 0; k < keys.size(); ++k)
        cells[k] = column == 0 ? CellKey{false, 0.0, &keys[k]} : MeasureKey(keys[k]);
    std::vector<std::uint32_t> byCell(keys.size());
    std::iota(byCell.begin(), byCell.end(), 0u);
    std::sort(byCell.begin(), byCell.end(), [&](std::uint32_t a, std::uint32_t b) { return cells[a] < cells[b]; });
    std::vector<std::uint32_t> keyRank(keys.size());
    std::uint32_t rank = 0;
    for (size_t i = 0; i < byCell.size(); ++i) {
        if (i > 0 && cells[byCell[i - 1]] < cells[byCell[i]])
            ++rank;
        keyRank[byCell[i]] = rank;
    }
    for (std::uint32_t& k : keyOf)
        k = keyRank[k];
    return keys.empty() ? 0 : rank + 1;
}

std::vector<std::uint32_t> StatsTable::sortedOrder(int column, Qt::SortOrder order,
                                                   common::WorkProgress* progress) const {
    if (column < 0 || column >= titles_.size() || size_ < 2) {
        std::vector<std::uint32_t> shown(size_);
        for (std::uint32_t r = 0; r < size_; ++r)
            shown[r] = stored(int(r));
        return shown;
    }
    if (progress)
        progress->setTotal(2LL * size_);
    std::vector<std::uint32_t> ranks;
    const std::uint32_t rankCount = rankRows(column, &ranks, progress);
    if (progress && progress->cancelled())
        return {};
    // Counting sort over the shown order: stable, in time linear in the rows and ranks.
    std::vector<std::uint32_t> start(size_t(rankCount) + 1, 0);
    auto bucket = [&](std::uint32_t p) {
        return order == Qt::AscendingOrder ? ranks[p] : rankCount - 1 - ranks[p];
    };
    for (std::uint32_t p = 0; p < size_; ++p)
        ++start[bucket(p) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<std::uint32_t> sorted(size_);
    for (std::uint32_t r = 0; r < size_; ++r) {
        const std::uint32_t p = stored(int(r));
        sorted[start[bucket(p)]++] = p;
    }
    if (progress)
        progress->setTotal(progress->done());  // complete
    return sorted;
}

void StatsTable::applyOrder(std::vector<std::uint32_t> order) {
    if (order.size() != size_)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Keep the view's current row and selection on the same rows: one pass over the new order
    // finds the few rows they are on, so nothing the size of the table is allocated here.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    try {
        std::unordered_map<std::uint32_t, std::uint32_t> newRowOf;
        for (const QModelIndex& i : before)
            newRowOf.emplace(stored(i.row()), 0);
        if (!newRowOf.empty()) {
            for (std::uint32_t r = 0; r < size_; ++r) {
                const auto it = newRowOf.find(order[r]);
                if (it != newRowOf.end())
                    it->second = r;
            }
        }
        after.reserve(before.size());
        for (const QModelIndex& i : before)
            after << index(int(newRowOf.at(stored(i.row()))), i.column());
    } catch (const std::bad_alloc&) {
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);  // nothing moved
        throw;
    }
    changePersistentIndexList(before, after);
    order_ = std::move(order);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void StatsTable::sortBy(int column, Qt::SortOrder order) {
    if (column < 0 || column >= titles_.size() || size_ < 2)
        return;
    applyOrder(sortedOrder(column, order));
}

}  // namespace statistics
