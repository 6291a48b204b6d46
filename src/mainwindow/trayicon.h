#pragma once
// The program's icon in the notification area. A left click asks the main window to toggle; the
// context menu offers one item that closes the program through the main window.
#include <QIcon>
#include <QObject>

class QMenu;
class QSystemTrayIcon;

namespace mainwindow {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(const QIcon& icon, QObject* parent = nullptr);
    ~TrayIcon() override;

    void install();   // adds the icon (tip "Sifmora")
    void remove();    // deletes it from the tray
    bool isInstalled() const { return installed_; }
    QSystemTrayIcon* icon() const { return tray_; }
    QMenu* menu() const { return menu_; }

signals:
    void clicked();        // left button released over the icon
    void quitRequested();  // the context menu's "退出系统"

private:
    QSystemTrayIcon* tray_ = nullptr;
    QMenu* menu_ = nullptr;
    bool installed_ = false;
};

// The program's icon (main window, dialogs and tray).
QIcon AppIcon();

}  // namespace mainwindow
