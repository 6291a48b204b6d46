#pragma once
// A light web view standing in for a browser control: it fetches a page (no cache), renders its
// HTML, and reports the browser events the windows use. Links open in the same view.
#include <QNetworkReply>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

class QNetworkAccessManager;

namespace ui {

class WebView : public QTextBrowser {
    Q_OBJECT
public:
    explicit WebView(QWidget* parent = nullptr);
    ~WebView() override;

    // Starts loading an address; "about:blank" empties the view. An empty or invalid address
    // fails like an unreachable server (navigateError).
    void Navigate(const QString& address);
    void Refresh();   // reloads the current page (nothing before the first navigation)
    void Refresh2() { Refresh(); }
    bool busy() const { return reply_ != nullptr || loadingLocal_; }

    bool silent() const { return silent_; }
    void setSilent(bool on) { silent_ = on; }

    // Time limit per page.
    int timeoutMs = 15000;

signals:
    void documentComplete(const QString& url);           // a page (error pages included) was shown
    void navigateError(const QString& url, int status);  // 0: no answer
    void downloadBegin();
    void downloadComplete();

private:
    void finished(QNetworkReply* reply);
    void showPage(const QByteArray& body, const QByteArray& contentType);
    // reason: shown instead of the usual "no connection" line.
    void showErrorPage(const QString& url, const QString& reason = QString());

    QNetworkAccessManager* manager_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QString location_;
    bool silent_ = false;
    bool loadingLocal_ = false;  // a local page is read on the next pass of the event loop
};

}  // namespace ui
