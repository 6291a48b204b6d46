#pragma once
// The announcement board beside the main window's text: the web view with the home server's
// page and the 刷新公告栏 link under it. It opens 2 s after the window is created; the window
// widens once a page is shown and narrows at once when the board closes.
#include <QObject>

class QLabel;
class QTimer;
class QWidget;

namespace ui {
class WebView;
}  // namespace ui

namespace mainwindow {

class BoardFrame : public QObject {
    Q_OBJECT
public:
    explicit BoardFrame(QWidget* window);

    // The board page's address.
    static QString PageUrl();

    // Whether the board is open (wide once its page is shown); closed at creation.
    bool isOpen() const { return open_; }
    void startOpeningLater();  // opens it 2 s from now
    void cancelOpening();      // the window closes first
    void open();               // shows the page now
    void toggle();             // closes an open board (the window narrows), opens a closed one
    void refresh();            // loads the page again (刷新公告)

signals:
    void narrowRequested();  // the board closed
    void wideRequested();    // an open board's page is shown
    void pageEnded();        // a page was shown or failed: a minimised window comes back

private:
    ui::WebView* view_ = nullptr;
    QLabel* refreshLink_ = nullptr;
    QTimer* openTimer_ = nullptr;
    bool open_ = false;
};

}  // namespace mainwindow
