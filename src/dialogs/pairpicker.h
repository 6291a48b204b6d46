#pragma once
// Pair picker "二码处理": one box per unordered digit pair, sent as a comma list into the
// workbench's two-code list Text1.
// Its objectName is "Form12": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"

#include <QDialog>
#include <QList>
#include <QStringList>

class QCheckBox;
class QTabWidget;

class PairPicker : public QDialog, public dialogs::LastingWindow<PairPicker> {
    Q_OBJECT
public:
    explicit PairPicker(dialogs::WorkbenchApi& bench);

    // The one picker of the run (instance()), created on first use; it hides on close (unless quitting).

    // Shows the picker modally (workbench button "设置"); returns the modal result.
    static int Open(dialogs::WorkbenchApi& bench);

    // The 55 codes "00".."99" with the smaller digit first, in box order.
    static QStringList Codes();
    QCheckBox* box(int k) const { return boxes_.value(k); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void arrange();       // icon, placement and the 55 boxes (made once)
    void clearCodes();    // 全清 (Command3)
    void invertCodes();   // 反选 (Command2)
    void addToFilter();   // 添加到过滤器 (Command4): the ticked codes into the workbench's box

    QTabWidget* tab_ = nullptr;
    QList<QCheckBox*> boxes_;
};
