#pragma once
// The history list: one line per draw of the analysis range with its attributes in fixed
// columns (for a fixed-pitch font where CJK characters, U+3000 and "■" take two columns).
#include <QString>
#include <QStringList>

#include <functional>

namespace mainwindow {

// The line of one draw ("IIIIIII DDD", its attributes, "\r\n").
QString HistoryLine(const QString& drawText);
// Lines of draws[first..last] (0-based positions, clamped to the list), oldest first, then one
// more "\r\n". afterLine runs after each line; returning false stops the build (the text is then
// incomplete and the caller starts again).
QString BuildHistoryText(const QStringList& draws, int first, int last,
                         const std::function<bool()>& afterLine = {});
// Column header shown above the list.
QString HistoryHeaderText();
// Label1 while the list is shown: ".福利3D共开奖" n "期" / ".体彩排列3共开奖" n "期".
QString HistoryLabelText(bool lotteryIsP3, int drawCount);

}  // namespace mainwindow
