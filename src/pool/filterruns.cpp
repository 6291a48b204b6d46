#include "pool/filterruns.h"

#include "common/drawtext.h"
#include "pool/banker.h"
#include "pool/patternfilters.h"
#include "pool/recent.h"
#include "pool/twocode.h"

#include <QThread>

#include <utility>

namespace pool {

namespace {

std::function<void()>& AutoCollectionPauseHook() {
    static std::function<void()> hook;
    return hook;
}

// Rows 3..9 of the recent-draw filter: pattern family, header, description word.
struct RecentPatternRow {
    PatternFamily family;
    const char* header;
    const char* word;
};
const RecentPatternRow kRecentPatternRows[7] = {
    {PatternFamily::OddEven, "期单选奇偶过滤开始", "奇偶"},
    {PatternFamily::PrimeComposite, "期单选质合过滤开始", "质合"},
    {PatternFamily::BigSmall, "期单选大小过滤开始", "大小"},
    {PatternFamily::Single1234, "期单选1234过滤开始", "单选1234"},
    {PatternFamily::Group1234, "期组选1234过滤开始", "组选1234"},
    {PatternFamily::Single012, "期单选012路过滤开始", "012路"},
    {PatternFamily::BigMidSmall, "期单选大中小过滤开始", "大中小"},
};

}  // namespace

void AutoCollectionPause() {
    if (const auto& hook = AutoCollectionPauseHook()) {
        hook();
        return;
    }
    QThread::msleep(1500);
}

void SetAutoCollectionPauseHook(std::function<void()> hook) { AutoCollectionPauseHook() = std::move(hook); }

// ---- Recent-draw filter -------------------------------------------------------------------

QString RecentRowPattern(int row, const QString& number) {
    if (row < 3 || row >= kRecentRows) return {};
    return PatternOf(kRecentPatternRows[row - 3].family, number);
}

QString RecentRowDescription(int row, const QString& countText) {
    switch (row) {
        case 0: return QStringLiteral("单选过滤最近") + countText + QStringLiteral("期的号码");
        case 1: return QStringLiteral("组选过滤最近") + countText + QStringLiteral("期的号码");
        case 2: return QStringLiteral("过滤最近") + countText + QStringLiteral("期的和值");
        default:
            if (row < 0 || row >= kRecentRows) return {};
            return QStringLiteral("过滤最近") + countText + QStringLiteral("期的") +
                   QString::fromUtf8(kRecentPatternRows[row - 3].word);
    }
}

std::array<bool, kRecentRows> RunRecentFilter(PoolSession& session, const common::DrawHistory& history,
                                              const std::array<RecentRow, kRecentRows>& rows, bool autoCollect,
                                              bool& straightMode, const CollectStep& collect) {
    std::array<bool, kRecentRows> ran{};
    const NumberPool start = session.pool;
    const int draws = history.count();

    for (int r = 0; r < kRecentRows; ++r) {
        const RecentRow& row = rows[size_t(r)];
        if (!row.ticked) continue;
        const int n = row.countText.trimmed().toInt();
        // Rows 0-2 need a draw before the window; the pattern rows may use every draw.
        const bool fits = r < 3 ? n < draws : n <= draws;
        if (n < 1 || !fits) continue;

        if (autoCollect) session.pool = start;
        QString block;
        if (r == 0 || r == 1) {
            straightMode = r == 0;
            FilterRecentNumbers(session.pool, block, history, n, draws, straightMode);
        } else if (r == 2) {
            FilterRecentSums(session.pool, block, history, n);
        } else {
            const RecentPatternRow& p = kRecentPatternRows[r - 3];
            block += kNewLine + QStringLiteral("近") + QString::number(n) + QString::fromUtf8(p.header) + kNewLine;
            int total = 0;
            for (int i = draws - n + 1; i <= draws; ++i)
                total += FilterPattern(p.family, session.pool, block, PatternOf(p.family, history.number(i)));
            block += FilterLogFooter(total, int(session.pool.size()));
        }
        session.log.append(block);
        ran[size_t(r)] = true;

        if (autoCollect && collect && !collect(RecentRowDescription(r, row.countText.trimmed()))) break;
    }

    if (autoCollect) session.pool = start;
    session.setDescription = QStringLiteral("近期开奖过滤");
    session.CommitSet();
    return ran;
}

// ---- Two-code filter ----------------------------------------------------------------------

void RunTwoCode(PoolSession& session, const QString& codes, bool select, int position,
                const QString& positionText) {
    QList<int> list;
    const QString parsed = ParseNumberList(codes, 2, &list);
    if (list.isEmpty()) {
        session.CommitSet();
        return;
    }
    const QString condition = QStringLiteral("(条件：") + positionText + parsed + QStringLiteral(")") + kNewLine;
    NumberPool& p = session.pool;
    int matched = 0;
    if (select) {
        const NumberPool copy = p;
        QString block = kNewLine + QStringLiteral("二码选取开始") + kNewLine + condition;
        // Matched entries are left blank, so later codes skip them and each counts once.
        for (int code : list) matched += FilterTwoCode(p, block, code, false, position);
        block += kNewLine + QStringLiteral("选取") + QString::number(matched) + QStringLiteral("注") + kNewLine;
        session.log.append(block);
        NumberPool kept = copy;
        for (qsizetype i = 0; i < p.size() && i < kept.size(); ++i)
            if (!p.at(i).isEmpty()) kept[i].clear();
        p = kept;
        CompactSet(p);
        session.setDescription = QStringLiteral("二码选取：") + positionText + parsed;
    } else {
        QString block = kNewLine + QStringLiteral("二码过滤开始") + kNewLine + condition;
        for (int code : list) matched += FilterTwoCode(p, block, code, true, position);
        block += FilterLogFooter(matched, int(p.size()));
        session.log.append(block);
        session.setDescription = QStringLiteral("二码过滤：") + positionText + parsed;
    }
    session.CommitSet();
}

// ---- Fuzzy filter -------------------------------------------------------------------------

bool RunFuzzy(PoolSession& session, const std::array<FuzzyRule, 3>& rules) {
    if (!rules[0].enabled && !rules[1].enabled && !rules[2].enabled) return false;
    session.RunFilter(QStringLiteral("模糊过滤开始"), QStringLiteral("模糊过滤"),
                      [&rules](NumberPool& p, QString& log) { FilterFuzzy(p, log, rules); });
    return true;
}

// ---- Digit-group combination filter --------------------------------------------------------

QString DigitGroupCountsText(const std::array<bool, 4>& counts) {
    QString text;
    for (int j = 0; j < 4; ++j)
        if (counts[size_t(j)]) text.prepend(QChar(u'0' + j));
    return text;
}

QString DigitGroupDescription(const DigitGroup& group) {
    return QStringLiteral("组合过滤:") + group.digits + QStringLiteral("出") + DigitGroupCountsText(group.counts);
}

void RunDigitGroups(PoolSession& session, const std::array<DigitGroup, kDigitGroups>& groups,
                    bool repeatCountsOnce, bool autoCollect, const CollectStep& collect) {
    const NumberPool pressTime = session.pool;
    const int before = int(pressTime.size());
    for (int g = 0; g < kDigitGroups; ++g) {
        const DigitGroup& group = groups[size_t(g)];
        if (!group.on) continue;
        if (autoCollect) session.pool = pressTime;
        FilterBankCombination(session.pool, group.digits, DigitGroupCountsText(group.counts), repeatCountsOnce);
        const QString description = DigitGroupDescription(group);
        bool saved = true;
        if (autoCollect && collect) saved = collect(description);
        // Group 1 starts the description, the later groups add theirs to it.
        if (g == 0) session.setDescription = description;
        else session.setDescription += description;
        if (!saved) break;
    }
    if (autoCollect) session.pool = pressTime;
    const int remaining = int(session.pool.size());
    session.log.append(kNewLine + QStringLiteral("条件组合过滤开始") + kNewLine + QStringLiteral("过滤") +
                       QString::number(before - remaining) + QStringLiteral("注") + kNewLine + QStringLiteral("还剩") +
                       QString::number(remaining) + QStringLiteral("注") + kNewLine);
    session.CommitSet();
}

// ---- Omission filter ----------------------------------------------------------------------

void RunOmissionFilter(PoolSession& session, const DigitOmissionTable& table,
                       const std::array<OmissionCondition, 5>& families) {
    static const char* const kHeaders[5] = {"组选遗漏过滤开始", "百位遗漏过滤开始", "十位遗漏过滤开始",
                                            "个位遗漏过滤开始", "单选遗漏过滤开始"};
    static const OmissionFamily kFamilies[5] = {OmissionFamily::Group, OmissionFamily::Hundreds,
                                                OmissionFamily::Tens, OmissionFamily::Units,
                                                OmissionFamily::Single};
    for (int f = 0; f < 5; ++f) {
        if (!families[size_t(f)].on) continue;
        const QList<int> values = ParseOmissionValues(families[size_t(f)].values);
        if (values.isEmpty()) continue;
        QString block = kNewLine + QString::fromUtf8(kHeaders[f]) + kNewLine + QStringLiteral("(条件：");
        for (int v : values) block += QLatin1Char(' ') + QString::number(v);
        block += QStringLiteral(")") + kNewLine;
        int removed = 0;
        for (int v : values) removed += FilterOmission(session.pool, block, table, kFamilies[f], v);
        block += FilterLogFooter(removed, int(session.pool.size()));
        session.log.append(block);
    }
    session.setDescription = QStringLiteral("遗漏过滤");
    session.CommitSet();
}

}  // namespace pool
