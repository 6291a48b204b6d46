#pragma once
// Sizing of tables to the room they have, from the real widths of their font's glyphs, so that
// every column is seen whole without a horizontal scroll bar.
#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QSyntaxHighlighter>

class QTextDocument;
class QAbstractItemView;
class QHeaderView;
class QTreeView;

namespace ui {

// Sizes a list's columns: each takes its caption or the widest of the texts it may hold (cells,
// one list per column, in the list's font), whichever is wider; the room left over is shared out
// in proportion to those widths, so the columns keep their proportions and fill the list. The
// room of a vertical scroll bar is kept free for when the rows outgrow the list.
void FitColumns(QTreeView* list, const QList<QStringList>& cells);
// The same for any item view with a horizontal header (table views, the statistics' tables).
// halfColumn, when given, takes at most half the room whatever its texts (less where the other
// columns need more), so that a row's long label leaves its other cells in sight; the view
// elides what does not fit (its text elide mode).
void FitColumns(QAbstractItemView* list, QHeaderView* header, const QList<QStringList>& cells, int halfColumn = -1);
// Keeps a view's columns fitted (as FitColumns) to its captions, the texts of its first rows and
// the sample texts of each column, whenever it is shown or resized or its rows change: for views
// placed by a layout and tables filled after they are made.
void KeepColumnsFitted(QAbstractItemView* view, QHeaderView* header, const QList<QStringList>& samples = {},
                       int halfColumn = -1);

// The room a list's cell needs to show text in the list's font.
int CellWidth(const QAbstractItemView* list, const QString& text);

// Tables of text padded with blanks count a CJK character, U+3000 and "■" as two columns and
// any other character as one (common::CharWidth). Few fonts hold to that exactly: a font's
// CJK glyph may be narrower than two Latin ones, its "■" one column wide. The grid cell is the
// wider of a Latin glyph and half a CJK glyph; every character is drawn its columns' cells
// wide, by letter spacing after it.
qreal GridCell(const QFont& font);
// The letter spacing that brings ch to its columns' width on the grid of font.
qreal GridSpacing(const QFont& font, QChar ch);
// The width of a line on the grid of font.
qreal GridWidth(const QFont& font, const QString& line);
// A line as rich text laid on the grid of font (for a caption over a table's columns).
QString GridHtml(const QFont& font, const QString& line);

// Lays the lines of a text document on the table grid of its font.
class TableGrid : public QSyntaxHighlighter {
public:
    explicit TableGrid(QTextDocument* document);
    // The font the document is shown in; lays the document out again.
    void setFont(const QFont& font);

protected:
    void highlightBlock(const QString& text) override;

private:
    QFont font_;
    QHash<char16_t, qreal> spacing_;
};

// The largest of font's pixel sizes, from its own down to minimumPixels, at which the widest
// line of text fits in width on the font's table grid, each size tried with its letters drawn
// up to half a pixel closer; the narrowest of these when none fits. Never below 10 px, where
// CJK glyphs and "■" stop being legible: a table that does not fit then scrolls sideways.
QFont FontFittingLines(const QFont& font, const QString& text, int width, int minimumPixels = 10);

}  // namespace ui
