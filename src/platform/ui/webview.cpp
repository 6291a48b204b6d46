#include "platform/ui/webview.h"

#include "common/localfile.h"
#include "common/textcodec.h"
#include "platform/download.h"

#include <QFileInfo>
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
    loadingLocal_ = false;
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
    showPage(body, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
}

void WebView::showPage(const QByteArray& body, const QByteArray& contentType) {
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?\\s*(gb2312|gbk|gb18030)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(body.left(2048)) + QString::fromLatin1(contentType);
    const QString html = charset.match(head).hasMatch() ? common::DecodeAnsi(body) : QString::fromUtf8(body);
    setHtml(html);
    emit documentComplete(location_);
}

void WebView::showErrorPage(const QString& url, const QString& reason) {
    // Like a browser, the view shows its own page for a failed navigation and completes it.
    const QString text = reason.isEmpty() ? QStringLiteral("网络连接失败") : reason.toHtmlEscaped();
    setHtml(QStringLiteral("<p>&nbsp;</p><p align=\"center\"><font size=\"2\" color=\"#008080\">%1</font></p>")
                .arg(text));
    emit documentComplete(url);
}

}  // namespace ui
