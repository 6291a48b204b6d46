// The windows of a run as the program's wiring owns them: each made once over the state it is
// handed, the workbench shown over the hidden main window and handing it back on closing, and a
// close request during the start reaching the main window being started.
#include "app/programwindows.h"

#include "common/appstate.h"
#include "history/drawfile.h"
#include "hookreset.h"
#include "mainwindow/commands.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/trayicon.h"
#include "platform/ui/messagebox.h"
#include "smart/windows/smartsystemwindow.h"
#include "testsupport.h"
#include "workbench/workbenchwindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include <gtest/gtest.h>

namespace {

using mainwindow::Command;

class ProgramWindowsTest : public ::testing::Test {
protected:
    testsupport::ProgramDir dir;
    testsupport::EnvVar home{"SIFMORA_HOME_URL", QString()};  // the board opens nothing
    testsupport::HookReset<&ui::SetMessageHandler> messageReset;
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    common::AppState state;  // the run's state, handed in: no window reaches for another

    void SetUp() override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"), QStringLiteral("Lotvane")).clear();
    }
    void writeDraws(int n) {
        QByteArray records;
        for (int i = 0; i < n; ++i)
            records += history::EncodeDrawRecord(QStringLiteral("2024%1 %2").arg(i + 1, 3, 10, QLatin1Char('0')).arg(i * 7 % 1000, 3, 10, QLatin1Char('0')));
        dir.write(QStringLiteral("HAO.TXT"), records);
    }
};

TEST_F(ProgramWindowsTest, EachWindowIsMadeOnceAndTheWorkbenchHandsBackTheMainWindow) {
    writeDraws(5);
    ui::MessageRecorder messages;
    app::ProgramWindows windows(state);
    EXPECT_EQ(windows.mainWindow(), nullptr);
    MainWindow* main = windows.showMainWindow();
    ASSERT_NE(main, nullptr);
    main->quitOnClose = false;
    EXPECT_EQ(windows.mainWindow(), main);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(state.history().count(), 5);
    EXPECT_EQ(windows.showMainWindow(), main);
    main->showListAfterReload();

    EXPECT_EQ(windows.workbench(), nullptr);
    main->run(Command::Workbench);  // 过滤缩水
    WorkbenchWindow* bench = windows.workbench();
    ASSERT_NE(bench, nullptr);
    EXPECT_EQ(&bench->state(), &state);
    EXPECT_TRUE(bench->isVisible());
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(main->tray()->toggleEnabled());
    ASSERT_EQ(messages.messages.size(), 1);  // the 600-draw gate, at the workbench's making only

    bench->session().pool = {QStringLiteral("123")};
    bench->close();
    EXPECT_TRUE(bench->isHidden());
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->tray()->toggleEnabled());

    main->run(Command::Workbench);
    EXPECT_EQ(windows.workbench(), bench);
    EXPECT_TRUE(bench->isVisible());
    EXPECT_EQ(bench->session().pool, QStringList({QStringLiteral("123")}));
    EXPECT_EQ(messages.messages.size(), 1);

    // The main window's closing ends the run: the workbench closes with it and nothing opens again.
    EXPECT_TRUE(main->close());
    EXPECT_TRUE(state.quitting());
    EXPECT_FALSE(bench->isVisible());
    windows.showWorkbench();
    EXPECT_FALSE(bench->isVisible());
}

// 智能系统 on the workbench opens the smart system the wiring owns, over the run's state, the
// workbench that is open and the wiring's calculator, and the same window again at its next
// opening.
TEST_F(ProgramWindowsTest, TheSmartSystemIsGivenTheRunsStateAndTheOpenWorkbench) {
    writeDraws(5);
    ui::MessageRecorder messages;
    int shown = 0;
    ui::SetModalHandler([&](QDialog*) {
        ++shown;
        return 0;
    });
    app::ProgramWindows windows(state);
    MainWindow* main = windows.showMainWindow();
    main->quitOnClose = false;
    main->showListAfterReload();
    EXPECT_EQ(windows.smartSystem().window(), nullptr);
    main->run(Command::Workbench);
    WorkbenchWindow* bench = windows.workbench();
    ASSERT_NE(bench, nullptr);

    windows.openSmartSystem(bench);
    SmartSystemWindow* smartWindow = windows.smartSystem().window();
    ASSERT_NE(smartWindow, nullptr);
    EXPECT_EQ(smartWindow->objectName(), QStringLiteral("Form15"));
    EXPECT_EQ(smartWindow->context().state, &state);
    EXPECT_EQ(smartWindow->context().bench(), static_cast<dialogs::WorkbenchApi*>(bench));
    // The calculator it computes with is the wiring's too: it ends with the windows, the helpers
    // the window's opening started making in the background joined then.
    ASSERT_NE(smartWindow->context().calculator, nullptr);
    windows.openSmartSystem(bench);
    EXPECT_EQ(windows.smartSystem().window(), smartWindow);
    EXPECT_EQ(shown, 2);
    main->close();
}

// The updater's close request can come while the start's message about the draw file is up: it
// reaches the window being started, which is then never shown, and nothing opens after it.
TEST_F(ProgramWindowsTest, CloseRequestDuringTheStartReachesTheWindowBeingStarted) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("HAO.TXT")));  // the load fails with a message
    app::ProgramWindows windows(state);
    bool closed = false;
    ui::SetMessageHandler([&](const ui::MessageRecord&) {
        if (MainWindow* main = windows.mainWindow()) {
            main->quitOnClose = false;
            closed = main->close();
        }
        return ui::Answer::Ok;
    });
    MainWindow* main = windows.showMainWindow();
    EXPECT_TRUE(closed);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(state.quitting());
    main->run(Command::Workbench);
    EXPECT_EQ(windows.workbench(), nullptr);
}

// A main window left minimised comes back from the workbench shown normal and active, with the
// real history (whose size opens the smart system at the workbench's first opening).
TEST_F(ProgramWindowsTest, ClosingTheWorkbenchBringsBackAMinimisedMainWindowNormal) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    ASSERT_TRUE(dir.copyShared(QStringLiteral("data/HAO.TXT")));
    ui::MessageRecorder messages;
    ui::SetModalHandler([](QDialog*) { return 0; });
    app::ProgramWindows windows(state);
    MainWindow* main = windows.showMainWindow();
    main->quitOnClose = false;
    main->showListAfterReload();
    ASSERT_GE(state.history().count(), 600);
    main->showMinimized();
    main->run(Command::Workbench);
    WorkbenchWindow* bench = windows.workbench();
    ASSERT_NE(bench, nullptr);
    ASSERT_FALSE(main->isVisible());
    bench->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(main->isMinimized());
    EXPECT_TRUE(main->isActiveWindow());
    EXPECT_TRUE(main->tray()->toggleEnabled());
    main->close();
}

}  // namespace
