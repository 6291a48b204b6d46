#pragma once
// The universal formula filter: a user's VBScript function Custom_GL(NUMBER) decides for
// every number of the pool whether it goes (a result equal to True removes it).
#include "pool/numberpool.h"
#include "script/scriptengine.h"

#include <QString>

namespace workbench {

// The formula with every "%条件%" (exact, case-sensitive) replaced by the condition verbatim.
QString FormulaCode(const QString& formula, const QString& condition);

struct FormulaRunResult {
    bool ok = true;
    int removed = 0;
    script::ScriptError error;  // the first failure when !ok
};

// For each entry, in order: adds the code to the engine (its top-level statements run every
// time) and calls Custom_GL with the entry's text. Removed entries go, each appended to log as
// "123| ", and the pool is compacted. At the first script error (no compilation, no
// Custom_GL, a run-time error, the time limit) the run stops and neither the pool nor the log
// is changed: a half-filtered pool would be neither the old set nor the filtered one. An
// empty pool makes no script call.
FormulaRunResult RunFormulaFilter(script::ScriptEngine& engine, const QString& code, pool::NumberPool& pool,
                                  QString& log);

}  // namespace workbench
