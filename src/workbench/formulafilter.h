#pragma once
// The universal formula filter: a user's VBScript function Custom_GL(NUMBER) decides for
// every number of the pool whether it goes (a result equal to True removes it).
#include "common/workprogress.h"
#include "pool/numberpool.h"
#include "script/scriptengine.h"

#include <QString>

namespace workbench {

// The formula with every "%条件%" (exact, case-sensitive) replaced by the condition verbatim.
QString FormulaCode(const QString& formula, const QString& condition);

inline const QString kNoCustomGl = QStringLiteral("公式中没有 Custom_GL 函数");

struct FormulaRunResult {
    bool ok = true;
    bool cancelled = false;  // the progress was cancelled (then !ok too)
    bool noCustomGl = false; // the code ran but defined no Custom_GL (then !ok too)
    int removed = 0;
    script::ScriptError error;  // the first failure when !ok
    QString number;             // the number under test when the failure came while running
};

// Starts the engine afresh (no earlier formula's Custom_GL or variables survive), then for each
// entry, in order: adds the code (its top-level statements run every time) and calls the
// Custom_GL they defined, however they defined it (ExecuteGlobal included), with the entry's
// text. Removed entries go, each appended to log as "123| ", and the pool is compacted. At the
// first script error (no compilation, no Custom_GL, a run-time error, the time limit) or a
// cancel the run stops and neither the pool nor the log is changed: a half-filtered pool
// would be neither the old set nor the filtered one. An empty pool makes no script call. With a progress, each number advances it and its
// cancel stops even a call under way (through the engine's stop hook). The run ends with the
// engine reset, so nothing the formula's module holds outlives it; memory that runs out is a
// failure like any other (error 7), the pool and the log unchanged.
FormulaRunResult RunFormulaFilter(script::ScriptEngine& engine, const QString& code, pool::NumberPool& pool,
                                  QString& log, common::WorkProgress* progress = nullptr);

// The message of a failed run: the engine's description, where in the code it failed and, for
// a failure while running, the number under test ("号码 123").
QString FormulaErrorText(const FormulaRunResult& run, const QString& code);

}  // namespace workbench
