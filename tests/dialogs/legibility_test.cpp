// Every condition editor and number-set tool is legible at its design size in the installed
// fonts: captions and default texts fit, no control covers another, on every tab.
#include "common/appstate.h"
#include "dialogs/sumeditor.h"
#include "dialogs/positionexclusioneditor.h"
#include "dialogs/pairpicker.h"
#include "dialogs/omissionpicker.h"
#include "dialogs/optioneditor.h"
#include "dialogs/setoperationswindow.h"
#include "dialogs/onedigiteditor.h"
#include "dialogs/textcollectionwindow.h"
#include "dialogs/numberpreviewwindow.h"
#include "dialogs/prizecheckwindow.h"
#include "dialogs/patterneditor.h"
#include "dialogs/positiondigitpicker.h"
#include "fakeworkbench.h"
#include "legibility.h"
#include "testsupport.h"

#include <QTabWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

TEST(DialogLegibility, EveryEditorAndToolAtItsDesignSize) {
    common::AppState app;
    FakeWorkbench bench(app);
    testsupport::ProgramDir dir;
    // The editors that live for the whole run are checked as their instance; the others as a
    // window of their own.
    const struct {
        const char* name;
        std::function<QWidget*()> lasting;
        std::function<std::unique_ptr<QWidget>()> own;
    } windows[] = {
        {"Form6", [&] { return PatternEditor::instance(bench); }, {}},
        {"Form7", [&] { return PositionDigitPicker::instance(bench); }, {}},
        {"Form10", [&] { return SumEditor::instance(bench); }, {}},
        {"Form12", [&] { return PairPicker::instance(bench); }, {}},
        {"Form14", [&] { return OptionEditor::instance(bench); }, {}},
        {"Form17", [&] { return SetOperationsWindow::instance(bench); }, {}},
        {"Form19", [&] { return OneDigitEditor::instance(bench); }, {}},
        {"Form20", [&] { return TextCollectionWindow::instance(bench); }, {}},
        {"Form4", {}, [&] { return std::make_unique<PrizeCheckWindow>(bench, app); }},
        {"Form11", {}, [&] { return std::make_unique<PositionExclusionEditor>(bench); }},
        {"Form13", {}, [&] { return std::make_unique<OmissionPicker>(bench, app); }},
        {"Form21", {}, [&] { return std::make_unique<NumberPreviewWindow>(bench, app); }},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.name);
        std::unique_ptr<QWidget> owned = w.own ? w.own() : nullptr;
        QWidget* window = owned ? owned.get() : w.lasting();
        // The openers show one tab at a time: every tab is checked.
        for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
            for (int i = 0; i < tabs->count(); ++i) tabs->setTabVisible(i, true);
        EXPECT_EQ(testsupport::LegibilityProblems(window), QStringList());
    }
}
