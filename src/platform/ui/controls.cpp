#include "platform/ui/controls.h"

namespace ui {

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int x, int y, int w, int h) {
    QLabel* label = MakeLabel(parent, name, text);
    label->setGeometry(x, y, w, h);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w, int h) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    return b;
}

QComboBox* MakePickList(QWidget* parent, const QString& name, const QStringList& items, int x, int y, int w, int h) {
    auto* combo = MakePlaced<QComboBox>(parent, name, x, y, w, h);
    combo->addItems(items);
    return combo;
}

}  // namespace ui
