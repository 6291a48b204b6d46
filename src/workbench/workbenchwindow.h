#pragma once
// WorkbenchWindow: the filter workbench. Builds its controls (named as the program names them), keeps
// the number pool session, and runs base sets, single filters, undo and redo, collections,
// export and history queries. Dialogs reach it through dialogs::WorkbenchApi.
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

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStringListModel;
class QTabWidget;
namespace script {
class ScriptEngine;
class ScriptHost;
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
    // 排列三 (Image1) or 福彩3D (Image2): switches, refreshes, tells the main window and the player.
    void switchLottery(bool toP3) override;
    void setLogVisible(bool visible) override;
    void showLogEnd() override;
    // The dialogs' names for what the buttons do; the handlers stay the controls' binding.
    void saveCollection() override { Command11_Click(); }
    void redo() override { Command51_Click(); }
    void undo() override { Command52_Click(); }
    void refillFormulaList() override { Combo21_re(); }
    void runBasicBatch() override { Command70_Click(); }
    void runAdvancedBatch() override { Command71_Click(); }

    // The main window shown again when the workbench closes.
    void setMainWindow(QWidget* mainWindow) { mainWindow_ = mainWindow; }
    QWidget* mainWindow() const { return mainWindow_; }
    // False when the last 【做大底】 could not write its file (the error was shown).
    bool collectionSaved() const override { return collectionSaved_; }
    // Path of the last collection written.
    QString lastCollectionPath() const { return lastCollectionPath_; }

    // The window's script engine (VBScript, 10000 ms per call), kept for its whole life.
    script::ScriptEngine& ScriptControl1();

public slots:
    // Life cycle (workbenchwindow.cpp; Form_Resize in _layout.cpp)
    void Form_Initialize();
    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void enterFilteringMode() override;

    // Base sets (第一步 / 定位组号; _basesets.cpp)
    void Option1_Click();  // 全部号码
    void Option2_Click();  // 全部组选
    void Option3_Click();  // 组三
    void Option4_Click();  // 组六
    void Command1_Click();  // 选择
    void Command12_Click();  // 数据采集
    void Command21_Click();  // 选择
    void Command30_Click();  // 组选=》单选
    void Command31_Click();  // 单选=》组选
    void Command58_Click();  // 重新选号

    // Undo, redo, collection, export (_results.cpp)
    void Command52_Click();  // 撤消
    void Command51_Click();  // 恢复
    void Command11_Click();  // 【做大底】
    void Command13_Click();  // 保存

    // Single-value filters (_filters.cpp)
    void Command10_Click();  // 过滤
    void Command14_Click();  // 过滤
    void Command4_Click();  // 过滤
    void Command2_Click();  // 选胆

    // History queries (_history.cpp)
    void Command42_Click();  // 查询号码
    void Command57_Click();  // 查询期号

    // Result list (_results.cpp)
    void List1_DblClick();

    // Lottery switch (_history.cpp)
    void Image1_Click();
    void Image2_Click();

    // Batch filters, run by the condition editors through the hidden buttons (_editors.cpp)
    void Command70_Click();
    void Command71_Click();
    void Command5_Click();
    void Command7_Click();

    // Condition inputs (_inputs.cpp)
    void Option9_Click();  // 过滤两码
    void Option10_Click();  // 选取两码
    void Option11_Click();  // 自定义
    void Option12_Click();  // 热温冷
    void Option13_Click();  // 传邻孤
    void Option14_Click();  // 复隔中
    void Text2_Change();
    void Text3_Change();
    void Text4_Change();
    void Text2_DblClick();
    void Text3_DblClick();
    void Text4_DblClick();

    // Openers and tools (_tools.cpp)
    void Command9_Click();  // 设置
    void Command22_Click();
    void Command23_Click();
    void Command24_Click();
    void Command54_Click();  // 集合运算
    void Command69_Click();  // 智能系统
    void Command65_Click();  // 说明
    void Command49_Click();  // <<不会使用就来看视频教程>>
    void Command20_Click();  // 计算器

