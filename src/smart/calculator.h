#pragma once
// The scheme calculator: count series evaluated through the script engine, the backtest over
// past draws, rank statistics, the summary of kill digits, omission analyses and the batch
// verification with its report files, over the draws its owner hands it (calculatordraws.h),
// from its settings (calculatorsettings.h), with the computation under way in a run object
// (calculatorrun.h) and what it keeps between computations in caches (calculatorcaches.h).
// Scheme records and the scheme list documents are in schemerecords.h.
//
// Plain logic without widgets. The calculator window SchemeCalculatorWindow
// (windows/schemecalculatorwindow.h) shows the state of one in its controls and binds its
// buttons to these operations; the smart-system and verification windows drive the one their
// context hands them (windows/smartcontext.h, made by smart::SmartCalculator in
// windows/calculatorhost.h) directly.
#include "common/workprogress.h"
#include "script/scriptengine.h"
#include "smart/calculatorcaches.h"
#include "smart/calculatordraws.h"
#include "smart/calculatorrun.h"
#include "smart/calculatorsettings.h"
#include "smart/schemerecords.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace smart {

// Where a backtest stands: going on, held until resumed, or asked to end.
enum class RunState { Running, Paused, Stopped };

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

    // ---- Settings ----
    // What the owner set (the calculator window's controls, a computation's caller). An
    // operation starts from them; the window's single operations write back what they moved (the
    // range they set, the hundreds text they wrote); a run (runBacktests, runBacktestsSpread,
    // batchVerification) never writes them: each record's cycle count, periods, condition and
    // place go into the run's own copy.
    const CalculatorSettings& settings() const { return settings_; }
    CalculatorSettings& settings() { return settings_; }

    // ---- What the calculator fills ----
    const QStringList& lines() const { return run_.lines; }                 // the draws' lines cut, oldest first (Combo1 / Combo2)
    const std::vector<StatRow>& statRows() const { return statRows_; }      // statistics rows (ListView1)
    const QStringList& digitRanking() const { return digitRanking_; }      // digit ranking, ascending (List1)
    const std::vector<SummaryEntry>& summary() const { return summary_; }  // the kill digits in display order (List2)
    // The summary a computation of the same draws made elsewhere (a verification's last draw).
    void setSummary(std::vector<SummaryEntry> entries) { summary_ = std::move(entries); }
    const QStringList& reportLines() const { return reportLines_; }        // report lines (List3)
    void setReportLines(const QStringList& lines) { reportLines_ = lines; }
    const QStringList& schemes() const { return schemes_; }                // the scheme list (List4)
    void setSchemes(const QStringList& records) { schemes_ = records; }
    // The working values of the last count and backtest (see CalculatorRun).
    const CalculatorRun& run() const { return run_; }
    // The run's working values for a caller that steps a computation by hand (tests setting the
    // lines or the period a ranking is made for); an operation started next starts from them.
    CalculatorRun& stepRun() { return run_; }
    const DigitTally& tally() const { return run_.tally; }
    const QString& nextIssue() const { return run_.nextIssue; }
    const QString& reportText() const { return run_.reportText; }

    // The host of the runs (not owned; the calculator's own empty one until set).
    void setRunHost(RunHost* host) { host_ = host ? host : &ownHost_; }
    RunHost& runHost() { return *host_; }
    // Where the condition's MsgBox and InputBox go (not owned).
    void setScriptHost(script::ScriptHost* host) { condition_.script.setHost(host); }
    // Failures of the last operation (a record skipped, too few draws, a file not written),
    // one per line, for the window's message; emptied when a run or handler starts.
    const QString& lastError() const { return lastError_; }
    void clearError() { lastError_.clear(); }
    void addError(const QString& text) {
        if (!lastError_.isEmpty()) lastError_ += QLatin1Char('\n');
        lastError_ += text;
    }

    // ---- Draws and counters ----
    // The draws are handed in by the calculator's owner as one value (a computation's history,
    // or a draw file read by ReadCalculatorDraws; HandInDrawFile does both); the calculator
    // never reads a file for them, so a file changed on disk changes nothing until its owner
    // hands it in again.
    const CalculatorDraws& draws() const { return draws_; }
    // Takes the draws, then their lines less the newest range.newestLeftOut over the whole range.
    // False (lines untouched) with too few draws.
    bool setDraws(const CalculatorDraws& draws);
    // The draws' lines again, less the newest range.newestLeftOut, the range unset; false as
    // setDraws().
    bool loadLines();
    bool setSeriesRange();                 // range for the series; false when too few draws
    void countAnywhere(int d);             // counters of digit d anywhere in the range
    void countAtPosition(int d, int position);  // counters of digit d at place 1..3
    void addStatRow();                     // the counters as a statistics row
    void clearStatRows() { statRows_.clear(); }

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
        condition_.text.clear();
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
    void clearSchemes() { schemes_.clear(); }

    // ---- Batch verification and report files ----
    void batchVerification();              // asks through the host's confirm
    bool saveReportLines();                // save the report lines to a ReportLineFile
    bool saveAndClearReportLines();        // save and empty them
    // Imports report lines from a file the window chose; same return as importSchemes.
    int importReportLines(const QString& path);
    void clearReportLines() { reportLines_.clear(); }
    // Full path of the BatchReportFile a report line names (empty for a short line) and the
    // scheme tag to search in it ("方案01").
    static QString reportFileOfLine(const QString& line);
    static QString schemeTagOfLine(const QString& line);
    QString batchReportFileName(int periods, int cycleCount) const;  // "第...txt"
    QString reportLineFileName(const QString& hhmmss) const;        // "第... hh-mm-ss.txt"

