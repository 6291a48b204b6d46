#pragma once
// Hit-and-omission counts of one category over a run of draws, oldest first, and the measures
// derived from them. Shared by the main window's analyses, the statistics window and the smart
// system's scheme calculator (which shows the average gap with two decimals).
#include <QString>

namespace common {

struct OmissionStats {
    int hitCount = 0;    // 开出次数
    int maxGap = 0;      // 最大遗漏: longest run without a hit that ended in a hit
    int prevGap = 0;     // 上期遗漏: the run that ended at the latest hit
    int currentGap = 0;  // 本期遗漏: draws since the latest hit (or since the start)

    void reset() { *this = OmissionStats(); }

    // Counting of one draw, in two steps so that a set of categories can be updated together:
    // first hit() on each category the draw hits (a digit counted twice in one draw passes
    // times = 2; the gaps are closed once), then endDraw() on every category.
    void hit(int times = 1) {
        hitCount += times;
        prevGap = currentGap;
        if (currentGap > maxGap)
            maxGap = currentGap;
    }
    void endDraw(bool wasHit) { currentGap = wasHit ? 0 : currentGap + 1; }
    // Both steps for a category on its own.
    void record(bool wasHit) {
        if (wasHit)
            hit();
        endDraw(wasHit);
    }

    // Measures over n draws (or over the total a block divides by). Zero where they are undefined:
    // n <= 0 for the rate, no hit for the average gap and the due ratio.
    double hitRate(int n) const;     // 开出概率: hitCount / n
    double averageGap(int n) const;  // 平均遗漏: (n - currentGap) / hitCount
    double dueRatio(int n) const;    // 出号几率: currentGap / averageGap

    QString hitRateText(int n) const;                         // "0.00%"
    QString averageGapText(int n, int decimals = 1) const;    // "0.0" (calculator: 2 decimals)
    QString dueRatioText(int n) const;                        // "0.00"
};

// A value with a fixed number of decimals, rounded to the nearest ("0.0", "0.00" patterns).
QString FormatDecimals(double value, int decimals);

}  // namespace common
