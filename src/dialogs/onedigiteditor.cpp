#include "dialogs/onedigiteditor.h"

#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

using dialogs::MakeButton;

namespace {

struct ModeDesign {
    const char* caption;
    const char* clear;
    const char* invert;
    const char* help;
};

const ModeDesign kModeDesign[OneDigitEditor::kModes] = {
    {"正1D", "Command1", "Command10", "正1D：正1D = （百+十的和值尾数）+（十+个的和值尾数）的和值尾数。"},
    {"负1D", "Command2", "Command3", "负1D：负1D = （百-十的绝对值）-（十-个的绝对值）的绝对值。"},
    {"反正1D", "Command4", "Command5", "反正1D：反正1D = （百+十的和值尾数）- （十+个的和值尾数）的绝对值。"},
    {"反负1D", "Command6", "Command7", "反负1D：反负1D = （百-十的绝对值）+ （十-个的绝对值）的和值尾数。"},
};


dialogs::TickList OneDTicks(int mode) {
    return [mode](pool::EditorConditions& c) -> QList<bool>& { return c.oneD[size_t(mode)]; };
}

}  // namespace

OneDigitEditor::OneDigitEditor(dialogs::WorkbenchApi& bench)
    : QDialog(bench.dialogParent()), LastingWindow(bench), EditorRowHandlers(bench, this) {
    setObjectName(QStringLiteral("Form19"));
    setWindowTitle(QStringLiteral("1D过滤"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    tab_ = new QTabWidget(this);
    tab_->setObjectName(QStringLiteral("SSTab1"));
    tab_->setGeometry(8, 8, 440, 220);
    QStringList digits;
    for (int k = 0; k < 10; ++k) digits << QString::number(k);
    for (int m = 0; m < kModes; ++m) {
        const ModeDesign& d = kModeDesign[m];
        auto* page = new QWidget(tab_);
        tab_->addTab(page, QString::fromUtf8(d.caption));
        boxes_[m] = dialogs::MakeCheckArray(page, QStringLiteral("Check%1").arg(m + 1), digits, 5, 8, 40, 56, 26);

        auto* combo = new QComboBox(page);
        combo->setObjectName(QStringLiteral("Combo%1").arg(m + 1));
        combo->addItems({QStringLiteral("不过滤"), QStringLiteral("单选过滤")});
        combo->setCurrentIndex(-1);  // no mode chosen at first
        combo->setGeometry(8, 8, 120, 24);
        combos_[m] = combo;
        connect(combo, qOverload<int>(&QComboBox::activated), this, [this, m]() { modeChanged(m); });

        connect(MakeButton(page, d.clear, QStringLiteral("全清"), 300, 40, 70, 26), &QPushButton::clicked, this,
                [this, m]() { dialogs::ClearTicks(boxes_[m]); });
        connect(MakeButton(page, d.invert, QStringLiteral("反选"), 300, 70, 70, 26), &QPushButton::clicked, this,
                [this, m]() { dialogs::InvertTicks(boxes_[m]); });

        auto* frame = new QGroupBox(page);
        frame->setObjectName(dialogs::ArrayName(QStringLiteral("Frame1"), m));
        frame->setGeometry(8, 100, 420, 80);
        auto* help = new QLabel(QString::fromUtf8(d.help), frame);
        help->setObjectName(dialogs::ArrayName(QStringLiteral("Label2"), m));
        help->setWordWrap(true);
        help->setGeometry(8, 12, 404, 60);
    }

    using E = OneDigitEditor;
    dialogs::MakeBottomRow<E>(this, {236,
                                     {"Command8", "开始过滤号码", 8, 110, &E::filterNumbers},
                                     {"Command9", "撤消", 124, 70, &E::undo},
                                     {"Command11", "恢复", 198, 70, &E::redo},
                                     {"Command12", "做大底", 272, 80, &E::makeBase},
                                     {"Command13", "返回", 376, 70, &E::hide}});
    setFixedSize(456, 272);

    arrange();
    fill();
    for (int m = 0; m < kModes; ++m) dialogs::BindTicks(bench_, this, boxes_[m], OneDTicks(m));
}

void OneDigitEditor::fill() {
    const pool::EditorConditions& conditions = bench_.model().conditions;
    for (int m = 0; m < kModes; ++m) {
        dialogs::FillTicks(bench_, boxes_[m], OneDTicks(m));
        combos_[m]->setCurrentIndex(int(conditions.oneDModes[size_t(m)]));
        for (QCheckBox* box : boxes_[m]) box->setEnabled(combos_[m]->currentIndex() != 0);
    }
}

int OneDigitEditor::Open(dialogs::WorkbenchApi& bench) {
    OneDigitEditor* editor = instance(bench);
    editor->fill();
    return ui::ShowModal(editor);
}

QList<int> OneDigitEditor::filteredValues(int modeIndex) const {
    if (combos_[modeIndex]->currentIndex() == 0) return {};  // 不过滤
    return dialogs::TickedIndexes(boxes_[modeIndex]);
}

void OneDigitEditor::arrange() {
    dialogs::PlaceEditorOnWorkbench(bench_, this);
    tab_->setCurrentIndex(0);
}

void OneDigitEditor::modeChanged(int modeIndex) {
    const bool on = combos_[modeIndex]->currentIndex() != 0;
    bench_.model().conditions.oneDModes[size_t(modeIndex)] = pool::OneDMode(combos_[modeIndex]->currentIndex());
    for (QCheckBox* box : boxes_[modeIndex]) box->setEnabled(on);
}

void OneDigitEditor::filterNumbers() {
    dialogs::StartFilterFromDialog(bench_, dialogs::BatchGroup::Advanced, pool::kOneDFamily, this);
}


void OneDigitEditor::closeEvent(QCloseEvent* event) {
    if (!dialogs::HideUnlessQuitting(bench_, this, event)) QDialog::closeEvent(event);
}
