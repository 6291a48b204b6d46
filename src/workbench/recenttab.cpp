// The workbench's tabs 近期过滤 and 胆码组合: their controls, bound to the model, and their runs
// (filterruns.h).
#include "workbench/recenttab.h"

#include "dialogs/workbenchapi.h"
#include "workbench/benchcontrols.h"
#include "pool/filterruns.h"

namespace workbench {

bool SaveStepCollection(dialogs::WorkbenchApi& bench, const QString& description) {
    pool::AutoCollectionPause();
    bench.session().setDescription = description;
    bench.saveCollection();
    return bench.collectionSaved();
}

// ---- 近期过滤 -------------------------------------------------------------------------------

RecentTab::RecentTab(dialogs::WorkbenchApi& bench) : bench_(bench) {
    QGroupBox* f17 = Frm(this, QStringLiteral("Frame17"), QStringLiteral("近期过滤"), 2, 0, 402, 236);
    const struct { const char* box; const char* caption; const char* combo; } recent[10] = {
        {"Check10", "单选过滤号码  近        期", "Combo5"}, {"Check71", "组选过滤号码  近        期", "Combo13"},
        {"Check4", "过滤号码和值  近        期", "Combo6"},  {"Check74", "单选过滤奇偶  近        期", "Combo15"},
        {"Check79", "单选过滤质合  近        期", "Combo20"}, {"Check77", "单选过滤大小  近        期", "Combo18"},
        {"Check76", "单选过滤1234  近        期", "Combo17"}, {"Check75", "组选过滤1234  近        期", "Combo16"},
        {"Check73", "单选过滤012路 近        期", "Combo14"}, {"Check78", "单选过滤大中小近        期", "Combo19"}};
    // The count lists cover the blanks between "近" and "期", whose place the font decides; they
    // stand in one column per row of boxes, and a label after each shows the "期" it covers.
    int listLeft[2] = {0, 0}, listRight[2] = {0, 0};
    for (int i = 0; i < 10; ++i) {
        const int x = 4 + (i / 5) * 198, y = 18 + (i % 5) * 28;
        QCheckBox* box = Chk(f17, QString::fromLatin1(recent[i].box), QString::fromUtf8(recent[i].caption), x, y, 194, 22);
        const QString caption = box->text();
        listLeft[i / 5] = std::max(listLeft[i / 5], CaptionEnd(box, int(caption.indexOf(QStringLiteral("近"))) + 1) + 3);
        listRight[i / 5] = std::max(listRight[i / 5], CaptionEnd(box, int(caption.size())) + 2);
        rows_[i] = box;
    }
    for (int i = 0; i < 10; ++i) {
        QCheckBox* box = rows_[i];
        const int c = i / 5, y = box->y();
        const QString caption = box->text();
        int left = listLeft[c], right = listRight[c];
        if (CaptionEnd(box, int(caption.size()) - 1) < left) {  // its own "期" would show: a place of its own
            left = CaptionEnd(box, int(caption.indexOf(QStringLiteral("近"))) + 1) + 3;
            right = CaptionEnd(box, int(caption.size())) + 2;
        }
        const int width = std::max(50, right - left);
        counts_[i] = Cmb(f17, QString::fromLatin1(recent[i].combo), left, y, width, false);
        Lbl(f17, {}, QStringLiteral("期"), left + width + 2, y + 1, 16);
    }
    autoCollect_ = Chk(f17, QStringLiteral("Check68"), QStringLiteral("用做大底自动容错"), 4, 162, 160, 20);
    Chk(f17, QStringLiteral("Check72"), QStringLiteral("容错"), 170, 162, 60, 20)->hide();
    run_ = Button(f17, this, &RecentTab::run, QStringLiteral("Command44"), QStringLiteral("过滤"), 346, 212);
}

void RecentTab::bindModel() {
    pool::RecentInputs& recent = bench_.model().recent;
    for (int r = 0; r < pool::kRecentRows; ++r) {
        Bind(this, rows_[r], recent.rows[size_t(r)]);
        Bind(this, counts_[r], recent.counts[size_t(r)]);
    }
    Bind(this, autoCollect_, recent.autoCollect);
}

void RecentTab::fillCounts() {
    QStringList hundred;
    for (int i = 1; i <= 100; ++i) hundred << QString::number(i);
    for (int r = 0; r < pool::kRecentRows; ++r) {
        counts_[r]->clear();
        counts_[r]->addItems(hundred);
        counts_[r]->setCurrentIndex(r == 0 ? 29 : r == 2 ? 4 : 9);
    }
}

void RecentTab::showRows() {
    for (int r = 0; r < pool::kRecentRows; ++r) rows_[r]->setChecked(bench_.model().recent.rows[size_t(r)]);
}

void RecentTab::run() {
    bench_.showLogEnd();
    pool::RecentInputs& recent = bench_.model().recent;
    std::array<pool::RecentRow, pool::kRecentRows> rows;
    for (int r = 0; r < pool::kRecentRows; ++r) {
        rows[size_t(r)].ticked = recent.rows[size_t(r)];
        rows[size_t(r)].countText = recent.counts[size_t(r)];
    }
    const auto ran = pool::RunRecentFilter(bench_.session(), bench_.state().history(), rows, recent.autoCollect,
                                     bench_.model().straightMode,
                                     [this](const QString& description) { return SaveStepCollection(bench_, description); });
    // A row that ran is consumed; the others keep their tick.
    for (int r = 0; r < pool::kRecentRows; ++r)
        if (ran[size_t(r)]) recent.rows[size_t(r)] = false;
    showRows();
}

// ---- 胆码组合 -------------------------------------------------------------------------------

DigitGroupTab::DigitGroupTab(dialogs::WorkbenchApi& bench) : bench_(bench) {
    QGroupBox* f11 = Frm(this, QStringLiteral("Frame11"), QStringLiteral("胆码组合过滤"), 2, 0, 402, 236);
    // In run order: switch, digit box, count array and its member for count 0 (counts 1..3 are
    // the members below it).
    const struct { const char* box; const char* text; const char* counts; int first; } groups[5] = {
        {"Check81", "Text10", "Check32", 11}, {"Check80", "Text9", "Check33", 11}, {"Check70", "Text8", "Check31", 7},
        {"Check63", "Text7", "Check32", 7},   {"Check62", "Text6", "Check33", 7}};
    auto* typing = new CommaOnEnter(this, false);
    for (int g = 0; g < 5; ++g) {
        const int y = 18 + g * 28;
        QCheckBox* box = Chk(f11, QString::fromLatin1(groups[g].box), Padded(QStringLiteral("组合%1").arg(g + 1), 29), 6,
                             y, 236, 22);
        boxes_[g] = box;
        const int left = std::max(62, CaptionEnd(box, 3) + 6);
        digits_[g] = Line(f11, QString::fromLatin1(groups[g].text), left, y + 1, 240 - left, 20,
                          g == 0 ? QStringLiteral("例：0,1,2,3,4,5,6,7,8,9") : QString());
        digits_[g]->installEventFilter(typing);
        for (int j = 0; j < 4; ++j)  // counts "0".."3" are members first, first-1, …
            counts_[g][j] = Chk(f11, dialogs::ArrayName(QString::fromLatin1(groups[g].counts), groups[g].first - j),
                                QString::number(j), 246 + j * 36, y, 34, 22);
    }
    repeatOnce_ = Chk(f11, QStringLiteral("Check2"), QStringLiteral("重复号按一个计算"), 6, 162, 150, 20, true);
    autoCollect_ = Chk(f11, QStringLiteral("Check90"), QStringLiteral("用做大底自动容错"), 160, 162, 150, 20);
    run_ = Button(f11, this, &DigitGroupTab::run, QStringLiteral("Command63"), QStringLiteral("过滤"), 346, 212);
}

void DigitGroupTab::bindModel() {
    pool::DigitGroupInputs& groups = bench_.model().digitGroups;
    for (int g = 0; g < pool::kDigitGroups; ++g) {
        Bind(this, boxes_[g], groups.on[size_t(g)]);
        Bind(this, digits_[g], groups.digits[size_t(g)]);
        for (int j = 0; j < 4; ++j) Bind(this, counts_[g][j], groups.counts[size_t(g)][size_t(j)]);
    }
    Bind(this, repeatOnce_, groups.repeatCountsOnce);
    Bind(this, autoCollect_, groups.autoCollect);
}

void DigitGroupTab::run() {
    const pool::DigitGroupInputs& inputs = bench_.model().digitGroups;
    std::array<pool::DigitGroup, pool::kDigitGroups> groups;
    for (int g = 0; g < pool::kDigitGroups; ++g) {
        pool::DigitGroup& group = groups[size_t(g)];
        group.on = inputs.on[size_t(g)];
        group.digits = inputs.digits[size_t(g)];
        group.counts = inputs.counts[size_t(g)];
    }
    bench_.showLogEnd();
    pool::RunDigitGroups(bench_.session(), groups, inputs.repeatCountsOnce, inputs.autoCollect,
                   [this](const QString& description) { return SaveStepCollection(bench_, description); });
}

}  // namespace workbench
