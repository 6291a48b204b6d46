// WorkbenchWindow's placement on resize: frames grow with the window, corner buttons and the
// rows beside them follow their frames, the result list and log fill the result frame.
#include "workbench/workbenchwindow.h"

#include <QWidget>

void WorkbenchWindow::Form_Resize() {
    if (isMinimized() || prevFormHeight_ <= 0 || prevFormWidth_ <= 0) return;
    const double hr = height() / prevFormHeight_, wr = width() / prevFormWidth_;
    prevFormHeight_ = height();
    prevFormWidth_ = width();
    auto w = [this](const char* name) { return findChild<QWidget*>(QString::fromLatin1(name)); };
    // A placement that would make a size negative is skipped; the others still run.
    auto setGeo = [](QWidget* c, int x, int y, int cw, int ch) {
        if (c && cw >= 0 && ch >= 0) c->setGeometry(x, y, cw, ch);
    };
    auto right = [](QWidget* c) { return c->x() + c->width(); };
    auto bottom = [](QWidget* c) { return c->y() + c->height(); };
    const int gap = 8;  // 120 twips

    for (const char* f : {"Frame1", "Frame2", "Frame12", "Frame4", "Frame7"}) {
        QWidget* c = w(f);
        setGeo(c, c->x(), c->y(), int(c->width() * wr), int(c->height() * hr));
    }
    QWidget* tab = w("SSTab1");
    QWidget* f8 = w("Frame8");
    setGeo(tab, tab->x(), tab->y(), tab->width(), int(tab->height() * hr));
    setGeo(f8, f8->x(), f8->y(), int(f8->width() * wr), f8->height());
    setGeo(tab, tab->x(), tab->y(), f8->width(), tab->height());

    QWidget* f1 = w("Frame1");
    QWidget* f2 = w("Frame2");
    QWidget* f12 = w("Frame12");
    QWidget* f4 = w("Frame4");
    QWidget* f7 = w("Frame7");
    tab->move(right(f1) + gap, tab->y());
    f8->move(tab->x(), f8->y());
    f2->move(f2->x(), f1->height() + 2 * gap);
    f12->move(f2->width() + 2 * gap, f2->y());
    f4->move(f4->x(), bottom(f2) + gap);
    f7->move(f7->x(), bottom(f4) + gap);
    setGeo(f8, f8->x(), bottom(tab) + gap, f8->width(), bottom(f7) - (bottom(tab) + gap));

    // The corner button of each frame, and the rows that continue leftwards from it.
    const struct { const char* button; const char* frame; } corners[] = {
        {"Command1", "Frame1"}, {"Command3", "Frame2"},  {"Command5", "Frame4"},  {"Command6", "Frame3"},
        {"Command21", "Frame12"}, {"Command7", "Frame7"}, {"Command2", "Frame5"},  {"Command4", "Frame6"},
        {"Command10", "Frame9"}, {"Command14", "Frame10"}, {"Command11", "Frame8"}};
    for (const auto& c : corners) {
        QWidget* b = w(c.button);
        QWidget* f = w(c.frame);
        if (b && f) b->move(f->width() - b->width(), f->height() - b->height());
    }
    auto row = [&](std::initializer_list<const char*> names) {
        QWidget* prev = nullptr;
        for (const char* n : names) {
            QWidget* b = w(n);
            if (prev) b->move(prev->x() - b->width(), prev->y());
            prev = b;
        }
    };
    row({"Command1", "Command12", "Command54", "Command69", "Command58"});
    row({"Command21", "Command47"});
    row({"Command11", "Command13", "Command16", "Command25"});

    QWidget* text5 = w("Text5");
    QWidget* list1 = w("List1");
    setGeo(list1, list1->x(), list1->y(), int(list1->width() * wr), f8->height() - 53);
    setGeo(text5, text5->x(), text5->y(), int(text5->width() * wr), list1->height());
    list1->move(text5->width() + 33, text5->y());
    QWidget* label5 = w("Label5");
    label5->move(label5->x(), text5->height() + 27);

    const int top = bottom(f7);
    QWidget* prev = w("Command20");
    prev->move(prev->x(), top);
    for (const char* n : {"Command45", "Command30", "Command31", "Command52", "Command51"}) {
        QWidget* b = w(n);
        b->move(right(prev), top);
        prev = b;
    }
    for (const char* n : {"Image1", "Image2"}) {
        QWidget* img = w(n);
        img->move(right(f8) - img->width(), top);
    }
    QWidget* tutorial = w("Command49");
    const int imageLeft = w("Image1")->x();
    setGeo(tutorial, 0, top, imageLeft - prev->x() - prev->width(), tutorial->height());
    tutorial->move(imageLeft - tutorial->width(), top);
    update();
}
