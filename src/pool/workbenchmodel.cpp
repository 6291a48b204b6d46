#include "pool/workbenchmodel.h"

namespace pool {

namespace {

QStringList Numbers(int first, int last) {
    QStringList list;
    for (int k = first; k <= last; ++k) list << QString::number(k);
    return list;
}

QStringList Words(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* w : words) list << QString::fromUtf8(w);
    return list;
}

// Box i of the 27-box tabs holds position codes c1 c2 c3 with i = c1 + 9·c2 + 3·c3.
QStringList PositionCodeCaptions(const QStringList& symbols) {
    QStringList captions;
    for (int i = 0; i < 27; ++i) captions << symbols[i % 3] + symbols[i / 9] + symbols[(i / 3) % 3];
    return captions;
}

// 1234 classes: ascending triples for the group tab, every triple for the single tab.
QStringList ClassCaptions(bool ascending) {
    QStringList captions;
    for (int a = 1; a <= 4; ++a)
        for (int b = ascending ? a : 1; b <= 4; ++b)
            for (int c = ascending ? b : 1; c <= 4; ++c) captions << QStringLiteral("%1%2%3").arg(a).arg(b).arg(c);
    return captions;
}

}  // namespace

const QStringList& PatternCaptions(int tab) {
    static const std::array<QStringList, kPatternTabs> captions = {
        Words({"300", "210", "201", "120", "102", "111", "030", "003", "012", "021"}),
        PositionCodeCaptions({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}),
        Words({"偶偶偶", "偶偶奇", "偶奇偶", "偶奇奇", "奇偶偶", "奇偶奇", "奇奇偶", "奇奇奇"}),
        Words({"质质质", "质质合", "质合质", "质合合", "合质质", "合质合", "合合质", "合合合"}),
        Words({"小小小", "小小大", "小大小", "小大大", "大小小", "大小大", "大大小", "大大大"}),
        PositionCodeCaptions({QStringLiteral("大"), QStringLiteral("中"), QStringLiteral("小")}),
        ClassCaptions(true),
        ClassCaptions(false),
    };
    return captions[size_t(tab)];
}

const QStringList& OptionCaptions(int tab) {
    static const std::array<QStringList, kOptionTabs> captions = {
        Words({"AAA", "ABB", "BAA", "ABA", "BAB", "AAB", "BBA", "ABC", "ACB", "BAC", "BCA", "CAB", "CBA"}),
        Numbers(0, 9),
        Numbers(1, 3),
        Numbers(0, 3),
        Numbers(0, 5),
    };
    return captions[size_t(tab)];
}

EditorConditions::EditorConditions() {
    for (int t = 0; t < kPatternTabs; ++t) patterns[size_t(t)] = QList<bool>(PatternCaptions(t).size(), false);
    sums = QList<bool>(kSumBoxes, false);
    for (int t = 0; t < kOptionTabs; ++t) options[size_t(t)] = QList<bool>(OptionCaptions(t).size(), false);
    for (auto& values : oneD) values = QList<bool>(10, false);
}

QList<int> EditorConditions::oneDValues(int mode) const {
    if (oneDModes[size_t(mode)] == OneDMode::Off) return {};
    return TickedIndexes(oneD[size_t(mode)]);
}

QList<int> TickedIndexes(const QList<bool>& ticks) {
    QList<int> ticked;
    for (int i = 0; i < ticks.size(); ++i)
        if (ticks[i]) ticked.append(i);
    return ticked;
}

QString InputBoxName(InputBox box) {
    static const char* const names[kInputBoxes] = {"Text1",  "Text2",  "Text3",  "Text4",  "Text12",
                                                   "Text13", "Text14", "Text15", "Text18", "Text17",
                                                   "Text16", "Text11", "Text29"};
    return QString::fromLatin1(names[int(box)]);
}

}  // namespace pool
