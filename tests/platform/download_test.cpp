// Synchronous downloads against the real local HTTP server.
#include "platform/download.h"

#include "httpserver.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using platform::DownloadResult;
using testsupport::HttpResponse;
using testsupport::HttpServer;

namespace {

QByteArray Bytes(int n) {
    QByteArray b;
    b.reserve(n);
    for (int i = 0; i < n; ++i) b.append(char('a' + i % 26));
    return b;
}

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isListening()); }
    // The target holds its old content and nothing else was left in the folder.
    void ExpectUntouched() {
        EXPECT_EQ(dir.read("target.txt"), QByteArray("old content"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target.txt"});
    }
    HttpServer server;
    testsupport::ProgramDir dir;
};

TEST_F(DownloadTest, FetchesBodyAndBypassesCaches) {
    const QByteArray body = Bytes(300000);
    server.serve("/3d/HAO.txt", body);
    QByteArray got;
    const DownloadResult r = platform::FetchUrl(server.url("/3d/HAO.txt"), &got);
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.httpStatus, 200);
    EXPECT_EQ(got, body);
    const QByteArray head = server.lastRequestHead("/3d/HAO.txt");
    EXPECT_TRUE(head.contains("Cache-Control: no-cache")) << head.toStdString();
    EXPECT_TRUE(head.contains("Pragma: no-cache"));
}

