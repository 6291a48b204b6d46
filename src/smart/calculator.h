#pragma once
// The scheme calculator: the draws it reads itself, count series evaluated through the script
// engine, the backtest over past draws, rank statistics, the summary of kill digits, omission
// analyses and the batch verification with its report files. Scheme records and the scheme
// list documents are in schemerecords.h.
//
// Plain logic without widgets. The calculator window SchemeCalculatorWindow
// (schemecalculatorwindow.h) shows the state of one in its controls and binds its buttons to
// these operations; the smart-system and verification windows drive the one their context
// hands them (smartcontext.h, made by smart::SmartCalculator in calculatorhost.h) directly.
#include "common/workprogress.h"
#include "script/scriptengine.h"
#include "smart/calculatorcaches.h"
#include "smart/calculatordraws.h"
#include "smart/schemerecords.h"

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <cstdint>
#include <unordered_map>
#include <functional>
#include <memory>
#include <vector>

namespace smart {

// Where a backtest stands: going on, held until resumed, or asked to end.
enum class RunState { Running, Paused, Stopped };

// The modes (项目, Combo3 of the calculator window): a digit anywhere in the draw, or at one place.
inline const QString kModeAnywhere = QStringLiteral("胆码");
inline const QString kModeHundreds = QStringLiteral("百位");
inline const QString kModeTens = QStringLiteral("十位");
inline const QString kModeUnits = QStringLiteral("个位");
// Place 1..3 of a mode, 0 for the anywhere mode (and anything else).
inline int PositionOfMode(const QString& mode) {
    if (mode == kModeHundreds) return 1;
    if (mode == kModeTens) return 2;
    if (mode == kModeUnits) return 3;
    return 0;
}

// The issue after a calculator line: its first seven characters as a number, plus one.
QString CalculatorNextIssue(const QString& lastLine);

// ---- Statistics rows (ListView1 of the calculator window) ----

struct StatRow : DigitTally {
    int drawCount = 0;  // N, the range length the row was computed over
    // 类别 出现次数 出现概率 平均遗漏 最大遗漏 上期遗漏 本期遗漏 欲出几率
    QStringList columns() const;
};
QStringList StatColumnHeaders();

// ---- Summary (List2 of the calculator window) ----

// One kill digit of the summary: the digit the report lines name, how many of them name it and
// the first of them. The summary lists the digits most named first, ties by their first line.
struct SummaryEntry {
    int digit = 0;
    int lineCount = 0;  // report lines naming the digit
    int firstLine = 0;  // index of the first report line naming it
    // The display line: a mark that sorts the most named first, the first line's letter
    // ("A" for line 0), the digit; "ZA7" is digit 7 named once, first by line 0.
    QString text() const;
    bool operator==(const SummaryEntry&) const = default;
};

// A table of ranks: rows 0..1000 (verification periods), columns 0..9 ranks ("B" none),
// column 10 the drawn digits ("未开奖" in period 0).
inline constexpr int kRankRows = 1001;
using RankRow = std::array<QString, 11>;
using RankTable = std::vector<RankRow>;

// What a long run needs from its host, in one place: the window pumps events, shows progress
// and answers questions; tests leave these empty.
struct RunHost {
    // Let pending window events run. Also called every few milliseconds while a slow condition
    // is evaluated away from the caller's thread; without it every evaluation runs in place.
    std::function<void()> processEvents;
    std::function<bool()> inputWaiting;   // user input waiting in the queue
    std::function<void(int ms)> sleep;    // wait while paused
    // A scheme condition failed in the engine; reported once per backtest.
    std::function<void(const script::ScriptError& error, const QString& verifyText)> scriptError;
    // True when someone can lift a pause (the calculator window is shown). A run nobody sees
    // (the smart windows' calculator's) never pauses on a script error, so it cannot hang.
    std::function<bool()> canResume;
    // Yes/No question of the batch verification; false = No. Missing: yes.
    std::function<bool(const QString& text)> confirm;
    // Plain messages ("保存成功！"...).
    std::function<void(const QString& text)> message;
    // Told the total and advanced once per scheme by runBacktests (not owned; may be null).
    common::WorkProgress* progress = nullptr;
};

class SchemeCalculator {
public:
    SchemeCalculator();

