#pragma once
// Set-operations window "集合运算" / "大底采集": a list of number files, occurrence counts of
// the 1000 numbers over the ticked files, a range of counts, and import into the workbench.
// Its objectName is "Form17": tests, settings and the other windows find it by that name.
#include "dialogs/setops.h"
#include "dialogs/dialogutil.h"

#include <QStringList>
#include <QWidget>


class QBoxLayout;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QTreeView;
class QTreeWidget;
class QVBoxLayout;
class ResultModel;

class SetOperationsWindow : public QWidget, public dialogs::LastingWindow<SetOperationsWindow> {
    Q_OBJECT
public:
    explicit SetOperationsWindow(dialogs::WorkbenchApi& bench);

    // The one window of the run (instance()), created on first use; closing by the title bar discards it,
    // and the next call creates it afresh. existing() never creates.

    // Lists the number file at path with row text label (ticked, distinct count "000", path)
    // unless the path is listed already. Returns false only when the file cannot be read (a
    // message was shown and nothing was added).
    bool addNumberFile(const QString& path, const QString& label);
    // True when no row carries the path (exact comparison).
    bool isUnlisted(const QString& path) const;

    // What 【做大底】 does after saving a collection: caption "大底采集" (emptying the list when
    // the caption was another), lists the file with the description, shows the window.
    // Returns false when the file could not be read.
    static bool AddCollection(dialogs::WorkbenchApi& bench, const QString& path, const QString& description);


    // The result list in its current order: numbers and their counts ("00").
    QStringList resultNumbers() const;
    QStringList resultCounts() const;
    // ListView1: column 0 label with the tick, 1 distinct count, 2 path.
    QTreeWidget* fileList() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void arrange();             // icon, place and the empty range
    void addFiles();            // 添加 (Command1)
    void showHelp();            // 帮助 (Command2)
    void removeFile();          // 删除 (Command3)
    void clearFiles();          // 清空 (Command4)
    void backToWorkbench();     // 退出 (Command5)
    void countOccurrences();    // 第一步：集合运算 (Command6): the ticked files' counts
    void rangeIntersection();   // 交集 (Command7)
    void rangeUnion();          // 并集 (Command8)
    void rangeComplement();     // 反集 (Command9)
    void keepRange();           // 生成结果 (Command10): the numbers counted within the range
    void importToPool();        // 导入到缩水器 (Command11)
    void openFileOrAdd();       // a double click on ListView1: opens the file, or adds when empty
    void showCounts();          // Timer1: the result count and the list's caption
    bool addRow(const QString& path, const QString& label);
    bool setRange(int low, int high, const QString& operation);

    QGroupBox* buildFileFrame();
    void buildCountPanel(QVBoxLayout* right);
    void buildHelpText();
    QPushButton* addButton(const char* name, const QString& caption, void (SetOperationsWindow::*handler)(),
                           QBoxLayout* into);

    QGroupBox* fileFrame_ = nullptr;        // Frame1, captioned with the file count
    QTreeWidget* fileList_ = nullptr;       // ListView1
    int fileSortColumn_ = -1;               // column the file list keeps itself sorted by, -1 none
    QTreeView* resultList_ = nullptr;       // ListView2
    ResultModel* results_ = nullptr;
    QComboBox* lowCount_ = nullptr;         // Combo1
    QComboBox* highCount_ = nullptr;        // Combo2
    QPushButton* rangeShortcuts_[3] = {};   // Command7..Command9: 交集, 并集, 反集
    QLabel* resultCount_ = nullptr;         // Label3
    QLabel* summary_ = nullptr;             // Label4
    QTimer* captionTimer_ = nullptr;        // Timer1
    QPlainTextEdit* helpText_ = nullptr;    // Text1, never shown
};