    // Formula list (_formula.cpp)
    void Combo21_re();  // refills the list from the formula folder
    void Combo21_Click();
    void Check67_Click();  // 设置条件:

    // Handlers of the editor openers (_editors.cpp), the filters (_filters.cpp), the formula
    // frame (_formula.cpp), the statistics openers (_stats.cpp) and the tools (_tools.cpp).
    void Command15_Click();
    void Command16_Click();  // 兑奖
    void Command18_Click();
    void Command19_Click();
    void Command25_Click();  // 预览
    void Command26_Click();
    void Command27_Click();
    void Command28_Click();
    void Command32_Click();
    void Command36_Click();  // 设置
    void Command37_Click();  // 过滤
    void Command39_Click();
    void Command40_Click();  // 过滤
    void Command41_Click();
    void Command43_Click();  // 过滤
    void Command44_Click();  // 过滤
    void Command45_Click();  // 投资计划
    void Command46_Click();
    void Command47_Click();  // 统计
    void Command50_Click();
    void Command53_Click();
    void Command56_Click();
    void Command59_Click();
    void Command60_Click();
    void Command61_Click();
    void Command62_Click();  // opens the formula statistics (its button reads 清空)
    void Command63_Click();  // 过滤
    void Command64_Click();  // 分析
    void Command67_Click();  // 过滤
    void Command68_Click();  // 编写公式…

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildBaseFrames();     // 第一步, 历史查询, 定位组号
    void buildFamilyFrames();   // 基本条件过滤, 高级条件过滤 and the bottom row
    void buildCommonTab(QWidget* page);
    void buildFuzzyTab(QWidget* page);
    void buildRecentTab(QWidget* page);
    void buildDigitGroupTab(QWidget* page);
    void buildFormulaTab(QWidget* page);
    void buildHiddenFrames();
    void buildResultFrame();
    void wireControls();
    using Handler = void (WorkbenchWindow::*)();
    // A push button of the window, connected to its handler when it has one.
    QPushButton* button(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w = 56,
                        int h = 24, Handler handler = nullptr);
    // An option button whose handler runs when it becomes selected.
    QRadioButton* option(QWidget* parent, const QString& name, const QString& caption, int x, int y, int w,
                         Handler handler, bool checked = false);
    void setFilterButtons(bool on);
    void appendLog(const QString& block) { session_.log.append(block); }
    void runHistoryQuery(QComboBox* box,
                         int (*query)(QString&, const common::DrawHistory&, const QString&));
    void setFuzzyCaptions(const QString& a, const QString& b, const QString& c, int blanks);
    void writeFuzzySource(int kind);
    void wireModel();
    void showFamilies();  // the family boxes from the model
    void wireFrameInputs();  // recent, fuzzy and digit-group frames (_filters.cpp)
    void showFrameInputs();  // the recent rows from the model
    void openDigitPicker(int tab);
    void openFuzzyPicker(int tab);
    void customDigitsChanged(int k);

