#pragma once
// A table view for tables of millions of rows: every row has the same height and the view keeps
// nothing per row (no row header, no per-row layout), so adding or resetting rows costs the view
// no memory however many there are. Columns have a clickable header; rows are selected whole.
#include <QAbstractItemView>

class QHeaderView;

namespace statistics {

class UniformTableView : public QAbstractItemView {
    Q_OBJECT
public:
    explicit UniformTableView(QWidget* parent = nullptr);

    QHeaderView* header() const { return header_; }
    int rowHeight() const { return rowHeight_; }
    // The first row shown at the top.
    int firstShownRow() const;

    void setModel(QAbstractItemModel* model) override;
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void doItemsLayout() override;
    void reset() override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void paintEvent(QPaintEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void changeEvent(QEvent* event) override;

private:
    int rowCount() const;
    int columnCount() const;
    // Rows wholly visible in the viewport (at least 1).
    int fullRowsShown() const;
    // The row at a viewport y, which may be past the last row.
    long long rowAtY(int y) const;

    QHeaderView* header_ = nullptr;
    int rowHeight_ = 1;
    bool inGeometryUpdate_ = false;
};

}  // namespace statistics
