#include "dialogs/numberpreview.h"

#include "common/digitclasses.h"
#include "common/drawattributes.h"
#include "dialogs/setops.h"

namespace dialogs {
namespace {

const QString kPreviewBetLineBreak = QStringLiteral("\r\n");
const QString kPreviewSmallMark = QStringLiteral("■");

QString PreviewTwoDigits(int value) { return QString::number(value).rightJustified(2, QLatin1Char('0')); }

QString PreviewMarks(const common::Digits& d, bool (*marked)(int), const QString& mark) {
    QString s;
    for (const int digit : {d.a, d.b, d.c}) s += marked(digit) ? mark : kPreviewSmallMark;
    return s;
}

}  // namespace

QStringList PreviewColumns() {
    return {QStringLiteral("号码"), QStringLiteral("和值"), QStringLiteral("跨值"),
            QStringLiteral("遗漏"), QStringLiteral("012路"), QStringLiteral("大小"),
            QStringLiteral("质合"), QStringLiteral("奇偶"), QStringLiteral("类型")};
}

QStringList PreviewCells(const QString& number, const common::DigitOmissionTable& omission) {
    const common::Digits d = common::Digits::Of(number);
    return {number,
            PreviewTwoDigits(common::Sum(d)),
            QString::number(common::Span(d)),
            PreviewTwoDigits(omission.straightSum(number)),
            common::Routes(d),
            PreviewMarks(d, common::IsBig, QStringLiteral("大")),
            PreviewMarks(d, common::IsPrime, QStringLiteral("质")),
            PreviewMarks(d, common::IsOdd, QStringLiteral("奇")),
            common::IsGroupThreeType(d) ? QStringLiteral("组三") : QStringLiteral("■■")};
}

QString BuildBetText(const QStringList& numbers, bool lotteryIsP3, const QString& homeUrl) {
    QString text = QStringLiteral("Sifmora");
    if (!homeUrl.isEmpty()) text += QLatin1Char(' ') + homeUrl;
    text += kPreviewBetLineBreak;
    text += QStringLiteral("投注类型：") +
            (lotteryIsP3 ? QStringLiteral("体彩排列三") : QStringLiteral("全国福彩3D")) + kPreviewBetLineBreak;
    text += QStringLiteral("投注数量：") + QString::number(numbers.size()) + QStringLiteral(" 注") + kPreviewBetLineBreak;
    text.reserve(text.size() + numbers.size() * 5);
    for (const QString& n : numbers) text += n + QStringLiteral("  ");
    return text;
}

QString BetTextForClipboard(const QString& shownText) {
    QString text = TrimBlanks(shownText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), kPreviewBetLineBreak);
    return text;
}

}  // namespace dialogs
