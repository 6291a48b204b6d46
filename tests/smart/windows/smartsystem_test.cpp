// The smart-system window: options at load, the smart run over a served scheme list and the
// real calculator, and the workbench's numbers and log after it.
#include "presses.h"
#include "programsmartcontext.h"
#include "common/appstate.h"
#include "common/settings.h"
#include "httpserver.h"
#include "presses.h"
#include "platform/ui/messagebox.h"
#include "smart/windows/olderselectionwindow.h"
#include "smart/windows/calculatorhost.h"
#include "smart/windows/smartsystemwindow.h"
#include "smart/killdigits.h"
#include "smart/windows/schemecalculatorwindow.h"
#include "smart/windows/workbenchlog.h"
#include "hookreset.h"
#include "testsupport.h"
#include "tickwatch.h"
#include "fakeworkbench.h"
#include "fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QSlider>

namespace {

// A scheme list document with the records as the server writes them ("<" as "[").
QByteArray SchemeListXml(const QStringList& records) {
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<list>\n";
    for (QString r : records) {
        r.replace(QLatin1Char('<'), QLatin1Char('[')).replace(QLatin1Char('>'), QLatin1Char(']'));
        xml += "  <f v=\"" + r.toUtf8() + "\"/>\n";
    }
    return xml + "</list>\n";
}

QStringList SchemeRecords() {
    return {calcfixture::Record(calcfixture::Condition(QStringLiteral("a(1) < a(2)")), QStringLiteral("左3"), 1, 5),
            calcfixture::Record(calcfixture::Condition(QStringLiteral("a(1) = a(2)")), QStringLiteral("右2"), 1, 5)};
}

// A program folder with a 福彩3D history of `draws` draws, the same history in memory, a served
// scheme list and a workbench holding a committed set.
struct SmartSystemFixture {
    explicit SmartSystemFixture(int draws = 600) : numbers(calcfixture::MixedHistory(draws)) {
        dir.write(QStringLiteral("HAO.TXT"), calcfixture::DrawFileBytes(numbers));
        smartwin::UseHistory(app, numbers);
        server.serve(QStringLiteral("/3d/3d.xml"), SchemeListXml(SchemeRecords()));
        server.serve(QStringLiteral("/3d/T_3d.xml"), SchemeListXml(SchemeRecords()));
        bench.commit({QStringLiteral("012"), QStringLiteral("345"), QStringLiteral("789")},
                     QStringLiteral("\n大底共3注\n"));
    }
    // First, so the state outlives the workbench and the windows handed it.
    common::AppState app;
    testsupport::HookReset<&ui::SetInputHandler> inputReset;
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    testsupport::ProgramDir dir;
    QStringList numbers;
    testsupport::HttpServer server;
    testsupport::EnvVar home{"SIFMORA_HOME_URL", server.baseUrl()};
    FakeWorkbench bench{app};
    smart::SmartCalculator calc;  // the smart windows', handed in through their context
};

QString ExpectedKillDigits(const QList<int>& summary, int killCount, int scheme) {
    QString digits;
    for (int line : smart::KillLines(killCount, scheme))
        if (line < summary.size()) digits += QString::number(summary.at(line));
    return digits;
}

}  // namespace

TEST(SmartSystemWindowTest, LoadSetsTheOptionsAndTheSetting) {
    SmartSystemFixture f;
    common::SaveSmartScheme(2);
    f.app.selectLottery(true, common::DrawFilePathFor(true), f.app.history());
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("智能系统Vexon-7"));
    EXPECT_EQ(w.findChild<QSlider*>(QStringLiteral("Slider1"))->value(), 2);
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("0"));
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("Combo2"))->currentText(), QStringLiteral("全部组选"));
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("Combo3"))->currentText(), QStringLiteral("1个"));
    EXPECT_TRUE(w.findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked());
    EXPECT_EQ(common::GetSetting(QStringLiteral("zlxuanhao")), QStringLiteral("1"));
    EXPECT_TRUE(w.findChild<QRadioButton*>(QStringLiteral("Option2"))->isChecked());
    EXPECT_EQ(w.schemeListUrl(), f.server.url(QStringLiteral("/3d/p3.xml")));
    f.app.selectLottery(false, common::DrawFilePathFor(false), f.app.history());
    w.show();  // the window shows the state's lottery as it shows
    EXPECT_TRUE(w.findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    w.findChild<QCheckBox*>(QStringLiteral("Check1"))->click();
    EXPECT_EQ(common::GetSetting(QStringLiteral("zlxuanhao")), QStringLiteral("0"));
}

