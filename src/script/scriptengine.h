#pragma once
// The script engine: a VBScript interpreter with the shape the workbench and the smart
// system expect (language, time limit, add code, run a procedure, reset). See README.md.
#include "errortext.h"
#include "scripthost.h"
#include "variant.h"

#include <QString>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <vector>

namespace script {

struct ScriptError {
    int number = 0;
    QString description;
    QString source;  // kCompileSource, kRuntimeSource, or the source given to Err.Raise
    int line = 0;    // 1-based line in the added text (0 when not known)
    int column = 0;  // compilation errors only
    bool isError() const { return number != 0; }
    // "description (number) - source, line n": for logs and message boxes.
    QString text() const;
};

// A run-time error as the host reads it: the engine's own source unless Err.Raise gave one.
ScriptError RuntimeScriptError(const RuntimeError& e, int line = 0);

class ScriptCondition;

class ScriptEngine {
public:
    ScriptEngine();
    ~ScriptEngine();
    ScriptEngine(const ScriptEngine&) = delete;
    ScriptEngine& operator=(const ScriptEngine&) = delete;

    // Only "VBScript" (any case) is accepted.
    bool setLanguage(const QString& language);
    QString language() const { return QStringLiteral("VBScript"); }

    // Limit of one addCode or run call in milliseconds; 0 or less means none. Default 10000.
    void setTimeout(int ms) { timeoutMs_ = ms; }
    int timeout() const { return timeoutMs_; }

    // A stop request another thread may set (not owned; null: none). A call under way ends
    // with kErrStopped within a few statements of it turning true.
    void setStopFlag(const std::atomic<bool>* flag);

    // Compiles the code into the module (a Function or Sub replaces an earlier one of the same
    // name; module variables keep their values) and runs its top-level statements. The same
    // text added again reuses its compiled form, but its top-level statements run again.
    // False with lastError() set on a compilation or run-time error; procedures of code that
    // compiled stay defined even when its top-level statements fail.
    bool addCode(const QString& code);

    // Calls a Function or Sub by name (any case). ByRef parameters bind to the elements of
    // args, so the procedure's changes are visible there afterwards.
    bool run(const QString& name, std::vector<Variant>& args, Variant* result = nullptr);
    bool run(const QString& name, std::initializer_list<Variant> args, Variant* result = nullptr);

    // A procedure looked up once, for calling many times without a name lookup. It stays
    // bound to the definition current when it was taken.
    class Procedure {
    public:
        bool isValid() const { return proc_ != nullptr; }
    private:
        friend class ScriptEngine;
        std::shared_ptr<void> proc_;
    };
    Procedure procedure(const QString& name) const;
    bool call(const Procedure& p, std::vector<Variant>& args, Variant* result = nullptr);

    // Forgets every definition and variable.
    void reset();

    // Where MsgBox and InputBox go (not owned; null: no window, the defaults answer).
    void setHost(ScriptHost* host);

    const ScriptError& lastError() const { return error_; }

private:
    friend class ScriptCondition;
    struct Impl;
    std::unique_ptr<Impl> d_;
    int timeoutMs_ = 10000;
    ScriptError error_;

    template <class F>
    bool guarded(F&& body);
    bool callOne(const Procedure& p, Variant& arg, Variant* result);
};

// What one walk over a condition's tokens, as the wrapper places it, says of it (see
// ScriptCondition::isPure and mayTalk). A text no token can start with compiles to nothing
// that runs: neither pure nor talking.
struct ConditionTraits {
    bool pure = false;
    bool mayTalk = false;
};
ConditionTraits ReadConditionTraits(const QString& condition);

// A scheme condition compiled once and evaluated over many count series. Each evaluation
// behaves like a fresh engine given the wrapped condition: nothing carries over.
class ScriptCondition {
public:
    // The seven lines around a condition: Function ReGS2 ( a() ) ... End Function.
    static QString wrap(const QString& condition);

    ScriptCondition();
    void setTimeout(int ms) { engine_.setTimeout(ms); }
    void setStopFlag(const std::atomic<bool>* flag) { engine_.setStopFlag(flag); }

    bool compile(const QString& condition);
    bool isCompiled() const { return proc_.isValid(); }
    // The compiled condition is a plain expression over its series that reads nothing else:
    // the series, numbers, strings, operators and built-in functions without a state or a
    // world of their own (no Rnd, Now, boxes, Execute/Eval, variables, objects or statements).
    // Its result then depends on the series' values alone, so a host may keep it per series.
    bool isPure() const { return traits_.pure; }
    // The condition names a built-in that shows a box or runs code of its own making (MsgBox,
    // InputBox, Execute, ExecuteGlobal, Eval): a host runs it where the window can answer.
    bool mayTalk() const { return traits_.mayTalk; }
    // Calls ReGS2(series) with the series (an array, usually bounds 0..T) bound ByRef as a();
    // result is what it returns (1 or 0 for the wrapper). False with lastError() set on an
    // error (memory that ran out too: error 7, and what the evaluation stored in the module
    // is dropped before it returns). The array's elements may be changed in place between
    // evaluations.
    bool evaluate(Variant& series, Variant* result);

    const ScriptError& lastError() const { return engine_.lastError(); }
    void setHost(ScriptHost* host) { engine_.setHost(host); }

private:
    // Module variables back to their values after compiling.
    void restoreModule();

    ScriptEngine engine_;
    ScriptEngine::Procedure proc_;
    ConditionTraits traits_;
};

}  // namespace script
