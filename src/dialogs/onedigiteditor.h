#pragma once
// 1D editor "1D过滤": four kinds of one-digit values (正1D, 负1D, 反正1D, 反负1D), ten boxes
// each, with a mode list per kind; the ticks and modes are the workbench model's, read by its
// advanced batch (family box Check26).
// Its objectName is "Form19": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QTabWidget;

class OneDigitEditor : public QDialog, public dialogs::LastingWindow<OneDigitEditor>, public dialogs::EditorRowHandlers {
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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void arrange();          // placement and the first tab
    void filterNumbers();    // 开始过滤号码 (Command8)
    void fill();  // ticks and modes from the workbench's model
    void modeChanged(int modeIndex);  // Combo1..Combo4: 不过滤 / 单选过滤 of a mode

    QTabWidget* tab_ = nullptr;
    QList<QCheckBox*> boxes_[kModes];
    QComboBox* combos_[kModes] = {};
};