    // ---- Settings, by what they set; the calculator window shows each in the control named
    // in brackets ----
    // Which draws are read and the range of them counted.
    struct DrawRange {
        bool lotteryIsP3 = false;  // 福彩3D (Option1) or 排列三 (Option2): whose draw file is read
        int newestLeftOut = 0;     // newest draws left out (Text11, 近期验证)
        int first = -1;            // first draw of the range (Combo1)
        int last = -1;             // last draw of the range (Combo2)
    } range;
    // The windows the counts are made over.
    struct CycleSettings {
        int length = 10;        // 周期: cycle length (Text1)
        int seriesLength = 5;   // 折线图期数: T, counts in the series (Text4)
        int lengthsTried = 1;   // 循环周期数: cycle lengths tried, 1.. this (Text5)
    } cycle;
    // How a condition is verified, and the bounds of the batch verification.
    struct VerificationSettings {
        int periods = 0;        // 验证期数 (Text2)
        QString positionText;   // 号码位置: side and rank of the current record (Text10)
        QString hundredsText;   // verification text of the "百位" mode (Text3)
        // Batch verification bounds: cycle lengths from cycle.lengthsTried, verification
        // periods from periods, to these by these steps.
        struct BatchBounds {
            int lastCycleLength = 100;  // last cycle count (Text9)
            int cycleStep = 1;          // cycle step (Text8)
            int lastVerifyPeriods = 0;  // last verification periods (Text6)
            int verifyStep = 1;         // verification step (Text7)
        } batch;
    } verification;
    // What is counted and the condition asked of it.
    struct CountMode {
        QString name = kModeAnywhere;  // 项目 (Combo3)
        int digit = 0;                 // 类别: the digit examined (Combo4)
        QString condition;             // the scheme condition (Combo5)
        int conditionIndex = 0;        // selected built-in condition, the first scheme of a batch (Combo5's index)
    } mode;

    // ---- What the calculator reads and fills ----
    QStringList lines;                    // the loaded draws, oldest first (Combo1 / Combo2)
    std::vector<StatRow> statRows;        // statistics rows (ListView1)
    QStringList digitRanking;             // digit ranking, ascending (List1)
    std::vector<SummaryEntry> summary;    // the kill digits in display order (List2)
    QStringList reportLines;              // report lines (List3)
    QStringList schemes;                  // the scheme list (List4)

    // Working values of the last count and backtest.
    DigitTally tally;                     // the last count; its label names the next statistics row
    QString nextIssue;                    // the issue after the newest loaded draw
    QString reportText;                   // the current scheme's report block
    int verifyPeriod = 0;                 // period being verified (0: the next issue)
    RankTable leftRanks;
    RankTable rightRanks;
    script::Variant series;               // the count series a(0..T) the condition sees
    int seriesPos = 0;                    // next slot of the series to fill (newest first)

    // The host of the runs (not owned; the calculator's own empty one until set).
    void setRunHost(RunHost* host) { host_ = host ? host : &ownHost_; }
    RunHost& runHost() { return *host_; }
    // Where the condition's MsgBox and InputBox go (not owned).
    void setScriptHost(script::ScriptHost* host) { conditionScript_.setHost(host); }
    // Failures of the last operation (a record skipped, too few draws, a file not written),
    // one per line, for the window's message; emptied when a run or handler starts.
    QString lastError;
    void addError(const QString& text) {
        if (!lastError.isEmpty()) lastError += QLatin1Char('\n');
        lastError += text;
    }

