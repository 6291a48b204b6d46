#pragma once
// Positional exclusion editor "定位排除过滤": a sorted list of positional patterns (a digit or
// "*" per position) built by hand, by combining ticked characters, from text, from a file or
// from ready-made sets; stored into PositionPatterns when the filter starts or on leaving.
// Unlike the other editors it unloads on close and is rebuilt from PositionPatterns.
// Its objectName is "Form11": tests, settings and the other windows find it by that name.
#include "dialogs/editorframe.h"
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

class PositionExclusionEditor : public QDialog, public dialogs::EditorRowHandlers {
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    dialogs::WorkbenchApi& bench_;
    void showPatterns();           // placement, the list from the model's positional patterns
    void savePatterns();           // the list back into the model
    void addTypedPattern();        // 添加 (Command2)
    void generatePatterns();       // 生成号码 (Command14)
    void collectPastedNumbers();   // 采集号码 (Command15)
    void expandDigitOrders();      // 组 变 单 (Command19): every order of each row's characters
    void clearPatterns();          // 清空号码 (Command20)
    void importFromFile();         // 快捷操作 > 从文件导入 (menu_10)
    void showHelp();               // 说明 (menu_13)
    void filterNumbers();          // 开始过滤号码 (Command25): saves, then runs the family
    void backToWorkbench();        // 返回>> (Command18): asks whether to save, then closes
    void removeSelectedPattern();  // a double click on List1
    void showCount();              // Timer1: the count under the list
    // 快捷操作: 未出号码 (menu_2), 已出号码 (meun_3), 组三 (menu_4), 组六 (menu_5), 顺子 (menu_6),
    // 半顺 (meun_7), 杂六 (menu_8), 豹子 (menu_9).
    void listUndrawn() { ListDrawnOrUndrawn(0); }
    void listDrawn() { ListDrawnOrUndrawn(1); }
    void listGroupThree();
    void listGroupSix();
    void collectRuns();
    void collectHalfRuns();
    void collectMixedSix();
    void listTriples();

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
    QTimer* countTimer_ = nullptr;              // Timer1
};
