#include "platform/ui/columnfit.h"

#include "common/textwidth.h"

#include <QFontMetricsF>
#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QTextCharFormat>
#include <QTreeView>

#include <algorithm>
#include <cmath>

namespace ui {

int CellWidth(const QAbstractItemView* list, const QString& text) {
    // The style's text margin on each side, and a few pixels so that rounding never elides.
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    return list->fontMetrics().horizontalAdvance(text) + 2 * margin + 4;
}

void FitColumns(QTreeView* list, const QList<QStringList>& cells) { FitColumns(list, list->header(), cells); }

void FitColumns(QAbstractItemView* list, QHeaderView* header, const QList<QStringList>& cells, int halfColumn) {
    const int columns = header->count();
    const int frame = list->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, list);
    const int bar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int room = list->width() - 2 * frame - bar;
    QList<int> need(columns, 0);
    for (int c = 0; c < columns; ++c) {
        need[c] = header->sectionSizeHint(c);
        if (c < cells.size())
            for (const QString& text : cells[c]) need[c] = std::max(need[c], CellWidth(list, text));
    }
    int total = 0;
    for (int c = 0; c < columns; ++c) total += need[c];
    auto share = [&](int c, int spare) { return need[c] + (total > 0 ? int(qint64(spare) * need[c] / total) : 0); };
    int spare = std::max(0, room - total);
    // The half column, when its texts or its share would take more, keeps half the room (less
    // where the others need more, down to its caption) and leaves the rest to the others.
    int halfWidth = -1;
    if (halfColumn >= 0 && halfColumn < columns - 1 && share(halfColumn, spare) > room / 2) {
        total -= need[halfColumn];
        const int caption = std::min(header->sectionSizeHint(halfColumn), room / 2);
        halfWidth = std::max({std::min(room / 2, room - total), caption, 0});
        spare = std::max(0, room - halfWidth - total);
    }
    int given = 0;
    for (int c = 0; c < columns; ++c) {
        int width = halfWidth;
        if (c != halfColumn || halfWidth < 0) width = c == columns - 1 ? std::max(need[c], room - given) : share(c, spare);
        header->resizeSection(c, width);
        given += width;
    }
}

namespace {

// Fits a view's columns again whenever the view is shown or resized, or its rows change.
class ColumnKeeper : public QObject {
public:
    ColumnKeeper(QAbstractItemView* view, QHeaderView* header, QList<QStringList> samples, int halfColumn)
        : QObject(view), view_(view), header_(header), samples_(std::move(samples)), halfColumn_(halfColumn) {
        view->installEventFilter(this);
    }

    void fit() {
        QAbstractItemModel* model = view_->model();
        if (model != model_) {
            if (model_) model_->disconnect(this);
            model_ = model;
            if (model) {
                connect(model, &QAbstractItemModel::modelReset, this, &ColumnKeeper::fitSoon);
                connect(model, &QAbstractItemModel::layoutChanged, this, &ColumnKeeper::fitSoon);
                connect(model, &QAbstractItemModel::rowsInserted, this, &ColumnKeeper::fitSoon);
            }
        }
        QList<QStringList> cells = samples_;
        cells.resize(std::max<qsizetype>(cells.size(), header_->count()));
        if (model) {
            const int rows = std::min(model->rowCount(), kRowsMeasured);
            for (int c = 0; c < header_->count(); ++c)
                for (int r = 0; r < rows; ++r) cells[c] << model->index(r, c).data().toString();
        }
        FitColumns(view_, header_, cells, halfColumn_);
    }

    // A change of rows is fitted from the event loop: once for a burst of changes, and never
    // for a model cleared while its view is being destroyed (this keeper goes with the view).
    void fitSoon() {
        if (pending_) return;
        pending_ = true;
        QTimer::singleShot(0, this, [this] {
            pending_ = false;
            fit();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == view_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show ||
                                 event->type() == QEvent::FontChange))
            fit();
        return false;
    }

private:
    // Rows alike in form: the first ones stand for a table of millions.
    static constexpr int kRowsMeasured = 500;
    QAbstractItemView* view_;
    QHeaderView* header_;
    QList<QStringList> samples_;
    int halfColumn_;
    QPointer<QAbstractItemModel> model_;
    bool pending_ = false;
};

}  // namespace

