// The web view reads the home folder's pages itself: a FIFO in a page's place fails at once
// with the reason on the page, a missing page reads like a server without it. A page's images
// and style sheets come only from the home folder's regular files or the page's own server.
#include "common/textcodec.h"
#include "httpserver.h"
#include "platform/ui/pageresources.h"
#include "platform/ui/webview.h"
#include "testsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct Shown {
    bool failed = false;
    QString text;
};

Shown Show(const QString& path) {
    ui::WebView view;
    Shown shown;
    QObject::connect(&view, &ui::WebView::navigateError, [&] { shown.failed = true; });
    QEventLoop loop;
    QObject::connect(&view, &ui::WebView::documentComplete, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // a guard against hanging, not a measurement
    view.Navigate(QUrl::fromLocalFile(path).toString());
    EXPECT_TRUE(view.busy());
    loop.exec();
    shown.text = view.toPlainText();
    EXPECT_FALSE(view.busy());
    return shown;
}

}  // namespace

TEST(WebViewLocalPages, OnlyRegularFilesAreShown) {
    testsupport::ProgramDir home;
    home.write("zlxh.htm", common::EncodeAnsi(QStringLiteral("<html><head><meta charset=\"gb2312\"></head>"
                                                             "<body>智能选号公告</body></html>")));
    testsupport::Fifo fifo(home.file("3dindex.htm"));
    ASSERT_TRUE(fifo.isMade());
    const struct {
        const char* name;
        bool failed;
        QString text;
    } cases[] = {
        {"zlxh.htm", false, QStringLiteral("智能选号公告")},
        {"3dindex.htm", true, QStringLiteral("这不是文件")},
        {"missing.htm", true, QStringLiteral("网络连接失败")},
    };
    for (const auto& c : cases) {
        const Shown shown = Show(home.file(c.name));
        EXPECT_EQ(shown.failed, c.failed) << c.name;
        EXPECT_TRUE(shown.text.contains(c.text)) << c.name << ": " << shown.text.toStdString();
    }
    EXPECT_FALSE(fifo.readerWaited());
}