TEST(SmartSystemWindowTest, SmartRunShowsTheKillDigitsAndRestoresTheWorkbench) {
    SmartSystemFixture f;
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    w.findChild<QComboBox*>(QStringLiteral("Combo3"))->setCurrentIndex(1);  // 2个
    w.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(2);  // two sums
    const pool::NumberPool poolBefore = f.bench.session().pool;
    const QString logBefore = f.bench.session().log.text();
    const int slotBefore = f.bench.session().ring.index();

    ui::MessageRecorder messages(ui::Answer::Yes);
    testsupport::Press(&w, QStringLiteral("Command2"));

    ASSERT_EQ(messages.messages.size(), 2) << messages.lastText().toStdString();
    EXPECT_EQ(messages.messages[0].title, QStringLiteral(" 智能选号"));
    EXPECT_EQ(messages.messages[0].buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(messages.messages[0].text.startsWith(QStringLiteral("此步骤将以[2020600]期为基数算下一期杀四码")));
    EXPECT_EQ(messages.messages[1].text,
              QStringLiteral("人工智能杀码系统已完成操作，请比较各种方案的历史成绩选择最优方案，没有最好的方案，只有当期最优的方案。"));
    EXPECT_EQ(f.server.requestCount(QStringLiteral("/3d/3d.xml")), 1);

    const QList<int> summary = f.calc.get().killDigits();
    ASSERT_FALSE(summary.isEmpty());
    EXPECT_EQ(f.calc.get().runState(), smart::RunState::Running);
    // The run computes without any calculator window.
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_NE(top->objectName(), QStringLiteral("zlxh_fm1"));
    const int kill = 2;  // "2个"
    const QString expected = QStringLiteral("福彩3D第2020601期  方案一杀码") + ExpectedKillDigits(summary, kill, 0) +
                             QStringLiteral(" 方案二杀码") + ExpectedKillDigits(summary, kill, 1) + QStringLiteral(" 方案三杀码") +
                             ExpectedKillDigits(summary, kill, 2) + QStringLiteral(" 方案四杀码") + ExpectedKillDigits(summary, kill, 3);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label14"))->text(), expected);

    // The workbench: the committed numbers and the log as before, caret at the end.
    EXPECT_EQ(f.bench.session().pool, poolBefore);
    EXPECT_EQ(f.bench.session().log.text(), logBefore);
    EXPECT_EQ(f.bench.logBox()->toPlainText(), logBefore);
    EXPECT_EQ(f.bench.session().ring.index(), slotBefore);
    EXPECT_TRUE(f.bench.logBox()->isVisibleTo(&f.bench));
    EXPECT_EQ(w.findChild<QSlider*>(QStringLiteral("Slider1"))->value(), 3);
    EXPECT_EQ(common::SettingSmartScheme(), 3);
    EXPECT_EQ(common::GetSetting(QStringLiteral("zl")), QStringLiteral("3"));
    EXPECT_TRUE(w.isEnabled());
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("Label9"))->isHidden());

    // The last scheme's set is what computeScheme makes from the same summary.
    pool::NumberPool fresh;
    QString log;
    smart::KillDigitSettings s{3, 0, 2, kill};
    smart::ComputeKillDigits(f.app.history(), 600, s, summary, fresh, log);
    w.computeScheme(600, 3);
    EXPECT_EQ(f.bench.session().pool, fresh);
}

