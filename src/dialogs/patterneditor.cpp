#include "dialogs/patterneditor.h"

#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"
#include "dialogs/workbenchapi.h"
#include "pool/workbenchmodel.h"
#include "platform/ui/messagebox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

using dialogs::MakeButton;

namespace {

struct TabDesign {
    const char* caption;
    const char* array;
    int columns;
    const char* start;
    const char* clear;
    const char* invert;
};

const TabDesign kTabDesign[PatternEditor::kTabs] = {
    {"组选012", "Check1", 5, "Command17", "Command1", "Command10"},
    {"单选012", "Check2", 9, "Command22", "Command3", "Command2"},
    {"奇偶", "Check3", 4, "Command23", "Command11", "Command12"},
    {"质合", "Check5", 4, "Command24", "Command15", "Command16"},
    {"大小", "Check4", 4, "Command25", "Command13", "Command14"},
    {"大中小", "Check6", 9, "Command26", "Command4", "Command5"},
    {"组选1234", "Check7", 5, "Command27", "Command6", "Command7"},
    {"单选1234", "Check8", 8, "Command28", "Command8", "Command9"},
};

QComboBox* Preset(QWidget* parent, const char* name, const char* const (&items)[4]) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItem(QStringLiteral("请选择条件"));
    for (const char* item : items) combo->addItem(QString::fromUtf8(item));
    combo->setGeometry(8, 100, 140, 24);
    return combo;
}

}  // namespace

PatternEditor::PatternEditor(dialogs::WorkbenchApi& bench)
    : QDialog(bench.dialogParent()), LastingWindow(bench), EditorRowHandlers(bench, this) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("组合过滤"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    tab_ = new QTabWidget(this);
    tab_->setObjectName(QStringLiteral("SSTab1"));
    tab_->setGeometry(8, 8, 560, 290);
    for (int t = 0; t < kTabs; ++t) {
        const TabDesign& d = kTabDesign[t];
        auto* page = new QWidget(tab_);
        tab_->addTab(page, QString::fromUtf8(d.caption));
        const int cellWidth = d.columns >= 8 ? 60 : 80;
        const int top = (t >= 2 && t <= 4) ? 40 : 10;
        arrays_[t] = dialogs::MakeCheckArray(page, QString::fromLatin1(d.array), pool::PatternCaptions(t), d.columns, 8, top,
                                             cellWidth, 24);
        connect(MakeButton(page, d.start, QStringLiteral("开始过滤号码"), 8, 226, 120, 28), &QPushButton::clicked, this,
                [this, t]() { filterNumbers(t); });
        connect(MakeButton(page, d.clear, QStringLiteral("全清"), 360, 226, 80, 28), &QPushButton::clicked, this,
                [this, t]() { clear(t); });
        connect(MakeButton(page, d.invert, QStringLiteral("反选"), 450, 226, 80, 28), &QPushButton::clicked, this,
                [this, t]() { invert(t); });
    }
    static const char* const oddEvenItems[4] = {"奇奇奇", "两奇一偶", "两偶一奇", "偶偶偶"};
    static const char* const bigSmallItems[4] = {"大大大", "两大一小", "两小一大", "小小小"};
    static const char* const primeItems[4] = {"质质质", "两质一合", "两合一质", "合合合"};
    oddEvenPreset_ = Preset(tab_->widget(2), "Combo1", oddEvenItems);
    primePreset_ = Preset(tab_->widget(3), "Combo3", primeItems);
    bigSmallPreset_ = Preset(tab_->widget(4), "Combo2", bigSmallItems);
    for (QComboBox* c : {oddEvenPreset_, primePreset_}) c->move(8, 8);
    bigSmallPreset_->move(8, 8);
    connect(oddEvenPreset_, qOverload<int>(&QComboBox::activated), this, &PatternEditor::applyOddEvenPreset);
    connect(bigSmallPreset_, qOverload<int>(&QComboBox::activated), this, &PatternEditor::applyBigSmallPreset);
    connect(primePreset_, qOverload<int>(&QComboBox::activated), this, &PatternEditor::applyPrimePreset);

    using E = PatternEditor;
    dialogs::MakeBottomRow<E>(this, {306,
                                     {nullptr, nullptr, 0, 0, nullptr},  // each page has its own start
                                     {"Command19", "撤消", 8, 80, &E::undo},
                                     {"Command18", "恢复", 96, 80, &E::redo},
                                     {"Command20", "[做大底]", 378, 90, &E::makeBase},
                                     {"Command21", "返回>>", 478, 90, &E::hide}});
    setFixedSize(576, 342);

    arrange();
    fill();
    for (int t = 0; t < kTabs; ++t)
        dialogs::BindTicks(bench_, this, arrays_[t], [t](pool::EditorConditions& c) -> QList<bool>& { return c.patterns[size_t(t)]; });
}

void PatternEditor::fill() {
    for (int t = 0; t < kTabs; ++t)
        dialogs::FillTicks(bench_, arrays_[t], [t](pool::EditorConditions& c) -> QList<bool>& { return c.patterns[size_t(t)]; });
}

int PatternEditor::Open(dialogs::WorkbenchApi& bench, int tab) {
    PatternEditor* editor = instance(bench);
    editor->fill();
    editor->tab_->setCurrentIndex(tab);
    return ui::ShowModal(editor);
}

void PatternEditor::arrange() {
    dialogs::PlaceEditorOnWorkbench(bench_, this);
    for (QComboBox* c : {oddEvenPreset_, bigSmallPreset_, primePreset_}) c->setCurrentIndex(0);
}

void PatternEditor::filterNumbers(int tab) {
    dialogs::StartFilterFromDialog(bench_, dialogs::BatchGroup::Basic, tab, this);
}

QComboBox* PatternEditor::presetOf(int tab) const {
    switch (tab) {
    case 2: return oddEvenPreset_;
    case 3: return primePreset_;
    case 4: return bigSmallPreset_;
    default: return nullptr;
    }
}

void PatternEditor::clear(int tab) { dialogs::ClearTicks(arrays_[tab], presetOf(tab)); }
void PatternEditor::invert(int tab) { dialogs::InvertTicks(arrays_[tab], presetOf(tab)); }


void PatternEditor::applyPreset(QComboBox* combo, int tab, const QList<QList<int>>& boxesPerItem) {
    const int item = combo->currentIndex();
    if (item < 1 || item > boxesPerItem.size()) return;  // the prompt adds nothing
    for (int i : boxesPerItem[item - 1]) arrays_[tab][i]->setChecked(true);
}

// Items: all of the set class, two of it, one of it, none of it (bit 1 = 奇 / 大 / 合).
void PatternEditor::applyOddEvenPreset() { applyPreset(oddEvenPreset_, 2, {{7}, {3, 5, 6}, {1, 2, 4}, {0}}); }
void PatternEditor::applyBigSmallPreset() { applyPreset(bigSmallPreset_, 4, {{7}, {3, 5, 6}, {1, 2, 4}, {0}}); }
void PatternEditor::applyPrimePreset() { applyPreset(primePreset_, 3, {{0}, {1, 2, 4}, {3, 5, 6}, {7}}); }

void PatternEditor::closeEvent(QCloseEvent* event) {
    if (!dialogs::HideUnlessQuitting(bench_, this, event)) QDialog::closeEvent(event);
}
