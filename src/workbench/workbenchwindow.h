#pragma once
// WorkbenchWindow: the filter workbench. Holds the model (pool::WorkbenchModel) and puts together
// its frames and tabs, each a class that builds its controls and runs on the model: base sets
// (basesetframes.h), history queries (historyqueryframe.h), batch families (familyframe.h), results
// (resultsframe.h) and the single-filter tabs (commonfilterstab.h, fuzzytab.h, recenttab.h,
// formulatab.h). Dialogs reach it through dialogs::WorkbenchApi.
// Its objectName is "Form2": tests, settings and the other windows find it by that name.
#include "dialogs/workbenchapi.h"
#include "common/drawhistory.h"
#include "pool/numberpool.h"
#include "pool/workbenchmodel.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <utility>

class QCheckBox;
class QLabel;
class QPushButton;
class QTabWidget;
namespace workbench {
class BaseSetFrame;
class CommonFiltersTab;
class DigitGroupTab;
class FamilyFrame;
class FormulaTab;
class FuzzyTab;
class HistoryQueryFrame;
class PositionalFrame;
class RecentTab;
class ResultsFrame;
}

class WorkbenchWindow : public QWidget, public dialogs::WorkbenchApi {
    Q_OBJECT
public:
    explicit WorkbenchWindow(QWidget* mainWindow = nullptr);
    ~WorkbenchWindow() override;

    // WorkbenchApi
    pool::WorkbenchModel& model() override { return model_; }
    QWidget* dialogParent() override { return this; }
    bool hasBaseSet() const override;
    void setInput(pool::InputBox box, const QString& text) override;
    // 排列三 (Image1) or 福彩3D (Image2): switches, refreshes and tells the player.
    void switchLottery(bool toP3) override;
    void setLogVisible(bool visible) override;
    void showLogEnd() override;
    // The dialogs' names for what the buttons do; the handlers stay the controls' binding.
    void saveCollection() override;
    void redo() override { Command51_Click(); }
    void undo() override { Command52_Click(); }
    void refillFormulaList() override;
    void runBasicBatch() override;
    void runAdvancedBatch() override;

    // The main window shown again when the workbench closes.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    QWidget* mainWindow() const { return mainWindow_; }
    // False when the last 【做大底】 could not write its file (the error was shown).
    bool collectionSaved() const override;
    // Path of the last collection written.
    QString lastCollectionPath() const;

    // Life cycle (workbenchwindow.cpp; Form_Resize in _layout.cpp)
    void Form_Initialize();
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void enterFilteringMode() override;

    // Handlers of the window's own buttons (_actions.cpp)
    // Conversions and the reset to building mode
    void Command30_Click();  // 组选=》单选
    void Command31_Click();  // 单选=》组选
    void Command58_Click();  // 重新选号

    // Undo and redo
    void Command52_Click();  // 撤消
    void Command51_Click();  // 恢复

    // The lottery switch
    void Image1_Click();
    void Image2_Click();

    // The omission filter
    void Command36_Click();  // 设置
    void Command37_Click();  // 过滤

    // Openers and tools
    void Command20_Click();  // 计算器
    void Command49_Click();  // <<不会使用就来看视频教程>>
    void Command69_Click();  // 智能系统

    // Statistics openers
    void Command45_Click();  // 投资计划
    void Command47_Click();  // 统计
    void Command62_Click();  // opens the formula statistics
    void Command64_Click();  // 分析

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Handler = void (WorkbenchWindow::*)();
    // _build.cpp
    void buildControls();
    void buildBottomRow();
    void buildOmissionFrame();   // 遗漏过滤
    QPushButton* button(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w = 56,
                        int h = 24, Handler handler = nullptr);
    void wireModel();
    void setFilterButtons(bool on);
    void appendLog(const QString& block) { session_.log.append(block); }

    // The controls the window's own handlers use (their objectNames are the program's).
    QList<QPushButton*> filterButtons_;  // switched by the two modes
    QCheckBox* omissionBoxes_[5] = {};   // Check5, Check8, Check7, Check6, Check82
    QLabel* images_[2] = {};             // Image1, Image2
    QTabWidget* tabs_ = nullptr;         // SSTab1
    QWidget* inputs_[pool::kInputBoxes] = {};  // the controls showing the model's inputs
    // What Form_Resize places (_layout.cpp), noted as the controls are made.
    struct Layout {
        QList<std::pair<QWidget*, QWidget*>> corners;  // a button and the frame whose corner it sits in
        QList<QList<QWidget*>> rows;    // rows continuing leftwards from a corner button
        QList<QWidget*> bottom;         // Command20, Command45, Command30, Command31, Command52, Command51
        QWidget* tutorial = nullptr;    // Command49
    } layout_;
    workbench::BaseSetFrame* baseFrame_ = nullptr;
    workbench::PositionalFrame* positionalFrame_ = nullptr;
    workbench::HistoryQueryFrame* historyFrame_ = nullptr;
    workbench::ResultsFrame* results_ = nullptr;
    workbench::FamilyFrame* basicFrame_ = nullptr;     // 基本条件过滤
    workbench::FamilyFrame* advancedFrame_ = nullptr;  // 高级条件过滤
    workbench::CommonFiltersTab* commonTab_ = nullptr;
    workbench::FuzzyTab* fuzzyTab_ = nullptr;
    workbench::RecentTab* recentTab_ = nullptr;
    workbench::DigitGroupTab* digitGroupTab_ = nullptr;
    workbench::FormulaTab* formulaTab_ = nullptr;

    pool::WorkbenchModel model_;
    pool::PoolSession& session_ = model_.session;
    QPointer<QWidget> mainWindow_;
    double prevFormHeight_ = 0;
    double prevFormWidth_ = 0;
    bool initialized_ = false;
};
