#include "statistics/profitplantab.h"

#include "platform/ui/controls.h"
#include "statistics/profitplan.h"
#include "statistics/statstable.h"
#include "statistics/tablecopy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace statistics {

ProfitPlanTab::ProfitPlanTab(const StatsSource& source, QWidget* parent) : StatsTab(source, parent) {
    const char16_t* captions[4] = {u"期数", u"注数", u"倍数", u"单倍奖金"};
    int x = 6;
    for (int k = 0; k < 4; ++k) {
        const int labelWidth = k == 3 ? 56 : 30;
        ui::MakeLabel(this, QStringLiteral("Label%1").arg(3 + k), QString::fromUtf16(captions[k]), x, 8, labelWidth, 20);
        lists_[k] = ui::MakePickList(this, QStringLiteral("Combo%1").arg(5 + k), {}, x + labelWidth, 6, 64);
        x += labelWidth + 72;
    }
    ui::MakeLabel(this, QStringLiteral("Label7"), QStringLiteral("收益"), x, 8, 30, 20);
    target_ = ui::MakePlaced<QLineEdit>(this, QStringLiteral("Text1"), x + 30, 6, 64, 24);
    percent_ = ui::MakeLabel(this, QStringLiteral("Label8"), QStringLiteral("%"), x + 96, 8, 14, 20);
    byAmount_ = ui::MakePlaced<QCheckBox>(this, QStringLiteral("Check1"), x + 114, 6, 96, 24);
    byAmount_->setText(QStringLiteral("以奖金计算"));
    ui::MakeButton(this, QStringLiteral("Command3"), QStringLiteral("确定"), x + 214, 5, 60, 26, this, &ProfitPlanTab::plan);
    const auto c = [](const char16_t* title, int twips) { return TableColumn{QString::fromUtf16(title), twips}; };
    makeTable(4,
              {c(u"期数", 800), c(u"投入倍数", 1000), c(u"本期投入奖金", 1500), c(u"累积投入奖金", 1500),
               c(u"本期收入金额", 1500), c(u"净收入", 1000), c(u"收入率", 1000)},
              QRect(6, 38, 744, 298));
    ui::MakeButton(this, QStringLiteral("Command7"), QStringLiteral("复制结果"), 6, 344, 90, 26, this, &ProfitPlanTab::copy);
}

void ProfitPlanTab::load() {
    resetTable();
    const int last[4] = {100, 1000, 100, 1000};
    const char* defaults[4] = {"20", "20", "1", "1000"};
    for (int k = 0; k < 4; ++k) {
        lists_[k]->clear();
        lists_[k]->addItems(NumberItems(1, last[k]));
        lists_[k]->setCurrentText(QString::fromLatin1(defaults[k]));
    }
    // Ticked as the design has it, without the switch's handler.
    byAmount_->disconnect(this);
    byAmount_->setChecked(true);
    connect(byAmount_, &QCheckBox::toggled, this, &ProfitPlanTab::switchTarget);
    target_->setText(QStringLiteral("1000"));
    percent_->setVisible(false);
}

void ProfitPlanTab::switchTarget() {
    const bool amount = byAmount_->isChecked();
    percent_->setVisible(!amount);
    target_->setText(amount ? QStringLiteral("1000") : QStringLiteral("50"));
}

void ProfitPlanTab::plan() {
    table()->clear();
    target_->setText(target_->text().trimmed());
    ProfitPlanInputs in;
    if (!ParseProfitTarget(target_->text(), &in.target)) {
        target_->setText(QStringLiteral("50"));
        return;
    }
    in.periods = lists_[0]->currentIndex() + 1;
    in.bets = lists_[1]->currentIndex() + 1;
    in.startMultiple = lists_[2]->currentIndex() + 1;
    in.prize = lists_[3]->currentIndex() + 1;
    in.targetIsAmount = byAmount_->isChecked();
    table()->appendTexts(ProfitPlanRows(in));
}

void ProfitPlanTab::copy() { copyTable(ProfitPlanCopyLayout()); }

}  // namespace statistics