    // ---- Draws and counters ----
    // The draws come from one of two places: the selected lottery's draw file, read by
    // loadDraws() and once as each run starts (the run works on what it read to its end), or a
    // value handed in (useDraws), which nothing reads over.
    // The draws as lines, less the newest range.newestLeftOut, the file read first unless the
    // draws were handed in. False (lists untouched) on an unreadable file or too few draws.
    bool loadDraws();
    void selectLottery(bool p3);           // 福彩3D or 排列三 from its draw file, reload, whole range
    void reloadWholeRange();               // loadDraws(), whole range
    // A computation's draws handed in as a value (the run's history, oldest first, with its
    // lottery): the draw file is not read again until selectLottery(), so a file changed on disk
    // meanwhile changes nothing. Reloads the whole range; false as loadDraws().
    bool useDraws(const CalculatorDraws& draws);
    bool drawsHandedIn() const { return drawsHandedIn_; }
    bool setSeriesRange();                 // range for the series; false when too few draws
    void countAnywhere(int d);             // counters of digit d anywhere in the range
    void countAtPosition(int d, int position);  // counters of digit d at place 1..3
    void addStatRow();                     // the counters as a statistics row
    void clearStatRows() { statRows.clear(); }
    int rangeLength() const { return range.last - range.first + 1; }

    // ---- Count series and evaluation ----
    void buildCountSeries();               // the series over every window of the range
    void nextSeriesWindow();               // moves the range on by one and counts one window more
    QString rankDigits();                  // the digits ranked by how often the condition holds
    // 1 holds, 0 does not, -1 error (the empty value).
    int evaluateCondition();

    // ---- Backtest run ----
    void runBacktests();                   // run over every record of the scheme list, then the summary
    // runBacktests() with the records spread over up to threads threads (0: one per core), each
    // driving a helper calculator this one keeps for its later runs, kept results and all. The
    // same report lines, errors and summary in the same order; failing conditions are told
    // once the threads are done, in the records' order. Meanwhile the host lets events through
    // and a stop reaches every thread. Records that may show boxes or run code of their own
    // making run here, one after another, as runBacktests() runs them.
    void runBacktestsSpread(int threads = 0);
    // Starts making the helper calculators of runBacktestsSpread(threads) ahead of its first run,
    // on threads of their own, and returns at once; the run waits for any still being made. A
    // no-op once they exist.
    void prepareSpread(int threads = 0);
    void backtestCondition();              // backtest of the current condition
    void pauseOrResume();
    RunState runState() const { return runState_; }
    // A stop also ends a condition evaluation under way at once.
    void setRunState(RunState state) {
        runState_ = state;
        stopRequest_.store(state == RunState::Stopped);
    }
    void stop() { setRunState(RunState::Stopped); }
    bool stopped() const {
        return runState_ == RunState::Stopped || (outsideStop_ && outsideStop_->load(std::memory_order_relaxed));
    }
    // A stop set from another thread (not owned; null for none): the calculator's runs on a
    // worker end at their next check, an evaluation under way included.
    void setOutsideStop(const std::atomic<bool>* flag) { outsideStop_ = flag; }
    // Keep the results of pure conditions per series (on by default); off, every series is
    // evaluated, as a reference for the kept results.
    void keepPureResults(bool on) {
        kept_.setKeeping(on);
        compiledCondition_.clear();
    }
    // A condition's failure as the messages show it: its number, description, the line of the
    // wrapped condition it failed on with that line's text, and its source.
    QString conditionErrorText(const script::ScriptError& error) const;

    // ---- Rank statistics and summary ----
    void leftRankStatistics();
    void rightRankStatistics();
    void summarise();                      // summary of the report lines
    QStringList summaryLines() const;      // the summary's display lines
    QList<int> killDigits() const;         // the summary's digits, in its order

    // ---- Omission analyses ----
    void omissionAnalysis();               // omission analysis of the ten digits
    bool rollingWindow();                  // rolling window; false when cycle.length is not usable
    void nextDraw();                       // next draw, then omissionAnalysis

    // ---- Scheme list ----
    // Loads the document at url into the scheme list (kept when nothing could be loaded).
    void loadSchemeList(const QString& url, platform::Downloader* downloader = nullptr);
    // Imports scheme records from a file the window chose, without duplicates. Returns the
    // number of lines added; -1 when unreadable.
    int importSchemes(const QString& path);
    void clearSchemes() { schemes.clear(); }

