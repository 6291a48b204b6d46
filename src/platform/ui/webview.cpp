#include "platform/ui/webview.h"

#include "common/textcodec.h"
#include "platform/download.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
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
}

void WebView::Navigate(const QString& address) {
    if (reply_) {
        QNetworkReply* old = reply_;
        reply_ = nullptr;
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
    location_ = address;
    if (address == QLatin1String("about:blank")) {
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
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = manager_->get(request);
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
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?\\s*(gb2312|gbk|gb18030)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(body.left(2048)) +
                         QString::fromLatin1(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
    const QString html = charset.match(head).hasMatch() ? common::DecodeAnsi(body) : QString::fromUtf8(body);
    setHtml(html);
    emit documentComplete(location_);
}

void WebView::showErrorPage(const QString& url) {
    // Like a browser, the view shows its own page for a failed navigation and completes it.
    setHtml(QStringLiteral("<p>&nbsp;</p><p align=\"center\"><font size=\"2\" color=\"#008080\">"
                           "网络连接失败</font></p>"));
    emit documentComplete(url);
}

}  // namespace ui
