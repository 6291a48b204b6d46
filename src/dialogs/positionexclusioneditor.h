#pragma once
// Positional exclusion editor "定位排除过滤": a sorted list of positional patterns (a digit or
// "*" per position) built by hand, by combining ticked characters, from text, from a file or
// from ready-made sets; stored into PositionPatterns when the filter starts or on leaving.
// Unlike the other editors it unloads on close and is rebuilt from PositionPatterns.
// Its objectName is "Form11": tests, settings and the other windows find it by that name.
#include "dialogs/workbenchapi.h"
#include <QDialog>
#include <QList>
#include <QStringList>


class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QStringListModel;
class QTabWidget;
class QTimer;

class PositionExclusionEditor : public QDialog {
    Q_OBJECT
public:
    explicit PositionExclusionEditor(dialogs::WorkbenchApi& bench);

    // Builds the editor afresh from PositionPatterns over the workbench, shows it modal and
    // unloads it when it is closed (the workbench's "过滤" of 定位过滤); while it is open it is the
    // workbench's child "Form11".
    static int Open(dialogs::WorkbenchApi& bench);
    // The help text of "说明".
    static QString HelpText();

    // The rows of List1, in list order.
    const QStringList& patterns() const { return patterns_; }
    // Selects row `row` of List1 (-1: none).
    void selectRow(int row);

    // Adds one pattern unless it is "***" or a row already starts with it.
    void CheckForDupes(const QString& text);
    // Empties the list and lists the numbers drawn (kind 1) or not drawn (kind 0) in the
    // analysis range.
    void ListDrawnOrUndrawn(int kind);

public slots:
    void Form_Load();
    void Command2_Click();   // 添加
    void Command14_Click();  // 生成号码
    void Command15_Click();  // 采集号码
    void Command19_Click();  // 组 变 单
    void Command11_Click();  // expansion into digit orders
    void Command20_Click();  // 清空号码
    void Command12_Click();  // import from a text file
    void Command13_Click();  // help text
    void Command17_Click();  // save step
    void Command25_Click();  // 开始过滤号码
    void Command18_Click();  // 返回>>
    void Command22_Click();  // 撤消
    void Command23_Click();  // 恢复
    void Command24_Click();  // [做大底]
    void List1_DblClick();
    void Timer1_Timer();
    void menu_10_Click();  // 从文件导入
    void menu_2_Click();   // 未出号码
    void meun_3_Click();   // 已出号码
    void menu_4_Click();   // 组三
    void menu_5_Click();   // 组六
    void menu_6_Click();   // 顺子
    void meun_7_Click();   // 半顺
    void menu_8_Click();   // 杂六
    void menu_9_Click();   // 豹子
    void menu_13_Click();  // 说明

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    dialogs::WorkbenchApi& bench_;
    bool addPattern(const QString& text);  // the duplicate rule, without refreshing the view
    void collect(const QString& text);     // every group of three digits or "*"
    void refresh();
    void listSet(const QStringList& numbers);
    void collectSet(const QString& text);
    void boxChanged(int k);

    void buildMenus();
    void buildManualTab();
    void buildGeneratorTab();
    void buildPasteTab();
    void buildPatternList();

    QStringList patterns_;
    QTabWidget* sources_ = nullptr;             // SSTab2
    QLineEdit* positionBoxes_[3] = {};          // Text9..Text11
    QList<QCheckBox*> characterRows_[3];        // Check1..Check3, 0..9 and "*"
    QPlainTextEdit* pastedText_ = nullptr;      // Text1
    QListView* patternList_ = nullptr;          // List1
    QStringListModel* listModel_ = nullptr;
    QLabel* countLabel_ = nullptr;              // Label1
    QPushButton* addButton_ = nullptr;          // Command2
    QTimer* timer1_ = nullptr;
};
