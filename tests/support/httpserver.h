#pragma once
// A small real HTTP/1.1 server on 127.0.0.1 (random port) for tests: bytes or files per path,
// any status code, truncated bodies, bodies without a length, and delays before answering.
//
// By default it runs on its own thread, so it keeps answering while the test thread blocks
// (QProcess::waitForFinished, a synchronous download, a sleep). With Threading::CallerThread it
// answers only while the test thread runs an event loop (a local QEventLoop is enough).
//
//   testsupport::HttpServer server;
//   server.serve("/3d/updatelog.txt", "5\r\nhttp://...\r\n");
//   server.setResponse("/x", {.status = 200, .body = bytes, .sendBytes = 10});   // truncated
//   qputenv("SIFMORA_HOME_URL", server.baseUrl().toUtf8());
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

namespace testsupport {

struct HttpResponse {
    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/octet-stream";
    // < 0: the whole body; otherwise only the first sendBytes bytes go out, Content-Length still
    // announces the whole body, and the connection is closed (a truncated transfer).
    qint64 sendBytes = -1;
    // false: no Content-Length; the body ends when the connection closes.
    bool sendLength = true;
    // Milliseconds to wait before the answer starts.
    int delayMs = 0;
    // true: after the head the body is sent again and again until the client goes away (a
    // stream without end), every chunkIntervalMs or, with 0, as fast as the client reads.
    bool endless = false;
    int chunkIntervalMs = 0;
    // Extra header lines, e.g. {"Location", "/elsewhere"}.
    QList<QPair<QByteArray, QByteArray>> headers;
};

class HttpServer {
public:
    enum class Threading { OwnThread, CallerThread };
    // Starts listening at once; check isListening().
    explicit HttpServer(Threading threading = Threading::OwnThread);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    bool isListening() const;
    quint16 port() const;
    // "http://127.0.0.1:<port>" (no trailing "/"), and that followed by path.
    QString baseUrl() const;
    QString url(const QString& path) const;

    // Paths are matched with their query first ("/a?id=1"), then without it. Unknown paths
    // answer 404. Changes take effect for the next request, from any thread.
    void serve(const QString& path, const QByteArray& body, int status = 200,
               const QByteArray& contentType = "application/octet-stream");
    // Serves a file's current bytes; false when it cannot be read.
    bool serveFile(const QString& path, const QString& filePath);
    void setResponse(const QString& path, const HttpResponse& response);
    void remove(const QString& path);
    void clear();

    // Request targets in arrival order, how often one was asked for, and the raw request head
    // (request line and header lines) of the latest request for a path.
    QStringList requests() const;
    int requestCount(const QString& path) const;
    QByteArray lastRequestHead(const QString& path) const;
    // How a delayed answer for path (delayMs > 0) ended: the client went away before it began,
    // or it went out. Waits for either; for the server's own thread only.
    enum class DelayedEnd { Abandoned, Answered };
    DelayedEnd waitForDelayedEnd(const QString& path) const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace testsupport
