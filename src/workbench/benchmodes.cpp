#include "workbench/benchmodes.h"

#include <QPushButton>

namespace workbench {

void BenchModes::filtering() const {
    for (QPushButton* b : makers) b->setEnabled(false);
    for (QPushButton* b : filters) b->setEnabled(true);
    for (QPushButton* b : results) b->setEnabled(true);
}

void BenchModes::building() const {
    for (QPushButton* b : makers) b->setEnabled(true);
    for (QPushButton* b : reopened) b->setEnabled(true);
    for (QPushButton* b : filters) b->setEnabled(false);
}

}  // namespace workbench
