#include "httpserver.h"

#include <QFile>
#include <QHash>
#include <QHostAddress>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace testsupport {

struct HttpServer::State {
    mutable QMutex mutex;
    QHash<QString, HttpResponse> routes;
    QStringList requests;
    QHash<QString, QByteArray> heads;
    QStringList answeredLate, abandoned;  // targets of delayed answers, by how they ended
    QThread* thread = nullptr;
    QObject* context = nullptr;    // lives on the server's thread; calls are sent through it
    QTcpServer* server = nullptr;  // lives on the server's thread
    quint16 port = 0;
};

namespace {

QByteArray Reason(int status) {
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

void Send(QTcpSocket* socket, const HttpResponse& r, bool headOnly) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + ' ' + Reason(r.status) + "\r\n";
    head += "Content-Type: " + r.contentType + "\r\n";
    if (r.sendLength) head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
    for (const auto& h : r.headers) head += h.first + ": " + h.second + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    if (r.endless && !headOnly) {
        const QByteArray chunk = r.body.isEmpty() ? QByteArray(16384, 'x') : r.body;
        auto pump = [socket, chunk] {
            if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 256 * 1024)
                socket->write(chunk);
        };
        if (r.chunkIntervalMs > 0) {
            auto* timer = new QTimer(socket);
            QObject::connect(timer, &QTimer::timeout, socket, pump);
            timer->start(r.chunkIntervalMs);
        } else {
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, pump);
        }
        pump();
        return;
    }
    if (!headOnly) socket->write(r.sendBytes < 0 ? r.body : r.body.left(r.sendBytes));
    socket->disconnectFromHost();
}

void Handle(const std::shared_ptr<HttpServer::State>& state, QTcpSocket* socket) {
    QByteArray* buffer = new QByteArray;
    QObject::connect(socket, &QObject::destroyed, [buffer] { delete buffer; });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [state, socket, buffer] {
        *buffer += socket->readAll();
        const qsizetype end = buffer->indexOf("\r\n\r\n");
        if (end < 0) return;
        const QByteArray head = buffer->left(end);
        buffer->clear();
        QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
        const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
        const QByteArray method = requestLine.value(0);
        const QString target = QString::fromUtf8(requestLine.value(1));
        const QString path = QUrl(target).path();
        HttpResponse response;
        {
            QMutexLocker lock(&state->mutex);
            state->requests << target;
            state->heads[target] = head;
            if (target != path) state->heads[path] = head;
            if (state->routes.contains(target)) response = state->routes.value(target);
            else if (state->routes.contains(path)) response = state->routes.value(path);
            else response = HttpResponse{404, "not found", "text/plain"};
        }
        const bool headOnly = method == "HEAD";
        if (response.delayMs > 0) {
            QPointer<QTcpSocket> guard(socket);
            auto sent = std::make_shared<bool>(false);
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [state, target, sent] {
                if (*sent) return;
                QMutexLocker lock(&state->mutex);
                state->abandoned << target;
            });
            QTimer::singleShot(response.delayMs, socket, [guard, response, headOnly, sent, state, target] {
                if (!guard) return;
                *sent = true;
                {
                    QMutexLocker lock(&state->mutex);
                    state->answeredLate << target;
                }
                Send(guard, response, headOnly);
            });
        } else {
            Send(socket, response, headOnly);
        }
    });
}

}  // namespace

HttpServer::HttpServer(Threading threading) : state_(std::make_shared<State>()) {
    auto start = [state = state_] {
        state->server = new QTcpServer;
        QObject::connect(state->server, &QTcpServer::newConnection, state->server, [state] {
            while (QTcpSocket* socket = state->server->nextPendingConnection()) Handle(state, socket);
        });
        if (state->server->listen(QHostAddress::LocalHost, 0)) state->port = state->server->serverPort();
    };
    if (threading == Threading::OwnThread) {
        state_->thread = new QThread;
        state_->context = new QObject;
        state_->context->moveToThread(state_->thread);
        state_->thread->start();
        QMetaObject::invokeMethod(state_->context, start, Qt::BlockingQueuedConnection);
    } else {
        start();
    }
}

HttpServer::~HttpServer() {
    auto stop = [state = state_] {
        delete state->server;  // closes the listener; open sockets are its children
        state->server = nullptr;
        if (state->context) state->context->deleteLater();
    };
    if (state_->thread) {
        QMetaObject::invokeMethod(state_->context, stop, Qt::BlockingQueuedConnection);
        state_->thread->quit();
        state_->thread->wait();
        delete state_->thread;
    } else {
        stop();
    }
}

bool HttpServer::isListening() const { return state_->port != 0; }
quint16 HttpServer::port() const { return state_->port; }
QString HttpServer::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(state_->port); }
QString HttpServer::url(const QString& path) const {
    return baseUrl() + (path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path);
}

void HttpServer::serve(const QString& path, const QByteArray& body, int status, const QByteArray& contentType) {
    HttpResponse r;
    r.status = status;
    r.body = body;
    r.contentType = contentType;
    setResponse(path, r);
}

bool HttpServer::serveFile(const QString& path, const QString& filePath) {
    QFile f(filePath);
    if (!f.open(QIODevice::ReadOnly)) return false;
    serve(path, f.readAll());
    return true;
}

void HttpServer::setResponse(const QString& path, const HttpResponse& response) {
    QMutexLocker lock(&state_->mutex);
    state_->routes.insert(path, response);
}

void HttpServer::remove(const QString& path) {
    QMutexLocker lock(&state_->mutex);
    state_->routes.remove(path);
}

void HttpServer::clear() {
    QMutexLocker lock(&state_->mutex);
    state_->routes.clear();
}

QStringList HttpServer::requests() const {
    QMutexLocker lock(&state_->mutex);
    return state_->requests;
}

int HttpServer::requestCount(const QString& path) const {
    QMutexLocker lock(&state_->mutex);
    int n = 0;
    for (const QString& r : state_->requests)
        if (r == path || QUrl(r).path() == path) ++n;
    return n;
}

HttpServer::DelayedEnd HttpServer::waitForDelayedEnd(const QString& path) const {
    for (;;) {
        {
            QMutexLocker lock(&state_->mutex);
            if (state_->abandoned.contains(path)) return DelayedEnd::Abandoned;
            if (state_->answeredLate.contains(path)) return DelayedEnd::Answered;
        }
        QThread::msleep(5);
    }
}

QByteArray HttpServer::lastRequestHead(const QString& path) const {
    QMutexLocker lock(&state_->mutex);
    return state_->heads.value(path);
}

}  // namespace testsupport
