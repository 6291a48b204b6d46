// The workbench buttons that open the statistics window, each on the tabs it needs.
#include "workbench/form2.h"

#include "statistics/form16.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

Form16::WorkbenchInputs StatsInputsOf(Form2* bench, bool compoundOpening) {
    Form16::WorkbenchInputs in;
    in.numbers = bench->session().pool;
    const char* boxes[3] = {"Text12", "Text13", "Text14"};
    for (int p = 0; p < 3; ++p)
        in.digitLists[p] = bench->ctl<QLineEdit>(QString::fromLatin1(boxes[p]))->text();
    in.compoundOpening = compoundOpening;
    return in;
}

}  // namespace

// 投资计划: the plan and the occurrence counts.
void Form2::Command45_Click() { Form16::Open(Form16::Opener::ProfitPlan, StatsInputsOf(this, false), this); }

// 统计: the compound statistics of the three positional digit lists, only when all are filled.
void Form2::Command47_Click() {
    for (const char* name : {"Text12", "Text13", "Text14"})
        if (ctl<QLineEdit>(QString::fromLatin1(name))->text().isEmpty())
            return;
    auto* button = ctl<QPushButton>(QStringLiteral("Command47"));
    button->setProperty("Tag", QStringLiteral("1"));
    Form16::Open(Form16::Opener::Compound, StatsInputsOf(this, button->property("Tag").toString() == QLatin1String("1")),
                 this);
    button->setProperty("Tag", QStringLiteral("0"));
}

// 分析 of the formula filter: the formula statistics in the smaller window.
void Form2::Command62_Click() { Form16::Open(Form16::Opener::FormulaFilter, StatsInputsOf(this, false), this); }

// 分析 of the fuzzy filter: the per-draw fuzzy classes.
void Form2::Command64_Click() { Form16::Open(Form16::Opener::FuzzyFilter, StatsInputsOf(this, false), this); }
