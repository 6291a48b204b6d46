// The test HTTP server also answers on the caller's thread while a synchronous download spins
// a local event loop, and keeps answering from its own thread while the test thread blocks.
#include "httpserver.h"
#include "platform/download.h"

#include <QProcess>
#include <QTcpSocket>
#include <gtest/gtest.h>

using testsupport::HttpServer;

TEST(HttpServerTest, CallerThreadServerAnswersDuringLocalEventLoop) {
    HttpServer server(HttpServer::Threading::CallerThread);
    ASSERT_TRUE(server.isListening());
    server.serve("/a?id=1", "with query");
    server.serve("/a", "plain");
    QByteArray body;
    ASSERT_TRUE(platform::FetchUrl(server.url("/a?id=1"), &body).ok);
    EXPECT_EQ(body, QByteArray("with query"));
    ASSERT_TRUE(platform::FetchUrl(server.url("/a?id=2"), &body).ok);
    EXPECT_EQ(body, QByteArray("plain"));
    EXPECT_EQ(server.requestCount("/a"), 2);
    EXPECT_EQ(server.requests(), (QStringList{"/a?id=1", "/a?id=2"}));
}

TEST(HttpServerTest, OwnThreadServerAnswersBlockingClient) {
    HttpServer server;
    server.serve("/x", "hello", 203);
    QTcpSocket socket;  // blocking calls only: no event loop on this thread
    socket.connectToHost("127.0.0.1", server.port());
    ASSERT_TRUE(socket.waitForConnected(5000));
    socket.write("GET /x HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(5000)) answer += socket.readAll();
    answer += socket.readAll();
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 203 ")) << answer.toStdString();
    EXPECT_TRUE(answer.contains("Content-Length: 5\r\n"));
    EXPECT_TRUE(answer.endsWith("\r\n\r\nhello"));
}
