#include "common/drawhistory.h"
#include "historyof.h"
#include "common/textwidth.h"
#include "mainwindow/analysis/analyses.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace analysis;

namespace {

const QString kPatternHeader = QStringLiteral(
    "类别    开出次数   开出概率  平均遗漏   最大遗漏  上期遗漏  本期遗漏  出号几率");
const QString kValueHeader = QStringLiteral(
    "类别  开出次数   开出概率  平均遗漏   最大遗漏  上期遗漏  本期遗漏  出号几率");
const QString kSingleDigitHeader = QStringLiteral(
    "位置  单码 开出次数  开出概率 平均遗漏  最大遗漏  上期遗漏  本期遗漏  出号几率");

// A history of the given numbers with issues 2024001, 2024002, ...

AnalysisTable RunAll(AnalysisKind kind, const common::DrawHistory& h) {
    return RunAnalysis(kind, h, 0, h.count() - 1);
}

// The category lines of a table (header and empty lines dropped), without their CR LF.
QStringList Rows(const QString& text) {
    QStringList rows = text.split(QStringLiteral("\r\n"));
    rows.removeFirst();  // header
    rows.removeAll(QString());
    return rows;
}

// The measure cells of the row whose leading blank-separated words are `label`.
QStringList Cells(const QString& text, const QString& label) {
    const QStringList words = label.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& row : Rows(text)) {
        QStringList cells = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (cells.mid(0, words.size()) == words)
            return cells.mid(words.size());
    }
    return {};
}

QStringList Measures(std::initializer_list<const char*> cells) {
    QStringList list;
    for (const char* c : cells)
        list << QString::fromUtf8(c);
    return list;
}

// Columns at which the blank-separated words of a line start (CJK counted twice).
QList<int> WordColumns(const QString& line) {
    QList<int> columns;
    for (int i = 0; i < line.size(); ++i)
        if (line.at(i) != QLatin1Char(' ') && (i == 0 || line.at(i - 1) == QLatin1Char(' ')))
            columns << common::DisplayWidth(QStringView(line).left(i));
    return columns;
}

const AnalysisKind kAllKinds[] = {
    AnalysisKind::PrimeComposite, AnalysisKind::Sum, AnalysisKind::OddEven,
    AnalysisKind::BigMiddleSmall, AnalysisKind::BigSmall, AnalysisKind::Span,
    AnalysisKind::Pair, AnalysisKind::SumTail, AnalysisKind::SingleDigit,
    AnalysisKind::StraightRoute, AnalysisKind::GroupRoute, AnalysisKind::Straight1234,
    AnalysisKind::Group1234,
};

}  // namespace

TEST(AnalysisTables, SumTailTableExactText) {
    // Tails 0, 7, 2, 0: tail 0 comes twice with a gap of 2, most tails never.
    const auto h = testsupport::HistoryOf({"000", "179", "264", "190"});
    const AnalysisTable t = SumTailAnalysis(h, 0, 3);
    EXPECT_EQ(t.title, QStringLiteral("(合值分析 2024001-2024004)"));
    const QString never = QStringLiteral("0          0.00%     0.0        0         0         4         0.00\r\n");
    const QString expected =
        kValueHeader + "\r\n\r\n" +
        QStringLiteral(" 0    2          50.00%    2.0        2         2         0         0.00\r\n") +
        QStringLiteral(" 1    ") + never +
        QStringLiteral(" 2    1          25.00%    3.0        2         2         1         0.33\r\n") +
        QStringLiteral(" 3    ") + never + QStringLiteral(" 4    ") + never +
        QStringLiteral(" 5    ") + never + QStringLiteral(" 6    ") + never +
        QStringLiteral(" 7    1          25.00%    2.0        1         1         2         1.00\r\n") +
        QStringLiteral(" 8    ") + never + QStringLiteral(" 9    ") + never;
    EXPECT_EQ(t.text, expected);
}

