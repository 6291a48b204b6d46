#pragma once
// Expression and statement nodes of the compiled tree. Internal to the engine.
#include "builtins.h"
#include "interp.h"

namespace script {

struct LiteralExpr : Expr {
    LiteralExpr() {
        kind = Literal;
        peeks = true;
    }
    Variant value;
    bool hard = true;
    Variant eval(Interp&) override { return value; }
    bool isHard() const override { return hard; }
    const Variant* peek(Interp&) override { return &value; }
};

struct ParenExpr : Expr {
    ExprP inner;
    Variant eval(Interp& I) override { return inner->eval(I); }
    bool isHard() const override { return inner->isHard(); }
};

// A bare name: a variable, a constant, or a Function called without arguments.
struct NameExpr : Expr {
    NameExpr() {
        kind = Name;
        peeks = true;
    }
    NameRef ref;
    Variant eval(Interp& I) override;
    Variant* byRef(Interp& I, ArrayPins&) override;
    Variant* lvalue(Interp& I) override;
    const Variant* peek(Interp& I) override;
    void store(Interp& I, Variant v, bool set) override;
};

// name(args): an array element or a call of a Function or Sub.
struct CallExpr : Expr {
    CallExpr() {
        kind = Call;
        peeks = true;
    }
    NameRef ref;
    std::vector<ExprP> args;
    Variant eval(Interp& I) override;
    Variant* byRef(Interp& I, ArrayPins& pins) override;
    Variant* lvalue(Interp& I) override;
    const Variant* peek(Interp& I) override;  // an element of a local array
    void store(Interp& I, Variant v, bool set) override;
};

// An operand's value read in place (Expr::peek), without a virtual call for the common
// operands: a literal and a local variable.
inline const Variant* PeekOperand(Expr& e, Interp& I) {
    if (e.kind == Expr::Literal)
        return &static_cast<LiteralExpr&>(e).value;
    if (e.kind == Expr::Name) {
        const NameRef& r = static_cast<NameExpr&>(e).ref;
        if (r.local)
            return I.frame->vars[r.slot];
    }
    return e.peeks ? e.peek(I) : nullptr;
}

// value(args) where value is not a name, e.g. Array(1, 2)(0) or a(1)(2).
struct IndexExpr : Expr {
    ExprP base;
    std::vector<ExprP> args;
    Variant eval(Interp& I) override;
    void store(Interp& I, Variant v, bool set) override;  // a(0)(1) = v changes a in place
};

struct BuiltinExpr : Expr {
    const Builtin* fn = nullptr;
    QString name;  // as written
    bool badCount = false;  // called with the wrong number of arguments: error 450
    bool statement = false; // a conversion called as a statement: error 458
    bool noValue = false;   // a statement-only built-in (Randomize) used as a value: error 13
    std::vector<ExprP> args;
    Variant eval(Interp& I) override;
    Variant* lvalue(Interp&) override { Throw(13); }  // Array(1) = x
};


struct ErrMemberExpr : Expr {
    enum Member { Number, Description, Source, HelpFile, HelpContext, Unknown } member = Number;
    Variant eval(Interp& I) override;
};

struct UnaryExpr : Expr {
    enum Op { Neg, Not } op = Neg;
    ExprP e;
    Variant eval(Interp& I) override;
};

struct BinaryExpr : Expr {
    BinaryExpr() { kind = Binary; }
    enum Op { Add, Sub, Mul, Div, IntDiv, Mod, Pow, Concat, And, Or, Xor, Eqv, Imp } op = Add;
    ExprP l, r;
    Variant eval(Interp& I) override;
    Variant apply(const Variant& a, const Variant& b) const;
};

struct CompareExpr : Expr {
    CompareExpr() { kind = Compare; }
    enum Op { Eq, Ne, Lt, Gt, Le, Ge } op = Eq;
    ExprP l, r;
    Variant eval(Interp& I) override;
    bool truth(Interp& I) override;
    Variant apply(const Variant& a, const Variant& b) const;
    bool holds(int32_t a, int32_t b) const;
};

// ---- statements ----------------------------------------------------------------------

struct AssignStmt : Stmt {
    ExprP target, value;
    bool arrayVariable = false;  // the target was declared as an array: error 13
    NameExpr* name = nullptr;    // the target when it is a bare name (a local is stored in place)
    CallExpr* element = nullptr; // the target when it is name(args) (an element stored in place)
    Flow exec(Interp& I) override;
};

// s = s & x [& y ...] (at most four parts): appends in place; see OptimizeAssign.
struct AppendStmt : Stmt {
    std::unique_ptr<AssignStmt> whole;  // owns the nodes below
    Expr* target = nullptr;
    Expr* head = nullptr;               // the variable read on the right
    std::vector<Expr*> tail;            // the parts appended, in order
    Flow exec(Interp& I) override;
};
// The assignment, or its in-place append form when it has the shape s = s & ...
StmtP OptimizeAssign(std::unique_ptr<AssignStmt> s);

struct CallStmt : Stmt {
    ExprP call;
    Flow exec(Interp& I) override;
};

struct IfStmt : Stmt {
    std::vector<ExprP> conds;
    std::vector<Block> blocks;
    Block elseBlock;
    Flow exec(Interp& I) override;
};

struct ForStmt : Stmt {
    ExprP var, from, to, step;
    Block body;
    Flow exec(Interp& I) override;
};

struct ForEachStmt : Stmt {
    ExprP var, group;
    Block body;
    Flow exec(Interp& I) override;
};

struct DoStmt : Stmt {
    enum Test { None, Pre, Post } test = None;
    bool until = false;
    ExprP cond;
    Block body;
    Flow exec(Interp& I) override;
};

struct SelectStmt : Stmt {
    ExprP subject;
    struct Case {
        std::vector<ExprP> values;
        Block body;
    };
    std::vector<Case> cases;
    bool hasElse = false;
    Block elseBody;
    Flow exec(Interp& I) override;
};

struct ExitStmt : Stmt {
    Flow flow = Flow::ExitProc;
    Flow exec(Interp&) override { return flow; }
};

// Module-level Dim: declares the names (keeping values of names that already exist).
struct DimStmt : Stmt {
    struct Item {
        QString name;
        bool hasBounds = false;
        bool dynamicArray = false;  // Dim a()
        std::vector<int32_t> bounds;
    };
    std::vector<Item> items;
    Flow exec(Interp& I) override;
};

// The value of a variable declared Dim a(): an array without dimensions until ReDim.
Variant UndimensionedArray();

struct ReDimStmt : Stmt {
    bool preserve = false;
    struct Item {
        ExprP target;  // NameExpr
        std::vector<ExprP> bounds;
    };
    std::vector<Item> items;
    Flow exec(Interp& I) override;
};

struct EraseStmt : Stmt {
    ExprP target;
    Flow exec(Interp& I) override;
};

struct ConstStmt : Stmt {
    NameRef ref;       // local when inside a procedure
    bool module = false;
    ExprP value;
    Flow exec(Interp& I) override;
};

struct OnErrorStmt : Stmt {
    bool resumeNext = false;
    Flow exec(Interp& I) override;
};

struct ErrRaiseStmt : Stmt {
    std::vector<ExprP> args;
    Flow exec(Interp& I) override;
};

// Err.Number = n, Err.Description = "..." and the other properties.
struct ErrAssignStmt : Stmt {
    ErrMemberExpr::Member member = ErrMemberExpr::Number;
    ExprP value;
    Flow exec(Interp& I) override;
};

struct ErrClearStmt : Stmt {
    Flow exec(Interp& I) override {
        I.clearErr();
        return Flow::Normal;
    }
};

}  // namespace script
