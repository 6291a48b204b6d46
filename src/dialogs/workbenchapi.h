#pragma once
// What the other windows use of the filter workbench: its model and typed operations. The
// workbench window implements it and hands itself to each window it opens, so the dialogs never
// depend on the workbench library (which depends on them). No caller reaches the workbench's controls.
#include "common/appstate.h"
#include "pool/numberpool.h"
#include "pool/workbenchmodel.h"

#include <QString>

class QWidget;

namespace dialogs {

class WorkbenchApi {
public:
    virtual ~WorkbenchApi() = default;
    // The workbench's state: the pool session, the conditions, the inputs, the lottery.
    virtual pool::WorkbenchModel& model() = 0;
    // The run's state the workbench was given: the current lottery and the draws it filters against.
    virtual const common::AppState& state() const = 0;
    // NumberPool, the WorkbenchLog, the SetDescription and CommitSet.
    pool::PoolSession& session() { return model().session; }
    // The window the dialogs are parented to and placed over (never used to reach controls).
    virtual QWidget* dialogParent() = 0;

    virtual void enterFilteringMode() = 0;  // switch the buttons to filtering mode
    virtual void saveCollection() = 0;      // 【做大底】 (Command11): save the pool as a collection
    virtual void redo() = 0;                // 恢复 (Command51)
    virtual void undo() = 0;                // 撤消 (Command52)
    virtual void refillFormulaList() = 0;   // the formula files of Combo21
    virtual void runBasicBatch() = 0;       // the basic batch over the model's ticked families
    virtual void runAdvancedBatch() = 0;    // the advanced batch over the model's ticked families
    // Writes one of the workbench's text inputs (model and the box that shows it).
    virtual void setInput(pool::InputBox box, const QString& text) = 0;
    // Switches the workbench to 排列三 (true) or 福彩3D, as its lottery icons do.
    virtual void switchLottery(bool toP3) { (void)toP3; }
    // Shows or hides the log box (hidden while a smart-system run writes much to it).
    virtual void setLogVisible(bool visible) { (void)visible; }
    // Shows the log's end (after the log was replaced).
    virtual void showLogEnd() {}
    // True when a base set exists (the hidden Command5 is enabled).
    virtual bool hasBaseSet() const = 0;
    // False when the last saveCollection() could not write its collection (it said why).
    virtual bool collectionSaved() const { return true; }
};


// objectName of element index of a control array: "Check1(3)".
inline QString ArrayName(const QString& name, int index) {
    return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

}  // namespace dialogs
