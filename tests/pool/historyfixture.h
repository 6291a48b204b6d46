#pragma once
// Small draw histories for the history-reading pool routines.
#include "common/drawhistory.h"
#include "common/drawtext.h"
#include "history/drawfile.h"
#include "historyof.h"
#include "testsupport.h"

#include <QStringList>

#include <initializer_list>

namespace poolfixture {

// Draws oldest first, issues 2024001, 2024002, ...
inline common::DrawHistory MakeHistory(std::initializer_list<const char*> numbers) {
    QStringList list;
    for (const char* n : numbers) list << QString::fromLatin1(n);
    return testsupport::HistoryOf(list);
}

// The shared 福彩3D history (empty when the shared folder is absent).
inline common::DrawHistory SharedHistory() {
    QStringList draws;
    const QString path = testsupport::SharedFile(QStringLiteral("data/HAO.TXT"));
    if (!path.isEmpty()) history::ReadDrawFile(path, &draws);
    return common::DrawHistory(draws);
}

}  // namespace poolfixture
