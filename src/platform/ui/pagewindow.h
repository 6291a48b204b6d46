#pragma once
// The program's own page window: the help, the tutorial and other shipped pages shown in a
// WebView, so no outside browser is needed. "用浏览器打开" hands the page to one when there is.
#include <QString>
#include <QWidget>

class QPushButton;

namespace ui {

class WebView;

class PageWindow : public QWidget {
    Q_OBJECT
public:
    explicit PageWindow(QWidget* parent = nullptr);

    // Shows the page with the title in the window's caption and brings the window up.
    void showPage(const QString& url, const QString& title);
    QString url() const { return url_; }
    WebView* view() const { return view_; }

private:
    void openInBrowser();

    WebView* view_ = nullptr;
    QPushButton* browserButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QString url_;
};

// Shows a page in the page window of the parent's top-level window (one per window, made on
// first use). A local page file that is missing is said in a message box instead; false then.
bool ShowPage(const QString& url, const QString& title, QWidget* parent);
// The same for a page of the home server (common::HomePageUrl); without a home server says so.
bool ShowHomePage(const QString& path, const QString& title, QWidget* parent);

}  // namespace ui
