#include "platform/ui/columnfit.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace ui {

int CellWidth(const QTreeView* list, const QString& text) {
    // The style's text margin on each side, and a few pixels so that rounding never elides.
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    return list->fontMetrics().horizontalAdvance(text) + 2 * margin + 4;
}

void FitColumns(QTreeView* list, const QList<QStringList>& cells) {
    QHeaderView* header = list->header();
    const int columns = header->count();
    QList<int> need(columns, 0);
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        need[c] = header->sectionSizeHint(c);
        if (c < cells.size())
            for (const QString& text : cells[c]) need[c] = std::max(need[c], CellWidth(list, text));
        total += need[c];
    }
    const int frame = list->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, list);
    const int bar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int room = list->width() - 2 * frame - bar;
    const int spare = std::max(0, room - total);
    int given = 0;
    for (int c = 0; c < columns; ++c) {
        const int width = c == columns - 1 ? std::max(need[c], room - given)
                                           : need[c] + (total > 0 ? int(qint64(spare) * need[c] / total) : 0);
        header->resizeSection(c, width);
        given += width;
    }
}

QFont FontFittingLines(const QFont& font, const QString& text, int width, int minimumPixels) {
    // Long tables repeat a few line shapes: only lines nearly as wide as the widest can decide.
    const QFontMetrics base(font);
    QList<QPair<int, QString>> measured;
    int widest = 0;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const int w = base.horizontalAdvance(line);
        widest = std::max(widest, w);
        measured.append({w, line});
    }
    QStringList lines;
    for (const auto& [w, line] : measured)
        if (w * 10 >= widest * 9 && !lines.contains(line)) lines << line;
    // Each size first as designed, then with its letters drawn up to half a pixel closer: a
    // narrower font that keeps its size reads better than a smaller one.
    QFont fitted = font;
    for (int pixels = QFontInfo(font).pixelSize(); pixels >= minimumPixels; --pixels) {
        fitted.setPixelSize(pixels);
        for (const qreal spacing : {0.0, -0.25, -0.5}) {
            fitted.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
            const QFontMetrics metrics(fitted);
            const bool fits = std::all_of(lines.cbegin(), lines.cend(),
                                          [&](const QString& line) { return metrics.horizontalAdvance(line) <= width; });
            if (fits) return fitted;
        }
    }
    return fitted;
}

}  // namespace ui
