#include "scriptengine.h"

#include "builtins.h"
#include "lexer.h"
#include "objects.h"


#include <new>

namespace script {

namespace {
// Compiled texts kept for reuse; beyond this the cache starts over.
constexpr int kMaxCachedPrograms = 256;
}  // namespace

QString ScriptError::text() const {
    QString s = QStringLiteral("%1 (%2) - %3").arg(description).arg(number).arg(source);
    if (line > 0)
        s += QStringLiteral("，第 %1 行").arg(line);
    return s;
}

ScriptError RuntimeScriptError(const RuntimeError& e, int line) {
    ScriptError s;
    s.number = e.number;
    s.description = e.description;
    s.source = e.source.isEmpty() ? kRuntimeSource : e.source;
    s.line = line;
    return s;
}

struct ScriptEngine::Impl {
    Interp I;
    QHash<QString, std::shared_ptr<Program>> cache;
    // Snapshot of module values for ScriptCondition's fresh-engine behaviour.
    std::vector<Variant> saved;
    uint32_t savedRnd = 0;
};

ScriptEngine::ScriptEngine() : d_(std::make_unique<Impl>()) {
    KeepMemoryReserve();
}
ScriptEngine::~ScriptEngine() = default;

void ScriptEngine::setStopFlag(const std::atomic<bool>* flag) {
    d_->I.stopFlag = flag;
}

bool ScriptEngine::setLanguage(const QString& language) {
    return language.compare(QLatin1String("VBScript"), Qt::CaseInsensitive) == 0;
}

template <class F>
bool ScriptEngine::guarded(F&& body) {
    Interp& I = d_->I;
    // The outermost call starts with the memory reserve's flag clear and, unless memory ran
    // out, ends holding the reserve back again (a call that ran out leaves it for the next).
    struct Running {
        Interp& I;
        explicit Running(Interp& i) : I(i) {
            if (++I.running == 1)
                I.ranOutOfMemory = false;
        }
        ~Running() {
            if (I.running == 1 && !I.ranOutOfMemory)
                KeepMemoryReserve();
            --I.running;
        }
    } running(I);
    error_ = ScriptError();
    I.clearErr();
    I.releaseFailed = false;
    I.frame = &I.topFrame;
    I.topFrame.resumeNext = false;
    I.curLine = 0;
    I.stackLimit = StackLimitHere();
    I.hasDeadline = timeoutMs_ > 0;
    I.pendingTimeoutMs = I.hasDeadline ? timeoutMs_ : -1;
    try {
        if (I.stopFlag)
            I.checkDeadline();  // a call asked to stop before it began does not begin
        body();
        // A terminate run as the call's last locals went failed.
        if (I.releaseFailed)
            I.raiseReleaseError();
        return true;
    } catch (const CompileError& e) {
        error_.number = e.number;
        error_.description = e.description;
        error_.source = kCompileSource;
        error_.line = e.line;
        error_.column = e.column;
    } catch (const RuntimeError& e) {
        error_ = RuntimeScriptError(e, I.curLine);
    } catch (const std::bad_alloc&) {
        error_ = RuntimeScriptError(I.outOfMemory(), I.curLine);
    }
    I.releaseFailed = false;
    I.frame = &I.topFrame;
    return false;
}

bool ScriptEngine::addCode(const QString& code) {
    return guarded([&] {
        Interp& I = d_->I;
        std::shared_ptr<Program> prog;
        auto it = d_->cache.constFind(code);
        if (it != d_->cache.constEnd()) {
            prog = *it;
        } else {
            prog = Compile(code);
            if (d_->cache.size() >= kMaxCachedPrograms)
                d_->cache.clear();
            d_->cache.insert(code, prog);
        }
        I.registerProgram(*prog);
        I.execBlock(prog->top);
    });
}

bool ScriptEngine::run(const QString& name, std::vector<Variant>& args, Variant* result) {
    Procedure p = procedure(name);
    if (!p.isValid()) {
        error_ = ScriptError();
        error_.number = 35;
        error_.description = ErrorDescription(35) + QStringLiteral(": '%1'").arg(name);
        error_.source = kRuntimeSource;
        return false;
    }
    return call(p, args, result);
}

bool ScriptEngine::run(const QString& name, std::initializer_list<Variant> args, Variant* result) {
    std::vector<Variant> v(args);
    return run(name, v, result);
}

ScriptEngine::Procedure ScriptEngine::procedure(const QString& name) const {
    Procedure p;
    const int g = d_->I.findGlobal(name.toLower());
    if (g >= 0)
        p.proc_ = d_->I.globals[size_t(g)].proc;
    return p;
}

bool ScriptEngine::call(const Procedure& p, std::vector<Variant>& args, Variant* result) {
    if (!p.isValid()) {
        error_ = ScriptError();
        error_.number = 35;
        error_.description = ErrorDescription(35);
        error_.source = kRuntimeSource;
        return false;
    }
    std::shared_ptr<void> keep = p.proc_;
    Proc& proc = *static_cast<Proc*>(keep.get());
    return guarded([&] {
        Variant r = d_->I.callWithValues(proc, args.data(), args.size());
        if (result)
            *result = std::move(r);
    });
}

bool ScriptEngine::callOne(const Procedure& p, Variant& arg, Variant* result) {
    if (!p.isValid()) {
        error_ = ScriptError();
        error_.number = 35;
        error_.description = ErrorDescription(35) + QStringLiteral(": 'ReGS2'");
        error_.source = kRuntimeSource;
        return false;
    }
    std::shared_ptr<void> keep = p.proc_;
    Proc& proc = *static_cast<Proc*>(keep.get());
    return guarded([&] {
        Variant r = d_->I.callWithValues(proc, &arg, 1);
        if (result)
            *result = std::move(r);
    });
}

void ScriptEngine::setHost(ScriptHost* host) {
    d_->I.host = host;
}

void ScriptEngine::reset() {
    Interp& I = d_->I;
    d_->saved.clear();
    I.releaseObjects();
    I.classes.clear();
    d_->cache.clear();
    I.globals.clear();
    I.globalIndex.clear();
    ++I.generation;
    I.clearErr();
    I.globalsDirty = false;
    I.rndState = kRndStart;
    I.locale = kSystemLocale;
    d_->saved.clear();
}

// ---- ScriptCondition -----------------------------------------------------------------

QString ScriptCondition::wrap(const QString& condition) {
    const QString nl = QStringLiteral("\r\n");
    return QStringLiteral("Function ReGS2 ( a() )") + nl + QStringLiteral(" If ") + condition +
           QStringLiteral(" then") + nl + QStringLiteral("  ReGS2 = 1 ") + nl + QStringLiteral("    Else") + nl +
           QStringLiteral("        ReGS2 = 0") + nl + QStringLiteral("    End If") + nl +
           QStringLiteral("End Function") + nl;
}

ScriptCondition::ScriptCondition() = default;

namespace {
// Tokens a pure condition may hold besides names: literals, parentheses, commas, operators and
// a Then that only a comment follows (the scheme records close the If themselves).
bool IsPureToken(const std::vector<Token>& tokens, size_t i) {
    switch (tokens[i].kind) {
    case T::Then:
        return i + 1 < tokens.size() && tokens[i + 1].kind == T::Eof;
    case T::Eof: case T::Number: case T::Str: case T::LParen: case T::RParen: case T::Comma:
    case T::Plus: case T::Minus: case T::Star: case T::Slash: case T::Backslash: case T::Caret:
    case T::Amp: case T::Eq: case T::Ne: case T::Lt: case T::Gt: case T::Le: case T::Ge:
    case T::And: case T::Or: case T::Not: case T::Xor: case T::Eqv: case T::Imp: case T::Mod:
    case T::True: case T::False: case T::Empty: case T::Null:
        return true;
    default:  // statements, line ends, objects, Me, New...
        return false;
    }
}
}  // namespace

ConditionTraits ReadConditionTraits(const QString& condition) {
    std::vector<Token> tokens;
    try {
        tokens = Tokenize(condition);
    } catch (...) {
        return {};
    }
    ConditionTraits traits{true, false};
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != T::Ident) {
            traits.pure = traits.pure && IsPureToken(tokens, i);
            continue;
        }
        // The built-in table says which functions are pure and which talk; "a" is the series.
        const QString name = tokens[i].text.toLower();
        const Builtin* builtin = FindBuiltin(name);
        traits.mayTalk = traits.mayTalk || (builtin && builtin->talks);
        traits.pure = traits.pure && (name == QLatin1String("a") || (builtin && builtin->pure));
    }
    return traits;
}

