#pragma once
// The workbench's single-filter tabs (SSTab1): 常用过滤, 模糊过滤, 近期过滤, 胆码组合, 万能公式.
// Each tab builds its controls and runs on the model; this widget holds them together.
#include <QList>
#include <QTabWidget>

class QPushButton;
namespace dialogs {
class WorkbenchApi;
}

namespace workbench {

class CommonFiltersTab;
class DigitGroupTab;
class FormulaTab;
class FuzzyTab;
class InputBoxes;
class RecentTab;

class ConditionTabs : public QTabWidget {
public:
    ConditionTabs(dialogs::WorkbenchApi& bench, QWidget* parent);

    CommonFiltersTab* common() const { return common_; }
    FormulaTab* formula() const { return formula_; }
    // The buttons that run a filter: enabled in filtering mode only.
    QList<QPushButton*> runButtons() const;
    // Notes the tabs' text boxes that show the model's inputs.
    void addInputs(InputBoxes& inputs) const;
    // Binds every tab to the model (after the input boxes are bound).
    void bindModel();
    // As the window opens: the first tab, the fuzzy filter's first source.
    void reset();
    // As the window loads: the recent filter's counts, the formula list, the common choices.
    void fill();

private:
    CommonFiltersTab* common_;
    FuzzyTab* fuzzy_;
    RecentTab* recent_;
    DigitGroupTab* digitGroups_;
    FormulaTab* formula_;
};

}  // namespace workbench
