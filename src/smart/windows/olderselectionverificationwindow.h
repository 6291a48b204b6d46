#pragma once
// OlderSelectionVerification "验证": replays the older smart selection for each of the latest 100 draws while it
// loads and shows whether each draw was in its set; 返回 gives the workbench its numbers back.
// Its objectName is "F18old": tests, settings and the other windows find it by that name.
#include "smart/windows/selectionreplayhost.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QTreeWidget;

class OlderSelectionVerification : public QDialog {
    Q_OBJECT
public:
    // Replays through selection (the older smart selection window, which opens this one).
    explicit OlderSelectionVerification(smart::SelectionReplayHost* selection, QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void replayLatestDraws();        // as the window loads: the table of the latest 100 draws
    void giveNumbersBackAndClose();  // 返回 (Command1)
    void restoreWorkbench();
    smart::SelectionReplayHost* selection_;
    smart::SmartContext context_;  // the selection window's, kept should that window go first
    QPointer<QObject> selectionAlive_;  // null once the selection window is gone
    bool restored_ = false;
    QTreeWidget* table_ = nullptr;  // ListView1
    QLabel* summary_ = nullptr;     // Label1
};
