// The workbench's batch-family frames: their controls, the editor each family opens and the
// batch run (batch.h).
#include "workbench/familyframe.h"

#include "dialogs/onedigiteditor.h"
#include "dialogs/optioneditor.h"
#include "dialogs/patterneditor.h"
#include "dialogs/positionexclusioneditor.h"
#include "dialogs/sumeditor.h"
#include "dialogs/workbenchapi.h"
#include "platform/ui/messagebox.h"
#include "pool/batch.h"
#include "pool/batchinputs.h"
#include "workbench/benchcontrols.h"

namespace workbench {

namespace {

struct FamilyButton {
    const char* caption;
    const char* button;
};
// Captions and editor buttons, in the order of dialogs::FamilyBoxes.
const FamilyButton kBasicFamilyButtons[8] = {{"组选012路", "Command18"}, {"单选012路", "Command19"}, {"奇偶 组合", "Command26"},
                          {"质合 组合", "Command32"}, {"大小组合", "Command27"},  {"大 中 小", "Command41"},
                          {"组选1234", "Command46"},  {"单选1234", "Command50"}};
const FamilyButton kAdvancedFamilyButtons[8] = {{"定位过滤", "Command15"}, {"和值过滤", "Command28"},   {"1 D 过滤", "Command53"},
                             {"升降序过滤", "Command39"}, {"均值过滤", "Command56"}, {"AC值过滤", "Command60"},
                             {"直落号过滤", "Command61"}, {"斜连值过滤", "Command59"}};

}  // namespace

FamilyFrame::FamilyFrame(dialogs::BatchGroup group, dialogs::WorkbenchApi& bench, QWidget* parent)
    : QGroupBox(parent), group_(group), bench_(bench) {
    const bool basic = group == dialogs::BatchGroup::Basic;
    setObjectName(basic ? QStringLiteral("Frame4") : QStringLiteral("Frame7"));
    setTitle(basic ? QStringLiteral("基本条件过滤") : QStringLiteral("高级条件过滤"));
    setGeometry(8, basic ? 240 : 376, 360, 128);
    const FamilyButton* families = basic ? kBasicFamilyButtons : kAdvancedFamilyButtons;
    const QStringList& names = dialogs::FamilyBoxes(group);
    for (int i = 0; i < 8; ++i) {
        const int x = 8 + (i % 2) * 176, y = 20 + (i / 2) * 25;
        boxes_[i] = Chk(this, names[i], QString::fromUtf8(families[i].caption), x, y, 110, 22);
        QPushButton* open = MakeButton(this, QString::fromLatin1(families[i].button), QStringLiteral("过滤"), x + 112, y, 50, 22);
        connect(open, &QPushButton::clicked, this, [this, i] { openEditor(i); });
    }
    Chk(this, basic ? QStringLiteral("Check64") : QStringLiteral("Check66"), QStringLiteral("容错"), 8, 104, 60, 20)->hide();
    batch_ = Button(this, this, &FamilyFrame::runBatch, basic ? QStringLiteral("Command5") : QStringLiteral("Command7"),
                    QStringLiteral("过滤"), 304, 104);
    batch_->hide();
    const QString pressed = basic ? QStringLiteral("Command70") : QStringLiteral("Command71");
    Button(this, this, &FamilyFrame::runBatch, pressed, pressed, 240, 104)->hide();
}

void FamilyFrame::bindModel() {
    pool::EditorConditions& c = bench_.model().conditions;
    auto& families = group_ == dialogs::BatchGroup::Basic ? c.basicFamilies : c.advancedFamilies;
    for (int f = 0; f < 8; ++f) {
        bool& on = families[size_t(f)];
        connect(boxes_[f], &QCheckBox::toggled, this, [&on](bool ticked) { on = ticked; });
    }
}

void FamilyFrame::showFamilies() {
    const pool::EditorConditions& c = bench_.model().conditions;
    const auto& families = group_ == dialogs::BatchGroup::Basic ? c.basicFamilies : c.advancedFamilies;
    for (int f = 0; f < 8; ++f) boxes_[f]->setChecked(families[size_t(f)]);
}

void FamilyFrame::runBatch() {
    bench_.showLogEnd();
    if (group_ == dialogs::BatchGroup::Basic) {
        pool::RunBasicBatch(bench_.model());
        showFamilies();
        return;
    }
    const QString warning = pool::RunAdvancedBatch(bench_.model(), bench_.state().history());
    showFamilies();
    if (!warning.isEmpty()) ui::MsgBox(warning, ui::Icon::Information, ui::Buttons::Ok, ui::kAppTitle, bench_.dialogParent());
}

void FamilyFrame::openEditor(int family) {
    if (group_ == dialogs::BatchGroup::Basic) {
        PatternEditor::Open(bench_, family);  // the pattern editor's tabs are the basic families
        return;
    }
    if (family == pool::kPositionalFamily) PositionExclusionEditor::Open(bench_);
    else if (family == pool::kSumFamily) SumEditor::Open(bench_);
    else if (family == pool::kOneDFamily) OneDigitEditor::Open(bench_);
    else OptionEditor::Open(bench_, family - pool::kFirstOptionFamily);
}

}  // namespace workbench
