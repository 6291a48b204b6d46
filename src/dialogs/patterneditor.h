#pragma once
// Pattern editor "组合过滤": eight tabs of pattern boxes (routes, classes, 1234 classes), one
// per family of the workbench's basic batch filter. The ticks are the workbench model's.
// Its objectName is "Form6": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QTabWidget;

class PatternEditor : public QDialog, public dialogs::LastingWindow<PatternEditor> {
    Q_OBJECT
public:
    static constexpr int kTabs = 8;

    explicit PatternEditor(dialogs::WorkbenchApi& bench);

    // The one editor of the run (instance()), created and loaded (not shown) on first use; it hides on
    // close unless the program quits, so its ticks, tab and presets last.

    // Selects a tab and shows the editor modal (the workbench's "过滤" buttons).
    static int Open(dialogs::WorkbenchApi& bench, int tab);

    // The check array of a tab (Check1, Check2, Check3, Check5, Check4, Check6, Check7, Check8).
    const QList<QCheckBox*>& array(int tab) const { return arrays_[tab]; }
    QTabWidget* tabs() const { return tab_; }

public slots:
    void Form_Load();
    // Start buttons of tabs 0..7.
    void Command17_Click();
    void Command22_Click();
    void Command23_Click();
    void Command24_Click();
    void Command25_Click();
    void Command26_Click();
    void Command27_Click();
    void Command28_Click();
    // 全清 / 反选 of tabs 0..7.
    void Command1_Click();
    void Command10_Click();
    void Command3_Click();
    void Command2_Click();
    void Command11_Click();
    void Command12_Click();
    void Command15_Click();
    void Command16_Click();
    void Command13_Click();
    void Command14_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    // Frame: 恢复, 撤消, [做大底], 返回>>.
    void Command18_Click();  // 恢复
    void Command19_Click();  // 撤消
    void Command20_Click();  // [做大底]
    void Command21_Click();  // 返回>>
    // Presets of 奇偶, 大小, 质合.
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fill();  // the ticks from the workbench's model
    void start(int tab);
    void clear(int tab);
    void invert(int tab);
    QComboBox* presetOf(int tab) const;
    void applyPreset(QComboBox* combo, int tab, const QList<QList<int>>& boxesPerItem);

    QTabWidget* tab_ = nullptr;
    QList<QCheckBox*> arrays_[kTabs];
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QComboBox* combo3_ = nullptr;
};
