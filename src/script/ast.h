#pragma once
// Compiled form of a script (a tree with names resolved to vars) and the interpreter state
// it runs against. Internal to the engine.
#include "ops.h"
#include "variant.h"

#include <QHash>
#include <QString>

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <vector>

namespace script {

struct Interp;
struct Proc;
struct ClassDef;
struct Instance;
struct InterpHandle;
class ScriptHost;

// Error raised by the compiler: number, text and position.
struct CompileError {
    int number;
    QString description;
    int line;
    int column;
};

// Arrays whose elements are bound to ByRef parameters of a running call: kept alive and
// locked against ReDim until the call returns.
struct ArrayPins {
    std::vector<std::shared_ptr<ArrayData>> arrays;
    void pin(const std::shared_ptr<ArrayData>& a) {
        ++a->pins;
        arrays.push_back(a);
    }
    ~ArrayPins() {
        for (auto& a : arrays)
            --a->pins;
    }
};

// A name used in code: a local slot, or a module-level name found at run time.
struct NameRef {
    QString name;
    QString key;        // lower case
    bool local = false; // declared in the procedure (parameter, Dim, ReDim, Const, result)
    bool returnSlot = false;
    bool constant = false;
    int slot = -1;      // local slot; for a module-level name inside a procedure, the implicit local
    int member = -1;    // inside a class: the member of the running method's own object
    // cache of the module lookup
    uint64_t gen = ~uint64_t(0);
    int global = -1;
};

struct Expr {
    int line = 0;
    int height = 1;  // of the subtree; bounded so evaluation and destruction stay shallow
    virtual ~Expr() = default;
    virtual Variant eval(Interp& I) = 0;
    // The storage the expression names (for ByRef binding), or nullptr.
    virtual Variant* byRef(Interp&, ArrayPins&) { return nullptr; }
    // The storage for an assignment; throws when the expression cannot be assigned.
    virtual Variant* lvalue(Interp&);
    // Literals are "hard typed" in comparisons.
    virtual bool isHard() const { return false; }
    // The value without copying it when reading it has no effect (a literal or a variable),
    // else nullptr and the caller evaluates.
    virtual const Variant* peek(Interp&) { return nullptr; }
    // Assignment (`set`: Set, the value must be an object); by default through lvalue().
    virtual void store(Interp& I, Variant v, bool set);
};
using ExprP = std::unique_ptr<Expr>;

enum class Flow { Normal, ExitFor, ExitDo, ExitProc };

struct Stmt {
    int line = 0;
    virtual ~Stmt() = default;
    virtual Flow exec(Interp& I) = 0;
};
using StmtP = std::unique_ptr<Stmt>;
using Block = std::vector<StmtP>;

struct Proc {
    QString name;
    bool isFunction = false;
    struct Param {
        QString name;
        bool byVal = false;
    };
    std::vector<Param> params;
    int slotCount = 0;
    int returnSlot = -1;
    std::vector<std::pair<int, std::vector<int32_t>>> fixedArrays;
    std::vector<int> dynamicArrays;  // Dim a(): an array with no elements yet
    Block body;
    QHash<QString, int> localNames;  // lower case -> slot, for code run by Execute and Eval
    QHash<QString, int> implicitNames;  // undeclared names: the module's variable, else this slot
    ClassDef* owner = nullptr;       // the class of a method
};

struct Program {
    std::vector<std::shared_ptr<Proc>> procs;
    std::vector<std::shared_ptr<ClassDef>> classes;
    ExprP value;  // Eval's expression
    Block top;
    bool optionExplicit = false;
};

struct Global {
    QString name;
    Variant value;
    std::shared_ptr<Proc> proc;  // set when the name is a Function or Sub
    bool constant = false;
};

struct Frame {
    Variant** vars = nullptr;
    Proc* proc = nullptr;
    bool resumeNext = false;
    Instance* self = nullptr;  // the object a method runs for
    size_t withBase = 0;       // first With object of this call in Interp::withStack
};

// The local variables of the running calls, kept off the machine stack so deep recursion
// stays cheap there: chunks that never move, handed out and given back last-in first-out.
struct SlotStack {
    static constexpr size_t kChunk = 1024;
    struct Chunk {
        std::unique_ptr<Variant[]> vars;
        std::unique_ptr<Variant*[]> ptrs;
        size_t size = 0;
    };
    std::vector<Chunk> chunks;
    size_t chunk = 0;  // the chunk in use
    size_t used = 0;   // its slots in use
};

// Rnd's generator state in a new engine.
constexpr uint32_t kRndStart = 0x50000;
// The locale id of a Chinese (PRC) system.
constexpr int32_t kSystemLocale = 2052;

struct Interp {
    Interp();
    ~Interp();
    Interp(const Interp&) = delete;
    Interp& operator=(const Interp&) = delete;

