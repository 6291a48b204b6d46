#include "workbench/formulafilter.h"

#include "script/scripterror.h"

#include <new>
#include <vector>

namespace workbench {

QString FormulaCode(const QString& formula, const QString& condition) {
    QString code = formula;
    code.replace(QStringLiteral("%条件%"), condition, Qt::CaseSensitive);
    return code;
}

namespace {

// Points the engine at the progress's cancel request for one run only.
class StopHook {
public:
    StopHook(script::ScriptEngine& engine, const common::WorkProgress* progress) : engine_(engine) {
        engine_.setStopFlag(progress ? progress->cancelFlag() : nullptr);
    }
    ~StopHook() { engine_.setStopFlag(nullptr); }
    StopHook(const StopHook&) = delete;
    StopHook& operator=(const StopHook&) = delete;

private:
    script::ScriptEngine& engine_;
};

FormulaRunResult FilterPool(script::ScriptEngine& engine, const QString& code, pool::NumberPool& pool, QString& log,
                            common::WorkProgress* progress) {
    FormulaRunResult result;
    if (progress) progress->setTotal(pool.size());
    pool::NumberPool work = pool;
    QString removedLog;
    const QString function = QStringLiteral("Custom_GL");
    // A fresh module: a formula without its own Custom_GL must not run an earlier formula's.
    engine.reset();
    std::vector<script::Variant> args(1);
    auto fail = [&](const QString& number) {
        result.ok = false;
        result.error = engine.lastError();
        result.cancelled = result.error.number == script::kErrStopped || (progress && progress->cancelled());
        result.number = result.error.source == script::kCompileSource ? QString() : number;
        return result;
    };
    for (QString& entry : work) {
        if (progress && progress->cancelled()) {
            result.ok = false;
            result.cancelled = true;
            return result;
        }
        if (!engine.addCode(code)) return fail(entry);
        const script::ScriptEngine::Procedure custom = engine.procedure(function);
        if (!custom.isValid()) {
            result.ok = false;
            result.noCustomGl = true;
            return result;
        }
        args[0] = script::Variant(entry);
        script::Variant value;
        if (!engine.call(custom, args, &value)) return fail(entry);
        if (value.equalsTrue()) {
            removedLog += entry + QStringLiteral("| ");
            ++result.removed;
            entry.clear();
        }
        if (progress) progress->advance();
    }
    pool::CompactSet(work);
    log += removedLog;  // before the pool: if it finds no memory, neither has changed
    pool.swap(work);
    return result;
}

}  // namespace

FormulaRunResult RunFormulaFilter(script::ScriptEngine& engine, const QString& code, pool::NumberPool& pool,
                                  QString& log, common::WorkProgress* progress) {
    const StopHook hook(engine, progress);
    FormulaRunResult result;
    try {
        result = FilterPool(engine, code, pool, log, progress);
    } catch (const std::bad_alloc&) {
        // Memory ran out outside the formula's own code (there it is the script's error 7):
        // the same failure, the pool and the log as they were.
        result = FormulaRunResult();
        result.ok = false;
        result.error = script::RuntimeScriptError(script::OutOfMemoryError());
    }
    // What the formula's module holds goes now, so that a formula that filled the memory gives
    // it back before its failure is shown.
    engine.reset();
    return result;
}

QString FormulaErrorText(const FormulaRunResult& run, const QString& code) {
    QString text = script::ScriptErrorText(run.error, code);
    if (!run.number.isEmpty()) text += QStringLiteral("\n号码 ") + run.number;
    return text;
}

}  // namespace workbench
