#include "pool/batchinputs.h"

namespace pool {

namespace {

QList<TickedBox> Ticked(const QList<bool>& ticks, const QStringList& captions) {
    QList<TickedBox> ticked;
    for (int i = 0; i < ticks.size(); ++i)
        if (ticks[i]) ticked.append({i, i < captions.size() ? captions[i] : QString::number(i)});
    return ticked;
}

// Unticks and reports a ticked family.
bool Take(bool& family) {
    const bool was = family;
    family = false;
    return was;
}

}  // namespace

QList<BasicCondition> TakeBasicConditions(EditorConditions& conditions) {
    QList<BasicCondition> families;
    for (int f = 0; f < kBatchFamilies; ++f) {
        if (!Take(conditions.basicFamilies[size_t(f)])) continue;
        families.append({BasicFamily(f), Ticked(conditions.patterns[size_t(f)], PatternCaptions(f))});
    }
    return families;
}

QList<AdvancedCondition> TakeAdvancedConditions(EditorConditions& conditions) {
    QList<AdvancedCondition> families;
    for (int f = 0; f < kBatchFamilies; ++f) {
        if (!Take(conditions.advancedFamilies[size_t(f)])) continue;
        AdvancedCondition c;
        c.family = AdvancedFamily(f);
        switch (c.family) {
        case AdvancedFamily::Positional: c.patterns = conditions.positionPatterns; break;
        case AdvancedFamily::Sum: c.ticked = Ticked(conditions.sums, {}); break;
        case AdvancedFamily::OneD:
            for (int m = 0; m < kOneDModes; ++m) c.oneD[size_t(m)] = conditions.oneDValues(m);
            break;
        default: {  // the option editor's tabs, in family order from 升降序
            const int tab = f - int(AdvancedFamily::AbcType);
            c.ticked = Ticked(conditions.options[size_t(tab)], OptionCaptions(tab));
            break;
        }
        }
        families.append(c);
    }
    return families;
}

void RunBasicBatch(WorkbenchModel& model) {
    RunBasicBatch(model.session, TakeBasicConditions(model.conditions));
}

QString RunAdvancedBatch(WorkbenchModel& model, const common::DrawHistory& history) {
    return RunAdvancedBatch(model.session, TakeAdvancedConditions(model.conditions), history);
}

}  // namespace pool
