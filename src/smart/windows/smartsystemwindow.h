#pragma once
// SmartSystemWindow "智能系统Vexon-7": the smart kill-digit window. It loads the scheme list into the
// calculator of its context, backtests it for the newest draw and shows the kill digits of the four
// schemes; the workbench's numbers and log come out of a run as they went in. It also opens
// the history verification and the older smart selection and switches the lottery.
// Its objectName is "Form15": tests, settings and the other windows find it by that name.
#include "pool/numberpool.h"
#include "smart/windows/schemereplayhost.h"
#include "smart/windows/smartcontext.h"
#include "smart/smartmodel.h"

#include <QDialog>
#include <QPointer>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace platform {
class Downloader;
}
namespace smart {
class DrawSnapshot;
class SchemeCalculator;
}
class HistoryVerificationWindow;

class SmartSystemWindow : public QDialog, public smart::SchemeReplayHost {
    Q_OBJECT
public:
    // context: the run's state and the workbench the window works on.
    explicit SmartSystemWindow(smart::SmartContext context, QWidget* parent = nullptr);
    ~SmartSystemWindow() override;

    // Scheme 0..3 for the draw after base: NumberPool becomes the cut group set, uncommitted;
    // returns the kill digits and writes the removed numbers to the workbench's log. Needs 500
    // draws up to the base. The scheme becomes the program's and Slider1 shows it; saving it
    // is the run's, once.
    QString computeScheme(int base, int scheme);
    QObject* hostObject() override { return this; }
    smart::SmartModel& model() override { return model_; }
    const smart::SmartContext& context() const override { return context_; }

    // NumberPool as the computations leave it (the workbench's, or the window's own without one).
    const pool::NumberPool& numberPool();
    // Label15 says "test": the test scheme lists are loaded.
    bool testMark() const;
    // The address of the scheme list for the current lottery and test mark ("" without a server).
    QString schemeListUrl() const override;
    // The verification window while it is loaded.
    HistoryVerificationWindow* verificationWindow() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Handlers, each named by what it does; the comment names the control.
    void loadSettings();             // as the window loads: placement, the scheme setting, the options
    void showLottery();              // Option1 / Option2 checked as the state's lottery is
    void startSmartRun();            // 确定 (Command2)
    void cancelAndHide();            // 取消 (Command1)
    void openHistoryVerification();  // 历史成绩验证 (Command3)
    void openOlderSelection();       // 打开旧版智能选号 (Command5)
    void saveOpenWithBench();        // Check1
    void switchToFc3d();             // 福彩3D (Option1)
    void switchToP3();               // 体彩排列三 (Option2)
    void toggleChoosingTip();        // Image1, click: shows or hides Label12
    void copySchemes();              // Image1, double click: the scheme records to the clipboard
    void copyKillDigits();           // Label14, double click: its text to the clipboard
    void askTestCode();              // Label15, click: the test scheme lists' code

    void buildControls();
    void buildOptions();
    void buildResultRow();
    void buildNotes();
    void setRunning(bool running);
    // Backtests the loaded scheme records on the run's draws up to base (the model's kill
    // digits). False, with the reason shown, when the calculator could not load those draws.
    bool backtestSchemes(const smart::DrawSnapshot& draws, int base);
    // computeScheme over the run's draws.
    QString computeScheme(const common::DrawHistory& history, int base, int scheme);
    // The controls from the model, and each player's change back into it.
    void showModel();
    void bindModel();
    // 确定's run, from its question to its last message; false when it ended early.
    bool smartRun();
    // Asks a running 确定 to end: the download is abandoned, the calculator stops.
    void stopRun();

    smart::SmartContext context_;
    QPointer<HistoryVerificationWindow> verificationWindow_;
    smart::SmartModel model_;
    bool calculating_ = false;
    bool running_ = false;        // 确定's run owns the window
    bool stopRequested_ = false;  // closed or cancelled while it ran
    bool closePending_ = false;   // the window unloads once the run has unwound
    platform::Downloader* downloader_ = nullptr;

    // Controls by what they hold; their objectNames are the ones in brackets.
    QComboBox* killCount_ = nullptr;    // Combo3 设置杀胆个数
    QComboBox* baseType_ = nullptr;     // Combo2 生成号码类型
    QComboBox* sumCount_ = nullptr;     // Combo1 过滤和值个数
    QSlider* scheme_ = nullptr;         // Slider1 设置杀胆方案
    QRadioButton* fc3d_ = nullptr;      // Option1
    QRadioButton* p3_ = nullptr;        // Option2
    QCheckBox* openWithBench_ = nullptr;  // Check1
    QLabel* result_ = nullptr;          // Label14, the kill digits of the last run
    QLabel* busy_ = nullptr;            // Label9
    QLabel* testMark_ = nullptr;        // Label15
    QLabel* choosingTip_ = nullptr;     // Label12
    QPushButton* ok_ = nullptr;         // Command2 确定
    QPushButton* cancel_ = nullptr;     // Command1 取消
    QPushButton* verify_ = nullptr;     // Command3 历史成绩验证
};

// The workbench's 智能选号: owns the smart-system window between openings. The window stays
// loaded (hidden) after 取消 and is loaded afresh after its close box unloaded it.
class SmartSystemOpener {
public:
    explicit SmartSystemOpener(smart::SmartContext context);
    ~SmartSystemOpener();
    SmartSystemOpener(const SmartSystemOpener&) = delete;
    SmartSystemOpener& operator=(const SmartSystemOpener&) = delete;

    // Loads the window when needed and shows it modally.
    void open();
    // The window while it is loaded, else null.
    SmartSystemWindow* window() const { return window_; }

private:
    smart::SmartContext context_;
    QPointer<SmartSystemWindow> window_;
};
