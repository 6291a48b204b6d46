#pragma once
// A light web view standing in for a browser control: it fetches a page (no cache), renders its
// HTML, and reports the browser events the windows use. Links open in the same view. Every page
// shown in the program goes through it, so its images and style sheets follow one rule
// (pageresources.h): the home folder's regular files or the page's own server, bounded.
#include "platform/ui/pageresources.h"

#include <QHash>
#include <QList>
#include <QNetworkReply>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVariant>

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

    // Shows html as the page at address (a page fetched by its window), with that page's images
    // and style sheets.
    void showHtml(const QString& html, const QString& address);
    // Images and style sheets of the page's server still on their way; each is added when it
    // arrives, or stays left out.
    bool loadingResources() const { return !resourceReplies_.isEmpty(); }

    // Time limit per page, and per image or style sheet.
    int timeoutMs = 15000;

protected:
    // The document asks here for every image and style sheet it names (never reads one itself).
    QVariant loadResource(int type, const QUrl& name) override;

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
    void stopLoading();
    void setPageHtml(const QString& html);
    void dropResources();
    void fetchResource(int type, const QUrl& name, const QUrl& url);
    void resourceArrived(QNetworkReply* reply, int type, const QUrl& name);

    QNetworkAccessManager* manager_ = nullptr;
    QPointer<QNetworkReply> reply_;
    QString location_;
    bool silent_ = false;
    bool loadingLocal_ = false;  // a local page is read on the next pass of the event loop
    QString html_;               // the page shown, set again when a style sheet arrives
    // The page's resources by the name the document asks for: what they came to (left out
    // included), what is on its way, and what they have taken of the page's budget.
    QHash<QUrl, QVariant> resources_;
    QList<QPointer<QNetworkReply>> resourceReplies_;
    PageBudget budget_;
    bool refreshPending_ = false;
};

}  // namespace ui
