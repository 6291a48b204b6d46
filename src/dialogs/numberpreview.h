#pragma once
// Plain logic of the number preview: the attribute cells shown for each number and the bet
// text built from the ticked numbers.
#include "common/digitomission.h"

#include <QString>
#include <QStringList>

namespace dialogs {

// Column captions of the preview list, in order.
QStringList PreviewColumns();
// The nine cells of a number's row: 号码, 和值 ("00"), 跨值, 遗漏 (straight omission sum,
// "00"), 012路, 大小, 质合, 奇偶 (one mark per position, "■" for small, composite, even) and
// 类型 ("组三", or "■■" for three different digits).
QStringList PreviewCells(const QString& number, const common::DigitOmissionTable& omission);

// The bet text: the product line, the lottery, the count of numbers and the numbers each
// followed by two blanks, lines ended by CR LF, no line break after the numbers. homeUrl is
// the product's web address (left out, with its blank, when empty).
QString BuildBetText(const QStringList& numbers, bool lotteryIsP3, const QString& homeUrl);

// What the copy puts on the clipboard: the text without blanks at both ends, line breaks
// written as CR LF.
QString BetTextForClipboard(const QString& shownText);

}  // namespace dialogs
