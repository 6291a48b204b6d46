#pragma once
// Number preview "号码预览": every number of the pool as a ticked row with its attributes and
// omission sum; the ticked numbers make the bet text (copied to the clipboard) or, on 确定,
// the new pool.
// Its objectName is "Form21": tests, settings and the other windows find it by that name.
#include "dialogs/workbenchapi.h"
#include "common/digitomission.h"

#include <QDialog>
#include <QStringList>

namespace common {
class AppState;
}  // namespace common
class QPlainTextEdit;
class QTreeView;
class NumberPreviewRows;

class NumberPreviewWindow : public QDialog {
    Q_OBJECT
public:
    // state: the draws the omissions are counted over and the lottery of the bet text.
    NumberPreviewWindow(dialogs::WorkbenchApi& bench, const common::AppState& state);
    ~NumberPreviewWindow() override;

    // Workbench button "预览": a fresh window over the current pool, shown modally, then
    // discarded. Returns the modal result.
    static int Open(dialogs::WorkbenchApi& bench, const common::AppState& state);

    // Rows in their current order.
    int rowCount() const;
    QString cell(int row, int column) const;
    bool isTicked(int row) const;
    // Ticked numbers in row order.
    QStringList tickedNumbers() const;

private:
    void showPool();               // the workbench's pool, every row ticked, and the bet text
    void countOmissions();         // fills the omission table from the draw history
    void buildBetText();           // 生成结果 (Command4), also a click on the list or a tick by the user
    void copyBetText();            // 复制结果 (Command1, menu copyjg)
    void invertTicks();            // 反选 (Command10, menu fangxuan01)
    void clearTicks();             // 全清 (Command5, menu quanqin)
    void takeTickedNumbers();      // 确定 (Command3): the ticked numbers become the pool
    void cancel();                 // 取消 (Command2)
    void sortByColumn(int column); // a click on a column's header of ListView1

    dialogs::WorkbenchApi& bench_;
    const common::AppState& state_;
    QTreeView* list_ = nullptr;
    NumberPreviewRows* rows_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    common::DigitOmissionTable omission_;
};
