#include "smart/calculatorcaches.h"

#include <algorithm>

namespace smart {

void DigitCounts::prepare(const QStringList& lines, const QStringList& draws, bool inBacktest) {
    if (inBacktest && checked_ && lines.constData() == checkedData_) return;
    auto isPrefix = [&] {
        if (lines.size() > source_.size()) return false;
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines.at(i).constData() != source_.at(i).constData() && lines.at(i) != source_.at(i)) return false;
        return true;
    };
    if (source_.constData() != draws.constData() || counts_.size() != size_t(source_.size()) + 1 || !isPrefix()) {
        source_ = draws;
        if (!isPrefix()) source_ = QStringList(lines.cbegin(), lines.cend());
        countLines();
    }
    checkedData_ = lines.constData();
    checked_ = true;
}

void DigitCounts::countLines() {
    ++generation_;
    const qsizetype n = source_.size();
    counts_.resize(size_t(n) + 1);
    counts_[0].fill(0);
    for (qsizetype i = 0; i < n; ++i) {
        const QString& line = source_.at(i);
        std::array<int, 10> next = counts_[size_t(i)];
        bool seen[10] = {};
        for (qsizetype k = std::max<qsizetype>(0, line.size() - 3); k < line.size(); ++k) {
            const char16_t c = line.at(k).unicode();
            if (c >= u'0' && c <= u'9' && !seen[c - u'0']) {
                seen[c - u'0'] = true;
                ++next[size_t(c - u'0')];
            }
        }
        counts_[size_t(i) + 1] = next;
    }
}

void ConditionResults::select(const QString& condition, bool pure) {
    if (!keeping_ || !pure) {
        results_ = nullptr;
        rankings_ = nullptr;
        return;
    }
    results_ = &allResults_[condition];
    rankings_ = &allRankings_[condition];
    // A long program's worth of series and rankings stays small; a table beyond this starts over.
    if (results_->size() > (1u << 20)) results_->clear();
    if (rankings_->size() > (1u << 16)) rankings_->clear();
}

}  // namespace smart
