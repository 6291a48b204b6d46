#include "mainwindow/historylist.h"

#include "common/digitclasses.h"
#include "common/drawattributes.h"

#include <array>

namespace mainwindow {
namespace {

// Everything after the DrawText depends only on the number, so the 1000 tails are built once.
QString BuildTail(int a, int b, int c) {
    const common::Digits d{a, b, c};
    const QString square = QStringLiteral("■");
    auto mark = [&](bool yes, const QString& text) { return yes ? text : square; };
    QString t;
    t.reserve(64);
    t += QStringLiteral("  \u3000");
    const int sum = common::Sum(d);
    t += QString::number(sum);
    if (sum < 10) t += QLatin1Char(' ');
    t += QStringLiteral("    ");
    t += QString::number(common::Span(d));
    t += QStringLiteral("     ");
    t += common::Routes(d);
    t += QStringLiteral("    ");
    t += QString::number(common::AcValue(d));
    t += QStringLiteral("      ");
    t += common::FiveElements(d);
    t += QStringLiteral("   ");
    for (int x : {a, b, c}) t += mark(common::IsBig(x), QStringLiteral("大"));
    t += QStringLiteral("   ");
    for (int x : {a, b, c}) t += mark(common::IsPrime(x), QStringLiteral("质"));
    t += QStringLiteral("   ");
    for (int x : {a, b, c}) t += mark(common::IsOdd(x), QStringLiteral("奇"));
    t += QStringLiteral("   ");
    t += common::IsGroupThreeType(d) ? QStringLiteral("组三") : QStringLiteral("■■");
    t += QStringLiteral("\r\n");
    return t;
}

const std::array<QString, 1000>& Tails() {
    static const std::array<QString, 1000> tails = [] {
        std::array<QString, 1000> t;
        for (int n = 0; n < 1000; ++n) t[n] = BuildTail(n / 100, n / 10 % 10, n % 10);
        return t;
    }();
    return tails;
}

int DigitAt(const QString& s, qsizetype i) {
    const int v = i >= 0 && i < s.size() ? s.at(i).unicode() - '0' : 0;
    return v >= 0 && v <= 9 ? v : 0;
}

int NumberOfDraw(const QString& drawText) {
    const qsizetype n = drawText.size();
    return DigitAt(drawText, n - 3) * 100 + DigitAt(drawText, n - 2) * 10 + DigitAt(drawText, n - 1);
}

}  // namespace

QString HistoryLine(const QString& drawText) { return drawText + Tails()[NumberOfDraw(drawText)]; }

QString BuildHistoryText(const QStringList& draws, int first, int last, const std::function<bool()>& afterLine) {
    const auto& tails = Tails();
    first = std::max(first, 0);
    last = std::min<int>(last, int(draws.size()) - 1);
    QString text;
    if (last >= first) text.reserve(qsizetype(last - first + 1) * 48 + 2);
    for (int i = first; i <= last; ++i) {
        const QString& d = draws.at(i);
        text += d;
        text += tails[NumberOfDraw(d)];
        if (afterLine && !afterLine()) return text;
    }
    text += QStringLiteral("\r\n");
    return text;
}

QString HistoryHeaderText() {
    return QStringLiteral("期号    号码   和值  跨度  012路  AC值   五行     大小     质合     奇偶     类型");
}

QString HistoryLabelText(bool lotteryIsP3, int drawCount) {
    return (lotteryIsP3 ? QStringLiteral(".体彩排列3共开奖") : QStringLiteral(".福利3D共开奖")) +
           QString::number(drawCount) + QStringLiteral("期");
}

}  // namespace mainwindow
