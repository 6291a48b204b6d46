// Objects: references with Class_Terminate on the last release, member calls, the nodes for
// New / Me / Is / With / Set, and code run from text (Execute, ExecuteGlobal, Eval).
#include "objects.h"

#include "errortext.h"
#include "scripthost.h"

#include <atomic>

namespace script {

// ---- references ----------------------------------------------------------------------

namespace {

// Releases nested inside a release wait in a queue, so freeing a long chain of objects
// (a linked list) never recurses deeply, and a Class_Terminate never runs inside another.
struct ObjectDeleter {
    void operator()(ObjectBase* o) const;
};

// The queue is a list through the objects themselves: a release needs no memory (it may be
// the cleanup of an allocation that failed), and the per-thread values have no destructor to
// register on a thread's first release.
thread_local int releaseDepth = 0;
// Counts the outermost releases, so the terminates set off by one release can tell it apart.
thread_local unsigned releaseSerial = 0;
thread_local ObjectBase* pendingReleases = nullptr;

void releaseOne(ObjectBase* o) {
    if (!o->finalized) {
        o->finalized = true;
        try {
            // Alive again while Class_Terminate runs (it may use Me); the second release
            // deletes. With no memory for that reference the deleter has queued the object
            // already, and it goes without its terminate.
            std::shared_ptr<ObjectBase> again(o, ObjectDeleter{});
            o->finalize();
        } catch (...) {
        }
        return;
    }
    delete o;
}

void ObjectDeleter::operator()(ObjectBase* o) const {
    if (releaseDepth > 0) {
        o->nextRelease = pendingReleases;
        pendingReleases = o;
        return;
    }
    ++releaseDepth;
    ++releaseSerial;
    releaseOne(o);
    while (ObjectBase* p = pendingReleases) {
        pendingReleases = p->nextRelease;
        releaseOne(p);
    }
    --releaseDepth;
}

}  // namespace

Variant Variant::makeObject(std::shared_ptr<ObjectBase> o) {
    Variant r;
    r.t_ = Object;
    r.o_ = o.get();
    new (&r.a_) std::shared_ptr<ArrayData>(std::move(o), nullptr);
    return r;
}

std::shared_ptr<ObjectBase> Variant::objectPtr() const {
    if (t_ != Object || !o_)
        return nullptr;
    return std::shared_ptr<ObjectBase>(a_, o_);
}

Variant MakeObject(Interp& I, ObjectBase* fresh) {
    fresh->handle = I.handle;
    // Until it is made, an object that finds no memory goes without a terminate.
    fresh->finalized = true;
    std::shared_ptr<ObjectBase> owner(fresh, ObjectDeleter{});
    if (I.objects.size() >= 2 * I.objectsPruned + 64) {
        std::erase_if(I.objects, [](const std::weak_ptr<ObjectBase>& w) { return w.expired(); });
        I.objectsPruned = I.objects.size();
    }
    I.objects.push_back(owner);
    fresh->finalized = false;
    return Variant::makeObject(std::move(owner));
}

ObjectBase* RequireObject(const Variant& v, bool needLive) {
    if (!v.isObject())
        Throw(424);
    ObjectBase* o = v.objectValue();
    if (!o && needLive)
        Throw(91);
    return o;
}

Variant ObjectDefault(const Variant& v) {
    if (!v.isObject())
        return v;
    ObjectBase* o = RequireObject(v);
    Interp* I = o->handle ? o->handle->I : nullptr;
    if (!I)
        Throw(438);
    const Variant keep = v;
    std::vector<Variant> none;
    Variant r = o->invoke(*I, QString(), Access::Get, none);
    if (r.isObject())
        return ObjectDefault(r);
    return r;
}

QString ObjectTypeName(const Variant& v) {
    ObjectBase* o = v.objectValue();
    return o ? o->typeName() : QStringLiteral("Nothing");
}

Variant ObjectBase::invoke(Interp&, const QString&, Access, std::vector<Variant>&) {
    Throw(438);
}

std::vector<Variant> ObjectBase::elements(Interp&) {
    Throw(451);
}

std::vector<Variant> ObjectElements(Interp& I, const Variant& obj) {
    ObjectBase* o = RequireObject(obj);
    const Variant keep = obj;
    return o->elements(I);
}

// ---- script class instances ----------------------------------------------------------

ClassDef::ClassDef() : serial([] {
    static std::atomic<uint64_t> next{0};
    return ++next;
}()) {}

namespace {

std::vector<Variant> values(Interp& I, std::vector<ExprP>* args) {
    std::vector<Variant> v;
    if (args) {
        v.reserve(args->size());
        for (auto& a : *args)
            v.push_back(a->eval(I));
    }
    return v;
}

Variant& element(Variant& arr, const std::vector<Variant>& subs) {
    std::vector<int32_t> idx;
    idx.reserve(subs.size());
    for (const Variant& s : subs)
        idx.push_back(s.toLong());
    ArrayData& a = Ops::mutableArray(arr);
    return a.items[ElementOffset(a, idx.data(), idx.size())];
}

void assignValue(Variant& dst, Variant v, bool set) {
    if (set)
        RequireObject(v, false);
    else if (v.isObject())
        v = ObjectDefault(v);
    dst = std::move(v);
}

const ClassMember& memberFor(Interp& I, Instance* inst, const QString& key, const QString& name,
                              int known = -1) {
    const int m = known >= 0 ? known : key.isEmpty() ? inst->cls->defaultMember : inst->cls->find(key);
    if (m < 0)
        Throw(438, name.isEmpty() ? QString() : QStringLiteral("'%1'").arg(name));
    const ClassMember& mem = inst->cls->members[size_t(m)];
    if (!mem.isPublic && I.frame->self != inst)
        Throw(438, QStringLiteral("'%1'").arg(mem.name));
    return mem;
}

// Get of one member with argument expressions (ByRef into the member's procedure).
Variant getMember(Interp& I, Instance* inst, const ClassMember& mem, std::vector<ExprP>* args) {
    static std::vector<ExprP> none;
    std::vector<ExprP>& a = args ? *args : none;
    if (mem.isField()) {
        Variant& f = inst->fields[size_t(mem.field)];
        if (a.empty())
            return f;
        if (f.isObject()) {
            const Variant obj = f;
            return CallMember(I, obj, QString(), mem.name, a);
        }
        std::vector<Variant> subs = values(I, &a);
        if (!f.isArray())
            Throw(438, QStringLiteral("'%1'").arg(mem.name));  // a plain field takes no arguments
        return element(f, subs);
    }
    if (mem.method)
        return I.call(*mem.method, a, inst);
    if (mem.get)
        return I.call(*mem.get, a, inst);
    Throw(438, QStringLiteral("'%1'").arg(mem.name));
}

void storeMember(Interp& I, Instance* inst, const ClassMember& mem, std::vector<Variant> args, Variant value,
                 bool set) {
    if (mem.isField()) {
        Variant& f = inst->fields[size_t(mem.field)];
        if (args.empty()) {
            assignValue(f, std::move(value), set);
            return;
        }
        if (f.isObject()) {
            const Variant obj = f;
            args.push_back(std::move(value));
            RequireObject(obj)->invoke(I, QString(), set ? Access::Set : Access::Let, args);
            return;
        }
        // Indexing a plain value field is no use of the member the class has (as when read).
        if (!f.isArray())
            Throw(438, QStringLiteral("'%1'").arg(mem.name));
        Variant& e = element(f, args);
        assignValue(e, std::move(value), set);
        return;
    }
    Proc* p = set ? mem.set.get() : mem.let.get();
    if (!p)
        Throw(438, QStringLiteral("'%1'").arg(mem.name));
    if (set)
        RequireObject(value, false);
    else if (value.isObject())
        value = ObjectDefault(value);
    args.push_back(std::move(value));
    I.callWithValues(*p, args.data(), args.size(), inst);
}

}  // namespace

Variant Instance::invoke(Interp& I, const QString& key, Access access, std::vector<Variant>& args) {
    const ClassMember& mem = memberFor(I, this, key, key);
    if (access != Access::Get) {
        if (args.empty())
            Throw(450);
        Variant value = std::move(args.back());
        args.pop_back();
        storeMember(I, this, mem, std::move(args), std::move(value), access == Access::Set);
        return Variant();
    }
    if (mem.isField()) {
        Variant& f = fields[size_t(mem.field)];
        if (args.empty())
            return f;
        if (f.isObject())
            return RequireObject(f)->invoke(I, QString(), Access::Get, args);
        if (!f.isArray())
            Throw(13);
        return element(f, args);
    }
    Proc* p = mem.method ? mem.method.get() : mem.get.get();
    if (!p)
        Throw(438, QStringLiteral("'%1'").arg(mem.name));
    return I.callWithValues(*p, args.data(), args.size(), this);
}

int Instance::varType() {
    if (cls->defaultMember < 0)
        return Variant::Object;
    Interp* I = handle ? handle->I : nullptr;
    if (!I)
        return Variant::Object;
    std::vector<Variant> none;
    return invoke(*I, QString(), Access::Get, none).type();
}

void Instance::clearReferences() {
    std::vector<Variant> drop;
    drop.swap(fields);
    fields.resize(drop.size());
}

void Instance::finalize() {
    Interp* I = handle ? handle->I : nullptr;
    if (!I || !cls->terminate)
        return;
    Frame* saved = I->frame;
    const int line = I->curLine;
    // Released by the host between its calls: limits of its own, measured from the start of
    // that release (terminates that keep making objects to release share them).
    const bool outside = I->running == 0;
    const char* limit = I->stackLimit;
    const bool hasDeadline = I->hasDeadline;
    const auto deadline = I->deadline;
    const int pendingTimeout = I->pendingTimeoutMs;
    if (outside && I->outsideRelease != releaseSerial) {
        I->outsideRelease = releaseSerial;
        I->outsideDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
        I->releaseFailed = false;
    }
    // After a time-out or a stop, the rest of the release runs no script code.
    if (I->releaseFailed && I->releaseError.fatal)
        return;
    if (outside) {
        I->frame = &I->topFrame;
        I->stackLimit = StackLimitHere();
        I->hasDeadline = true;
        I->deadline = I->outsideDeadline;
        I->pendingTimeoutMs = -1;
    }
    // The terminate's own statements must not see an error left by an earlier one.
    const bool failed = I->releaseFailed;
    I->releaseFailed = false;
    RuntimeError first = std::move(I->releaseError);
    // The statement that released the object raises the first error once the release is
    // over; a time-out or a stop comes first.
    const auto record = [&](const RuntimeError& e) {
        if (!failed || (e.fatal && !first.fatal))
            first = e;
        I->releaseFailed = true;
    };
    try {
        I->callWithValues(*cls->terminate, nullptr, 0, this);
    } catch (const RuntimeError& e) {
        record(e);
    } catch (const std::bad_alloc&) {
        record(I->outOfMemory());
    } catch (...) {
    }
    I->releaseFailed = I->releaseFailed || failed;
    I->releaseError = std::move(first);
    I->frame = saved;
    I->curLine = line;
    if (outside) {
        I->stackLimit = limit;
        I->hasDeadline = hasDeadline;
        I->deadline = deadline;
        I->pendingTimeoutMs = pendingTimeout;
    }
}

Variant NewInstance(Interp& I, const std::shared_ptr<ClassDef>& cls) {
    auto made = std::make_unique<Instance>();
    Instance* inst = made.get();
    inst->cls = cls;
    inst->fields.resize(size_t(cls->fieldCount));
    for (const ClassMember& m : cls->members)
        if (m.isField() && m.hasBounds) {
            Variant arr = Variant::makeArray(m.bounds);
            arr.arrayData()->fixed = true;
            inst->fields[size_t(m.field)] = std::move(arr);
        }
    Variant obj = MakeObject(I, made.release());
    if (cls->initialize)
        I.callWithValues(*cls->initialize, nullptr, 0, inst);
    return obj;
}

// ---- member calls --------------------------------------------------------------------

Variant CallMember(Interp& I, const Variant& obj, const QString& key, const QString& name,
                   std::vector<ExprP>& args) {
    ObjectBase* o = RequireObject(obj);
    if (Instance* inst = o->instance())
        return getMember(I, inst, memberFor(I, inst, key, name), &args);
    std::vector<Variant> v = values(I, &args);
    return o->invoke(I, key, Access::Get, v);
}

void StoreMember(Interp& I, const Variant& obj, const QString& key, const QString& name, std::vector<ExprP>& args,
                 Variant value, bool set) {
    if (obj.isObject() && !obj.objectValue())
        Throw(424);  // assigning to a member of Nothing: an object is required
    ObjectBase* o = RequireObject(obj);
    std::vector<Variant> v = values(I, &args);
    if (Instance* inst = o->instance()) {
        storeMember(I, inst, memberFor(I, inst, key, name), std::move(v), std::move(value), set);
        return;
    }
    if (set)
        RequireObject(value, false);
    else if (value.isObject())
        value = ObjectDefault(value);
    v.push_back(std::move(value));
    o->invoke(I, key, set ? Access::Set : Access::Let, v);
}

namespace {
Instance* self(Interp& I) {
    Instance* s = I.frame->self;
    if (!s)
        Throw(424);
    return s;
}
}  // namespace

Variant SelfMember(Interp& I, int member, std::vector<ExprP>* args) {
    Instance* s = self(I);
    return getMember(I, s, s->cls->members[size_t(member)], args);
}

void StoreSelfMember(Interp& I, int member, std::vector<ExprP>* args, Variant value, bool set) {
    Instance* s = self(I);
    storeMember(I, s, s->cls->members[size_t(member)], values(I, args), std::move(value), set);
}

Variant* SelfField(Interp& I, int member) {
    Instance* s = self(I);
    const ClassMember& m = s->cls->members[size_t(member)];
    if (!m.isField())
        Throw(501, QStringLiteral("'%1'").arg(m.name));
    return &s->fields[size_t(m.field)];
}


// ---- nodes ---------------------------------------------------------------------------

Variant MemberExpr::target(Interp& I) {
    if (withDepth == kNoWith)
        Throw(505);
    if (withDepth < 0) {
        I.checkStack();  // a chain of members: o.n.n.n
        Variant o = object->eval(I);
        // A call statement on Nothing wants an object there (424); reading a member is 91.
        if (statement && o.isObject() && !o.objectValue())
            Throw(424);
        return o;
    }
    const size_t i = I.frame->withBase + size_t(withDepth);
    if (i >= I.withStack.size())
        Throw(424);
    return I.withStack[i];
}

Variant MemberExpr::eval(Interp& I) {
    // The object is most often a live object in a local variable (c.Add i): read without a
    // virtual call; the copy keeps it alive while its member runs. Anything else, errors
    // included, goes through target().
    const Variant* local = withDepth == -1 && object->kind == Expr::Name ? PeekOperand(*object, I) : nullptr;
    const Variant o = local && local->objectValue() ? *local : target(I);
    if (ObjectBase* p = o.objectValue()) {
        if (Instance* inst = p->instance()) {
            const ClassDef& cls = *inst->cls;
            if (cls.serial != lastClass) {
                lastMember = cls.find(key);
                lastClass = cls.serial;
            }
            if (lastMember >= 0) {
                // A method the caller may reach is called straight away.
                const ClassMember& found = cls.members[size_t(lastMember)];
                if (found.method && (found.isPublic || I.frame->self == inst))
                    return I.call(*found.method, args, inst);
                const ClassMember& mem = memberFor(I, inst, key, name, lastMember);
                // o.field() on a value or an array: an empty argument list is no index
                if (hasArgs && args.empty() && mem.isField() && !inst->fields[size_t(mem.field)].isObject())
                    Throw(5);
                return getMember(I, inst, mem, &args);
            }
        }
    }
    return CallMember(I, o, key, name, args);
}

void MemberExpr::store(Interp& I, Variant v, bool set) {
    const Variant o = target(I);
    StoreMember(I, o, key, name, args, std::move(v), set);
}

Variant MeExpr::eval(Interp& I) {
    return Variant::makeObject(self(I)->shared_from_this());
}

Variant NewExpr::eval(Interp& I) {
    // The built-in class comes first: a script's own Class RegExp does not replace it.
    if (key == QLatin1String("regexp"))
        return MakeObject(I, NewRegExp());
    auto it = I.classes.constFind(key);
    if (it != I.classes.constEnd())
        return NewInstance(I, *it);
    // A name that is a variable or procedure is known, just no class (506); only a name
    // nothing declared is undefined (500).
    const bool known = I.findGlobal(key) >= 0 || (I.frame->proc && I.frame->proc->localNames.contains(key));
    Throw(known ? 506 : 500, QStringLiteral("'%1'").arg(name));
}

Variant IsExpr::eval(Interp& I) {
    I.checkStack();
    const Variant a = l->eval(I);
    const Variant b = r->eval(I);
    return Variant(RequireObject(a, false) == RequireObject(b, false));
}

Flow WithStmt::exec(Interp& I) {
    Variant obj;
    I.header([&] {
        obj = object->eval(I);
        RequireObject(obj, false);
    });
    I.withStack.push_back(std::move(obj));
    struct Pop {
        Interp& I;
        size_t n;
        ~Pop() {
            if (I.withStack.size() > n)
                I.withStack.resize(n);
        }
    } pop{I, I.withStack.size() - 1};
    return I.execBlock(body);
}

Flow SetStmt::exec(Interp& I) {
    Variant v = value->eval(I);
    target->store(I, std::move(v), true);
    return Flow::Normal;
}

// ---- the engine's objects ------------------------------------------------------------

Interp::Interp() : handle(std::make_shared<InterpHandle>()) {
    handle->I = this;
}

Interp::~Interp() {
    releaseObjects();
    handle->I = nullptr;
}

void Interp::releaseObjects() {
    frame = &topFrame;
    // A Class_Terminate may store new objects: a few rounds, then whatever is left goes
    // without running script code.
    for (int round = 0; round < 4; ++round) {
        bool any = !withStack.empty();
        withStack.clear();
        for (size_t i = 0; i < globals.size(); ++i) {
            if (globals[i].value.isObject() || globals[i].value.isArray()) {
                Variant v;
                std::swap(v, globals[i].value);
                any = true;
            }
        }
        if (!any)
            break;
    }
    // Objects that refer to each other in a cycle are still alive: take them apart.
    for (size_t i = 0; i < objects.size(); ++i)
        if (std::shared_ptr<ObjectBase> o = objects[i].lock())
            o->clearReferences();
    objects.clear();
    objectsPruned = 0;
    dynamicCache.clear();
}

void Interp::registerProgram(const Program& prog) {
    for (const auto& p : prog.procs) {
        Global& g = globals[size_t(declareGlobal(p->name))];
        g.proc = p;
        g.value = Variant();
        g.constant = false;
    }
    for (const auto& c : prog.classes)
        classes.insert(c->name.toLower(), c);
}

// ---- code from text ------------------------------------------------------------------

namespace {

constexpr int kMaxDynamicCache = 256;

std::shared_ptr<Program> dynamicProgram(Interp& I, const QString& code, bool expression, bool global) {
    Proc* context = global ? nullptr : I.frame->proc;
    const QString key = (expression ? QStringLiteral("E") : QStringLiteral("S")) + code;
    const QPair<QString, const void*> k(key, context);
    auto it = I.dynamicCache.constFind(k);
    if (it != I.dynamicCache.constEnd())
        return it->prog;
    DynamicContext ctx;
    ctx.proc = context;
    ctx.expression = expression;
    std::shared_ptr<Program> prog;
    try {
        prog = CompileDynamic(code, ctx);
    } catch (const CompileError& e) {
        if (e.number == 28)
            Throw(28);  // the compiler ran out of stack: the running code's error
        // Raised where the code runs, still a compilation error, with the compiler's own
        // number and text.
        RuntimeError r{e.number, e.description};
        r.source = kCompileSource;
        throw r;
    }
    if (I.dynamicCache.size() >= kMaxDynamicCache)
        I.dynamicCache.clear();
    std::shared_ptr<void> keep;
    if (context) {
        // The context procedure belongs to a program the module still holds; keep it alive so
        // its address names the same procedure for as long as the entry exists.
        for (const Global& g : I.globals)
            if (g.proc.get() == context)
                keep = g.proc;
        if (!keep && context->owner)
            for (const auto& c : I.classes)
                for (const ClassMember& m : c->members)
                    for (const auto* p : {&m.method, &m.get, &m.let, &m.set})
                        if (p->get() == context)
                            keep = *p;
        if (!keep)
            return prog;  // not cacheable
    }
    I.dynamicCache.insert(k, Interp::DynamicCode{prog, keep});
    return prog;
}

}  // namespace

Variant EvalText(Interp& I, const QString& code) {
    I.checkStack();
    I.tick();
    std::shared_ptr<Program> prog = dynamicProgram(I, code, true, false);
    I.registerProgram(*prog);
    return prog->value->eval(I);
}

void ExecuteText(Interp& I, const QString& code, bool global) {
    I.checkStack();
    I.tick();
    std::shared_ptr<Program> prog = dynamicProgram(I, code, false, global);
    I.registerProgram(*prog);
    struct Restore {
        Interp& I;
        Frame* saved;
        ~Restore() {
            I.frame = saved;
            --I.executing;
        }
    } restore{I, I.frame};
    ++I.executing;
    if (!global || I.frame == &I.topFrame) {
        I.execBlock(prog->top);
        return;
    }
    Frame top = I.topFrame;
    top.withBase = I.withStack.size();
    I.frame = &top;
    I.execBlock(prog->top);
}

// ---- function references (GetRef) -----------------------------------------------------

namespace {
struct ProcRef : ObjectBase {
    std::shared_ptr<Proc> proc;
    QString typeName() const override { return QStringLiteral("Object"); }
    Variant invoke(Interp& I, const QString& key, Access access, std::vector<Variant>& args) override {
        if (!key.isEmpty() || access != Access::Get)
            Throw(438);
        return I.callWithValues(*proc, args.data(), args.size());
    }
};
}  // namespace

ObjectBase* NewProcRef(std::shared_ptr<Proc> p) {
    auto* r = new ProcRef;
    r->proc = std::move(p);
    return r;
}

// ---- MsgBox and InputBox ---------------------------------------------------------------

Variant HostMsgBox(Interp& I, std::vector<Variant>& a) {
    const QString prompt = a[0].toString();
    const int buttons = a.size() > 1 && !a[1].isEmpty() ? a[1].toLong() : 0;
    const QString title = a.size() > 2 && !a[2].isEmpty() ? a[2].toString() : QString();
    const int answer = I.host ? I.host->msgBox(prompt, buttons, title) : 1;
    return Variant::makeInteger(int16_t(answer));
}

Variant HostInputBox(Interp& I, std::vector<Variant>& a) {
    const QString prompt = a[0].toString();
    const QString title = a.size() > 1 && !a[1].isEmpty() ? a[1].toString() : QString();
    const QString def = a.size() > 2 && !a[2].isEmpty() ? a[2].toString() : QString();
    if (!I.host)
        return Variant(QString());
    const std::optional<QString> text = I.host->inputBox(prompt, title, def);
    return Variant(text.value_or(QString()));
}

}  // namespace script