TEST(SmartSystemWindowTest, RefusalsLeaveEverythingAsItWas) {
    SmartSystemFixture f;
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    const QString logBefore = f.bench.session().log.text();
    {
        // No: not even the scheme list is asked for.
        ui::MessageRecorder messages(ui::Answer::No);
        testsupport::Press(&w, QStringLiteral("Command2"));
        EXPECT_EQ(messages.messages.size(), 1);
        EXPECT_EQ(f.server.requestCount(QStringLiteral("/3d/3d.xml")), 0);
    }
    {
        // An empty list: the no-scheme message.
        f.server.serve(QStringLiteral("/3d/3d.xml"), SchemeListXml({}));
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(&w, QStringLiteral("Command2"));
        EXPECT_EQ(messages.lastText(), QStringLiteral("没用搜寻到可用的公式，请检查网络连接是否正确。"));
        EXPECT_EQ(messages.messages.last().title, ui::kAppTitle);
    }
    {
        // No home server: nothing is fetched, the same message.
        testsupport::EnvVar noHome("SIFMORA_HOME_URL", QString());
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(&w, QStringLiteral("Command2"));
        EXPECT_EQ(messages.lastText(), QStringLiteral("没用搜寻到可用的公式，请检查网络连接是否正确。"));
    }
    {
        // A history too short for a computation (after a lottery switch): refused at once.
        smartwin::UseHistory(f.app, f.numbers.mid(0, 499));
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(&w, QStringLiteral("Command2"));
        ASSERT_EQ(messages.messages.size(), 1);
        EXPECT_EQ(messages.messages[0].text, smart::ShortHistoryMessage(500));
    }
    EXPECT_EQ(f.bench.session().log.text(), logBefore);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label14"))->text(),
              QStringLiteral("小提示：您可以点击“确定”按钮开始计算今天的不定位杀四码..."));
}

// The run computes the history the program holds, never the draw file: a file on disk with one
// draw less gives the kill digits of the history, and no word about the file (it did not change
// during the run).
TEST(SmartSystemWindowTest, TheRunComputesTheHistoryNotTheDrawFile) {
    SmartSystemFixture f;
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    const QLabel* result = w.findChild<QLabel*>(QStringLiteral("Label14"));
    QString expected;
    {
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(&w, QStringLiteral("Command2"));
        ASSERT_EQ(messages.messages.size(), 2);
        expected = result->text();
    }
    f.dir.write(QStringLiteral("HAO.TXT"), calcfixture::DrawFileBytes(f.numbers.mid(0, 599)));
    const pool::NumberPool poolBefore = f.bench.session().pool;
    const QString logBefore = f.bench.session().log.text();
    ui::MessageRecorder messages(ui::Answer::Yes);
    testsupport::Press(&w, QStringLiteral("Command2"));
    ASSERT_EQ(messages.messages.size(), 2) << messages.lastText().toStdString();
    EXPECT_TRUE(messages.messages[0].text.startsWith(QStringLiteral("此步骤将以[2020600]期为基数")));
    EXPECT_TRUE(messages.messages[1].text.startsWith(QStringLiteral("人工智能杀码系统已完成操作")));
    EXPECT_TRUE(expected.startsWith(QStringLiteral("福彩3D第2020601期"))) << expected.toStdString();
    EXPECT_EQ(result->text(), expected);
    EXPECT_EQ(f.bench.session().pool, poolBefore);
    EXPECT_EQ(f.bench.session().log.text(), logBefore);
    EXPECT_TRUE(w.isEnabled());
}

TEST(SmartSystemWindowTest, TestMarkChoosesTheTestList) {
    SmartSystemFixture f;
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    // A wrong code or a cancelled box sets nothing and says nothing.
    ui::MessageRecorder messages(ui::Answer::Yes);
    int asked = 0;
    {
        testsupport::HookReset<&ui::SetInputHandler> inputReset;
        ui::SetInputHandler([&asked](const QString&, const QString&, QString* answer) {
            ++asked;
            *answer = QStringLiteral("x");
            return true;
        });
        testsupport::ClickOn(testsupport::Find<QLabel>(&w, QStringLiteral("Label15")));
        ui::SetInputHandler([&asked](const QString&, const QString&, QString*) {
            ++asked;
            return false;
        });
        testsupport::ClickOn(testsupport::Find<QLabel>(&w, QStringLiteral("Label15")));
    }
    EXPECT_EQ(asked, 2);  // each click on Label15 asks for the code
    EXPECT_FALSE(w.testMark());
    EXPECT_TRUE(messages.messages.isEmpty());

    w.findChild<QLabel*>(QStringLiteral("Label15"))->setText(QStringLiteral("test"));
    w.findChild<QSlider*>(QStringLiteral("Slider1"))->setValue(0);
    testsupport::Press(&w, QStringLiteral("Command2"));
    EXPECT_EQ(f.server.requestCount(QStringLiteral("/3d/T_3d.xml")), 1);
    EXPECT_EQ(f.server.requestCount(QStringLiteral("/3d/3d.xml")), 0);
}

