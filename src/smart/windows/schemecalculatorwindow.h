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
    void loadDraws();                // reads the draw file again (range left unset)
    // Handlers of the controls, by caption.
    void Option1_Click();            // 福彩3D
    void Option2_Click();            // 排列三
    void Label1_DblClick();          // 开奖: reload, whole range
    void Command1_Click();           // 遗漏分析
    void Command2_Click();           // 分析 (rolling window)
    void Command3_Click();           // 分析 (count series)
    void Command4_Click();           // 清空 (statistics rows)
    void Command5_Click();           // NEXT (next draw)
    void Command6_Click();           // NEXT (next series window)
    void Command7_Click();           // 设置 (range for the series)
    void Command9_Click();           // 左统计
    void Command10_Click();          // 验证
    void Command11_Click();          // █ (stop)
    void Command12_Click();          // 右统计
    void Command13_Click();          // 批量验证
    void Command14_Click();          // 保存
    void Command15_Click();          // 清空 (scheme list)
    void Command16_Click();          // 导入条件
    void Command17_Click();          // 开始算号
    void Command18_Click();          // 导入... (report lines)
    void Command19_Click();          // 清空 (report lines)
    void Command20_Click();          // 保存2 (save and empty)
    void Command21_Click();          // 汇总
    void Check1_Click();             // ▌▌ / ◣ (pause, resume)
    void List3_DblClick();           // opens the report file a line names

public:
    // Test hook: instead of starting the text editor with a report file.
    static std::function<void(const QString& path, const QString& tag)> reportOpener;

private:
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
