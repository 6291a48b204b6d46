#pragma once
// Compiled form of a script: a tree with names resolved to vars. The state it runs against is
// in interp.h. Internal to the engine.
#include "ops.h"
#include "variant.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace script {

struct Interp;
struct Global;
struct Proc;
struct ClassDef;
struct Instance;

// Error raised by the compiler: number, text and position.
struct CompileError {
    int number;
    QString description;
    int line;
    int column;
};

// Arrays whose elements are bound to ByRef parameters of a running call: kept alive and
// locked against ReDim until the call returns.
// Most calls pin nothing: the list is made by the first pin.
struct ArrayPins {
    std::unique_ptr<std::vector<std::shared_ptr<ArrayData>>> arrays;
    void pin(const std::shared_ptr<ArrayData>& a) {
        if (!arrays)
            arrays = std::make_unique<std::vector<std::shared_ptr<ArrayData>>>();
        arrays->push_back(a);
        ++a->pins;
    }
    // Unpins the arrays.
    void release() {
        if (arrays) [[unlikely]]
            releaseAll();
    }
    void releaseAll() {
        for (auto& a : *arrays)
            --a->pins;
        arrays.reset();
    }
    ~ArrayPins() { release(); }
};

// A name used in code: a local slot, or a module-level name found at run time.
struct NameRef {
    QString name;
    QString key;        // lower case
    bool local = false; // declared in the procedure (parameter, Dim, ReDim, Const, result)
    bool returnSlot = false;
    bool constant = false;
    bool strict = false;  // its text says Option Explicit: undeclared, it is error 500
    // A constant of the text's own module level: the text reads its value even after another
    // text declares a variable of that name.
    bool folded = false;
    Variant value;
    int slot = -1;      // local slot; for a module-level name inside a procedure, the implicit local
    int member = -1;    // inside a class: the member of the running method's own object
    // cache of the module lookup (an entry of Interp::globals, which never moves)
    uint64_t gen = ~uint64_t(0);
    int global = -1;
    Global* entry = nullptr;
};

struct Expr {
    int line = 0;
    int height = 1;  // of the subtree; bounded so evaluation and destruction stay shallow
    // What the node is, for hot paths that skip a virtual call: a literal, a bare name
    // (NameExpr), name(args) (CallExpr), a comparison, an arithmetic or logical operator
    // (BinaryExpr) or anything else. Only names give byRef() storage.
    enum Kind : uint8_t { Other, Literal, Name, Call, Compare, Binary };
    Kind kind = Other;
    // peek() may give a value (cleared when a node finds it never will).
    bool peeks = false;
    bool refable() const { return kind == Name || kind == Call; }
    virtual ~Expr() = default;
    virtual Variant eval(Interp& I) = 0;
    // The storage the expression names (for ByRef binding), or nullptr.
    virtual Variant* byRef(Interp&, ArrayPins&) { return nullptr; }
    // The storage for an assignment; throws when the expression cannot be assigned.
    virtual Variant* lvalue(Interp&);
    // Literals are "hard typed" in comparisons.
    virtual bool isHard() const { return false; }
    // Whether the value counts as true where a condition wants it (If, While, Until).
    virtual bool truth(Interp& I) { return eval(I).isTrue(); }
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
    bool localArrays = false;        // either of the two is not empty
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