TEST(AnalysisTables, SumMeasuresOverTenDraws) {
    // Sum 1 at draws 2, 5, 6; sum 2 only in the newest; sum 3 only in the oldest; 15 elsewhere.
    const auto h = testsupport::HistoryOf({"003", "001", "555", "555", "001", "001", "555", "555", "555", "002"});
    const AnalysisTable t = SumAnalysis(h, 0, 9);
    EXPECT_EQ(t.title, QStringLiteral("(和值分析 2024001-2024010)"));
    EXPECT_EQ(Cells(t.text, "1"), Measures({"3", "30.00%", "2.0", "2", "0", "4", "2.00"}));
    EXPECT_EQ(Cells(t.text, "2"), Measures({"1", "10.00%", "10.0", "9", "9", "0", "0.00"}));
    EXPECT_EQ(Cells(t.text, "3"), Measures({"1", "10.00%", "1.0", "0", "0", "9", "9.00"}));
    EXPECT_EQ(Cells(t.text, "15"), Measures({"5", "50.00%", "1.8", "2", "0", "1", "0.56"}));
    EXPECT_EQ(Cells(t.text, "0"), Measures({"0", "0.00%", "0.0", "0", "0", "10", "0.00"}));
    EXPECT_EQ(Cells(t.text, "27"), Measures({"0", "0.00%", "0.0", "0", "0", "10", "0.00"}));
    EXPECT_TRUE(t.text.startsWith(kValueHeader + "\r\n\r\n 0    0"));
    EXPECT_TRUE(t.text.endsWith(QStringLiteral(" 27   0          0.00%     0.0        0         0         10        0.00\r\n")));

    // A sub-range: positions 1..8 are draws 2..9 (N = 8).
    const AnalysisTable part = SumAnalysis(h, 1, 8);
    EXPECT_EQ(part.title, QStringLiteral("(和值分析 2024002-2024009)"));
    EXPECT_EQ(Cells(part.text, "1"), Measures({"3", "37.50%", "1.7", "2", "0", "3", "1.80"}));
    EXPECT_EQ(Cells(part.text, "3"), Measures({"0", "0.00%", "0.0", "0", "0", "8", "0.00"}));
}

TEST(AnalysisTables, EveryDrawHitsItsCategory) {
    struct Case {
        AnalysisKind kind;
        const char* draw;
        QStringList hit;  // labels of the rows the single draw hits
    };
    const Case cases[] = {
        {AnalysisKind::PrimeComposite, "000", {"合合合"}},
        {AnalysisKind::OddEven, "000", {"偶偶偶"}},
        {AnalysisKind::BigMiddleSmall, "000", {"小小小"}},
        {AnalysisKind::BigSmall, "000", {"小小小"}},
        {AnalysisKind::Sum, "000", {"0"}},
        {AnalysisKind::Span, "000", {"0"}},
        {AnalysisKind::PrimeComposite, "179", {"质质合"}},
        {AnalysisKind::OddEven, "179", {"奇奇奇"}},
        {AnalysisKind::BigMiddleSmall, "179", {"小大大"}},
        {AnalysisKind::BigSmall, "179", {"小大大"}},
        {AnalysisKind::Sum, "179", {"17"}},
        {AnalysisKind::Span, "179", {"8"}},
        {AnalysisKind::PrimeComposite, "264", {"质合合"}},
        {AnalysisKind::OddEven, "264", {"偶偶偶"}},
        {AnalysisKind::BigMiddleSmall, "264", {"小中中"}},
        {AnalysisKind::BigSmall, "264", {"小大小"}},
        {AnalysisKind::Sum, "264", {"12"}},
        {AnalysisKind::Span, "264", {"4"}},
        {AnalysisKind::Sum, "999", {"27"}},
        {AnalysisKind::BigMiddleSmall, "999", {"大大大"}},
        {AnalysisKind::BigMiddleSmall, "257", {"小中大"}},
        {AnalysisKind::BigSmall, "257", {"小大大"}},
        {AnalysisKind::SumTail, "999", {"7"}},
        {AnalysisKind::SumTail, "007", {"7"}},
        {AnalysisKind::SumTail, "190", {"0"}},
        {AnalysisKind::Pair, "121", {"11", "12"}},
        {AnalysisKind::Pair, "558", {"55", "58"}},
        {AnalysisKind::Pair, "555", {"55"}},
        {AnalysisKind::Pair, "405", {"04", "05", "45"}},
        {AnalysisKind::StraightRoute, "985", {"022"}},
        {AnalysisKind::GroupRoute, "985", {"022"}},
        {AnalysisKind::Straight1234, "985", {"343"}},
        {AnalysisKind::Group1234, "985", {"334"}},
        {AnalysisKind::StraightRoute, "620", {"020"}},
        {AnalysisKind::GroupRoute, "620", {"002"}},
        {AnalysisKind::Straight1234, "620", {"422"}},
        {AnalysisKind::Group1234, "620", {"224"}},
        {AnalysisKind::StraightRoute, "147", {"111"}},
        {AnalysisKind::GroupRoute, "147", {"111"}},
        {AnalysisKind::Straight1234, "147", {"123"}},
        {AnalysisKind::Group1234, "147", {"123"}},
    };
    const QStringList hitCells = Measures({"1", "100.00%", "1.0", "0", "0", "0", "0.00"});
    const QStringList missCells = Measures({"0", "0.00%", "0.0", "0", "0", "1", "0.00"});
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("kind %1, draw %2").arg(int(c.kind)).arg(c.draw).toStdString());
        const QString text = RunAll(c.kind, testsupport::HistoryOf({c.draw})).text;
        int hitRows = 0;
        for (const QString& row : Rows(text)) {
            QStringList cells = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const QString label = cells.takeFirst();
            const bool hit = c.hit.contains(label);
            hitRows += hit;
            EXPECT_EQ(cells, hit ? hitCells : missCells) << row.toStdString();
        }
        EXPECT_EQ(hitRows, c.hit.size());
    }
}

