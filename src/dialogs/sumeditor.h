#pragma once
// Sum editor "和值过滤": 28 boxes for the sums 0..27 with route presets, read by the
// workbench's advanced batch filter (family box Check1).
// Its objectName is "Form10": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QTabWidget;

class SumEditor : public QDialog, public dialogs::LastingWindow<SumEditor> {
    Q_OBJECT
public:
    explicit SumEditor(dialogs::WorkbenchApi& bench);

    // The one editor of the run (instance()), created and loaded (not shown) on first use; hides on close.

    // Selects its tab and shows it modal (the workbench's "过滤" of 和值过滤).
    static int Open(dialogs::WorkbenchApi& bench);

    // Check1(0..27): box k stands for the sum k.
    const QList<QCheckBox*>& sums() const { return boxes_; }

public slots:
    void Form_Load();
    void Combo1_Click();    // preset: 请选择条件 / 0路 / 1路 / 2路
    void Command3_Click();  // 全清
    void Command2_Click();  // 反选
    void Command7_Click();  // 开始过滤号码
    void Command1_Click();  // 撤消
    void Command4_Click();  // 恢复
    void Command5_Click();  // [做大底]
    void Command6_Click();  // 返回

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QTabWidget* tab_ = nullptr;
    QList<QCheckBox*> boxes_;
    QComboBox* combo1_ = nullptr;
};
