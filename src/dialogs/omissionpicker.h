#pragma once
// Omission picker "遗漏过滤": the current omission values of the history, computed over all
// draws, in five lists (组选, 百位, 十位, 个位, 单选); each list's "设置" writes the ticked values
// into the matching value box of the workbench's omission filter.
// Its objectName is "Form13": tests, settings and the other windows find it by that name.
#include "dialogs/workbenchapi.h"
#include "pool/workbenchmodel.h"

#include <QDialog>

namespace common {
class AppState;
}  // namespace common
class QLabel;
class QListWidget;

class OmissionPicker : public QDialog {
    Q_OBJECT
public:
    // state: the draws the omissions are counted over.
    OmissionPicker(dialogs::WorkbenchApi& bench, const common::AppState& state);

    // Workbench button "设置": a fresh picker, shown modally and discarded when it closes.
    // Returns the modal result.
    static int Open(dialogs::WorkbenchApi& bench, const common::AppState& state);

    // List k (1..5) and its label "设置".
    QListWidget* list(int k) const;
    QLabel* label(int k) const;
    // The workbench box list k writes ("Text15", "Text18", "Text17", "Text16", "Text11").
    static QString TargetBox(int k);
    // The workbench input list k (1..5) writes: 组选, 百位, 十位, 个位, 单选 omission values.
    static pool::InputBox TargetInput(int k);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showOmissions();    // icon, placement and the lists counted over the state's draws
    void invertTicks();      // 反选 (Command2)
    void clearTicks();       // 全清 (Command3)
    void backToWorkbench();  // 返回 (Command1)
    void sendList(int k);  // "设置" under list k (Label1..Label5): its ticked values into the workbench

    dialogs::WorkbenchApi& bench_;
    const common::AppState& state_;
    QListWidget* lists_[5] = {};
    QLabel* labels_[5] = {};
};