TEST(SmartSystemWindowTest, ClipboardAndOlderSelectionGate) {
    SmartSystemFixture f(599);
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    w.show();
    f.calc.get().clearSchemes();
    QApplication::clipboard()->setText(QStringLiteral("old"));
    testsupport::DoubleClickOn(testsupport::Find<QLabel>(&w, QStringLiteral("Image1")));
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
    testsupport::DoubleClickOn(testsupport::Find<QLabel>(&w, QStringLiteral("Label14")));
    EXPECT_EQ(QApplication::clipboard()->text(), w.findChild<QLabel*>(QStringLiteral("Label14"))->text());

    {
        ui::MessageRecorder messages;
        testsupport::Press(&w, QStringLiteral("Command5"));
        EXPECT_EQ(messages.lastText(), QStringLiteral("开奖总期数累积达到600期以后,智能选号系统才能启动。"));
        EXPECT_EQ(messages.messages.last().title, QStringLiteral("智能选号"));
        EXPECT_TRUE(w.isVisible());
    }
    smartwin::UseHistory(f.app, calcfixture::MixedHistory(600));
    QString shown;
    {
        testsupport::HookReset<&ui::SetModalHandler> modalReset;
        ui::SetModalHandler([&shown](QDialog* d) {
            shown = d->objectName();
            return 0;
        });
        testsupport::Press(&w, QStringLiteral("Command5"));
    }
    EXPECT_EQ(shown, QStringLiteral("F15old"));
    EXPECT_FALSE(w.isVisible());
}

TEST(SmartSystemWindowTest, ScriptErrorInTheHiddenRunIsReportedAndTheRunFinishes) {
    SmartSystemFixture f;
    // The first record names a(6) while the series ends at a(5): the engine fails on every
    // evaluation of it. Nobody can resume the hidden calculator, so the run must not pause.
    f.server.serve(QStringLiteral("/3d/3d.xml"),
                   SchemeListXml({calcfixture::Record(calcfixture::Condition(QStringLiteral("a(6) = 1")),
                                                     QStringLiteral("左0"), 2, 2),
                                 SchemeRecords().at(1)}));
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    const pool::NumberPool poolBefore = f.bench.session().pool;
    const QString logBefore = f.bench.session().log.text();
    ui::MessageRecorder messages(ui::Answer::Yes);
    testsupport::Press(&w, QStringLiteral("Command2"));

    ASSERT_EQ(messages.messages.size(), 3) << messages.lastText().toStdString();
    EXPECT_TRUE(messages.messages[1].text.startsWith(QStringLiteral("9\n"))) << messages.messages[1].text.toStdString();
    EXPECT_TRUE(messages.messages[1].title.isEmpty());
    EXPECT_TRUE(messages.messages[2].text.startsWith(QStringLiteral("人工智能杀码系统已完成操作")));
    EXPECT_EQ(f.calc.get().runState(), smart::RunState::Running);
    // The failing record ranks nothing; the other one still gives the summary its line.
    EXPECT_EQ(f.calc.get().reportLines().size(), 1);
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("Label14"))->text().startsWith(QStringLiteral("福彩3D第2020601期  方案一杀码")));
    EXPECT_EQ(f.bench.session().pool, poolBefore);
    EXPECT_EQ(f.bench.session().log.text(), logBefore);
    EXPECT_TRUE(w.isEnabled());
}

