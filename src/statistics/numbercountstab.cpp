#include "statistics/numbercountstab.h"

#include "platform/ui/clipboard.h"
#include "platform/ui/controls.h"
#include "platform/ui/messagebox.h"
#include "statistics/numbercounts.h"
#include "statistics/statstable.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>

namespace statistics {

NumberCountsTab::NumberCountsTab(const StatsSource& source, QWidget* parent) : StatsTab(source, parent) {
    ui::MakeLabel(this, QStringLiteral("Label9"), QStringLiteral("设置出现次数范围："), 6, 8, 120, 20);
    low_ = ui::MakePickList(this, QStringLiteral("Combo9"), {}, 126, 6, 60);
    ui::MakeLabel(this, QStringLiteral("Label11"), QStringLiteral("…"), 190, 8, 16, 20);
    high_ = ui::MakePickList(this, QStringLiteral("Combo10"), {}, 208, 6, 60);
    ui::MakeButton(this, QStringLiteral("Command4"), QStringLiteral("生成结果"), 276, 5, 80, 26, this,
                   &NumberCountsTab::pickByCount);
    picked_ = ui::MakePlaced<QPlainTextEdit>(this, QStringLiteral("Text2"), 6, 38, 350, 270);
    picked_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    tally_ = ui::MakeLabel(this, QStringLiteral("Label12"), QString(), 6, 314, 200, 20);
    ui::MakeButton(this, QStringLiteral("Command5"), QStringLiteral("复制号码"), 266, 312, 90, 26, this,
                   &NumberCountsTab::copyPicked);
    rangeCaption_ = ui::MakeLabel(this, QStringLiteral("Label10"), QString(), 6, 346, 400, 20);
    makeTable(5, {{QStringLiteral("号码"), 1000}, {QStringLiteral("号码历史开出次数"), 2000}}, QRect(366, 6, 384, 330));
    header()->setSectionsClickable(true);
    connect(header(), &QHeaderView::sectionClicked, this, &NumberCountsTab::sortBySection);
}

void NumberCountsTab::load() {
    resetTable();
    picked_->clear();
    tally_->clear();
    const NumberCounts counts = CountNumbers(source_.history(), source_.analysisRange());
    table()->appendTexts(NumberCountRows(counts));
    const QStringList items = NumberItems(0, LargestCount(counts));
    for (QComboBox* bound : {low_, high_}) {
        bound->clear();
        bound->addItems(items);
    }
    low_->setCurrentIndex(0);
    high_->setCurrentIndex(high_->count() - 1);
}

void NumberCountsTab::pickByCount() {
    const int low = low_->currentText().toInt();
    const int high = high_->currentText().toInt();
    const CountPick pick = PickByCount(table()->allTexts(), low, high);
    picked_->setPlainText(pick.text);
    tally_->setText(PickTally(pick.count));
    ui::MsgBox(QStringLiteral("小提示：您可以用生成的号码来进行垃圾号码过滤。"), ui::Icon::None, ui::Buttons::Ok,
               ui::kAppTitle, this);
}

void NumberCountsTab::copyPicked() { ui::PutOnClipboard(picked_->toPlainText().trimmed()); }

void NumberCountsTab::sortBySection(int section) { table()->sortBy(section, Qt::AscendingOrder); }

void NumberCountsTab::showRange(const QString& caption) { rangeCaption_->setText(caption); }

}  // namespace statistics
