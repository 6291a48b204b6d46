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
    virtual void enterFilteringMode() = 0;  // switch the buttons to filtering mode
    virtual void saveCollection() = 0;      // 【做大底】 (Command11): save the pool as a collection
    virtual void redo() = 0;                // 恢复 (Command51)
    virtual void undo() = 0;                // 撤消 (Command52)
    virtual void refillFormulaList() = 0;   // the formula files of Combo21
    virtual void runBasicBatch() = 0;       // the basic batch filter (hidden Command70)
    virtual void runAdvancedBatch() = 0;    // the advanced batch filter (hidden Command71)
    // True when a base set exists (the hidden Command5 is enabled).
    virtual bool hasBaseSet() const = 0;
    // False when the last saveCollection() could not write its collection (it said why).
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
