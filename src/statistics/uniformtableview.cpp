#include "statistics/uniformtableview.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace statistics {

UniformTableView::UniformTableView(QWidget* parent) : QAbstractItemView(parent) {
    rowHeight_ = fontMetrics().height() + 4;
    header_ = new QHeaderView(Qt::Horizontal, this);
    header_->setObjectName(QStringLiteral("Header"));
    header_->setSectionsClickable(true);
    header_->setHighlightSections(false);
    connect(header_, &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });
    connect(header_, &QHeaderView::sectionMoved, viewport(), qOverload<>(&QWidget::update));
    // Rows scroll one at a time: the scroll bar counts rows, not pixels, so 16 million rows of
    // any height fit its range.
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setSelectionBehavior(SelectRows);
}

int UniformTableView::rowCount() const { return model() ? model()->rowCount(rootIndex()) : 0; }

int UniformTableView::columnCount() const { return model() ? model()->columnCount(rootIndex()) : 0; }

int UniformTableView::firstShownRow() const { return verticalScrollBar()->value(); }

int UniformTableView::fullRowsShown() const { return std::max(1, viewport()->height() / rowHeight_); }

long long UniformTableView::rowAtY(int y) const {
    if (y < 0)
        return -1;
    return (long long)firstShownRow() + y / rowHeight_;
}

void UniformTableView::setModel(QAbstractItemModel* model) {
    QAbstractItemView::setModel(model);
    header_->setModel(model);
    updateGeometries();
}

void UniformTableView::reset() {
    QAbstractItemView::reset();
    updateGeometries();
    viewport()->update();
}

void UniformTableView::doItemsLayout() {
    QAbstractItemView::doItemsLayout();
    updateGeometries();
    viewport()->update();
}

void UniformTableView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update();
}

void UniformTableView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        rowHeight_ = fontMetrics().height() + 4;
        updateGeometries();
    }
    QAbstractItemView::changeEvent(event);
}

QRect UniformTableView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex())
        return {};
    const long long y = (long long)(index.row() - firstShownRow()) * rowHeight_;
    if (y < -rowHeight_ || y > viewport()->height())
        return {};  // far outside: nothing to paint there
    return QRect(header_->sectionViewportPosition(index.column()), int(y), header_->sectionSize(index.column()),
                 rowHeight_);
}

void UniformTableView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid())
        return;
    const int row = index.row(), first = firstShownRow(), shown = fullRowsShown();
    int top = first;
    switch (hint) {
    case PositionAtTop: top = row; break;
    case PositionAtBottom: top = row - shown + 1; break;
    case PositionAtCenter: top = row - shown / 2; break;
    case EnsureVisible:
        if (row < first)
            top = row;
        else if (row >= first + shown)
            top = row - shown + 1;
        break;
    }
    verticalScrollBar()->setValue(top);
    // Columns: bring the cell's column in when the rows are not selected whole.
    if (selectionBehavior() != SelectRows) {
        const int x = header_->sectionPosition(index.column()), w = header_->sectionSize(index.column());
        QScrollBar* bar = horizontalScrollBar();
        if (x < bar->value())
            bar->setValue(x);
        else if (x + w > bar->value() + viewport()->width())
            bar->setValue(x + w - viewport()->width());
    }
}

QModelIndex UniformTableView::indexAt(const QPoint& point) const {
    const long long row = rowAtY(point.y());
    const int column = header_->logicalIndexAt(point.x());
    if (row < 0 || row >= rowCount() || column < 0)
        return {};
    return model()->index(int(row), column, rootIndex());
}

QModelIndex UniformTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int rows = rowCount(), columns = columnCount();
    if (rows == 0 || columns == 0)
        return {};
    const QModelIndex current = currentIndex();
    int row = current.isValid() ? current.row() : 0;
    int column = current.isValid() ? current.column() : 0;
    if (!current.isValid())
        return model()->index(0, 0, rootIndex());
    switch (action) {
    case MoveUp: --row; break;
    case MoveDown: ++row; break;
    case MovePageUp: row -= fullRowsShown(); break;
    case MovePageDown: row += fullRowsShown(); break;
    case MoveHome: row = 0; break;
    case MoveEnd: row = rows - 1; break;
    case MoveLeft:
    case MovePrevious: --column; break;
    case MoveRight:
    case MoveNext: ++column; break;
    }
    return model()->index(std::clamp(row, 0, rows - 1), std::clamp(column, 0, columns - 1), rootIndex());
}

