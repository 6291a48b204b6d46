// Downloads against hostile servers and local files: size limits, the whole-transfer deadline,
// a stalled host asked once per start, a full disk, file:// addresses.
#include "platform/download.h"

#include "httpserver.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

using platform::DownloadResult;
using testsupport::HttpResponse;
using testsupport::HttpServer;

namespace {

class DownloadLimits : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isListening()); }
    void ExpectUntouched(const char* what) {
        EXPECT_EQ(dir.read("target.txt"), QByteArray("old content")) << what;
        EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList{"target.txt"}) << what;
    }
    HttpServer server;
    testsupport::ProgramDir dir;
};

TEST_F(DownloadLimits, EndlessOversizedAndDrippingBodiesFail) {
    HttpResponse endless;  // streams without end and without a length
    endless.endless = true;
    endless.sendLength = false;
    HttpResponse oversized;  // says its length up front
    oversized.body = QByteArray(300 * 1024, 'a');
    HttpResponse unsizedLarge;
    unsizedLarge.body = QByteArray(300 * 1024, 'b');
    unsizedLarge.sendLength = false;
    HttpResponse dripping;  // a byte every 20 ms: never idle, never done
    dripping.endless = true;
    dripping.sendLength = false;
    dripping.body = "x";
    dripping.chunkIntervalMs = 20;
    struct Case {
        const char* what;
        HttpResponse response;
        qint64 limit;
        int timeoutMs;
    } cases[] = {
        {"endless stream", endless, 256 * 1024, 60000},
        {"declared length over the limit", oversized, 256 * 1024, 60000},
        {"no length, over the limit", unsizedLarge, 256 * 1024, 60000},
        {"dripping past the deadline", dripping, 256 * 1024, 400},
    };
    for (const Case& c : cases) {
        server.setResponse("/list.xml", c.response);
        QByteArray body = "kept";
        const DownloadResult fetched =
            platform::FetchUrl(server.url("/list.xml"), &body, c.timeoutMs, {}, c.limit);
        EXPECT_FALSE(fetched.ok) << c.what;
        EXPECT_FALSE(fetched.writeFailed) << c.what;
        EXPECT_EQ(body, QByteArray("kept")) << c.what;
        dir.write("target.txt", "old content");
        const DownloadResult r =
            platform::DownloadToFile(server.url("/list.xml"), dir.file("target.txt"), c.timeoutMs, {}, c.limit);
        EXPECT_FALSE(r.ok) << c.what;
        ExpectUntouched(c.what);
    }
    // Exactly the limit is still whole.
    server.serve("/exact", QByteArray(256 * 1024, 'c'));
    QByteArray body;
    EXPECT_TRUE(platform::FetchUrl(server.url("/exact"), &body, 60000, {}, 256 * 1024).ok);
    EXPECT_EQ(body.size(), 256 * 1024);
}

TEST_F(DownloadLimits, FullDiskIsAWriteFailureNotANetworkFault) {
    server.serve("/program", QByteArray(100000, 'p'));
    dir.write("target.txt", "old content");
    DownloadResult r;
    {
        testsupport::FileSizeLimit limit(4096);
        r = platform::DownloadToFile(server.url("/program"), dir.file("target.txt"));
    }
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.writeFailed);
    EXPECT_TRUE(r.diskFull);
    EXPECT_TRUE(r.error.contains(QStringLiteral("磁盘空间不足"))) << r.error.toStdString();
    ExpectUntouched("full disk");
}

