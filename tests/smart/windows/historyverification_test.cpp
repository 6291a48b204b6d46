// The history verification window over a small fixture history: rows, cells, summary, the
// stop, and the workbench after each.
#include "programsmartcontext.h"
#include "presses.h"
#include "common/appstate.h"
#include "common/settings.h"
#include "httpserver.h"
#include "platform/ui/messagebox.h"
#include "smart/calculator.h"
#include "smart/windows/calculatorhost.h"
#include "smart/windows/smartsystemwindow.h"
#include "smart/windows/historyverificationwindow.h"
#include "smart/killdigits.h"
#include "smart/verificationtexts.h"
#include "smart/windows/schemecalculatorwindow.h"
#include "hookreset.h"
#include "legibility.h"
#include "testsupport.h"
#include "fakeworkbench.h"
#include "fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

namespace {

QByteArray VerificationSchemeXml() {
    QString r = calcfixture::Record(calcfixture::Condition(QStringLiteral("a(1) < a(2)")), QStringLiteral("左3"), 1, 5);
    r.replace(QLatin1Char('<'), QLatin1Char('['));
    return "<list><f v=\"" + r.toUtf8() + "\"/></list>";
}

// 503 draws, the last three chosen: a triple, a pair, three different digits.
struct VerificationFixture {
    VerificationFixture() {
        numbers = calcfixture::MixedHistory(500);
        numbers << QStringLiteral("222") << QStringLiteral("151") << QStringLiteral("721");
        dir.write(QStringLiteral("HAO.TXT"), calcfixture::DrawFileBytes(numbers));
        smartwin::UseHistory(app, numbers);
        server.serve(QStringLiteral("/3d/3d.xml"), VerificationSchemeXml());
        bench.commit({QStringLiteral("123"), QStringLiteral("456")}, QStringLiteral("\n大底共2注\n"));
    }
    common::AppState app;  // first: outlives the workbench and the windows handed it
    testsupport::ProgramDir dir;
    QStringList numbers;
    testsupport::HttpServer server;
    testsupport::EnvVar home{"SIFMORA_HOME_URL", server.baseUrl()};
    FakeWorkbench bench{app};
    smart::SmartCalculator calc;  // the smart windows', handed in through their context
};

}  // namespace

