#pragma once
// WorkbenchWindow: the filter workbench. Holds the model (pool::WorkbenchModel) and puts together
// its frames and tabs, each a class that builds its controls and runs on the model: base sets
// (basesetframes.h), history queries (historyqueryframe.h), batch families (familyframe.h), results
// (resultsframe.h), the single-filter tabs (commonfilterstab.h, fuzzytab.h, recenttab.h,
// formulatab.h), the bottom row (bottomrow.h) and the hidden omission frame (omissionframe.h).
// Dialogs reach it through dialogs::WorkbenchApi.
// Its objectName is "Form2": tests, settings and the other windows find it by that name.
#include "dialogs/workbenchapi.h"
#include "common/drawhistory.h"
#include "pool/numberpool.h"
#include "pool/workbenchmodel.h"
#include "workbench/benchlayout.h"
#include "workbench/benchmodes.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace common {
class AppState;
}  // namespace common

class QPushButton;
namespace workbench {
class BaseSetFrame;
class BottomRow;
class ConditionTabs;
class FamilyFrame;
class HistoryQueryFrame;
class InputBoxes;
class OmissionFrame;
class PositionalFrame;
class ResultsFrame;
class WorkbenchLinks;
}

class WorkbenchWindow : public QWidget, public dialogs::WorkbenchApi {
    Q_OBJECT
public:
    // state: the run's state, whose history the workbench filters against. links: what it tells
    // when it closes and how it opens the smart system (none: it shows mainWindow itself on
    // closing and opens no smart system).
    explicit WorkbenchWindow(common::AppState& state, QWidget* mainWindow = nullptr,
                             workbench::WorkbenchLinks* links = nullptr);
    ~WorkbenchWindow() override;

    // WorkbenchApi
    pool::WorkbenchModel& model() override { return model_; }
    const common::AppState& state() const override;
    QWidget* dialogParent() override { return this; }
    bool hasBaseSet() const override;
    void setInput(pool::InputBox box, const QString& text) override;
    // 排列三 (Image1) or 福彩3D (Image2): switches, refreshes and tells the player.
    void switchLottery(bool toP3) override;
    void setLogVisible(bool visible) override;
    void showLogEnd() override;
    // The dialogs' names for what the buttons do; the handlers stay the controls' binding.
    void saveCollection() override;
    void redo() override;
    void undo() override;
    void refillFormulaList() override;
    void runBasicBatch() override;
    void runAdvancedBatch() override;

    // The main window shown again when the workbench closes.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    // False when the last 【做大底】 could not write its file (the error was shown).
    bool collectionSaved() const override;
    // Path of the last collection written.
    QString lastCollectionPath() const;

    // The first opening's smart-system gate, as 智能系统 (Command69) runs it: from 600 draws on
    // the smart system opens over the workbench, else a message says when it will. The opener
    // runs it once the window is made and kept, never the constructor: the smart system works
    // on the workbench it reaches through the window's owner.
    void offerSmartSystem();
    // Shows the state's lottery and its newest draws, as each activation of the window does
    // (another window may have switched the lottery meanwhile).
    void refreshFromState();
    void enterFilteringMode() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void startEmpty();      // as the window is made: no pool, log or conditions left
    void placeAndFill();    // as the window loads: placement, the serial lists, the tabs
    void placeControls();   // as the window resizes: the frames in their places
    void backToBuilding();  // 重新选号 (Command58): back to building mode
    void buildControls();
    void wireModel();

    workbench::BenchModes modes_;  // the buttons each mode switches
    workbench::ConditionTabs* tabs_ = nullptr;  // SSTab1
    workbench::InputBoxes* inputs_ = nullptr;  // the controls showing the model's inputs
    workbench::BenchLayout layout_;            // what placeControls places
    workbench::BaseSetFrame* baseFrame_ = nullptr;
    workbench::PositionalFrame* positionalFrame_ = nullptr;
    workbench::HistoryQueryFrame* historyFrame_ = nullptr;
    workbench::ResultsFrame* results_ = nullptr;
    workbench::OmissionFrame* omissionFrame_ = nullptr;  // 遗漏过滤
    workbench::BottomRow* bottomRow_ = nullptr;
    workbench::FamilyFrame* basicFrame_ = nullptr;     // 基本条件过滤
    workbench::FamilyFrame* advancedFrame_ = nullptr;  // 高级条件过滤

    common::AppState& state_;
    pool::WorkbenchModel model_;
    pool::PoolSession& session_ = model_.session;
    QPointer<QWidget> mainWindow_;
    workbench::WorkbenchLinks* links_ = nullptr;
    bool initialized_ = false;
};
