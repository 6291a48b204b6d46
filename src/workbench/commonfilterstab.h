#pragma once
// The workbench's tab 常用过滤: the four single-value digit rows (选胆, 过滤胆, 过滤跨度,
// 过滤合值) and 二码处理 (the two-code list, its two modes and the position choice). It shows the
// model's two-code input and runs its filters on the model's session.
#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

class CommonFiltersTab : public QWidget {
public:
    explicit CommonFiltersTab(dialogs::WorkbenchApi& bench);

    QLineEdit* twoCodesBox() const { return twoCodes_; }  // shows the model's TwoCodes input
    const QList<QPushButton*>& filterButtons() const { return filterButtons_; }
    // Each row's button in the bottom-right corner of its frame.
    void placeCorners();
    void resetChoices();  // the position choice back to 全部
    void bindModel();     // the rows, the mode and the position write every change to the model

    void pickDigits();     // 选胆 (Command2)
    void filterDigits();   // 过滤胆 (Command4)
    void filterSpan();     // 过滤跨度 (Command10)
    void filterSumTail();  // 过滤合值 (Command14)
    void runTwoCodes();    // 二码处理 过滤 / 选择 (Command40)
    void twoCodeFilterMode();  // Option9
    void twoCodeSelectMode();  // Option10

private:
    void showOtherTwoCodeList();

    dialogs::WorkbenchApi& bench_;
    QCheckBox* pickRow_[10] = {};     // digits 1..9, 0
    QCheckBox* excludeRow_[10] = {};
    QCheckBox* spanRow_[10] = {};
    QCheckBox* sumTailRow_[10] = {};
    QPushButton* rowButtons_[4] = {};
    QWidget* rowFrames_[4] = {};
    QLineEdit* twoCodes_ = nullptr;      // Text1
    QRadioButton* twoCodeFilter_ = nullptr;  // Option9
    QRadioButton* twoCodeSelect_ = nullptr;  // Option10
    QComboBox* twoCodePosition_ = nullptr;   // Combo10
    QPushButton* twoCodeRun_ = nullptr;      // Command40
    QList<QPushButton*> filterButtons_;
};

}  // namespace workbench