TEST(HistoryVerificationWindowTest, VerifiesTheLatestDrawsAndRestoresTheWorkbench) {
    VerificationFixture f;
    SmartSystemWindow smartWindow(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    smartWindow.findChild<QComboBox*>(QStringLiteral("Combo3"))->setCurrentIndex(2);  // 3个
    HistoryVerificationWindow w(&smartWindow);
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("10"));
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("Combo1"))->count(), 300);
    const pool::NumberPool poolBefore = f.bench.session().pool;
    const QString logBefore = f.bench.session().log.text();

    // More draws than the history can give 500 draws before each: refused with the limit.
    w.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(3);  // 4
    {
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(&w, QStringLiteral("Command2"));
        ASSERT_EQ(messages.messages.size(), 1);
        EXPECT_TRUE(messages.lastText().contains(QStringLiteral("最多只能验证3期")));
        EXPECT_EQ(f.server.requestCount(QStringLiteral("/3d/3d.xml")), 0);
    }

    w.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(2);  // 3
    ui::MessageRecorder messages(ui::Answer::Yes);
    // While it runs, the row being verified is in sight in a list too short for all rows, and
    // the count says how far the run is.
    QTreeWidget* shownList = w.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    const int listHeight = shownList->height();
    shownList->resize(shownList->width(), 70);
    w.show();
    smart::RunHost& hooks = f.calc.get().runHost();
    const std::function<void()> pumpBefore = hooks.processEvents;
    QStringList seen;
    hooks.processEvents = [&] {
        const int rows = shownList->topLevelItemCount();
        const QRect newest = shownList->visualItemRect(shownList->topLevelItem(rows - 1));
        const bool inSight = shownList->viewport()->rect().contains(newest);
        const QString entry = QStringLiteral("%1 %2 %3").arg(rows).arg(inSight).arg(w.findChild<QLabel*>(QStringLiteral("Label1"))->text());
        if (seen.isEmpty() || seen.last() != entry) seen << entry;
        pumpBefore();
    };
    testsupport::Press(&w, QStringLiteral("Command2"));
    hooks.processEvents = pumpBefore;
    shownList->resize(shownList->width(), listHeight);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("1 1 ") + smart::VerifyProgress(0, 3),
                                 QStringLiteral("2 1 ") + smart::VerifyProgress(1, 3),
                                 QStringLiteral("3 1 ") + smart::VerifyProgress(2, 3)}));
    EXPECT_EQ(smart::VerifyProgress(2, 3), QStringLiteral("已验证2/3期，正在验证第3期"));
    ASSERT_EQ(messages.messages.size(), 2);
    EXPECT_EQ(messages.messages[0].title, QStringLiteral(" 历史验证"));
    EXPECT_EQ(messages.messages[1].text, QStringLiteral("历史成绩验证完成！"));

    const QTreeWidget* list = w.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_EQ(list->topLevelItemCount(), 3);
    const QStringList issues{QStringLiteral("2020501"), QStringLiteral("2020502"), QStringLiteral("2020503")};
    const QStringList remarks{QStringLiteral("豹子"), QStringLiteral("本期开组三"), QString()};
    const QRegularExpression cell(QStringLiteral("^杀码\\d*\\|(正确|××)$"));
    std::array<int, 4> hits{};
    for (int r = 0; r < 3; ++r) {
        const QTreeWidgetItem* row = list->topLevelItem(r);
        EXPECT_EQ(row->text(0), issues[r]);
        EXPECT_EQ(row->text(1), f.numbers[500 + r]);
        EXPECT_EQ(row->text(6), remarks[r]);
        for (int k = 0; k < 4; ++k) {
            EXPECT_TRUE(cell.match(row->text(2 + k)).hasMatch()) << row->text(2 + k).toStdString();
            if (row->text(2 + k) == QStringLiteral("杀码|正确")) ADD_FAILURE() << "no kill digits never hits";
            if (row->text(2 + k).endsWith(QStringLiteral("|正确"))) ++hits[size_t(k)];
        }
    }
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(), smart::VerifySummary(hits));
    // Every column, 备注 included, in sight with the rows filled.
    EXPECT_EQ(testsupport::LegibilityProblems(&w), QStringList());

    // The last row's cells agree with a fresh computation for its base.
    const QList<int> summary = f.calc.get().killDigits();
    for (int k = 0; k < 4; ++k) {
        pool::NumberPool made;
        QString log;
        const QString code = smart::ComputeKillDigits(f.app.history(), 502, {k, 0, 0, 3},
                                                      summary, made, log);
        EXPECT_EQ(list->topLevelItem(2)->text(2 + k), smart::VerifyCell(code, smart::VerifyHit(code, made, QStringLiteral("127"))));
    }

    EXPECT_EQ(f.bench.session().pool, poolBefore);
    EXPECT_EQ(f.bench.session().log.text(), logBefore);
    EXPECT_EQ(common::SettingSmartScheme(), 3);
    EXPECT_EQ(common::GetSetting(QStringLiteral("zl")), QStringLiteral("3"));

    // The copy: no header, no remark column.
    testsupport::DoubleClickOn(testsupport::Find<QTabWidget>(&w, QStringLiteral("SSTab1"))->tabBar());
    const QStringList lines = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("2020501   222  杀码")));
    EXPECT_FALSE(lines[0].contains(QStringLiteral("豹子")));
}

TEST(HistoryVerificationWindowTest, StopDuringARunDropsTheWindowAndRestoresTheWorkbench) {
    VerificationFixture f;
    SmartSystemWindow smartWindow(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    // 取消 pressed while the scheme list downloads, or inside the first draw's backtest.
    for (bool inBacktest : {false, true}) {
        SCOPED_TRACE(inBacktest ? "backtest" : "download");
        QPointer<HistoryVerificationWindow> w = new HistoryVerificationWindow(&smartWindow);
        w->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(2);
        const pool::NumberPool poolBefore = f.bench.session().pool;
        const QString logBefore = f.bench.session().log.text();
        std::optional<smartwin::ActionAtFirstPump> stop;
        if (inBacktest)
            stop.emplace(f.calc.get(), [w] { testsupport::Press(w, QStringLiteral("Command1")); });
        else
            QTimer::singleShot(0, w.data(), [w] { testsupport::Press(w, QStringLiteral("Command1")); });
        ui::MessageRecorder messages(ui::Answer::Yes);
        testsupport::Press(w, QStringLiteral("Command2"));
        const int backtestPumps = stop ? stop->pumps : 0;
        stop.reset();
        EXPECT_EQ(messages.messages.size(), 1);  // the question only: no summary, no message
        if (inBacktest) {
            EXPECT_EQ(backtestPumps, 1) << "the backtest ends at the stop mark";
            EXPECT_TRUE(f.calc.get().summary().empty());
        }
        EXPECT_EQ(f.bench.session().pool, poolBefore);
        EXPECT_EQ(f.bench.session().log.text(), logBefore);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull());
    }
}

