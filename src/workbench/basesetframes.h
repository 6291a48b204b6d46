#pragma once
// The workbench's base-set frames: 第一步：组装要过滤的号码 (Frame1: the four kinds of base set with
// 复式 and the kind of 组六, bound to the model's base-set choice, and the building buttons) and
// 单选：定位组号 (Frame12: three digit lists, one per position, and 复式). Building a set fills the
// model's session and switches the workbench to filtering mode.
#include <QGroupBox>
#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

class WorkbenchLinks;

class BaseSetFrame : public QGroupBox {
public:
    // links: how the smart system is opened (none: it is not).
    BaseSetFrame(dialogs::WorkbenchApi& bench, WorkbenchLinks* links, QWidget* parent);

    void bindModel();
    QPushButton* resetButton() const { return reset_; }  // 重新选号 (Command58): the window's
    QPushButton* smartButton() const { return smart_; }  // 智能系统 (Command69)
    // The buttons building mode enables: 选择, 数据采集 and 集合运算.
    QList<QPushButton*> buildingButtons() const;
    // The row from the corner leftwards: 选择, 数据采集, 集合运算, 智能系统, 重新选号.
    QList<QWidget*> cornerRow() const;

    void resetKind();       // 组六's kind back to 全部
    void choose(int kind);  // Option1..Option4: 全部号码, 全部组选, 组三, 组六
    void buildSet();        // 选择 (Command1)
    // 智能系统 (Command69): opens the smart system once the history holds 600 draws.
    void openSmartSystem();

private:
    dialogs::WorkbenchApi& bench_;
    WorkbenchLinks* links_ = nullptr;
    QRadioButton* options_[4] = {};
    QCheckBox* compound_ = nullptr;      // Check51
    QLabel* groupSixLabel_ = nullptr;    // Label11
    QComboBox* groupSixKind_ = nullptr;  // Combo12
    QPushButton* reset_ = nullptr;
    QPushButton* smart_ = nullptr;
    QPushButton* setOperations_ = nullptr;  // Command54
    QPushButton* collect_ = nullptr;        // Command12
    QPushButton* build_ = nullptr;          // Command1
};

class PositionalFrame : public QGroupBox {
public:
    PositionalFrame(dialogs::WorkbenchApi& bench, QWidget* parent);

    QLineEdit* digitBox(int position) const { return digits_[position]; }  // shows PositionDigits
    QPushButton* buildButton() const { return build_; }   // 选择 (Command21)
    QPushButton* statsButton() const { return stats_; }   // 统计 (Command47): the window opens it
    void bindModel();

    void buildSet();  // 选择 (Command21)

private:
    dialogs::WorkbenchApi& bench_;
    QLineEdit* digits_[3] = {};  // Text12..Text14
    QCheckBox* compound_ = nullptr;  // Check61
    QPushButton* stats_ = nullptr;
    QPushButton* build_ = nullptr;
};

}  // namespace workbench
