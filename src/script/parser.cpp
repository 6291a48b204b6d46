// Parser: tokens -> Program with names resolved to slots.
#include "lexer.h"
#include "objects.h"

#include <QSet>

namespace script {

namespace {

[[noreturn]] void fail(int number, const QString& desc, int line, int col) {
    throw CompileError{number, desc, line, col};
}

QString compileText(int n) { return ErrorDescription(n); }

// ---- parser --------------------------------------------------------------------------

constexpr int kMaxNesting = 200;
constexpr int kMaxHeight = 1000;

struct Scope {
    Proc* proc = nullptr;  // null at module level
    QHash<QString, int> locals;
    QHash<QString, bool> constants;
    std::vector<NameRef*> refs;
    int loopFor = 0, loopDo = 0;
    QSet<QString> arrays;  // declared as arrays: Dim a(9), Dim a()
    int withDepth = 0;
    bool property = false;       // a Property procedure (Exit Property)
    ClassDef* cls = nullptr;     // members visible by name inside a class
    const Proc* outer = nullptr; // code run by Execute/Eval: the procedure it runs in
    Block consts;                // Const statements: they take effect before any other statement
};

class Parser {
public:
    explicit Parser(std::vector<Token> toks) : t_(std::move(toks)) {}

    std::shared_ptr<Program> program(const DynamicContext* ctx = nullptr) {
        auto prog = std::make_shared<Program>();
        prog_ = prog.get();
        Scope module;
        scope_ = &module;
        if (ctx && ctx->proc) {
            module.outer = ctx->proc;
            module.cls = ctx->proc->owner;
        }
        if (ctx && ctx->expression) {
            skipSeparators();
            prog->value = expr();
            skipSeparators();
            if (peek().kind != T::Eof)
                error(1025);
            resolve(module);
            foldModuleConstants();
            return prog;
        }
        for (;;) {
            skipSeparators();
            if (peek().kind == T::Eof)
                break;
            T k = peek().kind;
            size_t save = i_;
            if (k == T::Public || k == T::Private) {
                ++i_;
                if (peek().kind == T::Default)
                    ++i_;
                k = peek().kind;
                if (k != T::Function && k != T::Sub) {
                    if (k == T::Const) {
                        addStmt(module.consts, constStmt());
                    } else {
                        i_ = save + 1;
                        addStmt(prog->top, dimStmt());
                    }
                    endOfStatement();
                    continue;
                }
            }
            if (k == T::Function || k == T::Sub) {
                prog->procs.push_back(procedure());
                continue;
            }
            if (k == T::Class && i_ == save) {
                prog->classes.push_back(classDef());
                continue;
            }
            i_ = save;
            statementLine(prog->top, false);
        }
        hoistConsts(module, prog->top);
        resolve(module);
        foldModuleConstants();
        return prog;
    }

private:
    std::vector<Token> t_;
    size_t i_ = 0;
    Program* prog_ = nullptr;
    Scope* scope_ = nullptr;
    int depth_ = 0;
    // The running thread's stack limit: code nested within the allowed depth can still use
    // more stack than a thread deep in recursion has left.
    const char* stackLimit_ = StackLimitHere();
    // Module variables declared so far: they hide built-in functions of the same name (Dim Day).
    QSet<QString> moduleVars_;
    QSet<QString> moduleArrays_;
    // The text's module-level constants and the references to module names that may read them.
    QHash<QString, Variant> moduleConsts_;
    std::vector<NameRef*> moduleRefs_;

    void foldModuleConstants() {
        for (NameRef* r : moduleRefs_) {
            const auto it = moduleConsts_.constFind(r->key);
            if (it != moduleConsts_.constEnd()) {
                r->folded = true;
                r->value = *it;
            }
        }
    }

    // A name declared as an array in the current scope (or the module's, when not local).
    bool isArrayVariable(const QString& key) const {
        if (!scope_->proc)
            return moduleArrays_.contains(key);
        if (scope_->arrays.contains(key))
            return true;
        return scope_->proc && !scope_->locals.contains(key) && moduleArrays_.contains(key);
    }

    struct Depth {
        Parser& p;
        explicit Depth(Parser& pp) : p(pp) {
            if (++p.depth_ > kMaxNesting)
                p.error(1001, QStringLiteral("内存不够: 嵌套太深"));  // the parser's room is used up
            if (static_cast<const char*>(__builtin_frame_address(0)) < p.stackLimit_)
                p.error(28, ErrorDescription(28));
        }
        ~Depth() { --p.depth_; }
    };

