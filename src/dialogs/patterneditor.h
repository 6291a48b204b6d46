#pragma once
// Pattern editor "组合过滤": eight tabs of pattern boxes (routes, classes, 1234 classes), one
// per family of the workbench's basic batch filter. The ticks are the workbench model's.
// Its objectName is "Form6": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QTabWidget;

class PatternEditor : public QDialog, public dialogs::LastingWindow<PatternEditor>, public dialogs::EditorRowHandlers {
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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void arrange();  // placement and the presets' prompts
    void fill();     // the ticks from the workbench's model
    // 开始过滤号码, 全清 and 反选 of a tab (start Command17, Command22..28; clear and invert
    // Command1/10, 3/2, 11/12, 15/16, 13/14, 4/5, 6/7, 8/9 for tabs 0..7).
    void filterNumbers(int tab);
    void clear(int tab);
    void invert(int tab);
    // The presets of 奇偶 (Combo1), 大小 (Combo2) and 质合 (Combo3).
    void applyOddEvenPreset();
    void applyBigSmallPreset();
    void applyPrimePreset();
    QComboBox* presetOf(int tab) const;
    void applyPreset(QComboBox* combo, int tab, const QList<QList<int>>& boxesPerItem);

    QTabWidget* tab_ = nullptr;
    QList<QCheckBox*> arrays_[kTabs];
    QComboBox* oddEvenPreset_ = nullptr;   // Combo1
    QComboBox* bigSmallPreset_ = nullptr;  // Combo2
    QComboBox* primePreset_ = nullptr;     // Combo3
};
