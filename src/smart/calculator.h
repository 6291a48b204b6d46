#pragma once
// The scheme calculator: scheme records, the draws it reads itself, count series evaluated
// through the script engine, the backtest over past draws, rank statistics, the summary of
// kill digits, omission analyses and the batch verification with its report files.
//
// Plain logic without widgets. The hidden calculator window SchemeCalculatorWindow (SchemeCalculatorWindow.h) shows this
// state in its controls; the smart-system and verification windows drive it through that
// window or directly through calculator().
//
// Members named after a control hold that control's value (Text5 the cycle count, List4 the
// scheme list, Check1 the run-control caption ...). Handlers keep their control names.
#include "script/scriptengine.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace platform {
class Downloader;
}

namespace smart {

// Run-control captions of Check1.
inline const QString kRunRunning = QStringLiteral("▌▌");
inline const QString kRunPaused = QStringLiteral("◣");
inline const QString kRunStop = QStringLiteral("█");

// Modes of Combo3.
inline const QString kModeAnywhere = QStringLiteral("胆码");
inline const QString kModeHundreds = QStringLiteral("百位");
inline const QString kModeTens = QStringLiteral("十位");
inline const QString kModeUnits = QStringLiteral("个位");

// Scheme list addresses on the home server.
inline const QString kSchemeList3D = QStringLiteral("/3d/3d.xml");
inline const QString kSchemeListP3 = QStringLiteral("/3d/p3.xml");
inline const QString kSchemeListTest3D = QStringLiteral("/3d/T_3d.xml");
inline const QString kSchemeListTestP3 = QStringLiteral("/3d/T_p3.xml");
// The path for a lottery, with or without the test mark.
QString SchemeListPath(bool lotteryIsP3, bool testMark);

// ---- Scheme records (SchemeReportLine), fields counted from the end of the line ----

inline constexpr int kMinRecordLength = 112;
inline constexpr int kConditionLength = 79;

struct SchemeRecord {
    int cycleCount = 0;     // "周期" field
    int verifyPeriods = 0;  // "验证" field
    QString condition;      // the 79 characters as they stand
    QString sideRank;       // "左3" / "右9"
    QChar digit;            // the digit predicted for the record's issue
};
// Takes the fields a run needs; false with a reason for a line too short or with a
// cycle/verification field that is not a number.
bool ParseSchemeRecord(const QString& line, SchemeRecord* record, QString* error = nullptr);
// Character 28 from the end (the digit of a report line); a null QChar when the line is shorter.
QChar ReportLineDigit(const QString& line);

// ---- Scheme list documents (SchemeListXml) ----

struct SchemeListResult {
    bool loaded = false;    // false: no root element (unreachable, not XML); the list is kept
    QStringList records;    // records in document order, "[" "]" turned into "<" ">"
    QString error;          // a malformed child (records before it are kept), or why not loaded
};
// The records of a document: the first attribute of each child of the root, trimmed; values
// not ending in "txt" are skipped.
SchemeListResult ParseSchemeListXml(const QByteArray& xml);
// Downloads url and parses it; through downloader when given, so that its owner can abort.
SchemeListResult FetchSchemeList(const QString& url, platform::Downloader* downloader = nullptr);

// The 66 built-in scheme conditions of Combo5, each 79 characters ("... then '方案01").
const QStringList& BuiltInConditions();

// The issue after a calculator line: its first seven characters as a number, plus one.
QString CalculatorNextIssue(const QString& lastLine);

// ---- Statistics rows of ListView1 ----

struct StatRow {
    QString label;  // 类别
    int hitCount = 0, maxGap = 0, prevGap = 0, currentGap = 0;
    int drawCount = 0;  // N, the range length the row was computed over
    // 类别 出现次数 出现概率 平均遗漏 最大遗漏 上期遗漏 本期遗漏 欲出几率
    QStringList columns() const;
};
QStringList StatColumnHeaders();

// A table of ranks: rows 0..1000 (verification periods), columns 0..9 ranks ("B" none),
// column 10 the drawn digits ("未开奖" in period 0).
inline constexpr int kRankRows = 1001;
using RankRow = std::array<QString, 11>;
using RankTable = std::vector<RankRow>;

// What a long run needs from its host: the window pumps events; tests leave these empty.
struct RunHooks {
    std::function<void()> processEvents;  // let pending window events run
    std::function<bool()> inputWaiting;   // user input waiting in the queue
    std::function<void(int ms)> sleep;    // wait while paused
    // A scheme condition failed in the engine; reported once per backtest.
    std::function<void(const script::ScriptError& error, const QString& verifyText)> scriptError;
    // True when someone can lift a pause (the calculator window is shown). A hidden run never
    // pauses on a script error, so it cannot hang.
    std::function<bool()> canResume;
    // Yes/No question of the batch verification; false = No. Missing: yes.
    std::function<bool(const QString& text)> confirm;
    // Plain messages ("保存成功！"...).
    std::function<void(const QString& text)> message;
};

class SchemeCalculator {
public:
    SchemeCalculator();

