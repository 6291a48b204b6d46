#include "dialogs/patterneditor.h"

#include "dialogs/dialogutil.h"
#include "dialogs/editorframe.h"
#include "dialogs/workbenchapi.h"
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

QStringList Words(const char* const (&w)[8]) {
    QStringList list;
    for (const char* s : w) list << QString::fromUtf8(s);
    return list;
}

// Box i of the 27-box tabs holds position codes c1 c2 c3 with i = c1 + 9·c2 + 3·c3.
QStringList PositionCodeCaptions(const QStringList& symbols) {
    QStringList captions;
    for (int i = 0; i < 27; ++i) captions << symbols[i % 3] + symbols[i / 9] + symbols[(i / 3) % 3];
    return captions;
}

QStringList TabCaptions(int tab) {
    static const char* const oddEven[8] = {"偶偶偶", "偶偶奇", "偶奇偶", "偶奇奇", "奇偶偶", "奇偶奇", "奇奇偶", "奇奇奇"};
    static const char* const primeComposite[8] = {"质质质", "质质合", "质合质", "质合合",
                                                  "合质质", "合质合", "合合质", "合合合"};
    static const char* const bigSmall[8] = {"小小小", "小小大", "小大小", "小大大", "大小小", "大小大", "大大小", "大大大"};
    switch (tab) {
    case 0:
        return {QStringLiteral("300"), QStringLiteral("210"), QStringLiteral("201"), QStringLiteral("120"),
                QStringLiteral("102"), QStringLiteral("111"), QStringLiteral("030"), QStringLiteral("003"),
                QStringLiteral("012"), QStringLiteral("021")};
    case 1: return PositionCodeCaptions({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    case 2: return Words(oddEven);
    case 3: return Words(primeComposite);
    case 4: return Words(bigSmall);
    case 5: return PositionCodeCaptions({QStringLiteral("大"), QStringLiteral("中"), QStringLiteral("小")});
    case 6: return QStringList(20, QString());  // captioned at load
    default: return QStringList(64, QString());
    }
}


QComboBox* Preset(QWidget* parent, const char* name, const char* const (&items)[4]) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItem(QStringLiteral("请选择条件"));
    for (const char* item : items) combo->addItem(QString::fromUtf8(item));
    combo->setGeometry(8, 100, 140, 24);
    return combo;
}

}  // namespace

PatternEditor::PatternEditor(QWidget* parent) : QDialog(parent) {
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
        arrays_[t] = dialogs::MakeCheckArray(page, QString::fromLatin1(d.array), TabCaptions(t), d.columns, 8, top,
                                             cellWidth, 24);
        connect(MakeButton(page, d.start, QStringLiteral("开始过滤号码"), 8, 226, 120, 28), &QPushButton::clicked, this,
                [this, t]() { start(t); });
        connect(MakeButton(page, d.clear, QStringLiteral("全清"), 360, 226, 80, 28), &QPushButton::clicked, this,
                [this, t]() { clear(t); });
        connect(MakeButton(page, d.invert, QStringLiteral("反选"), 450, 226, 80, 28), &QPushButton::clicked, this,
                [this, t]() { invert(t); });
    }
    static const char* const oddEvenItems[4] = {"奇奇奇", "两奇一偶", "两偶一奇", "偶偶偶"};
    static const char* const bigSmallItems[4] = {"大大大", "两大一小", "两小一大", "小小小"};
    static const char* const primeItems[4] = {"质质质", "两质一合", "两合一质", "合合合"};
    combo1_ = Preset(tab_->widget(2), "Combo1", oddEvenItems);
    combo3_ = Preset(tab_->widget(3), "Combo3", primeItems);
    combo2_ = Preset(tab_->widget(4), "Combo2", bigSmallItems);
    for (QComboBox* c : {combo1_, combo3_}) c->move(8, 8);
    combo2_->move(8, 8);
    connect(combo1_, qOverload<int>(&QComboBox::activated), this, &PatternEditor::Combo1_Click);
    connect(combo2_, qOverload<int>(&QComboBox::activated), this, &PatternEditor::Combo2_Click);
    connect(combo3_, qOverload<int>(&QComboBox::activated), this, &PatternEditor::Combo3_Click);

    MakeButton(this, "Command21", QStringLiteral("返回>>"), 478, 306, 90, 28, this, &PatternEditor::Command21_Click);
    MakeButton(this, "Command20", QStringLiteral("[做大底]"), 378, 306, 90, 28, this, &PatternEditor::Command20_Click);
    MakeButton(this, "Command19", QStringLiteral("撤消"), 8, 306, 80, 28, this, &PatternEditor::Command19_Click);
    MakeButton(this, "Command18", QStringLiteral("恢复"), 96, 306, 80, 28, this, &PatternEditor::Command18_Click);
    setFixedSize(576, 342);

    Form_Load();
}

