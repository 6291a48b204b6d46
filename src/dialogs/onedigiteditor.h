#pragma once
// 1D editor "1D过滤": four kinds of one-digit values (正1D, 负1D, 反正1D, 反负1D), ten boxes
// each, with a mode list per kind; the ticks and modes are the workbench model's, read by its
// advanced batch (family box Check26).
// Its objectName is "Form19": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QTabWidget;

class OneDigitEditor : public QDialog, public dialogs::LastingWindow<OneDigitEditor> {
    Q_OBJECT
public:
    static constexpr int kModes = 4;

    explicit OneDigitEditor(dialogs::WorkbenchApi& bench);

    // The one editor of the run (instance()), created and loaded (not shown) on first use; hides on close.

    // Shows it modal on the tab last left (the workbench's "过滤" of 1 D 过滤).
    static int Open(dialogs::WorkbenchApi& bench);

    // Check1..Check4 (mode 1..4 as index 0..3): box k stands for the value k.
    const QList<QCheckBox*>& values(int modeIndex) const { return boxes_[modeIndex]; }
    QComboBox* modeList(int modeIndex) const { return combos_[modeIndex]; }
    // The ticked values of a mode that the batch applies, ascending; none while the mode is
    // set to "不过滤".
    QList<int> filteredValues(int modeIndex) const;

public slots:
    void Form_Load();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo4_Click();
    // 全清 / 反选 of tabs 0..3.
    void Command1_Click();
    void Command10_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();   // 开始过滤号码
    void Command9_Click();   // 撤消
    void Command11_Click();  // 恢复
    void Command12_Click();  // 做大底
    void Command13_Click();  // 返回

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fill();  // ticks and modes from the workbench's model
    void modeChanged(int modeIndex);

    QTabWidget* tab_ = nullptr;
    QList<QCheckBox*> boxes_[kModes];
    QComboBox* combos_[kModes] = {};
};