    std::deque<Global> globals;
    QHash<QString, int> globalIndex;
    uint64_t generation = 0;
    bool optionExplicit = false;
    bool globalsDirty = false;

    SlotStack localSlots;
    Frame topFrame;
    Frame* frame = &topFrame;
    int curLine = 0;

    // Err object
    int errNumber = 0;
    QString errDescription;
    QString errSource;
    QString errHelpFile;
    int32_t errHelpContext = 0;

    // SetLocale's setting (formatting always follows the Chinese system's)
    int32_t locale = kSystemLocale;

    // Rnd's generator: each engine has its own
    uint32_t rndState = kRndStart;

    // limits
    std::chrono::steady_clock::time_point deadline;
    bool hasDeadline = false;
    // The host's stop request (not owned): when it turns true the running call ends.
    const std::atomic<bool>* stopFlag = nullptr;
    unsigned ticks = 0;
    // Lowest stack address script code may reach on the running thread (StackLimitHere()).
    const char* stackLimit = nullptr;
    int running = 0;  // host calls (addCode, run) in progress
    int executing = 0;  // Execute / ExecuteGlobal code in progress
    // The first error of a Class_Terminate run by a release: raised by the statement that
    // released the object, once the release is over.
    bool releaseFailed = false;
    RuntimeError releaseError{0, QString()};
    // A release made by the host between its calls: one time limit for all it sets off.
    unsigned outsideRelease = 0;
    std::chrono::steady_clock::time_point outsideDeadline;
    void raiseReleaseError();

    // objects
    QHash<QString, std::shared_ptr<ClassDef>> classes;  // lower-case name
    std::vector<Variant> withStack;
    std::shared_ptr<InterpHandle> handle;
    std::vector<std::weak_ptr<ObjectBase>> objects;  // every object made, for breaking cycles
    size_t objectsPruned = 0;
    ScriptHost* host = nullptr;
    // Code compiled by Execute/Eval, by text and the procedure it ran in.
    struct DynamicCode {
        std::shared_ptr<Program> prog;
        std::shared_ptr<void> context;  // keeps the context's address from being reused
    };
    QHash<QPair<QString, const void*>, DynamicCode> dynamicCache;
    // Releases every object the module holds (Class_Terminate runs while the engine is whole).
    void releaseObjects();
    void registerProgram(const Program& prog);

    int findGlobal(NameRef& r) {
        if (r.gen == generation)
            return r.global;
        auto it = globalIndex.constFind(r.key);
        r.global = it == globalIndex.constEnd() ? -1 : *it;
        r.gen = generation;
        return r.global;
    }
    int findGlobal(const QString& key) const {
        auto it = globalIndex.constFind(key);
        return it == globalIndex.constEnd() ? -1 : *it;
    }
    int declareGlobal(const QString& name);

    void tick() {
        if ((++ticks & 63) == 0 && (hasDeadline || stopFlag))
            checkDeadline();
    }
    void checkDeadline();
    void checkStack() {
        if (static_cast<const char*>(__builtin_frame_address(0)) < stackLimit)
            stackOverflow();
    }
    [[noreturn]] void stackOverflow();