void KeepColumnsFitted(QAbstractItemView* view, QHeaderView* header, const QList<QStringList>& samples,
                       int halfColumn) {
    (new ColumnKeeper(view, header, samples, halfColumn))->fit();
}

namespace {

// The font's own letter spacing, and a glyph's advance without it.
qreal Spacing(const QFont& font) {
    return font.letterSpacingType() == QFont::AbsoluteSpacing ? font.letterSpacing() : 0;
}

qreal OwnAdvance(QFont font, QChar ch) {
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    return QFontMetricsF(font).horizontalAdvance(ch);
}

}  // namespace

qreal GridCell(const QFont& font) {
    return std::max({OwnAdvance(font, QLatin1Char('0')), OwnAdvance(font, QLatin1Char(' ')),
                     OwnAdvance(font, QChar(0x56FD)) / 2}) +  // 国
           Spacing(font);
}

qreal GridSpacing(const QFont& font, QChar ch) { return common::CharWidth(ch) * GridCell(font) - OwnAdvance(font, ch); }

qreal GridWidth(const QFont& font, const QString& line) { return common::DisplayWidth(line) * GridCell(font); }

QString GridHtml(const QFont& font, const QString& line) {
    QString html = QStringLiteral("<span style=\"white-space:pre\">");
    for (const QChar ch : line) {
        const QString text = ch == QLatin1Char(' ') ? QStringLiteral("&nbsp;") : QString(ch).toHtmlEscaped();
        const qreal spacing = GridSpacing(font, ch);
        if (std::abs(spacing - Spacing(font)) < 0.01) html += text;
        else html += QStringLiteral("<span style=\"letter-spacing:%1px\">%2</span>").arg(spacing, 0, 'f', 2).arg(text);
    }
    return html + QStringLiteral("</span>");
}

TableGrid::TableGrid(QTextDocument* document) : QSyntaxHighlighter(document) {}

void TableGrid::setFont(const QFont& font) {
    if (font == font_ && !spacing_.isEmpty()) return;
    font_ = font;
    spacing_.clear();
    rehighlight();
}

void TableGrid::highlightBlock(const QString& text) {
    // Runs of characters that need the same spacing share one format.
    auto spacingOf = [this](QChar ch) {
        auto it = spacing_.constFind(ch.unicode());
        if (it == spacing_.cend()) it = spacing_.insert(ch.unicode(), GridSpacing(font_, ch));
        return *it;
    };
    const qreal usual = Spacing(font_);
    int start = 0;
    while (start < text.size()) {
        const qreal spacing = spacingOf(text.at(start));
        int end = start + 1;
        while (end < text.size() && std::abs(spacingOf(text.at(end)) - spacing) < 0.01) ++end;
        if (std::abs(spacing - usual) >= 0.01) {
            QTextCharFormat format;
            format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
            format.setFontLetterSpacing(spacing);
            setFormat(start, end - start, format);
        }
        start = end;
    }
}

QFont FontFittingLines(const QFont& font, const QString& text, int width, int minimumPixels) {
    // On the grid only the line of most columns counts.
    QString widest;
    int columns = -1;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const int c = common::DisplayWidth(line);
        if (c > columns) {
            columns = c;
            widest = line.toString();
        }
    }
    if (widest.endsWith(QLatin1Char('\r'))) widest.chop(1);
    // Each size first as designed, then with its letters drawn up to half a pixel closer: a
    // narrower font that keeps its size reads better than a smaller one.
    QFont fitted = font;
    for (int pixels = QFontInfo(font).pixelSize(); pixels >= minimumPixels; --pixels) {
        fitted.setPixelSize(pixels);
        for (const qreal spacing : {0.0, -0.25, -0.5}) {
            fitted.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
            if (GridWidth(fitted, widest) <= width) return fitted;
        }
    }
    return fitted;
}

}  // namespace ui