TEST_F(DownloadLimits, LocalFilesReadLikeDownloads) {
    testsupport::ProgramDir home;
    QDir(home.path()).mkpath("3d");
    home.write("3d/updatelog.txt", "7\r\nnotice\r\n");
    home.write("3d/big.txt", QByteArray(300 * 1024, 'b'));
    testsupport::Fifo fifo(home.file("3d/list.xml"));  // a scheme list, say
    ASSERT_TRUE(fifo.isMade());
    const QString fileUrl = QUrl::fromLocalFile(home.file("3d/updatelog.txt")).toString();
    struct Case {
        const char* what;
        QString address;
        bool ok;
        const char* reason;  // part of the error, when it matters
    } cases[] = {
        {"file:// address", fileUrl, true, ""},
        {"plain path", home.file("3d/updatelog.txt"), true, ""},
        {"missing file", QUrl::fromLocalFile(home.file("3d/none.txt")).toString(), false, "不存在"},
        {"a folder", QUrl::fromLocalFile(home.file("3d")).toString(), false, "这是文件夹，不是文件"},
        {"over the limit", QUrl::fromLocalFile(home.file("3d/big.txt")).toString(), false, "上限"},
        {"a device without end", QStringLiteral("file:///dev/zero"), false, "这不是文件"},
        {"a FIFO", QUrl::fromLocalFile(home.file("3d/list.xml")).toString(), false, "这不是文件"},
        {"a FIFO by its path", home.file("3d/list.xml"), false, "这不是文件"},
    };
    for (const Case& c : cases) {
        QByteArray body = "kept";
        const DownloadResult fetched = platform::FetchUrl(c.address, &body, 5000, {}, 256 * 1024);
        EXPECT_EQ(fetched.ok, c.ok) << c.what << ": " << fetched.error.toStdString();
        EXPECT_TRUE(fetched.error.contains(QString::fromUtf8(c.reason))) << c.what << ": " << fetched.error.toStdString();
        EXPECT_EQ(body, c.ok ? QByteArray("7\r\nnotice\r\n") : QByteArray("kept")) << c.what;
        dir.write("target.txt", "old content");
        const DownloadResult r = platform::DownloadToFile(c.address, dir.file("target.txt"), 5000, {}, 256 * 1024);
        EXPECT_EQ(r.ok, c.ok) << c.what;
        if (c.ok) EXPECT_EQ(dir.read("target.txt"), QByteArray("7\r\nnotice\r\n")) << c.what;
        else ExpectUntouched(c.what);
        EXPECT_EQ(testsupport::FilesIn(dir.path()), QStringList{"target.txt"}) << c.what;
    }
    EXPECT_FALSE(fifo.readerWaited());
}

TEST_F(DownloadLimits, StalledHostIsAskedOncePerStart) {
    HttpResponse stalled;  // accepts, never answers within the limit
    stalled.body = "late";
    stalled.delayMs = 60000;
    server.setResponse("/3d/updatelog.txt", stalled);
    server.serve("/3d/HAO.txt", "2024001 1231");
    HttpServer other;
    other.serve("/list.xml", "<xml/>");
    QByteArray body;
    {
        platform::SlowHostScope start;
        EXPECT_FALSE(platform::FetchUrl(server.url("/3d/updatelog.txt"), &body, 300).ok);
        // The same host again, any path: skipped as unreachable without a connection.
        EXPECT_FALSE(platform::FetchUrl(server.url("/3d/HAO.txt"), &body).ok);
        EXPECT_FALSE(platform::DownloadToFile(server.url("/3d/HAO.txt"), dir.file("HAOBAK.TXT")).ok);
        EXPECT_EQ(server.requestCount("/3d/HAO.txt"), 0);
        EXPECT_EQ(server.requestCount("/3d/updatelog.txt"), 1);
        // Another host is still asked.
        EXPECT_TRUE(platform::FetchUrl(other.url("/list.xml"), &body).ok);
    }
    // Outside a start every request is tried again.
    EXPECT_TRUE(platform::FetchUrl(server.url("/3d/HAO.txt"), &body).ok);
    EXPECT_EQ(body, QByteArray("2024001 1231"));
    // A refused connection is no stall: the host is not remembered.
    QString deadUrl;
    {
        HttpServer gone;
        deadUrl = gone.url("/x");
    }
    platform::SlowHostScope start;
    EXPECT_FALSE(platform::FetchUrl(deadUrl, &body).ok);
    EXPECT_TRUE(platform::FetchUrl(server.url("/3d/HAO.txt"), &body).ok);
}

}  // namespace
