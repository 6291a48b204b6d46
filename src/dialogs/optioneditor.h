#pragma once
// Option editor "选项过滤": five tabs (升降序, 均值, AC值, 直落号, 斜连值), each a row of value
// boxes of the workbench model's conditions, which its advanced batch filter reads. The workbench shows one tab at a time.
// Its objectName is "Form14": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QTabWidget;

class OptionEditor : public QDialog, public dialogs::LastingWindow<OptionEditor>, public dialogs::EditorRowHandlers {
    Q_OBJECT
public:
    static constexpr int kTabs = 5;

    explicit OptionEditor(dialogs::WorkbenchApi& bench);

    // The one editor of the run (instance()), created and loaded (not shown) on first use; hides on close.

    // Shows only tab `tab`, captions the window after it, selects it and shows it modal.
    static int Open(dialogs::WorkbenchApi& bench, int tab);
    // The caption of a tab ("升降序", "均值", "AC值", "直落号", "斜连值").
    static QString TabCaption(int tab);

    // Check arrays by tab: Check1 (shapes), Check2 (means), Check62 (AC 1..3), Check70
    // (直落号 0..3), Check63 (斜连值 0..5).
    const QList<QCheckBox*>& array(int tab) const { return arrays_[tab]; }
    QTabWidget* tabs() const { return tab_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void arrange();           // placement and the shape presets' prompt
    void filterNumbers();     // 开始过滤 (Command1): the family of the tab shown
    void applyShapePreset();  // Combo1: 请选择组合方式 / 升组合 / … / 偏组合
    void clearMeans();        // 全清 of 均值 (Command2)
    void invertMeans();       // 反选 of 均值 (Command3)
    void fill();  // the ticks from the workbench's model

    QTabWidget* tab_ = nullptr;
    QList<QCheckBox*> arrays_[kTabs];
    QComboBox* shapePreset_ = nullptr;  // Combo1
};
