#pragma once
// Read-only reports on where a number came in the history and what followed it. They only
// append to the given log text.
#include "common/drawhistory.h"

#include <QString>

namespace pool {

// "\n要查询[单选]的号码：" number "\n", one line per draw whose number equals it, oldest
// first ("第" issue "期,下期号码开" next number, or "期,下期号码还未开出" for the newest draw),
// then "共出" count "次\n". Returns the count.
int QuerySingleHistory(QString& log, const common::DrawHistory& history, const QString& number);

// The straight report, then the group report ("\n要查询[组选]的号码：" number as given, the
// draws holding the same three characters in any order, "共出" count "次\n"). Returns the
// group count.
int QueryNumberHistory(QString& log, const common::DrawHistory& history, const QString& number);

// The draws of every year with the given serial within the year (characters 5-7 of the
// DrawText, compared as text): "\n要查询的期号：" serial "\n", then each DrawText as stored and
// a line break; no count line. Returns how many draws were listed.
int QueryIssueSerial(QString& log, const common::DrawHistory& history, const QString& serial);

}  // namespace pool
