#pragma once
// The smart system's state as plain objects: the kill-digit settings the player chose, the
// kill digits of the last computation and the number pool the
// computations cut. The smart-system window fills its controls from a SmartModel and writes
// them back; the history verification reads the same model, never the window's controls.
#include "common/drawhistory.h"
#include "pool/numberpool.h"
#include "smart/killdigits.h"

#include <QList>
#include <QString>

#include <functional>

namespace smart {

// The options of the smart-system window (设置杀胆个数, 生成号码类型, 过滤和值个数, 设置杀胆方案).
struct SmartSettings {
    int scheme = 0;                                // 0..3 (方案1..方案4)
    int baseType = 0;                              // 0 全部组选, 1 组选六, 2 组选三
    int sumCount = 0;                              // sums to exclude, 0..3
    int killCount = 1;                             // 1..3 ("1个".."3个")
    // The settings of one scheme's computation.
    KillDigitSettings forScheme(int s) const { return {s, baseType, sumCount, killCount}; }
};

class SmartModel {
public:
    // scheme: the program's scheme at the start (kept as it is when out of 0..3).
    explicit SmartModel(int scheme) { settings.scheme = scheme; }

    SmartSettings settings;
    QList<int> summary;           // the kill digits of the last computation, in order
    bool summaryValid = true;     // false after the calculator refused its draws

    // Told when a computation makes a scheme the program's (the window shows it, the program
    // keeps it); saving it is the caller's, once per run.
    std::function<void(int scheme)> schemeChanged;
    // The workbench's number pool, null without a workbench.
    std::function<pool::NumberPool*()> workbenchPool;
    // The number pool the computations cut: the workbench's, or the model's own without one.
    pool::NumberPool& numberPool() {
        pool::NumberPool* outside = workbenchPool ? workbenchPool() : nullptr;
        return outside ? *outside : ownPool_;
    }

    // Scheme 0..3 for the draw after base: the pool becomes the cut group set and the scheme
    // the program's; returns the kill digits (empty for a base that is not usable). Removed
    // numbers go to log.
    QString computeScheme(const common::DrawHistory& history, int base, int scheme, QString& log);
    void setScheme(int scheme);

private:
    pool::NumberPool ownPool_;
};

}  // namespace smart
