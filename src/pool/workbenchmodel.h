#pragma once
// The workbench's state without widgets: the number session, every condition the player sets
// (the condition editors' ticks, the family boxes of the two batches, the text inputs), the
// base-set choice and the lottery. The workbench window and its editors fill their controls
// from it and write back to it; the batch filters read their conditions from it, so a batch
// runs with no window built.
#include "pool/numberpool.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace pool {

// ---- Condition editors --------------------------------------------------------------------

constexpr int kPatternTabs = 8;  // 组选012, 单选012, 奇偶, 质合, 大小, 大中小, 组选1234, 单选1234
constexpr int kOptionTabs = 5;   // 升降序, 均值, AC值, 直落号, 斜连值
constexpr int kOneDModes = 4;    // 正1D, 负1D, 反正1D, 反负1D
constexpr int kSumBoxes = 28;    // the sums 0..27
constexpr int kBatchFamilies = 8;
// Where the editors' families sit among the advanced batch's: 定位, 和值, 1D, then the option
// editor's tabs in order. The basic batch's families are the pattern editor's tabs.
constexpr int kPositionalFamily = 0;
constexpr int kSumFamily = 1;
constexpr int kOneDFamily = 2;
constexpr int kFirstOptionFamily = 3;

// Captions of the pattern editor's boxes, per tab (also the patterns the basic batch removes).
const QStringList& PatternCaptions(int tab);
// Captions of the option editor's boxes, per tab.
const QStringList& OptionCaptions(int tab);

// The mode list of a 1D kind: nothing chosen yet, "不过滤" or "单选过滤".
enum class OneDMode { Unset = -1, Off = 0, Filter = 1 };

struct EditorConditions {
    EditorConditions();

    std::array<QList<bool>, kPatternTabs> patterns;  // one tick per caption of PatternCaptions(tab)
    QList<bool> sums;                                // box k: the sum k
    std::array<QList<bool>, kOptionTabs> options;    // one tick per caption of OptionCaptions(tab)
    std::array<QList<bool>, kOneDModes> oneD;        // box k: the value k
    std::array<OneDMode, kOneDModes> oneDModes{OneDMode::Unset, OneDMode::Unset, OneDMode::Unset, OneDMode::Unset};
    // The workbench's family boxes: which families the next basic / advanced batch runs.
    std::array<bool, kBatchFamilies> basicFamilies{};
    std::array<bool, kBatchFamilies> advancedFamilies{};
    // 定位排除: the positional patterns built in its editor.
    QStringList positionPatterns;

    // The values of a 1D kind the batch applies, ascending; none while it is set to "不过滤".
    QList<int> oneDValues(int mode) const;
};

// Indexes of the ticked entries, ascending.
QList<int> TickedIndexes(const QList<bool>& ticks);

// ---- Text inputs the other windows fill -----------------------------------------------------

// The workbench's text inputs; InputBoxName gives the control that shows each.
enum class InputBox {
    TwoCodes,                                          // 二码 list (Text1)
    FuzzyDigits1, FuzzyDigits2, FuzzyDigits3,          // 断组 digit sources (Text2..Text4)
    PositionDigits1, PositionDigits2, PositionDigits3, // 定位组号 hundreds, tens, units (Text12..Text14)
    OmissionGroup, OmissionHundreds, OmissionTens, OmissionUnits, OmissionStraight,  // 遗漏 values
    Formula,                                           // the formula's text (Text29)
};
constexpr int kInputBoxes = int(InputBox::Formula) + 1;
// objectName of the control that shows an input ("Text1", "Text15", ...).
QString InputBoxName(InputBox box);

// ---- The workbench's own filter frames ---------------------------------------------------

constexpr int kRecentRowCount = 10;
constexpr int kDigitGroupCount = 5;

// 近期过滤: the ten rows (单选号码 .. 大中小) with their count lists' texts, and 用做大底自动容错.
struct RecentInputs {
    std::array<bool, kRecentRowCount> rows{};
    std::array<QString, kRecentRowCount> counts;
    bool autoCollect = false;
};

// 模糊【断组】过滤: the switch of each digit source and its allowed counts (0..3 digits); the
// digits are the FuzzyDigits inputs.
struct FuzzyInputs {
    std::array<bool, 3> on{};
    std::array<std::array<bool, 4>, 3> counts{};
};

// 胆码组合过滤: five digit groups with their allowed counts (0..3 digits from the group), and the
// frame's two options (repeated counts once, automatic collection).
struct DigitGroupInputs {
    std::array<bool, kDigitGroupCount> on{};
    std::array<QString, kDigitGroupCount> digits;
    std::array<std::array<bool, 4>, kDigitGroupCount> counts{};
    bool repeatCountsOnce = false;
    bool autoCollect = false;
};

// 常用过滤: the four digit rows (选胆, 过滤胆, 过滤跨度, 过滤合值), each the digits 1..9, 0 in that
// order, and the two-code frame's mode (选取两码 when twoCodeSelect) and position choice (0 全部,
// 1 百十, 2 十个, 3 百个). Each two-code mode keeps its own list: the TwoCodes input shows the
// current mode's, twoCodesAside holds the other mode's until it is chosen again.
enum class DigitRowKind { Pick, Exclude, Span, SumTail };
struct CommonInputs {
    std::array<std::array<bool, 10>, 4> rows{};
    bool twoCodeSelect = false;
    int twoCodePosition = 0;
    QString twoCodesAside;
    std::array<bool, 10>& row(DigitRowKind kind) { return rows[size_t(kind)]; }
};

// 万能公式's 设置条件 and its condition text (the formula itself is the Formula input).
struct FormulaInputs {
    bool conditionOn = true;
    QString condition;
};

// ---- The model ----------------------------------------------------------------------------

// 第一步's choice of base set (Option1..Option4), with 复式 (Check51, all numbers only) and the
// kind of 组六 (Combo12: all, runs, half runs, mixed).
enum class BaseChoice { AllNumbers, AllGroups, GroupThree, GroupSix };
struct BaseSetChoice {
    BaseChoice choice = BaseChoice::AllNumbers;
    bool compound = false;
    int groupSixKind = 0;
    bool positionalCompound = true;  // 定位组号's 复式 (Check61)
};

struct WorkbenchModel {
    PoolSession session;
    EditorConditions conditions;
    std::array<QString, kInputBoxes> inputs;
    RecentInputs recent;
    FuzzyInputs fuzzy;
    DigitGroupInputs digitGroups;
    CommonInputs common;
    // 遗漏过滤's family switches (组选, 百位, 十位, 个位, 单选); their values are the Omission inputs.
    std::array<bool, 5> omissionOn{};
    FormulaInputs formula;
    BaseSetChoice baseSet;
    bool straightMode = false;  // the last 近期过滤 matched straight (单选), not group

    QString& input(InputBox box) { return inputs[size_t(box)]; }
    const QString& input(InputBox box) const { return inputs[size_t(box)]; }
};

}  // namespace pool
