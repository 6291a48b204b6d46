#include "workbench/basesets.h"

#include "common/numbertables.h"

#include <algorithm>
#include <array>
#include <vector>

namespace workbench {
namespace {

bool Adjacent(int a, int b) {
    const int d = a > b ? a - b : b - a;
    return d == 1 || d == 9;
}

int AdjacentPairs(const QString& n) {
    const int a = n[0].digitValue(), b = n[1].digitValue(), c = n[2].digitValue();
    return int(Adjacent(a, b)) + int(Adjacent(b, c)) + int(Adjacent(a, c));
}

QStringList GroupSixWithPairs(int pairs) {
    QStringList out;
    for (const QString& n : common::GroupSixTable())
        if (AdjacentPairs(n) == pairs) out.append(n);
    return out;
}

QString ThreeDigits(int x, int y, int z) {
    return QString::number(x) + QString::number(y) + QString::number(z);
}

}  // namespace

const QStringList& RunTable() {
    static const QStringList t = GroupSixWithPairs(2);
    return t;
}
const QStringList& HalfRunTable() {
    static const QStringList t = GroupSixWithPairs(1);
    return t;
}
const QStringList& MixedSixTable() {
    static const QStringList t = GroupSixWithPairs(0);
    return t;
}

BaseKind BaseKindOf(const pool::BaseSetChoice& choice) {
    switch (choice.choice) {
    case pool::BaseChoice::AllNumbers: return choice.compound ? BaseKind::AllCompound : BaseKind::AllSingle;
    case pool::BaseChoice::AllGroups: return BaseKind::AllGroup;
    case pool::BaseChoice::GroupThree: return BaseKind::GroupThree;
    case pool::BaseChoice::GroupSix: break;
    }
    switch (choice.groupSixKind) {
    case 0: return BaseKind::GroupSixAll;
    case 1: return BaseKind::GroupSixRun;
    case 2: return BaseKind::GroupSixHalfRun;
    default: return BaseKind::GroupSixMixed;
    }
}

BaseSet MakeBaseSet(BaseKind kind) {
    // The counts in the log lines are fixed texts of the program.
    switch (kind) {
    case BaseKind::AllCompound:
        return {common::AllNumbers(), QStringLiteral("你选的是全部号码(复式)共1000注"), QStringLiteral("全部号码(复式)")};
    case BaseKind::AllSingle: {
        pool::NumberPool p;
        for (const QString& n : common::AllNumbers())
            if (n[0] != n[1] && n[1] != n[2] && n[2] != n[0]) p.append(n);
        return {p, QStringLiteral("你选的是全部号码(单选)共720注"), QStringLiteral("全部号码(单选)")};
    }
    case BaseKind::AllGroup:
        return {common::GroupTable(), QStringLiteral("你选的是全部组选共220注"), QStringLiteral("全部组选")};
    case BaseKind::GroupThree:
        return {common::GroupThreeTable(), QStringLiteral("你选的是组三共90注"), QStringLiteral("组三")};
    case BaseKind::GroupSixAll:
        return {common::GroupSixTable(), QStringLiteral("你选的是组六(全部)共120注"), QStringLiteral("组六(全部)")};
    case BaseKind::GroupSixRun:
        return {RunTable(), QStringLiteral("你选的是组六(顺子)共10注"), QStringLiteral("组六(顺子)")};
    case BaseKind::GroupSixHalfRun:
        return {HalfRunTable(), QStringLiteral("你选的是组六(半顺)共60注"), QStringLiteral("组六(半顺)")};
    case BaseKind::GroupSixMixed:
        break;
    }
    return {MixedSixTable(), QStringLiteral("你选的是组六(杂六)共50注"), QStringLiteral("组六(杂六)")};
}

pool::NumberPool PositionalSet(const QList<int>& hundreds, const QList<int>& tens, const QList<int>& units,
                               bool allowRepeats) {
    pool::NumberPool p;
    for (int x : hundreds)
        for (int y : tens)
            for (int z : units)
                if (allowRepeats || (x != y && x != z && y != z)) p.append(ThreeDigits(x, y, z));
    return p;
}

pool::NumberPool ExpandToStraight(const pool::NumberPool& pool) {
    std::vector<bool> seen(1001, false);
    pool::NumberPool out;
    for (const QString& e : pool) {
        if (e.size() != 3) continue;
        const QChar a = e[0], b = e[1], c = e[2];
        auto cat = [](QChar x, QChar y, QChar z) { return QString(x) + y + z; };
        const std::array<QString, 6> orders = {cat(a, b, c), cat(a, c, b), cat(b, a, c),
                                               cat(b, c, a), cat(c, a, b), cat(c, b, a)};
        for (const QString& o : orders) {
            bool ok = false;
            const int v = o.toInt(&ok);
            if (!ok || v < 0 || v > 1000 || seen[size_t(v)]) continue;
            seen[size_t(v)] = true;
            out.append(o);
        }
    }
    return out;
}

void ReduceToGroup(pool::NumberPool& pool) {
    std::vector<bool> seen(1000, false);
    for (QString& e : pool) {
        if (e.size() != 3) continue;
        QString key = e;
        std::sort(key.begin(), key.end());
        bool ok = false;
        const int v = key.toInt(&ok);
        if (!ok || v < 0 || v > 999) continue;
        if (seen[size_t(v)]) e.clear();
        else seen[size_t(v)] = true;
    }
    pool::CompactSet(pool);
}

}  // namespace workbench