    // ---- Batch verification and report files ----
    void batchVerification();              // asks through the host's confirm
    bool saveReportLines();                // save the report lines to a ReportLineFile
    bool saveAndClearReportLines();        // save and empty them
    // Imports report lines from a file the window chose; same return as importSchemes.
    int importReportLines(const QString& path);
    void clearReportLines() { reportLines.clear(); }
    // Full path of the BatchReportFile a report line names (empty for a short line) and the
    // scheme tag to search in it ("方案01").
    static QString reportFileOfLine(const QString& line);
    static QString schemeTagOfLine(const QString& line);
    QString batchReportFileName(int periods, int cycleCount) const;  // "第...txt"
    QString reportLineFileName(const QString& hhmmss) const;        // "第... hh-mm-ss.txt"

private:
    RunState runState_ = RunState::Running;
    RunHost ownHost_;
    RunHost* host_ = &ownHost_;
    void countWindow(int d, int position, const QString& labelSuffix);
    void wait(int ms);
    void pump();
    bool scriptErrorShownThisBacktest_ = false;
    QString compiledCondition_;
    bool compiledOk_ = false;
    script::ScriptCondition conditionScript_;
    bool conditionTalks_ = false;              // the condition may show boxes or run code of its own making
    std::atomic<bool> stopRequest_{false};     // the engine's stop hook: runState_ == Stopped
    const std::atomic<bool>* outsideStop_ = nullptr;
    std::vector<script::Variant> seriesCopy_;  // the series as an evaluation started
    ConditionResults kept_;          // kept results and rankings of pure conditions
    int scriptErrorCount_ = 0;       // failures of conditions so far
    void compileCondition();
    QString rankRows();              // the rank rows of the ranking made; the ranked digits
    bool evaluateSeries(script::Variant* result);
    bool inBacktest_ = false;
    bool nextIssueRanked_ = true;  // row 0 of the rank tables belongs to this backtest
    void counters(int d, int position);  // position 0: anywhere
    void countersOver(int d, int position, int first, int last);
    // The anywhere mode's series from per-line digit counts (see countseries.cpp).
    void fillAnywhereSeries(int d);
    void materializeSeries();                  // the pending counts into the script's array
    std::vector<int> pendingValues_;           // a(0..T) counted, -1 Empty
    bool seriesPending_ = false;               // series lags behind pendingValues_
    void resetSeries(int upper);
    void settleCounters();
    DigitCounts digitCounts_;                       // the draws' digits counted, per line
    std::array<int, 3> countedWindow_{};            // digit, first, last of the latest window
    bool counted_ = false;
    // The draws (handed in, or the draw file's as read last) and where they come from.
    CalculatorDraws draws_;
    bool drawsHandedIn_ = false;
    bool readDrawFile();             // the selected lottery's draw file into draws_
    bool cutLines();                 // lines from draws_, less the newest left out (no reading)
    void rankStatistics(const RankTable& table, QChar side);
    bool writeReportLines(bool emptyList);
    void handleScriptError(const script::ScriptError& error);
    std::shared_ptr<struct SpreadHelpers> spreadHelpers_;  // runBacktestsSpread's calculators
    // A run's start: errors, summary and report lines emptied, the draws loaded, the draw file
    // read for the last time in this run (false when they cannot be).
    bool startBacktests();
    // Backtests every record of schemes in turn (no summary); false when stopped or the draws
    // cannot be read.
    bool backtestRecords();
    // The helpers of a spread run over parts threads, once any being made are done (empty
    // places for those not made yet).
    std::vector<std::unique_ptr<struct SpreadHelper>>& spreadHelpers(int parts);
    // runBacktestsSpread's parts: the value its threads read, one part on a thread, and the
    // parts' lines, errors and failing conditions taken back in order.
    struct SpreadJob;
    SpreadJob spreadJob(int parts) const;
    static void runSpreadPart(std::unique_ptr<SpreadHelper>& slot, const SpreadJob& job, int part,
                              const std::atomic<bool>& stop, common::WorkProgress& progress);
    void takeSpreadResults(const std::vector<std::unique_ptr<SpreadHelper>>& helpers, int parts);
};

}  // namespace smart
