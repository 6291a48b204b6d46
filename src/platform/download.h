#pragma once
// Synchronous downloads over HTTP(S), and reads of local files given as file:// addresses or
// plain absolute paths (the home address may be a folder beside the program). A download
// succeeds only with no network error, for HTTP a status 200-299, a complete body within the
// size limit and within the deadline; anything else is a failure ("not reachable"). Caches are
// always bypassed. The time limit is a deadline for the whole transfer, not an idle timer.
#include "common/localfile.h"

#include <QByteArray>
#include <QNetworkRequest>
#include <QObject>
#include <QString>

#include <functional>

class QNetworkReply;

namespace platform {

struct DownloadResult {
    bool ok = false;
    int httpStatus = 0;     // 0 when no answer came (and for local files)
    QString error;          // why it failed, in Chinese, for messages
    // The body could not be stored (the target's disk is full, no permission): not a network
    // fault, and error names the cause.
    bool writeFailed = false;
    bool diskFull = false;
    // The answer went past the size limit: the server sent something else than what was asked
    // for, which no network check would mend.
    bool tooLarge = false;
};

inline constexpr int kDefaultTimeoutMs = 15000;

// Size limits fit for what is fetched (the same hold for local reads); past the limit a
// transfer fails like an unreachable server.
using common::kPageLimit;      // lists, version logs, pages
using common::kDrawFileLimit;  // a draw file (about 170,000 draws)
using common::kProgramLimit;   // a new main program

// Progress: bytes received and total (-1 when unknown). Returning false aborts the transfer.
using ProgressFn = std::function<bool(qint64 received, qint64 total)>;

// Fetches a URL into memory (at most maxBytes). Runs a local event loop, so the caller's windows
// stay drawn. timeoutMs <= 0 means no time limit.
DownloadResult FetchUrl(const QString& url, QByteArray* body, int timeoutMs = kDefaultTimeoutMs,
                        const ProgressFn& progress = {}, qint64 maxBytes = kPageLimit);
// Downloads a URL to a file: streamed to a temporary file, synced and renamed over path only on
// success; on failure path is untouched and no temporary file is left.
DownloadResult DownloadToFile(const QString& url, const QString& path, int timeoutMs = kDefaultTimeoutMs,
                              const ProgressFn& progress = {}, qint64 maxBytes = kPageLimit);

// A request for the server's current copy (no cache read or write), followed through
// redirections only as the policy allows, for a page or resource loaded asynchronously through
// a QNetworkReply of its own (with LimitReply). timeoutMs <= 0: no idle limit of its own.
QNetworkRequest FreshRequest(const QUrl& url, int timeoutMs = kDefaultTimeoutMs,
                             QNetworkRequest::RedirectPolicy redirects = QNetworkRequest::NoLessSafeRedirectPolicy);

// For a page loaded asynchronously through a QNetworkReply of its own: the reply is aborted
// (it then finishes with an error) past maxBytes or when timeoutMs have passed since now.
void LimitReply(QNetworkReply* reply, qint64 maxBytes = kPageLimit, int timeoutMs = kDefaultTimeoutMs);

// While one of these lives (the start road), a host that once failed to answer within the time
// limit is not asked again: its later requests fail at once as unreachable, so a stalled server
// costs one time limit, not one per request. Scopes do not nest.
class SlowHostScope {
public:
    SlowHostScope();
    ~SlowHostScope();
    SlowHostScope(const SlowHostScope&) = delete;
    SlowHostScope& operator=(const SlowHostScope&) = delete;
};

// The same transfers, abortable from outside (a window closed while its download runs).
// One transfer at a time per object.
class Downloader : public QObject {
    Q_OBJECT
public:
    explicit Downloader(QObject* parent = nullptr);
    ~Downloader() override;
    DownloadResult fetch(const QString& url, QByteArray* body, int timeoutMs = kDefaultTimeoutMs,
                         const ProgressFn& progress = {}, qint64 maxBytes = kPageLimit);
    DownloadResult download(const QString& url, const QString& path, int timeoutMs = kDefaultTimeoutMs,
                            const ProgressFn& progress = {}, qint64 maxBytes = kPageLimit);
    // Aborts the running transfer (it then fails); nothing without one.
    void abort();
    bool isRunning() const { return running_; }

private:
    bool running_ = false;
    bool abortRequested_ = false;
    QNetworkReply* reply_ = nullptr;
};

}  // namespace platform
