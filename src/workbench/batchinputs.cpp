#include "workbench/batchinputs.h"

#include "common/appstate.h"
#include "dialogs/editorframe.h"
#include "dialogs/sumeditor.h"
#include "dialogs/optioneditor.h"
#include "dialogs/onedigiteditor.h"
#include "dialogs/patterneditor.h"

#include <QCheckBox>
#include <QWidget>

namespace workbench {

namespace {

QList<TickedBox> Ticked(const QList<QCheckBox*>& boxes) {
    QList<TickedBox> ticked;
    for (int i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked()) ticked.append({i, boxes[i]->text()});
    return ticked;
}

// Unticks and reports a ticked family box.
bool TakeBox(QWidget* workbench, const QString& name) {
    auto* box = workbench->findChild<QCheckBox*>(name);
    if (!box || !box->isChecked()) return false;
    box->setChecked(false);
    return true;
}

}  // namespace

QList<BasicCondition> TakeBasicConditions(QWidget* workbench) {
    const QStringList& boxes = dialogs::FamilyBoxes(dialogs::BatchGroup::Basic);
    QList<BasicCondition> families;
    for (int f = 0; f < boxes.size(); ++f) {
        if (!TakeBox(workbench, boxes[f])) continue;
        families.append({BasicFamily(f), Ticked(PatternEditor::instance()->array(f))});
    }
    return families;
}

QList<AdvancedCondition> TakeAdvancedConditions(QWidget* workbench) {
    const QStringList& boxes = dialogs::FamilyBoxes(dialogs::BatchGroup::Advanced);
    QList<AdvancedCondition> families;
    for (int f = 0; f < boxes.size(); ++f) {
        if (!TakeBox(workbench, boxes[f])) continue;
        AdvancedCondition c;
        c.family = AdvancedFamily(f);
        switch (c.family) {
        case AdvancedFamily::Positional: c.patterns = common::App().positionPatterns; break;
        case AdvancedFamily::Sum: c.ticked = Ticked(SumEditor::instance()->sums()); break;
        case AdvancedFamily::OneD:
            for (int m = 0; m < OneDigitEditor::kModes; ++m) c.oneD[size_t(m)] = OneDigitEditor::instance()->filteredValues(m);
            break;
        default:  // the option editor's tabs, in family order from 升降序
            c.ticked = Ticked(OptionEditor::instance()->array(f - int(AdvancedFamily::AbcType)));
            break;
        }
        families.append(c);
    }
    return families;
}

}  // namespace workbench