private:
    // ---- State ----
    CalculatorSettings settings_;  // what the owner set; no run writes it
    CalculatorRun run_;            // the computation under way, or the last one
    int operationDepth_ = 0;       // public operations under way (one calling another counts once)
    CalculatorDraws draws_;        // the draws handed in last
    // What the computations fill, for the owner to show (the lists of the calculator window).
    std::vector<StatRow> statRows_;
    QStringList digitRanking_;
    std::vector<SummaryEntry> summary_;
    QStringList reportLines_;
    QStringList schemes_;          // the records a run backtests
    QString lastError_;
    // How runs are driven and stopped: the host asks and tells; a stop reaches the script engine
    // through stopRequest_ (this thread's) or outsideStop_ (another thread's, not owned).
    RunState runState_ = RunState::Running;
    RunHost ownHost_;              // the empty host until the owner sets one
    RunHost* host_ = &ownHost_;
    std::atomic<bool> stopRequest_{false};  // runState_ == Stopped, as the engine reads it
    const std::atomic<bool>* outsideStop_ = nullptr;
    int scriptErrorCount_ = 0;     // failing conditions so far: a ranking that met one is not kept
    // The series as an evaluation started, to start it again away from this thread; a member so
    // that tens of thousands of evaluations reuse one buffer.
    std::vector<script::Variant> seriesCopy_;
    // What is kept between computations to spare work (calculatorcaches.h).
    CompiledCondition condition_;
    ConditionResults kept_;
    DigitCounts digitCounts_;
    std::shared_ptr<struct SpreadHelpers> spreadHelpers_;  // runBacktestsSpread's calculators

    // A public operation: the outermost one starts the run's copy from the settings and, unless
    // it is a run, writes back what it moved.
    class Operation {
    public:
        enum Kind { WritesBack, Run };
        explicit Operation(SchemeCalculator& calc, Kind kind = WritesBack);
        ~Operation();
        Operation(const Operation&) = delete;
        Operation& operator=(const Operation&) = delete;

    private:
        SchemeCalculator& calc_;
        bool outermost_, writesBack_;
    };

    int rangeLength() const { return run_.range.last - run_.range.first + 1; }  // of the run
    void countWindow(int d, int position, const QString& labelSuffix);
    void wait(int ms);
    void pump();
    void compileCondition();
    QString rankRows();  // the rank rows of the ranking made; the ranked digits
    bool evaluateSeries(script::Variant* result);
    void counters(int d, int position);  // position 0: anywhere
    void countersOver(int d, int position, int first, int last);
    // The anywhere mode's series from per-line digit counts (see countseries.cpp).
    void fillAnywhereSeries(int d);
    void materializeSeries();  // the pending counts into the script's array
    void resetSeries(int upper);
    void settleCounters();
    bool cutLines();  // lines from draws_, less the newest left out
    void rankStatistics(const RankTable& table, QChar side);
    bool writeReportLines(bool emptyList);
    void handleScriptError(const script::ScriptError& error);
    // A run's start: errors, summary and report lines emptied, the lines cut from the draws
    // (false when there are too few).
    bool startBacktests();
    // Backtests every record of schemes in turn (no summary); false when stopped or there are
    // too few draws.
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

// An owner's reload: the lottery's draw file read (ReadCalculatorDraws) and handed to calc
// (setDraws, the whole range). False, with the reason among calc's errors, when the file cannot
// be read (calc keeps the draws it had) or holds too few draws.
bool HandInDrawFile(SchemeCalculator& calc, bool p3);

}  // namespace smart
