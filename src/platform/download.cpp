#include "platform/download.h"

#include "common/atomicfile.h"
#include "common/localfile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSet>
#include <QTimer>
#include <QUrl>

#include <limits>

namespace platform {

QNetworkRequest FreshRequest(const QUrl& url, int timeoutMs, QNetworkRequest::RedirectPolicy redirects) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, redirects);
    if (timeoutMs > 0) request.setTransferTimeout(timeoutMs);
    return request;
}

namespace {

QNetworkRequest MakeRequest(const QUrl& url) {
    // The whole transfer has a deadline of its own, so no idle limit here.
    QNetworkRequest request = FreshRequest(url, 0);
    // Ask proxies for the current copy too.
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    // Plain bytes, so that Content-Length can be compared with what arrived.
    request.setRawHeader("Accept-Encoding", "identity");
    return request;
}

// Hosts that did not answer in time during the current start road.
struct SlowHosts {
    QMutex mutex;
    bool active = false;
    QSet<QString> hosts;
};

SlowHosts& Slow() {
    static SlowHosts s;
    return s;
}

QString HostKey(const QUrl& url) {
    const int port = url.port(url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 ? 443 : 80);
    return url.host().toLower() + QLatin1Char(':') + QString::number(port);
}

bool IsSlowHost(const QUrl& url) {
    SlowHosts& s = Slow();
    QMutexLocker lock(&s.mutex);
    return s.active && s.hosts.contains(HostKey(url));
}

void MarkSlowHost(const QUrl& url) {
    SlowHosts& s = Slow();
    QMutexLocker lock(&s.mutex);
    if (s.active) s.hosts.insert(HostKey(url));
}

QString NetworkErrorText(QNetworkReply::NetworkError e) {
    switch (e) {
    case QNetworkReply::ConnectionRefusedError: return QStringLiteral("服务器拒绝连接");
    case QNetworkReply::RemoteHostClosedError: return QStringLiteral("服务器中断了连接");
    case QNetworkReply::HostNotFoundError: return QStringLiteral("找不到服务器");
    case QNetworkReply::TimeoutError: return QStringLiteral("连接超时");
    case QNetworkReply::SslHandshakeFailedError: return QStringLiteral("安全连接失败");
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError: return QStringLiteral("服务器的转向无效");
    case QNetworkReply::ContentNotFoundError: return QStringLiteral("服务器上没有这个文件");
    case QNetworkReply::ContentAccessDenied: return QStringLiteral("服务器拒绝访问");
    case QNetworkReply::ProtocolUnknownError: return QStringLiteral("不支持的网址类型");
    default: return QStringLiteral("网络错误（代码 %1）").arg(int(e));
    }
}

QString LimitText(qint64 maxBytes) {
    return QStringLiteral("数据超过了 %1 KB 的上限").arg(maxBytes / 1024);
}

// The local file an address names: file:// URLs and plain absolute paths; empty otherwise.
QString LocalPathOf(const QString& address) {
    if (address.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(address);
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    if (!address.contains(QLatin1String("://")) && QDir::isAbsolutePath(address)) return QDir::cleanPath(address);
    return {};
}

// Receives the body piece by piece; false when it cannot keep it (the writer knows why).
using Sink = std::function<bool(const QByteArray&)>;

// A local file read like a download: the same limit, deadline, progress and abort; a missing or
// unreadable file (or no regular file at all) fails like an unreachable server.
DownloadResult ReadLocal(const QString& path, int timeoutMs, const ProgressFn& progress, qint64 maxBytes,
                         const Sink& sink, const bool* abortRequested) {
    DownloadResult result;
    QFile file(path);
    // Without a limit of its own, a local file is held to the largest thing fetched.
    const qint64 limit = maxBytes > 0 ? maxBytes : kProgramLimit;
    // The size is checked below, so that a file past the limit fails as too large.
    if (!common::OpenRegularFile(&file, std::numeric_limits<qint64>::max() - 1, &result.error)) return result;
    const qint64 total = file.size();
    if (total > limit) {
        result.error = LimitText(limit);
        result.tooLarge = true;
        return result;
    }
    const QDeadlineTimer deadline = timeoutMs > 0 ? QDeadlineTimer(timeoutMs) : QDeadlineTimer(QDeadlineTimer::Forever);
    qint64 received = 0;
    for (;;) {
        const QByteArray piece = file.read(256 * 1024);
        if (piece.isEmpty() || file.error() != QFileDevice::NoError) break;
        received += piece.size();
        if (received > limit) {  // the file grew while it was read, or tells no size (/proc)
            result.error = LimitText(limit);
            result.tooLarge = true;
            return result;
        }
        if (!sink(piece)) {
            result.error = QStringLiteral("写入失败");
            result.writeFailed = true;
            return result;
        }
        if (progress && !progress(received, total)) {
            result.error = QStringLiteral("下载已取消");
            return result;
        }
        QCoreApplication::processEvents();  // windows stay drawn; an abort can come in
        if (*abortRequested) {
            result.error = QStringLiteral("下载已取消");
            return result;
        }
        if (deadline.hasExpired()) {
            result.error = QStringLiteral("没有在 %1 秒内读完").arg(timeoutMs / 1000.0);
            return result;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("无法读取 %1").arg(QDir::toNativeSeparators(path));
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace

void LimitReply(QNetworkReply* reply, qint64 maxBytes, int timeoutMs) {
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, maxBytes](qint64 got, qint64 total) {
        if (maxBytes > 0 && (got > maxBytes || total > maxBytes)) reply->abort();
    });
    if (timeoutMs > 0) {
        auto* deadline = new QTimer(reply);
        deadline->setSingleShot(true);
        QObject::connect(deadline, &QTimer::timeout, reply, [reply] {
            if (!reply->isFinished()) reply->abort();
        });
        deadline->start(timeoutMs);
    }
}

SlowHostScope::SlowHostScope() {
    SlowHosts& s = Slow();
    QMutexLocker lock(&s.mutex);
    s.active = true;
    s.hosts.clear();
}

SlowHostScope::~SlowHostScope() {
    SlowHosts& s = Slow();
    QMutexLocker lock(&s.mutex);
    s.active = false;
    s.hosts.clear();
}

Downloader::Downloader(QObject* parent) : QObject(parent) {}

Downloader::~Downloader() { abort(); }

void Downloader::abort() {
    if (!running_) return;
    abortRequested_ = true;
    if (reply_) reply_->abort();
}

// One transfer.
static DownloadResult Transfer(const QString& address, int timeoutMs, const ProgressFn& progress, qint64 maxBytes,
                               const Sink& sink, QNetworkReply** current, const bool* abortRequested) {
    const QString localPath = LocalPathOf(address);
    if (!localPath.isEmpty()) return ReadLocal(localPath, timeoutMs, progress, maxBytes, sink, abortRequested);

    DownloadResult result;
    const QUrl url(address);
    const bool isHttp = url.scheme().startsWith(QLatin1String("http"), Qt::CaseInsensitive);
    if (!url.isValid() || url.scheme().isEmpty() || (isHttp && url.host().isEmpty())) {
        result.error = QStringLiteral("网址无效：%1").arg(address);
        return result;
    }
    if (isHttp && IsSlowHost(url)) {
        result.error = QStringLiteral("服务器 %1 此前没有及时回答").arg(url.host());
        return result;
    }
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(MakeRequest(url));
    *current = reply;
    QEventLoop loop;
    bool timedOut = false, sinkFailed = false, progressAborted = false, tooLarge = false;
    qint64 received = 0;
    const QDeadlineTimer deadline = timeoutMs > 0 ? QDeadlineTimer(timeoutMs) : QDeadlineTimer(QDeadlineTimer::Forever);
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, reply, [&] { timedOut = true; reply->abort(); });
    auto take = [&](const QByteArray& piece) {
        if (sinkFailed || tooLarge || piece.isEmpty()) return;
        received += piece.size();
        if (maxBytes > 0 && received > maxBytes) {
            tooLarge = true;
            return;
        }
        if (!sink(piece)) sinkFailed = true;
    };
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        take(reply->readAll());
        // A server that streams fast can keep the loop busy: the deadline is checked here too.
        if (!timedOut && deadline.hasExpired()) timedOut = true;
        if (sinkFailed || tooLarge || timedOut) reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
        if (maxBytes > 0 && declared.isValid() && declared.toLongLong() > maxBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 got, qint64 total) {
        // Without a Content-Length the total stays unknown, also in the last report.
        if (!reply->header(QNetworkRequest::ContentLengthHeader).isValid()) total = -1;
        if (progress && !tooLarge && !sinkFailed && !timedOut && !progress(got, total)) {
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
    if (finishedNormally && reply->bytesAvailable() > 0) take(reply->readAll());
    *current = nullptr;

    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant declared = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool encoded = !reply->rawHeader("Content-Encoding").isEmpty()
                         && reply->rawHeader("Content-Encoding").toLower() != "identity";
    if (*abortRequested || progressAborted) result.error = QStringLiteral("下载已取消");
    else if (sinkFailed) {
        result.error = QStringLiteral("写入失败");
        result.writeFailed = true;
    } else if (tooLarge) {
        result.error = LimitText(maxBytes);
        result.tooLarge = true;
    }
    else if (timedOut) {
        result.error = QStringLiteral("服务器没有在 %1 秒内传完数据").arg(timeoutMs / 1000.0);
        if (isHttp) MarkSlowHost(url);
    } else if (reply->error() != QNetworkReply::NoError) result.error = NetworkErrorText(reply->error());
    else if (isHttp && (result.httpStatus < 200 || result.httpStatus > 299))
        result.error = QStringLiteral("服务器回答 HTTP %1").arg(result.httpStatus);
    else if (declared.isValid() && !encoded && declared.toLongLong() != received)
        result.error = QStringLiteral("数据不完整：收到 %1 字节，应为 %2 字节").arg(received).arg(declared.toLongLong());
    else result.ok = true;
    reply->deleteLater();
    return result;
}

DownloadResult Downloader::fetch(const QString& url, QByteArray* body, int timeoutMs, const ProgressFn& progress,
                                 qint64 maxBytes) {
    if (running_) return {false, 0, QStringLiteral("另一个下载正在进行")};
    running_ = true;
    abortRequested_ = false;
    QByteArray data;
    DownloadResult r = Transfer(url, timeoutMs, progress, maxBytes, [&](const QByteArray& piece) {
        data += piece;
        return true;
    }, &reply_, &abortRequested_);
    running_ = false;
    if (r.ok && body) *body = data;
    return r;
}

DownloadResult Downloader::download(const QString& url, const QString& path, int timeoutMs,
                                    const ProgressFn& progress, qint64 maxBytes) {
    if (running_) return {false, 0, QStringLiteral("另一个下载正在进行")};
    common::AtomicFile file(path);
    QString why;
    if (!file.open(&why)) {
        DownloadResult r{false, 0, why, true, file.diskFull()};
        return r;
    }
    running_ = true;
    abortRequested_ = false;
    DownloadResult r = Transfer(url, timeoutMs, progress, maxBytes, [&](const QByteArray& piece) {
        return file.write(piece, &why);
    }, &reply_, &abortRequested_);
    running_ = false;
    if (r.ok && !file.commit(&why)) r.ok = false;
    if (!r.ok) {
        if (file.lastErrno() != 0) {
            // The body could not be stored: the disk is the fault, not the server.
            r.error = why;
            r.writeFailed = true;
            r.diskFull = file.diskFull();
        }
        file.cancel();
    }
    return r;
}

DownloadResult FetchUrl(const QString& url, QByteArray* body, int timeoutMs, const ProgressFn& progress,
                        qint64 maxBytes) {
    Downloader d;
    return d.fetch(url, body, timeoutMs, progress, maxBytes);
}

DownloadResult DownloadToFile(const QString& url, const QString& path, int timeoutMs, const ProgressFn& progress,
                              qint64 maxBytes) {
    Downloader d;
    return d.download(url, path, timeoutMs, progress, maxBytes);
}

}  // namespace platform
