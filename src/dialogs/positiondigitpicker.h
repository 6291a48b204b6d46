#pragma once
// Positional digit picker: ten digit boxes on each of three tabs, sent as three comma lists
// into the workbench's positional lists (caption "定位选号") or its fuzzy digit boxes.
// Its objectName is "Form7": tests, settings and the other windows find it by that name.
#include "dialogs/dialogutil.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;

class PositionDigitPicker : public QDialog, public dialogs::LastingWindow<PositionDigitPicker> {
    Q_OBJECT
public:
    explicit PositionDigitPicker(dialogs::WorkbenchApi& bench);

    // The one picker of the run (instance()), created on first use (closing by the close box discards it).

    // Opener's side: tab captions, tab shown and window caption, then modal display.
    // Returns the modal result.
    static int Open(dialogs::WorkbenchApi& bench, const QStringList& tabCaptions, int tab, const QString& caption);
    // Sets the tab captions (three), the tab shown and the window caption without showing.
    void prepare(const QStringList& tabCaptions, int tab, const QString& caption);

    // Box d (0..9) of slot 0..2.
    QCheckBox* box(int slot, int digit) const;

private:
    void arrange();      // icon, size, centring and the presets' heading
    void addToFilter();  // 添加到过滤器 (Command1): the three slots into the workbench's boxes
    // Combo1..Combo3 (a preset), 全清 (Command4, Command2, Command11) and 反选 (Command5,
    // Command3, Command12) of slot 0..2.
    void applyPreset(int slot, int item);
    void clearSlot(int slot);
    void invertSlot(int slot);
    void sendSlot(int slot);
    void SendHundredsDigits() { sendSlot(0); }
    void SendTensDigits() { sendSlot(1); }
    void SendUnitsDigits() { sendSlot(2); }

    QTabWidget* tabs_ = nullptr;
    QList<QCheckBox*> boxes_[3];
    QComboBox* combos_[3] = {};
};
