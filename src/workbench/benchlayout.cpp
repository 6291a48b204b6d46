#include "workbench/benchlayout.h"

#include "workbench/bottomrow.h"
#include "workbench/commonfilterstab.h"
#include "workbench/resultsframe.h"

#include <QWidget>

namespace workbench {

void BenchLayout::place(QSize window) {
    if (previous_.height() <= 0 || previous_.width() <= 0) return;
    const double hr = double(window.height()) / previous_.height(), wr = double(window.width()) / previous_.width();
    previous_ = window;
    // A placement that would make a size negative is skipped; the others still run.
    auto setGeo = [](QWidget* c, int x, int y, int cw, int ch) {
        if (c && cw >= 0 && ch >= 0) c->setGeometry(x, y, cw, ch);
    };
    auto right = [](QWidget* c) { return c->x() + c->width(); };
    auto bottom = [](QWidget* c) { return c->y() + c->height(); };
    const int gap = 8;  // 120 twips
    QWidget *f1 = parts.base, *f2 = parts.history, *f12 = parts.positional, *f4 = parts.basic, *f7 = parts.advanced,
            *f8 = parts.results, *tab = parts.tabs;

    for (QWidget* c : {f1, f2, f12, f4, f7}) setGeo(c, c->x(), c->y(), int(c->width() * wr), int(c->height() * hr));
    setGeo(tab, tab->x(), tab->y(), tab->width(), int(tab->height() * hr));
    setGeo(f8, f8->x(), f8->y(), int(f8->width() * wr), f8->height());
    setGeo(tab, tab->x(), tab->y(), f8->width(), tab->height());

    tab->move(right(f1) + gap, tab->y());
    f8->move(tab->x(), f8->y());
    f2->move(f2->x(), f1->height() + 2 * gap);
    f12->move(f2->width() + 2 * gap, f2->y());
    f4->move(f4->x(), bottom(f2) + gap);
    f7->move(f7->x(), bottom(f4) + gap);
    setGeo(f8, f8->x(), bottom(tab) + gap, f8->width(), bottom(f7) - (bottom(tab) + gap));

    // The corner button of each frame, and the rows that continue leftwards from it.
    for (const auto& [b, f] : corners_) b->move(f->width() - b->width(), f->height() - b->height());
    parts.commonTab->placeCorners();
    for (const QList<QWidget*>& row : rows_)
        for (int i = 1; i < row.size(); ++i) row[i]->move(row[i - 1]->x() - row[i]->width(), row[i - 1]->y());

    parts.results->place(wr);
    parts.bottomRow->place(bottom(f7), right(f8));
}

}  // namespace workbench