TEST(SmartSystemWindowTest, ClosingDuringARunStopsItAndUnloadsTheWindow) {
    // Closed while 确定 waits for a slow scheme list (after a second 确定 that must change
    // nothing), or closed inside the calculator's backtest. Either way: no message after the
    // question, the workbench as it was, and the window gone once the run has unwound.
    for (bool inBacktest : {false, true}) {
        SCOPED_TRACE(inBacktest ? "backtest" : "download");
        SmartSystemFixture f;
        constexpr int kServerDelayMs = 8000;
        if (!inBacktest)
            f.server.setResponse(QStringLiteral("/3d/3d.xml"), {.body = SchemeListXml(SchemeRecords()), .delayMs = kServerDelayMs});
        QPointer<SmartSystemWindow> w = new SmartSystemWindow(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
        const pool::NumberPool poolBefore = f.bench.session().pool;
        const QString logBefore = f.bench.session().log.text();
        const int slotBefore = f.bench.session().ring.index();
        std::optional<smartwin::ActionAtFirstPump> close;
        if (inBacktest) {
            close.emplace(f.calc.get(), [w] { w->close(); });
        } else {
            QTimer::singleShot(50, w.data(), [w] {
                testsupport::Press(w, QStringLiteral("Command2"));
                w->close();
            });
        }
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(w, QStringLiteral("Command2"));
        const int backtestPumps = close ? close->pumps : 0;
        close.reset();

        ASSERT_EQ(messages.messages.size(), 1) << messages.lastText().toStdString();
        EXPECT_TRUE(messages.messages[0].text.startsWith(QStringLiteral("此步骤将以[")));
        EXPECT_EQ(f.server.requestCount(QStringLiteral("/3d/3d.xml")), 1);
        if (inBacktest) {
            EXPECT_EQ(backtestPumps, 1) << "the backtest ends at the stop mark";
            EXPECT_TRUE(f.calc.get().summary().empty());
        } else {
            EXPECT_EQ(f.server.waitForDelayedEnd(QStringLiteral("/3d/3d.xml")),
                      testsupport::HttpServer::DelayedEnd::Abandoned)
                << "the download is abandoned, not waited for";
        }
        EXPECT_EQ(f.bench.session().pool, poolBefore);
        EXPECT_EQ(f.bench.session().log.text(), logBefore);
        EXPECT_EQ(f.bench.session().ring.index(), slotBefore);
        EXPECT_TRUE(f.bench.logBox()->isVisibleTo(&f.bench));
        ASSERT_FALSE(w.isNull());
        EXPECT_TRUE(w->isHidden());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull());
    }
}

TEST(SmartSystemWindowTest, CancelDuringTheDownloadStopsTheRunAndKeepsTheWindow) {
    SmartSystemFixture f;
    f.server.setResponse(QStringLiteral("/3d/3d.xml"), {.body = SchemeListXml(SchemeRecords()), .delayMs = 8000});
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    const QString labelBefore = w.findChild<QLabel*>(QStringLiteral("Label14"))->text();
    QTimer::singleShot(50, &w, [&w] { testsupport::Press(&w, QStringLiteral("Command1")); });
    ui::MessageRecorder messages(ui::Answer::Yes);
    testsupport::Press(&w, QStringLiteral("Command2"));
    EXPECT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label14"))->text(), labelBefore);
    // The next 确定 runs in full once the list answers at once.
    f.server.serve(QStringLiteral("/3d/3d.xml"), SchemeListXml(SchemeRecords()));
    testsupport::Press(&w, QStringLiteral("Command2"));
    EXPECT_EQ(messages.messages.size(), 3);
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("Label14"))->text().startsWith(QStringLiteral("福彩3D第2020601期")));
}

