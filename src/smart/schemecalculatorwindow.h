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

    SchemeCalculator& calculator() { return calc_; }
    const SchemeCalculator& calculator() const { return calc_; }

    // The loaded scheme records, the summary and the report lines (List4, List2, List3).
    const QStringList& schemeList() const { return calc_.List4; }
    const QStringList& summaryList() const { return calc_.List2; }
    const QStringList& reportLines() const { return calc_.List3; }
    void clearSchemeList();                 // empties List4
    // Newest draws left out (Text11).
    void setLeaveOut(int count);
    // Run-control caption of Check1 ("▌▌", "◣", "█").
    QString runControl() const { return calc_.Check1; }
    void setRunControl(const QString& caption);

public slots:
    void re_FangAn(const QString& url, platform::Downloader* downloader = nullptr);
    void LoadHao();
    void Option1_Click();
    void Option2_Click();
    void Label1_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void Command15_Click();
    void Command16_Click();
    void Command17_Click();
    void Command18_Click();
    void Command19_Click();
    void Command20_Click();
    void Command21_Click();
    void Check1_Click();
    void List3_DblClick();

public:
    // Test hook: the file an import reads instead of asking (empty: cancelled).
    static std::function<QString()> importFileChooser;
    // Test hook: instead of starting the text editor with a report file.
    static std::function<void(const QString& path, const QString& tag)> reportOpener;

private:
    void pullControls();   // controls -> calculator before a handler
    void pushControls();   // calculator -> controls after it
    void runHandler(const std::function<void()>& body);
    void runBacktests(const std::function<void()>& body);  // with the run controls shown
    void buildControls();
    SchemeCalculator calc_;
    ui::ScriptBoxes scriptBoxes_{this};
    QString shownRunCaption_;
    bool busy_ = false;
};

}  // namespace smart
