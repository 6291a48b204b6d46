// The scheme-list generator's selection: per side and rank the line with the fewest errors among
// the ranks that named a digit in at least 90% of the verified periods, ties to fewer NULL, the
// earlier built-in scheme, the smaller cycle count; the runner-up goes into the test list.
#include "smart/calculator.h"
#include "testsupport.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QString Line(int errors, int nulls, int scheme, const char* sideRank, int cycle) {
    return QStringLiteral("3D错误：%1  NULL：%2|公式：").arg(errors, 2, 10, QLatin1Char('0')).arg(nulls, 2, 10, QLatin1Char('0')) +
           smart::BuiltInConditions().at(scheme) + QLatin1Char('|') + QString::fromUtf8(sideRank) +
           QStringLiteral("|码7|第2026268期，验证100期，周期%1.txt").arg(cycle, 3, 10, QLatin1Char('0'));
}

QStringList Records(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("(missing)")};
    return smart::ParseSchemeListXml(f.readAll()).records;
}

}  // namespace

TEST(SchemeListTool, PicksTheBestLineOfEverySideAndRank) {
    const QString right3 = Line(40, 0, 0, "右3", 10);
    const QString best = Line(30, 0, 2, "左0", 10);
    const QString second = Line(30, 0, 2, "左0", 20);  // same scheme, longer cycle
    const QStringList lines = {
        right3,
        Line(30, 0, 5, "左0", 10),   // later scheme
        second,
        Line(20, 11, 0, "左0", 10),  // fewest errors, but silent in 11% of the periods
        Line(30, 1, 0, "左0", 10),   // one NULL more
        best,
    };
    testsupport::ProgramDir dir;
    dir.write(QStringLiteral("lines.txt"), lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(SIFMORA_SCHEMELISTS_TOOL),
            {QStringLiteral("select"), dir.file(QStringLiteral("3d.xml")), dir.file(QStringLiteral("T_3d.xml")),
             dir.file(QStringLiteral("lines.txt"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
    EXPECT_EQ(Records(dir.file(QStringLiteral("3d.xml"))), (QStringList{best, right3}));
    EXPECT_EQ(Records(dir.file(QStringLiteral("T_3d.xml"))), QStringList{second});

    // Something that is no report line is refused and no list is written.
    dir.write(QStringLiteral("bad.txt"), "3D错误：xx\n");
    p.start(QStringLiteral(SIFMORA_SCHEMELISTS_TOOL),
            {QStringLiteral("select"), dir.file(QStringLiteral("p3.xml")), dir.file(QStringLiteral("T_p3.xml")),
             dir.file(QStringLiteral("bad.txt"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("p3.xml"))));
}
