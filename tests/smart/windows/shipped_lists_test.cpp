// The scheme lists of the home folder that ships with the program: they load through the
// calculator's loader, and the smart system runs from them on the shipped history.
#include "programsmartcontext.h"
#include "presses.h"
#include "common/appstate.h"
#include "history/drawfile.h"
#include "platform/ui/messagebox.h"
#include "smart/windows/calculatorhost.h"
#include "smart/windows/smartsystemwindow.h"
#include "smart/windows/schemecalculatorwindow.h"
#include "hookreset.h"
#include "testsupport.h"
#include "fakeworkbench.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

namespace {

const QString kSource = QStringLiteral(SIFMORA_SOURCE_DIR);

QString HomeAddress() { return QUrl::fromLocalFile(kSource + QStringLiteral("/home")).toString(QUrl::FullyEncoded); }

}  // namespace

TEST(ShippedSchemeLists, LoadAsRecordsOfTheirLottery) {
    struct Case {
        const char* path;
        const char* tag;
    } cases[] = {{"/3d/3d.xml", "3D错误："}, {"/3d/T_3d.xml", "3D错误："}, {"/3d/p3.xml", "P3错误："}, {"/3d/T_p3.xml", "P3错误："}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        smart::SchemeCalculator calc;
        calc.loadSchemeList(HomeAddress() + QString::fromLatin1(c.path));
        EXPECT_TRUE(calc.lastError().isEmpty()) << calc.lastError().toStdString();
        // One record per side and rank at most, so the summary's letters stay within A..Z.
        ASSERT_GE(calc.schemes().size(), 10);
        EXPECT_LE(calc.schemes().size(), 20);
        QSet<QString> sideRanks;
        for (const QString& line : calc.schemes()) {
            smart::SchemeRecord r;
            QString why;
            ASSERT_TRUE(smart::ParseSchemeRecord(line, &r, &why)) << line.toStdString() << why.toStdString();
            EXPECT_TRUE(line.startsWith(QString::fromUtf8(c.tag))) << line.toStdString();
            EXPECT_TRUE(smart::BuiltInConditions().contains(r.condition)) << line.toStdString();
            EXPECT_FALSE(sideRanks.contains(r.sideRank)) << line.toStdString();
            sideRanks.insert(r.sideRank);
            EXPECT_GT(r.verifyPeriods, 0);
            EXPECT_GT(r.cycleCount, 0);
        }
    }
}

// 确定 of the smart system with nothing set up: the default home folder of the program folder,
// the shipped history and list of the lottery. Every scheme gets its kill digit.
namespace {

void ExpectSmartRunFromShippedList(bool p3) {
    testsupport::ProgramDir dir;
    testsupport::EnvVar home("SIFMORA_HOME_URL", QString());
    const QString drawFile = p3 ? QStringLiteral("HAOP3.TXT") : QStringLiteral("HAO.TXT");
    const QString list = p3 ? QStringLiteral("home/3d/p3.xml") : QStringLiteral("home/3d/3d.xml");
    ASSERT_TRUE(QFile::copy(kSource + QStringLiteral("/data/") + drawFile, dir.file(drawFile)));
    QDir().mkpath(dir.file(QStringLiteral("home/3d")));
    ASSERT_TRUE(QFile::copy(kSource + QLatin1Char('/') + list, dir.file(list)));
    QStringList draws;
    ASSERT_TRUE(history::ReadDrawFile(dir.file(drawFile), &draws));
    ASSERT_EQ(draws.size(), p3 ? 7742 : 7774);
    common::AppState app;  // outlives the workbench and the window handed it
    app.selectLottery(p3, common::DrawFilePathFor(p3), common::DrawHistory(draws));
    FakeWorkbench bench{app};
    bench.commit({QStringLiteral("012")}, QStringLiteral("\n大底共1注\n"));

    smart::SmartCalculator calc;
    SmartSystemWindow w(testsupport::ProgramSmartContext(app, &bench, &calc));
    ui::MessageRecorder messages(ui::Answer::Yes);
    testsupport::Press(&w, QStringLiteral("Command2"));
    ASSERT_EQ(messages.messages.size(), 2) << messages.lastText().toStdString();
    EXPECT_FALSE(calc.get().schemes().isEmpty());
    EXPECT_GE(calc.get().summary().size(), 4u);
    const QString line = w.findChild<QLabel*>(QStringLiteral("Label14"))->text();
    const QRegularExpression result((p3 ? QStringLiteral("^体彩排列3") : QStringLiteral("^福彩3D")) +
                                    QStringLiteral("第2026268期  方案一杀码\\d 方案二杀码\\d 方案三杀码\\d 方案四杀码\\d$"));
    EXPECT_TRUE(result.match(line).hasMatch()) << line.toStdString();
}

}  // namespace

TEST(ShippedSchemeLists, SmartRunKillsDigitsOn3D) { ExpectSmartRunFromShippedList(false); }
TEST(ShippedSchemeLists, SmartRunKillsDigitsOnP3) { ExpectSmartRunFromShippedList(true); }
