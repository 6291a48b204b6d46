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

public slots:
    void Form_Load();
    void countOmissions();        // fills the omission table from the draw history
    void Command4_Click();        // 生成结果: build the bet text
    void Command1_Click();        // 复制结果
    void Command10_Click();       // 反选
    void Command5_Click();        // 全清
    void Command3_Click();        // 确定: the ticked numbers become the pool
    void Command2_Click();        // 取消
    void fangxuan01_Click() { Command10_Click(); }
    void quanqin_Click() { Command5_Click(); }
    void copyjg_Click() { Command1_Click(); }
    void ListView1_Click() { Command4_Click(); }
    void ListView1_ColumnClick(int column);

private:
    dialogs::WorkbenchApi& bench_;
    const common::AppState& state_;
    QTreeView* list_ = nullptr;
    NumberPreviewRows* rows_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    common::DigitOmissionTable omission_;
};
