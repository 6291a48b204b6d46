#pragma once
// The workbench window's placement on resize: frames grow with the window, corner buttons and
// the rows beside them follow their frames, the result list and log fill the result frame, the
// bottom row sits under it all. The window notes its parts here as it makes them.
#include <QList>
#include <QSize>

#include <utility>

class QWidget;

namespace workbench {

class BottomRow;
class CommonFiltersTab;
class ResultsFrame;

class BenchLayout {
public:
    struct Parts {
        QWidget* base = nullptr;        // Frame1
        QWidget* history = nullptr;     // Frame2
        QWidget* positional = nullptr;  // Frame12
        QWidget* basic = nullptr;       // Frame4
        QWidget* advanced = nullptr;    // Frame7
        QWidget* tabs = nullptr;        // SSTab1
        CommonFiltersTab* commonTab = nullptr;
        ResultsFrame* results = nullptr;  // Frame8
        BottomRow* bottomRow = nullptr;
    };
    Parts parts;
    // A button that sits in the bottom right corner of its frame.
    void addCorner(QWidget* button, QWidget* frame) { corners_ << std::pair<QWidget*, QWidget*>(button, frame); }
    // A row continuing leftwards from its first widget (a corner button).
    void addRow(const QList<QWidget*>& row) { rows_ << row; }
    // The size the next resize is measured from.
    void startFrom(QSize size) { previous_ = size; }
    // Grows the parts by the window's change of size since the last placement.
    void place(QSize window);

private:
    QList<std::pair<QWidget*, QWidget*>> corners_;
    QList<QList<QWidget*>> rows_;
    QSize previous_;
};

}  // namespace workbench
