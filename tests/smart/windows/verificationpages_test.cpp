// The verification window's two page tabs show the shipped home folder's pages offline.
#include "platform/ui/webview.h"
#include "smart/windows/historyverificationwindow.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

TEST(VerificationPages, BothTabsShowTheShippedPagesOfAFileHome) {
    testsupport::EnvVar home("SIFMORA_HOME_URL",
                             QUrl::fromLocalFile(QStringLiteral(SIFMORA_SOURCE_DIR "/home")).toString());
    HistoryVerificationWindow w(nullptr);
    const struct {
        const char* view;
        const char* title;
    } tabs[] = {{"WebBrowser1", "福彩3D历史成绩统计"}, {"WebBrowser2", "体彩排3历史成绩统计"}};
    for (const auto& t : tabs) {
        auto* view = w.findChild<ui::WebView*>(QString::fromLatin1(t.view));
        ASSERT_NE(view, nullptr) << t.view;
        const QDeadlineTimer deadline(10000);
        while (view->busy() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        const QString text = view->toPlainText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(t.title))) << t.view << ": " << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("备注"))) << t.view;
        EXPECT_FALSE(text.contains(QStringLiteral("网络连接失败"))) << t.view;
    }
}

}  // namespace
