#include "common/settings.h"
#include "common/appstate.h"
#include "mainwindow/analysis/analyses.h"
#include "mainwindow/mainwindow.h"
#include "historyof.h"
#include "hookreset.h"
#include "testsupport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace analysis;

namespace {

class AnalysisWindow : public ::testing::Test {
protected:
    common::AppState app;  // outlives the window it is handed to
    void SetUp() override {
        window = std::make_unique<MainWindow>(app);
        window->quitOnClose = false;
        window->start();
        app.setHistory(testsupport::HistoryOf({"123", "985", "620", "147", "000", "999", "264", "558"}));
        common::SaveUseAllDraws(false);
        app.setRange(2, 6);
    }

    // What the window shows against what the routine returns for the same range.
    void ExpectShown(AnalysisKind kind) {
        const AnalysisTable expected = RunAnalysis(kind, app.history(), app.analysisFirst(), app.analysisLast());
        EXPECT_EQ(label1()->text(), expected.title);
        EXPECT_EQ(text1()->toPlainText(), QString(expected.text).replace("\r\n", "\n"));
        // The table is shown from its header, not scrolled to its end like the history list.
        EXPECT_EQ(text1()->textCursor().position(), 0);
    }

    QLabel* label1() const { return window->findChild<QLabel*>(QStringLiteral("Label1")); }
    QPlainTextEdit* text1() const { return window->findChild<QPlainTextEdit*>(QStringLiteral("Text1")); }

    void Click(const char* button) {
        auto* b = window->findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
    void Trigger(const QString& action) {
        QAction* a = window->findChild<QAction*>(action);
        ASSERT_NE(a, nullptr) << action.toStdString();
        a->trigger();
    }

    testsupport::ProgramDir dir;
    std::unique_ptr<MainWindow> window;
};

TEST_F(AnalysisWindow, ButtonsShowTheirTableOverTheRange) {
    const std::pair<const char*, AnalysisKind> buttons[] = {
        {"Command1", AnalysisKind::PrimeComposite}, {"Command2", AnalysisKind::Pair},
        {"Command4", AnalysisKind::SumTail},        {"Command5", AnalysisKind::Span},
        {"Command7", AnalysisKind::SingleDigit},    {"Command10", AnalysisKind::Sum},
        {"Command12", AnalysisKind::OddEven},       {"Command13", AnalysisKind::BigMiddleSmall},
        {"Command14", AnalysisKind::BigSmall},      {"Command3", AnalysisKind::StraightRoute},
        {"Command8", AnalysisKind::Straight1234},
    };
    for (const auto& [button, kind] : buttons) {
        SCOPED_TRACE(button);
        Click(button);
        ExpectShown(kind);
    }
    EXPECT_TRUE(label1()->text().startsWith(QStringLiteral("(单选1234分析 2024003-2024007)")));
}

TEST_F(AnalysisWindow, ToolbarDropDownItems) {
    const std::pair<int, AnalysisKind> items[] = {
        {4, AnalysisKind::SumTail},        {5, AnalysisKind::Span},
        {6, AnalysisKind::OddEven},        {7, AnalysisKind::PrimeComposite},
        {8, AnalysisKind::Pair},           {9, AnalysisKind::Sum},
        {10, AnalysisKind::SingleDigit},   {11, AnalysisKind::BigMiddleSmall},
        {12, AnalysisKind::BigSmall},      {13, AnalysisKind::StraightRoute},
        {14, AnalysisKind::GroupRoute},    {15, AnalysisKind::Straight1234},
        {16, AnalysisKind::Group1234},
    };
    for (const auto& [index, kind] : items) {
        SCOPED_TRACE(index);
        Trigger(QStringLiteral("Toolbar2(3).ButtonMenus(%1)").arg(index));
        ExpectShown(kind);
    }
}

TEST_F(AnalysisWindow, RouteAnd1234ButtonsRepeatTheLastChoice) {
    common::SaveUseAllDraws(true);
    Click("Command3");
    ExpectShown(AnalysisKind::StraightRoute);
    Trigger(QStringLiteral("p1z"));
    ExpectShown(AnalysisKind::GroupRoute);
    Click("Command3");
    ExpectShown(AnalysisKind::GroupRoute);
    // The 1234 choice is its own.
    Click("Command8");
    ExpectShown(AnalysisKind::Straight1234);
    Trigger(QStringLiteral("Toolbar2(3).ButtonMenus(16)"));
    Click("Command8");
    ExpectShown(AnalysisKind::Group1234);
    Trigger(QStringLiteral("p2d"));
    Click("Command8");
    ExpectShown(AnalysisKind::Straight1234);
    Trigger(QStringLiteral("Toolbar2(3).ButtonMenus(13)"));
    Click("Command3");
    ExpectShown(AnalysisKind::StraightRoute);
    EXPECT_EQ(label1()->text(), QStringLiteral("(单选012路分析 2024001-2024008)"));
}

}  // namespace
