#include "statistics/fuzzystatstab.h"

#include "platform/ui/controls.h"
#include "statistics/fuzzystats.h"
#include "statistics/statstable.h"
#include "statistics/tablecopy.h"

#include <QPushButton>

namespace statistics {

FuzzyStatsTab::FuzzyStatsTab(const StatsSource& source, QWidget* parent) : StatsTab(source, parent) {
    const auto c = [](const char16_t* title, int twips, bool centred = false) {
        return TableColumn{QString::fromUtf16(title), twips, centred};
    };
    makeTable(1,
              {c(u"期号", 800), c(u"奖号", 600, true), c(u"热", 800), c(u"温", 800), c(u"冷", 800), c(u"比例", 800, true),
               c(u"复", 800), c(u"隔", 800), c(u"中", 800), c(u"比例", 800, true), c(u"传", 800), c(u"邻", 800),
               c(u"孤", 800), c(u"比例", 800, true)},
              QRect(6, 6, 744, 330));
    ui::MakeButton(this, QStringLiteral("Command9"), QStringLiteral("复制结果"), 6, 344, 90, 26, this, &FuzzyStatsTab::copy);
}

void FuzzyStatsTab::load() {
    resetTable();
    table()->appendTexts(FuzzyStatsRows(source_.history(), source_.fuzzyRange()));
}

void FuzzyStatsTab::copy() { copyTable(FuzzyCopyLayout()); }

}  // namespace statistics
