#include "dialogs/sumeditor.h"

#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"
#include "platform/ui/messagebox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

namespace {

using dialogs::MakeButton;

QList<bool>& SumTicks(pool::EditorConditions& c) { return c.sums; }

}  // namespace

SumEditor::SumEditor(dialogs::WorkbenchApi& bench)
    : QDialog(bench.dialogParent()), LastingWindow(bench), EditorRowHandlers(bench, this) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("和值过滤"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    tab_ = new QTabWidget(this);
    tab_->setObjectName(QStringLiteral("SSTab1"));
    tab_->setGeometry(8, 8, 420, 200);
    auto* page = new QWidget(tab_);
    tab_->addTab(page, QStringLiteral("和值过滤"));
    boxes_ = dialogs::MakeCheckArray(page, QStringLiteral("Check1"), QStringList(28, QString()), 7, 8, 8, 56, 26);

    routePreset_ = new QComboBox(page);
    routePreset_->setObjectName(QStringLiteral("Combo1"));
    routePreset_->addItems({QStringLiteral("请选择条件"), QStringLiteral("0路"), QStringLiteral("1路"), QStringLiteral("2路")});
    routePreset_->setGeometry(8, 126, 130, 24);
    connect(routePreset_, qOverload<int>(&QComboBox::activated), this, &SumEditor::applyRoutePreset);
    MakeButton(page, "Command3", QStringLiteral("全清"), 240, 124, 76, 28, this, &SumEditor::clearSums);
    MakeButton(page, "Command2", QStringLiteral("反选"), 324, 124, 76, 28, this, &SumEditor::invertSums);

    using E = SumEditor;
    dialogs::MakeBottomRow<E>(this, {216,
                                     {"Command7", "开始过滤号码", 8, 110, &E::filterNumbers},
                                     {"Command1", "撤消", 124, 70, &E::undo},
                                     {"Command4", "恢复", 198, 70, &E::redo},
                                     {"Command5", "[做大底]", 272, 80, &E::makeBase},
                                     {"Command6", "返回", 356, 70, &E::hide}});
    setFixedSize(436, 252);

    arrange();
    dialogs::FillTicks(bench_, boxes_, SumTicks);
    dialogs::BindTicks(bench_, this, boxes_, SumTicks);
}

int SumEditor::Open(dialogs::WorkbenchApi& bench) {
    SumEditor* editor = instance(bench);
    dialogs::FillTicks(bench, editor->boxes_, SumTicks);
    editor->tab_->setCurrentIndex(0);
    return ui::ShowModal(editor);
}

void SumEditor::arrange() {
    dialogs::PlaceEditorOnWorkbench(bench_, this);
    for (int k = 0; k < boxes_.size(); ++k) boxes_[k]->setText(QString::number(k));
    routePreset_->setCurrentIndex(0);
}

void SumEditor::applyRoutePreset() {
    const int item = routePreset_->currentIndex();
    if (item <= 0) {
        for (QCheckBox* box : boxes_) box->setChecked(false);
        return;
    }
    // A route preset adds the sums of that route; the other ticks stay.
    for (int s = 0; s < boxes_.size(); ++s)
        if (s % 3 == item - 1) boxes_[s]->setChecked(true);
}

void SumEditor::clearSums() { dialogs::ClearTicks(boxes_, routePreset_); }
void SumEditor::invertSums() { dialogs::InvertTicks(boxes_, routePreset_); }

void SumEditor::filterNumbers() {
    dialogs::StartFilterFromDialog(bench_, dialogs::BatchGroup::Advanced, pool::kSumFamily, this);
}


void SumEditor::closeEvent(QCloseEvent* event) {
    if (!dialogs::HideUnlessQuitting(bench_, this, event)) QDialog::closeEvent(event);
}
