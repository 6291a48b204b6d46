// Every visible button of the draw entry and settings windows reaches a handler when pressed.
#include "buttonwalk.h"
#include "fixture.h"
#include "history/windows/drawentrywindow.h"
#include "history/windows/settingswindow.h"

#include <gtest/gtest.h>

namespace historywindows_test {

class WindowButtons : public WindowFixture {};

TEST_F(WindowButtons, EveryButtonReachesAHandler) {
    load(MakeDraws(30));
    {
        DrawEntryWindow f(app);
        EXPECT_GT(testsupport::WalkedButtonCount(&f), 0);
        EXPECT_EQ(testsupport::UnboundButtons(&f), QStringList{});
    }
    // The lottery and 分析所有开奖数据 are read when the settings are confirmed.
    SettingsWindow f(app);
    const testsupport::ButtonWalk choices{{"Option1", "Option2", "Check1"}, {}};
    EXPECT_EQ(testsupport::WalkedButtonCount(&f, choices), 2);
    EXPECT_EQ(testsupport::UnboundButtons(&f, choices), QStringList{});
}

}  // namespace historywindows_test
