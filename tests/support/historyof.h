#pragma once
// A draw history from a list of numbers, oldest first, for the tests of every library.
#include "common/drawhistory.h"

#include <QString>
#include <QStringList>

namespace testsupport {

// Issues year + 001, year + 002, ...; each draw reads "<issue> <number>", the number as given
// (so a malformed one stays malformed).
inline common::DrawHistory HistoryOf(const QStringList& numbers, const QString& year = QStringLiteral("2024")) {
    common::DrawHistory history;
    for (int i = 0; i < numbers.size(); ++i)
        history.append(year + QStringLiteral("%1 ").arg(i + 1, 3, 10, QLatin1Char('0')) + numbers.at(i));
    return history;
}

}  // namespace testsupport
