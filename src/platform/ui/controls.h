#pragma once
// Named controls at pixel places: how the windows make the controls their tests find by
// objectName.
#include <QComboBox>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

// A named control of kind W on parent at a pixel place.
template <class W>
W* MakePlaced(QWidget* parent, const QString& name, int x, int y, int w, int h) {
    auto* control = new W(parent);
    control->setObjectName(name);
    control->setGeometry(x, y, w, h);
    return control;
}

// A named label; without a place a layout places it.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text = {});
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int x, int y, int w, int h);

// A named button at a pixel place.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h);
// The same, running window's handler when clicked.
template <class Window>
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h,
                        Window* window, void (Window::*handler)()) {
    QPushButton* b = MakeButton(parent, name, caption, x, y, w, h);
    QObject::connect(b, &QPushButton::clicked, window, handler);
    return b;
}

// A named pick-only list (not editable) with its items, at a pixel place.
QComboBox* MakePickList(QWidget* parent, const QString& name, const QStringList& items, int x, int y, int w,
                        int h = 24);

// Shows a hidden tip label laid over its window's controls, or hides a shown one. Shown, it
// stands above the controls it covers, paints its own background, and takes the height its
// whole (word-wrapped) text needs at its width, kept inside its window: narrowed to the window's
// right edge, moved up from its bottom edge.
void ToggleTip(QLabel* tip);

}  // namespace ui