bool ScriptCondition::compile(const QString& condition) {
    engine_.reset();
    proc_ = ScriptEngine::Procedure();
    traits_ = ReadConditionTraits(condition);
    if (!engine_.addCode(wrap(condition)))
        return false;
    proc_ = engine_.procedure(QStringLiteral("ReGS2"));
    if (!proc_.isValid()) {
        // The condition text closed the wrapper's function early and left no ReGS2.
        engine_.error_ = ScriptError();
        engine_.error_.number = 35;
        engine_.error_.description = ErrorDescription(35) + QStringLiteral(": 'ReGS2'");
        engine_.error_.source = kRuntimeSource;
        return false;
    }
    auto& d = *engine_.d_;
    d.saved.clear();
    for (const Global& g : d.I.globals)
        d.saved.push_back(g.value);
    d.savedRnd = d.I.rndState;
    d.I.globalsDirty = false;
    return true;
}

void ScriptCondition::restoreModule() {
    auto& d = *engine_.d_;
    if (d.I.globalsDirty) {
        for (size_t i = 0; i < d.I.globals.size(); ++i)
            d.I.globals[i].value = i < d.saved.size() ? d.saved[i] : Variant();
        d.I.globalsDirty = false;
    }
}

bool ScriptCondition::evaluate(Variant& series, Variant* result) {
    auto& d = *engine_.d_;
    // Module variables changed by an earlier evaluation: back to the state after compiling.
    restoreModule();
    d.I.rndState = d.savedRnd;  // Rnd starts where a fresh engine's would
    d.I.locale = kSystemLocale;
    if (engine_.callOne(proc_, series, result))
        return true;
    // What a failed evaluation stored in the module goes at once: a condition that filled the
    // memory gives it back before its failure is shown.
    restoreModule();
    return false;
}

}  // namespace script