    void setErr(const RuntimeError& e);
    // Runs a block header's evaluation (an If condition, loop bounds, a Select subject, a
    // With object). Under On Error Resume Next an error there is recorded and the statement
    // goes on with its block's first statement, as the language does: returns false then.
    template <class F>
    bool header(F&& evaluate) {
        if (!frame->resumeNext) {
            evaluate();
            return true;
        }
        try {
            evaluate();
            return true;
        } catch (const RuntimeError& e) {
            if (e.fatal)
                throw;
            setErr(e);
            return false;
        }
    }
    void clearErr() {
        errNumber = 0;
        errDescription.clear();
        errSource.clear();
        errHelpFile.clear();
        errHelpContext = 0;
    }

    // Calls a procedure with argument expressions evaluated in the current frame.
    Variant call(Proc& p, std::vector<ExprP>& args, Instance* self = nullptr);
    // Calls a procedure with host values; ByRef parameters bind to the given variants.
    Variant callWithValues(Proc& p, Variant* args, size_t n, Instance* self = nullptr);
    Flow execBlock(const Block& b);
};

// The stack limit for script code started here on the calling thread: the thread's real stack
// less a reserve for the engine's own work below the last check.
const char* StackLimitHere();

// Builtin functions, looked up by lower-case name at compile time.
struct BuiltinInfo {
    int id;
    int minArgs;
    int maxArgs;  // -1: any
};
const BuiltinInfo* FindBuiltin(const QString& key);
// The entry for `key` in one of the built-in tables, or null.
inline const BuiltinInfo* FindIn(const QHash<QString, BuiltinInfo>& table, const QString& key) {
    auto it = table.constFind(key);
    return it == table.constEnd() ? nullptr : &*it;
}
// A whole-number argument (a count, a position, a code) as CLng reads it; Null is error 94.
inline int32_t IntArgument(const Variant& v) {
    if (v.isNull())
        Throw(94);
    return v.toLong();
}
// A compare-mode argument at a[i] (absent: binary): 0 binary, 1 text, else error 5.
Qt::CaseSensitivity CompareMode(const std::vector<Variant>& a, size_t i);
Variant CallBuiltin(Interp& I, int id, std::vector<Variant>& args);
// Date and time functions, Rnd and Randomize (ids from 1000; datefunctions.cpp).
const BuiltinInfo* FindDateBuiltin(const QString& key);
Variant CallDateBuiltin(Interp& I, int id, std::vector<Variant>& args);
// FormatNumber, FormatCurrency, FormatPercent and CCur (ids from 3000; format.cpp).
const BuiltinInfo* FindFormatBuiltin(const QString& key);
Variant CallFormatBuiltin(Interp& I, int id, std::vector<Variant>& args);
// Filter, Escape/Unescape and the byte string functions (ids from 4000; bytetext.cpp).
const BuiltinInfo* FindTextBuiltin(const QString& key);
Variant CallTextBuiltin(Interp& I, int id, std::vector<Variant>& args);
// Constants such as vbCrLf; false when the name is none.
bool FindConstant(const QString& key, Variant* value);
// Names the engine deliberately does not provide (objects, Eval, dates); empty when allowed.
QString UnsupportedReason(const QString& key);

// Index of an element for the given subscripts; throws Subscript out of range.
size_t ElementOffset(const ArrayData& a, const int32_t* idx, size_t n);

// Parses code into a program; throws CompileError.
std::shared_ptr<Program> Compile(const QString& code);
// Code compiled for Execute (statements) or Eval (one expression, as the program's only top
// statement's value): names of `context`'s locals and its class's members are visible.
struct DynamicContext {
    const Proc* proc = nullptr;
    bool expression = false;
};
std::shared_ptr<Program> CompileDynamic(const QString& code, const DynamicContext& ctx);

}  // namespace script
