// Every condition editor and number-set tool is legible at its design size in the installed
// fonts: captions and default texts fit, no control covers another, on every tab.
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
    FakeWorkbench bench;
    testsupport::ProgramDir dir;
    // The editors that live for the whole run are checked as their instance; the others as a
    // window of their own.
    const struct {
        const char* name;
        std::function<QWidget*()> lasting;
        std::function<std::unique_ptr<QWidget>()> own;
    } windows[] = {
        {"Form6", [] { return PatternEditor::instance(); }, {}},
        {"Form7", [] { return PositionDigitPicker::instance(); }, {}},
        {"Form10", [] { return SumEditor::instance(); }, {}},
        {"Form12", [] { return PairPicker::instance(); }, {}},
        {"Form14", [] { return OptionEditor::instance(); }, {}},
        {"Form17", [] { return SetOperationsWindow::instance(); }, {}},
        {"Form19", [] { return OneDigitEditor::instance(); }, {}},
        {"Form20", [] { return TextCollectionWindow::instance(); }, {}},
        {"Form4", {}, [] { return std::make_unique<PrizeCheckWindow>(common::App()); }},
        {"Form11", {}, [] { return std::make_unique<PositionExclusionEditor>(); }},
        {"Form13", {}, [] { return std::make_unique<OmissionPicker>(common::App()); }},
        {"Form21", {}, [] { return std::make_unique<NumberPreviewWindow>(common::App()); }},
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
