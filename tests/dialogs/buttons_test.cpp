// Every visible button of the dialogs' windows reaches a handler when pressed.
#include "buttonwalk.h"
#include "common/appstate.h"
#include "dialogs/betfolderchooser.h"
#include "dialogs/formulaeditor.h"
#include "dialogs/numberpreviewwindow.h"
#include "dialogs/onedigiteditor.h"
#include "dialogs/optioneditor.h"
#include "dialogs/patterneditor.h"
#include "dialogs/positionexclusioneditor.h"
#include "dialogs/sumeditor.h"
#include "dialogs/omissionpicker.h"
#include "dialogs/pairpicker.h"
#include "dialogs/positiondigitpicker.h"
#include "dialogs/prizecheckwindow.h"
#include "dialogs/setoperationswindow.h"
#include "dialogs/textcollectionwindow.h"
#include "fakeworkbench.h"
#include "platform/ui/messagebox.h"
#include "hookreset.h"
#include "testsupport.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <functional>
#include <memory>
#include <gtest/gtest.h>

namespace {

// The walk itself: an unconnected button is named, hidden ones and listed choices are not, and a
// press that reaches its handler through a button group or a tool button's action counts.
TEST(ButtonWalk, NamesOnlyTheButtonsThatReachNothing) {
    QWidget window;
    auto* bound = new QPushButton(&window);
    bound->setObjectName(QStringLiteral("Bound"));
    QObject::connect(bound, &QPushButton::clicked, &window, [] {});
    (new QPushButton(&window))->setObjectName(QStringLiteral("Loose"));
    auto* hidden = new QPushButton(&window);
    hidden->setObjectName(QStringLiteral("Hidden"));
    hidden->hide();
    auto* choice = new QCheckBox(&window);
    choice->setObjectName(QStringLiteral("Choice(3)"));
    auto* grouped = new QRadioButton(&window);
    grouped->setObjectName(QStringLiteral("Grouped"));
    auto* group = new QButtonGroup(&window);
    group->addButton(grouped);
    QObject::connect(group, &QButtonGroup::idClicked, &window, [](int) {});
    auto* tool = new QToolButton(&window);
    tool->setObjectName(QStringLiteral("Tool"));
    auto* action = new QAction(&window);
    tool->setDefaultAction(action);
    EXPECT_EQ(testsupport::UnboundButtons(&window), (QStringList{"Choice(3)", "Loose", "Tool"}));
    QObject::connect(action, &QAction::triggered, &window, [] {});
    EXPECT_EQ(testsupport::UnboundButtons(&window, {{"Choice(*)"}, {}}), QStringList{"Loose"});
    EXPECT_EQ(testsupport::WalkedButtonCount(&window, {{"Choice(*)"}, {"Loose"}}), 3);
}

TEST(DialogButtons, EveryButtonReachesAHandler) {
    testsupport::ProgramDir program;
    common::AppState app;
    FakeWorkbench bench(app);
    ui::MessageRecorder messages;
    app.setHistory(common::DrawHistory(QStringList{"2025001 456", "2025002 123"}));
    PrizeCheckWindow folderTarget(bench, app);
    testsupport::ExpectEveryButtonBound({
        {"NumberPreviewWindow", [&] { return std::make_unique<NumberPreviewWindow>(bench, app); }, {}},
        {"PrizeCheckWindow", [&] { return std::make_unique<PrizeCheckWindow>(bench, app); }, {}},
        {"BetFolderChooser", [&] { return std::make_unique<BetFolderChooser>(&folderTarget); }, {}},
        {"SetOperationsWindow", [&] { return std::make_unique<SetOperationsWindow>(bench); }, {}},
        // 保留重复号码 is read when the text is collected.
        {"TextCollectionWindow", [&] { return std::make_unique<TextCollectionWindow>(bench); }, {{"Check1"}, {}}},
        {"FormulaEditor", [&] { return std::make_unique<FormulaEditor>(bench); }, {}},
        {"OmissionPicker", [&] { return std::make_unique<OmissionPicker>(bench, app); }, {}},
        // The ticks are read when the choice is confirmed.
        {"PairPicker", [&] { return std::make_unique<PairPicker>(bench); }, {{"Check1(*)"}, {}}},
        {"PositionDigitPicker", [&] { return std::make_unique<PositionDigitPicker>(bench); },
         {{"Check1(*)", "Check2(*)", "Check3(*)"}, {}}},
        // The five condition editors.
        {"OneDigitEditor", [&] { return std::make_unique<OneDigitEditor>(bench); }, {}},
        {"PatternEditor", [&] { return std::make_unique<PatternEditor>(bench); }, {}},
        {"OptionEditor", [&] { return std::make_unique<OptionEditor>(bench); }, {}},
        {"SumEditor", [&] { return std::make_unique<SumEditor>(bench); }, {}},
        // The ticked characters are read when the patterns are generated.
        {"PositionExclusionEditor", [&] { return std::make_unique<PositionExclusionEditor>(bench); },
         {{"Check1(*)", "Check2(*)", "Check3(*)"}, {}}},
    });
}

}  // namespace
