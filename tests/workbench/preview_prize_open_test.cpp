// The workbench's 预览 and 兑奖 buttons open their windows; a prize check without a bet folder
// is reported instead of opened.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "common/settings.h"
#include "dialogs/betfolderchooser.h"
#include "dialogs/numberpreviewwindow.h"
#include "dialogs/prizecheckwindow.h"
#include "platform/ui/messagebox.h"
#include "hookreset.h"
#include "presses.h"
#include "testsupport.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

class ResultToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.setHistory(common::DrawHistory(QStringList{"2025001 456", "2025002 123"}));
        common::SaveSetting(QStringLiteral("path"), QString());
        form = std::make_unique<WorkbenchWindow>(app);
        messages.messages.clear();  // whatever the workbench said at its creation
        ui::SetModalHandler([this](QDialog* d) {
            opened.append(d->objectName());
            return 0;
        });
    }
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    void TearDown() override {
        form.reset();
    }
    void click(const char* name) { form->findChild<QPushButton*>(QString::fromLatin1(name))->click(); }

    testsupport::ProgramDir program;
    common::AppState app;  // outlives the window it is handed to
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

// The folder the chooser reported is kept by the workbench from one prize check to the next: a
// later chooser applies it with 确定 alone, though the stored setting was cleared meanwhile.
TEST_F(ResultToolsTest, TheChosenBetFolderIsKeptFromOnePrizeCheckToTheNext) {
    QDir(program.path()).mkdir(QStringLiteral("HAO"));
    QDir(program.path()).mkdir(QStringLiteral("picked"));
    const QString picked = program.file(QStringLiteral("picked")) + QLatin1Char('/');
    int checks = 0;
    ui::SetModalHandler([&](QDialog* d) {
        opened.append(d->objectName());
        if (auto* check = qobject_cast<PrizeCheckWindow*>(d)) {
            ++checks;
            testsupport::ClickOn(check->findChild<QLabel*>(QStringLiteral("Label3")));  // the folder chooser, modal over it
        } else if (auto* chooser = qobject_cast<BetFolderChooser*>(d)) {
            if (checks == 1) testsupport::ChooseSubfolder(chooser, QStringLiteral("FolderView1"), QStringLiteral("picked"));
            testsupport::Press(chooser, QStringLiteral("Command1"));  // 确定
            return chooser->result();
        }
        return 0;
    });
    click("Command16");
    EXPECT_EQ(common::GetSetting(QStringLiteral("path")), picked);
    common::SaveSetting(QStringLiteral("path"), QString());
    click("Command16");
    EXPECT_EQ(common::GetSetting(QStringLiteral("path")), picked);
    EXPECT_EQ(opened, (QStringList{"Form4", "Form8", "Form4", "Form8"}));
    EXPECT_TRUE(messages.messages.isEmpty());
}

}  // namespace
