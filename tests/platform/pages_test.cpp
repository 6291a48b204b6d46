// The pages the program shows or opens: the file name a page address has in a home folder,
// every shipped page reachable there, and opening a page never doing nothing silently.
#include "common/paths.h"
#include "platform/download.h"
#include "platform/process.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/openpage.h"
#include "platform/ui/pagewindow.h"

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kSourceHome = QStringLiteral(SIFMORA_SOURCE_DIR "/home");

QString HomeAddress() { return QUrl::fromLocalFile(kSourceHome).toString(QUrl::FullyEncoded); }

TEST(HomePages, AddressWithAQueryMapsToOneFileOfAFileHome) {
    const struct {
        const char* path;
        const char* file;
    } cases[] = {
        {"/wngs.htm", "/wngs.htm"},
        {"/3d/gd.htm", "/3d/gd.htm"},
        {"/bs/body.asp?id=1733", "/bs/body.asp_id_1733.htm"},
        {"/bs/body.asp?id=1678", "/bs/body.asp_id_1678.htm"},
        {"/a/list.asp?page=2&sort=up", "/a/list.asp_page_2_sort_up.htm"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(common::LocalPagePath(QString::fromLatin1(c.path)), QString::fromLatin1(c.file)) << c.path;
        {
            testsupport::EnvVar home("SIFMORA_HOME_URL", QStringLiteral("file:///srv/home/"));
            EXPECT_EQ(common::HomePageUrl(QString::fromLatin1(c.path)), QStringLiteral("file:///srv/home") + c.file);
        }
        // A web home serves the address as it is.
        testsupport::EnvVar home("SIFMORA_HOME_URL", QStringLiteral("http://example.test/site"));
        EXPECT_EQ(common::HomePageUrl(QString::fromLatin1(c.path)), QStringLiteral("http://example.test/site") + c.path);
    }
    testsupport::EnvVar none("SIFMORA_HOME_URL", QString(""));
    EXPECT_EQ(common::HomePageUrl(QStringLiteral("/wngs.htm")), QString());
}

// Every page a window shows or opens is in the shipped home folder, readable through the same
// download path the windows use, in UTF-8 with a title.
TEST(HomePages, EveryShippedPageIsReachable) {
    testsupport::EnvVar home("SIFMORA_HOME_URL", HomeAddress());
    const struct {
        const char* path;
        const char* mustSay;
    } pages[] = {
        {"/wngs.htm", "Function Custom_GL(NUMBER)"},
        {"/bs/body.asp?id=1733", "福彩3D历史成绩统计"},
        {"/bs/body.asp?id=1678", "体彩排3历史成绩统计"},
        {"/3d/gd.htm", "过滤缩水"},
        {"/3d/3dindex.htm", "<html"},
        {"/download/down.htm", "新版本"},
    };
    for (const auto& p : pages) {
        QByteArray body;
        const QString url = common::HomePageUrl(QString::fromUtf8(p.path));
        ASSERT_TRUE(platform::FetchUrl(url, &body).ok) << p.path << " -> " << url.toStdString();
        EXPECT_TRUE(body.contains("charset=utf-8")) << p.path;
        EXPECT_TRUE(body.contains("<title>")) << p.path;
        EXPECT_TRUE(QString::fromUtf8(body).contains(QString::fromUtf8(p.mustSay))) << p.path;
    }
    // The help ships in the program folder's home whatever the home server is.
    testsupport::EnvVar dir("SIFMORA_DIR", QStringLiteral(SIFMORA_SOURCE_DIR));
    QByteArray help;
    ASSERT_TRUE(platform::FetchUrl(common::HelpPageUrl(), &help).ok) << common::HelpPageUrl().toStdString();
    EXPECT_TRUE(QString::fromUtf8(help).contains(QStringLiteral("过滤缩水")));
}

#ifdef Q_OS_UNIX
class OpenPageTest : public ::testing::Test {
protected:
    void script(const QString& name, const QByteArray& body) const {
        dir.write(name, "#!/bin/sh\n" + body);
        QFile(dir.file(name)).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString pageUrl() const { return QUrl::fromLocalFile(dir.file("page.htm")).toString(); }
    testsupport::ProgramDir dir;
    testsupport::EnvVar log{"SIFMORA_BROWSER_LOG", QString()};
    testsupport::EnvVar browser{"BROWSER", QString()};
};

// A missing page file, or no program that can open it, gives a Chinese message; the page is
// not handed to anything.
TEST_F(OpenPageTest, MissingFileOrNoProgramSaysSo) {
    script("xdg-open", "echo \"$1\" > \"$SIFMORA_DIR/opened.txt\"\n");
    script("xdg-mime", "exit 0\n");  // no default program for pages
    testsupport::EnvVar path("PATH", dir.path());
    QString error;
    EXPECT_FALSE(platform::OpenPage(pageUrl(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("找不到页面文件"))) << error.toStdString();
    // The file by its name: the program folder's whole path says nothing to a player.
    EXPECT_TRUE(error.contains(QStringLiteral("page.htm"))) << error.toStdString();
    EXPECT_FALSE(error.contains(dir.path())) << error.toStdString();

    dir.write("page.htm", "<html></html>");
    error.clear();
    EXPECT_FALSE(platform::OpenPage(pageUrl(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("没有可以打开页面"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.file("opened.txt")));

    // The windows show the reason in a message box.
    ui::MessageRecorder recorder;
    EXPECT_FALSE(ui::OpenPage(pageUrl()));
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.lastText().contains(QStringLiteral("没有可以打开页面")));
    {
        testsupport::EnvVar noHome("SIFMORA_HOME_URL", QString(""));
        EXPECT_FALSE(ui::ShowHomePage(QStringLiteral("/3d/gd.htm"), QStringLiteral("使用教程"), nullptr));
        ASSERT_EQ(recorder.messages.size(), 2);
        EXPECT_TRUE(recorder.lastText().contains(QStringLiteral("没有主页地址")));
    }

    testsupport::EnvVar emptyPath("PATH", QString(""));
    error.clear();
    EXPECT_FALSE(platform::OpenPage(pageUrl(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("没有可以打开页面"))) << error.toStdString();
}

TEST_F(OpenPageTest, PageWithAProgramIsOpened) {
    script("xdg-open", "echo \"$1\" > \"$SIFMORA_DIR/opened.txt\"\n");
    script("xdg-mime", "echo firefox.desktop\n");
    dir.write("page.htm", "<html></html>");
    testsupport::EnvVar path("PATH", dir.path());
    QString error;
    ASSERT_TRUE(platform::OpenPage(pageUrl(), &error)) << error.toStdString();
    for (int i = 0; i < 500 && !dir.read("opened.txt").endsWith('\n'); ++i) QThread::msleep(20);
    EXPECT_EQ(dir.read("opened.txt"), pageUrl().toUtf8() + '\n');
}
#endif

}  // namespace
