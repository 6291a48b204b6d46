// Count series: the counts of a digit over the windows of the range, the condition evaluated
// on them through the script engine, and the digits ranked by how often it holds.
#include "smart/calculator.h"

#include "script/scripterror.h"
#include "smart/calculatortext.h"

#include <algorithm>
#include <optional>

namespace smart {

using namespace calctext;

void SchemeCalculator::buildCountSeries() {
    const Operation op(*this);
    run_.seriesPending = false;
    run_.seriesPos = std::max(0, run_.cycle.seriesLength);
    run_.series = script::Variant::makeArray(std::vector<int32_t>{run_.seriesPos});
    const int s = run_.range.first, e = run_.range.last, L = run_.cycle.length, d = run_.mode.digit;
    if (s < 0 || e >= run_.lines.size() || L < 1) return;
    const int position = PositionOfMode(run_.mode.name);
    for (int i = s; i <= e - L + 1; ++i) {
        run_.range.first = i;
        run_.range.last = i + L - 1;
        countWindow(d, position, QStringLiteral(" 遗漏分析"));
    }
}

void SchemeCalculator::nextSeriesWindow() {
    const Operation op(*this);
    if (run_.range.first < 0 || run_.range.last < 0 || run_.range.last >= run_.lines.size()) return;
    if (run_.range.first < run_.lines.size() - 1) ++run_.range.first;
    const int d = run_.mode.digit;
    const int position = PositionOfMode(run_.mode.name);
    countWindow(d, position, QStringLiteral(" 分析"));
}

// One window of the count series: anywhere-counts go into the series (newest slot first),
// positional counts become an analysis row.
void SchemeCalculator::countWindow(int d, int position, const QString& labelSuffix) {
    if (run_.mode.name == kModeAnywhere) {
        countAnywhere(d);
        if (run_.series.isArray()) {
            auto& items = run_.series.arrayData()->items;
            if (run_.seriesPos >= 0 && run_.seriesPos < int(items.size()))
                items[run_.seriesPos] = script::Variant::makeInteger(int16_t(run_.tally.hitCount));
        }
        --run_.seriesPos;
    } else if (position > 0) {
        countAtPosition(d, position);
        run_.tally.label = run_.lines.at(run_.range.first).left(7) + QStringLiteral("—") + run_.lines.at(run_.range.last).left(7) + run_.mode.name +
                    QStringLiteral(" ") + QString::number(d) + labelSuffix;
        addStatRow();
    }
}

namespace {

// A series' values in one number: up to seven elements, each Empty or a whole number 0..254,
// and their count; nothing for any other series (evaluated every time).
// Counts not made into an array yet, -1 for Empty: the same key as their array would give.
std::optional<std::uint64_t> CountsKey(const std::vector<int>& values) {
    if (values.size() > 7) return std::nullopt;
    std::uint64_t key = values.size();
    for (const int v : values) {
        if (v > 254) return std::nullopt;
        key = (key << 8) | std::uint64_t(v + 1);
    }
    return key;
}

std::optional<std::uint64_t> SeriesKey(const script::Variant& values) {
    const script::ArrayData* a = values.arrayData();
    if (!a || a->upper.size() != 1 || a->items.size() > 7) return std::nullopt;
    std::uint64_t key = a->items.size();
    for (const script::Variant& v : a->items) {
        std::uint64_t code = 0;
        if (v.type() == script::Variant::Integer) {
            const int n = v.toInteger();
            if (n < 0 || n > 254) return std::nullopt;
            code = std::uint64_t(n) + 1;
        } else if (!v.isEmpty()) {
            return std::nullopt;
        }
        key = (key << 8) | code;
    }
    return key;
}

}  // namespace

void SchemeCalculator::handleScriptError(const script::ScriptError& error) {
    ++scriptErrorCount_;
    if (!run_.scriptErrorShown) {
        run_.scriptErrorShown = true;
        if (host_->scriptError) host_->scriptError(error, run_.verification.hundredsText);
        addError(conditionErrorText(error));
    }
    // Only a run someone can resume is paused; one nobody sees goes on with "not holding".
    if (host_->canResume && host_->canResume()) runState_ = RunState::Paused;
}

void SchemeCalculator::compileCondition() {
    condition_.text = run_.mode.condition;
    condition_.ok = condition_.script.compile(run_.mode.condition);
    condition_.talks = condition_.script.mayTalk();
    kept_.select(run_.mode.condition, condition_.ok && condition_.script.isPure());
}

int SchemeCalculator::evaluateCondition() {
    const Operation op(*this);
    while (runState_ == RunState::Paused) {
        if (!host_->canResume || !host_->canResume()) {
            runState_ = RunState::Running;  // nobody can lift the pause: go on rather than hang
            break;
        }
        wait(1000);
        pump();
    }
    // Only a stop made from here on ends the engine's work.
    stopRequest_.store(stopped());
    condition_.script.setStopFlag(outsideStop_ ? outsideStop_ : &stopRequest_);
    if (run_.mode.condition != condition_.text || !condition_.script.isCompiled()) compileCondition();
    if (!condition_.ok) {
        if (condition_.script.lastError().number == script::kErrStopped) {
            condition_.text.clear();  // stopped, not wrong: compiled afresh next time
            return -1;
        }
        handleScriptError(condition_.script.lastError());
        return -1;
    }
    std::optional<std::uint64_t> key;
    if (kept_.selected()) key = run_.seriesPending ? CountsKey(run_.pendingValues) : run_.series.isArray() ? SeriesKey(run_.series) : std::nullopt;
    if (key) {
        const int known = kept_.result(*key);
        if (known >= 0) return known;
    }
    materializeSeries();
    if (!run_.series.isArray()) run_.series = script::Variant::makeArray(std::vector<int32_t>{std::max(0, run_.cycle.seriesLength)});
    script::Variant result;
    if (!evaluateSeries(&result)) {
        // A stop ended it: nothing to report, the run unwinds at its next check. Failures are
        // never kept: each is evaluated and reported as it comes.
        if (condition_.script.lastError().number == script::kErrStopped) return -1;
        handleScriptError(condition_.script.lastError());
        return -1;
    }
    const int holds = result.isNumeric() && !result.isEmpty() && result.toDouble() == 1.0 ? 1 : 0;
    if (key) kept_.keepResult(*key, holds == 1);
    return holds;
}

namespace {
// One evaluation's time limit, and how much of it a condition may take on the caller's thread.
constexpr int kConditionLimitMs = 10000;
constexpr int kInPlaceMs = 50;
constexpr int kEventGapMs = 5;
}  // namespace

// A condition evaluates in place while it is quick: tens of thousands of evaluations make one
// computation. One that outlasts kInPlaceMs starts again from the same series on a thread of
// its own, while the host lets its window's events through, so that the window keeps painting
// and a stop ends the evaluation at once. A condition that may show boxes or run text of its
// own making goes there from the start, so that nothing it does happens twice.
bool SchemeCalculator::evaluateSeries(script::Variant* result) {
    // The thread works on a job of its own: the compiled condition lent to it, and the series
    // and result moved in before it starts and back once it has ended, so that nothing the
    // window's events reach meanwhile shares them.
    struct AwayEvaluation {
        script::ScriptCondition* condition;
        script::Variant series;
        script::Variant result;
        bool ok = false;
    };
    auto away = [&](int limitMs) {
        condition_.script.setTimeout(limitMs);
        AwayEvaluation job{&condition_.script, std::move(run_.series), std::move(*result)};
        common::RunAway([&job] { job.ok = job.condition->evaluate(job.series, &job.result); }, [this] { pump(); },
                        kEventGapMs);
        run_.series = std::move(job.series);
        *result = std::move(job.result);
        return job.ok;
    };
    if (!host_->processEvents) {
        condition_.script.setTimeout(kConditionLimitMs);
        return condition_.script.evaluate(run_.series, result);
    }
    if (condition_.talks) return away(kConditionLimitMs);
    script::ArrayData* start = run_.series.arrayData();
    seriesCopy_.assign(start->items.begin(), start->items.end());
    condition_.script.setTimeout(kInPlaceMs);
    if (condition_.script.evaluate(run_.series, result)) return true;
    if (condition_.script.lastError().number != script::kErrTimeout) return false;
    // The condition may have changed its series in place: the second start gets the first's.
    run_.series = script::Variant::makeArray(std::vector<int32_t>{int32_t(seriesCopy_.size()) - 1});
    run_.series.arrayData()->items.assign(seriesCopy_.begin(), seriesCopy_.end());
    *result = script::Variant();
    return away(kConditionLimitMs - kInPlaceMs);
}

QString SchemeCalculator::conditionErrorText(const script::ScriptError& error) const {
    return QStringLiteral("%1\n%2\n%3")
        .arg(error.number)
        .arg(script::ScriptErrorText(error, script::ScriptCondition::wrap(condition_.text)), error.source);
}

// The count series a(0..T) of the anywhere mode as buildCountSeries and nextSeriesWindow build it,
// without their per-window labels: a(0) Empty, then the windows' counts newest slot first.
// Leaves rangeFirst/rangeLast on the last window like they do; the counters follow in settleCounters.
void SchemeCalculator::fillAnywhereSeries(int d) {
    run_.seriesPos = std::max(0, run_.cycle.seriesLength);
    // The counts only: the script's array is made from them when a condition needs it
    // (materializeSeries), which a kept result of a pure condition spares.
    run_.pendingValues.assign(size_t(run_.seriesPos) + 1, -1);
    run_.seriesPending = true;
    const int size = int(run_.lines.size());
    auto put = [&](int first, int last) {
        int count = 0;
        if (first >= 0 && last < size && first <= last) count = digitCounts_.count(d, first, last);
        if (run_.seriesPos >= 0 && run_.seriesPos < int(run_.pendingValues.size())) run_.pendingValues[size_t(run_.seriesPos)] = int16_t(count);
        --run_.seriesPos;
        run_.countedWindow = {d, first, last};
        run_.counted = true;
    };
    const int s = run_.range.first, e = run_.range.last, L = run_.cycle.length;
    if (s < 0 || e >= size || L < 1) return;
    for (int i = s; i <= e - L + 1; ++i) {
        run_.range.first = i;
        run_.range.last = i + L - 1;
        put(run_.range.first, run_.range.last);
    }
    if (run_.range.first < 0 || run_.range.last < 0 || run_.range.last >= size) return;
    if (run_.range.first < size - 1) ++run_.range.first;
    put(run_.range.first, run_.range.last);
}

void SchemeCalculator::materializeSeries() {
    if (!run_.seriesPending) return;
    run_.seriesPending = false;
    resetSeries(int(run_.pendingValues.size()) - 1);
    auto& items = run_.series.arrayData()->items;
    for (size_t i = 0; i < run_.pendingValues.size(); ++i)
        if (run_.pendingValues[i] >= 0) items[i] = script::Variant::makeInteger(int16_t(run_.pendingValues[i]));
}

// A fresh array of Empty elements with bounds 0..T; the last one is reused when nothing else
// holds it and the condition left its shape alone.
void SchemeCalculator::resetSeries(int upper) {
    if (run_.series.isArray() && run_.series.arrayPtr().use_count() == 1) {
        script::ArrayData* a = run_.series.arrayData();
        if (!a->fixed && a->pins == 0 && a->upper.size() == 1 && a->upper[0] == upper &&
            a->items.size() == size_t(upper) + 1) {
            for (script::Variant& v : a->items) v = script::Variant();
            return;
        }
    }
    run_.series = script::Variant::makeArray(std::vector<int32_t>{upper});
}

void SchemeCalculator::settleCounters() {
    if (run_.counted) countersOver(run_.countedWindow[0], 0, run_.countedWindow[1], run_.countedWindow[2]);
    run_.counted = false;
}

QString SchemeCalculator::rankDigits() {
    const Operation op(*this);
    digitRanking_.clear();
    if (!run_.inBacktest) run_.scriptErrorShown = false;
    const int cycles = run_.cycle.lengthsTried;
    const bool anywhere = run_.mode.name == kModeAnywhere;
    if (anywhere) digitCounts_.prepare(run_.lines, draws_.lines, run_.inBacktest);
    run_.counted = false;
    // A pure condition's ranking follows from the draws up to the newest line, the cycle
    // lengths and the series length alone: a backtest for the next draw ranks 100 of the 101
    // periods the one before it did, so each ranking is made once and kept with its traces.
    if (anywhere && kept_.keeping() && run_.mode.condition != condition_.text) {
        stopRequest_.store(stopped());
        condition_.script.setStopFlag(outsideStop_ ? outsideStop_ : &stopRequest_);
        compileCondition();
    }
    std::optional<std::uint64_t> rankKey;
    if (anywhere && kept_.selected() && condition_.ok && condition_.text == run_.mode.condition && run_.lines.size() < (1 << 24) &&
        cycles >= 1 && cycles < (1 << 12) && run_.cycle.seriesLength >= 0 && run_.cycle.seriesLength < (1 << 8))
        rankKey = (std::uint64_t(digitCounts_.generation() & 0xFFFFF) << 44) | (std::uint64_t(run_.lines.size()) << 20) |
                  (std::uint64_t(cycles) << 8) | std::uint64_t(run_.cycle.seriesLength);
    if (rankKey) {
        if (const KeptRanking* known = kept_.ranking(*rankKey)) {
            // The host is asked as often as a ranking made afresh asks it, and a stop ends this
            // one at the same point.
            for (int n = 0; n < 10 * cycles; ++n) {
                if (stopped()) return QString();
                if (!host_->inputWaiting) break;
                if (host_->inputWaiting()) pump();
            }
            if (stopped()) return QString();
            const KeptRanking& k = *known;
            digitRanking_ = k.ranking;
            lastError_ += k.errorsAdded;
            run_.range.first = k.rangeFirst;
            run_.range.last = k.rangeLast;
            run_.cycle.length = cycles;
            run_.mode.digit = 9;
            clearStatRows();
            run_.tally = k.tally;
            run_.seriesPos = k.seriesPos;
            run_.pendingValues = k.seriesValues;
            run_.seriesPending = true;
            materializeSeries();
            return rankRows();
        }
    }
    const QString errorsBefore = lastError_;
    const int scriptErrorsBefore = scriptErrorCount_;
    bool filled = false;
    bool rangeFailed = false;
    for (int d = 0; d <= 9; ++d) {
        run_.mode.digit = d;
        int n = 0;
        for (int L = 1; L <= cycles; ++L) {
            if (stopped()) {
                settleCounters();
                materializeSeries();
                return QString();
            }
            if (host_->inputWaiting && host_->inputWaiting()) pump();
            run_.cycle.length = L;
            clearStatRows();
            const QString before = lastError_;
            if (!setSeriesRange()) {
                // Too few draws for this cycle length: the condition cannot hold (said once).
                if (rangeFailed) lastError_ = before;
                rangeFailed = true;
                continue;
            }
            if (anywhere) {
                fillAnywhereSeries(d);
                filled = true;
            } else {
                buildCountSeries();
                nextSeriesWindow();
            }
            if (evaluateCondition() == 1) ++n;
        }
        if (n > 0) digitRanking_ << Zero3(n) + QLatin1Char(' ') + QString::number(d);
    }
    settleCounters();
    materializeSeries();
    std::sort(digitRanking_.begin(), digitRanking_.end());
    // Kept only when it ran through without a stop or a failing condition, from the series
    // it made itself.
    if (rankKey && filled && kept_.selected() && !stopped() && scriptErrorCount_ == scriptErrorsBefore &&
        lastError_.startsWith(errorsBefore))
        kept_.keepRanking(*rankKey, KeptRanking{digitRanking_, lastError_.mid(errorsBefore.size()), run_.range.first, run_.range.last,
                                                  run_.tally, run_.seriesPos, run_.pendingValues});
    return rankRows();
}

QString SchemeCalculator::rankRows() {
    QString result;
    if (run_.verifyPeriod < 0 || run_.verifyPeriod >= kRankRows) return result;
    RankRow& left = run_.leftRanks[run_.verifyPeriod];
    RankRow& right = run_.rightRanks[run_.verifyPeriod];
    for (int j = 0; j < 10; ++j) left[j] = right[j] = kNoRank;
    // A ranking line ends with its digit; the cells share ten one-digit texts, static ones, so
    // that calculators on several threads copy them without touching a shared count.
    static const std::array<QString, 10> kDigitText = {
        QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
        QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9")};
    const auto lastOf = [](const QString& line) {
        if (line.isEmpty()) return QString();
        const char16_t c = line.back().unicode();
        return c >= u'0' && c <= u'9' ? kDigitText[size_t(c - u'0')] : QString(line.back());
    };
    const int c = int(digitRanking_.size());
    for (int j = 0; j < c && j < 10; ++j) {
        left[j] = lastOf(digitRanking_.at(j));
        right[9 - j] = lastOf(digitRanking_.at(c - 1 - j));
        result += left[j];
    }
    return result;
}

}  // namespace smart
