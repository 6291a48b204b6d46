#pragma once
// What a scheme calculator keeps between its computations to spare work, apart from the
// computations themselves: the condition it compiled last, the counts of each digit over its
// draws, and the results and digit rankings of pure conditions (the script engine says which).
// None changes a result: a computation gives the same with them as without.
#include "script/scriptengine.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace smart {

// The condition compiled last, with its engine: compiled again only when another is asked for
// (an empty text forces it, as after a stop during the compilation).
struct CompiledCondition {
    QString text;                    // the condition compiled
    bool ok = false;                 // it compiled
    bool talks = false;              // it may show boxes or run code of its own making
    script::ScriptCondition script;  // its engine, which also evaluates it
};

// How often a digit came and the gaps between, over one range: the counters of one count.
struct DigitTally {
    QString label;  // 类别
    int hitCount = 0, maxGap = 0, prevGap = 0, currentGap = 0;
};

// Counts per digit of the lines before each line, so that a window's count of a digit is one
// subtraction. Counted once per draws and serving any lines that are those draws from the oldest
// on (a loaded range, then a backtest taking the newest off); other lines get counts of their own.
class DigitCounts {
public:
    // Counts that serve lines, the draws' first lines or lines of their own. A backtest only takes
    // lines off the end, so within one (inBacktest) a check of the same lines serves all periods.
    void prepare(const QStringList& lines, const QStringList& draws, bool inBacktest);
    // The next prepare() checks the lines again (they were loaded afresh).
    void forget() { checked_ = false; }
    // Lines first..last holding digit d (both within the lines prepared).
    int count(int d, int first, int last) const {
        return counts_[size_t(last) + 1][size_t(d)] - counts_[size_t(first)][size_t(d)];
    }
    // Changes whenever the counts are made afresh: results kept by it belong to these counts.
    unsigned generation() const { return generation_; }

private:
    void countLines();
    QStringList source_;                       // the lines the counts were made from
    std::vector<std::array<int, 10>> counts_;  // [i][d]: lines before i holding digit d
    const QString* checkedData_ = nullptr;     // the lines checked against them last
    bool checked_ = false;
    unsigned generation_ = 0;
};

// A pure condition's ranking of the ten digits with what making it leaves behind, by the
// draws' counts, the lines' count, the cycle lengths and the series length.
struct KeptRanking {
    QStringList ranking;
    QString errorsAdded;
    int rangeFirst = 0, rangeLast = 0;
    DigitTally tally;
    int seriesPos = 0;
    std::vector<int> seriesValues;
};

// Results of pure conditions by their series' values, and their rankings, for as long as the
// calculator lives: across periods, digits and cycle lengths the same series recur. One
// condition's tables are selected at a time (the one compiled).
class ConditionResults {
public:
    // Keep nothing (every series is evaluated) or keep again; the selection is dropped.
    void setKeeping(bool on) {
        keeping_ = on;
        select(QString(), false);
    }
    bool keeping() const { return keeping_; }
    // The tables of condition when it is pure and results are kept, else none.
    void select(const QString& condition, bool pure);
    bool selected() const { return results_ != nullptr; }

    // The kept result of the selected condition on the series with this key, or -1.
    int result(std::uint64_t key) const {
        const auto known = results_->find(key);
        return known == results_->end() ? -1 : known->second;
    }
    void keepResult(std::uint64_t key, bool holds) { results_->emplace(key, std::int8_t(holds)); }
    // The kept ranking of the selected condition under this key, or null.
    const KeptRanking* ranking(std::uint64_t key) const {
        const auto known = rankings_->find(key);
        return known == rankings_->end() ? nullptr : &known->second;
    }
    void keepRanking(std::uint64_t key, KeptRanking ranking) { rankings_->emplace(key, std::move(ranking)); }

private:
    bool keeping_ = true;
    std::unordered_map<QString, std::unordered_map<std::uint64_t, std::int8_t>> allResults_;
    std::unordered_map<QString, std::unordered_map<std::uint64_t, KeptRanking>> allRankings_;
    std::unordered_map<std::uint64_t, std::int8_t>* results_ = nullptr;   // the selected condition's
    std::unordered_map<std::uint64_t, KeptRanking>* rankings_ = nullptr;  // the selected condition's
};

}  // namespace smart
