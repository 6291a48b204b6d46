#pragma once
// The scheme calculator window "计算器": its controls show the state of the SchemeCalculator it
// owns and its buttons run the calculator's operations. The smart windows do not use it: they
// drive the calculator of their context (calculatorhost.h) directly.
// Its objectName is "zlxh_fm1": tests and settings find it by that name.
#include "platform/ui/scriptboxes.h"
#include "smart/calculator.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace smart {

// Captions of the run control (Check1): running, paused, stopped.
inline const QString kRunRunning = QStringLiteral("▌▌");
inline const QString kRunPaused = QStringLiteral("◣");
inline const QString kRunStop = QStringLiteral("█");
QString RunCaption(RunState state);

class SchemeCalculatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit SchemeCalculatorWindow(QWidget* parent = nullptr);
    ~SchemeCalculatorWindow() override;

    SchemeCalculator& calculator() { return calc_; }
    const SchemeCalculator& calculator() const { return calc_; }

    // The loaded scheme records, the summary and the report lines (List4, List2, List3).
    const QStringList& schemeList() const { return calc_.schemes(); }
    QStringList summaryList() const { return calc_.summaryLines(); }
    const QStringList& reportLines() const { return calc_.reportLines(); }
    void clearSchemeList();                 // empties List4
    // Newest draws left out (Text11).
    void setLeaveOut(int count);
    // The calculator's run state, its caption shown in Check1.
    void setRunState(RunState state);

public slots:
    // Loads the scheme list at url (List4); kept when nothing could be loaded.
    void loadSchemeList(const QString& url, platform::Downloader* downloader = nullptr);

public:
    // Test hook: instead of starting the text editor with a report file.
    static std::function<void(const QString& path, const QString& tag)> reportOpener;

private:
    // Handlers of the controls, each named by what it does; the comment names the control.
    // The window's reloads: each reads a draw file and hands it to the calculator, whose runs
    // compute on what it was handed last.
    void chooseFc3d();               // 福彩3D (Option1): its draw file, whole range
    void chooseP3();                 // 排列三 (Option2): its draw file, whole range
    void reloadWholeRange();         // 开奖 (Label1), double click: reload, whole range
    void analyseOmissions();         // 遗漏分析 (Command1)
    void analyseRollingWindow();     // 分析 (Command2): rolling window
    void buildCountSeries();         // 分析 (Command3): count series
    void clearStatRows();            // 清空 (Command4): statistics rows
    void nextDraw();                 // NEXT (Command5): next draw
    void nextSeriesWindow();         // NEXT (Command6): next series window
    void setSeriesRange();           // 设置 (Command7): range for the series
    void leftRankStatistics();       // 左统计 (Command9)
    void backtestCondition();        // 验证 (Command10)
    void stopRun();                  // █ (Command11)
    void rightRankStatistics();      // 右统计 (Command12)
    void batchVerification();        // 批量验证 (Command13)
    void saveReportLines();          // 保存 (Command14)
    void clearSchemes();             // 清空 (Command15): scheme list
    void importSchemes();            // 导入条件 (Command16)
    void runBacktests();             // 开始算号 (Command17)
    void importReportLines();        // 导入... (Command18): report lines
    void clearReportLines();         // 清空 (Command19): report lines
    void saveAndClearReportLines();  // 保存2 (Command20): save and empty
    void summarise();                // 汇总 (Command21)
    void pauseOrResume();            // ▌▌ / ◣ (Check1)
    void openReportFile();           // List3, double click: the report file the line names

    void pullControls();   // controls -> calculator before a handler
    void pushControls();   // calculator -> controls after it
    void runHandler(const std::function<void()>& body);
    void runWithRunControls(const std::function<void()>& body);  // a backtest, with Check1 and Command11 shown
    void buildControls();
    void buildButtons(QGridLayout* grid, int row);
    SchemeCalculator calc_;
    RunHost host_;
    ui::ScriptBoxes scriptBoxes_{this};
    bool busy_ = false;

    // Controls by what they hold; their objectNames are the ones in brackets.
    struct Edits {
        QLineEdit* leftOut;            // Text11 近期验证
        QLineEdit* cycleLength;        // Text1 周期
        QLineEdit* seriesLength;       // Text4 折线图期数
        QLineEdit* cycleLengthsTried;  // Text5 循环周期数
        QLineEdit* lastCycleLength;    // Text9
        QLineEdit* cycleStep;          // Text8
        QLineEdit* verifyPeriods;      // Text2 验证期数
        QLineEdit* lastVerifyPeriods;  // Text6
        QLineEdit* verifyStep;         // Text7
        QLineEdit* position;           // Text10 号码位置
    } edits_{};
    QRadioButton* fc3d_ = nullptr;         // Option1
    QRadioButton* p3_ = nullptr;           // Option2
    QComboBox* rangeFirst_ = nullptr;      // Combo1
    QComboBox* rangeLast_ = nullptr;       // Combo2
    QComboBox* mode_ = nullptr;            // Combo3
    QComboBox* digit_ = nullptr;           // Combo4
    QComboBox* condition_ = nullptr;       // Combo5
    QPlainTextEdit* verifyText_ = nullptr; // Text3
    QTreeWidget* statRows_ = nullptr;      // ListView1
    QListWidget* ranking_ = nullptr;       // List1
    QListWidget* summary_ = nullptr;       // List2
    QListWidget* reportLines_ = nullptr;   // List3
    QListWidget* schemes_ = nullptr;       // List4
    QCheckBox* runControl_ = nullptr;      // Check1
    QPushButton* stop_ = nullptr;          // Command11
    QPushButton* clearSchemes_ = nullptr;  // Command15
    QPushButton* clearReportLines_ = nullptr;  // Command19
};

}  // namespace smart
