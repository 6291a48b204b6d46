// Every condition editor and number-set tool is legible at its design size in the installed
// fonts: captions and default texts fit, no control covers another, on every tab.
#include "dialogs/form10.h"
#include "dialogs/form11.h"
#include "dialogs/form12.h"
#include "dialogs/form13.h"
#include "dialogs/form14.h"
#include "dialogs/form17.h"
#include "dialogs/form19.h"
#include "dialogs/form20.h"
#include "dialogs/form21.h"
#include "dialogs/form4.h"
#include "dialogs/form6.h"
#include "dialogs/form7.h"
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
        {"Form6", [] { return Form6::instance(); }, {}},
        {"Form7", [] { return Form7::instance(); }, {}},
        {"Form10", [] { return Form10::instance(); }, {}},
        {"Form12", [] { return Form12::instance(); }, {}},
        {"Form14", [] { return Form14::instance(); }, {}},
        {"Form17", [] { return Form17::instance(); }, {}},
        {"Form19", [] { return Form19::instance(); }, {}},
        {"Form20", [] { return Form20::instance(); }, {}},
        {"Form4", {}, [] { return std::make_unique<Form4>(); }},
        {"Form11", {}, [] { return std::make_unique<Form11>(); }},
        {"Form13", {}, [] { return std::make_unique<Form13>(); }},
        {"Form21", {}, [] { return std::make_unique<Form21>(); }},
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