    // ---- State, named after the controls ----
    bool Option2 = false;                 // selected lottery: false 福彩3D (Option1), true 排列三
    QString Frame1Tag = QStringLiteral("\\hao.txt");  // draw file relative to the program folder
    int Text11 = 0;                       // newest draws left out
    QStringList lines;                    // Combo1 / Combo2: the loaded draws, oldest first
    int Combo1 = -1;                      // index selected in Combo1 (first draw of the range)
    int Combo2 = -1;                      // index selected in Combo2 (last draw of the range)
    QString Combo3 = kModeAnywhere;       // 项目
    int Combo4 = 0;                       // 类别: the digit examined
    int Text1 = 10;                       // 周期: cycle length
    int Text4 = 5;                        // 折线图期数: T, counts in the series
    int Text5 = 1;                        // 循环周期数: cycle lengths tried
    int Text2 = 0;                        // 验证期数
    QString Text10;                       // 号码位置: side and rank of the current record
    QString Combo5;                       // the scheme condition
    QString Text3;                        // verification text of the "百位" mode
    std::vector<StatRow> ListView1;       // statistics rows
    QStringList List1;                    // digit ranking, ascending
    QStringList List2;                    // summary, ascending
    QStringList List3;                    // report lines
    QStringList List4;                    // scheme list
    QString Check1 = kRunRunning;         // run control caption
    // Batch verification bounds.
    int Text9 = 100;                      // last cycle count
    int Text8 = 1;                        // cycle step
    int Text6 = 0;                        // last verification periods
    int Text7 = 1;                        // verification step
    int Combo5Index = 0;                  // selected built-in condition (first scheme of a batch)

    // Module variables.
    QString StatLabel;
    int HitCount = 0, MaxGap = 0, PrevGap = 0, CurrentGap = 0;
    QString NextIssue;
    QString ReportText;
    int VerifyPeriod = 0;
    RankTable LeftRankTable;
    RankTable RightRankTable;
    script::Variant FormulaSeries;        // a(0..T)
    int FormulaSeriesPos = 0;

    RunHooks hooks;
    // Where the condition's MsgBox and InputBox go (not owned).
    void setScriptHost(script::ScriptHost* host) { condition_.setHost(host); }
    // Failures of the last operation (a record skipped, too few draws, a file not written),
    // one per line, for the window's message; emptied when a run or handler starts.
    QString lastError;
    void addError(const QString& text) {
        if (!lastError.isEmpty()) lastError += QLatin1Char('\n');
        lastError += text;
    }

    // ---- Draws and counters ----
    bool LoadHao();                        // false (lists untouched) on an unreadable/short file
    void Option1_Click();                  // 福彩3D, reload, whole range
    void Option2_Click();                  // 排列三, reload, whole range
    void Label1_DblClick();                // reload, whole range
    bool Command7_Click();                 // range setting; false when too few draws
    void DM(int LeiBei);
    void B_S_G(int LeiBei, int State);
    void SHOW_FX();
    void Command4_Click() { ListView1.clear(); }
    int rangeLength() const { return Combo2 - Combo1 + 1; }

