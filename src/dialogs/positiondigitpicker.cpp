#include "dialogs/positiondigitpicker.h"

#include "dialogs/dialogutil.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kPositional = QStringLiteral("定位选号");

// Digits each preset ticks (index into the preset list); empty = not a class preset.
QList<int> PresetDigits(int item) {
    switch (item) {
    case 3: return {1, 3, 5, 7, 9};  // 奇数
    case 4: return {0, 2, 4, 6, 8};  // 偶数
    case 5: return {5, 6, 7, 8, 9};  // 大数
    case 6: return {0, 1, 2, 3, 4};  // 小数
    case 7: return {1, 2, 3, 5, 7};  // 质数
    case 8: return {0, 4, 6, 8, 9};  // 合数
    default: return {};
    }
}

}  // namespace

PositionDigitPicker::PositionDigitPicker(dialogs::WorkbenchApi& bench) : QDialog(bench.dialogParent()), LastingWindow(bench) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(kPositional);
    setAttribute(Qt::WA_DeleteOnClose);  // the close box discards the picker and its ticks

    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(tabs_);

    const QStringList presets = {QStringLiteral("选号"), QStringLiteral("反选"), QStringLiteral("全清"),
                                 QStringLiteral("奇数"), QStringLiteral("偶数"), QStringLiteral("大数"),
                                 QStringLiteral("小数"), QStringLiteral("质数"), QStringLiteral("合数")};
    const QStringList captions = {QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")};
    // Per tab: clear and invert buttons (the third tab has them hidden; its list offers both).
    const char* clearNames[3] = {"Command4", "Command2", "Command11"};
    const char* invertNames[3] = {"Command5", "Command3", "Command12"};
    for (int slot = 0; slot < 3; ++slot) {
        auto* page = new QWidget(tabs_);
        auto* grid = new QGridLayout(page);
        const QString array = QStringLiteral("Check%1").arg(slot + 1);
        for (int d = 0; d < 10; ++d) {
            auto* box = new QCheckBox(QString::number(d), page);
            box->setObjectName(dialogs::ArrayName(array, d));
            box->setChecked(true);
            grid->addWidget(box, d / 5, d % 5);
            boxes_[slot].append(box);
        }
        auto* row = new QHBoxLayout;
        auto* combo = new QComboBox(page);
        combo->setObjectName(QStringLiteral("Combo%1").arg(slot + 1));
        combo->addItems(presets);
        combos_[slot] = combo;
        row->addWidget(combo);
        auto* clear = new QPushButton(QStringLiteral("全清"), page);
        clear->setObjectName(QString::fromLatin1(clearNames[slot]));
        auto* invert = new QPushButton(QStringLiteral("反选"), page);
        invert->setObjectName(QString::fromLatin1(invertNames[slot]));
        row->addWidget(clear);
        row->addWidget(invert);
        if (slot == 2) {
            clear->setVisible(false);
            invert->setVisible(false);
        }
        grid->addLayout(row, 2, 0, 1, 5);
        connect(clear, &QPushButton::clicked, this, [this, slot] { clearSlot(slot); });
        connect(invert, &QPushButton::clicked, this, [this, slot] { invertSlot(slot); });
        connect(combo, &QComboBox::activated, this, [this, slot](int item) { applyPreset(slot, item); });
        tabs_->addTab(page, captions[slot]);
    }

    layout->addWidget(dialogs::HandlerButton(this, "Command1", QStringLiteral("添加到过滤器"), &PositionDigitPicker::addToFilter));

    arrange();
}

int PositionDigitPicker::Open(dialogs::WorkbenchApi& bench, const QStringList& tabCaptions, int tab, const QString& caption) {
    PositionDigitPicker* picker = instance(bench);
    picker->prepare(tabCaptions, tab, caption);
    return ui::ShowModal(picker);
}

void PositionDigitPicker::prepare(const QStringList& tabCaptions, int tab, const QString& caption) {
    for (int i = 0; i < 3 && i < tabCaptions.size(); ++i) tabs_->setTabText(i, tabCaptions[i]);
    if (tab >= 0 && tab < 3) tabs_->setCurrentIndex(tab);
    setWindowTitle(caption);
}

QCheckBox* PositionDigitPicker::box(int slot, int digit) const {
    if (slot < 0 || slot > 2) return nullptr;
    return boxes_[slot].value(digit);
}

void PositionDigitPicker::arrange() {
    setWindowIcon(QApplication::windowIcon());
    adjustSize();
    dialogs::CentreOnScreen(this);
    for (QComboBox* combo : combos_) combo->setCurrentIndex(0);
}

void PositionDigitPicker::addToFilter() {
    SendHundredsDigits();
    SendTensDigits();
    SendUnitsDigits();
    hide();
}

void PositionDigitPicker::applyPreset(int slot, int item) {
    if (item == 1) {
        invertSlot(slot);
        return;
    }
    if (item == 2) {
        clearSlot(slot);
        return;
    }
    const QList<int> digits = PresetDigits(item);
    if (digits.isEmpty()) return;  // "选号" is only the heading
    clearSlot(slot);
    for (int d : digits) boxes_[slot][d]->setChecked(true);
}

void PositionDigitPicker::clearSlot(int slot) {
    for (QCheckBox* box : boxes_[slot]) box->setChecked(false);
}

void PositionDigitPicker::invertSlot(int slot) {
    for (QCheckBox* box : boxes_[slot]) box->setChecked(!box->isChecked());
}

void PositionDigitPicker::sendSlot(int slot) {
    const pool::InputBox first =
        windowTitle() == kPositional ? pool::InputBox::PositionDigits1 : pool::InputBox::FuzzyDigits1;
    const auto target = pool::InputBox(int(first) + slot);
    QStringList digits;
    for (QCheckBox* box : boxes_[slot])
        if (box->isChecked()) digits.append(box->text());
    bench_.setInput(target, digits.join(QLatin1Char(',')));
}