// A hostile scheme list whose every condition runs into the engine's 10 s limit: the window
// keeps painting, a progress box with 取消 comes up, and 取消 ends the run at once with the
// workbench's numbers, log and undo ring as they were.
TEST(SmartSystemWindowTest, HostileSchemesCancelFromTheProgressBox) {
    SmartSystemFixture f;
    QStringList records;
    for (const QString& sideRank : {QStringLiteral("左3"), QStringLiteral("右2")}) {
        QString r = calcfixture::Record(calcfixture::Condition(QStringLiteral("True Then\r\nDo\r\nLoop\r\nEnd If\r\nIf True")),
                                        sideRank, 1, 5);
        records << r.replace(QStringLiteral("\r"), QStringLiteral("&#13;")).replace(QStringLiteral("\n"), QStringLiteral("&#10;"));
    }
    f.server.serve(QStringLiteral("/3d/3d.xml"), SchemeListXml(records));
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    const QString labelBefore = w.findChild<QLabel*>(QStringLiteral("Label14"))->text();
    const pool::NumberPool poolBefore = f.bench.session().pool;
    const QString logBefore = f.bench.session().log.text();
    const int slotBefore = f.bench.session().ring.index();

    // 取消 once the box is up and the conditions have run a while on another thread than the
    // window's, whose loop kept turning; conditions run on the window's thread never get there.
    testsupport::TickWatch watch;
    bool pressed = false;
    watch.onTick = [&] {
        QProgressDialog* box = testsupport::ProgressBoxOf(&w);
        if (pressed || !box || !box->isVisible() || watch.awayCpuMs() < 100) return;
        pressed = true;
        QPushButton* cancel = box->findChild<QPushButton*>();
        if (!cancel || !cancel->isEnabled()) {
            ADD_FAILURE() << "the progress box has no usable 取消";
            w.close();  // ends the run rather than waiting for every evaluation's limit
            return;
        }
        ASSERT_TRUE(testsupport::PressProgressCancel(&w));
    };
    ui::MessageRecorder messages(ui::Answer::Yes);
    testsupport::Press(&w, QStringLiteral("Command2"));
    ASSERT_TRUE(pressed) << "no progress box came up while the conditions ran away";
    // Had 取消 not reached the running evaluation, it would have run into the engine's limit and
    // said so: the question stays the only message.
    ASSERT_EQ(messages.messages.size(), 1) << messages.lastText().toStdString();
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label14"))->text(), labelBefore);
    EXPECT_EQ(f.bench.session().pool, poolBefore);
    EXPECT_EQ(f.bench.session().log.text(), logBefore);
    EXPECT_EQ(f.bench.session().ring.index(), slotBefore);
    EXPECT_EQ(testsupport::ProgressBoxOf(&w), nullptr);
    EXPECT_TRUE(w.isEnabled());
}