TEST(SmartVerificationTexts, RemarksCellsAndCopyLines) {
    EXPECT_EQ(smart::VerifyRemark(QStringLiteral("222")), QStringLiteral("豹子"));
    EXPECT_EQ(smart::VerifyRemark(QStringLiteral("115")), QStringLiteral("本期开组三"));
    EXPECT_EQ(smart::VerifyRemark(QStringLiteral("202")), QStringLiteral("本期开组三"));
    EXPECT_EQ(smart::VerifyRemark(QStringLiteral("721")), QString());
    EXPECT_EQ(smart::OldVerifyRemark(QStringLiteral("222")), QStringLiteral("本期开组三"));
    EXPECT_EQ(smart::GroupNumberOf(QStringLiteral("202")), QStringLiteral("022"));
    EXPECT_FALSE(smart::VerifyHit(QString(), {QStringLiteral("022")}, QStringLiteral("022")));
    EXPECT_TRUE(smart::VerifyHit(QStringLiteral("4"), {QStringLiteral("022")}, QStringLiteral("022")));
    EXPECT_EQ(smart::VerifyCell(QStringLiteral("47"), true), QStringLiteral("杀码47|正确"));
    EXPECT_EQ(smart::VerifyCell(QString(), false), QStringLiteral("杀码|××"));
    const QString line = smart::VerifyCopyLine(QStringLiteral("2006219"), QStringLiteral("202"),
                                               {QStringLiteral("杀码47|正确"), QStringLiteral("杀码|××"),
                                                QStringLiteral("杀码1|××"), QStringLiteral("杀码9|正确")});
    const auto blanks = [](int n) { return QString(n, QLatin1Char(' ')); };
    EXPECT_EQ(line, QStringLiteral("2006219") + blanks(3) + QStringLiteral("202") + blanks(2) + QStringLiteral("杀码47|正确") +
                        blanks(6) + QStringLiteral("杀码|××") + blanks(10) + QStringLiteral("杀码1|××") + blanks(8) +
                        QStringLiteral("杀码9|正确\r\n"));
    EXPECT_EQ(smart::VerifySummary({1, 0, 2, 3}), QStringLiteral("方案一中1次 方案二中0次 方案三中2次 方案四中3次 "));
}

TEST(HistoryVerificationWindowTest, SmartWindowStaysWhileAStoppedVerificationUnwinds) {
    VerificationFixture f;
    QPointer<SmartSystemWindow> smartWindow = new SmartSystemWindow(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    {
        testsupport::HookReset<&ui::SetModalHandler> modalReset;
        ui::SetModalHandler([](QDialog*) { return 0; });
        testsupport::Press(smartWindow, QStringLiteral("Command3"));
    }
    QPointer<HistoryVerificationWindow> w = smartWindow->verificationWindow();
    ASSERT_FALSE(w.isNull());
    w->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(0);
    // 取消 while the scheme list downloads gives the user the smart window back; its close box
    // must not unload it (and the verification window with it) under the running handler.
    bool closed = true;
    QTimer::singleShot(0, w.data(), [&] {
        testsupport::Press(w, QStringLiteral("Command1"));
        closed = smartWindow->close();
    });
    ui::MessageRecorder messages(ui::Answer::Yes);
    testsupport::Press(w, QStringLiteral("Command2"));
    EXPECT_FALSE(closed);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(smartWindow.isNull());
    EXPECT_TRUE(w.isNull());
    // Once nothing runs, the close box unloads it as before.
    EXPECT_TRUE(smartWindow->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(smartWindow.isNull());
}

TEST(HistoryVerificationWindowTest, StopAbandonsASlowSchemeListDownload) {
    VerificationFixture f;
    constexpr int kServerDelayMs = 8000;
    f.server.setResponse(QStringLiteral("/3d/3d.xml"), {.body = VerificationSchemeXml(), .delayMs = kServerDelayMs});
    SmartSystemWindow smartWindow(testsupport::ProgramSmartContext(f.app, &f.bench, &f.calc));
    QPointer<HistoryVerificationWindow> w = new HistoryVerificationWindow(&smartWindow);
    w->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(2);
    QTimer::singleShot(50, w.data(), [w] { w->close(); });
    ui::MessageRecorder messages(ui::Answer::Yes);
    testsupport::Press(w, QStringLiteral("Command2"));
    EXPECT_EQ(f.server.waitForDelayedEnd(QStringLiteral("/3d/3d.xml")), testsupport::HttpServer::DelayedEnd::Abandoned)
        << "the download is abandoned, not waited for";
    EXPECT_EQ(messages.messages.size(), 1);
    EXPECT_EQ(f.server.requestCount(QStringLiteral("/3d/3d.xml")), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}
