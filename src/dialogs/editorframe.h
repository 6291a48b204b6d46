#pragma once
// What the condition editors share: starting a batch on the workbench, saving the pool as a
// collection, undo and redo, clearing and inverting a check array, placement and hiding on
// close. The editors show and edit the ticks of the workbench's model; the batch filters read
// them from the model.
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include "dialogs/dialogutil.h"
#include "pool/workbenchmodel.h"

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QDialog;
class QWidget;

namespace dialogs {

class WorkbenchApi;

// The workbench's two groups of family boxes, in the order the batches run them.
enum class BatchGroup { Basic, Advanced };
const QStringList& FamilyBoxes(BatchGroup group);

// Shown when an editor is started before a base set exists.
QString NoBaseSetMessage();

// Leaves family the only ticked family of its group in the workbench's model and runs the
// group's batch. Without a base set it shows the refusal and changes nothing; returns false then.
bool StartFilterFromDialog(WorkbenchApi& bench, BatchGroup group, int family, QWidget* parent);

// The bottom row every condition editor carries: 开始过滤, 撤消, 恢复, 做大底 and 返回, 28 pixels
// high at one height. Captions and places differ a little from editor to editor; each button runs
// the editor's handler. A start button without a name is left out (the pattern editor starts
// from each of its pages).
template <class Editor>
struct BottomRow {
    struct Button {
        const char* name;
        const char* caption;
        int left;
        int width;
        void (Editor::*handler)();
    };
    int top;
    Button start, undo, redo, makeBase, back;
};
template <class Editor>
void MakeBottomRow(Editor* editor, const BottomRow<Editor>& row) {
    for (const auto* b : {&row.start, &row.undo, &row.redo, &row.makeBase, &row.back})
        if (b->name)
            MakeButton(editor, b->name, QString::fromUtf8(b->caption), b->left, row.top, b->width, 28, editor, b->handler);
}

// The bottom row's handlers every condition editor shares, written once: a base of each editor,
// so that its row binds them by member pointer (&Editor::undo) as it binds its own handlers. 返回
// is the editor's own (the editors kept between openings bind QWidget::hide).
class EditorRowHandlers {
protected:
    EditorRowHandlers(WorkbenchApi& bench, QDialog* editor) : rowBench_(bench), rowEditor_(editor) {}
    // 撤消 / 恢复: the workbench's undo and redo.
    void undo();
    void redo();
    // "[做大底]": hides the editor, saves the pool as a collection, confirms with the current
    // description and shows the editor again, modal. A failed save (reported by the workbench)
    // gets no confirmation.
    void makeBase();

private:
    WorkbenchApi& rowBench_;
    QDialog* rowEditor_;
};

// 全清 / 反选 over a check array; both show the preset list's prompt (item 0) afterwards
// without applying it.
void ClearTicks(const QList<QCheckBox*>& boxes, QComboBox* preset = nullptr);
void InvertTicks(const QList<QCheckBox*>& boxes, QComboBox* preset = nullptr);

// Editor icon and position (the workbench's top-left corner).
void PlaceEditorOnWorkbench(WorkbenchApi& bench, QWidget* editor);

// For closeEvent: while the program runs the editor only hides and keeps its ticks; returns
// true when the close was turned into a hide.
bool HideUnlessQuitting(const WorkbenchApi& bench, QWidget* editor, QCloseEvent* event);

// A row-wise laid-out check array on parent with objectNames "name(i)" and the captions.
// Geometry in pixels: first box at (left, top), cells of cellWidth x cellHeight.
QList<QCheckBox*> MakeCheckArray(QWidget* parent, const QString& name, const QStringList& captions, int columns,
                                 int left, int top, int cellWidth, int cellHeight);

// A check array's list of ticks in the workbench's conditions.
using TickList = std::function<QList<bool>&(pool::EditorConditions&)>;
// Every toggle of a box writes its tick to the workbench's conditions.
void BindTicks(WorkbenchApi& bench, QWidget* editor, const QList<QCheckBox*>& boxes, TickList ticks);
// Ticks the boxes as the workbench's conditions hold them.
void FillTicks(WorkbenchApi& bench, const QList<QCheckBox*>& boxes, TickList ticks);

// Indexes of the ticked boxes, ascending.
QList<int> TickedIndexes(const QList<QCheckBox*>& boxes);

}  // namespace dialogs
