#pragma once
// The plain-text copies of the statistics tables: a fixed header line, an empty line, then one
// line per row in fixed-width columns (widths in characters), CR LF line ends.
#include <QString>
#include <QStringList>

#include <functional>

namespace statistics {

struct CopyLayout {
    QString header;
    int firstWidth = 0;   // width of the first column
    int middleWidth = 0;  // width of every further column but the last
    int rowLimit = -1;    // copy at most this many rows; -1 every row
};

// The layouts of the four copies: fuzzy (14 columns), formula (8), compound (8), profit plan (7).
const CopyLayout& FuzzyCopyLayout();
const CopyLayout& FormulaCopyLayout();
const CopyLayout& CompoundCopyLayout();
const CopyLayout& ProfitPlanCopyLayout();

// One line of a row (without its line end). A text shorter than its column is filled with
// blanks; one exactly as long runs straight into the next column; a longer one is kept whole
// and followed by one blank, so the line stays readable.
QString CopyLine(const CopyLayout& layout, const QStringList& cells);

// The whole copy text; rowCells(i) gives the texts of row i as shown.
QString CopyText(const CopyLayout& layout, int rowCount, const std::function<QStringList(int)>& rowCells);

}  // namespace statistics