TEST(AnalysisTables, RowsHeadersAndOrder) {
    struct Case {
        AnalysisKind kind;
        const char* title;
        QString header;
        int rows;
        QStringList first;  // leading labels, in order
        const char* lastLabel;
    };
    const Case cases[] = {
        {AnalysisKind::PrimeComposite, "(质合分析 ", kPatternHeader, 8, {"质质质", "质质合", "质合质"}, "合合合"},
        {AnalysisKind::OddEven, "(奇偶分析 ", kPatternHeader, 8, {"偶偶偶", "偶偶奇", "偶奇偶"}, "奇奇奇"},
        {AnalysisKind::BigMiddleSmall, "(大中小分析 ", kPatternHeader, 27, {"小小小", "小小中", "小小大", "小中小"}, "大大大"},
        {AnalysisKind::BigSmall, "(大小分析 ", kPatternHeader, 8, {"小小小", "小小大", "小大小"}, "大大大"},
        {AnalysisKind::Sum, "(和值分析 ", kValueHeader, 28, {"0", "1", "2"}, "27"},
        {AnalysisKind::Span, "(跨度分析 ", kValueHeader, 10, {"0", "1"}, "9"},
        {AnalysisKind::Pair, "(二码分析 ", kValueHeader, 55, {"00", "01", "02", "03", "04", "05", "06", "07", "08", "09", "11", "12"}, "99"},
        {AnalysisKind::SumTail, "(合值分析 ", kValueHeader, 10, {"0", "1"}, "9"},
        {AnalysisKind::StraightRoute, "(单选012路分析 ", kPatternHeader, 27, {"000", "001", "002", "010", "011"}, "222"},
        {AnalysisKind::GroupRoute, "(组选012路分析 ", kPatternHeader, 10, {"000", "001", "002", "011", "012", "022", "111", "112", "122", "222"}, "222"},
        {AnalysisKind::Straight1234, "(单选1234分析 ", kPatternHeader, 64, {"111", "112", "113", "114", "121"}, "444"},
        {AnalysisKind::Group1234, "(组选1234分析 ", kPatternHeader, 20,
         {"111", "112", "113", "114", "122", "123", "124", "133", "134", "144", "222", "223", "224", "233", "234", "244", "333", "334", "344", "444"}, "444"},
    };
    const auto h = testsupport::HistoryOf({"123", "456"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const AnalysisTable t = RunAll(c.kind, h);
        EXPECT_EQ(t.title, QString::fromUtf8(c.title) + "2024001-2024002)");
        EXPECT_TRUE(t.text.startsWith(c.header + "\r\n\r\n"));
        EXPECT_TRUE(t.text.endsWith("\r\n"));
        EXPECT_FALSE(t.text.endsWith("\r\n\r\n"));
        const QStringList rows = Rows(t.text);
        ASSERT_EQ(rows.size(), c.rows);
        for (int i = 0; i < c.first.size(); ++i)
            EXPECT_EQ(rows.at(i).section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty), c.first.at(i));
        EXPECT_EQ(rows.last().section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty), QString::fromUtf8(c.lastLabel));
    }
}

TEST(AnalysisTables, CellsStartUnderTheirHeaderWords) {
    // Counts of two and three digits and rates of up to seven characters in one table.
    QStringList numbers;
    for (int i = 0; i < 120; ++i)
        numbers << QStringLiteral("%1").arg((i * 37) % 1000, 3, 10, QLatin1Char('0'));
    const auto h = testsupport::HistoryOf(numbers);
    for (AnalysisKind kind : kAllKinds) {
        SCOPED_TRACE(int(kind));
        const AnalysisTable t = RunAll(kind, h);
        const QStringList lines = t.text.split(QStringLiteral("\r\n"));
        const QList<int> headerColumns = WordColumns(lines.first());
        for (const QString& row : Rows(t.text)) {
            const QList<int> cells = WordColumns(row);
            ASSERT_GE(cells.size(), 8) << row.toStdString();
            // The seven measures start where the seven last header words do.
            EXPECT_EQ(cells.mid(cells.size() - 7), headerColumns.mid(headerColumns.size() - 7))
                << row.toStdString();
        }
        // Label cell: pattern style 8 columns, value style 6, 单码 11 — the header's first measure word.
        EXPECT_EQ(common::DisplayWidth(lines.first().left(lines.first().indexOf(QStringLiteral("开出次数")))),
                  headerColumns.at(headerColumns.size() - 7));
    }
}

