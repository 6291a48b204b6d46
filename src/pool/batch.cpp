#include "pool/batch.h"

#include "common/drawtext.h"
#include "pool/patternfilters.h"
#include "pool/shapefilters.h"
#include "pool/valuefilters.h"

namespace pool {

namespace {

struct BasicDesign {
    PatternFamily routine;
    const char* header;
    const char* itemsLabel;
    const char* description;
    bool binaryPattern;
};

const BasicDesign kBasic[kBasicFamilies] = {
    {PatternFamily::Group012, "组选012路过滤开始", "组选012路： ", "组选过滤012路：", false},
    {PatternFamily::Single012, "单选012路过滤开始", "单选012路： ", "单选过滤012路：", false},
    {PatternFamily::OddEven, "奇偶组合过滤开始", "奇偶组合： ", "奇偶组合：", true},
    {PatternFamily::PrimeComposite, "质合组合过滤开始", "质合组合： ", "质合组合：", true},
    {PatternFamily::BigSmall, "大小组合过滤开始", "大小组合： ", "大小组合：", true},
    {PatternFamily::BigMidSmall, "大中小过滤开始", "大中小： ", "大中小：", false},
    {PatternFamily::Group1234, "1234组选过滤开始", "1234组选： ", "组选1234：", false},
    {PatternFamily::Single1234, "1234单选过滤开始", "1234单选： ", "单选1234：", false},
};

QString Counts(int removed, int remaining) {
    return QStringLiteral("过滤") + QString::number(removed) + QStringLiteral("注") + kNewLine + QStringLiteral("还剩") +
           QString::number(remaining) + QStringLiteral("注") + kNewLine;
}

QString Utf8(const char* s) { return QString::fromUtf8(s); }

}  // namespace

QString BasicPattern(BasicFamily family, const TickedBox& box) {
    if (!kBasic[int(family)].binaryPattern) return box.caption;
    return QStringLiteral("%1").arg(box.index, 3, 2, QLatin1Char('0'));
}

void RunBasicFamily(PoolSession& session, const BasicCondition& condition) {
    const BasicDesign& d = kBasic[int(condition.family)];
    QString block = kNewLine + Utf8(d.header) + kNewLine;
    QString items;
    int removed = 0;
    for (const TickedBox& box : condition.ticked) {
        removed += FilterPattern(d.routine, session.pool, block, BasicPattern(condition.family, box));
        items += box.caption + QLatin1Char(' ');
    }
    block += kNewLine + Utf8(d.itemsLabel) + items + kNewLine + Counts(removed, int(session.pool.size()));
    session.log.append(block);
    session.setDescription = Utf8(d.description) + items;
}

void RunBasicBatch(PoolSession& session, const QList<BasicCondition>& families) {
    for (const BasicCondition& c : families) RunBasicFamily(session, c);
    session.CommitSet();
}

namespace {

struct AdvancedDesign {
    const char* header;
    const char* itemsLabel;
    const char* description;
};

const AdvancedDesign kAdvanced[kAdvancedFamilies] = {
    {"定位过滤开始", "", "定位过滤"},
    {"和值过滤开始", "和值： ", "和值过滤："},
    {"单选1D过滤开始", "", ""},
    {"ABC类型过滤开始", "ABC类型：", "升降序过滤："},
    {"均值过滤开始", "均值：", "均值过滤："},
    {"AC值过滤开始", "AC值：", "AC值过滤："},
    {"直落号过滤开始", "直落号：", "直落号过滤："},
    {"斜连值过滤开始", "斜连值：", "斜连值过滤："},
};

const char* const kOneDLogLabels[4] = {"正1D  ： ", "负1D  ： ", "反正1D： ", "反负1D： "};
const char* const kOneDDescriptionLabels[4] = {"正1D： ", "负1D： ", "反正1D： ", "反负1D： "};

bool HasLastDraw(const common::DrawHistory& history) {
    return history.count() > 0 && common::IsNumberText(history.number(history.count()));
}

}  // namespace

QString RunAdvancedFamily(PoolSession& session, const AdvancedCondition& condition,
                          const common::DrawHistory& history) {
    const AdvancedDesign& d = kAdvanced[int(condition.family)];
    QString block = kNewLine + Utf8(d.header) + kNewLine;
    QString warning;
    int removed = 0;

    switch (condition.family) {
    case AdvancedFamily::Positional:
        removed = FilterPositional(session.pool, block, condition.patterns);
        block += kNewLine + Counts(removed, int(session.pool.size()));
        session.setDescription = Utf8(d.description);
        session.log.append(block);
        return warning;

    case AdvancedFamily::OneD: {
        QString description;
        for (int m = 0; m < 4; ++m) {
            const QList<int>& values = condition.oneD[size_t(m)];
            if (values.isEmpty()) continue;  // a mode without ticks writes nothing
            QString items;
            for (int v : values) {
                removed += Filter1D(session.pool, block, m + 1, v);
                items += QString::number(v) + QLatin1Char(' ');
            }
            block += kNewLine + Utf8(kOneDLogLabels[m]) + items + kNewLine;
            description += Utf8(kOneDDescriptionLabels[m]) + items + kNewLine;
        }
        block += Counts(removed, int(session.pool.size()));
        session.setDescription = description;
        session.log.append(block);
        return warning;
    }

    default: break;
    }

    const bool needsDraw =
        condition.family == AdvancedFamily::StraightDrop || condition.family == AdvancedFamily::DiagonalLink;
    if (needsDraw && !condition.ticked.isEmpty() && !HasLastDraw(history))
        warning = QStringLiteral("没有开奖号码，") + Utf8(d.header).chopped(2) + QStringLiteral("未能执行。");

    QString items;
    for (const TickedBox& box : condition.ticked) {
        const int k = box.index;
        switch (condition.family) {
        case AdvancedFamily::Sum: removed += FilterSum(session.pool, block, k); break;
        case AdvancedFamily::AbcType: removed += FilterAbcType(session.pool, block, k); break;
        case AdvancedFamily::Mean: removed += FilterMean(session.pool, block, k); break;
        case AdvancedFamily::AcValue: removed += FilterAcValue(session.pool, block, k + 1); break;
        case AdvancedFamily::StraightDrop: removed += FilterStraightDrop(session.pool, block, history, k); break;
        case AdvancedFamily::DiagonalLink: removed += FilterDiagonalLink(session.pool, block, history, k); break;
        default: break;
        }
        // Sums are listed by their value; the other families by the box's caption.
        items += (condition.family == AdvancedFamily::Sum ? QString::number(k) : box.caption) + QLatin1Char(' ');
    }
    block += kNewLine + Utf8(d.itemsLabel) + items + kNewLine + Counts(removed, int(session.pool.size()));
    session.log.append(block);
    session.setDescription = Utf8(d.description) + items;
    return warning;
}

QString RunAdvancedBatch(PoolSession& session, const QList<AdvancedCondition>& families,
                         const common::DrawHistory& history) {
    QStringList warnings;
    for (const AdvancedCondition& c : families) {
        const QString w = RunAdvancedFamily(session, c, history);
        if (!w.isEmpty()) warnings << w;
    }
    session.CommitSet();
    return warnings.join(kNewLine);
}

}  // namespace pool
