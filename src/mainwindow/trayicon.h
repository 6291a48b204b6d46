#pragma once
// The program's icon in the notification area. A left click asks the main window to show or
// hide itself, while the toggle is enabled; the right and middle buttons do nothing. Qt reports
// a double click as a click (Trigger) and then DoubleClick for the second press, so the second
// counts as a click too: a double click toggles twice, as two clicks do.
#include <QIcon>
#include <QObject>

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

    // Off while the workbench, the draw entry or the settings window is open.
    void setToggleEnabled(bool on) { toggleEnabled_ = on; }
    bool toggleEnabled() const { return toggleEnabled_; }

signals:
    void clicked();  // left button clicked on the icon (each click of a double click), toggle enabled

private:
    QSystemTrayIcon* tray_ = nullptr;
    bool installed_ = false;
    bool toggleEnabled_ = true;
};

// The program's icon (main window, dialogs and tray).
QIcon AppIcon();

}  // namespace mainwindow
