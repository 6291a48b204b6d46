#pragma once
// The workbench's tab 万能公式: the list of formula files, the formula's text and its condition,
// the formula editor, and the run of the formula over the model's session through the tab's
// script engine (VBScript, 10000 ms per call), kept for the window's whole life.
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
namespace dialogs {
class WorkbenchApi;
}
namespace script {
class ScriptEngine;
class ScriptHost;
}

namespace workbench {

class FormulaTab : public QWidget {
public:
    explicit FormulaTab(dialogs::WorkbenchApi& bench);
    ~FormulaTab() override;

    QPlainTextEdit* formulaBox() const { return text_; }  // shows the model's Formula input
    QPushButton* runButton() const { return run_; }       // Command67
    script::ScriptEngine& engine();
    void bindModel();  // 设置条件 and its text write every change to the model

    void refillList();    // the list from the formula folder, the prompt selected
    void loadChosen();    // Combo21 chosen: its file into the formula box
    void conditionSwitched();  // 设置条件: (Check67)
    void edit();          // 编写公式… (Command68)
    void run();           // 过滤 (Command67)

private:
    dialogs::WorkbenchApi& bench_;
    QComboBox* list_ = nullptr;           // Combo21
    QCheckBox* condition_ = nullptr;      // Check67
    QLineEdit* conditionText_ = nullptr;  // Text28
    QPlainTextEdit* text_ = nullptr;      // Text29
    QPushButton* edit_ = nullptr;         // Command68
    QPushButton* run_ = nullptr;          // Command67
    std::unique_ptr<script::ScriptEngine> engine_;
    std::unique_ptr<script::ScriptHost> boxes_;  // the formula's MsgBox and InputBox
};

}  // namespace workbench
