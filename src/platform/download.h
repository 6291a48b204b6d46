#pragma once
// Synchronous downloads over HTTP(S). A download succeeds only with no network error, an HTTP
// status 200-299 and a complete body; anything else is a failure ("not reachable"). Caches are
// always bypassed. Each request has a time limit.
#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QNetworkReply;

namespace platform {

struct DownloadResult {
    bool ok = false;
    int httpStatus = 0;     // 0 when no answer came
    QString error;          // why it failed, for messages
};

inline constexpr int kDefaultTimeoutMs = 15000;

// Progress: bytes received and total (-1 when unknown). Returning false aborts the transfer.
using ProgressFn = std::function<bool(qint64 received, qint64 total)>;

// Fetches a URL into memory. Runs a local event loop, so the caller's windows stay drawn.
// timeoutMs <= 0 means no time limit.
DownloadResult FetchUrl(const QString& url, QByteArray* body, int timeoutMs = kDefaultTimeoutMs,
                        const ProgressFn& progress = {});
// Downloads a URL to a file: written to a temporary file and renamed over path only on
// success; on failure path is untouched.
DownloadResult DownloadToFile(const QString& url, const QString& path, int timeoutMs = kDefaultTimeoutMs,
                              const ProgressFn& progress = {});

// The same transfers, abortable from outside (a window closed while its download runs).
// One transfer at a time per object.
class Downloader : public QObject {
    Q_OBJECT
public:
    explicit Downloader(QObject* parent = nullptr);
    ~Downloader() override;
    DownloadResult fetch(const QString& url, QByteArray* body, int timeoutMs = kDefaultTimeoutMs,
                         const ProgressFn& progress = {});
    DownloadResult download(const QString& url, const QString& path, int timeoutMs = kDefaultTimeoutMs,
                            const ProgressFn& progress = {});
    // Aborts the running transfer (it then fails with "aborted"); nothing without one.
    void abort();
    bool isRunning() const { return running_; }

private:
    bool running_ = false;
    bool abortRequested_ = false;
    QNetworkReply* reply_ = nullptr;
};

}  // namespace platform
