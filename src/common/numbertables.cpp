#include "common/numbertables.h"

namespace common {
namespace {

struct Tables {
    QStringList group, triple, groupThree, groupSix, all;
    Tables() {
        for (int a = 0; a <= 9; ++a)
            for (int b = a; b <= 9; ++b)
                for (int c = b; c <= 9; ++c) {
                    const QString n = QString::number(a) + QString::number(b) + QString::number(c);
                    group << n;
                    if (a == b && b == c) triple << n;
                    else if (a == b || b == c) groupThree << n;
                    else groupSix << n;
                }
        for (int i = 0; i < 1000; ++i) all << QString::number(i).rightJustified(3, QLatin1Char('0'));
    }
};

const Tables& T() {
    static const Tables t;
    return t;
}

}  // namespace

const QStringList& GroupTable() { return T().group; }
const QStringList& TripleTable() { return T().triple; }
const QStringList& GroupThreeTable() { return T().groupThree; }
const QStringList& GroupSixTable() { return T().groupSix; }
const QStringList& AllNumbers() { return T().all; }

}  // namespace common