// The help marks of the smart window and the older selection are painted pictures, and a
// click on the smart window's mark still shows and hides its tip.
TEST(SmartSystemWindowTest, HelpMarksArePictures) {
    SmartSystemFixture f;
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    OlderSmartSelection old(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    for (QLabel* mark : {w.findChild<QLabel*>(QStringLiteral("Image1")), old.findChild<QLabel*>(QStringLiteral("Image1"))}) {
        SCOPED_TRACE(mark->window()->objectName().toStdString());
        EXPECT_TRUE(mark->text().isEmpty());
        const QImage image = mark->pixmap().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_GT(image.pixelColor(image.width() / 4, image.height() / 2).alpha(), 0);
        EXPECT_FALSE(mark->accessibleName().isEmpty());
    }
    QLabel* tip = w.findChild<QLabel*>(QStringLiteral("Label12"));
    EXPECT_TRUE(tip->isHidden());
    testsupport::ClickOn(testsupport::Find<QLabel>(&w, QStringLiteral("Image1")));
    EXPECT_FALSE(tip->isHidden());
    testsupport::ClickOn(testsupport::Find<QLabel>(&w, QStringLiteral("Image1")));
    EXPECT_TRUE(tip->isHidden());
}

// The tip the help mark shows is read whole: inside the window, tall enough for all its text,
// and above the 智能选号操作方法 box and every other control it covers.
TEST(SmartSystemWindowTest, HelpMarksTipIsWholeOnScreen) {
    SmartSystemFixture f;
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    QLabel* tip = w.findChild<QLabel*>(QStringLiteral("Label12"));
    testsupport::ClickOn(w.findChild<QLabel*>(QStringLiteral("Image1")));
    ASSERT_FALSE(tip->isHidden());
    EXPECT_TRUE(w.rect().contains(tip->geometry())) << tip->geometry().bottom() << " " << tip->geometry().right();
    EXPECT_GE(tip->height(), tip->heightForWidth(tip->width()));
    EXPECT_TRUE(tip->text().endsWith(QStringLiteral("会收到事半功倍的效果。")));
    const QObjectList stack = w.children();  // the last is on top
    for (QObject* child : stack) {
        auto* control = qobject_cast<QWidget*>(child);
        if (!control || control == tip || control->isHidden() || control->isWindow()) continue;
        if (control->geometry().intersects(tip->geometry())) {
            EXPECT_LT(stack.indexOf(control), stack.indexOf(tip)) << control->objectName().toStdString();
        }
    }
    testsupport::ClickOn(w.findChild<QLabel*>(QStringLiteral("Image1")));
    EXPECT_TRUE(tip->isHidden());
}

// The lottery options switch the workbench through its typed operation; a run hides and shows
// the workbench's log through it too.
TEST(SmartSystemWindowTest, LotteryOptionsAndLogGoThroughTheWorkbenchOperations) {
    SmartSystemFixture f;
    SmartSystemWindow w(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    testsupport::Press(&w, QStringLiteral("Option2"));
    testsupport::Press(&w, QStringLiteral("Option1"));
    EXPECT_EQ(f.bench.lotteries, QList<bool>({true, false}));
    f.bench.show();
    smart::ShowWorkbenchLog(&f.bench, false);
    EXPECT_TRUE(f.bench.logBox()->isHidden());
    smart::ShowWorkbenchLog(&f.bench, true);
    EXPECT_FALSE(f.bench.logBox()->isHidden());
}

// The workbench's 智能选号 opens the window its opener owns: 取消 keeps it loaded for the next
// opening, its close box unloads it, the next opening loads a fresh one, and the opener takes
// the window with it at the program's end.
TEST(SmartSystemWindowTest, OpenerKeepsTheWindowUntilItsCloseBox) {
    SmartSystemFixture f;
    testsupport::HookReset<&ui::SetModalHandler> modalReset;
    QList<QDialog*> shown;
    ui::SetModalHandler([&shown](QDialog* d) {
        shown << d;
        return int(QDialog::Rejected);
    });
    QPointer<SmartSystemWindow> last;
    {
        SmartSystemOpener opener(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
        EXPECT_EQ(opener.window(), nullptr);
        opener.open();
        QPointer<SmartSystemWindow> first = opener.window();
        ASSERT_FALSE(first.isNull());
        testsupport::Press(first, QStringLiteral("Command1"));  // 取消 hides it and keeps it
        opener.open();
        EXPECT_EQ(opener.window(), first.data());
        ASSERT_EQ(shown, QList<QDialog*>({first.data(), first.data()}));

        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(first.isNull());
        EXPECT_EQ(opener.window(), nullptr);
        opener.open();
        last = opener.window();
        ASSERT_FALSE(last.isNull());
        EXPECT_EQ(shown.size(), 3);
        EXPECT_EQ(shown.last(), last.data());
    }
    EXPECT_TRUE(last.isNull());
}

// The window works on the state it is given, not on the program's: another lottery and a
// history too short for a computation are what it shows and refuses, and with no workbench
// given it leaves the open one alone and cuts a pool of its own.
TEST(SmartSystemWindowTest, WorksOnTheStateAndWorkbenchItIsGiven) {
    SmartSystemFixture f;
    common::AppState given;
    given.selectLottery(true, common::DrawFilePathFor(true), smartwin::HistoryOf(f.numbers.mid(0, 499)));
    SmartSystemWindow w(smart::SmartContext{&given, {}, &f.calc});
    EXPECT_TRUE(w.findChild<QRadioButton*>(QStringLiteral("Option2"))->isChecked());
    EXPECT_EQ(w.schemeListUrl(), f.server.url(QStringLiteral("/3d/p3.xml")));
    {
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(&w, QStringLiteral("Command2"));
        ASSERT_EQ(messages.messages.size(), 1);
        EXPECT_EQ(messages.messages[0].text, smart::ShortHistoryMessage(500));
    }
    // The program's state is what the test fixture made: 福彩3D, 600 draws.
    given.selectLottery(false, common::DrawFilePathFor(false), f.app.history());
    const QString logBefore = f.bench.session().log.text();
    const pool::NumberPool poolBefore = f.bench.session().pool;
    testsupport::Press(&w, QStringLiteral("Option1"));  // no workbench to switch: the window follows the state
    EXPECT_TRUE(w.findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    EXPECT_EQ(f.bench.lotteries, QList<bool>());
    w.computeScheme(given.history().count(), 0);
    EXPECT_FALSE(w.numberPool().empty());
    EXPECT_EQ(f.bench.session().pool, poolBefore);
    EXPECT_EQ(f.bench.session().log.text(), logBefore);
}
