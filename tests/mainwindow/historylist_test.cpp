#include "common/appstate.h"
#include "history/drawfile.h"
#include "mainwindow/historylist.h"
#include "testsupport.h"

#include <gtest/gtest.h>

using namespace mainwindow;

namespace {
// Display columns in a fixed-pitch font where CJK characters, U+3000 and "■" take two.
int Columns(const QString& s) {
    int n = 0;
    for (QChar c : s) n += c.unicode() >= 0x2E80 || c == QChar(0x25A0) ? 2 : 1;
    return n;
}
}  // namespace

TEST(HistoryList, LinesOfTheExampleDraws) {
    const QString gap = QStringLiteral("  \u3000");
    struct Case {
        const char* draw;
        QString rest;
    } cases[] = {
        {"2024001 123", "6     2     120    2      水火木   ■■■   质质质   奇■奇   ■■"},
        {"2024002 550", "10    5     220    2      土土土   大大■   质质■   奇奇■   组三"},
        {"2024003 777", "21    0     111    1      火火火   大大大   质质质   奇奇奇   组三"},
        {"2024004 096", "15    9     000    3      土金水   ■大大   ■■■   ■奇■   ■■"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HistoryLine(QString::fromLatin1(c.draw)), QString::fromLatin1(c.draw) + gap + c.rest + "\r\n") << c.draw;
}

TEST(HistoryList, ColumnsLineUpUnderTheHeader) {
    // A one-digit sum is padded so the span starts in the same column; every line is equally wide.
    const QString one = HistoryLine("2024001 123"), two = HistoryLine("2024002 550");
    EXPECT_EQ(Columns(one.left(18)), Columns(two.left(18)));
    EXPECT_EQ(one.at(20), QLatin1Char('2'));
    EXPECT_EQ(two.at(20), QLatin1Char('5'));
    for (const char* d : {"2024001 000", "2024001 999", "2024001 096", "2024001 550"})
        EXPECT_EQ(Columns(HistoryLine(d)), Columns(one)) << d;
    // The header names the columns at the places the values stand.
    const QString header = HistoryHeaderText();
    EXPECT_EQ(Columns(header.left(header.indexOf(QStringLiteral("和值")))), Columns(one.left(14)));
    EXPECT_EQ(Columns(header.left(header.indexOf(QStringLiteral("五行")))), Columns(one.left(one.indexOf(QStringLiteral("水火木")))));
}

TEST(HistoryList, RangeAndEmptyRange) {
    const QStringList draws = {"2024001 123", "2024002 550", "2024003 777"};
    EXPECT_EQ(BuildHistoryText(draws, 1, 2), HistoryLine(draws[1]) + HistoryLine(draws[2]) + "\r\n");
    EXPECT_EQ(BuildHistoryText(draws, 0, -1), QStringLiteral("\r\n"));
    EXPECT_EQ(BuildHistoryText({}, 0, -1), QStringLiteral("\r\n"));
    // A range beyond the history (changed history, stale range) never reads past it.
    EXPECT_EQ(BuildHistoryText(draws, 2, 50), HistoryLine(draws[2]) + "\r\n");
    int calls = 0;
    BuildHistoryText(draws, 0, 2, [&] { return ++calls < 2; });
    EXPECT_EQ(calls, 2);  // stopped when asked
}

TEST(HistoryList, LabelText) {
    EXPECT_EQ(HistoryLabelText(false, 500), QStringLiteral(".福利3D共开奖500期"));
    EXPECT_EQ(HistoryLabelText(true, 0), QStringLiteral(".体彩排列3共开奖0期"));
}

TEST(HistoryList, RealHistoryHasOneLinePerDraw) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    QStringList draws;
    ASSERT_TRUE(history::ReadDrawFile(testsupport::SharedFile("data/HAO.TXT"), &draws));
    ASSERT_EQ(draws.size(), 7774);
    const QString text = BuildHistoryText(draws, 0, int(draws.size()) - 1);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7774 + 2);  // the extra line break and the end
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("2004001 070")));
    EXPECT_TRUE(lines[7773].startsWith(QStringLiteral("2026267 857")));
    EXPECT_TRUE(lines[7773].endsWith(QStringLiteral("■■")));
}
