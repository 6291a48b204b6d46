#pragma once
// The workbench's own filter runs that are more than one routine call: the recent-draw
// filter with its ten rows, the two-code filter and selection, the fuzzy filter, the
// digit-group combination filter and the omission filter. Each writes its log frame in whole
// blocks, sets the description and commits; automatic collection saves through a callback.
#include "common/drawhistory.h"
#include "pool/fuzzy.h"
#include "pool/numberpool.h"
#include "pool/omission.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>

namespace pool {

// Automatic collection ("用做大底自动容错"): saves the pool as a collection labelled with the
// sub-filter's description. False when the save failed (the saver has told the player); the
// run then runs no further sub-filter.
using CollectStep = std::function<bool(const QString& description)>;

// The pause before each automatic save (1500 ms on the calling thread, so successive saves
// fall in different seconds). A hook, when set, runs instead (tests).
void AutoCollectionPause();
void SetAutoCollectionPauseHook(std::function<void()> hook);

// ---- Recent-draw filter -------------------------------------------------------------------

constexpr int kRecentRows = 10;

// One row of the frame 近期过滤, in run order: 单选号码, 组选号码, 和值, 奇偶, 质合, 大小,
// 单选1234, 组选1234, 012路, 大中小.
struct RecentRow {
    bool ticked = false;
    QString countText;  // the count list's text as shown ("30")
};

// The pattern of a draw's number that row (3..9) removes, e.g. row 3 (奇偶) of 729 is "101".
QString RecentRowPattern(int row, const QString& number);
// The row's description ("单选过滤最近30期的号码", "过滤最近10期的奇偶", ...).
QString RecentRowDescription(int row, const QString& countText);

// Runs the ticked rows whose count fits the history (rows 0-2: count below the number of
// draws; rows 3-9: not above it), chained or, with autoCollect, each from the start set and
// saved through collect. Ends with the start set again when autoCollect, the description
// "近期开奖过滤" and a commit. straightMode is set by rows 0 and 1. Returns, per row, whether
// it ran (the window unticks those).
std::array<bool, kRecentRows> RunRecentFilter(PoolSession& session, const common::DrawHistory& history,
                                              const std::array<RecentRow, kRecentRows>& rows, bool autoCollect,
                                              bool& straightMode, const CollectStep& collect);

// ---- Two-code filter ----------------------------------------------------------------------

// codes: the code list as typed; select: 选取两码 (keep the numbers holding a code) instead of
// 过滤两码; position: 0 全部, 1 百十, 2 十个, 3 百个, positionText its list text. Without a valid
// code nothing is logged and the description stays; the pool is committed in every case.
void RunTwoCode(PoolSession& session, const QString& codes, bool select, int position,
                const QString& positionText);

// ---- Fuzzy filter -------------------------------------------------------------------------

// Runs when at least one rule is switched on (returns false, and does nothing, otherwise).
bool RunFuzzy(PoolSession& session, const std::array<FuzzyRule, 3>& rules);

// ---- Digit-group combination filter --------------------------------------------------------

constexpr int kDigitGroups = 5;

struct DigitGroup {
    bool on = false;
    QString digits;                 // the digit box as typed
    std::array<bool, 4> counts{};   // counts[j]: j digits from the group allowed
};

// The ticked counts from the highest to the lowest ("210"; none: "").
QString DigitGroupCountsText(const std::array<bool, 4>& counts);
// "组合过滤:" + digit box + "出" + counts text.
QString DigitGroupDescription(const DigitGroup& group);

// Applies the switched-on groups in order (chained, or each on the press-time set with
// autoCollect, saved through collect), then writes the one log block of the run and commits.
void RunDigitGroups(PoolSession& session, const std::array<DigitGroup, kDigitGroups>& groups,
                    bool repeatCountsOnce, bool autoCollect, const CollectStep& collect);

// ---- Omission filter ----------------------------------------------------------------------

struct OmissionCondition {
    bool on = false;
    QString values;  // the value box as typed
};

// Families in the order 组选, 百位, 十位, 个位, 单选. Each ticked family with at least one value
// removes the numbers whose omission (table) equals a value. Description "遗漏过滤", commit.
void RunOmissionFilter(PoolSession& session, const DigitOmissionTable& table,
                       const std::array<OmissionCondition, 5>& families);

}  // namespace pool
