#pragma once
// Sizing of tables to the room they have, from the real widths of their font's glyphs, so that
// every column is seen whole without a horizontal scroll bar.
#include <QFont>
#include <QString>
#include <QStringList>

class QTreeView;

namespace ui {

// Sizes a list's columns: each takes its caption or the widest of the texts it may hold (cells,
// one list per column, in the list's font), whichever is wider; the room left over is shared out in
// proportion to those widths, so the columns keep their proportions and fill the list. The
// room of a vertical scroll bar is kept free for when the rows outgrow the list.
void FitColumns(QTreeView* list, const QList<QStringList>& cells);

// The room a list's cell needs to show text in the list's font.
int CellWidth(const QTreeView* list, const QString& text);

// The largest of font's pixel sizes, from its own down to minimumPixels, at which the widest
// line of text fits in width, each size tried with its letters drawn up to half a pixel closer;
// the narrowest of these when none fits.
QFont FontFittingLines(const QFont& font, const QString& text, int width, int minimumPixels = 9);

}  // namespace ui
