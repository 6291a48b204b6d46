// The player's path through the windows as the program wires them (app::ProgramWindows over the
// run's state, as main.cpp makes them), on the real history: with 600 draws and more the first
// 过滤缩水 opens the smart system, which must find the workbench it works on; a reload keeps the
// run's lottery; the draw entry never drops a draw it said it saved without asking.
#include "app/programwindows.h"

#include "common/appstate.h"
#include "common/drawtext.h"
#include "common/settings.h"
#include "history/drawfile.h"
#include "history/windows/drawentrywindow.h"
#include "hookreset.h"
#include "mainwindow/commands.h"
#include "mainwindow/mainwindow.h"
#include "platform/ui/messagebox.h"
#include "pool/numberpool.h"
#include "smart/olderselection.h"
#include "testsupport.h"
#include "workbench/workbenchwindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

using mainwindow::Command;

template <class T>
T* Child(QWidget* w, const char* name) {
    T* child = w->findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Press(QWidget* w, const char* button) {
    if (auto* b = Child<QPushButton>(w, button)) b->click();
}

// The program folder with the real histories of both lotteries and the shipped scheme lists in
// its home folder, default settings, and the program's windows over the run's one state.
class PlayerPathTest : public ::testing::Test {
protected:
    common::AppState state;  // the run's state, fresh for each test; outlives everything handed it
    testsupport::ProgramDir dir;
    testsupport::EnvVar home{"SIFMORA_HOME_URL", QString()};  // the program folder's home: local lists
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    bool ready = false;
    // What each modal window does when it is shown, by objectName.
    std::map<QString, std::function<void(QDialog*)>> onShown;

    void SetUp() override {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lotvane"), QStringLiteral("Lotvane")).clear();
        ready = dir.copyShared(QStringLiteral("data/HAO.TXT")) && dir.copyShared(QStringLiteral("data/HAOP3.TXT"));
        for (const char* list : {"home/3d/3d.xml", "home/3d/p3.xml"}) {
            ready = ready && QDir().mkpath(dir.file(QStringLiteral("home/3d"))) &&
                    QFile::copy(QStringLiteral(SIFMORA_SOURCE_DIR "/") + QLatin1String(list), dir.file(QLatin1String(list)));
        }
        ui::SetModalHandler([this](QDialog* d) {
            auto it = onShown.find(d->objectName());
            if (it != onShown.end()) it->second(d);
            return d->result();
        });
    }

    // The start road's end and the main window's 过滤缩水, as the player meets them.
    MainWindow* start(app::ProgramWindows& windows) {
        MainWindow* main = windows.showMainWindow();
        main->quitOnClose = false;
        main->showListAfterReload();
        return main;
    }
    static QString CountLabel(WorkbenchWindow* bench) { return Child<QLabel>(bench, "Label5")->text(); }
};

#define SKIP_WITHOUT_REAL_HISTORY()            \
    do {                                       \
        SKIP_WITHOUT_SHARED("data/HAOP3.TXT"); \
        ASSERT_TRUE(ready);                    \
    } while (false)

// 打开旧版智能选号 → 确定 → 是 in the smart system of the first opening puts its set into the
// workbench and logs it, as at any later opening.
TEST_F(PlayerPathTest, FirstOpeningsOlderSelectionCommitsTheSetToTheWorkbench) {
    SKIP_WITHOUT_REAL_HISTORY();
    ui::MessageRecorder messages(ui::Answer::Yes);
    app::ProgramWindows windows(state);
    MainWindow* main = start(windows);
    ASSERT_GE(state.history().count(), 600);
    int smartShown = 0, olderShown = 0;
    onShown[QStringLiteral("Form15")] = [&](QDialog* smart) {
        ++smartShown;
        Press(smart, "Command5");  // 打开旧版智能选号
    };
    onShown[QStringLiteral("F15old")] = [&](QDialog* older) {
        ++olderShown;
        Press(older, "Command2");  // 确定, answered 是
    };
    main->run(Command::Workbench);  // 过滤缩水, the first time
    EXPECT_EQ(smartShown, 1);
    EXPECT_EQ(olderShown, 1);
    WorkbenchWindow* bench = windows.workbench();
    ASSERT_NE(bench, nullptr);
    EXPECT_TRUE(bench->isVisible());

    const pool::NumberPool& numbers = bench->session().pool;
    ASSERT_FALSE(numbers.empty());
    const QString next = common::NextIssue(common::IssueOf(state.history().newest()));
    EXPECT_EQ(bench->session().log.text(), QStringLiteral("福彩3D 第") + next + QStringLiteral("期智能选号共生成") +
                                               QString::number(numbers.size()) + QStringLiteral("注") + pool::kNewLine);
    EXPECT_EQ(CountLabel(bench), pool::PoolSession::CountLabel(int(numbers.size())));
    main->close();
}

// The smart window's 体彩排列三 and 福彩3D at the first opening switch the run's lottery through the
// workbench, with its message, and the main window follows.
TEST_F(PlayerPathTest, FirstOpeningsLotteryButtonsSwitchTheLottery) {
    SKIP_WITHOUT_REAL_HISTORY();
    ui::MessageRecorder messages;
    app::ProgramWindows windows(state);
    MainWindow* main = start(windows);
    const int fc3dDraws = state.history().count();
    QStringList p3Draws;
    ASSERT_TRUE(history::ReadDrawFile(dir.file(QStringLiteral("HAOP3.TXT")), &p3Draws));
    struct Seen {
        bool p3;
        int draws;
        QString message;
    };
    QList<Seen> seen;
    onShown[QStringLiteral("Form15")] = [&](QDialog* smart) {
        for (const char* option : {"Option2", "Option1"}) {
            messages.messages.clear();
            Child<QRadioButton>(smart, option)->click();
            seen.append({state.lotteryIsP3(), state.history().count(), messages.lastText()});
        }
    };
    main->run(Command::Workbench);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_TRUE(seen[0].p3);
    EXPECT_EQ(seen[0].draws, p3Draws.size());
    EXPECT_EQ(seen[0].message, QStringLiteral("彩票类型已被转换，当前彩票类型为[体彩排列3]。"));
    EXPECT_FALSE(seen[1].p3);
    EXPECT_EQ(seen[1].draws, fc3dDraws);
    EXPECT_EQ(seen[1].message, QStringLiteral("彩票类型已被转换，当前彩票类型为[福彩3D]。"));
    EXPECT_EQ(common::GetSetting(QStringLiteral("fclx")), QStringLiteral("0"));
    EXPECT_EQ(main->findChild<QLabel*>(QStringLiteral("Label3"), Qt::FindDirectChildrenOnly)->text(),
              QStringLiteral("全国福彩3D"));
    main->close();
}

// 确定 and 历史成绩验证 at the first opening put the workbench's numbers back afterwards, and its
// count label with them.
TEST_F(PlayerPathTest, FirstOpeningsRunsRestoreTheWorkbench) {
    SKIP_WITHOUT_REAL_HISTORY();
    ui::MessageRecorder messages(ui::Answer::Yes);
    for (const char* run : {"Command2", "Command3"}) {  // 确定, 历史成绩验证
        SCOPED_TRACE(run);
        state.setQuitting(false);  // the last case's main window closed
        app::ProgramWindows windows(state);
        MainWindow* main = start(windows);
        QString finished;
        onShown[QStringLiteral("Form15")] = [&](QDialog* smart) {
            messages.messages.clear();
            Press(smart, run);
            finished = messages.lastText();
        };
        onShown[QStringLiteral("Form18")] = [&](QDialog* verification) {
            Child<QComboBox>(verification, "Combo1")->setCurrentIndex(0);  // one draw
            Press(verification, "Command2");  // 开始验证
        };
        main->run(Command::Workbench);
        WorkbenchWindow* bench = windows.workbench();
        ASSERT_NE(bench, nullptr);
        EXPECT_EQ(finished, std::string(run) == "Command2"
                                ? QStringLiteral("人工智能杀码系统已完成操作，请比较各种方案的历史成绩选择最优方案，没有最好的方案，只有当期最优的方案。")
                                : QStringLiteral("历史成绩验证完成！"));
        // The computations cut sets in the workbench's pool; what stands again is its own (none
        // yet), counted.
        EXPECT_TRUE(bench->session().pool.empty());
        EXPECT_EQ(CountLabel(bench), pool::PoolSession::CountLabel(0));
        main->close();
    }
}

// With a settings file that cannot be used the switch to 排列三 is not saved; the reload after
// the draw entry still reads 排列三, the lottery the run holds.
TEST_F(PlayerPathTest, ReloadAfterASwitchKeepsTheRunsLottery) {
    SKIP_WITHOUT_REAL_HISTORY();
    const QString ini = common::SettingsFilePath();
    QFile::remove(ini);
    ASSERT_TRUE(QDir().mkpath(ini));  // a folder where the settings file belongs
    ASSERT_FALSE(common::SettingsProblem().isEmpty());
    struct Cleanup {
        QString ini;
        ~Cleanup() { QDir(ini).removeRecursively(); }
    } cleanup{ini};
    QStringList p3Draws;
    ASSERT_TRUE(history::ReadDrawFile(dir.file(QStringLiteral("HAOP3.TXT")), &p3Draws));

    ui::MessageRecorder messages;
    app::ProgramWindows windows(state);
    MainWindow* main = start(windows);
    EXPECT_FALSE(state.lotteryIsP3());
    main->run(Command::SwitchToP3);
    EXPECT_FALSE(common::HasSetting(QStringLiteral("fclx")));  // the save went nowhere
    bool entryShowsP3 = false;
    onShown[QStringLiteral("Form3")] = [&](QDialog* entry) {
        entryShowsP3 = !Child<QLabel>(entry, "Image2")->isHidden() && Child<QLabel>(entry, "Image1")->isHidden();
        entry->show();
        entry->close();  // nothing changed: closes without a question
    };
    main->run(Command::DrawEntry);  // 数据输入, closed: the history is read again
    EXPECT_TRUE(entryShowsP3);
    EXPECT_TRUE(state.lotteryIsP3());
    EXPECT_TRUE(state.drawFilePath().endsWith(QStringLiteral("/HAOP3.TXT")));
    EXPECT_EQ(state.history().draws(), p3Draws);
    main->showListAfterReload();
    EXPECT_EQ(main->findChild<QLabel*>(QStringLiteral("Label3"), Qt::FindDirectChildrenOnly)->text(),
              QStringLiteral("体彩排列3"));
    EXPECT_EQ(main->findChild<QLabel*>(QStringLiteral("Label1"), Qt::FindDirectChildrenOnly)->text(),
              QStringLiteral(".体彩排列3共开奖%1期").arg(p3Draws.size()));
    EXPECT_TRUE(messages.messages.isEmpty());
    main->close();
}

// A draw entered in 数据输入 (保存号码: "保存成功") and the window left by its close box or Esc:
// 是 writes it as 返回 does and the main window's reload has it, 否 drops it, 取消 keeps the window.
TEST_F(PlayerPathTest, DrawEntryAsksBeforeDroppingASavedDraw) {
    SKIP_WITHOUT_REAL_HISTORY();
    const QByteArray before = dir.read(QStringLiteral("HAO.TXT"));
    for (const bool esc : {false, true}) {
        for (const ui::Answer answer : {ui::Answer::Yes, ui::Answer::No, ui::Answer::Cancel}) {
            SCOPED_TRACE(testing::Message() << (esc ? "Esc " : "close box ") << int(answer));
            dir.write(QStringLiteral("HAO.TXT"), before);
            state.setQuitting(false);
            ui::MessageRecorder messages(answer);
            app::ProgramWindows windows(state);
            MainWindow* main = start(windows);
            const int loaded = state.history().count();
            const QString next = common::NextIssue(common::IssueOf(state.history().newest()));
            QString said;
            bool openAfter = false;
            onShown[QStringLiteral("Form3")] = [&](QDialog* d) {
                auto* entry = qobject_cast<DrawEntryWindow*>(d);
                ASSERT_NE(entry, nullptr);
                entry->show();
                Child<QLineEdit>(entry, "Text1")->setText(QStringLiteral("123"));
                Press(entry, "Command1");  // 保存号码
                said = Child<QLabel>(entry, "Label3")->text();
                if (esc) {
                    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                    QCoreApplication::sendEvent(entry, &key);
                } else {
                    entry->close();
                }
                openAfter = entry->isVisible();
                messages.answer = ui::Answer::No;  // the window kept open is left at last
                if (openAfter) entry->close();
            };
            main->run(Command::DrawEntry);
            EXPECT_EQ(said, QStringLiteral("保存成功"));
            ASSERT_GE(messages.messages.size(), 1);
            EXPECT_EQ(messages.messages[0].text, QStringLiteral("数据已修改，是否保存到开奖数据文件？"));
            EXPECT_EQ(openAfter, answer == ui::Answer::Cancel);
            const bool written = answer == ui::Answer::Yes;
            EXPECT_EQ(dir.read(QStringLiteral("HAO.TXT")),
                      written ? before + history::EncodeDrawRecord(next + QStringLiteral(" 123")) : before);
            EXPECT_EQ(state.history().count(), loaded + (written ? 1 : 0));
            if (written) { EXPECT_EQ(state.history().newest(), next + QStringLiteral(" 123")); }
            main->close();
        }
    }
}

}  // namespace