namespace {

// A tall picture, so the page grows by it once it is in.
QByteArray TallPicture() {
    QImage image(7, 300, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

QString PageNaming(const QStringList& images, const QStringList& styles) {
    QString html = QStringLiteral("<html><head>");
    for (const QString& s : styles) html += QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" href=\"%1\">").arg(s);
    html += QStringLiteral("</head><body><p>页面</p>");
    for (const QString& i : images) html += QStringLiteral("<img src=\"%1\">").arg(i);
    return html + QStringLiteral("</body></html>");
}

// Shows the page, lays it out whole (where the document asks for every resource) and lets the
// resources of the page's server arrive.
void ShowAndLayOut(ui::WebView& view, const QString& address) {
    QEventLoop loop;
    QObject::connect(&view, &ui::WebView::documentComplete, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // a guard against hanging, not a measurement
    view.resize(300, 200);
    view.show();
    view.Navigate(address);
    loop.exec();
    view.document()->documentLayout()->documentSize();
    const QDeadlineTimer guard(60000);  // a guard against hanging, not a measurement
    while (view.loadingResources() && !guard.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();  // the new layout with what came
    view.document()->documentLayout()->documentSize();
}

QVariant Resource(ui::WebView& view, int type, const QString& name) { return view.document()->resource(type, QUrl(name)); }

// The page is shown with its good picture (7 × 300) and style sheet (a 20 px margin), and every
// picture named in leftOut is left out of it.
void ExpectOnlyTheGoodPictureAndStyle(ui::WebView& view, const QStringList& leftOut) {
    EXPECT_EQ(Resource(view, QTextDocument::ImageResource, "good.png").value<QImage>().size(), QSize(7, 300));
    EXPECT_GE(view.document()->size().height(), 300);
    EXPECT_EQ(view.document()->find(QStringLiteral("页面")).blockFormat().leftMargin(), 20);
    for (const QString& name : leftOut)
        EXPECT_TRUE(ui::IsLeftOut(Resource(view, QTextDocument::ImageResource, name))) << name.toStdString();
}

}  // namespace

TEST(WebViewResources, HomeFolderPageTakesOnlyRegularFilesOfTheHomeFolder) {
    testsupport::ProgramDir dir;
    testsupport::EnvVar home("SIFMORA_HOME_URL", QString());  // the program folder's home
    dir.write("home/good.png", TallPicture());
    dir.write("home/good.css", "p { margin-left: 20px; }");
    dir.write("home/big.png", QByteArray(ui::kResourceLimit + 1, 'x'));
    dir.write("outside.png", TallPicture());
    testsupport::Fifo fifo(dir.file("home/pipe.png"));
    ASSERT_TRUE(fifo.isMade());
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/pagemap"), dir.file("home/pagemap.png")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.file("home/zero.png")));
    ASSERT_TRUE(QFile::link(dir.file("outside.png"), dir.file("home/linked.png")));
    const QStringList leftOut = {QStringLiteral("/dev/zero"), QStringLiteral("file:///dev/zero"),
                                 QStringLiteral("/proc/self/pagemap"), QStringLiteral("pipe.png"),
                                 QStringLiteral("pagemap.png"), QStringLiteral("zero.png"),
                                 QStringLiteral("linked.png"), QStringLiteral("../outside.png"),
                                 QStringLiteral("big.png"), QStringLiteral("missing.png")};
    dir.write("home/page.htm", PageNaming(QStringList(leftOut) << QStringLiteral("good.png"),
                                          {QStringLiteral("/dev/zero"), QStringLiteral("pipe.png"),
                                           QStringLiteral("good.css")})
                                   .toUtf8());
    ui::WebView view;
    ShowAndLayOut(view, QUrl::fromLocalFile(dir.file("home/page.htm")).toString());
    ASSERT_TRUE(view.toPlainText().contains(QStringLiteral("页面")));
    ExpectOnlyTheGoodPictureAndStyle(view, leftOut);
    for (const char* name : {"/dev/zero", "pipe.png"})
        EXPECT_TRUE(ui::IsLeftOut(Resource(view, QTextDocument::StyleSheetResource, name))) << name;
    EXPECT_FALSE(fifo.readerWaited());
}

TEST(WebViewResources, WebPageTakesOnlyItsOwnServersFiles) {
    testsupport::HttpServer server;
    testsupport::HttpServer other;
    ASSERT_TRUE(server.isListening() && other.isListening());
    QTemporaryDir local;
    testsupport::Fifo fifo(local.filePath(QStringLiteral("pipe.png")));
    ASSERT_TRUE(fifo.isMade());
    server.serve("/good.png", TallPicture(), 200, "image/png");
    server.serve("/good.css", "p { margin-left: 20px; }", 200, "text/css");
    server.serve("/big.png", QByteArray(ui::kResourceLimit + 1, 'x'), 200, "image/png");
    server.setResponse("/endless.png", {.body = QByteArray(64 * 1024, 'x'), .contentType = "image/png",
                                        .sendLength = false, .endless = true});
    server.setResponse("/moved.png", {.status = 302, .headers = {{"Location", other.url("/good.png").toUtf8()}}});
    other.serve("/good.png", TallPicture(), 200, "image/png");
    const QStringList leftOut = {QStringLiteral("/dev/zero"), QStringLiteral("file:///dev/zero"),
                                 QStringLiteral("file:///proc/self/pagemap"),
                                 QUrl::fromLocalFile(local.filePath(QStringLiteral("pipe.png"))).toString(),
                                 other.url(QStringLiteral("/good.png")), QStringLiteral("moved.png"),
                                 QStringLiteral("endless.png"), QStringLiteral("big.png"),
                                 QStringLiteral("missing.png")};
    server.serve("/page.htm",
                 PageNaming(QStringList(leftOut) << QStringLiteral("good.png"),
                            {QStringLiteral("file:///dev/zero"), QStringLiteral("good.css")})
                     .toUtf8(),
                 200, "text/html; charset=utf-8");
    ui::WebView view;
    ShowAndLayOut(view, server.url(QStringLiteral("/page.htm")));
    ASSERT_TRUE(view.toPlainText().contains(QStringLiteral("页面")));
    // The picture came after the page and is in it.
    ExpectOnlyTheGoodPictureAndStyle(view, leftOut);
    EXPECT_TRUE(ui::IsLeftOut(Resource(view, QTextDocument::StyleSheetResource, "file:///dev/zero")));
    EXPECT_EQ(other.requestCount("/good.png"), 0);
    EXPECT_EQ(server.requestCount("/good.png"), 1);
    EXPECT_FALSE(fifo.readerWaited());
}
