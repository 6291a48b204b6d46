#pragma once
// The base sets (大底) the workbench starts from, and the two conversions between straight
// and group sets. Plain routines: the window only reads its controls and calls these.
#include "pool/numberpool.h"
#include "pool/workbenchmodel.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace workbench {

enum class BaseKind {
    AllCompound,     // 全部号码, 复式: 000..999
    AllSingle,       // 全部号码 without 复式: three different digits
    AllGroup,        // 全部组选
    GroupThree,      // 组三
    GroupSixAll,     // 组六 全部
    GroupSixRun,     // 组六 顺子
    GroupSixHalfRun, // 组六 半顺
    GroupSixMixed,   // 组六 杂六
};

struct BaseSet {
    pool::NumberPool numbers;  // in the order written into the pool
    QString logLine;           // "你选的是…共n注" (without line break)
    QString description;       // SetDescription
};

BaseSet MakeBaseSet(BaseKind kind);
// The kind of base set 第一步's choice in the model stands for.
BaseKind BaseKindOf(const pool::BaseSetChoice& choice);

// Group-six subsets by adjacent digit pairs (0 and 9 adjacent): two pairs, one pair, none.
const QStringList& RunTable();
const QStringList& HalfRunTable();
const QStringList& MixedSixTable();

// 定位组号: every hundreds × tens × units digit in list order (units fastest); without
// allowRepeats only numbers whose three digits differ. A digit listed twice gives repeats.
pool::NumberPool PositionalSet(const QList<int>& hundreds, const QList<int>& tens, const QList<int>& units,
                               bool allowRepeats);

// 组选=》单选: the six orders of every entry, first occurrence of each number kept.
pool::NumberPool ExpandToStraight(const pool::NumberPool& pool);
// 单选=》组选: keeps the first entry of every digit combination (order kept, compacted).
void ReduceToGroup(pool::NumberPool& pool);

}  // namespace workbench
