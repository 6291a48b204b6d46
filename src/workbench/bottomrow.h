#pragma once
// The workbench's bottom row: 计算器, 投资计划, the two conversions (组选=》单选, 单选=》组选),
// 撤消 and 恢复, the tutorial, and the two lottery pictures (Image1, Image2) that switch the
// lottery. The controls stand on the window; the row places them under its frames.
#include <QList>
#include <QObject>

class QLabel;
class QPushButton;
class QWidget;
namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

class BottomRow : public QObject {
public:
    BottomRow(dialogs::WorkbenchApi& bench, QWidget* window);

    // The two conversions: enabled in filtering mode only.
    QList<QPushButton*> conversionButtons() const { return {toStraight_, toGroup_}; }
    // 福彩3D (Image1) shows while 排列三 is the lottery, 排列三 (Image2) while 福彩3D is.
    void showLottery(bool isP3);
    // Places the row at `top`, the pictures ending at `right`, the tutorial filling the gap.
    void place(int top, int right);

    void calculator();  // 计算器 (Command20)
    void plan();        // 投资计划 (Command45)
    void toStraight();  // 组选=》单选 (Command30)
    void toGroup();     // 单选=》组选 (Command31)
    void undo();        // 撤消 (Command52)
    void redo();        // 恢复 (Command51)
    void tutorial();    // <<不会使用就来看视频教程>> (Command49)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    dialogs::WorkbenchApi& bench_;
    QWidget* window_;
    QList<QWidget*> row_;  // Command20, Command45, Command30, Command31, Command52, Command51
    QPushButton* toStraight_ = nullptr;
    QPushButton* toGroup_ = nullptr;
    QPushButton* tutorial_ = nullptr;
    QLabel* images_[2] = {};
};

}  // namespace workbench
