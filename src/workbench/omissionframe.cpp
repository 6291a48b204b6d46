#include "workbench/omissionframe.h"

#include "dialogs/omissionpicker.h"
#include "dialogs/workbenchapi.h"
#include "workbench/benchcontrols.h"
#include "pool/filterruns.h"

namespace workbench {

OmissionFrame::OmissionFrame(dialogs::WorkbenchApi& bench, QWidget* parent) : QGroupBox(parent), bench_(bench) {
    setObjectName(QStringLiteral("Frame18"));
    setTitle(QStringLiteral("遗漏过滤"));
    setGeometry(8, 8, 360, 150);
    auto* typing = new CommaOnEnter(this, true);
    const struct { const char* box; const char* caption; const char* text; } families[5] = {
        {"Check5", "组选遗漏", "Text15"}, {"Check8", "百位遗漏", "Text18"}, {"Check7", "十位遗漏", "Text17"},
        {"Check6", "个位遗漏", "Text16"}, {"Check82", "单选遗漏", "Text11"}};
    for (int i = 0; i < 5; ++i) {
        boxes_[i] = Chk(this, QString::fromLatin1(families[i].box), QString::fromUtf8(families[i].caption), 6,
                        18 + i * 24, 90, 20);
        values_[i] = Line(this, QString::fromLatin1(families[i].text), 100, 18 + i * 24, 180);
        if (i < 4) values_[i]->installEventFilter(typing);  // as the design has it: not 单选遗漏's
    }
    Button(this, this, &OmissionFrame::pick, QStringLiteral("Command36"), QStringLiteral("设置"), 290, 18, 56, 24);
    run_ = Button(this, this, &OmissionFrame::run, QStringLiteral("Command37"), QStringLiteral("过滤"), 304, 126, 56, 24);
    hide();
}

void OmissionFrame::bindModel() {
    for (int f = 0; f < 5; ++f) Bind(this, boxes_[f], bench_.model().omissionOn[size_t(f)]);
}

void OmissionFrame::pick() { OmissionPicker::Open(bench_, bench_.state()); }

void OmissionFrame::run() {
    bench_.showLogEnd();
    const pool::WorkbenchModel& model = bench_.model();
    std::array<pool::OmissionCondition, 5> families;
    for (int f = 0; f < 5; ++f) {
        families[size_t(f)].on = model.omissionOn[size_t(f)];
        families[size_t(f)].values = model.input(pool::InputBox(int(pool::InputBox::OmissionGroup) + f));
    }
    pool::RunOmissionFilter(bench_.session(), common::DigitOmissionTable::Count(bench_.state().history()), families);
}

}  // namespace workbench