TEST_F(DownloadTest, DownloadReplacesTargetWholeOnSuccess) {
    dir.write("target.txt", "old content");
    server.serve("/new", "new content");
    const DownloadResult r = platform::DownloadToFile(server.url("/new"), dir.file("target.txt"));
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(dir.read("target.txt"), QByteArray("new content"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target.txt"});
}

TEST_F(DownloadTest, BodyWithoutLengthAndRedirectsAreAccepted) {
    HttpResponse noLength;
    noLength.body = Bytes(5000);
    noLength.sendLength = false;
    server.setResponse("/nolength", noLength);
    HttpResponse moved;
    moved.status = 302;
    moved.headers = {{"Location", server.url("/nolength").toUtf8()}};
    server.setResponse("/moved", moved);
    for (const char* path : {"/nolength", "/moved"}) {
        QByteArray got;
        const DownloadResult r = platform::FetchUrl(server.url(path), &got);
        EXPECT_TRUE(r.ok) << path << ": " << r.error.toStdString();
        EXPECT_EQ(got, noLength.body) << path;
    }
}

TEST_F(DownloadTest, FailuresLeaveTargetUntouched) {
    struct Case {
        const char* name;
        HttpResponse response;
        int timeoutMs;
        int status;
    };
    HttpResponse notFound{404, "<html>missing</html>", "text/html"};
    HttpResponse serverError{500, "oops", "text/plain"};
    HttpResponse truncated;
    truncated.body = Bytes(100000);
    truncated.sendBytes = 40000;
    HttpResponse truncatedSmall;
    truncatedSmall.body = "5\r\nhttp://x/3Dbak.exe\r\n";
    truncatedSmall.sendBytes = 3;
    HttpResponse slow;
    slow.body = "late";
    slow.delayMs = 3000;
    const Case cases[] = {
        {"404 page", notFound, platform::kDefaultTimeoutMs, 404},
        {"500", serverError, platform::kDefaultTimeoutMs, 500},
        {"truncated large", truncated, platform::kDefaultTimeoutMs, 200},
        {"truncated small", truncatedSmall, platform::kDefaultTimeoutMs, 200},
        {"time limit", slow, 300, 0},
    };
    for (const Case& c : cases) {
        dir.write("target.txt", "old content");
        server.setResponse("/file", c.response);
        const DownloadResult r = platform::DownloadToFile(server.url("/file"), dir.file("target.txt"), c.timeoutMs);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_FALSE(r.error.isEmpty()) << c.name;
        EXPECT_EQ(r.httpStatus, c.status) << c.name << ": " << r.error.toStdString();
        ExpectUntouched();
        QByteArray body = "kept";
        EXPECT_FALSE(platform::FetchUrl(server.url("/file"), &body, c.timeoutMs).ok) << c.name;
        EXPECT_EQ(body, QByteArray("kept")) << c.name;
    }
}

TEST_F(DownloadTest, UnreachableOrBadAddressFails) {
    QString deadUrl;
    {
        HttpServer gone;
        deadUrl = gone.url("/x");
    }
    dir.write("target.txt", "old content");
    for (const QString& url : {deadUrl, QStringLiteral("not an address"), QStringLiteral("http:///nohost")}) {
        const DownloadResult r = platform::DownloadToFile(url, dir.file("target.txt"));
        EXPECT_FALSE(r.ok) << url.toStdString();
        EXPECT_EQ(r.httpStatus, 0);
        ExpectUntouched();
    }
}

TEST_F(DownloadTest, ProgressReportsAndCanAbort) {
    HttpResponse big;
    big.body = Bytes(2000000);
    server.setResponse("/big", big);
    qint64 lastReceived = -1, lastTotal = 0;
    QByteArray got;
    DownloadResult r = platform::FetchUrl(server.url("/big"), &got, platform::kDefaultTimeoutMs,
                                          [&](qint64 received, qint64 total) {
                                              lastReceived = received;
                                              lastTotal = total;
                                              return true;
                                          });
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(lastReceived, big.body.size());
    EXPECT_EQ(lastTotal, big.body.size());

    dir.write("target.txt", "old content");
    r = platform::DownloadToFile(server.url("/big"), dir.file("target.txt"), platform::kDefaultTimeoutMs,
                                 [](qint64, qint64) { return false; });
    EXPECT_FALSE(r.ok);
    ExpectUntouched();
}

TEST_F(DownloadTest, DownloaderAbortsFromOutsideAndRefusesSecondTransfer) {
    HttpResponse slow;
    slow.body = "late";
    slow.delayMs = 5000;
    server.setResponse("/slow", slow);
    server.serve("/quick", "quick");
    dir.write("target.txt", "old content");
    platform::Downloader downloader;
    DownloadResult nested;
    QTimer::singleShot(100, [&] {
        QByteArray body;
        nested = downloader.fetch(server.url("/quick"), &body);  // while the first runs
        downloader.abort();
    });
    const DownloadResult r = downloader.download(server.url("/slow"), dir.file("target.txt"));
    EXPECT_FALSE(nested.ok);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, QStringLiteral("下载已取消"));
    EXPECT_FALSE(downloader.isRunning());
    ExpectUntouched();
    downloader.abort();  // nothing running: no effect
    QByteArray body;
    EXPECT_TRUE(downloader.fetch(server.url("/quick"), &body).ok);
    EXPECT_EQ(body, QByteArray("quick"));
}

// The home folder that ships with the program is read through file:// by the same downloads: a
// present file arrives whole, a missing one or a folder fails like an unreachable server.
TEST_F(DownloadTest, FileAddressesOfTheHomeFolder) {
    dir.write("home/3d/updatelog.txt", "100\r\nx\r\n");
    const QString base = QUrl::fromLocalFile(dir.path()).toString(QUrl::FullyEncoded);
    QByteArray got;
    const DownloadResult r = platform::FetchUrl(base + "/home/3d/updatelog.txt", &got);
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(got, QByteArray("100\r\nx\r\n"));
    dir.write("target.txt", "old content");
    EXPECT_TRUE(platform::DownloadToFile(base + "/home/3d/updatelog.txt", dir.file("target.txt")).ok);
    EXPECT_EQ(dir.read("target.txt"), QByteArray("100\r\nx\r\n"));
    dir.write("target.txt", "old content");
    for (const QString& missing : {QStringLiteral("/home/3d/p3.xml"), QStringLiteral("/home/3d"), QStringLiteral("/nothing/x")}) {
        QByteArray body = "kept";
        EXPECT_FALSE(platform::FetchUrl(base + missing, &body).ok) << missing.toStdString();
        EXPECT_EQ(body, QByteArray("kept"));
        EXPECT_FALSE(platform::DownloadToFile(base + missing, dir.file("target.txt")).ok) << missing.toStdString();
        EXPECT_EQ(dir.read("target.txt"), QByteArray("old content"));
    }
}

}  // namespace
