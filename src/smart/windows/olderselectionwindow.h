#pragma once
// OlderSmartSelection "智能选号V1.8": the older smart selection. Makes a group set for the next draw from
// the history alone and, on 确定, commits it to the workbench with a one-line log.
// Its objectName is "F15old": tests, settings and the other windows find it by that name.
#include "pool/numberpool.h"
#include "smart/windows/selectionreplayhost.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QSlider;

class OlderSmartSelection : public QDialog, public smart::SelectionReplayHost {
    Q_OBJECT
public:
    // context: the run's state and the workbench the window works on.
    explicit OlderSmartSelection(smart::SmartContext context, QWidget* parent = nullptr);

    // The set for the draw after base into NumberPool (uncommitted), from the window's settings;
    // the scheme becomes the program's and is saved.
    void makeSelection(int base);
    pool::NumberPool& numberPool() override;
    smart::OlderSelectionSettings selectionSettings() const override { return settings_; }
    QObject* hostObject() override { return this; }
    const smart::SmartContext& context() const override { return context_; }

private:
    // Handlers, each named by what it does; the comment names the control.
    void loadSettings();       // as the window loads: placement and the settings
    void saveOpenWithBench();  // Check1
    void commitSelection();    // 确定 (Command2)
    void closeWindow();        // 取消 (Command1)
    void openVerification();   // 验证… (Command3)
    void showGuide();          // Image1, click: the guide in a message

    void buildControls();
    smart::SmartContext context_;
    pool::NumberPool ownPool_;
    smart::OlderSelectionSettings settings_;  // the controls' values, written back as they change

    // Controls by what they hold; their objectNames are the ones in brackets.
    QPlainTextEdit* guide_ = nullptr;       // Text1
    QCheckBox* openWithBench_ = nullptr;    // Check1
    QComboBox* baseType_ = nullptr;         // Combo2 生成号码类型
    QComboBox* sumCount_ = nullptr;         // Combo1 过滤和值个数
    QSlider* scheme_ = nullptr;             // Slider1 杀码方案
};
