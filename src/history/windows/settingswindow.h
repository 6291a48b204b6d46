#pragma once
// SettingsWindow (系统设置): the analysis range, whether the analyses use every draw, and the current
// lottery. The scheme and tolerance tab stays hidden; its values are saved back as loaded.
// Its objectName is "Form9": tests, settings and the other windows find it by that name.
#include <QDialog>

#include <functional>

namespace common {
class AppState;
}  // namespace common
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    // state: the current lottery, its draws and the analysis range the window sets.
    explicit SettingsWindow(common::AppState& state, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    // The main window's lottery switch (MainWindow::switchLottery), set by the opener. Unset,
    // the window switches through the shared routine (history::SelectLottery) itself.
    struct Hooks {
        std::function<void()> selectFc3d;  // the main window's switch to 福彩3D (its menu item fc3d)
        std::function<void()> selectP3;    // the main window's switch to 排列三 (its menu item p3)
    };
    Hooks hooks;

    // ---- handlers ----
    void Form_Load();
    void Command1_Click();  // 确定
    void Command2_Click();  // 取消

    // ---- controls ----
    QTabWidget* SSTab1 = nullptr;
    QGroupBox* Frame1 = nullptr;  // 分析期号范围
    QGroupBox* Frame2 = nullptr;  // 设置彩票类型
    QGroupBox* Frame3 = nullptr;  // 智能方案
    QGroupBox* Frame4 = nullptr;  // 设置容错范围
    QComboBox* Combo1 = nullptr;  // first draw of the range
    QComboBox* Combo2 = nullptr;  // last draw of the range
    QCheckBox* Check1 = nullptr;  // 分析所有开奖数据
    QRadioButton* Option1 = nullptr;  // 全国福彩3D
    QRadioButton* Option2 = nullptr;  // 体彩排列三
    QSlider* Slider1 = nullptr;
    QComboBox* Combo3 = nullptr;
    QLabel* Label1 = nullptr;  // 设置总容错范围：
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    void switchLottery(bool toP3);

    common::AppState& state_;
    bool shownLotteryIsP3_ = false;  // the lottery the window opened with: a switch only on a change
};

namespace history {
// The main window's opener: SettingsWindow modal over parent; switchLottery(toP3) runs the main
// window's own switch when the user picked the other lottery.
void OpenSettings(QWidget* parent, common::AppState& state, std::function<void(bool toP3)> switchLottery);
}  // namespace history