TEST(AnalysisTables, SingleDigitBlocks) {
    const AnalysisTable t = SingleDigitAnalysis(testsupport::HistoryOf({"112"}), 0, 0);
    EXPECT_EQ(t.title, QStringLiteral("(单码分析 2024001-2024001)"));
    EXPECT_TRUE(t.text.startsWith(kSingleDigitHeader + "\r\n\r\n全位  0    0         0.00%    0.0       0         0         1         0.00\r\n"));
    EXPECT_EQ(Cells(t.text, "全位 1"), Measures({"2", "66.67%", "1.5", "0", "0", "0", "0.00"}));
    EXPECT_EQ(Cells(t.text, "全位 2"), Measures({"1", "33.33%", "3.0", "0", "0", "0", "0.00"}));
    EXPECT_EQ(Cells(t.text, "百位 1"), Measures({"1", "100.00%", "1.0", "0", "0", "0", "0.00"}));
    EXPECT_EQ(Cells(t.text, "十位 1"), Measures({"1", "100.00%", "1.0", "0", "0", "0", "0.00"}));
    EXPECT_EQ(Cells(t.text, "个位 2"), Measures({"1", "100.00%", "1.0", "0", "0", "0", "0.00"}));
    EXPECT_EQ(Cells(t.text, "个位 1"), Measures({"0", "0.00%", "0.0", "0", "0", "1", "0.00"}));
    // Header, then an empty line above each block of ten, none at the end.
    const QStringList lines = t.text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + 4 * 11 + 1);
    for (int block = 0; block < 4; ++block)
        EXPECT_TRUE(lines.at(1 + block * 11).isEmpty());
    EXPECT_TRUE(lines.last().isEmpty());
    EXPECT_TRUE(lines.at(lines.size() - 2).startsWith(QStringLiteral("个位  9    ")));

    // A triple counts three times in 全位; the block divides by 3N.
    const AnalysisTable triples = SingleDigitAnalysis(testsupport::HistoryOf({"111", "111", "111", "111"}), 0, 3);
    EXPECT_EQ(Cells(triples.text, "全位 1"), Measures({"12", "100.00%", "1.0", "0", "0", "0", "0.00"}));
    EXPECT_EQ(Cells(triples.text, "全位 0"), Measures({"0", "0.00%", "0.0", "0", "0", "4", "0.00"}));
}

TEST(AnalysisTables, EmptyRangeGivesHeaderOnly) {
    const common::DrawHistory empty;
    for (AnalysisKind kind : kAllKinds) {
        SCOPED_TRACE(int(kind));
        const AnalysisTable t = RunAnalysis(kind, empty, 0, -1);
        EXPECT_TRUE(t.title.startsWith(QLatin1Char('(')) && t.title.endsWith(QStringLiteral("分析)")))
            << t.title.toStdString();
        EXPECT_EQ(t.text.count(QStringLiteral("\r\n")), 1);
        // A range lying before its first position is empty too.
        EXPECT_EQ(RunAnalysis(kind, testsupport::HistoryOf({"123", "456"}), 1, 0).text, t.text);
    }
    EXPECT_EQ(SumAnalysis(empty, 0, -1).title, QStringLiteral("(和值分析)"));
    EXPECT_EQ(SumAnalysis(empty, 0, -1).text, kValueHeader + "\r\n");
}

TEST(AnalysisTables, RangeBeyondTheHistoryIsClamped) {
    const auto h = testsupport::HistoryOf({"001", "002", "003"});
    const AnalysisTable t = SumAnalysis(h, -5, 50);
    EXPECT_EQ(t.title, QStringLiteral("(和值分析 2024001-2024003)"));
    EXPECT_EQ(Cells(t.text, "1"), Measures({"1", "33.33%", "1.0", "0", "0", "2", "2.00"}));
}

TEST(AnalysisTables, UnreadableDrawIsSkipped) {
    common::DrawHistory h = testsupport::HistoryOf({"001", "002", "003"});
    h.set(2, QStringLiteral("2024002 0x2"));
    const AnalysisTable t = SumAnalysis(h, 0, 2);
    EXPECT_EQ(t.title, QStringLiteral("(和值分析 2024001-2024003)"));
    EXPECT_EQ(Cells(t.text, "2"), Measures({"0", "0.00%", "0.0", "0", "0", "2", "0.00"}));
    EXPECT_EQ(Cells(t.text, "3"), Measures({"1", "50.00%", "2.0", "1", "1", "0", "0.00"}));
}
