#pragma once
// The rows behind one table of the statistics window: plain texts, OmissionStats rows, or the
// compact rows of the straight combinations (up to 16,003,008 of them). Rows keep their numbers;
// texts are made when a row is shown or copied.
#include "common/workprogress.h"
#include "statistics/compoundstats.h"
#include "statistics/omissionrow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace statistics {

class StatsTable : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StatsTable(QStringList titles, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void clear();
    // Appended after the rows already shown, in the order given.
    void appendTexts(const QList<QStringList>& rows);
    void appendOmission(std::vector<OmissionRow> rows);
    void appendStraight(StraightRows rows);
    // Every row replaced by the compact rows in one reset. All it needs is allocated before the
    // table changes: when memory is short it throws std::bad_alloc and the table stays as it was.
    void replaceWithStraight(StraightRows rows);

    // The texts of row r as shown.
    QString text(int row, int column) const;
    QStringList rowTexts(int row) const;
    QList<QStringList> allTexts() const;

    // Orders the rows by one column, keeping the shown order of equal cells. Column 0 (the row's
    // own text) compares as text; the other columns hold counts, gaps and rates and compare by the
    // value they show ("999" below "1000", "9.50%" below "10.00%"); a cell there that shows no
    // number ranks below every number, by its text. Later appends come after the sorted rows.
    void sortBy(int column, Qt::SortOrder order);
    // The same in two steps, so that the first can run on a worker thread while the table is
    // left alone: the rows (as positions in append order) in their sorted order, empty when
    // cancelled; then showing them in that order. Both throw std::bad_alloc when memory is short,
    // leaving the table as it was.
    std::vector<std::uint32_t> sortedOrder(int column, Qt::SortOrder order,
                                           common::WorkProgress* progress = nullptr) const;
    void applyOrder(std::vector<std::uint32_t> order);

private:
    enum class Kind : std::uint8_t { Texts, Omission, Straight };
    // A run of rows appended together: rows first.. first + count - 1 in append order, found at
    // offset.. of their store (for Straight: the block's own rows).
    struct Segment {
        Kind kind;
        std::uint32_t first;
        std::uint32_t count;
        std::uint32_t offset;
        std::uint32_t block;  // index into straight_
    };

    std::uint32_t stored(int row) const { return order_.empty() ? std::uint32_t(row) : order_[size_t(row)]; }
    const Segment& segmentOf(std::uint32_t position) const;
    QString storedText(std::uint32_t position, int column) const;
    void appendSegment(Kind kind, std::uint32_t count, std::uint32_t offset, std::uint32_t block);
    // Each row's rank by the column's cells (equal cells, equal rank) and the number of ranks.
    std::uint32_t rankRows(int column, std::vector<std::uint32_t>* ranks, common::WorkProgress* progress) const;

    QStringList titles_;
    std::uint32_t size_ = 0;               // rows
    std::vector<Segment> segments_;
    std::vector<std::uint32_t> order_;     // shown order; empty while it is the append order
    QList<QStringList> texts_;
    std::vector<OmissionRow> omission_;
    std::vector<StraightRows> straight_;
};

}  // namespace statistics
