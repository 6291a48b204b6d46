#pragma once
// One row of the formula and compound statistics tables: a category and its OmissionStats over
// the range, shown in the columns 类别 开出次数 开出概率 平均遗漏 最大遗漏 上期遗漏 本期遗漏 出号几率.
#include "common/omissionstats.h"

#include <QString>
#include <QStringList>

namespace statistics {

struct OmissionRow {
    static constexpr int kColumns = 8;

    QString category;             // 类别
    common::OmissionStats stats;  // counted over drawCount draws
    int drawCount = 0;            // N

    // Column 0 is the category; 1..7 the measures as the tables show them.
    QString cell(int column) const;
    QStringList cells() const;
};

// The seven measure titles after "类别".
QStringList OmissionMeasureTitles();

}  // namespace statistics