int UniformTableView::horizontalOffset() const { return horizontalScrollBar()->value(); }

int UniformTableView::verticalOffset() const {
    return int(std::min<long long>((long long)firstShownRow() * rowHeight_, INT_MAX));
}

bool UniformTableView::isIndexHidden(const QModelIndex&) const { return false; }

void UniformTableView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) {
    if (!selectionModel() || rowCount() == 0 || columnCount() == 0)
        return;
    const QRect r = rect.normalized();
    const long long top = std::max(0LL, rowAtY(std::max(0, r.top())));
    const long long bottom = std::min<long long>(rowCount() - 1, rowAtY(std::max(0, r.bottom())));
    if (top > bottom)
        return;
    int left = header_->logicalIndexAt(r.left()), right = header_->logicalIndexAt(r.right());
    if (selectionBehavior() == SelectRows || left < 0 || right < 0) {
        left = 0;
        right = columnCount() - 1;
    }
    const QItemSelection selection(model()->index(int(top), std::min(left, right), rootIndex()),
                                   model()->index(int(bottom), std::max(left, right), rootIndex()));
    selectionModel()->select(selection, flags);
}

QRegion UniformTableView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const int first = firstShownRow(), last = first + fullRowsShown();
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex() || range.bottom() < first || range.top() > last)
            continue;
        const int top = std::max(range.top(), first), bottom = std::min(range.bottom(), last);
        const int left = header_->sectionViewportPosition(range.left());
        const int right = header_->sectionViewportPosition(range.right()) + header_->sectionSize(range.right());
        region += QRect(left, (top - first) * rowHeight_, right - left, (bottom - top + 1) * rowHeight_);
    }
    return region;
}

void UniformTableView::paintEvent(QPaintEvent*) {
    if (!model())
        return;
    QPainter painter(viewport());
    const int rows = rowCount(), columns = columnCount(), first = firstShownRow();
    const int last = std::min(rows - 1, first + viewport()->height() / rowHeight_);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus();
    for (int row = first; row <= last; ++row) {
        const int y = (row - first) * rowHeight_;
        for (int column = 0; column < columns; ++column) {
            if (header_->isSectionHidden(column))
                continue;
            const int x = header_->sectionViewportPosition(column), w = header_->sectionSize(column);
            if (x + w < 0 || x > viewport()->width())
                continue;
            const QModelIndex index = model()->index(row, column, rootIndex());
            QStyleOptionViewItem cell = option;
            cell.rect = QRect(x, y, w, rowHeight_);
            cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
            if (selectionModel() && selectionModel()->isSelected(index))
                cell.state |= QStyle::State_Selected;
            if (focused && index == current)
                cell.state |= QStyle::State_HasFocus;
            itemDelegateForIndex(index)->paint(&painter, cell, index);
        }
    }
}

void UniformTableView::updateGeometries() {
    if (inGeometryUpdate_)
        return;
    inGeometryUpdate_ = true;
    const int headerHeight = header_->isHidden() ? 0 : header_->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect vg = viewport()->geometry();
    header_->setGeometry(vg.left(), vg.top() - headerHeight, vg.width(), headerHeight);
    const int shown = fullRowsShown();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setRange(0, std::max(0, rowCount() - shown));
    horizontalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setPageStep(vg.width());
    horizontalScrollBar()->setRange(0, std::max(0, header_->length() - vg.width()));
    header_->setOffset(horizontalScrollBar()->value());
    inGeometryUpdate_ = false;
    QAbstractItemView::updateGeometries();
}

void UniformTableView::scrollContentsBy(int, int) {
    header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();
}

}  // namespace statistics
