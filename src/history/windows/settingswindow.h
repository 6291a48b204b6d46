#pragma once
// SettingsWindow (系统设置): the analysis range, whether the analyses use every draw, and the current
// lottery. The scheme and tolerance tab stays hidden; its values are saved back as loaded.
// The window shows the stored settings (common/settings) and the run's range and lottery
// (common::AppState) as it opens, and 确定 writes them back; 取消 leaves everything as it was.
// Its objectName is "Form9" and its controls keep theirs (Combo1..3, Check1, Option1/2, Slider1,
// SSTab1, Command1/2): tests, settings and the other windows find them by name.
#include <QDialog>

#include <functional>

namespace common {
class AppState;
}  // namespace common
class QCheckBox;
class QComboBox;
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

private:
    void buildGeneralTab(QWidget* page);
    void buildSchemeTab(QWidget* page);
    void showSettings();  // fills the controls from the settings and the run's state
    void saveSettings();  // 确定 (Command1)
    void switchLottery(bool toP3);

    common::AppState& state_;
    bool shownLotteryIsP3_ = false;  // the lottery the window opened with: a switch only on a change

    QTabWidget* tabs_ = nullptr;            // SSTab1: 通用 and the hidden 方案
    QComboBox* firstIssueBox_ = nullptr;    // Combo1: the range's first draw
    QComboBox* lastIssueBox_ = nullptr;     // Combo2: the range's last draw
    QCheckBox* allDrawsCheck_ = nullptr;    // Check1 分析所有开奖数据
    QRadioButton* fc3dOption_ = nullptr;    // Option1 全国福彩3D
    QRadioButton* p3Option_ = nullptr;      // Option2 体彩排列三
    QSlider* schemeSlider_ = nullptr;       // Slider1 智能方案
    QComboBox* toleranceBox_ = nullptr;     // Combo3 设置总容错范围
};

namespace history {
// The main window's opener: SettingsWindow modal over parent; switchLottery(toP3) runs the main
// window's own switch when the user picked the other lottery.
void OpenSettings(QWidget* parent, common::AppState& state, std::function<void(bool toP3)> switchLottery);
}  // namespace history