int PatternEditor::Open(int tab) {
    PatternEditor* editor = instance();
    editor->tab_->setCurrentIndex(tab);
    return ui::ShowModal(editor);
}

void PatternEditor::Form_Load() {
    dialogs::PlaceEditorOnWorkbench(this);
    int n = 0;
    for (int a = 1; a <= 4; ++a)
        for (int b = a; b <= 4; ++b)
            for (int c = b; c <= 4; ++c) arrays_[6][n++]->setText(QStringLiteral("%1%2%3").arg(a).arg(b).arg(c));
    n = 0;
    for (int a = 1; a <= 4; ++a)
        for (int b = 1; b <= 4; ++b)
            for (int c = 1; c <= 4; ++c) arrays_[7][n++]->setText(QStringLiteral("%1%2%3").arg(a).arg(b).arg(c));
    for (QComboBox* c : {combo1_, combo2_, combo3_}) c->setCurrentIndex(0);
}

void PatternEditor::start(int tab) {
    dialogs::StartFilterFromDialog(dialogs::BatchGroup::Basic, dialogs::FamilyBoxes(dialogs::BatchGroup::Basic)[tab],
                                   this);
}

QComboBox* PatternEditor::presetOf(int tab) const {
    switch (tab) {
    case 2: return combo1_;
    case 3: return combo3_;
    case 4: return combo2_;
    default: return nullptr;
    }
}

void PatternEditor::clear(int tab) { dialogs::ClearTicks(arrays_[tab], presetOf(tab)); }
void PatternEditor::invert(int tab) { dialogs::InvertTicks(arrays_[tab], presetOf(tab)); }

void PatternEditor::Command17_Click() { start(0); }
void PatternEditor::Command22_Click() { start(1); }
void PatternEditor::Command23_Click() { start(2); }
void PatternEditor::Command24_Click() { start(3); }
void PatternEditor::Command25_Click() { start(4); }
void PatternEditor::Command26_Click() { start(5); }
void PatternEditor::Command27_Click() { start(6); }
void PatternEditor::Command28_Click() { start(7); }

void PatternEditor::Command1_Click() { clear(0); }
void PatternEditor::Command10_Click() { invert(0); }
void PatternEditor::Command3_Click() { clear(1); }
void PatternEditor::Command2_Click() { invert(1); }
void PatternEditor::Command11_Click() { clear(2); }
void PatternEditor::Command12_Click() { invert(2); }
void PatternEditor::Command15_Click() { clear(3); }
void PatternEditor::Command16_Click() { invert(3); }
void PatternEditor::Command13_Click() { clear(4); }
void PatternEditor::Command14_Click() { invert(4); }
void PatternEditor::Command4_Click() { clear(5); }
void PatternEditor::Command5_Click() { invert(5); }
void PatternEditor::Command6_Click() { clear(6); }
void PatternEditor::Command7_Click() { invert(6); }
void PatternEditor::Command8_Click() { clear(7); }
void PatternEditor::Command9_Click() { invert(7); }

void PatternEditor::Command18_Click() { dialogs::RedoFromDialog(); }
void PatternEditor::Command19_Click() { dialogs::UndoFromDialog(); }
void PatternEditor::Command20_Click() { dialogs::MakeBaseFromDialog(this); }
void PatternEditor::Command21_Click() { hide(); }

void PatternEditor::applyPreset(QComboBox* combo, int tab, const QList<QList<int>>& boxesPerItem) {
    const int item = combo->currentIndex();
    if (item < 1 || item > boxesPerItem.size()) return;  // the prompt adds nothing
    for (int i : boxesPerItem[item - 1]) arrays_[tab][i]->setChecked(true);
}

// Items: all of the set class, two of it, one of it, none of it (bit 1 = 奇 / 大 / 合).
void PatternEditor::Combo1_Click() { applyPreset(combo1_, 2, {{7}, {3, 5, 6}, {1, 2, 4}, {0}}); }
void PatternEditor::Combo2_Click() { applyPreset(combo2_, 4, {{7}, {3, 5, 6}, {1, 2, 4}, {0}}); }
void PatternEditor::Combo3_Click() { applyPreset(combo3_, 3, {{0}, {1, 2, 4}, {3, 5, 6}, {7}}); }

void PatternEditor::closeEvent(QCloseEvent* event) {
    if (!dialogs::HideUnlessQuitting(this, event)) QDialog::closeEvent(event);
}
