#include "platform/download.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

namespace platform {

namespace {

QNetworkRequest MakeRequest(const QUrl& url) {
    QNetworkRequest request(url);
    // Always the server's current copy: no cache read, no cache write, and ask proxies too.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    // Plain bytes, so that Content-Length can be compared with what arrived.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    return request;
}

}  // namespace

Downloader::Downloader(QObject* parent) : QObject(parent) {}

Downloader::~Downloader() { abort(); }

void Downloader::abort() {
    if (!running_) return;
    abortRequested_ = true;
    if (reply_) reply_->abort();
}

// One transfer; sink receives the body piece by piece and returns false when it cannot keep it.
static DownloadResult Transfer(const QString& address, int timeoutMs, const ProgressFn& progress,
                               const std::function<bool(const QByteArray&)>& sink, QNetworkReply** current,
                               const bool* abortRequested) {
    DownloadResult result;
    const QUrl url(address);
    const bool isHttp = url.scheme().startsWith(QLatin1String("http"), Qt::CaseInsensitive);
    if (!url.isValid() || url.scheme().isEmpty() || (isHttp && url.host().isEmpty())) {
        result.error = QStringLiteral("invalid address: %1").arg(address);
        return result;
    }
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(MakeRequest(url));
    *current = reply;
    QEventLoop loop;
    bool timedOut = false, sinkFailed = false, progressAborted = false;
    qint64 received = 0;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, reply, [&] { timedOut = true; reply->abort(); });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        const QByteArray piece = reply->readAll();
        received += piece.size();
        if (!sinkFailed && !sink(piece)) {
            sinkFailed = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 got, qint64 total) {
        // Without a Content-Length the total stays unknown, also in the last report.
        if (!reply->header(QNetworkRequest::ContentLengthHeader).isValid()) total = -1;
        if (progress && !progress(got, total)) {
            progressAborted = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (timeoutMs > 0) timer.start(timeoutMs);
    if (!reply->isFinished() && !*abortRequested) loop.exec();
    timer.stop();
    if (!reply->isFinished()) reply->abort();  // the loop was ended from outside (application quitting)
    const bool finishedNormally = reply->isFinished();
    if (finishedNormally && reply->bytesAvailable() > 0 && !sinkFailed) {
        const QByteArray piece = reply->readAll();
        received += piece.size();
        if (!sink(piece)) sinkFailed = true;
    }
    *current = nullptr;

    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool encoded = !reply->rawHeader("Content-Encoding").isEmpty()
                         && reply->rawHeader("Content-Encoding").toLower() != "identity";
    if (*abortRequested || progressAborted) result.error = QStringLiteral("aborted");
    else if (timedOut) result.error = QStringLiteral("no complete answer within %1 s").arg(timeoutMs / 1000.0);
    else if (sinkFailed) result.error = QStringLiteral("cannot write the downloaded data");
    else if (reply->error() != QNetworkReply::NoError) result.error = reply->errorString();
    else if (isHttp && (result.httpStatus < 200 || result.httpStatus > 299))
        result.error = QStringLiteral("HTTP status %1").arg(result.httpStatus);
    else if (declared.isValid() && !encoded && declared.toLongLong() != received)
        result.error = QStringLiteral("incomplete body: %1 of %2 bytes").arg(received).arg(declared.toLongLong());
    else result.ok = true;
    reply->deleteLater();
    return result;
}

DownloadResult Downloader::fetch(const QString& url, QByteArray* body, int timeoutMs, const ProgressFn& progress) {
    if (running_) return {false, 0, QStringLiteral("another transfer is running")};
    running_ = true;
    abortRequested_ = false;
    QByteArray data;
    DownloadResult r = Transfer(url, timeoutMs, progress, [&](const QByteArray& piece) {
        data += piece;
        return true;
    }, &reply_, &abortRequested_);
    running_ = false;
    if (r.ok && body) *body = data;
    return r;
}

DownloadResult Downloader::download(const QString& url, const QString& path, int timeoutMs,
                                    const ProgressFn& progress) {
    if (running_) return {false, 0, QStringLiteral("another transfer is running")};
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return {false, 0, QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    running_ = true;
    abortRequested_ = false;
    DownloadResult r = Transfer(url, timeoutMs, progress, [&](const QByteArray& piece) {
        return file.write(piece) == piece.size();
    }, &reply_, &abortRequested_);
    running_ = false;
    if (!r.ok) {
        file.cancelWriting();
        return r;
    }
    if (!file.commit()) {
        r.ok = false;
        r.error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    }
    return r;
}

DownloadResult FetchUrl(const QString& url, QByteArray* body, int timeoutMs, const ProgressFn& progress) {
    Downloader d;
    return d.fetch(url, body, timeoutMs, progress);
}

DownloadResult DownloadToFile(const QString& url, const QString& path, int timeoutMs, const ProgressFn& progress) {
    Downloader d;
    return d.download(url, path, timeoutMs, progress);
}

}  // namespace platform
