#pragma once
// What the dialogs use of the filter workbench. The workbench window implements it and
// registers itself, so the dialogs never depend on the workbench library (which depends on
// them: its batch filters read the editors' boxes).
#include "pool/numberpool.h"

#include <QString>
#include <QWidget>

namespace dialogs {

class WorkbenchApi {
public:
    virtual ~WorkbenchApi() = default;
    // The workbench window itself: parent and placement of the dialogs, and its controls.
    virtual QWidget* widget() = 0;
    // NumberPool, the WorkbenchLog, the SetDescription and CommitSet.
    virtual pool::PoolSession& session() = 0;
    virtual void cmdstyle() = 0;         // switch the buttons to filtering mode
    virtual void Command11_Click() = 0;  // 【做大底】: save the pool as a collection
    virtual void Command51_Click() = 0;  // 恢复 (redo)
    virtual void Command52_Click() = 0;  // 撤消 (undo)
    virtual void Combo21_re() = 0;       // refill the formula list
    virtual void Command70_Click() = 0;  // run the basic batch filter
    virtual void Command71_Click() = 0;  // run the advanced batch filter
    // True when a base set exists (the hidden Command5 is enabled).
    virtual bool hasBaseSet() const = 0;
    // False when the last Command11_Click could not write its collection (it said why).
    virtual bool collectionSaved() const { return true; }

    // A workbench control by its objectName ("Text12", "Check49", "Check1(3)" for arrays).
    template <class T>
    T* control(const QString& name) { return widget()->findChild<T*>(name); }
};

// The running workbench, or null before it is created.
WorkbenchApi* Workbench();
void SetWorkbench(WorkbenchApi* workbench);

// objectName of element index of a control array: "Check1(3)".
inline QString ArrayName(const QString& name, int index) {
    return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

}  // namespace dialogs
