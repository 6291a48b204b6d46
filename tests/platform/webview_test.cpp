// The web view reads the home folder's pages itself: a FIFO in a page's place fails at once
// with the reason on the page, a missing page reads like a server without it.
#include "common/textcodec.h"
#include "platform/ui/webview.h"
#include "testsupport.h"

#include <QEventLoop>
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
