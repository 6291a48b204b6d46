#pragma once
// Compiled form of a script (a tree with names resolved to vars) and the interpreter state
// it runs against. Internal to the engine.
#include "ops.h"
#include "variant.h"

#include <QHash>
#include <QString>

#include <chrono>
#include <deque>
#include <memory>
#include <vector>

namespace script {

struct Interp;
struct Proc;

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
};

struct Program {
    std::vector<std::shared_ptr<Proc>> procs;
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
};

// Rnd's generator state in a new engine.
constexpr uint32_t kRndStart = 0x50000;

struct Interp {
    std::deque<Global> globals;
    QHash<QString, int> globalIndex;
    uint64_t generation = 0;
    bool optionExplicit = false;
    bool globalsDirty = false;

    Frame topFrame;
    Frame* frame = &topFrame;
    int curLine = 0;

    // Err object
    int errNumber = 0;
    QString errDescription;
    QString errSource;

    // Rnd's generator: each engine has its own
    uint32_t rndState = kRndStart;

    // limits
    std::chrono::steady_clock::time_point deadline;
    bool hasDeadline = false;
    unsigned ticks = 0;
    const char* stackBase = nullptr;

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
        if ((++ticks & 63) == 0 && hasDeadline)
            checkDeadline();
    }
    void checkDeadline();
    void checkStack();

    void setErr(const RuntimeError& e);
    void clearErr() {
        errNumber = 0;
        errDescription.clear();
        errSource.clear();
    }

    // Calls a procedure with argument expressions evaluated in the current frame.
    Variant call(Proc& p, std::vector<ExprP>& args);
    // Calls a procedure with host values; ByRef parameters bind to the given variants.
    Variant callWithValues(Proc& p, Variant* args, size_t n);
    Flow execBlock(const Block& b);
    Variant runBody(Proc& p, Variant** vars, Variant* storage);
};

// Builtin functions, looked up by lower-case name at compile time.
struct BuiltinInfo {
    int id;
    int minArgs;
    int maxArgs;  // -1: any
};
const BuiltinInfo* FindBuiltin(const QString& key);
Variant CallBuiltin(Interp& I, int id, std::vector<Variant>& args);
// Date and time functions, Rnd and Randomize (ids from 1000; datetime.cpp).
const BuiltinInfo* FindDateBuiltin(const QString& key);
Variant CallDateBuiltin(Interp& I, int id, std::vector<Variant>& args);
// Constants such as vbCrLf; false when the name is none.
bool FindConstant(const QString& key, Variant* value);
// Names the engine deliberately does not provide (objects, Eval, dates); empty when allowed.
QString UnsupportedReason(const QString& key);

// Index of an element for the given subscripts; throws Subscript out of range.
size_t ElementOffset(const ArrayData& a, const int32_t* idx, size_t n);

// Parses code into a program; throws CompileError.
std::shared_ptr<Program> Compile(const QString& code);

}  // namespace script
