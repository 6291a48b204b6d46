#include "platform/ui/lotterymark.h"

#include "platform/ui/paintedpicture.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ui {

QPixmap LotteryMark(bool p3, const QSize& size) {
    QPixmap pm = BlankPicture(size);
    if (size.isEmpty()) return pm;

    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const QColor dark = p3 ? QColor(0x15, 0x4F, 0x9E) : QColor(0xB0, 0x14, 0x14);
    const QColor light = p3 ? QColor(0x3A, 0x8E, 0xE6) : QColor(0xE8, 0x3A, 0x2A);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setPen(QPen(dark.darker(130), 1));
    p.setBrush(fill);
    const qreal radius = r.height() / 4;
    p.drawRoundedRect(r, radius, radius);

    // Three digit balls on the left: the draw's three positions.
    const qreal ball = std::min(r.height() * 0.42, r.width() / 8);
    const qreal cy = r.center().y();
    const QColor ballColor = p3 ? QColor(0xFF, 0xD5, 0x4A) : QColor(0xFF, 0xE0, 0x6A);
    qreal x = r.left() + radius * 0.8;
    for (int i = 0; i < 3; ++i) {
        const QRectF b(x, cy - ball / 2 + (i == 1 ? -ball * 0.28 : ball * 0.12), ball, ball);
        p.setPen(QPen(dark.darker(150), 0.8));
        p.setBrush(ballColor);
        p.drawEllipse(b);
        x += ball * 0.9;
    }

    // The game's name on the right.
    const QRectF textRect(x + ball * 0.4, r.top(), r.right() - x - ball * 0.4 - radius * 0.5, r.height());
    QFont f = qGuiApp ? QGuiApplication::font() : QFont();
    f.setBold(true);
    f.setPixelSize(std::max(8, int(r.height() * 0.5)));
    const QString name = p3 ? QStringLiteral("排列三") : QStringLiteral("福彩3D");
    // The name shrinks until it fits the badge.
    while (f.pixelSize() > 8 && QFontMetricsF(f).horizontalAdvance(name) > textRect.width()) f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(textRect.translated(0.8, 0.8), Qt::AlignCenter, name);
    p.setPen(Qt::white);
    p.drawText(textRect, Qt::AlignCenter, name);
    p.end();
    return pm;
}

void SetLotteryMark(QLabel* label, bool p3) {
    ShowPicture(label, LotteryMark(p3, label->contentsRect().size()),
                p3 ? QStringLiteral("排列三") : QStringLiteral("福彩3D"));
}

}  // namespace ui
