#include "platform/ui/webview.h"

#include "common/localfile.h"
#include "common/textcodec.h"
#include "platform/download.h"
#include "platform/ui/pageresources.h"

#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>

namespace ui {

WebView::WebView(QWidget* parent) : QTextBrowser(parent) {
    manager_ = new QNetworkAccessManager(this);
    setOpenLinks(false);
    setReadOnly(true);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        Navigate(QUrl(location_).resolved(url).toString());
    });
}

WebView::~WebView() {
    if (reply_) reply_->abort();
    dropResources();
}

void WebView::stopLoading() {
    loadingLocal_ = false;
    dropResources();
    if (reply_) {
        QNetworkReply* old = reply_;
        reply_ = nullptr;
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
}

void WebView::Navigate(const QString& address) {
    stopLoading();
    location_ = address;
    if (address == QLatin1String("about:blank")) {
        html_.clear();
        clear();
        QTimer::singleShot(0, this, [this, address] {
            if (location_ == address) emit documentComplete(address);
        });
        return;
    }
    const QUrl url(address);
    emit downloadBegin();
    // Web pages, and the pages of the home folder that ships with the program (file://).
    const bool isHttp = url.scheme().startsWith(QLatin1String("http"));
    const bool isFile = url.isLocalFile();
    if (!url.isValid() || (isHttp && url.host().isEmpty()) || (!isHttp && !isFile)) {
        QTimer::singleShot(0, this, [this, address] {
            if (location_ != address) return;
            emit downloadComplete();
            emit navigateError(address, 0);
            showErrorPage(address);
        });
        return;
    }
    if (isFile) {
        // Read here rather than by the network layer, whose open() would wait for ever on a FIFO
        // put in the page's place.
        loadingLocal_ = true;
        QTimer::singleShot(0, this, [this, address, path = url.toLocalFile()] {
            if (location_ != address || !loadingLocal_) return;
            loadingLocal_ = false;
            QByteArray body;
            QString why;
            const bool ok = common::ReadRegularFile(path, platform::kPageLimit, &body, &why);
            emit downloadComplete();
            if (!ok) {
                emit navigateError(address, 0);
                // A missing page of the home folder is a server without the page; anything
                // else (not a file, too large, no permission) is named.
                showErrorPage(address, QFileInfo::exists(path) ? why : QString());
                return;
            }
            showPage(body, QByteArray());
        });
        return;
    }
    QNetworkReply* reply = manager_->get(platform::FreshRequest(url, timeoutMs));
    platform::LimitReply(reply, platform::kPageLimit, timeoutMs);  // an endless page fails like a lost one
    reply_ = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finished(reply); });
}

void WebView::Refresh() {
    if (location_.isEmpty()) return;
    Navigate(location_);
}

void WebView::finished(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply != reply_) return;
    reply_ = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->readAll();
    emit downloadComplete();
    const bool isHttp = reply->url().scheme().startsWith(QLatin1String("http"));
    if (reply->error() != QNetworkReply::NoError || (isHttp && (status < 200 || status > 299))) {
        emit navigateError(location_, status);
        showErrorPage(location_);
        return;
    }
    showPage(body, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
}

void WebView::showPage(const QByteArray& body, const QByteArray& contentType) {
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?\\s*(gb2312|gbk|gb18030)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(body.left(2048)) + QString::fromLatin1(contentType);
    const QString html = charset.match(head).hasMatch() ? common::DecodeAnsi(body) : QString::fromUtf8(body);
    setPageHtml(html);
    emit documentComplete(location_);
}

void WebView::showHtml(const QString& html, const QString& address) {
    stopLoading();
    location_ = address;
    setPageHtml(html);
}

void WebView::setPageHtml(const QString& html) {
    // Whatever the page holds, the window lays out only a bounded part of it.
    html_ = PageWithinBudget(html);
    setHtml(html_);
}

void WebView::showErrorPage(const QString& url, const QString& reason) {
    // Like a browser, the view shows its own page for a failed navigation and completes it.
    const QString text = reason.isEmpty() ? QStringLiteral("网络连接失败") : reason.toHtmlEscaped();
    setPageHtml(QStringLiteral("<p>&nbsp;</p><p align=\"center\"><font size=\"2\" color=\"#008080\">%1</font></p>")
                    .arg(text));
    emit documentComplete(url);
}

QVariant WebView::loadResource(int type, const QUrl& name) {
    if (const auto known = resources_.constFind(name); known != resources_.cend()) return *known;
    const QUrl url = QUrl(location_).resolved(name);
    const ResourcePlace place = resources_.size() < kMaxPageResources ? PlaceOf(type, QUrl(location_), url)
                                                                      : ResourcePlace::LeftOut;
    QVariant value = LeftOutResource(type);
    if (QByteArray bytes; place == ResourcePlace::HomeFile && ReadHomeFile(url, &bytes)) value = budget_.take(type, bytes);
    resources_.insert(name, value);
    // The page's server is not waited for: the page shows now and takes the resource when it comes.
    if (place == ResourcePlace::PageServer) fetchResource(type, name, url);
    return value;
}

void WebView::fetchResource(int type, const QUrl& name, const QUrl& url) {
    // A redirection may not lead to another server.
    QNetworkReply* reply = manager_->get(platform::FreshRequest(url, timeoutMs, QNetworkRequest::SameOriginRedirectPolicy));
    platform::LimitReply(reply, kResourceLimit, timeoutMs);
    resourceReplies_ << reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply, type, name] { resourceArrived(reply, type, name); });
}

void WebView::resourceArrived(QNetworkReply* reply, int type, const QUrl& name) {
    reply->deleteLater();
    resourceReplies_.removeAll(reply);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) return;
    const QVariant value = budget_.take(type, reply->readAll());
    if (IsLeftOut(value)) return;
    resources_.insert(name, value);
    // The page is laid out again with what came (the document asks anew after setHtml), where
    // the reader left it; arrivals close together make one new layout.
    if (refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this, page = location_] {
        refreshPending_ = false;
        if (location_ != page) return;
        const int scrolled = verticalScrollBar()->value();
        setHtml(html_);
        verticalScrollBar()->setValue(scrolled);
    });
}

void WebView::dropResources() {
    for (const QPointer<QNetworkReply>& reply : std::as_const(resourceReplies_)) {
        if (!reply) continue;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    resourceReplies_.clear();
    resources_.clear();
    budget_.reset();
}

}  // namespace ui
