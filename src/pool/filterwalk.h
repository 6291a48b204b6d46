#pragma once
// The walk every filter routine shares: visit each entry once, in pool order, and blank,
// log and count the ones that match. Only three-digit entries are offered to the test, so a
// blank (already removed) or a stray text is never matched and never converted.
#include "common/drawattributes.h"
#include "common/drawtext.h"
#include "pool/numberpool.h"

namespace pool::detail {

inline const QString kRemovedMark = QStringLiteral("| ");

// match(const QString& number, const common::Digits& digits) -> bool.
// Each removed number is appended to log followed by separator.
template <class Match>
int BlankMatching(NumberPool& pool, QString& log, Match&& match, const QString& separator = kRemovedMark) {
    int count = 0;
    const qsizetype n = pool.size();  // taken once, before the walk
    for (qsizetype i = 0; i < n; ++i) {
        const QString& number = pool.at(i);
        if (!common::IsNumberText(number)) continue;
        if (!match(number, common::Digits::Of(number))) continue;
        log += number;
        log += separator;
        pool[i].clear();
        ++count;
    }
    return count;
}

}  // namespace pool::detail
