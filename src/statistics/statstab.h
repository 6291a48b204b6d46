#pragma once
// What the statistics window's five tabs share: the draws they read, the tab's list view over a
// StatsTable with its columns in twips, and the copy of the table to the clipboard.
#include "common/drawhistory.h"
#include "statistics/statsrange.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstddef>

class QAbstractItemView;
class QHeaderView;

namespace statistics {

class StatsTable;
struct CopyLayout;

// Twips of the design to pixels.
constexpr int Px(int twips) { return twips / 15; }

// What a sort or a straight run keeps free beside its rows: the run's worker threads, and
// painting (which starts threads of its own) while and after they work.
constexpr std::size_t kSpareBytes = std::size_t(64) << 20;

// The draws and ranges every tab reads, from the run's state the window's opener hands it. The
// window is modal, so they hold still while it is shown; the state is read here and nowhere else
// in the window.
class StatsSource {
public:
    explicit StatsSource(const common::AppState& state) : state_(state) {}
    const common::DrawHistory& history() const;
    StatsRange analysisRange() const;
    StatsRange fuzzyRange() const;
    // "统计…到…期" of the analysis range.
    QString rangeCaption() const;

private:
    const common::AppState& state_;
};

struct TableColumn {
    QString title;
    int twips;
    bool centred = false;
    // A column of long labels: at most half the view, its texts elided, each whole in its tooltip.
    bool halfAtMost = false;
};

// The columns of the formula and compound tables: 类别 at its width, then the omission measures.
QList<TableColumn> OmissionColumns(int categoryTwips);
// The choices "first".."last" of a number drop-down.
QStringList NumberItems(int first, int last);

class StatsTab : public QWidget {
    Q_OBJECT
public:
    enum class ViewKind { Tree, Uniform };
    StatsTab(const StatsSource& source, QWidget* parent = nullptr);

    StatsTable* table() const { return table_; }

protected:
    // The tab's list view "ListView<n>" over a table with these columns; a uniform view keeps
    // nothing per row (the compound table can hold 16 million rows).
    void makeTable(int n, const QList<TableColumn>& columns, QRect geometry, ViewKind kind = ViewKind::Tree);
    // Empties the table and gives its columns their design widths again.
    void resetTable();
    void copyTable(const CopyLayout& layout) const;
    QAbstractItemView* view() const { return view_; }
    QHeaderView* header() const { return header_; }

    const StatsSource& source_;

private:
    QList<TableColumn> columns_;
    QAbstractItemView* view_ = nullptr;
    QHeaderView* header_ = nullptr;
    StatsTable* table_ = nullptr;
};

}  // namespace statistics
