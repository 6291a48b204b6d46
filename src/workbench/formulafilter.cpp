#include "workbench/formulafilter.h"

#include "platform/ui/scripterror.h"

#include <QRegularExpression>

#include <vector>

namespace workbench {

QString FormulaCode(const QString& formula, const QString& condition) {
    QString code = formula;
    code.replace(QStringLiteral("%条件%"), condition, Qt::CaseSensitive);
    return code;
}

namespace {

// The statements of one line: split at ":" outside strings, up to a comment ("'" or Rem).
QStringList Statements(const QString& line) {
    QStringList out;
    QString current;
    bool inString = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) inString = !inString;
        if (!inString && c == QLatin1Char('\'')) break;
        if (!inString && c == QLatin1Char(':')) {
            out << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    out << current.trimmed();
    return out;
}

}  // namespace

bool DefinesCustomGl(const QString& code) {
    static const QRegularExpression declaration(
        QStringLiteral("^(?:(?:public|private)\\s+)?(?:default\\s+)?(?:function|sub)\\s+custom_gl\\b"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression classStart(QStringLiteral("^class\\s"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression classEnd(QStringLiteral("^end\\s+class\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression rem(QStringLiteral("^rem\\b"), QRegularExpression::CaseInsensitiveOption);
    bool inClass = false;  // a class's own Custom_GL is a method, not the formula's function
    for (const QString& line : code.split(QLatin1Char('\n'))) {
        for (const QString& statement : Statements(line)) {
            if (rem.match(statement).hasMatch()) break;
            if (inClass) {
                if (classEnd.match(statement).hasMatch()) inClass = false;
            } else if (classStart.match(statement).hasMatch()) {
                inClass = true;
            } else if (declaration.match(statement).hasMatch()) {
                return true;
            }
        }
    }
    return false;
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

}  // namespace

FormulaRunResult RunFormulaFilter(script::ScriptEngine& engine, const QString& code, pool::NumberPool& pool,
                                  QString& log, common::WorkProgress* progress) {
    FormulaRunResult result;
    const StopHook hook(engine, progress);
    if (progress) progress->setTotal(pool.size());
    pool::NumberPool work = pool;
    QString removedLog;
    const QString function = QStringLiteral("Custom_GL");
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
        args[0] = script::Variant(entry);
        script::Variant value;
        if (!engine.run(function, args, &value)) return fail(entry);
        if (value.equalsTrue()) {
            removedLog += entry + QStringLiteral("| ");
            ++result.removed;
            entry.clear();
        }
        if (progress) progress->advance();
    }
    pool::CompactSet(work);
    pool.swap(work);
    log += removedLog;
    return result;
}

QString FormulaErrorText(const FormulaRunResult& run, const QString& code) {
    QString text = ui::ScriptErrorText(run.error, code);
    if (!run.number.isEmpty()) text += QStringLiteral("\n号码 ") + run.number;
    return text;
}

}  // namespace workbench
