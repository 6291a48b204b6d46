#include "mainwindow/analysis/analyses.h"

#include "common/digitclasses.h"
#include "common/drawhistory.h"
#include "mainwindow/analysis/omissionanalysis.h"

#include <algorithm>
#include <array>

namespace analysis {
namespace {

// ---- Class analyses: one class per position ------------------------------------------------

int PrimeCompositeClass(int d) { return common::IsPrime(d) ? 0 : 1; }   // 质, 合
int OddEvenClass(int d) { return common::IsOdd(d) ? 1 : 0; }            // 偶, 奇
int BigMiddleSmallClass(int d) { return common::BigMiddleSmall(d); }    // 小, 中, 大
int BigSmallClass(int d) { return common::IsBig(d) ? 1 : 0; }           // 小, 大

template <int (*ClassOf)(int), int Classes>
void PatternHit(int a, int b, int c, HitList& hits) {
    hits.add((ClassOf(a) * Classes + ClassOf(b)) * Classes + ClassOf(c));
}

// Every triple of class labels, hundreds slowest, then two blanks.
QStringList PatternLabels(const QStringList& classLabels) {
    QStringList labels;
    for (const QString& x : classLabels)
        for (const QString& y : classLabels)
            for (const QString& z : classLabels)
                labels << x + y + z + QStringLiteral("  ");
    return labels;
}

// " 7    ": a blank, the value, blanks up to five characters for it.
QString ValueLabel(const QString& value) { return QLatin1Char(' ') + value.leftJustified(5); }

QStringList ValueLabels(int count) {
    QStringList labels;
    for (int v = 0; v < count; ++v)
        labels << ValueLabel(QString::number(v));
    return labels;
}

void SumHit(int a, int b, int c, HitList& hits) { hits.add(a + b + c); }
void SumTailHit(int a, int b, int c, HitList& hits) { hits.add((a + b + c) % 10); }
void SpanHit(int a, int b, int c, HitList& hits) {
    hits.add(std::max({a, b, c}) - std::min({a, b, c}));
}

// ---- Pairs: the 55 unordered pairs ij, i <= j ----------------------------------------------

constexpr std::array<int, 100> MakePairIndex() {
    std::array<int, 100> index{};
    int k = 0;
    for (int i = 0; i < 10; ++i)
        for (int j = i; j < 10; ++j)
            index[i * 10 + j] = k++;
    return index;
}
constexpr std::array<int, 100> kPairIndex = MakePairIndex();

// A pair of two digits is hit when both stand in the draw, a double when its digit stands
// twice; each at most once per draw.
void PairHit(int a, int b, int c, HitList& hits) {
    std::array<int, 3> d{a, b, c};
    std::sort(d.begin(), d.end());
    const auto add = [&](int i, int j) { hits.add(kPairIndex[i * 10 + j]); };
    if (d[0] == d[2]) {
        add(d[0], d[0]);
    } else if (d[0] == d[1] || d[1] == d[2]) {
        add(d[0], d[2]);
        add(d[1], d[1]);
    } else {
        add(d[0], d[1]);
        add(d[0], d[2]);
        add(d[1], d[2]);
    }
}

QStringList PairLabels() {
    QStringList labels;
    for (int i = 0; i < 10; ++i)
        for (int j = i; j < 10; ++j)
            labels << ValueLabel(QString::number(i) + QString::number(j));
    return labels;
}

// ---- Routes and 1234 classes ---------------------------------------------------------------

int RouteClass(int d) { return common::Route(d); }               // 0..2
int Class1234Index(int d) { return common::Class1234(d) - 1; }   // 0..3 for the classes 1..4

// Row of each sorted class triple in a group table (the unsorted codes are never looked up).
template <int M>
constexpr std::array<int, M * M * M> MakeGroupIndex() {
    std::array<int, M * M * M> index{};
    int k = 0;
    for (int x = 0; x < M; ++x)
        for (int y = x; y < M; ++y)
            for (int z = y; z < M; ++z)
                index[(x * M + y) * M + z] = k++;
    return index;
}
constexpr std::array<int, 27> kGroupRouteIndex = MakeGroupIndex<3>();
constexpr std::array<int, 64> kGroup1234Index = MakeGroupIndex<4>();

template <int (*ClassOf)(int), int M, const std::array<int, M * M * M>& GroupIndex>
void GroupPatternHit(int a, int b, int c, HitList& hits) {
    std::array<int, 3> k{ClassOf(a), ClassOf(b), ClassOf(c)};
    std::sort(k.begin(), k.end());
    hits.add(GroupIndex[(k[0] * M + k[1]) * M + k[2]]);
}

// The pattern's digits and five blanks; `first` is the digit of class index 0.
QStringList ClassPatternLabels(int classes, int first, bool group) {
    QStringList labels;
    for (int x = 0; x < classes; ++x)
        for (int y = group ? x : 0; y < classes; ++y)
            for (int z = group ? y : 0; z < classes; ++z)
                labels << QString::number(x + first) + QString::number(y + first) +
                              QString::number(z + first) + QStringLiteral("     ");
    return labels;
}

// ---- Members -------------------------------------------------------------------------------

AnalysisMember Member(const char16_t* title, const QString& header, QStringList labels, HitRule rule) {
    return AnalysisMember{QString::fromUtf16(title), header, std::move(labels), rule};
}

const AnalysisMember& MemberOf(AnalysisKind kind) {
    static const std::array<AnalysisMember, 13> members = [] {
        const QStringList primeComposite{QStringLiteral("质"), QStringLiteral("合")};
        const QStringList oddEven{QStringLiteral("偶"), QStringLiteral("奇")};
        const QStringList bigMiddleSmall{QStringLiteral("小"), QStringLiteral("中"), QStringLiteral("大")};
        const QStringList bigSmall{QStringLiteral("小"), QStringLiteral("大")};
        return std::array<AnalysisMember, 13>{
            Member(u"(质合分析 ", kPatternHeader, PatternLabels(primeComposite),
                   PatternHit<PrimeCompositeClass, 2>),
            Member(u"(和值分析 ", kValueHeader, ValueLabels(28), SumHit),
            Member(u"(奇偶分析 ", kPatternHeader, PatternLabels(oddEven), PatternHit<OddEvenClass, 2>),
            Member(u"(大中小分析 ", kPatternHeader, PatternLabels(bigMiddleSmall),
                   PatternHit<BigMiddleSmallClass, 3>),
            Member(u"(大小分析 ", kPatternHeader, PatternLabels(bigSmall), PatternHit<BigSmallClass, 2>),
            Member(u"(跨度分析 ", kValueHeader, ValueLabels(10), SpanHit),
            Member(u"(二码分析 ", kValueHeader, PairLabels(), PairHit),
            Member(u"(合值分析 ", kValueHeader, ValueLabels(10), SumTailHit),
            AnalysisMember{},  // 单码: its own counting and layout below
            Member(u"(单选012路分析 ", kPatternHeader, ClassPatternLabels(3, 0, false),
                   PatternHit<RouteClass, 3>),
            Member(u"(组选012路分析 ", kPatternHeader, ClassPatternLabels(3, 0, true),
                   GroupPatternHit<RouteClass, 3, kGroupRouteIndex>),
            Member(u"(单选1234分析 ", kPatternHeader, ClassPatternLabels(4, 1, false),
                   PatternHit<Class1234Index, 4>),
            Member(u"(组选1234分析 ", kPatternHeader, ClassPatternLabels(4, 1, true),
                   GroupPatternHit<Class1234Index, 4, kGroup1234Index>),
        };
    }();
    return members[size_t(kind)];
}

// ---- 单码: four blocks of ten digits --------------------------------------------------------

// Categories 0-9 全位 (each digit of the draw), 10-19 百位, 20-29 十位, 30-39 个位.
void SingleDigitHit(int a, int b, int c, HitList& hits) {
    hits.add(a);
    hits.add(b);
    hits.add(c);
    hits.add(10 + a);
    hits.add(20 + b);
    hits.add(30 + c);
}

const QString kSingleDigitHeader = QStringLiteral(
    "位置  单码 开出次数  开出概率 平均遗漏  最大遗漏  上期遗漏  本期遗漏  出号几率");

}  // namespace

AnalysisTable SumAnalysis(const common::DrawHistory& history, int first, int last) {
    return RunAnalysis(AnalysisKind::Sum, history, first, last);
}
AnalysisTable PairAnalysis(const common::DrawHistory& history, int first, int last) {
    return RunAnalysis(AnalysisKind::Pair, history, first, last);
}
AnalysisTable SumTailAnalysis(const common::DrawHistory& history, int first, int last) {
    return RunAnalysis(AnalysisKind::SumTail, history, first, last);
}

AnalysisTable SingleDigitAnalysis(const common::DrawHistory& history, int first, int last) {
    const DrawRange range = ResolveRange(history, first, last);
    AnalysisTable table;
    table.title = AnalysisTitle(QStringLiteral("(单码分析 "), history, range);
    if (range.isEmpty()) {
        table.text = kSingleDigitHeader + kTableNewLine;
        return table;
    }
    const OmissionCount count = CountOmissions(history, range, 40, SingleDigitHit);
    static const QString blockLabels[4] = {QStringLiteral("全位  "), QStringLiteral("百位  "),
                                           QStringLiteral("十位  "), QStringLiteral("个位  ")};
    const MeasureWidths widths{10, 9, 10, 10, 10, 10};
    QString text = kSingleDigitHeader + kTableNewLine;
    text.reserve(40 * 80);
    for (int block = 0; block < 4; ++block) {
        // Each block divides by its own total of hits: 3N for 全位, N for a position.
        int total = 0;
        for (int d = 0; d < 10; ++d)
            total += count.stats.at(block * 10 + d).hitCount;
        text += kTableNewLine;
        for (int d = 0; d < 10; ++d)
            text += MeasureLine(blockLabels[block] + QString::number(d) + QStringLiteral("    "),
                                count.stats.at(block * 10 + d), total, widths);
    }
    table.text = text;
    return table;
}

AnalysisTable RunAnalysis(AnalysisKind kind, const common::DrawHistory& history, int first, int last) {
    if (kind == AnalysisKind::SingleDigit)
        return SingleDigitAnalysis(history, first, last);
    return RunOmissionAnalysis(MemberOf(kind), history, first, last);
}

}  // namespace analysis
