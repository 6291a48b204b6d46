#pragma once
// Sum editor "和值过滤": 28 boxes for the sums 0..27 with route presets, read by the
// workbench's advanced batch filter (family box Check1).
// Its objectName is "Form10": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QTabWidget;

class SumEditor : public QDialog, public dialogs::LastingWindow<SumEditor>, public dialogs::EditorRowHandlers {
    Q_OBJECT
public:
    explicit SumEditor(dialogs::WorkbenchApi& bench);

    // The one editor of the run (instance()), created and loaded (not shown) on first use; hides on close.

    // Selects its tab and shows it modal (the workbench's "过滤" of 和值过滤).
    static int Open(dialogs::WorkbenchApi& bench);

    // Check1(0..27): box k stands for the sum k.
    const QList<QCheckBox*>& sums() const { return boxes_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void arrange();             // placement, the sums' captions and the preset prompt
    void applyRoutePreset();    // Combo1: 请选择条件 / 0路 / 1路 / 2路
    void clearSums();           // 全清 (Command3)
    void invertSums();          // 反选 (Command2)
    void filterNumbers();       // 开始过滤号码 (Command7)

    QTabWidget* tab_ = nullptr;
    QList<QCheckBox*> boxes_;
    QComboBox* routePreset_ = nullptr;  // Combo1
};