    const Token& peek(size_t ahead = 0) const {
        size_t j = std::min(i_ + ahead, t_.size() - 1);
        return t_[j];
    }
    const Token& take() {
        const Token& t = t_[std::min(i_, t_.size() - 1)];
        if (i_ < t_.size() - 1)
            ++i_;
        return t;
    }
    bool accept(T k) {
        if (peek().kind == k) {
            take();
            return true;
        }
        return false;
    }
    [[noreturn]] void error(int n, const QString& desc = QString()) {
        const Token& t = peek();
        fail(n, desc.isEmpty() ? compileText(n) : desc, t.line, t.col);
    }
    void expect(T k, int err) {
        if (!accept(k))
            error(err);
    }
    bool isWord(const char* w, size_t ahead = 0) const {
        const Token& t = peek(ahead);
        return t.kind == T::Ident && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    void expectWord(const char* w, int err) {
        if (!isWord(w))
            error(err);
        take();
    }
    // A statement ends at a separator, or where an End If/Sub/Function/Property/Class on the
    // same line closes its block ("R = 1 End Sub").
    bool atEndOfStatement() const {
        T k = peek().kind;
        if (k == T::End) {
            const T n = peek(1).kind;
            return n == T::If || n == T::Sub || n == T::Function || n == T::Property || n == T::Class;
        }
        return k == T::Newline || k == T::Colon || k == T::Eof || k == T::Else;
    }
    void endOfStatement() {
        if (!atEndOfStatement())
            error(1025);
    }
    void skipSeparators() {
        while (peek().kind == T::Newline || peek().kind == T::Colon)
            take();
    }
    // Property and Default are keywords only where a procedure or class member is declared;
    // elsewhere they are names.
    static bool nameToken(T k) { return k == T::Ident || k == T::Property || k == T::Default; }
    QString ident() {
        if (!nameToken(peek().kind) || peek().reserved)
            error(1010);
        return take().text;
    }
    [[noreturn]] void unsupported(const QString& what) {
        error(445, QStringLiteral("此脚本引擎不支持“%1”").arg(what));
    }

    // Keeps expression trees shallow enough to evaluate and free without deep recursion.
    void grow(Expr& e, const Expr* kid) {
        if (kid && kid->height + 1 > e.height)
            e.height = kid->height + 1;
        if (e.height > kMaxHeight)
            error(1001, QStringLiteral("内存不够: 表达式太复杂"));
    }
    void grow(Expr& e, const std::vector<ExprP>& kids) {
        for (auto& k : kids)
            grow(e, k.get());
    }

    static void addStmt(Block& b, StmtP s) {
        if (s)
            b.push_back(std::move(s));
    }
    static void hoistConsts(Scope& s, Block& body) {
        body.insert(body.begin(), std::make_move_iterator(s.consts.begin()), std::make_move_iterator(s.consts.end()));
        s.consts.clear();
    }

    // ---- names ----

    void declareLocal(const QString& name, bool constant = false) {
        if (!scope_->proc)
            return;
        QString key = name.toLower();
        if (!scope_->locals.contains(key))
            scope_->locals.insert(key, scope_->proc->slotCount++);
        if (constant)
            scope_->constants.insert(key, true);
    }

    void initRef(NameRef& r, const QString& name) {
        r.name = name;
        r.key = name.toLower();
        scope_->refs.push_back(&r);
    }

    void resolve(Scope& s) {
        QHash<QString, int> implicit;
        for (NameRef* r : s.refs) {
            r->member = -1;
            r->strict = prog_->optionExplicit;
            if (!s.proc) {
                r->local = false;
                r->slot = -1;
                if (s.outer) {
                    auto it = s.outer->localNames.constFind(r->key);
                    if (it != s.outer->localNames.constEnd()) {
                        r->local = true;
                        r->slot = *it;
                        r->returnSlot = *it == s.outer->returnSlot;
                        continue;
                    }
                    auto jt = s.outer->implicitNames.constFind(r->key);
                    if (jt != s.outer->implicitNames.constEnd()) {
                        r->slot = *jt;
                        continue;
                    }
                }
                if (s.cls)
                    r->member = s.cls->find(r->key);
                if (r->member < 0)
                    moduleRefs_.push_back(r);
                continue;
            }
            auto it = s.locals.constFind(r->key);
            if (it != s.locals.constEnd()) {
                r->local = true;
                r->slot = *it;
                r->returnSlot = *it == s.proc->returnSlot;
                r->constant = s.constants.contains(r->key);
                continue;
            }
            if (s.cls && (r->member = s.cls->find(r->key)) >= 0) {
                r->local = false;
                r->slot = -1;
                continue;
            }
            auto jt = implicit.constFind(r->key);
            int slot;
            if (jt == implicit.constEnd()) {
                slot = s.proc->slotCount++;
                implicit.insert(r->key, slot);
            } else {
                slot = *jt;
            }
            r->local = false;
            r->slot = slot;
            moduleRefs_.push_back(r);
        }
        if (s.proc) {
            s.proc->localNames = s.locals;
            s.proc->implicitNames = implicit;
        }
    }

    // ---- procedures ----

    // Function, Sub, or (inside a class) Property Get/Let/Set; *propKind gets the Property's kind.
    std::shared_ptr<Proc> procedure(ClassDef* cls = nullptr, T* propKind = nullptr) {
        const T kind = take().kind;
        T prop = T::Eof;
        if (kind == T::Property) {
            prop = peek().kind;
            if (prop != T::Get && prop != T::Let && prop != T::Set)
                error(1002);
            take();
            if (propKind)
                *propKind = prop;
        }
        const bool isFunction = kind == T::Function || prop == T::Get;
        auto proc = std::make_shared<Proc>();
        proc->isFunction = isFunction;
        proc->owner = cls;
        proc->name = cls ? memberName() : ident();
        if (!cls && FindBuiltin(proc->name.toLower()))
            error(1041, QStringLiteral("名称重定义: '%1' 是内部函数").arg(proc->name));
        Scope scope;
        scope.proc = proc.get();
        scope.cls = cls;
        scope.property = kind == T::Property;
        Scope* outer = scope_;
        scope_ = &scope;
        if (accept(T::LParen)) {
            if (!accept(T::RParen)) {
                do {
                    Proc::Param p;
                    if (accept(T::ByVal))
                        p.byVal = true;
                    else
                        accept(T::ByRef);
                    p.name = ident();
                    if (accept(T::LParen))
                        expect(T::RParen, 1006);
                    QString key = p.name.toLower();
                    if (scope.locals.contains(key))
                        error(1041);
                    scope.locals.insert(key, proc->slotCount++);
                    proc->params.push_back(p);
                } while (accept(T::Comma));
                expect(T::RParen, 1006);
            }
        }
        if (isFunction) {
            QString key = proc->name.toLower();
            if (!scope.locals.contains(key)) {
                proc->returnSlot = proc->slotCount++;
                scope.locals.insert(key, proc->returnSlot);
            }
        }
        // The body may begin on the header's line: "Sub T() R = 1".
        block(proc->body);
        expect(T::End, 1014);
        if (kind == T::Property)
            expect(T::Property, 1002);
        else
            expect(isFunction ? T::Function : T::Sub, isFunction ? 1015 : 1016);
        endOfStatement();
        hoistConsts(scope, proc->body);
        resolve(scope);
        scope_ = outer;
        return proc;
    }

    // Statements until a block terminator (End, Else, ElseIf, Loop, Next, Wend, Case).
    void block(Block& out) {
        Depth d(*this);
        for (;;) {
            skipSeparators();
            switch (peek().kind) {
            case T::Eof: case T::End: case T::Else: case T::ElseIf: case T::Loop: case T::Next:
            case T::Wend: case T::Case:
                return;
            default:
                statementLine(out, false);
            }
        }
    }

    // One statement followed by its end.
    void statementLine(Block& out, bool singleLine) {
        addStmt(out, statement(singleLine));
        if (!singleLine)
            endOfStatement();
    }

    StmtP statement(bool singleLine) {
        const Token& first = peek();
        const int line = first.line;
        StmtP s = statementBody(singleLine);
        if (s)
            s->line = line;
        return s;
    }

    StmtP statementBody(bool singleLine) {
        switch (peek().kind) {
        case T::Dim: take(); return dimStmt();
        case T::Public: case T::Private: case T::Static:
            if (scope_->proc) error(1024);
            take();
            return dimStmt();
        case T::ReDim: take(); return redimStmt();
        case T::Const:
            // Constants are known before the code runs, even in a branch never taken.
            addStmt(scope_->consts, constStmt());
            return nullptr;
        case T::Erase: {
            take();
            auto s = std::make_unique<EraseStmt>();
            s->target = nameExpr(ident());
            return s;
        }
        case T::If: return ifStmt(singleLine);
        case T::Select:
            if (singleLine) error(1024);
            return selectStmt();
        case T::For:
            if (singleLine) error(1024);
            return forStmt();
        case T::Do:
            if (singleLine) error(1024);
            return doStmt();
        case T::While:
            if (singleLine) error(1024);
            return whileStmt();
        case T::Exit: return exitStmt();
        case T::Call: return callStmt();
        case T::On: return onErrorStmt();
        case T::Option:
            take();
            expectWord("explicit", 1002);
            prog_->optionExplicit = true;
            return nullptr;
        case T::Set: return setStmt();
        case T::With:
            if (singleLine) error(1024);
            return withStmt();
        case T::Dot: case T::Me: return chainStatement(chain(nullptr, true));
        case T::Function: case T::Sub:
            if (!scope_->proc && !singleLine) {
                // Defined inside a block of module code: the procedure belongs to the module
                // from the start, as if written at top level.
                prog_->procs.push_back(procedure());
                return nullptr;
            }
            error(1024, QStringLiteral("缺少语句: 过程不能嵌套或在此定义"));
        case T::Property:
            if (peek(1).kind == T::Get || peek(1).kind == T::Let || peek(1).kind == T::Set)
                error(1024, QStringLiteral("缺少语句: 过程不能嵌套或在此定义"));
            return identStatement();
        case T::Class: error(1024, QStringLiteral("缺少语句: 过程不能嵌套或在此定义"));
        case T::Ident:
            // Of the reserved words only Stop is a statement of its own.
            if (peek().reserved && !(isWord("stop") && peek(1).kind != T::Eq))
                error(1024);
            return identStatement();
        case T::Default: return identStatement();
        default: error(1024);
        }
    }

    // Call name [(args)], Call obj.M(args), Call (obj).M(args).
    StmtP callStmt() {
        take();
        if (isErr(peek().text) && peek(1).kind == T::Dot)
            return errStatement();
        if (peek().kind == T::Dot || peek().kind == T::Me || (peek().kind == T::Ident && peek(1).kind == T::Dot &&
                                                              !isErr(peek().text))) {
            auto s = std::make_unique<CallStmt>();
            s->call = chain(nullptr, false);
            return s;
        }
        if (peek().kind == T::LParen) {
            // Call (obj).M(x), Call ((f)) (x): a bracketed start of the call
            auto s = std::make_unique<CallStmt>();
            s->call = chain(primary(), false);
            return s;
        }
        QString name = ident();
        auto s = std::make_unique<CallStmt>();
        std::vector<ExprP> args;
        if (accept(T::LParen)) {
            args = argList(T::RParen);
            expect(T::RParen, 1006);
        }
        s->call = statementCall(name, std::move(args));
        return s;
    }

    // On Error Resume Next, On Error GoTo 0.
    StmtP onErrorStmt() {
        take();
        expectWord("error", 1002);
        auto s = std::make_unique<OnErrorStmt>();
        if (isWord("resume")) {
            take();
            expect(T::Next, 1020);
            s->resumeNext = true;
        } else if (isWord("goto")) {
            take();
            if (peek().kind != T::Number || peek().number.intValue() != 0 || peek().number.type() != Variant::Integer)
                unsupported(QStringLiteral("On Error GoTo 标号"));
            take();
        } else {
            error(1002);
        }
        return s;
    }

    // Re-reads from token `pos`, forgetting names of the discarded parse (their nodes are gone).
    void backtrack(size_t pos, size_t refCount) {
        i_ = pos;
        scope_->refs.resize(refCount);
    }

    static bool isErr(const QString& name) { return name.compare(QLatin1String("err"), Qt::CaseInsensitive) == 0; }

    StmtP dimStmt() {
        auto s = std::make_unique<DimStmt>();
        do {
            DimStmt::Item it;
            it.name = ident();
            if (accept(T::LParen)) {
                it.hasBounds = true;
                if (!accept(T::RParen)) {
                    do {
                        bool neg = accept(T::Minus);
                        if (peek().kind != T::Number)
                            error(1026);
                        double v = take().number.toDouble();
                        if (neg)
                            v = -v;
                        if (v < -1 || v > 2147483647.0)  // too many elements: error 7 when declared
                            error(1026);
                        it.bounds.push_back(int32_t(v));
                    } while (accept(T::Comma));
                    expect(T::RParen, 1006);
                } else {
                    it.hasBounds = false;  // Dim a(): a dynamic array without dimensions until ReDim
                    it.dynamicArray = true;
                }
            }
            if (scope_->proc) {
                auto pit = scope_->locals.constFind(it.name.toLower());
                if (pit != scope_->locals.constEnd() && *pit < int(scope_->proc->params.size()))
                    error(1041);
                declareLocal(it.name);
                if (it.hasBounds || it.dynamicArray)
                    scope_->arrays.insert(it.name.toLower());
                if (it.hasBounds) {
                    int slot = scope_->locals.value(it.name.toLower());
                    scope_->proc->fixedArrays.push_back({slot, it.bounds});
                    scope_->proc->localArrays = true;
                } else if (it.dynamicArray) {
                    scope_->proc->dynamicArrays.push_back(scope_->locals.value(it.name.toLower()));
                    scope_->proc->localArrays = true;
                }
            } else {
                if (moduleConsts_.contains(it.name.toLower()))
                    error(1041);
                moduleVars_.insert(it.name.toLower());
                if (it.hasBounds || it.dynamicArray)
                    moduleArrays_.insert(it.name.toLower());
                s->items.push_back(std::move(it));
            }
        } while (accept(T::Comma));
        if (scope_->proc)
            return nullptr;
        return s;
    }

    StmtP redimStmt() {
        auto s = std::make_unique<ReDimStmt>();
        if (isWord("preserve")) {
            take();
            s->preserve = true;
        }
        do {
            ReDimStmt::Item it;
            // Not a declaration: an existing module variable of that name is the one resized.
            it.target = nameExpr(ident());
            expect(T::LParen, 1005);
            it.bounds = argList(T::RParen);
            if (it.bounds.empty())
                error(1023);
            expect(T::RParen, 1006);
            s->items.push_back(std::move(it));
        } while (accept(T::Comma));
        return s;
    }

    StmtP constStmt() {
        expect(T::Const, 1002);
        Block consts;
        do {
            auto s = std::make_unique<ConstStmt>();
            QString name = ident();
            // A constant cannot take the name of a variable declared in the same scope.
            const QString key = name.toLower();
            if (scope_->proc ? scope_->locals.contains(key) && !scope_->constants.contains(key)
                             : moduleVars_.contains(key))
                error(1041);
            expect(T::Eq, 1011);
            s->value = expr();
            s->module = scope_->proc == nullptr;
            if (s->module)
                if (const auto* lit = dynamic_cast<const LiteralExpr*>(s->value.get()))
                    moduleConsts_.insert(key, lit->value);
            declareLocal(name, true);
            initRef(s->ref, name);
            consts.push_back(std::move(s));
        } while (accept(T::Comma));
        if (consts.size() == 1)
            return std::move(consts[0]);
        // Several constants on one line: run them in order as one statement.
        struct Seq : Stmt {
            Block b;
            Flow exec(Interp& I) override {
                for (auto& s : b)
                    s->exec(I);
                return Flow::Normal;
            }
        };
        auto seq = std::make_unique<Seq>();
        seq->b = std::move(consts);
        return seq;
    }

    StmtP exitStmt() {
        take();
        auto s = std::make_unique<ExitStmt>();
        switch (peek().kind) {
        case T::For:
            if (!scope_->loopFor) error(1039);
            s->flow = Flow::ExitFor;
            break;
        case T::Do:
            if (!scope_->loopDo) error(1039);
            s->flow = Flow::ExitDo;
            break;
        case T::Function:
            if (!scope_->proc || !scope_->proc->isFunction || scope_->property) error(1039);
            s->flow = Flow::ExitProc;
            break;
        case T::Property:
            if (!scope_->property) error(1039);
            s->flow = Flow::ExitProc;
            break;
        case T::Sub:
            if (!scope_->proc || scope_->proc->isFunction || scope_->property) error(1039);
            s->flow = Flow::ExitProc;
            break;
        default: error(1039);
        }
        take();
        return s;
    }

    StmtP ifStmt(bool singleLine) {
        Depth d(*this);
        take();
        auto s = std::make_unique<IfStmt>();
        s->conds.push_back(expr());
        expect(T::Then, 1017);
        if (peek().kind != T::Newline && peek().kind != T::Eof) {
            // Single-line form: statements up to the line end, optional Else part.
            s->blocks.emplace_back();
            singleLineStatements(s->blocks.back());
            if (accept(T::Else))
                singleLineStatements(s->elseBlock);
            // "If c Then x = 1 End If" on one line: the End If closes it.
            if (peek().kind == T::End && peek(1).kind == T::If) {
                take();
                take();
            }
            if (!singleLine && peek().kind != T::Newline && peek().kind != T::Eof && peek().kind != T::End)
                error(1025);
            return s;
        }
        if (singleLine)
            error(1025);
        s->blocks.emplace_back();
        block(s->blocks.back());
        for (;;) {
            if (accept(T::ElseIf)) {
                s->conds.push_back(expr());
                expect(T::Then, 1017);
                s->blocks.emplace_back();
                block(s->blocks.back());
                continue;
            }
            if (accept(T::Else)) {
                block(s->elseBlock);
                expect(T::End, 1014);
                break;
            }
            expect(T::End, 1014);
            break;
        }
        expect(T::If, 1012);
        return s;
    }

    bool singleLineEnd() const { return peek().kind != T::Colon && atEndOfStatement(); }

    void singleLineStatements(Block& out) {
        for (;;) {
            while (accept(T::Colon)) {
            }
            if (singleLineEnd())
                return;
            addStmt(out, statement(true));
            if (peek().kind == T::Colon)
                continue;
            if (singleLineEnd())
                return;
            error(1025);
        }
    }

    StmtP selectStmt() {
        take();
        expect(T::Case, 1021);
        auto s = std::make_unique<SelectStmt>();
        s->subject = expr();
        endOfStatement();
        skipSeparators();
        while (accept(T::Case)) {
            if (accept(T::Else)) {
                s->hasElse = true;
                block(s->elseBody);
                break;
            }
            SelectStmt::Case c;
            c.values = argList(T::Newline);
            if (c.values.empty())
                error(1023);
            // A statement may follow the values on their line ("Case 1  r = 200"). A Case
            // takes values only: in "Case 1 To 5" the To starts no statement (1024).
            if (!atEndOfStatement())
                statementLine(c.body, false);
            block(c.body);
            s->cases.push_back(std::move(c));
        }
        expect(T::End, 1014);
        expect(T::Select, 1022);
        return s;
    }

    // The body of a For or For Each through its Next; a name after Next is read and ignored.
    void forBody(Block& body) {
        endOfStatement();
        ++scope_->loopFor;
        block(body);
        --scope_->loopFor;
        expect(T::Next, 1020);
        if (peek().kind == T::Ident)
            take();
    }

    StmtP forStmt() {
        take();
        if (isWord("each")) {
            take();
            auto s = std::make_unique<ForEachStmt>();
            QString name = ident();
            s->var = nameExpr(name);
            expectWord("in", 1046);
            s->group = expr();
            forBody(s->body);
            return s;
        }
        auto s = std::make_unique<ForStmt>();
        s->var = nameExpr(ident());
        expect(T::Eq, 1011);
        s->from = expr();
        expectWord("to", 1013);
        s->to = expr();
        if (isWord("step")) {
            take();
            s->step = expr();
        }
        forBody(s->body);
        return s;
    }

    StmtP doStmt() {
        take();
        auto s = std::make_unique<DoStmt>();
        if (peek().kind == T::While || peek().kind == T::Until) {
            s->until = take().kind == T::Until;
            s->test = DoStmt::Pre;
            s->cond = expr();
        }
        endOfStatement();
        ++scope_->loopDo;
        block(s->body);
        --scope_->loopDo;
        expect(T::Loop, 1019);
        if (peek().kind == T::While || peek().kind == T::Until) {
            if (s->test == DoStmt::Pre)
                error(1025);
            s->until = take().kind == T::Until;
            s->test = DoStmt::Post;
            s->cond = expr();
        }
        return s;
    }

    StmtP whileStmt() {
        take();
        auto s = std::make_unique<DoStmt>();
        s->test = DoStmt::Pre;
        s->cond = expr();
        endOfStatement();
        block(s->body);
        expect(T::Wend, 1018);
        return s;
    }

    StmtP identStatement() {
        const Token& first = peek();
        QString name = first.text;
        if (isErr(name) && peek(1).kind == T::Dot)
            return errStatement();
        take();
        if (peek().kind == T::Dot) {
            --i_;
            return chainStatement(chain(nullptr, true));
        }
        // Stop (the debugger's breakpoint) does nothing here.
        if (atEndOfStatement() && name.compare(QLatin1String("stop"), Qt::CaseInsensitive) == 0)
            return nullptr;
        if (peek().kind == T::Eq) {
            take();
            auto s = std::make_unique<AssignStmt>();
            const QString key = name.toLower();
            Variant c;
            if (!shadowed(key) && !moduleVars_.contains(key) && FindConstant(key, &c)) {
                // A named constant takes no value: error 501 when reached.
                s->target = literal(c, false, first.line);
                s->value = expr();
                return s;
            }
            s->target = nameExpr(name);
            s->value = expr();
            s->arrayVariable = isArrayVariable(name.toLower());
            return OptimizeAssign(std::move(s));
        }
        if (peek().kind == T::LParen) {
            const size_t save = i_, refs = scope_->refs.size();
            take();
            auto args = argList(T::RParen, true);
            expect(T::RParen, 1006);
            if (peek().kind == T::Eq) {
                take();
                auto s = std::make_unique<AssignStmt>();
                s->target = callTarget(name, std::move(args));
                s->value = expr();
                return OptimizeAssign(std::move(s));
            }
            if (peek().kind == T::Dot)
                return chainStatement(chain(callTarget(name, std::move(args)), true));
            if (peek().kind == T::LParen) {
                // a(0)(1) = v, a(0)(1).m ...: the element's own elements or members
                ExprP target = chain(callTarget(name, std::move(args)), true);
                if (peek().kind == T::Eq || atEndOfStatement())
                    return chainStatement(std::move(target));
                target.reset();
                backtrack(save, refs);
                goto plainCall;
            }
            if (atEndOfStatement()) {
                byValueParens(args);
                auto s = std::make_unique<CallStmt>();
                s->call = statementCall(name, std::move(args));
                return s;
            }
            args.clear();
            backtrack(save, refs);  // the parenthesis opens the first argument
        }
    plainCall:
        auto s = std::make_unique<CallStmt>();
        std::vector<ExprP> args;
        if (!atEndOfStatement())
            args = argList(T::Newline, true);
        s->call = statementCall(name, std::move(args));
        return s;
    }

    // A procedure or built-in called as a statement. The conversion functions give a value
    // only: calling one as a statement is error 458 when reached.
    ExprP statementCall(const QString& name, std::vector<ExprP> args) {
        ExprP call = callTarget(name, std::move(args));
        if (auto* b = dynamic_cast<BuiltinExpr*>(call.get())) {
            b->noValue = false;
            static const QSet<QString> conversions = {"cbool", "cbyte", "ccur", "cdate", "cdbl",
                                                      "cint",  "clng",  "csng", "cstr"};
            if (conversions.contains(name.toLower()))
                b->statement = true;
        }
        return call;
    }

    // Err.Clear / Err.Raise as a statement, also after Call and with parentheses.
    StmtP errStatement() {
        take();
        take();
        QString member = ident().toLower();
        if (member == QLatin1String("clear")) {
            if (accept(T::LParen))
                expect(T::RParen, 1006);
            return std::make_unique<ErrClearStmt>();
        }
        if (member == QLatin1String("raise")) {
            auto s = std::make_unique<ErrRaiseStmt>();
            bool paren = false;
            if (peek().kind == T::LParen) {
                // Err.Raise(n) or Err.Raise (n), "src"
                const size_t save = i_, refs = scope_->refs.size();
                take();
                auto args = argList(T::RParen, true);
                if (accept(T::RParen) && atEndOfStatement()) {
                    s->args = std::move(args);
                    paren = true;
                } else {
                    backtrack(save, refs);
                }
            }
            if (!paren)
                s->args = argList(T::Newline, true);
            for (ExprP& a : s->args)
                if (!a)
                    a = literal(Variant(), false, peek().line);
            return s;  // a wrong argument count is a run-time error
        }
        if (peek().kind == T::Eq) {
            static const QHash<QString, ErrMemberExpr::Member> properties = {
                {"number", ErrMemberExpr::Number}, {"description", ErrMemberExpr::Description},
                {"source", ErrMemberExpr::Source}, {"helpfile", ErrMemberExpr::HelpFile},
                {"helpcontext", ErrMemberExpr::HelpContext},
            };
            const auto it = properties.constFind(member);
            if (it != properties.constEnd()) {
                take();
                auto s = std::make_unique<ErrAssignStmt>();
                s->member = *it;
                s->value = expr();
                return s;
            }
        }
        // Any other member: the object does not have it, error 438 when the statement runs.
        auto s = std::make_unique<ErrAssignStmt>();
        s->member = ErrMemberExpr::Unknown;
        if (accept(T::Eq)) {
            s->value = expr();
        } else {
            // The arguments are never evaluated: their names must not stay registered for
            // resolution once the parsed expressions are gone.
            const size_t refs = scope_->refs.size();
            argList(T::Newline, true);
            scope_->refs.resize(refs);
            s->value = literal(Variant(), false, peek().line);
        }
        return s;
    }

    // "Name (x)" as a statement: the parentheses make the one argument a value; around more
    // than one argument they are an error.
    void byValueParens(std::vector<ExprP>& args) {
        if (args.size() > 1)
            error(1044);
        if (args.size() != 1)
            return;
        auto p = std::make_unique<ParenExpr>();
        p->line = args[0]->line;
        p->inner = std::move(args[0]);
        args[0] = std::move(p);
    }

    // `.name` after `object` (null inside With: the innermost With object).
    std::unique_ptr<MemberExpr> member(ExprP object, int line) {
        auto m = std::make_unique<MemberExpr>();
        m->line = line;
        m->name = memberName();
        m->key = m->name.toLower();
        if (object) {
            m->object = std::move(object);
            grow(*m, m->object.get());
        } else {
            m->withDepth = scope_->withDepth > 0 ? scope_->withDepth - 1 : MemberExpr::kNoWith;
        }
        return m;
    }

    // A local or (inside a class) a member of that name hides a built-in or constant.
    bool shadowed(const QString& key) const {
        return (scope_->proc && scope_->locals.contains(key)) || (scope_->cls && scope_->cls->find(key) >= 0);
    }

    // A member name after '.': any word, keywords included (re.Global, d.Item, x.End).
    QString memberName() {
        const Token& t = peek();
        if (t.kind != T::Ident && (t.text.isEmpty() || !t.text[0].isLetter()))
            error(1010);
        return take().text;
    }

    // Member accesses and calls after `base`; with no base, starts at `.name` (inside With),
    // `Me`, or a name. In a statement, "obj.M (x), y" passes (x) as the first argument.
    ExprP chain(ExprP base, bool statement) {
        Depth d(*this);
        const int line = peek().line;
        if (!base) {
            if (peek().kind == T::Dot) {
                take();
                base = member(nullptr, line);
            } else if (accept(T::Me)) {
                auto me = std::make_unique<MeExpr>();
                me->line = line;
                base = std::move(me);
            } else {
                const QString name = ident();
                if (accept(T::LParen)) {
                    auto args = argList(T::RParen, true);
                    expect(T::RParen, 1006);
                    base = callTarget(name, std::move(args));
                } else {
                    base = nameExpr(name);
                }
            }
        }
        for (;;) {
            if (peek().kind == T::Dot) {
                take();
                base = member(std::move(base), line);
                continue;
            }
            if (peek().kind != T::LParen)
                break;
            auto* m = dynamic_cast<MemberExpr*>(base.get());
            const size_t save = i_, refs = scope_->refs.size();
            take();
            auto args = argList(T::RParen);
            expect(T::RParen, 1006);
            if (statement) {
                const T n = peek().kind;
                const bool end = atEndOfStatement();
                if (!end && n != T::Eq && n != T::Dot && n != T::LParen) {
                    args.clear();
                    backtrack(save, refs);
                    break;
                }
                if (end && m && !m->hasArgs) {
                    byValueParens(args);
                }
            }
            if (m && !m->hasArgs) {
                m->args = std::move(args);
                m->hasArgs = true;
                grow(*m, m->args);
            } else {
                auto x = std::make_unique<IndexExpr>();
                x->line = line;
                x->args = std::move(args);
                x->base = std::move(base);
                grow(*x, x->base.get());
                grow(*x, x->args);
                base = std::move(x);
            }
        }
        return base;
    }

    // A statement made of a member chain: an assignment, or a call with arguments unbracketed.
    StmtP chainStatement(ExprP target) {
        if (accept(T::Eq)) {
            auto s = std::make_unique<AssignStmt>();
            s->target = std::move(target);
            s->value = expr();
            return s;
        }
        if (!atEndOfStatement()) {
            auto* m = dynamic_cast<MemberExpr*>(target.get());
            if (!m || m->hasArgs)
                error(1025);
            m->args = argList(T::Newline);
            m->hasArgs = true;
            grow(*m, m->args);
        }
        if (auto* m = dynamic_cast<MemberExpr*>(target.get()))
            m->statement = true;
        auto s = std::make_unique<CallStmt>();
        s->call = std::move(target);
        return s;
    }

    StmtP setStmt() {
        take();
        auto s = std::make_unique<SetStmt>();
        s->target = chain(nullptr, false);
        expect(T::Eq, 1011);
        s->value = expr();
        return s;
    }

    StmtP withStmt() {
        take();
        auto s = std::make_unique<WithStmt>();
        s->object = expr();
        endOfStatement();
        ++scope_->withDepth;
        block(s->body);
        --scope_->withDepth;
        expect(T::End, 1014);
        expect(T::With, 1002);
        return s;
    }

    // ---- classes ----

    static void addMember(ClassDef& cls, const QString& name) {
        if (name.isEmpty())
            return;
        const QString key = name.toLower();
        if (cls.index.contains(key))
            return;
        ClassMember m;
        m.name = name;
        cls.members.push_back(m);
        cls.index.insert(key, int(cls.members.size()) - 1);
    }

    // Every member name of the class body ahead, so methods see members declared after them.
    // At token j: Property that opens a Property Get/Let/Set, Default that marks a procedure
    // (elsewhere both are names).
    bool propertyAt(size_t j) const {
        return t_[j].kind == T::Property && j + 1 < t_.size() &&
               (t_[j + 1].kind == T::Get || t_[j + 1].kind == T::Let || t_[j + 1].kind == T::Set);
    }
    bool defaultAt(size_t j) const {
        if (t_[j].kind != T::Default || j + 1 >= t_.size())
            return false;
        const T n = t_[j + 1].kind;
        return n == T::Function || n == T::Sub || n == T::Property;
    }

    void prescanMembers(ClassDef& cls) const {
        bool inProc = false;
        for (size_t j = i_; j < t_.size(); ++j) {
            const T k = t_[j].kind;
            const T prev = t_[j - 1].kind;
            if (k == T::Eof)
                break;
            if (prev == T::End || prev == T::Exit) {
                if (prev == T::End && k == T::Class)
                    break;
                if (prev == T::End && (k == T::Function || k == T::Sub || k == T::Property))
                    inProc = false;
                continue;
            }
            if (k == T::Function || k == T::Sub || propertyAt(j)) {
                const size_t n = j + (k == T::Property ? 2 : 1);
                if (n < t_.size())
                    addMember(cls, t_[n].text);
                inProc = true;
                continue;
            }
            if (inProc || (k != T::Dim && k != T::Public && k != T::Private) ||
                (prev != T::Newline && prev != T::Colon))
                continue;
            size_t n = j + 1;
            if (n < t_.size() && defaultAt(n))
                ++n;
            int paren = 0;
            bool wantName = true;
            for (; n < t_.size(); ++n) {
                const T m = t_[n].kind;
                if (m == T::Newline || m == T::Colon || m == T::Eof || m == T::Function || m == T::Sub ||
                    propertyAt(n) || (m == T::End && n + 1 < t_.size() && t_[n + 1].kind == T::Class))
                    break;
                if (m == T::LParen)
                    ++paren;
                else if (m == T::RParen)
                    --paren;
                else if (m == T::Comma && paren == 0)
                    wantName = true;
                else if (nameToken(m) && wantName && paren == 0) {
                    addMember(cls, t_[n].text);
                    wantName = false;
                }
            }
        }
    }

    std::shared_ptr<ClassDef> classDef() {
        take();
        auto cls = std::make_shared<ClassDef>();
        cls->name = ident();
        endOfStatement();
        prescanMembers(*cls);
        for (;;) {
            skipSeparators();
            T k = peek().kind;
            if (k == T::End) {
                take();
                expect(T::Class, 1002);
                break;
            }
            bool isPublic = true, isDefault = false;
            if (k == T::Public || k == T::Private) {
                isPublic = take().kind == T::Public;
                if (defaultAt(i_) && accept(T::Default)) {
                    if (!isPublic)
                        error(1002);
                    isDefault = true;
                }
                k = peek().kind;
            } else if (k == T::Dim) {
                take();
                k = T::Dim;
            } else if (k != T::Function && k != T::Sub && k != T::Property) {
                error(1024);
            }
            if (k == T::Function || k == T::Sub || (k == T::Property && propertyAt(i_))) {
                T prop = T::Eof;
                auto proc = procedure(cls.get(), &prop);
                const int m = cls->find(proc->name.toLower());
                if (m < 0)
                    error(1002);
                ClassMember& mem = cls->members[size_t(m)];
                std::shared_ptr<Proc>* slot = prop == T::Get   ? &mem.get
                                              : prop == T::Let ? &mem.let
                                              : prop == T::Set ? &mem.set
                                                               : &mem.method;
                if (mem.isField() || *slot || (prop == T::Eof && (mem.get || mem.let || mem.set)) ||
                    (prop != T::Eof && mem.method))
                    error(1041);
                *slot = proc;
                if (prop == T::Eof || prop == T::Get)
                    mem.isPublic = isPublic;
                if (isDefault) {
                    if (cls->defaultMember >= 0 && cls->defaultMember != m)
                        error(1041);
                    cls->defaultMember = m;
                }
                continue;
            }
            if (isDefault)
                error(1002);
            do {
                const QString name = ident();
                const int m = cls->find(name.toLower());
                if (m < 0)
                    error(1002);
                ClassMember& mem = cls->members[size_t(m)];
                if (mem.isField() || mem.method || mem.get || mem.let || mem.set)
                    error(1041);
                mem.field = cls->fieldCount++;
                mem.isPublic = isPublic;
                if (accept(T::LParen) && !accept(T::RParen)) {
                    mem.hasBounds = true;
                    do {
                        if (peek().kind != T::Number)
                            error(1026);
                        const double v = take().number.toDouble();
                        if (v < 0 || v > 2147483647.0)  // too many elements: error 7 when declared
                            error(1026);
                        mem.bounds.push_back(int32_t(v));
                    } while (accept(T::Comma));
                    expect(T::RParen, 1006);
                }
            } while (accept(T::Comma));
            endOfStatement();
        }
        endOfStatement();
        for (const char* special : {"class_initialize", "class_terminate"}) {
            const int m = cls->find(QLatin1String(special));
            if (m < 0)
                continue;
            const ClassMember& mem = cls->members[size_t(m)];
            if (!mem.method || !mem.method->params.empty())
                error(1002);
            (special[6] == 'i' ? cls->initialize : cls->terminate) = mem.method;
        }
        return cls;
    }

    // Comma separated expressions, stopping before `close` (not consumed). With `omissible`
    // an argument may be left out (`f(a, , b)`): its slot is null.
    std::vector<ExprP> argList(T close, bool omissible = false) {
        std::vector<ExprP> out;
        auto atClose = [&] { return peek().kind == close || (close == T::Newline && atEndOfStatement()); };
        if (atClose())
            return out;
        do {
            if (omissible && (peek().kind == T::Comma || (!out.empty() && atClose())))
                out.push_back(nullptr);
            else
                out.push_back(expr());
        } while (accept(T::Comma));
        return out;
    }

    // Left-out arguments of a built-in: trailing ones are dropped, others take the value the
    // function uses when the argument is absent (Empty where that means the same).
    void fillOmitted(const QString& key, std::vector<ExprP>& args, int line) {
        while (!args.empty() && !args.back())
            args.pop_back();
        static const QHash<QString, std::vector<Variant>> defaults = {
            {"instr", {Variant(1)}},
            {"instrrev", {Variant(), Variant(), Variant(-1)}},
            {"replace", {Variant(), Variant(), Variant(), Variant(1), Variant(-1)}},
            {"split", {Variant(), Variant(QStringLiteral(" ")), Variant(-1)}},
            {"filter", {Variant(), Variant(), Variant(true)}},
            {"formatnumber", {Variant(), Variant(-1), Variant(-2), Variant(-2), Variant(-2)}},
            {"formatcurrency", {Variant(), Variant(-1), Variant(-2), Variant(-2), Variant(-2)}},
            {"formatpercent", {Variant(), Variant(-1), Variant(-2), Variant(-2), Variant(-2)}},
        };
        const auto it = defaults.constFind(key);
        for (size_t i = 0; i < args.size(); ++i) {
            if (args[i])
                continue;
            Variant v;
            if (it != defaults.constEnd() && i < it->size())
                v = (*it)[i];
            args[i] = literal(v, false, line);
        }
    }

    // Calls of anything but a built-in take every argument.
    void requireAll(const std::vector<ExprP>& args) {
        for (const ExprP& a : args)
            if (!a)
                error(1002);
    }

    // ---- expressions ----

    ExprP nameExpr(const QString& name) {
        if (isErr(name))
            unsupported(QStringLiteral("给 Err 赋值"));
        auto e = std::make_unique<NameExpr>();
        e->line = peek().line;
        initRef(e->ref, name);
        return e;
    }

    // name(args) as a call or element; builtins resolved here.
    ExprP callTarget(const QString& name, std::vector<ExprP> args) {
        QString key = name.toLower();
        QString why = UnsupportedReason(key);
        if (!why.isEmpty())
            error(445, why);
        if (const Builtin* b = FindBuiltin(key)) {
            if (!shadowed(key) && !moduleVars_.contains(key)) {
                fillOmitted(key, args, peek().line);
                auto e = std::make_unique<BuiltinExpr>();
                e->line = peek().line;
                e->fn = b;
                e->name = name;
                e->noValue = key == QLatin1String("randomize");
                if (int(args.size()) < b->minArgs || (b->maxArgs >= 0 && int(args.size()) > b->maxArgs))
                    e->badCount = true;  // error 450 when reached, catchable like any run-time error
                e->args = std::move(args);
                grow(*e, e->args);
                return e;
            }
        }
        requireAll(args);
        auto e = std::make_unique<CallExpr>();
        e->line = peek().line;
        initRef(e->ref, name);
        e->args = std::move(args);
        grow(*e, e->args);
        return e;
    }

    ExprP expr() {
        Depth d(*this);
        return binaryLevel(0);
    }

    // Precedence levels, loosest first.
    ExprP binaryLevel(int level) {
        switch (level) {
        case 0: return leftAssoc(level, {{T::Imp, BinaryExpr::Imp}});
        case 1: return leftAssoc(level, {{T::Eqv, BinaryExpr::Eqv}});
        case 2: return leftAssoc(level, {{T::Xor, BinaryExpr::Xor}});
        case 3: return leftAssoc(level, {{T::Or, BinaryExpr::Or}});
        case 4: return leftAssoc(level, {{T::And, BinaryExpr::And}});
        case 5: {  // Not
            if (peek().kind == T::Not) {
                Depth d(*this);
                int line = take().line;
                auto u = std::make_unique<UnaryExpr>();
                u->line = line;
                u->op = UnaryExpr::Not;
                u->e = binaryLevel(5);
                grow(*u, u->e.get());
                return u;
            }
            return binaryLevel(6);
        }
        case 6: {  // comparisons
            ExprP l = binaryLevel(7);
            for (;;) {
                CompareExpr::Op op;
                switch (peek().kind) {
                case T::Eq: op = CompareExpr::Eq; break;
                case T::Ne: op = CompareExpr::Ne; break;
                case T::Lt: op = CompareExpr::Lt; break;
                case T::Gt: op = CompareExpr::Gt; break;
                case T::Le: op = CompareExpr::Le; break;
                case T::Ge: op = CompareExpr::Ge; break;
                case T::Is: {
                    int line = take().line;
                    auto c = std::make_unique<IsExpr>();
                    c->line = line;
                    c->l = std::move(l);
                    c->r = binaryLevel(7);
                    grow(*c, c->l.get());
                    grow(*c, c->r.get());
                    l = std::move(c);
                    continue;
                }
                default: return l;
                }
                int line = take().line;
                auto c = std::make_unique<CompareExpr>();
                c->line = line;
                c->op = op;
                c->l = std::move(l);
                c->r = binaryLevel(7);
                grow(*c, c->l.get());
                grow(*c, c->r.get());
                l = std::move(c);
            }
        }
        case 7: return leftAssoc(level, {{T::Amp, BinaryExpr::Concat}});
        case 8: return leftAssoc(level, {{T::Plus, BinaryExpr::Add}, {T::Minus, BinaryExpr::Sub}});
        case 9: return leftAssoc(level, {{T::Mod, BinaryExpr::Mod}});
        case 10: return leftAssoc(level, {{T::Backslash, BinaryExpr::IntDiv}});
        case 11: return leftAssoc(level, {{T::Star, BinaryExpr::Mul}, {T::Slash, BinaryExpr::Div}});
        case 12: return leftAssoc(level, {{T::Caret, BinaryExpr::Pow}});
        default: return unary();
        }
    }

    ExprP leftAssoc(int level, std::initializer_list<std::pair<T, BinaryExpr::Op>> ops) {
        ExprP l = binaryLevel(level + 1);
        for (;;) {
            const std::pair<T, BinaryExpr::Op>* hit = nullptr;
            for (auto& o : ops)
                if (peek().kind == o.first)
                    hit = &o;
            if (!hit)
                return l;
            int line = take().line;
            auto b = std::make_unique<BinaryExpr>();
            b->line = line;
            b->op = hit->second;
            b->l = std::move(l);
            b->r = binaryLevel(level + 1);
            grow(*b, b->l.get());
            grow(*b, b->r.get());
            l = std::move(b);
        }
    }

    ExprP unary() {
        Depth d(*this);
        if (peek().kind == T::Minus) {
            int line = take().line;
            ExprP e = unary();
            if (auto* lit = dynamic_cast<LiteralExpr*>(e.get()); lit && lit->hard && lit->value.isNumeric()) {
                // Folded, but the minus is an operator: the value is no literal for comparing
                // with text ("abc" = -5 is False where "abc" = 5 is a type mismatch).
                lit->value = Ops::neg(lit->value);
                lit->hard = false;
                return e;
            }
            auto u = std::make_unique<UnaryExpr>();
            u->line = line;
            u->op = UnaryExpr::Neg;
            u->e = std::move(e);
            grow(*u, u->e.get());
            return u;
        }
        if (peek().kind == T::Plus) {
            take();
            return unary();
        }
        if (peek().kind == T::Not) {
            // "a = Not b" after an operator: Not binds its comparison operand.
            return binaryLevel(5);
        }
        return postfix(primary());
    }

    ExprP postfix(ExprP e) { return chain(std::move(e), false); }

    ExprP literal(Variant v, bool hard, int line) {
        auto e = std::make_unique<LiteralExpr>();
        e->value = std::move(v);
        e->hard = hard;
        e->line = line;
        return e;
    }

    ExprP primary() {
        const Token& t = peek();
        const int line = t.line;
        switch (t.kind) {
        case T::Number: return literal(take().number, true, line);
        case T::Str: return literal(Variant(take().text), true, line);
        case T::True: take(); return literal(Variant(true), false, line);
        case T::False: take(); return literal(Variant(false), false, line);
        case T::Empty: take(); return literal(Variant(), false, line);
        case T::Null: take(); return literal(Variant::makeNull(), false, line);
        case T::Nothing: take(); return literal(Variant::makeObject(nullptr), false, line);
        case T::New: {
            take();
            auto n = std::make_unique<NewExpr>();
            n->line = line;
            n->name = ident();
            n->key = n->name.toLower();
            return n;
        }
        case T::Me: case T::Dot: return chain(nullptr, false);
        case T::LParen: {
            take();
            auto p = std::make_unique<ParenExpr>();
            p->line = line;
            p->inner = expr();
            expect(T::RParen, 1006);
            if (peek().kind == T::LParen) {
                // (f)(x), ((f))(x): a bracketed name followed by arguments calls or indexes it
                const Expr* in = p->inner.get();
                while (auto* q = dynamic_cast<const ParenExpr*>(in))
                    in = q->inner.get();
                if (auto* n = dynamic_cast<const NameExpr*>(in)) {
                    const QString name = n->ref.name;
                    // the name was the last one read: its reference goes with the node
                    if (!scope_->refs.empty() && scope_->refs.back() == &n->ref)
                        scope_->refs.pop_back();
                    p.reset();
                    take();
                    auto args = argList(T::RParen, true);
                    expect(T::RParen, 1006);
                    return callTarget(name, std::move(args));
                }
            }
            grow(*p, p->inner.get());
            return p;
        }
        case T::Ident: case T::Property: case T::Default: {
            if (peek().reserved)
                error(1023);
            QString name = take().text;
            QString key = name.toLower();
            if (isErr(name)) {
                auto e = std::make_unique<ErrMemberExpr>();
                e->line = line;
                if (accept(T::Dot)) {
                    QString m = ident().toLower();
                    if (m == QLatin1String("number")) e->member = ErrMemberExpr::Number;
                    else if (m == QLatin1String("description")) e->member = ErrMemberExpr::Description;
                    else if (m == QLatin1String("source")) e->member = ErrMemberExpr::Source;
                    else if (m == QLatin1String("helpfile")) e->member = ErrMemberExpr::HelpFile;
                    else if (m == QLatin1String("helpcontext")) e->member = ErrMemberExpr::HelpContext;
                    else if (m == QLatin1String("raise") || m == QLatin1String("clear")) unsupported(QStringLiteral("Err.") + m);
                    else e->member = ErrMemberExpr::Unknown;  // error 438 when it runs
                }
                return e;
            }
            const bool local = shadowed(key) || moduleVars_.contains(key);
            Variant c;
            if (!local && FindConstant(key, &c))
                return literal(c, false, line);
            if (peek().kind == T::LParen) {
                take();
                auto args = argList(T::RParen, true);
                expect(T::RParen, 1006);
                return postfix(callTarget(name, std::move(args)));
            }
            if (!local && (FindBuiltin(key) || !UnsupportedReason(key).isEmpty()))
                return postfix(callTarget(name, {}));
            auto e = nameExpr(name);
            e->line = line;
            return postfix(std::move(e));
        }
        default:
            error(1002);  // no operand here: the language calls it a syntax error
        }
    }
};

}  // namespace

std::shared_ptr<Program> Compile(const QString& code) {
    Parser p(Tokenize(code));
    return p.program();
}

std::shared_ptr<Program> CompileDynamic(const QString& code, const DynamicContext& ctx) {
    Parser p(Tokenize(code));
    return p.program(&ctx);
}

}  // namespace script
