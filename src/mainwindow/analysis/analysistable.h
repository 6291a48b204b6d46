#pragma once
// What an analysis gives the main window: its caption and its whole table. Apart from the
// analyses themselves, so the omission engine that builds it does not depend on them.
#include <QString>

namespace analysis {

struct AnalysisTable {
    QString title;  // the caption shown in the main window's Label1, e.g. "(质合分析 2024001-2024101)"
    QString text;   // the text shown in Text1: header, empty line, one line per category
};

}  // namespace analysis
