#include "dialogs/editorframe.h"

#include "dialogs/dialogutil.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>

namespace dialogs {

const QStringList& FamilyBoxes(BatchGroup group) {
    static const QStringList basic = {QStringLiteral("Check49"), QStringLiteral("Check50"), QStringLiteral("Check11"),
                                      QStringLiteral("Check3"),  QStringLiteral("Check12"), QStringLiteral("Check24"),
                                      QStringLiteral("Check34"), QStringLiteral("Check59")};
    static const QStringList advanced = {QStringLiteral("Check58"), QStringLiteral("Check1"),  QStringLiteral("Check26"),
                                         QStringLiteral("Check9"),  QStringLiteral("Check27"), QStringLiteral("Check25"),
                                         QStringLiteral("Check69"), QStringLiteral("Check60")};
    return group == BatchGroup::Basic ? basic : advanced;
}

QString NoBaseSetMessage() { return QStringLiteral("你还没有组装要过滤的号码，请先设置大底后再过滤号码。"); }

bool StartFilterFromDialog(WorkbenchApi& bench, BatchGroup group, int family, QWidget* parent) {
    if (!bench.hasBaseSet()) {
        ui::MsgBox(NoBaseSetMessage(), ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, parent);
        return false;
    }
    pool::EditorConditions& conditions = bench.model().conditions;
    auto& families = group == BatchGroup::Basic ? conditions.basicFamilies : conditions.advancedFamilies;
    for (int f = 0; f < pool::kBatchFamilies; ++f) families[size_t(f)] = f == family;
    if (group == BatchGroup::Basic)
        bench.runBasicBatch();
    else
        bench.runAdvancedBatch();
    return true;
}

void EditorRowHandlers::makeBase() {
    // An editor open in its modal loop is hidden and shown again around the save without
    // leaving that loop: QDialog::hide() would end it, and the dialog cannot enter a second
    // modal loop while the first is still unwinding, so the editor (and the positional
    // editor's unsaved list) would be gone after the save.
    const bool open = rowEditor_->isVisible();
    if (open)
        rowEditor_->QWidget::setVisible(false);
    else
        rowEditor_->hide();
    rowBench_.saveCollection();
    if (rowBench_.collectionSaved())
        ui::MsgBox(rowBench_.session().setDescription + QLatin1Char('\n') + QStringLiteral("保存大底成功！"),
                   ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, rowBench_.dialogParent());
    if (open)
        rowEditor_->QWidget::setVisible(true);
    else
        ui::ShowModal(rowEditor_);
}

void EditorRowHandlers::undo() { rowBench_.undo(); }

void EditorRowHandlers::redo() { rowBench_.redo(); }

void ClearTicks(const QList<QCheckBox*>& boxes, QComboBox* preset) {
    for (QCheckBox* box : boxes) box->setChecked(false);
    if (preset) preset->setCurrentIndex(0);
}

void InvertTicks(const QList<QCheckBox*>& boxes, QComboBox* preset) {
    for (QCheckBox* box : boxes) box->setChecked(!box->isChecked());
    if (preset) preset->setCurrentIndex(0);
}

void PlaceEditorOnWorkbench(WorkbenchApi& bench, QWidget* editor) {
    editor->setWindowIcon(QApplication::windowIcon());
    PlaceOnWorkbench(bench, editor);
}

bool HideUnlessQuitting(const WorkbenchApi& bench, QWidget* editor, QCloseEvent* event) {
    // Editors live for the run: the state the workbench was given says when the run ends.
    if (bench.state().quitting()) {
        editor->setAttribute(Qt::WA_DeleteOnClose);
        return false;
    }
    event->ignore();
    editor->hide();
    return true;
}

QList<QCheckBox*> MakeCheckArray(QWidget* parent, const QString& name, const QStringList& captions, int columns,
                                 int left, int top, int cellWidth, int cellHeight) {
    QList<QCheckBox*> boxes;
    for (int i = 0; i < captions.size(); ++i) {
        auto* box = new QCheckBox(captions[i], parent);
        box->setObjectName(ArrayName(name, i));
        box->setGeometry(left + (i % columns) * cellWidth, top + (i / columns) * cellHeight, cellWidth - 4,
                         cellHeight - 2);
        boxes.append(box);
    }
    return boxes;
}

void BindTicks(WorkbenchApi& bench, QWidget* editor, const QList<QCheckBox*>& boxes, TickList ticks) {
    for (int i = 0; i < boxes.size(); ++i)
        QObject::connect(boxes[i], &QCheckBox::toggled, editor, [&bench, ticks, i](bool on) {
            QList<bool>& list = ticks(bench.model().conditions);
            if (i < list.size()) list[i] = on;
        });
}

void FillTicks(WorkbenchApi& bench, const QList<QCheckBox*>& boxes, TickList ticks) {
    const QList<bool>& list = ticks(bench.model().conditions);
    for (int i = 0; i < boxes.size() && i < list.size(); ++i) boxes[i]->setChecked(list[i]);
}

QList<int> TickedIndexes(const QList<QCheckBox*>& boxes) {
    QList<int> ticked;
    for (int i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked()) ticked.append(i);
    return ticked;
}

}  // namespace dialogs
