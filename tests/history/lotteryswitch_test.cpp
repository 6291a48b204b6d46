// The one lottery switch: it reloads the history and tells every listener once per change.
#include "common/appstate.h"
#include "common/settings.h"
#include "history/drawfile.h"
#include "history/lottery.h"
#include "hookreset.h"
#include "testsupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

struct Told {
    bool p3;
    QString error;
};

TEST(LotterySwitch, TellsListenersOncePerChangeWithTheLoadError) {
    testsupport::ProgramDir dir;
    dir.write("HAOP3.TXT", history::EncodeDrawRecord(QStringLiteral("2024001 123")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("HAO.TXT")));
    common::AppState app;
    QList<Told> told;
    QObject receiver;
    QObject::connect(&app, &common::AppState::lotteryChanged, &receiver,
                     [&](bool p3, const QString& error) { told.append({p3, error}); });
    int reloads = 0;  // lists built from the old history hear of the new one
    QObject::connect(&app, &common::AppState::historyReloaded, &receiver, [&] { ++reloads; });

    QString error;
    ASSERT_TRUE(history::SelectLottery(app, true, &error));
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].p3);
    EXPECT_TRUE(told[0].error.isEmpty());
    EXPECT_TRUE(app.lotteryIsP3());
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(common::GetSetting(QStringLiteral("fclx")), QStringLiteral("1"));
    EXPECT_EQ(app.history().count(), 1);

    // Selecting the lottery already chosen changes nothing and tells no one.
    EXPECT_FALSE(history::SelectLottery(app, true));
    EXPECT_EQ(told.size(), 1);
    EXPECT_EQ(reloads, 1);

    // A folder where the 福彩3D file should be: the switch still happens, with the reason both returned and told.
    ASSERT_TRUE(history::SelectLottery(app, false, &error));
    ASSERT_EQ(told.size(), 2);
    EXPECT_FALSE(told[1].p3);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(told[1].error, error);
    EXPECT_EQ(app.history().count(), 0);
}

}  // namespace
