#include "statistics/tablecopy.h"

namespace statistics {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Labels followed by the given number of blanks; the last label stands alone.
QString CopyHeader(std::initializer_list<std::pair<const char16_t*, int>> parts) {
    QString text;
    for (const auto& [label, blanks] : parts)
        text += QString::fromUtf16(label) + QString(blanks, QLatin1Char(' '));
    return text;
}

QString FilledCell(const QString& text, int width) {
    const int missing = width - int(text.size());
    if (missing >= 0)
        return text + QString(missing, QLatin1Char(' '));
    return text + QLatin1Char(' ');
}

}  // namespace

const CopyLayout& FuzzyCopyLayout() {
    static const CopyLayout layout{
        CopyHeader({{u"期号", 6}, {u"奖号", 6}, {u"热", 8}, {u"温", 8}, {u"冷", 8}, {u"比例", 6}, {u"复", 8},
                    {u"隔", 8}, {u"中", 8}, {u"比例", 6}, {u"传", 8}, {u"邻", 8}, {u"孤", 8}, {u"比例", 0}}),
        10, 10, -1};
    return layout;
}

const CopyLayout& FormulaCopyLayout() {
    static const CopyLayout layout{
        CopyHeader({{u"类别", 2}, {u"开出次数", 3}, {u"开出概率", 2}, {u"平均遗漏", 3}, {u"最大遗漏", 2},
                    {u"上期遗漏", 2}, {u"本期遗漏", 2}, {u"出号几率", 0}}),
        8, 10, -1};
    return layout;
}

const CopyLayout& CompoundCopyLayout() {
    static const CopyLayout layout{
        CopyHeader({{u"类别", 64}, {u"开出次数", 3}, {u"开出概率", 2}, {u"平均遗漏", 3}, {u"最大遗漏", 2},
                    {u"上期遗漏", 2}, {u"本期遗漏", 2}, {u"出号几率", 0}}),
        70, 10, 1000};
    return layout;
}

const CopyLayout& ProfitPlanCopyLayout() {
    static const CopyLayout layout{
        CopyHeader({{u"期数", 4}, {u"投入倍数", 6}, {u"本期投入奖金", 6}, {u"累积投入奖金", 3}, {u"本期收入金额", 3},
                    {u"净收入", 9}, {u"收入率", 0}}),
        10, 15, -1};
    return layout;
}

QString CopyLine(const CopyLayout& layout, const QStringList& cells) {
    QString line;
    for (int c = 0; c < cells.size(); ++c) {
        if (c == cells.size() - 1)
            line += cells.at(c);
        else
            line += FilledCell(cells.at(c), c == 0 ? layout.firstWidth : layout.middleWidth);
    }
    return line;
}

QString CopyText(const CopyLayout& layout, int rowCount, const std::function<QStringList(int)>& rowCells) {
    QString text = layout.header + kCrLf + kCrLf;
    const int rows = layout.rowLimit >= 0 ? qMin(rowCount, layout.rowLimit) : rowCount;
    for (int i = 0; i < rows; ++i)
        text += CopyLine(layout, rowCells(i)) + kCrLf;
    return text;
}

}  // namespace statistics
