// "<<不会使用就来看视频教程>>" shows the shipped tutorial page in the page window, or says why it
// cannot.
#include "common/appstate.h"
#include "hookreset.h"
#include "platform/ui/pagewindow.h"
#include "workbench/workbench.h"
#include "workbenchfixture.h"

#include <QDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>

namespace {

class TutorialButtonTest : public TwoDrawWorkbenchFixture {
protected:
    testsupport::EnvVar home{"SIFMORA_HOME_URL", QString()};  // the program folder's home
    testsupport::EnvVar log{"SIFMORA_BROWSER_LOG", dir.file(QStringLiteral("browser.log"))};
};

TEST_F(TutorialButtonTest, OpensTheTutorialOrSaysWhy) {
    click(QStringLiteral("Command49"));
    ASSERT_EQ(recorder->messages.size(), 1);
    EXPECT_TRUE(recorder->lastText().contains(QStringLiteral("没有主页地址"))) << recorder->lastText().toStdString();

    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("home/3d")));
    click(QStringLiteral("Command49"));
    ASSERT_EQ(recorder->messages.size(), 2);
    EXPECT_TRUE(recorder->lastText().contains(QStringLiteral("找不到页面文件"))) << recorder->lastText().toStdString();
    EXPECT_TRUE(dir.read(QStringLiteral("browser.log")).isEmpty());

    dir.write(QStringLiteral("home/3d/gd.htm"), "<html><title>tutorial</title></html>");
    click(QStringLiteral("Command49"));
    EXPECT_EQ(recorder->messages.size(), 2);
    auto* page = form->findChild<ui::PageWindow*>(QStringLiteral("PageWindow"));
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->url(), QUrl::fromLocalFile(dir.file(QStringLiteral("home/3d/gd.htm"))).toString());
    EXPECT_TRUE(dir.read(QStringLiteral("browser.log")).isEmpty());
}

}  // namespace
