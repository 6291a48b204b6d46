#include "statistics/omissionrow.h"

namespace statistics {

QString OmissionRow::cell(int column) const {
    switch (column) {
    case 0: return category;
    case 1: return QString::number(stats.hitCount);
    case 2: return stats.hitRateText(drawCount);
    case 3: return stats.averageGapText(drawCount);
    case 4: return QString::number(stats.maxGap);
    case 5: return QString::number(stats.prevGap);
    case 6: return QString::number(stats.currentGap);
    case 7: return stats.dueRatioText(drawCount);
    default: return QString();
    }
}

QStringList OmissionRow::cells() const {
    QStringList out;
    for (int c = 0; c < kColumns; ++c)
        out << cell(c);
    return out;
}

QStringList OmissionMeasureTitles() {
    return {QStringLiteral("开出次数"), QStringLiteral("开出概率"), QStringLiteral("平均遗漏"),
            QStringLiteral("最大遗漏"), QStringLiteral("上期遗漏"), QStringLiteral("本期遗漏"),
            QStringLiteral("出号几率")};
}

}  // namespace statistics
