// "<<不会使用就来看视频教程>>" opens the shipped tutorial page, or says why it cannot.
#include "common/appstate.h"
#include "hookreset.h"
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
    EXPECT_EQ(QString::fromUtf8(dir.read(QStringLiteral("browser.log"))),
              QUrl::fromLocalFile(dir.file(QStringLiteral("home/3d/gd.htm"))).toString() + '\n');
}

}  // namespace
