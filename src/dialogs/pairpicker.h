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

public slots:
    void Form_Load();
    void Command3_Click();  // 全清
    void Command2_Click();  // 反选
    void Command4_Click();  // 添加到过滤器

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QTabWidget* tab_ = nullptr;
    QList<QCheckBox*> boxes_;
};
