// Every visible button of the smart windows reaches a handler when pressed, or is listed as one
// that does nothing by design.
#include "programsmartcontext.h"
#include "common/appstate.h"
#include "buttonwalk.h"
#include "calcfixture.h"
#include "httpserver.h"
#include "smart/windows/calculatorhost.h"
#include "smart/windows/historyverificationwindow.h"
#include "smart/windows/olderselectionwindow.h"
#include "smart/windows/olderselectionverificationwindow.h"
#include "smart/windows/schemecalculatorwindow.h"
#include "smart/windows/smartsystemwindow.h"
#include "testsupport.h"
#include "fakeworkbench.h"
#include "fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

TEST(SmartWindowButtons, EveryButtonReachesAHandler) {
    common::AppState app;  // first: outlives everything handed it
    testsupport::ProgramDir dir;
    const QStringList numbers = calcfixture::MixedHistory(600);
    dir.write(QStringLiteral("HAO.TXT"), calcfixture::DrawFileBytes(numbers));
    smartwin::UseHistory(app, numbers);
    testsupport::HttpServer server;
    testsupport::EnvVar home{"SIFMORA_HOME_URL", server.baseUrl()};
    FakeWorkbench bench{app};
    smart::SmartCalculator calc;
    SmartSystemWindow smartWindow(testsupport::ProgramSmartContext(app, &bench, &calc));
    OlderSmartSelection olderSelection(testsupport::ProgramSmartContext(app, &bench));
    testsupport::ExpectEveryButtonBound({
        {"SmartSystemWindow", [&] { return std::make_unique<SmartSystemWindow>(testsupport::ProgramSmartContext(app, &bench, &calc)); }, {}},
        // 折线图 (Command8) is there for its caption only: pressing it does nothing.
        {"SchemeCalculatorWindow", [] { return std::make_unique<smart::SchemeCalculatorWindow>(); }, {{}, {"Command8"}}},
        {"HistoryVerificationWindow", [&] { return std::make_unique<HistoryVerificationWindow>(&smartWindow); }, {}},
        {"OlderSmartSelection", [&] { return std::make_unique<OlderSmartSelection>(testsupport::ProgramSmartContext(app, &bench)); }, {}},
        {"OlderSelectionVerification", [&] { return std::make_unique<OlderSelectionVerification>(&olderSelection); }, {}},
    });
    // The do-nothing button is the only one the calculator leaves out.
    smart::SchemeCalculatorWindow calculator;
    EXPECT_EQ(testsupport::UnboundButtons(&calculator), QStringList{QStringLiteral("Command8")});
}

}  // namespace
