// WorkbenchWindow's omission filter (遗漏过滤, a frame no operation shows): 设置 opens the
// omission picker, 过滤 runs the model's omission values (filterruns.h).
#include "workbench/workbenchwindow.h"

#include "common/appstate.h"
#include "dialogs/omissionpicker.h"
#include "workbench/filterruns.h"

// 遗漏过滤: 设置
void WorkbenchWindow::Command36_Click() { OmissionPicker::Open(); }

// 遗漏过滤: 过滤
void WorkbenchWindow::Command37_Click() {
    showLogEnd();
    std::array<workbench::OmissionCondition, 5> families;
    for (int f = 0; f < 5; ++f) {
        families[size_t(f)].on = model_.omissionOn[size_t(f)];
        families[size_t(f)].values = model_.input(pool::InputBox(int(pool::InputBox::OmissionGroup) + f));
    }
    workbench::RunOmissionFilter(session_, common::DigitOmissionTable::Count(common::App().history), families);
}
