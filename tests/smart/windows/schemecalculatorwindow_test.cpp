#include "calcfixture.h"
#include "httpserver.h"
#include "presses.h"
#include "platform/ui/filedialogs.h"
#include "platform/ui/messagebox.h"
#include "smart/windows/schemecalculatorwindow.h"
#include "testsupport.h"
#include "common/textcodec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace calcfixture;

namespace {
QStringList Items(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}
}  // namespace

TEST(CalculatorWindow, HiddenRunThroughItsButtons) {
    testsupport::ProgramDir dir;
    dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(MixedHistory(90)));
    const QString cond = smart::BuiltInConditions()[2];
    const QString xml = QStringLiteral("<l><r a=\"%1\"/><r a=\"%2\"/></l>")
                            .arg(Record(cond, QStringLiteral("左0"), 8, 4).replace('<', '['),
                                 Record(cond, QStringLiteral("右9"), 8, 4).replace('<', '['));
    testsupport::HttpServer server;
    server.serve(QStringLiteral("/3d/3d.xml"), xml.toUtf8());
    ui::MessageRecorder messages;

    smart::SchemeCalculatorWindow w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("计算器"));
    EXPECT_EQ(w.findChild<QComboBox*>("Combo1")->count(), 90);
    EXPECT_EQ(w.findChild<QComboBox*>("Combo2")->currentIndex(), 89);
    w.clearSchemeList();
    w.loadSchemeList(server.url(QStringLiteral("/3d/3d.xml")));
    ASSERT_EQ(w.schemeList().size(), 2);
    EXPECT_EQ(Items(w.findChild<QListWidget*>("List4")), w.schemeList());

    w.setLeaveOut(5);
    testsupport::Press(&w, QStringLiteral("Option1"));
    EXPECT_EQ(w.calculator().lines().size(), 85);
    // 开始算号 starts from the draw file as it is now, not as the window loaded it.
    dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(MixedHistory(95)));
    testsupport::Press(&w, QStringLiteral("Command17"));
    EXPECT_EQ(w.calculator().lines().size(), 90);
    EXPECT_TRUE(messages.messages.isEmpty());  // hidden: nothing shown
    EXPECT_FALSE(w.summaryList().isEmpty());
    EXPECT_EQ(Items(w.findChild<QListWidget*>("List2")), w.summaryList());
    EXPECT_EQ(Items(w.findChild<QListWidget*>("List3")), w.reportLines());
    // The run backtests each record with its own values: the window's settings stay as set.
    EXPECT_EQ(w.findChild<QLineEdit*>("Text10")->text(), QString());
    EXPECT_EQ(w.calculator().run().verification.positionText, QStringLiteral("右9"));
    EXPECT_EQ(w.calculator().runState(), smart::RunState::Running);

    // The stop mark set from outside (the verification window's cancel) ends the next run at once.
    testsupport::Press(&w, QStringLiteral("Command11"));
    EXPECT_EQ(w.findChild<QCheckBox*>("Check1")->text(), smart::kRunStop);
    w.calculator().setRunState(smart::RunState::Stopped);

    // Import of report lines through the file chooser hook; the clear button shows the count.
    dir.write(QStringLiteral("lines.txt"), common::EncodeAnsi(w.reportLines().join("\r\n")));
    const QStringList imported = w.reportLines();
    const int before = int(w.reportLines().size());
    QString startFolder;
    {
        ui::FileDialogAnswerScope chooser([&](const ui::FileDialogRequest& r) {
            startFolder = r.folder;
            return QStringList{dir.file(QStringLiteral("lines.txt"))};
        });
        testsupport::Press(&w, QStringLiteral("Command18"));
    }
    EXPECT_EQ(startFolder, QDir::cleanPath(dir.path()));  // where the calculator writes its reports
    EXPECT_EQ(w.reportLines(), imported + imported);
    EXPECT_EQ(w.findChild<QPushButton*>("Command19")->text(), QStringLiteral("清空%1").arg(2 * before));
    EXPECT_EQ(messages.lastText(), QStringLiteral("导入成功！"));
}

