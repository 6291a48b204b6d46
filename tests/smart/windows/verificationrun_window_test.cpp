// The history verification window over its run on a pool of workers, on the real 福彩3D history
// and the shipped scheme list.
#include "programsmartcontext.h"
#include "presses.h"
#include "platform/ui/messagebox.h"
#include "realhistory.h"
#include "smart/windows/historyverificationwindow.h"
#include "smart/windows/smartsystemwindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

// The window's timers fire while the draws are computed, and its 取消 ends the run: the window
// unloads with the rows it had and the workbench's numbers and log are back.
TEST(VerificationRun, TheWindowKeepsItsEventsAndItsCancel) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    smartwin::RealHistoryFixture f;
    ASSERT_TRUE(f.ok);
    const pool::NumberPool poolBefore = f.bench.session().pool;
    const QString logBefore = f.bench.session().log.text();
    SmartSystemWindow smartWindow(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    QPointer<HistoryVerificationWindow> w = new HistoryVerificationWindow(&smartWindow);
    w->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(299);
    const QTreeWidget* list = w->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    int ticks = 0, rowsAtCancel = -1;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        // Once the first row is filled in, the player presses 取消.
        if (rowsAtCancel < 0 && list->topLevelItemCount() >= 2) {
            rowsAtCancel = list->topLevelItemCount();
            w->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        }
    });
    timer.start(1);
    ui::MessageRecorder messages(ui::Answer::Yes);
    testsupport::Press(w, QStringLiteral("Command2"));
    timer.stop();
    EXPECT_GT(ticks, 0);
    ASSERT_GE(rowsAtCancel, 2);
    EXPECT_LT(rowsAtCancel, 300);
    EXPECT_EQ(messages.messages.size(), 1);  // the question only
    EXPECT_EQ(f.bench.session().pool, poolBefore);
    EXPECT_EQ(f.bench.session().log.text(), logBefore);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}
