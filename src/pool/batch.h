#pragma once
// The workbench's two batch filters. The basic batch removes the numbers that show any ticked
// pattern of one pattern family; the advanced batch runs sums, positional patterns, 1D values,
// shapes, means, AC values, 直落号 and 斜连值. Each family writes its own frame to the log in
// one block and sets the description; the batch commits once at the end.
#include "common/drawhistory.h"
#include "pool/numberpool.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace pool {

// A ticked editor box: its index in the array and its caption.
struct TickedBox {
    int index = 0;
    QString caption;
};

// The eight pattern families in the order of the workbench's family boxes (Check49, Check50,
// Check11, Check3, Check12, Check24, Check34, Check59).
enum class BasicFamily { Group012, Single012, OddEven, PrimeComposite, BigSmall, BigMidSmall, Group1234, Single1234 };
constexpr int kBasicFamilies = 8;

struct BasicCondition {
    BasicFamily family = BasicFamily::Group012;
    QList<TickedBox> ticked;  // ascending index order
};

// The pattern handed to the family's routine for a ticked box: the caption, or for 奇偶, 质合
// and 大小 the index as three binary digits (hundreds first).
QString BasicPattern(BasicFamily family, const TickedBox& box);

// Runs one family: log frame, removal, description. No commit.
void RunBasicFamily(PoolSession& session, const BasicCondition& condition);
// Runs the families in the order given (the caller passes them in box order) and commits.
void RunBasicBatch(PoolSession& session, const QList<BasicCondition>& families);

// The eight advanced families in the order of the family boxes (Check58, Check1, Check26,
// Check9, Check27, Check25, Check69, Check60).
enum class AdvancedFamily { Positional, Sum, OneD, AbcType, Mean, AcValue, StraightDrop, DiagonalLink };
constexpr int kAdvancedFamilies = 8;

struct AdvancedCondition {
    AdvancedFamily family = AdvancedFamily::Sum;
    QList<TickedBox> ticked;             // Sum and AbcType..DiagonalLink, ascending index order
    std::array<QList<int>, 4> oneD;      // OneD: the values of 正1D, 负1D, 反正1D, 反负1D
    QStringList patterns;                // Positional: PositionPatterns
};

// Runs one family against the newest draw of history (直落号, 斜连值). No commit. Returns a
// warning for the player when the family could not do its work (no draw to compare with),
// else an empty text.
QString RunAdvancedFamily(PoolSession& session, const AdvancedCondition& condition,
                          const common::DrawHistory& history);
// Runs the families in the order given and commits (also when none is given). Returns the
// warnings of the families, joined by line breaks.
QString RunAdvancedBatch(PoolSession& session, const QList<AdvancedCondition>& families,
                         const common::DrawHistory& history);

}  // namespace pool
