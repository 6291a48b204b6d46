#include "platform/ui/helpmark.h"

#include "platform/ui/paintedpicture.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace ui {

QPixmap HelpMark(const QSize& size) {
    QPixmap pm = BlankPicture(size);
    if (size.isEmpty()) return pm;

    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal side = std::min(size.width(), size.height()) - 1.0;
    const QRectF disc((size.width() - side) / 2, (size.height() - side) / 2, side, side);
    QRadialGradient fill(disc.center() - QPointF(side / 5, side / 5), side * 0.75);
    fill.setColorAt(0, QColor(0x6F, 0xB2, 0xF2));
    fill.setColorAt(1, QColor(0x1C, 0x5F, 0xB4));
    p.setPen(QPen(QColor(0x12, 0x44, 0x86), 1));
    p.setBrush(fill);
    p.drawEllipse(disc);

    QFont f = qGuiApp ? QGuiApplication::font() : QFont();
    f.setBold(true);
    f.setPixelSize(std::max(7, int(side * 0.68)));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(disc, Qt::AlignCenter, QStringLiteral("?"));
    p.end();
    return pm;
}

void SetHelpMark(QLabel* label, const QString& accessibleName) {
    ShowPicture(label, HelpMark(label->contentsRect().size()), accessibleName);
}

}  // namespace ui
