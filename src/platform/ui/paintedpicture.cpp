#include "platform/ui/paintedpicture.h"

#include <QGuiApplication>
#include <QLabel>

namespace ui {

QPixmap BlankPicture(const QSize& size) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pm(size * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    return pm;
}

void ShowPicture(QLabel* label, const QPixmap& picture, const QString& accessibleName) {
    label->setText(QString());
    label->setAccessibleName(accessibleName);
    label->setPixmap(picture);
}

}  // namespace ui
