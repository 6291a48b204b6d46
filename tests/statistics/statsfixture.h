#pragma once
// Small draw histories for the statistics tests: numbers oldest first, issues 2024001 on.
#include "common/settings.h"
#include "common/appstate.h"
#include "historyof.h"
#include "common/drawhistory.h"
#include "history/drawfile.h"

#include "testsupport.h"

#include <QStringList>

namespace statsfixture {


// Sets the test's state: its history and analysis range (0-based positions, as the program keeps
// them).
inline void SetState(common::AppState& app, const QStringList& numbers, bool useAllDraws = true, int rangeFirst = 0,
                     int rangeLast = -2) {
    app.setHistory(testsupport::HistoryOf(numbers));
    common::SaveUseAllDraws(useAllDraws);
    app.setRange(rangeFirst, rangeLast == -2 ? int(numbers.size()) - 1 : rangeLast);
}

inline QStringList Repeat(const QString& s, int n) {
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << s;
    return out;
}

// "a,b,c" as a list of texts (an empty field stays an empty text).
inline QStringList Split(const char* text) { return QString::fromUtf8(text).split(QLatin1Char(',')); }

// Loads the real 福彩3D history from the shared data, with the analysis range at its default (the
// newest 101 draws) and UseAllDraws as given into the test's state; false when the file cannot be
// read.
inline bool UseRealHistory(common::AppState& app, bool useAllDraws) {
    QStringList draws;
    if (!history::ReadDrawFile(testsupport::SharedFile("data/HAO.TXT"), &draws))
        return false;
    app.setHistory(common::DrawHistory(draws));
    common::SaveUseAllDraws(useAllDraws);
    app.resetAnalysisRange();
    return true;
}

}  // namespace statsfixture
