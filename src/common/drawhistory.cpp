#include "common/drawhistory.h"

namespace common {

const QString& DrawHistory::at(int i) const {
    static const QString empty;
    if (i < 1 || i > draws_.size()) return empty;
    return draws_.at(i - 1);
}

}  // namespace common
