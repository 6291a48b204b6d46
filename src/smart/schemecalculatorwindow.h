#pragma once
// The scheme calculator window "计算器": loaded hidden by the smart-system window and driven
// through its public handlers; its controls show the state of the SchemeCalculator it owns.
// Its objectName is "zlxh_fm1": tests, settings and the other windows find it by that name.
#include "platform/ui/scriptboxes.h"
#include "smart/calculator.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace smart {

class SchemeCalculatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit SchemeCalculatorWindow(QWidget* parent = nullptr);
    ~SchemeCalculatorWindow() override;

    // The one calculator window of the program: loaded hidden on first use, never shown by the
    // smart windows, kept until the program ends.
    static SchemeCalculatorWindow* shared();

    SchemeCalculator& calculator() { return calc_; }
    const SchemeCalculator& calculator() const { return calc_; }

    // The loaded scheme records, the summary and the report lines (List4, List2, List3).
    const QStringList& schemeList() const { return calc_.schemes; }
    const QStringList& summaryList() const { return calc_.summary; }
    const QStringList& reportLines() const { return calc_.reportLines; }
    void clearSchemeList();                 // empties List4
    // Newest draws left out (Text11).
    void setLeaveOut(int count);
    // Run-control caption of Check1 ("▌▌", "◣", "█").
    QString runControl() const { return calc_.runState; }
    void setRunControl(const QString& caption);

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
    // Test hook: the file an import reads instead of asking (empty: cancelled).
    static std::function<QString()> importFileChooser;
    // Test hook: instead of starting the text editor with a report file.
    static std::function<void(const QString& path, const QString& tag)> reportOpener;

private:
    void pullControls();   // controls -> calculator before a handler
    void pushControls();   // calculator -> controls after it
    void runHandler(const std::function<void()>& body);
    void runWithRunControls(const std::function<void()>& body);  // a backtest, with Check1 and Command11 shown
    void buildControls();
    SchemeCalculator calc_;
    ui::ScriptBoxes scriptBoxes_{this};
    QString shownRunCaption_;
    bool busy_ = false;
};

}  // namespace smart
