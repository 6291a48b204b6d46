// The workbench's 预览 and 兑奖 buttons open their windows; a prize check without a bet folder
// is reported instead of opened.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/settings.h"
#include "dialogs/numberpreviewwindow.h"
#include "dialogs/prizecheckwindow.h"
#include "platform/ui/messagebox.h"
#include "hookreset.h"
#include "testsupport.h"

#include <QDir>
#include <QPushButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ResultToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        common::App().history = common::DrawHistory(QStringList{"2025001 456", "2025002 123"});
        common::SaveSetting(QStringLiteral("path"), QString());
        form = std::make_unique<WorkbenchWindow>(common::App());
        messages.messages.clear();  // whatever the workbench said at its creation
        ui::SetModalHandler([this](QDialog* d) {
            opened.append(d->objectName());
            return 0;
        });
    }
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    void TearDown() override {
        form.reset();
        common::App().history.clear();
    }
    void click(const char* name) { form->findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

    testsupport::ProgramDir program;
    ui::MessageRecorder messages;
    std::unique_ptr<WorkbenchWindow> form;
    QStringList opened;
};

TEST_F(ResultToolsTest, PreviewAndPrizeCheckOpenModally) {
    QDir(program.path()).mkdir(QStringLiteral("HAO"));
    click("Command25");
    click("Command16");
    EXPECT_EQ(opened, (QStringList{"Form21", "Form4"}));
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(ResultToolsTest, PrizeCheckWithoutBetFolderIsReported) {
    const QStringList poolBefore = form->session().pool;
    const QString logBefore = form->session().log.text();
    click("Command16");
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].title, ui::kAppTitle);
    EXPECT_EQ(messages.messages[0].buttons, ui::Buttons::Ok);
    EXPECT_TRUE(messages.messages[0].text.startsWith(QStringLiteral("无法打开兑奖窗口。")));
    EXPECT_EQ(form->session().pool, poolBefore);
    EXPECT_EQ(form->session().log.text(), logBefore);
}

}  // namespace
