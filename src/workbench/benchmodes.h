#pragma once
// The workbench's two modes: building (a base set is made) and filtering (the set is narrowed).
// Each mode switches its own buttons; the window notes them as its parts are made.
#include <QList>

class QPushButton;

namespace workbench {

struct BenchModes {
    QList<QPushButton*> makers;   // the set makers: off in filtering mode, on in building mode
    QList<QPushButton*> reopened; // on again in building mode, left on in filtering mode (集合运算)
    QList<QPushButton*> filters;  // on in filtering mode only
    QList<QPushButton*> results;  // on from the first filtering mode on

    void filtering() const;
    void building() const;
};

}  // namespace workbench
