// WorkbenchWindow's condition inputs: the two-code filter's two lists (过滤 / 选择), the fuzzy
// filter's digit sources (hot/warm/cold, drawn/neighbour/lone, repeat/gap/middle, or the
// player's own digits, remembered), and the digit pickers the fuzzy boxes open.
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "dialogs/positiondigitpicker.h"
#include "pool/fuzzyclasses.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// Each of the two modes keeps its own list: switching puts the shown list aside and brings the
// other mode's back.
void WorkbenchWindow::Option9_Click() {
    twoCodeSelect_->setProperty("Tag", model_.input(pool::InputBox::TwoCodes));
    setInput(pool::InputBox::TwoCodes, twoCodeFilter_->property("Tag").toString());
    twoCodeRun_->setText(QStringLiteral("过滤"));
}

void WorkbenchWindow::Option10_Click() {
    twoCodeFilter_->setProperty("Tag", model_.input(pool::InputBox::TwoCodes));
    setInput(pool::InputBox::TwoCodes, twoCodeSelect_->property("Tag").toString());
    twoCodeRun_->setText(QStringLiteral("选择"));
}

void WorkbenchWindow::setFuzzyCaptions(const QString& a, const QString& b, const QString& c, int blanks) {
    const QString names[3] = {a, b, c};
    for (int k = 0; k < 3; ++k)
        fuzzyBoxes_[k]->setText(names[k] + QString(blanks, QLatin1Char(' ')) + QStringLiteral("出"));
}

void WorkbenchWindow::Option11_Click() {
    for (int k = 0; k < 3; ++k) fuzzyDigits_[k]->setText(customDigits_[k]);
    setFuzzyCaptions(QStringLiteral("数字1"), QStringLiteral("数字2"), QStringLiteral("数字3"), 29);
}

void WorkbenchWindow::writeFuzzySource(int kind) {
    const common::DrawHistory& h = common::App().history;
    const pool::FuzzyDigitClasses classes = pool::ComputeFuzzyDigitClasses(h, h.count());
    const pool::DigitPartition& part = kind == 0   ? classes.hotWarmCold
                                       : kind == 1 ? classes.drawnNeighbourLone
                                                   : classes.repeatGapMiddle;
    for (int k = 0; k < 3; ++k) fuzzyDigits_[k]->setText(part.listText(k));
    static const char* const names[3][3] = {{"热", "温", "冷"}, {"传", "邻", "孤"}, {"复", "隔", "中"}};
    setFuzzyCaptions(QString::fromUtf8(names[kind][0]), QString::fromUtf8(names[kind][1]),
                     QString::fromUtf8(names[kind][2]), 32);
}

void WorkbenchWindow::Option12_Click() { writeFuzzySource(0); }
void WorkbenchWindow::Option13_Click() { writeFuzzySource(1); }
void WorkbenchWindow::Option14_Click() { writeFuzzySource(2); }

void WorkbenchWindow::customDigitsChanged(int k) {
    if (fuzzyCustom_->isChecked())
        customDigits_[k] = model_.input(pool::InputBox(int(pool::InputBox::FuzzyDigits1) + k));
}
void WorkbenchWindow::Text2_Change() { customDigitsChanged(0); }
void WorkbenchWindow::Text3_Change() { customDigitsChanged(1); }
void WorkbenchWindow::Text4_Change() { customDigitsChanged(2); }

void WorkbenchWindow::openFuzzyPicker(int tab) {
    QStringList captions;
    for (int k = 0; k < 3; ++k) captions << fuzzyBoxes_[k]->text().left(3);
    PositionDigitPicker::Open(captions, tab, QStringLiteral("模糊过滤"));
}
void WorkbenchWindow::Text2_DblClick() { openFuzzyPicker(0); }
void WorkbenchWindow::Text3_DblClick() { openFuzzyPicker(1); }
void WorkbenchWindow::Text4_DblClick() { openFuzzyPicker(2); }