    // ---- Count series and evaluation ----
    void Command3_Click();
    void Command6_Click();
    QString YZ_JS();
    // 1 holds, 0 does not, -1 error (the empty value).
    int RunFormulaScript();

    // ---- Backtest run ----
    void Command17_Click();                // run over every record of List4, then the summary
    void Command10_Click();                // backtest of the scheme in Combo5
    void Check1_Click();                   // pause / resume
    void Command11_Click() { Check1 = kRunStop; }
    bool stopped() const { return Check1 == kRunStop; }

    // ---- Rank statistics and summary ----
    void Command9_Click();                 // left statistics
    void Command12_Click();                // right statistics
    void Command21_Click();                // summary of List3 into List2

    // ---- Omission analyses ----
    void Command1_Click();                 // omission analysis of the ten digits
    bool Command2_Click();                 // rolling window; false when Text1 is not usable
    void Command5_Click();                 // next draw, then Command1_Click

    // ---- Scheme list ----
    // Loads the document at url into List4 (List4 kept when nothing could be loaded).
    void re_FangAn(const QString& url, platform::Downloader* downloader = nullptr);

    // ---- Batch verification and report files ----
    void Command13_Click();                // batch verification (asks through hooks.confirm)
    bool Command14_Click();                // save List3 to a ReportLineFile
    bool Command20_Click();                // save and empty List3
    // Imports (the window chooses the file): scheme records into List4 without duplicates,
    // report lines into List3. Return the number of lines added; -1 when unreadable.
    int ImportConditions(const QString& path);
    int ImportReportLines(const QString& path);
    void Command15_Click() { List4.clear(); }
    void Command19_Click() { List3.clear(); }
    // Full path of the BatchReportFile a report line names (empty for a short line) and the
    // scheme tag to search in it ("方案01").
    static QString ReportFileOfLine(const QString& line);
    static QString SchemeTagOfLine(const QString& line);
    QString BatchReportFileName(int verifyPeriods, int cycleCount) const;  // "第...txt"
    QString ReportLineFileName(const QString& hhmmss) const;              // "第... hh-mm-ss.txt"

private:
    void countWindow(int d, int position, const QString& labelSuffix);
    void wait(int ms);
    void pump();
    bool scriptErrorShownThisBacktest_ = false;
    QString compiledCondition_;
    bool compiledOk_ = false;
    script::ScriptCondition condition_;
    bool inBacktest_ = false;
    bool nextIssueRanked_ = true;  // row 0 of the rank tables belongs to this backtest
    void counters(int digit, int position);  // position 0: anywhere
    void countersOver(int digit, int position, int first, int last);
    // The anywhere mode's series from per-line digit counts (see calculator.cpp).
    void prepareDigitCounts();
    void fillAnywhereSeries(int digit);
    void resetSeries(int upper);
    void settleCounters();
    void countDigits();
    QStringList digitsSource_;                      // the lines the counts were made from
    std::vector<std::array<int, 10>> digitCounts_;  // [i][d]: lines before i holding digit d
    const QString* digitsData_ = nullptr;           // the lines checked against them last
    bool digitsChecked_ = false;
    std::array<int, 3> countedWindow_{};            // digit, first, last of the latest window
    bool counted_ = false;
    // The draw file's bytes and their records, decoded once for as long as the file is unchanged.
    QByteArray decodedBytes_;
    QStringList decodedRecords_;
    QString resolvedName_, resolvedFolder_, resolvedPath_;  // the draw file found last
    void rankStatistics(const RankTable& table, QChar side);
    bool saveReportLines(bool emptyList);
    void handleScriptError(const script::ScriptError& error);
};

}  // namespace smart
