#include "mainwindow/trayicon.h"

#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace mainwindow {

TrayIcon::TrayIcon(const QIcon& icon, QObject* parent) : QObject(parent) {
    tray_ = new QSystemTrayIcon(icon, this);
    tray_->setObjectName(QStringLiteral("TrayIcon"));
    tray_->setToolTip(QStringLiteral("Sifmora"));
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        const bool leftClick = reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick;
        if (leftClick && toggleEnabled_) emit clicked();
    });
}

TrayIcon::~TrayIcon() { remove(); }

void TrayIcon::install() {
    if (installed_) return;
    installed_ = true;
    if (QSystemTrayIcon::isSystemTrayAvailable()) tray_->show();
}

void TrayIcon::remove() {
    if (!installed_) return;
    installed_ = false;
    tray_->hide();
}

QIcon AppIcon() {
    static const QIcon icon = [] {
        QPixmap pm(32, 32);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0xC0, 0x20, 0x20));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(15);
        p.setFont(f);
        p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("3D"));
        p.end();
        return QIcon(pm);
    }();
    return icon;
}

}  // namespace mainwindow
