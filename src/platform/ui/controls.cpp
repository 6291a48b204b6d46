#include "platform/ui/controls.h"

#include <QPalette>

#include <algorithm>

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

void ToggleTip(QLabel* tip) {
    if (!tip->isHidden()) {
        tip->hide();
        return;
    }
    const QWidget* room = tip->parentWidget();
    constexpr int kMargin = 4;
    tip->setWordWrap(true);
    tip->setFrameShape(QFrame::Box);
    tip->setMargin(4);
    tip->setAutoFillBackground(true);
    tip->setBackgroundRole(QPalette::ToolTipBase);
    tip->setForegroundRole(QPalette::ToolTipText);
    QRect place = tip->geometry();
    if (room) place.setRight(std::min(place.right(), room->width() - 1 - kMargin));
    place.setHeight(std::max(place.height(), tip->heightForWidth(place.width())));
    if (room && place.bottom() > room->height() - 1 - kMargin) place.moveBottom(room->height() - 1 - kMargin);
    place.moveTop(std::max(place.top(), 0));
    tip->setGeometry(place);
    tip->raise();
    tip->show();
}

}  // namespace ui
