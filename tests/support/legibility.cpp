#include "legibility.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <QTreeView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>

namespace testsupport {

namespace {

QString PathOf(const QWidget* w, const QWidget* window) {
    QStringList names;
    for (const QWidget* p = w; p && p != window; p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_"))) names.prepend(p->objectName());
    if (names.isEmpty() || w->objectName().isEmpty()) {
        const auto* b = qobject_cast<const QAbstractButton*>(w);
        const auto* l = qobject_cast<const QLabel*>(w);
        names << QStringLiteral("“%1”").arg(b ? b->text() : l ? l->text() : QString::fromLatin1(w->metaObject()->className()));
    }
    return names.join(QLatin1Char('/'));
}

// Shown as far as the window is concerned: nothing between it and the window is hidden.
bool Shown(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w; p && p != window; p = p->parentWidget())
        if (p->isHidden()) return false;
    return true;
}

bool CarriesOverlays(const QWidget* w) {
    const auto* box = qobject_cast<const QCheckBox*>(w);
    return box && box->text().contains(QStringLiteral("  "));
}

// The caption or text does not fit the control.
bool Clipped(QWidget* w) {
    if (auto* push = qobject_cast<QPushButton*>(w)) {
        if (push->text().isEmpty()) return false;
        const int frame = push->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push);
        return push->fontMetrics().horizontalAdvance(push->text()) + frame > push->width();
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        auto* b = static_cast<QAbstractButton*>(w);
        if (b->text().isEmpty() || CarriesOverlays(w)) return false;
        // Where the caption starts after the indicator, as the style draws it.
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        const bool box = qobject_cast<QCheckBox*>(w) != nullptr;
        const QRect contents =
            b->style()->subElementRect(box ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &opt, b);
        return contents.left() + b->fontMetrics().horizontalAdvance(b->text()) > b->width() ||
               b->fontMetrics().height() > b->height();
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText) return false;
        if (label->wordWrap()) return label->heightForWidth(label->width()) > label->height() + 1;
        return label->sizeHint().width() > label->width() + 1;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text().isEmpty()) return false;
        const int frame = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) : 0;
        const QMargins m = edit->textMargins();
        const int room = edit->width() - 2 * frame - 4 - m.left() - m.right();  // 2 px inner margin each side
        return edit->fontMetrics().horizontalAdvance(edit->text()) > room;
    }
    return false;
}

// A table laid out as text in unwrapped lines: its widest line, as laid out with the formats of
// its block (letter spacing included), runs past the visible width.
QString CutTextTable(QWidget* w) {
    QTextDocument* document = nullptr;
    int room = 0;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        if (plain->lineWrapMode() != QPlainTextEdit::NoWrap) return {};
        document = plain->document();
        room = plain->viewport()->width();
    } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
        if (rich->lineWrapMode() != QTextEdit::NoWrap) return {};
        document = rich->document();
        room = rich->viewport()->width();
    } else {
        return {};
    }
    room -= 2 * int(document->documentMargin());
    int n = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next(), ++n) {
        QTextLayout layout(block.text(), w->font());
        if (block.layout()) layout.setFormats(block.layout()->formats());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        const qreal width = line.isValid() ? line.naturalTextWidth() : 0;
        if (width > room)
            return QStringLiteral(": 第%1行宽 %2，只看得见 %3，右边的列被切掉").arg(n + 1).arg(std::ceil(width)).arg(room);
    }
    return {};
}

// A list or table whose columns do not all fit: a caption or a cell wider than its column, or
// columns wider together than the view, so that some lie behind a horizontal scroll bar. Any
// item view with a horizontal header counts (tree views, table views, the statistics' tables);
// the first rows stand for the rest of a table of millions.
QStringList CutListColumns(QWidget* w) {
    auto* view = qobject_cast<QAbstractItemView*>(w);
    if (!view || !view->model()) return {};
    const QHeaderView* header = nullptr;
    if (auto* tree = qobject_cast<QTreeView*>(w)) {
        if (tree->isHeaderHidden()) return {};
        header = tree->header();
    } else {
        for (QHeaderView* h : view->findChildren<QHeaderView*>(Qt::FindDirectChildrenOnly))
            if (h->orientation() == Qt::Horizontal && !h->isHidden()) header = h;
    }
    if (!header) return {};
    QStringList cuts;
    const QAbstractItemModel* model = view->model();
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int rows = std::min(model->rowCount(), 2000);
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c)) continue;
        const QString caption = model->headerData(c, Qt::Horizontal).toString();
        const int width = header->sectionSize(c);
        if (header->sectionSizeHint(c) > width) {
            cuts << QStringLiteral(": 列“%1”的标题放不下（宽 %2）").arg(caption).arg(width);
            continue;
        }
        for (int r = 0; r < rows; ++r) {
            const QModelIndex index = model->index(r, c);
            const QVariant font = model->data(index, Qt::FontRole);
            const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : view->font());
            const QString text = model->data(index).toString();
            if (metrics.horizontalAdvance(text) + 2 * margin > width) {
                cuts << QStringLiteral(": 列“%1”第%2行“%3”放不下（宽 %4）").arg(caption).arg(r + 1).arg(text).arg(width);
                break;
            }
        }
    }
    const int room = view->viewport()->width();
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c) || header->sectionPosition(c) + header->sectionSize(c) <= room) continue;
        cuts << QStringLiteral(": 列“%1”在可见宽度 %2 之外，被切掉").arg(model->headerData(c, Qt::Horizontal).toString()).arg(room);
        break;
    }
    return cuts;
}

void Collect(QWidget* window, QSet<QString>& problems) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!Shown(w, window) || w->objectName().startsWith(QLatin1String("qt_"))) continue;
        if (Clipped(w))
            problems.insert(PathOf(w, window) + QStringLiteral(": 文字放不下（宽 %1）").arg(w->width()));
        if (const QString cut = CutTextTable(w); !cut.isEmpty()) problems.insert(PathOf(w, window) + cut);
        for (const QString& cut : CutListColumns(w)) problems.insert(PathOf(w, window) + cut);
        // Siblings that cover each other.
        if (w->isWindow()) continue;
        QWidget* parent = w->parentWidget();
        if (!parent || qobject_cast<QAbstractButton*>(parent) || qobject_cast<QTabWidget*>(parent) ||
            qobject_cast<QTabBar*>(parent))
            continue;
        for (QObject* o : parent->children()) {
            auto* other = qobject_cast<QWidget*>(o);
            if (!other || other <= w || other->isWindow() || !Shown(other, window)) continue;
            if (other->objectName().startsWith(QLatin1String("qt_"))) continue;
            if (CarriesOverlays(w) || CarriesOverlays(other)) continue;
            if (w->geometry().intersects(other->geometry()))
                problems.insert(PathOf(w, window) + QStringLiteral(" 与 ") + PathOf(other, window) + QStringLiteral(" 重叠"));
        }
    }
}

}  // namespace

QStringList LegibilityProblems(QWidget* window) {
    QSet<QString> problems;
    // Shown, so that windows that place their controls when shown or resized have done so.
    const bool wasShown = window->isVisible();
    window->show();
    QCoreApplication::processEvents();
    Collect(window, problems);
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        if (!Shown(tabs, window)) continue;
        const int current = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (!tabs->isTabVisible(i)) continue;
            tabs->setCurrentIndex(i);
            Collect(window, problems);
        }
        tabs->setCurrentIndex(current);
    }
    if (!wasShown) window->hide();
    QStringList list = problems.values();
    list.sort();
    return list;
}

}  // namespace testsupport
