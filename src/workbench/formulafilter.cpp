#include "workbench/formulafilter.h"

#include <vector>

namespace workbench {

QString FormulaCode(const QString& formula, const QString& condition) {
    QString code = formula;
    code.replace(QStringLiteral("%条件%"), condition, Qt::CaseSensitive);
    return code;
}

FormulaRunResult RunFormulaFilter(script::ScriptEngine& engine, const QString& code, pool::NumberPool& pool,
                                  QString& log) {
    FormulaRunResult result;
    pool::NumberPool work = pool;
    QString removedLog;
    const QString function = QStringLiteral("Custom_GL");
    std::vector<script::Variant> args(1);
    for (QString& entry : work) {
        if (!engine.addCode(code)) {
            result.ok = false;
            result.error = engine.lastError();
            return result;
        }
        args[0] = script::Variant(entry);
        script::Variant value;
        if (!engine.run(function, args, &value)) {
            result.ok = false;
            result.error = engine.lastError();
            return result;
        }
        if (value.equalsTrue()) {
            removedLog += entry + QStringLiteral("| ");
            ++result.removed;
            entry.clear();
        }
    }
    pool::CompactSet(work);
    pool.swap(work);
    log += removedLog;
    return result;
}

}  // namespace workbench
