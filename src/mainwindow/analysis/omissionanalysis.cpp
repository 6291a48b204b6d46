#include "mainwindow/analysis/omissionanalysis.h"

#include "common/drawhistory.h"
#include "common/textwidth.h"

#include <algorithm>

namespace analysis {

const QString kPatternHeader = QStringLiteral(
    "类别    开出次数   开出概率  平均遗漏   最大遗漏  上期遗漏  本期遗漏  出号几率");
const QString kValueHeader = QStringLiteral(
    "类别  开出次数   开出概率  平均遗漏   最大遗漏  上期遗漏  本期遗漏  出号几率");

DrawRange ResolveRange(const common::DrawHistory& history, int firstPosition, int lastPosition) {
    DrawRange range;
    range.first = std::max(firstPosition, 0) + 1;
    range.last = std::min(lastPosition, history.count() - 1) + 1;
    return range;
}

QString AnalysisTitle(const QString& titleText, const common::DrawHistory& history, DrawRange range) {
    if (range.isEmpty())
        return titleText.trimmed() + QLatin1Char(')');
    return titleText + history.issue(range.first) + QLatin1Char('-') + history.issue(range.last) +
           QLatin1Char(')');
}

static bool ReadDigits(const QString& drawText, int& a, int& b, int& c) {
    const int size = drawText.size();
    if (size < 3)
        return false;
    a = drawText.at(size - 3).unicode() - u'0';
    b = drawText.at(size - 2).unicode() - u'0';
    c = drawText.at(size - 1).unicode() - u'0';
    return a >= 0 && a <= 9 && b >= 0 && b <= 9 && c >= 0 && c <= 9;
}

OmissionCount CountOmissions(const common::DrawHistory& history, DrawRange range, int categoryCount,
                             HitRule hitRule) {
    OmissionCount result;
    result.stats.resize(categoryCount);
    common::OmissionStats* stats = result.stats.data();
    // Draw number at which a category was last hit, so a category named twice in one draw
    // closes its gap once.
    QList<int> hitInDraw(categoryCount, -1);
    for (int i = range.first; i <= range.last; ++i) {
        int a, b, c;
        if (!ReadDigits(history.at(i), a, b, c))
            continue;
        HitList hits;
        hitRule(a, b, c, hits);
        for (int h = 0; h < hits.size; ++h) {
            const int k = hits.index[h];
            if (hitInDraw[k] == i) {
                ++stats[k].hitCount;
            } else {
                hitInDraw[k] = i;
                stats[k].hit();
            }
        }
        for (int k = 0; k < categoryCount; ++k)
            stats[k].endDraw(hitInDraw[k] == i);
        ++result.drawCount;
    }
    return result;
}

QString MeasureLine(const QString& label, const common::OmissionStats& stats, int n,
                    const MeasureWidths& widths) {
    using common::PadRight;
    QString line = label;
    line += PadRight(QString::number(stats.hitCount), widths.hitCount);
    line += PadRight(stats.hitRateText(n), widths.hitRate);
    line += PadRight(stats.averageGapText(n), widths.averageGap);
    line += PadRight(QString::number(stats.maxGap), widths.maxGap);
    line += PadRight(QString::number(stats.prevGap), widths.prevGap);
    line += PadRight(QString::number(stats.currentGap), widths.currentGap);
    line += stats.dueRatioText(n);
    line += kTableNewLine;
    return line;
}

AnalysisTable RunOmissionAnalysis(const AnalysisMember& member, const common::DrawHistory& history,
                                  int firstPosition, int lastPosition) {
    const DrawRange range = ResolveRange(history, firstPosition, lastPosition);
    AnalysisTable table;
    table.title = AnalysisTitle(member.titleText, history, range);
    if (range.isEmpty()) {
        table.text = member.headerText + kTableNewLine;
        return table;
    }
    const OmissionCount count = CountOmissions(history, range, int(member.labels.size()), member.hitRule);
    QString text = member.headerText + kTableNewLine + kTableNewLine;
    text.reserve(text.size() + int(member.labels.size()) * 80);
    for (int k = 0; k < member.labels.size(); ++k)
        text += MeasureLine(member.labels.at(k), count.stats.at(k), count.drawCount);
    table.text = text;
    return table;
}

}  // namespace analysis
