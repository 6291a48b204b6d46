#pragma once
// The workbench's tabs 近期过滤 (numbers and patterns of the recent draws, each row with its count
// of draws) and 胆码组合 (five digit groups with their allowed counts). Both keep their ticks in
// the model, run on the model's session and may save each step as a collection.
#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

// Saves the pool under a description between automatic steps; false when it could not.
bool SaveStepCollection(dialogs::WorkbenchApi& bench, const QString& description);

class RecentTab : public QWidget {
public:
    explicit RecentTab(dialogs::WorkbenchApi& bench);

    QPushButton* runButton() const { return run_; }  // Command44
    void bindModel();
    // The count lists: 1..100, at 30 draws for 单选号码, 5 for 和值 and 10 for the others.
    void fillCounts();
    void run();  // 过滤 (Command44)

private:
    void showRows();

    dialogs::WorkbenchApi& bench_;
    QCheckBox* rows_[10] = {};  // in run order
    QComboBox* counts_[10] = {};
    QCheckBox* autoCollect_ = nullptr;  // Check68
    QPushButton* run_ = nullptr;
};

class DigitGroupTab : public QWidget {
public:
    explicit DigitGroupTab(dialogs::WorkbenchApi& bench);

    QPushButton* runButton() const { return run_; }  // Command63
    void bindModel();
    void run();  // 过滤 (Command63)

private:
    dialogs::WorkbenchApi& bench_;
    QCheckBox* boxes_[5] = {};  // in run order
    QLineEdit* digits_[5] = {};
    QCheckBox* counts_[5][4] = {};
    QCheckBox* repeatOnce_ = nullptr;   // Check2
    QCheckBox* autoCollect_ = nullptr;  // Check90
    QPushButton* run_ = nullptr;
};

}  // namespace workbench
