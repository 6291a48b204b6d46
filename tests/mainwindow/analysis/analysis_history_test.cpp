#include "common/drawhistory.h"
#include "history/drawfile.h"
#include "mainwindow/analysis/analyses.h"
#include "testsupport.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

using namespace analysis;

namespace {

common::DrawHistory RealHistory() {
    QFile file(testsupport::SharedFile("data/HAO.TXT"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return common::DrawHistory(history::ValidDrawTexts(file.readAll()));
}

// Sum of the 开出次数 column of the category lines.
int HitTotal(const QString& text) {
    int total = 0;
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeFirst();
    for (const QString& line : lines) {
        const QStringList cells = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (cells.size() >= 8)
            total += cells.at(cells.size() - 7).toInt();
    }
    return total;
}

}  // namespace

TEST(AnalysisOnRealHistory, OneCategoryPerDrawAddsUpToTheDrawCount) {
    SKIP_WITHOUT_SHARED("data/HAO.TXT");
    const common::DrawHistory h = RealHistory();
    ASSERT_GT(h.count(), 1000);
    const AnalysisKind oneHitKinds[] = {
        AnalysisKind::PrimeComposite, AnalysisKind::Sum, AnalysisKind::OddEven,
        AnalysisKind::BigMiddleSmall, AnalysisKind::BigSmall, AnalysisKind::Span,
        AnalysisKind::SumTail, AnalysisKind::StraightRoute, AnalysisKind::GroupRoute,
        AnalysisKind::Straight1234, AnalysisKind::Group1234,
    };
    // Every draw, and the default range of the last 101.
    const std::pair<int, int> ranges[] = {{0, h.count() - 1}, {h.count() - 101, h.count() - 1}};
    for (const auto& [first, last] : ranges) {
        const int n = last - first + 1;
        for (AnalysisKind kind : oneHitKinds) {
            SCOPED_TRACE(int(kind));
            EXPECT_EQ(HitTotal(RunAnalysis(kind, h, first, last).text), n);
        }
        // 单码: three hits per draw in 全位, one in each position; 二码: one to three pairs per draw.
        EXPECT_EQ(HitTotal(SingleDigitAnalysis(h, first, last).text), 6 * n);
        const int pairs = HitTotal(PairAnalysis(h, first, last).text);
        EXPECT_GE(pairs, n);
        EXPECT_LE(pairs, 3 * n);
    }
    EXPECT_EQ(SumAnalysis(h, h.count() - 101, h.count() - 1).title,
              QStringLiteral("(和值分析 %1-%2)").arg(h.issue(h.count() - 100), h.issue(h.count())));
}