// A draw file that cannot be read when 开始算号 or 批量验证 is pressed runs nothing on the draws
// handed in before, and the calculator says why.
TEST(CalculatorWindow, UnreadableDrawFileRunsNothingAndSaysWhy) {
    testsupport::ProgramDir dir;
    dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(MixedHistory(40)));
    ui::MessageRecorder messages(ui::Answer::Yes);
    smart::SchemeCalculatorWindow w;
    ASSERT_EQ(w.calculator().lines().size(), 40);
    w.calculator().setSchemes({Record(smart::BuiltInConditions()[2], QStringLiteral("左0"), 8, 4)});
    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("HAO.TXT"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("HAO.TXT")));
    for (const char* button : {"Command17", "Command13"}) {
        testsupport::Press(&w, QString::fromLatin1(button));
        EXPECT_FALSE(w.calculator().lastError().isEmpty()) << button;
        EXPECT_TRUE(w.reportLines().isEmpty()) << button;
        EXPECT_EQ(w.calculator().lines().size(), 40) << button;
    }
}

TEST(CalculatorWindow, ShownBatchCanBeStoppedFromItsStopButton) {
    testsupport::ProgramDir dir;
    dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(MixedHistory(40)));
    ui::MessageRecorder messages(ui::Answer::Yes);
    smart::SchemeCalculatorWindow w;
    w.show();
    auto setText = [&](const char* name, const QString& text) { w.findChild<QLineEdit*>(name)->setText(text); };
    setText("Text10", QStringLiteral("左0"));
    setText("Text5", QStringLiteral("1"));
    setText("Text9", QStringLiteral("1"));
    setText("Text8", QStringLiteral("0"));  // cycle step 0: the batch repeats until stopped
    setText("Text2", QStringLiteral("0"));
    setText("Text6", QStringLiteral("0"));
    w.findChild<QComboBox*>("Combo5")->setCurrentIndex(65);
    auto& hooks = w.calculator().runHost();
    const auto pumpBefore = hooks.processEvents;
    int pumps = 0;
    bool stopShown = false;
    hooks.processEvents = [&] {
        auto* stop = w.findChild<QPushButton*>("Command11");
        if (stop->isVisible()) {
            stopShown = true;
            stop->click();
        } else if (++pumps > 20) {
            w.calculator().stop();  // keeps the test from looping when the button is missing
        }
        pumpBefore();
    };
    testsupport::Press(&w, QStringLiteral("Command13"));
    hooks.processEvents = pumpBefore;
    EXPECT_TRUE(stopShown);
    EXPECT_EQ(w.calculator().runState(), smart::RunState::Stopped);
    EXPECT_FALSE(w.findChild<QPushButton*>("Command11")->isVisible());
    EXPECT_FALSE(w.findChild<QCheckBox*>("Check1")->isVisible());
}

// 开奖 (Label1), double-clicked, reads the draw file again and selects its whole range.
TEST(CalculatorWindow, DoubleClickOnTheDrawsCaptionReloadsTheWholeRange) {
    testsupport::ProgramDir dir;
    dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(MixedHistory(40)));
    smart::SchemeCalculatorWindow w;
    auto* first = w.findChild<QComboBox*>("Combo1");
    auto* last = w.findChild<QComboBox*>("Combo2");
    first->setCurrentIndex(5);
    last->setCurrentIndex(20);
    dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(MixedHistory(50)));
    testsupport::DoubleClickOn(testsupport::Find<QLabel>(&w, QStringLiteral("Label1")));
    EXPECT_EQ(w.calculator().lines().size(), 50);
    EXPECT_EQ(first->count(), 50);
    EXPECT_EQ(first->currentIndex(), 0);
    EXPECT_EQ(last->currentIndex(), 49);
}

// A condition's MsgBox is the program's message box (answered here by the recorder).
TEST(CalculatorWindow, ConditionMsgBoxGoesThroughTheMessageLayer) {
    testsupport::ProgramDir dir;
    dir.write(QStringLiteral("HAO.TXT"), DrawFileBytes(MixedHistory(40)));
    ui::MessageRecorder messages(ui::Answer::No);
    smart::SchemeCalculatorWindow w;
    messages.messages.clear();
    w.calculator().settings().mode.condition = QStringLiteral("MsgBox(\"继续?\", 4, \"条件\") = 7");
    EXPECT_EQ(w.calculator().evaluateCondition(), 1);
    ASSERT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("继续?"));
    EXPECT_EQ(messages.messages[0].title, QStringLiteral("条件"));
    EXPECT_EQ(messages.messages[0].buttons, ui::Buttons::YesNo);
}
