#include "workbench/statsopeners.h"

#include "dialogs/workbenchapi.h"

namespace workbench {
namespace {

StatisticsWindow::WorkbenchInputs InputsOf(dialogs::WorkbenchApi& bench, bool compoundOpening) {
    StatisticsWindow::WorkbenchInputs in;
    in.numbers = bench.session().pool;
    for (int p = 0; p < 3; ++p)
        in.digitLists[p] = bench.model().input(pool::InputBox(int(pool::InputBox::PositionDigits1) + p));
    in.compoundOpening = compoundOpening;
    return in;
}

}  // namespace

void OpenStatistics(dialogs::WorkbenchApi& bench, StatisticsWindow::Opener opener) {
    StatisticsWindow::Open(bench.state(), opener, InputsOf(bench, false), bench.dialogParent());
}

void OpenCompoundStatistics(dialogs::WorkbenchApi& bench) {
    for (int p = 0; p < 3; ++p)
        if (bench.model().input(pool::InputBox(int(pool::InputBox::PositionDigits1) + p)).isEmpty()) return;
    StatisticsWindow::Open(bench.state(), StatisticsWindow::Opener::Compound, InputsOf(bench, true), bench.dialogParent());
}

}  // namespace workbench