    // The controls the handlers use, made by buildControls (their objectNames are the program's).
    QRadioButton* baseOptions_[4] = {};  // Option1..Option4
    QCheckBox* compound_ = nullptr;      // Check51
    QLabel* groupSixLabel_ = nullptr;    // Label11
    QComboBox* groupSixKind_ = nullptr;  // Combo12
    QPushButton* buildAll_ = nullptr;    // Command1
    QPushButton* collect_ = nullptr;     // Command12
    QPushButton* buildPositional_ = nullptr;  // Command21
    QPushButton* setOperations_ = nullptr;    // Command54
    QPushButton* basicRun_ = nullptr;    // Command5: its enabled state says a base set exists
    QPushButton* saveCollection_ = nullptr;  // Command11 (its Tag is the set's description)
    QPushButton* compoundStats_ = nullptr;   // Command47
    QPushButton* twoCodeRun_ = nullptr;  // Command40
    QList<QPushButton*> filterButtons_;  // switched by the two modes
    QList<QPushButton*> resultButtons_;  // Command11, Command13, Command16, Command25
    QComboBox* numberQuery_ = nullptr;   // Combo9
    QComboBox* issueQuery_ = nullptr;    // Combo11
    QComboBox* sumRange_[2] = {};        // Combo7, Combo8 (never shown)
    QComboBox* formulaParts_[4] = {};    // Combo1..Combo4 (never shown)
    QCheckBox* positionalCompound_ = nullptr;  // Check61
    QCheckBox* pickRow_[10] = {};        // 选胆, digits 1..9, 0
    QCheckBox* excludeRow_[10] = {};     // 过滤胆
    QCheckBox* spanRow_[10] = {};        // 过滤跨度
    QCheckBox* sumTailRow_[10] = {};     // 过滤合值
    QRadioButton* twoCodeFilter_ = nullptr;  // Option9
    QRadioButton* twoCodeSelect_ = nullptr;  // Option10
    QComboBox* twoCodePosition_ = nullptr;   // Combo10
    QRadioButton* fuzzyCustom_ = nullptr;    // Option11
    QRadioButton* fuzzySources_[3] = {};     // Option12..Option14
    QCheckBox* fuzzyBoxes_[3] = {};      // Check28..Check30
    QCheckBox* fuzzyCounts_[3][4] = {};  // Check31(0..3) .. Check33(0..3)
    QLineEdit* fuzzyDigits_[3] = {};     // Text2..Text4
    QPlainTextEdit* fuzzyHelp_ = nullptr;  // Text20
    QCheckBox* recentRows_[10] = {};     // in run order
    QComboBox* recentCounts_[10] = {};
    QCheckBox* recentAutoCollect_ = nullptr;  // Check68
    QCheckBox* groupBoxes_[5] = {};      // 胆码组合, in run order
    QLineEdit* groupDigits_[5] = {};
    QCheckBox* groupCounts_[5][4] = {};
    QCheckBox* groupRepeatOnce_ = nullptr;  // Check2
    QCheckBox* groupAutoCollect_ = nullptr;  // Check90
    QCheckBox* basicFamilies_[8] = {};
    QCheckBox* advancedFamilies_[8] = {};
    QCheckBox* omissionBoxes_[5] = {};   // Check5, Check8, Check7, Check6, Check82
    QComboBox* formulaList_ = nullptr;   // Combo21
    QCheckBox* formulaCondition_ = nullptr;  // Check67
    QLineEdit* formulaConditionText_ = nullptr;  // Text28
    QPlainTextEdit* formulaText_ = nullptr;  // Text29
    QPushButton* formulaEdit_ = nullptr;  // Command68
    QLabel* images_[2] = {};             // Image1, Image2
    QTabWidget* tabs_ = nullptr;         // SSTab1
    QPlainTextEdit* log_ = nullptr;      // Text5
    QListView* resultList_ = nullptr;    // List1
    QLabel* countLabel_ = nullptr;       // Label5
    QWidget* inputs_[pool::kInputBoxes] = {};  // the controls showing the model's inputs

    pool::WorkbenchModel model_;
    pool::PoolSession& session_ = model_.session;
    QPointer<QWidget> mainWindow_;
    QStringListModel* listModel_ = nullptr;
    QString customDigits_[3];
    double prevFormHeight_ = 0;
    double prevFormWidth_ = 0;
    bool collectionSaved_ = true;
    QString lastCollectionPath_;
    bool initialized_ = false;
    std::shared_ptr<script::ScriptEngine> scriptControl1_;  // shared_ptr: complete type only where made
    std::shared_ptr<script::ScriptHost> scriptBoxes_;       // the formula's MsgBox and InputBox
};
