#pragma once
// The workbench's frame 遗漏过滤 (Frame18): no operation shows it, but its picker and its run
// stay reachable. Five families (组选, 百位, 十位, 个位, 单选), each a switch and a value box.
#include <QGroupBox>

class QCheckBox;
class QLineEdit;
class QPushButton;
namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

class OmissionFrame : public QGroupBox {
public:
    OmissionFrame(dialogs::WorkbenchApi& bench, QWidget* parent);

    QLineEdit* valueBox(int family) const { return values_[family]; }  // shows the model's Omission input
    QPushButton* runButton() const { return run_; }                     // Command37
    // Binds the five switches to the model's omissionOn.
    void bindModel();

    void pick();  // 设置 (Command36)
    void run();   // 过滤 (Command37)

private:
    dialogs::WorkbenchApi& bench_;
    QCheckBox* boxes_[5] = {};   // Check5, Check8, Check7, Check6, Check82
    QLineEdit* values_[5] = {};  // Text15, Text18, Text17, Text16, Text11
    QPushButton* run_ = nullptr;
};

}  // namespace workbench
