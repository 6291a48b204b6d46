// Execution of the compiled tree.
#include "nodes.h"
#include "objects.h"
#include "errortext.h"

#include <pthread.h>
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <span>

namespace script {

namespace {

// Stack kept free below the limit for the engine's own work between two checks (one level of
// an expression, the compiler's, a release) and for raising the error. Calls, every level of
// an expression that evaluates another below it, and the compiler check against the limit:
// the tallest expression the compiler allows needs more than this reserve (a member chain over
// 300 KB), so its height alone must never be what keeps it inside.
constexpr size_t kStackReserve = 256 * 1024;
// Stack a script may use when the thread's own cannot be found, or is unlimited.
constexpr size_t kFallbackBudget = 1024 * 1024;
constexpr size_t kMaxBudget = 256 * 1024 * 1024;

int32_t indexValue(const Variant& v) {
    switch (v.type()) {
    case Variant::Integer: case Variant::Long: case Variant::Byte: case Variant::Boolean: return v.intValue();
    case Variant::Empty: return 0;
    default: return RoundToLong(v.toDouble());
    }
}

// Small fixed buffer of evaluated subscripts.
struct Subscripts {
    int32_t small[8];
    std::vector<int32_t> big;
    int32_t* data = small;
    size_t n = 0;
    void eval(Interp& I, std::vector<ExprP>& args) {
        n = args.size();
        if (n > 8) {
            big.resize(n);
            data = big.data();
        }
        // A variable or literal is read where it is (an object is copied: its default is code).
        for (size_t i = 0; i < n; ++i) {
            const Variant* v = args[i]->peek(I);
            data[i] = v && !v->isObject() ? indexValue(*v) : indexValue(args[i]->eval(I));
        }
    }
};

Variant readElement(const Variant& arr, const Subscripts& s) {
    const ArrayData& a = *arr.arrayData();
    return a.items[ElementOffset(a, s.data, s.n)];
}

__attribute__((noinline)) void UnpinnedCopy(Variant& v) {
    auto copy = std::make_shared<ArrayData>(*v.arrayData());
    copy->pins = 0;
    v.setArrayPtr(std::move(copy));
}

// Array values bound to a ByRef element are copied on assignment, so an array can never
// come to hold itself.
__attribute__((always_inline)) inline void assign(Variant* dst, Variant&& v) {
    if (v.isArray() && v.arrayData()->pins > 0)
        UnpinnedCopy(v);
    *dst = std::move(v);
}

}  // namespace

size_t ElementOffset(const ArrayData& a, const int32_t* idx, size_t n) {
    if (n != a.upper.size())
        Throw(9);
    // The first index fastest.
    size_t off = 0, stride = 1;
    for (size_t d = 0; d < n; ++d) {
        if (idx[d] < 0 || idx[d] > a.upper[d])
            Throw(9);
        off += stride * size_t(idx[d]);
        stride *= size_t(int64_t(a.upper[d]) + 1);
    }
    return off;
}

// ElementOffset with a one-dimensional array's check inline, for the element reads and
// stores that take the short paths.
static inline size_t QuickOffset(const ArrayData& a, const int32_t* idx, size_t n) {
    if (n == 1 && a.upper.size() == 1) {
        if (idx[0] < 0 || idx[0] > a.upper[0])
            Throw(9);
        return size_t(idx[0]);
    }
    return ElementOffset(a, idx, n);
}

Variant* Expr::lvalue(Interp&) {
    Throw(501);
}

void Expr::store(Interp& I, Variant v, bool set) {
    if (set)
        RequireObject(v, false);
    else if (v.isObject())
        v = ObjectDefault(v);
    assign(lvalue(I), std::move(v));
}

// The module procedure a name(args) calls, or nullptr when it is anything else.
static inline Proc* CalledProc(CallExpr& c, Interp& I) {
    const NameRef& ref = c.ref;
    if ((!ref.local || ref.returnSlot) && (ref.member < 0 || ref.local))
        if (Global* e = I.globalEntry(c.ref); e && e->proc)
            return e->proc.get();
    return nullptr;
}

static inline Variant EvalBinary(const BinaryExpr& n, Interp& I);

// An operand's value; a call of a module procedure and an operator are evaluated without the
// node's virtual call.
static inline Variant EvalOperand(Expr& e, Interp& I) {
    if (e.kind == Expr::Call) {
        if (Proc* p = CalledProc(static_cast<CallExpr&>(e), I))
            return I.call(*p, static_cast<CallExpr&>(e).args);
    } else if (e.kind == Expr::Binary) {
        return EvalBinary(static_cast<BinaryExpr&>(e), I);
    }
    return e.eval(I);
}

// ---- Interp --------------------------------------------------------------------------

int Interp::declareGlobal(const QString& name) {
    const QString key = name.toLower();
    auto it = globalIndex.constFind(key);
    if (it != globalIndex.constEnd())
        return *it;
    globals.push_back(Global{name, Variant(), nullptr, false});
    const int idx = int(globals.size()) - 1;
    globalIndex.insert(key, idx);
    ++generation;
    return idx;
}

__attribute__((noinline)) void Interp::lookUpGlobal(NameRef& r) {
    auto it = globalIndex.constFind(r.key);
    r.global = it == globalIndex.constEnd() ? -1 : *it;
    r.entry = r.global < 0 ? nullptr : &globals[size_t(r.global)];
    r.gen = generation;
}

void Interp::checkDeadline() {
    if (stopFlag && stopFlag->load(std::memory_order_relaxed)) {
        RuntimeError e{kErrStopped, ErrorDescription(kErrStopped)};
        e.fatal = true;
        throw e;
    }
    if (!hasDeadline)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (pendingTimeoutMs >= 0) {
        deadline = now + std::chrono::milliseconds(pendingTimeoutMs);
        pendingTimeoutMs = -1;
    } else if (now > deadline) {
        RuntimeError e{9001, ErrorDescription(9001)};
        e.fatal = true;
        throw e;
    }
}

namespace {
// Address space held back for when memory runs out; its pages are never touched, so it costs
// no memory. One for the process: whichever engine runs out gives it up.
constexpr size_t kMemoryReserve = 4 << 20;
std::atomic<void*> memoryReserve{nullptr};

void FreeReserve(void* p) {
    if (!p)
        return;
#if defined(__linux__)
    munmap(p, kMemoryReserve);
#else
    std::free(p);
#endif
}
}  // namespace

void KeepMemoryReserve() {
    if (memoryReserve.load(std::memory_order_relaxed))
        return;
#if defined(__linux__)
    void* p = mmap(nullptr, kMemoryReserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED)
        return;
#else
    void* p = std::malloc(kMemoryReserve);
#endif
    void* none = nullptr;
    if (!memoryReserve.compare_exchange_strong(none, p))
        FreeReserve(p);
}

RuntimeError Interp::outOfMemory() {
    ranOutOfMemory = true;
    FreeReserve(memoryReserve.exchange(nullptr));
    return OutOfMemoryError();
}

void Interp::stackOverflow() {
    Throw(28);
}

const char* StackLimitHere() {
    // The thread's stack does not move: look it up once per thread.
    thread_local const char* low = nullptr;
    thread_local const char* high = nullptr;
    thread_local bool known = false;
    if (!known) {
        known = true;
        pthread_attr_t attr;
        if (pthread_getattr_np(pthread_self(), &attr) == 0) {
            void* addr = nullptr;
            size_t size = 0;
            if (pthread_attr_getstack(&attr, &addr, &size) == 0 && addr && size > 0) {
                const size_t reserve = std::min(kStackReserve, size / 2);
                low = static_cast<const char*>(addr) + reserve;
                high = static_cast<const char*>(addr) + size;
            }
            pthread_attr_destroy(&attr);
        }
    }
    const char* here = static_cast<const char*>(__builtin_frame_address(0));
    const uintptr_t h = reinterpret_cast<uintptr_t>(here);
    // Not on the thread's own stack (or it is unknown): a fixed budget from here.
    if (!low || here <= low || here > high)
        return here - std::min<uintptr_t>(kFallbackBudget, h);
    // An unlimited stack still ends somewhere: past a generous budget the recursion is a fault.
    if (size_t(here - low) > kMaxBudget)
        return here - kMaxBudget;
    return low;
}

void Interp::setErr(const RuntimeError& e) {
    errNumber = e.number;
    errDescription = e.description;
    errSource = e.source.isEmpty() ? kRuntimeSource : e.source;
    errHelpFile = e.helpFile;
    errHelpContext = e.helpContext;
}

void Interp::resumeAfter(const RuntimeError& e) {
    // A time-out inside a terminate set off while the statement failed still ends the run.
    if (releaseFailed && releaseError.fatal)
        raiseReleaseError();
    releaseFailed = false;
    if (e.fatal)
        throw e;
    setErr(e);
}

void Interp::raiseReleaseError() {
    releaseFailed = false;
    RuntimeError e = std::move(releaseError);
    releaseError = RuntimeError{};
    throw e;
}

// The statements of a block from `s` on under On Error Resume Next: an error is recorded and
// the next statement runs.
__attribute__((noinline)) Flow Interp::execResuming(const StmtP* s, const StmtP* end) {
    for (; s != end; ++s) {
        curLine = (*s)->line;
        Flow f;
        if (!frame->resumeNext) {
            f = (*s)->exec(*this);
            if (releaseFailed)
                raiseReleaseError();
        } else {
            try {
                f = (*s)->exec(*this);
                if (releaseFailed)
                    raiseReleaseError();
            } catch (const RuntimeError& e) {
                resumeAfter(e);
                f = Flow::Normal;
            } catch (const std::bad_alloc&) {
                resumeAfter(outOfMemory());
                f = Flow::Normal;
            }
        }
        if (f != Flow::Normal)
            return f;
    }
    return Flow::Normal;
}

namespace {
// One call's state: its frame and its local slots from the engine's slot stack. When the call
// ends the caller's frame comes back, then the locals go (terminates run), last one first,
// and the slots are given back. Kept small: a recursive call pays for it at every level.
struct CallFrame {
    Interp& I;
    Frame* saved;
    size_t chunk, used;
    int n;
    bool rebound = false;  // ByRef binding pointed parameters' slot pointers elsewhere
    Variant* store;
    Frame f;
    ArrayPins pins;  // released first when the call ends
    // The frame is made with its values at once (a default first and the value after cost a
    // store each).
    CallFrame(Interp& interp, Proc& p, Instance* self)
        : I(interp), saved(interp.frame), chunk(interp.localSlots.chunk), used(interp.localSlots.used),
          n(p.slotCount), store(takeSlots(interp.localSlots, size_t(n))),
          f{interp.localSlots.ptrs + (interp.localSlots.used - size_t(n)), &p, false, self, interp.withStack.size()} {}
    // n slots at the top of the slot stack.
    static Variant* takeSlots(SlotStack& s, size_t n) {
        if (s.used + n > s.size)
            nextChunk(s, n);
        Variant* taken = s.vars + s.used;
        s.used += n;
        return taken;
    }
    // A With statement of the call takes its object off the With stack itself.
    __attribute__((always_inline)) ~CallFrame() {
        pins.release();
        I.frame = saved;
        if (rebound)
            for (size_t i = 0, np = f.proc->params.size(); i < np; ++i)
                f.vars[i] = &store[i];
        for (Variant* v = store + n; v != store;)
            (--v)->clear();
        SlotStack& s = I.localSlots;
        if (s.chunk != chunk)
            backToChunk(s, chunk);
        s.used = used;
    }
    // Moves to the next chunk, made (or remade, it is unused) big enough for n slots.
    __attribute__((noinline)) static void nextChunk(SlotStack& s, size_t n) {
        const size_t next = s.chunks.empty() ? 0 : s.chunk + 1;
        if (next >= s.chunks.size() || s.chunks[next].size < n) {
            const size_t size = std::max(n, SlotStack::kChunk);
            SlotStack::Chunk c{std::make_unique<Variant[]>(size), std::make_unique<Variant*[]>(size), size};
            for (size_t i = 0; i < size; ++i)
                c.ptrs[i] = &c.vars[i];
            if (next < s.chunks.size())
                s.chunks[next] = std::move(c);
            else
                s.chunks.push_back(std::move(c));
        }
        backToChunk(s, next);
        s.used = 0;
    }
    __attribute__((noinline)) static void backToChunk(SlotStack& s, size_t k) {
        s.chunk = k;
        s.vars = s.chunks[k].vars.get();
        s.ptrs = s.chunks[k].ptrs.get();
        s.size = s.chunks[k].size;
    }
};

__attribute__((noinline)) void MakeLocalArrays(const Proc& p, Variant** vars) {
    for (auto& fa : p.fixedArrays) {
        Variant arr = Variant::makeArray(fa.second);
        arr.arrayData()->fixed = true;
        *vars[fa.first] = std::move(arr);
    }
    for (int slot : p.dynamicArrays)
        *vars[slot] = UndimensionedArray();
}

// Runs the body in the call's frame and gives the Function's result.
inline Variant RunBody(Interp& I, Proc& p, CallFrame& c) {
    if (p.localArrays)
        MakeLocalArrays(p, c.f.vars);
    const int savedLine = I.curLine;
    I.frame = &c.f;
    I.execBlock(p.body);
    I.curLine = savedLine;
    if (p.returnSlot >= 0)
        return std::move(c.store[p.returnSlot]);
    return Variant();
}

// The cold paths of a call live apart, so a recursive call keeps a small machine-stack frame.
[[noreturn]] __attribute__((noinline)) void ThrowArgumentCount(const Proc& p) {
    Throw(450, QStringLiteral("'%1'").arg(p.name));
}

// A ByRef argument that names storage binds to it: the parameter's slot points there.
__attribute__((noinline)) bool BindReference(Interp& I, Expr& a, CallFrame& c, size_t i) {
    if (Variant* r = a.byRef(I, c.pins)) {
        c.f.vars[i] = r;
        c.rebound = true;
        return true;
    }
    return false;
}
}  // namespace

Variant Interp::call(Proc& p, std::vector<ExprP>& args, Instance* self) {
    const size_t n = args.size();
    if (n != p.params.size())
        ThrowArgumentCount(p);
    checkStack();
    tick();
    CallFrame c(*this, p, self);
    const Proc::Param* params = p.params.data();
    for (size_t i = 0; i < n; ++i) {
        Expr& a = *args[i];
        if (a.refable() && !params[i].byVal) {
            // A local variable, the common argument, binds here; other names ask their node.
            if (a.kind == Expr::Name && static_cast<NameExpr&>(a).ref.local) {
                const NameRef& r = static_cast<NameExpr&>(a).ref;
                if (!r.constant) {
                    c.f.vars[i] = frame->vars[r.slot];
                    c.rebound = true;
                    continue;
                }
            } else if (BindReference(*this, a, c, i)) {
                continue;
            }
        }
        // A free slot is always Empty (a call's end clears its slots): the value is made there.
        new (&c.store[i]) Variant(EvalOperand(a, *this));
    }
    return RunBody(*this, p, c);
}

Variant Interp::callWithValues(Proc& p, Variant* args, size_t n, Instance* self) {
    if (n != p.params.size())
        ThrowArgumentCount(p);
    checkStack();
    tick();
    CallFrame c(*this, p, self);
    for (size_t i = 0; i < n; ++i) {
        if (p.params[i].byVal) {
            c.store[i] = args[i];
        } else {
            c.f.vars[i] = &args[i];
            c.rebound = true;
        }
    }
    return RunBody(*this, p, c);
}

// ---- names ---------------------------------------------------------------------------

Variant NameExpr::eval(Interp& I) {
    if (ref.local)
        return *I.frame->vars[ref.slot];
    if (ref.folded)
        return ref.value;
    if (ref.member >= 0)
        return SelfMember(I, ref.member, nullptr);
    const int g = I.findGlobal(ref);
    if (g >= 0) {
        Global& e = I.globals[size_t(g)];
        if (e.proc) {
            std::vector<ExprP> none;
            return I.call(*e.proc, none);
        }
        return e.value;
    }
    if (ref.strict)
        Throw(500, QStringLiteral("'%1'").arg(ref.name));
    if (ref.slot >= 0)
        return *I.frame->vars[ref.slot];
    return Variant();
}

// A local, or a field of the running method's own object, is read where it is.
const Variant* NameExpr::peek(Interp& I) {
    if (ref.local)
        return I.frame->vars[ref.slot];
    if (ref.member >= 0)
        return SelfFieldIfAny(I, ref.member);
    return nullptr;
}

Variant* NameExpr::byRef(Interp& I, ArrayPins&) {
    if (ref.local)
        return ref.constant ? nullptr : I.frame->vars[ref.slot];
    if (ref.folded)
        return nullptr;
    if (ref.member >= 0)
        return nullptr;
    const int g = I.findGlobal(ref);
    if (g >= 0) {
        Global& e = I.globals[size_t(g)];
        if (e.proc || e.constant)
            return nullptr;
        I.globalsDirty = true;
        return &e.value;
    }
    return lvalue(I);
}

Variant* NameExpr::lvalue(Interp& I) {
    if (ref.local) {
        if (ref.constant)
            Throw(501, QStringLiteral("'%1'").arg(ref.name));
        return I.frame->vars[ref.slot];
    }
    if (ref.member >= 0)
        return SelfField(I, ref.member);
    int g = I.findGlobal(ref);
    if (g >= 0) {
        Global& e = I.globals[size_t(g)];
        if (e.proc || e.constant)
            Throw(501, QStringLiteral("'%1'").arg(ref.name));
        I.globalsDirty = true;
        return &e.value;
    }
    if (ref.strict)
        Throw(500, QStringLiteral("'%1'").arg(ref.name));
    if (ref.slot >= 0)
        return I.frame->vars[ref.slot];
    g = I.declareGlobal(ref.name);
    I.globalsDirty = true;
    return &I.globals[size_t(g)].value;
}

void NameExpr::store(Interp& I, Variant v, bool set) {
    if (ref.local && !ref.constant && !v.isObject() && !set) {
        assign(I.frame->vars[ref.slot], std::move(v));
        return;
    }
    if (ref.member >= 0 && !ref.local) {
        // A plain value into the running object's own field: no property to call.
        if (!set && !v.isObject())
            if (Variant* field = SelfFieldIfAny(I, ref.member)) {
                assign(field, std::move(v));
                return;
            }
        StoreSelfMember(I, ref.member, nullptr, std::move(v), set);
        return;
    }
    Expr::store(I, std::move(v), set);
}

namespace {
// The variable a name(args) expression indexes, or nullptr when it names a procedure.
Variant* indexBase(Interp& I, NameRef& ref, Proc** proc) {
    *proc = nullptr;
    if (ref.local && !ref.returnSlot)
        return I.frame->vars[ref.slot];
    if (Global* entry = I.globalEntry(ref)) {
        Global& e = *entry;
        if (e.proc) {
            *proc = e.proc.get();
            return nullptr;
        }
        if (!ref.returnSlot)
            return &e.value;
    }
    if (ref.returnSlot)
        Throw(13, QStringLiteral("'%1'").arg(ref.name));
    if (ref.slot >= 0)
        return I.frame->vars[ref.slot];
    return nullptr;
}
}  // namespace

// name(args) when the name is not a procedure: an array element or an object's default.
__attribute__((noinline)) static Variant IndexVariable(Interp& I, NameRef& ref, Variant* base,
                                                       std::vector<ExprP>& args) {
    if (!base)
        Throw(13, QStringLiteral("'%1'").arg(ref.name));
    if (base->isObject()) {
        // obj(args), obj(): the default member (a GetRef function is called).
        const Variant obj = *base;
        return CallMember(I, obj, QString(), ref.name, args);
    }
    Subscripts s;
    s.eval(I, args);
    if (!base->isArray())
        Throw(13, QStringLiteral("'%1'").arg(ref.name));  // x() or the statement x on a plain value
    return readElement(*base, s);
}

// name(args) other than a call of a module procedure: a member of the running object, an
// element, an object's default member.
__attribute__((noinline)) static Variant CallOther(CallExpr& c, Interp& I) {
    I.checkStack();  // the subscripts may nest: a(a(a(0)))
    if (c.ref.member >= 0 && !c.ref.local)
        return SelfMember(I, c.ref.member, &c.args);
    Proc* proc;
    Variant* base = indexBase(I, c.ref, &proc);
    if (proc)
        return I.call(*proc, c.args);
    return IndexVariable(I, c.ref, base, c.args);
}

Variant CallExpr::eval(Interp& I) {
    // A call of a module procedure, the common case, straight from the cached entry.
    if (Proc* p = CalledProc(*this, I))
        return I.call(*p, args);
    return CallOther(*this, I);
}


const Variant* CallExpr::peek(Interp& I) {
    if (!ref.local || ref.returnSlot || args.empty() || args.size() > 8) {
        peeks = false;  // a call or no element of a local array: never read in place
        return nullptr;
    }
    const Variant* base = I.frame->vars[ref.slot];
    if (!base->isArray())
        return nullptr;
    int32_t idx[8];
    for (size_t k = 0; k < args.size(); ++k) {
        const Variant* v = args[k]->peek(I);
        if (!v)
            return nullptr;
        idx[k] = indexValue(*v);
    }
    const ArrayData& a = *base->arrayData();
    const size_t off = QuickOffset(a, idx, args.size());
    // A loop reading a large array walks it upwards, most often: the line ahead is fetched.
    if (off + kAheadElements < a.items.size())
        __builtin_prefetch(&a.items[off + kAheadElements]);
    return &a.items[off];
}

Variant* CallExpr::byRef(Interp& I, ArrayPins& pins) {
    if (ref.member >= 0 && !ref.local)
        return nullptr;
    Proc* proc;
    Variant* base = indexBase(I, ref, &proc);
    if (!base || !base->isArray())
        return nullptr;
    Subscripts s;
    s.eval(I, args);
    if (!base->isArray())
        Throw(13, QStringLiteral("'%1'").arg(ref.name));
    ArrayData& a = Ops::mutableArray(*base);
    const size_t off = ElementOffset(a, s.data, s.n);
    if (!ref.local)
        I.globalsDirty = true;
    pins.pin(base->arrayPtr());
    return &a.items[off];
}

// The element of the variable `base` that name(args) names, to be changed: the subscripts
// read, the array made its own.
static Variant* ElementToChange(Interp& I, const NameRef& ref, std::vector<ExprP>& args, Variant* base) {
    Subscripts s;
    s.eval(I, args);
    if (!base->isArray())
        Throw(13, QStringLiteral("'%1'").arg(ref.name));
    ArrayData& a = Ops::mutableArray(*base);
    if (!ref.local)
        I.globalsDirty = true;
    return &a.items[ElementOffset(a, s.data, s.n)];
}

Variant* CallExpr::lvalue(Interp& I) {
    if (ref.member >= 0 && !ref.local)
        Throw(501, QStringLiteral("'%1'").arg(ref.name));
    Proc* proc;
    Variant* base = indexBase(I, ref, &proc);
    if (proc)
        Throw(501, QStringLiteral("'%1'").arg(ref.name));
    if (!base)
        Throw(13, QStringLiteral("'%1'").arg(ref.name));
    return ElementToChange(I, ref, args, base);
}

void CallExpr::store(Interp& I, Variant v, bool set) {
    if (ref.member >= 0 && !ref.local) {
        StoreSelfMember(I, ref.member, &args, std::move(v), set);
        return;
    }
    Proc* proc;
    Variant* base = indexBase(I, ref, &proc);
    if (base && base->isObject()) {
        const Variant obj = *base;
        StoreMember(I, obj, QString(), ref.name, args, std::move(v), set);
        return;
    }
    if (base && base->isArray() && !set && !v.isObject()) {
        // A plain value into an element: what lvalue() does, without finding the array again.
        assign(ElementToChange(I, ref, args, base), std::move(v));
        return;
    }
    Expr::store(I, std::move(v), set);
}

void IndexExpr::store(Interp& I, Variant v, bool set) {
    // The arguments first, once: reading them may change the array the element lives in.
    std::vector<Variant> subs;
    subs.reserve(args.size() + 1);
    for (auto& a : args)
        subs.push_back(a->eval(I));
    if (set)
        RequireObject(v, false);
    else if (v.isObject())
        v = ObjectDefault(v);
    Variant* p = base->lvalue(I);
    if (p->isObject()) {
        // a(0)(1) = v where a(0) holds an object: its default member takes the value
        const Variant obj = *p;
        if (!obj.objectValue())
            Throw(13);  // Nothing has no default member to index: the element is no array
        subs.push_back(std::move(v));
        RequireObject(obj)->invoke(I, QString(), set ? Access::Set : Access::Let, subs);
        return;
    }
    if (!p->isArray())
        Throw(13);
    std::vector<int32_t> idx;
    idx.reserve(subs.size());
    for (const Variant& x : subs)
        idx.push_back(indexValue(x));
    ArrayData& a = Ops::mutableArray(*p);
    assign(&a.items[ElementOffset(a, idx.data(), idx.size())], std::move(v));
}

Variant IndexExpr::eval(Interp& I) {
    I.checkStack();
    Variant v = base->eval(I);
    if (v.isObject())
        return CallMember(I, v, QString(), QString(), args);
    Subscripts s;
    s.eval(I, args);
    if (!v.isArray())
        Throw(13);
    return readElement(v, s);
}

Variant BuiltinExpr::eval(Interp& I) {
    if (badCount)
        Throw(450, QStringLiteral("'%1'").arg(name));
    // Variables and literals are read where they are when the built-in only reads them;
    // reading them runs no code, so nothing changes them before the built-in is done.
    if (fn->read && !statement && !noValue && args.size() <= kMostReadArguments) {
        const Variant* in[kMostReadArguments];
        size_t k = 0;
        for (; k < args.size(); ++k) {
            in[k] = args[k]->peek(I);
            if (!in[k] || in[k]->isObject())
                break;
        }
        if (k == args.size())
            return fn->read(I, BuiltinOperands(in, k));
        // One argument of its own making (CInt(Mid(...))): read where it was made.
        if (args.size() == 1) {
            I.checkStack();  // arguments may nest: CInt(CInt(CInt(x)))
            const Variant v = args[0]->eval(I);
            in[0] = &v;
            return fn->read(I, BuiltinOperands(in, 1));
        }
    }
    // This level's list, emptied (its values released) before the level is given back.
    struct Lease {
        Interp& I;
        std::vector<Variant>& values;
        explicit Lease(Interp& interp)
            : I(interp), values(interp.builtinDepth < interp.builtinArgs.size()
                                    ? *interp.builtinArgs[interp.builtinDepth]
                                    : *interp.builtinArgs.emplace_back(std::make_unique<std::vector<Variant>>())) {
            ++I.builtinDepth;
        }
        ~Lease() {
            values.clear();
            --I.builtinDepth;
        }
    } lease(I);
    std::vector<Variant>& values = lease.values;
    I.checkStack();  // arguments may nest: Abs(Abs(Abs(x)))
    for (auto& a : args)
        values.push_back(a->eval(I));
    Variant r = fn->call(I, values);
    // A conversion called as a statement fails its own check first (CInt(Null) is 94); only
    // a value it did make has nowhere to go.
    if (statement)
        Throw(458, QStringLiteral("'%1'").arg(name));
    if (noValue)
        Throw(13, QStringLiteral("'%1'").arg(name));
    return r;
}

Variant ErrMemberExpr::eval(Interp& I) {
    switch (member) {
    case Number: return Variant::makeLong(I.errNumber);
    case Description: return Variant(I.errDescription);
    case Source: return Variant(I.errSource);
    case HelpFile: return Variant(I.errHelpFile);
    case HelpContext: return Variant::makeLong(I.errHelpContext);
    case Unknown: Throw(438);
    }
    return Variant();
}

// ---- operators -----------------------------------------------------------------------

Variant UnaryExpr::eval(Interp& I) {
    I.checkStack();
    Variant v = e->eval(I);
    if (v.isObject())
        v = ObjectDefault(v);
    return op == Neg ? Ops::neg(v) : Ops::notOp(v);
}

namespace {
// Evaluates both operands (the language does not short-circuit) and applies the operator;
// operands that are variables or literals are used in place, without copies. An object
// stands for its default member.
__attribute__((noinline)) void ToDefault(Variant& v) {
    v = ObjectDefault(v);
}

// Sums, differences and products of plain numbers (n - 1, total + x): one type check, then the
// general operators' own rule (Ops::arith), without their detour.
static_assert(int(BinaryExpr::Add) == int(Arith::Add) && int(BinaryExpr::Sub) == int(Arith::Sub) &&
              int(BinaryExpr::Mul) == int(Arith::Mul));
inline bool QuickArithmetic(BinaryExpr::Op op, const Variant& a, const Variant& b) {
    return op <= BinaryExpr::Mul && Ops::plainNumbers(a, b);
}
inline Variant QuickResult(const BinaryExpr& n, const Variant& a, const Variant& b) {
    return Ops::arith(Arith(n.op), a, b);
}

// Both operands when the left one is not read in place. The right one is evaluated in the
// same frame: one call less for a sum of two calls (Fib(n - 1) + Fib(n - 2)), at the price of
// its room during the left one's recursion.
template <class Node>
__attribute__((always_inline)) inline Variant evalFromLeft(const Node& n, Interp& I) {
    Variant a = EvalOperand(*n.l, I);
    if (!a.isObject())
        if (const Variant* pb = PeekOperand(*n.r, I); pb && !pb->isObject()) {
            if constexpr (std::is_same_v<Node, BinaryExpr>)
                if (QuickArithmetic(n.op, a, *pb))
                    return QuickResult(n, a, *pb);
            return n.apply(a, *pb);
        }
    Variant b = EvalOperand(*n.r, I);
    if constexpr (std::is_same_v<Node, BinaryExpr>)
        if (QuickArithmetic(n.op, a, b))
            return QuickResult(n, a, b);
    if (a.isObject())
        ToDefault(a);
    if (b.isObject())
        ToDefault(b);
    return n.apply(a, b);
}

// Apart, with the stack check of a level whose operands are evaluated (1 = 1 = ... = 1).
template <class Node>
__attribute__((noinline)) Variant checkedFromLeft(const Node& n, Interp& I) {
    I.checkStack();
    return evalFromLeft(n, I);
}

template <class Node>
Variant evalOperands(const Node& n, Interp& I) {
    if (const Variant* pa = PeekOperand(*n.l, I))
        if (const Variant* pb = PeekOperand(*n.r, I)) {
            if constexpr (std::is_same_v<Node, BinaryExpr>)
                if (QuickArithmetic(n.op, *pa, *pb))
                    return QuickResult(n, *pa, *pb);
            if (!pa->isObject() && !pb->isObject())
                return n.apply(*pa, *pb);
        }
    return checkedFromLeft(n, I);
}
}  // namespace

// Apart from the quick sum below, so that one keeps a lean machine frame. Each level of a
// chain of operators (1 + 1 + ... + 1, x & (y & (...))) passes one of the stack checks here.
__attribute__((noinline)) static Variant EvalFromLeft(const BinaryExpr& n, Interp& I) {
    I.checkStack();
    return evalFromLeft(n, I);
}
__attribute__((noinline)) static Variant ApplyInPlace(const BinaryExpr& n, Interp& I, const Variant& a,
                                                      const Variant* b) {
    if (b && !a.isObject() && !b->isObject())
        return n.apply(a, *b);
    I.checkStack();
    return evalFromLeft(n, I);
}

static inline Variant EvalBinary(const BinaryExpr& n, Interp& I) {
    const Variant* pa = PeekOperand(*n.l, I);
    if (!pa)
        return EvalFromLeft(n, I);
    const Variant* pb = PeekOperand(*n.r, I);
    if (pb && QuickArithmetic(n.op, *pa, *pb))
        return QuickResult(n, *pa, *pb);
    return ApplyInPlace(n, I, *pa, pb);
}

Variant BinaryExpr::eval(Interp& I) { return EvalBinary(*this, I); }

Variant BinaryExpr::apply(const Variant& a, const Variant& b) const {
    switch (op) {
    case Add: return Ops::add(a, b);
    case Sub: return Ops::sub(a, b);
    case Mul: return Ops::mul(a, b);
    case Div: return Ops::div(a, b);
    case IntDiv: return Ops::intDiv(a, b);
    case Mod: return Ops::mod(a, b);
    case Pow: return Ops::pow(a, b);
    case Concat: return Ops::concat(a, b);
    case And: return Ops::logic(Ops::And, a, b);
    case Or: return Ops::logic(Ops::Or, a, b);
    case Xor: return Ops::logic(Ops::Xor, a, b);
    case Eqv: return Ops::logic(Ops::Eqv, a, b);
    case Imp: return Ops::logic(Ops::Imp, a, b);
    }
    return Variant();
}

Variant CompareExpr::eval(Interp& I) { return evalOperands(*this, I); }

inline bool CompareExpr::holds(int32_t a, int32_t b) const {
    switch (op) {
    case Eq: return a == b;
    case Ne: return a != b;
    case Lt: return a < b;
    case Gt: return a > b;
    case Le: return a <= b;
    case Ge: return a >= b;
    }
    return false;
}

// A condition on two whole numbers read in place (If n < 2) makes no value to test.
__attribute__((noinline)) static bool EvalTruth(CompareExpr& c, Interp& I) { return c.eval(I).isTrue(); }

// The one rule of a comparison's truth, for its own truth() and for an If's condition.
__attribute__((always_inline)) static inline bool CompareTruth(CompareExpr& c, Interp& I) {
    if (const Variant* pa = PeekOperand(*c.l, I))
        if (const Variant* pb = PeekOperand(*c.r, I); pb && Ops::word(*pa) && Ops::word(*pb))
            return c.holds(pa->intValue(), pb->intValue());
    return EvalTruth(c, I);
}

bool CompareExpr::truth(Interp& I) { return CompareTruth(*this, I); }

Variant CompareExpr::apply(const Variant& a, const Variant& b) const {
    if (Ops::word(a) && Ops::word(b))
        return Variant(holds(a.intValue(), b.intValue()));
    // The order of any two values, then the same test of it.
    const int c = Ops::compare(a, b, l->isHard(), r->isHard());
    if (c == 2)
        return Variant::makeNull();
    return Variant(holds(c, 0));
}

// ---- statements ----------------------------------------------------------------------

// A variable declared as an array cannot take another value (the value is still computed).
[[noreturn]] __attribute__((noinline)) static void AssignToArrayVariable(Interp& I, Expr& value) {
    value.eval(I);
    Throw(13);
}

// A literal or a variable (local or module) read where it is: reading it runs no code and
// raises nothing. Null for anything else (a procedure, an undeclared name, an expression).
static const Variant* ReadInPlace(Expr& e, Interp& I) {
    if (e.kind == Expr::Literal)
        return &static_cast<LiteralExpr&>(e).value;
    if (e.kind != Expr::Name)
        return nullptr;
    NameRef& r = static_cast<NameExpr&>(e).ref;
    if (r.local)
        return I.frame->vars[r.slot];
    if (r.folded || r.member >= 0)
        return nullptr;
    Global* g = I.globalEntry(r);
    return g && !g->proc ? &g->value : nullptr;
}

// The element name(args) = value changes, when name is a local or module array variable and
// every subscript is read in place (so nothing runs between reading the value and storing
// it, as on the general path); null, with nothing read or changed, otherwise.
static Variant* ElementInPlace(CallExpr& c, Interp& I) {
    NameRef& ref = c.ref;
    if (ref.returnSlot || (ref.member >= 0 && !ref.local))
        return nullptr;
    Proc* proc;
    Variant* base = indexBase(I, ref, &proc);
    if (!base || !base->isArray())
        return nullptr;
    int32_t idx[8];
    const size_t n = c.args.size();
    if (n > 8)
        return nullptr;
    for (size_t k = 0; k < n; ++k) {
        const Variant* v = ReadInPlace(*c.args[k], I);
        if (!v || v->isObject())
            return nullptr;
        idx[k] = indexValue(*v);
    }
    ArrayData& a = Ops::mutableArray(*base);
    if (!ref.local)
        I.globalsDirty = true;
    return &a.items[QuickOffset(a, idx, n)];
}

// A plain value read in place into an element: a(i) = i without a temporary. False, with
// nothing done, when the statement is not of that shape.
__attribute__((noinline)) static bool StoreElementInPlace(AssignStmt& s, Interp& I) {
    if (const Variant* pv = ReadInPlace(*s.value, I); pv && !pv->isString() && !pv->isArray() && !pv->isObject())
        if (Variant* dst = ElementInPlace(*s.element, I)) {
            *dst = *pv;
            return true;
        }
    return false;
}

// The assignments other than a plain value into a local.
__attribute__((noinline)) static Flow AssignOther(AssignStmt& s, Interp& I) {
    if (s.arrayVariable)
        AssignToArrayVariable(I, *s.value);
    if (s.name) {
        const NameRef& r = s.name->ref;
        if (r.member >= 0 && !r.local) {
            // A plain value into a field of the running method's own object is stored there.
            Variant v = s.value->eval(I);
            if (!v.isObject())
                if (Variant* field = SelfFieldIfAny(I, r.member)) {
                    assign(field, std::move(v));
                    return Flow::Normal;
                }
            s.name->store(I, std::move(v), false);
            return Flow::Normal;
        }
    }
    if (s.element && StoreElementInPlace(s, I))
        return Flow::Normal;
    s.target->store(I, s.value->eval(I), false);
    return Flow::Normal;
}

Flow AssignStmt::exec(Interp& I) {
    // A plain value into a local is stored where it lives; a number or Empty read in place
    // (Fib = n) is copied there without a temporary.
    if (name && !arrayVariable && name->ref.local && !name->ref.constant) {
        if (const Variant* pv = PeekOperand(*value, I); pv && !pv->isString() && !pv->isArray() && !pv->isObject()) {
            *I.frame->vars[name->ref.slot] = *pv;
            return Flow::Normal;
        }
        Variant v = EvalOperand(*value, I);
        if (!v.isObject()) {
            assign(I.frame->vars[name->ref.slot], std::move(v));
            return Flow::Normal;
        }
        name->store(I, std::move(v), false);
        return Flow::Normal;
    }
    return AssignOther(*this, I);
}

// s = s & a & b ...: the text is appended in place when the variable still holds the
// string it had when the right side was read, so building a string stays linear.
Flow AppendStmt::exec(Interp& I) {
    // A member of the running method's object may be a property: the plain assignment
    // knows how to store it.
    if (const NameRef& ref = static_cast<NameExpr*>(target)->ref; ref.member >= 0 && !ref.local)
        return whole->exec(I);
    // The common shape, a local text and one literal or variable text (s = s & "x"): appended
    // where they are, with no copy of either and no count taken on them.
    if (tail.size() == 1) {
        const Variant* h = head->peek(I);
        const Variant* part = h && h->isString() ? tail[0]->peek(I) : nullptr;
        if (part && part != h && part->isString()) {
            Variant* dst = target->lvalue(I);
            if (dst == h) {
                Ops::checkLength(dst->stringValue().size() + part->stringValue().size());
                Ops::appendText(*dst, part->stringValue());
                return Flow::Normal;
            }
        }
    }
    Variant acc = head->eval(I);
    Variant parts[4];
    const size_t n = tail.size();
    for (size_t k = 0; k < n; ++k)
        parts[k] = tail[k]->eval(I);
    Variant* dst = target->lvalue(I);
    if (acc.isString() && dst->isString() && !dst->isArray() &&
        dst->stringValue().constData() == acc.stringValue().constData() &&
        dst->stringValue().size() == acc.stringValue().size()) {
        acc = Variant();  // drop the second reference so the append does not copy
        qsizetype len = dst->stringValue().size();
        for (size_t k = 0; k < n; ++k) {
            if (parts[k].isNull())
                continue;
            const QString add = parts[k].toString();
            len += add.size();
            Ops::checkLength(len);
            Ops::appendText(*dst, add);
        }
        return Flow::Normal;
    }
    for (size_t k = 0; k < n; ++k)
        acc = Ops::concat(acc, parts[k]);
    assign(dst, std::move(acc));
    return Flow::Normal;
}

StmtP OptimizeAssign(std::unique_ptr<AssignStmt> s) {
    auto* name = dynamic_cast<NameExpr*>(s->target.get());
    s->name = name;
    // Only shapes whose value and subscripts may be read in place (StoreElementInPlace).
    const auto inPlace = [](const ExprP& e) { return e->kind == Expr::Literal || e->kind == Expr::Name; };
    if (auto* c = dynamic_cast<CallExpr*>(s->target.get());
        c && !c->args.empty() && c->args.size() <= 8 && !s->arrayVariable && inPlace(s->value) &&
        std::all_of(c->args.begin(), c->args.end(), inPlace))
        s->element = c;
    if (!name || s->arrayVariable)
        return s;
    // Walk the left spine of a chain of & down to its first operand.
    std::vector<Expr*> rights;
    Expr* e = s->value.get();
    while (auto* b = dynamic_cast<BinaryExpr*>(e)) {
        if (b->op != BinaryExpr::Concat || rights.size() == 4)
            return s;
        rights.push_back(b->r.get());
        e = b->l.get();
    }
    auto* head = dynamic_cast<NameExpr*>(e);
    if (!head || rights.empty() || head->ref.key != name->ref.key)
        return s;
    auto a = std::make_unique<AppendStmt>();
    a->line = s->line;
    a->target = s->target.get();
    a->head = head;
    a->tail.assign(rights.rbegin(), rights.rend());
    a->whole = std::move(s);
    return a;
}

Flow CallStmt::exec(Interp& I) {
    EvalOperand(*call, I);
    return Flow::Normal;
}

// A condition's truth; a comparison (If n < 2) is decided by its own rule without a virtual call.
static inline bool ConditionHolds(Expr& e, Interp& I) {
    if (e.kind == Expr::Compare)
        return CompareTruth(static_cast<CompareExpr&>(e), I);
    return e.truth(I);
}

Flow IfStmt::exec(Interp& I) {
    for (size_t i = 0; i < conds.size(); ++i) {
        bool taken = true;
        if (!I.frame->resumeNext)
            taken = ConditionHolds(*conds[i], I);
        else
            I.header([&] { taken = conds[i]->truth(I); });
        if (taken)
            return I.execBlock(blocks[i]);
    }
    return I.execBlock(elseBlock);
}

// What a loop statement returns when its body ends early: its own Exit ends just the loop,
// any other exit (Exit Function, an outer loop's Exit) goes on up.
static inline Flow AfterLoop(Flow f, Flow ownExit) { return f == ownExit ? Flow::Normal : f; }

// A loop whose header failed under On Error Resume Next: the body runs once, then its
// Next finds no loop to continue (error 92, resumed after the loop).
// A For whose header failed stops at its Next with 92; a For Each with 451, as its group
// never became a collection to walk.
static Flow UninitialisedLoop(Interp& I, const Block& body, int error = 92) {
    if (const Flow f = I.execBlock(body); f != Flow::Normal)
        return AfterLoop(f, Flow::ExitFor);
    Throw(error);
}

Flow ForStmt::exec(Interp& I) {
    Variant start, end, inc;
    if (!I.header([&] {
            start = Ops::numeric(from->eval(I));
            end = Ops::numeric(to->eval(I));
            inc = step ? Ops::numeric(step->eval(I)) : Variant::makeInteger(1);
            if (start.isNull() || end.isNull() || inc.isNull())
                Throw(94);
            *var->lvalue(I) = start;
        }))
        return UninitialisedLoop(I, body);
    const bool down = inc.toDouble() < 0;
    // A local counter's storage stays put for the whole loop; whole-number bounds compare
    // without conversions while the body leaves the counter a whole number.
    Variant* const local = var->peek(I) ? var->lvalue(I) : nullptr;
    const bool wordEnd = Ops::word(end);
    for (;;) {
        I.tick();
        Variant* p = local ? local : var->lvalue(I);
        bool past;
        if (wordEnd && Ops::word(*p)) {
            past = down ? p->intValue() < end.intValue() : p->intValue() > end.intValue();
        } else {
            const int c = Ops::compare(*p, end, false, false);
            past = c == 2 || (down ? c < 0 : c > 0);
        }
        if (past)
            break;
        if (const Flow f = I.execBlock(body); f != Flow::Normal)
            return AfterLoop(f, Flow::ExitFor);
        p = local ? local : var->lvalue(I);
        *p = Ops::add(*p, inc);
    }
    return Flow::Normal;
}

Flow ForEachStmt::exec(Interp& I) {
    Variant g;
    if (!I.header([&] {
            g = group->eval(I);
            if (g.isObject())
                g = Variant::makeArray(ObjectElements(I, g));
            if (!g.isArray())
                Throw(451);
        }))
        return UninitialisedLoop(I, body, 451);
    // The elements are stored in the order the language walks them, the first index fastest.
    const ArrayData& a = *g.arrayData();
    for (size_t k = 0; k < a.items.size(); ++k) {
        I.tick();
        assign(var->lvalue(I), Variant(a.items[k]));
        if (const Flow f = I.execBlock(body); f != Flow::Normal)
            return AfterLoop(f, Flow::ExitFor);
    }
    return Flow::Normal;
}

Flow DoStmt::exec(Interp& I) {
    // The first test belongs to the header; later ones to the loop's end, where an error
    // resumes after the loop.
    bool first = true;
    for (;;) {
        I.tick();
        if (test == Pre) {
            bool stop = false;
            if (first)
                I.header([&] { stop = cond->truth(I) == until; });
            else
                stop = cond->truth(I) == until;
            first = false;
            if (stop)
                break;
        }
        if (const Flow f = I.execBlock(body); f != Flow::Normal)
            return AfterLoop(f, Flow::ExitDo);
        if (test == Post && cond->truth(I) == until)
            break;
    }
    return Flow::Normal;
}

// A Case value that cannot be compared with the subject (3 and "a") is no match, where `=`
// would be error 13.
static bool CaseMatches(const Variant& v, const Variant& x, bool hardV, bool hardX) {
    try {
        return Ops::compare(v, x, hardV, hardX) == 0;
    } catch (const RuntimeError& e) {
        if (e.number != 13)
            throw;
        return false;
    }
}

Flow SelectStmt::exec(Interp& I) {
    // Under On Error Resume Next a subject that fails runs no Case at all (not even Case
    // Else); a Case value that fails runs that Case's body.
    Variant v;
    if (!I.header([&] {
            v = subject->eval(I);
            if (v.isObject())
                v = ObjectDefault(v);
        }))
        return Flow::Normal;
    for (auto& c : cases)
        for (auto& e : c.values) {
            bool match = false;
            if (!I.header([&] {
                    Variant x = e->eval(I);
                    if (x.isObject())
                        x = ObjectDefault(x);
                    match = CaseMatches(v, x, subject->isHard(), e->isHard());
                }))
                return I.execBlock(c.body);
            if (match)
                return I.execBlock(c.body);
        }
    if (hasElse)
        return I.execBlock(elseBody);
    return Flow::Normal;
}

Flow DimStmt::exec(Interp& I) {
    for (auto& it : items) {
        Global& e = I.globals[size_t(I.declareGlobal(it.name))];
        // Code run from text cannot declare an existing array again, fixed or dynamic.
        if ((it.dynamicArray || it.hasBounds) && I.executing > 0 && e.value.isArray())
            Throw(13);
        // A procedure or a constant of another text gives way to a new Empty variable.
        if (e.proc || e.constant) {
            e.proc.reset();
            e.value = Variant();
        }
        e.constant = false;
        if (it.hasBounds && !e.value.isArray()) {
            e.value = Variant::makeArray(it.bounds);
            e.value.arrayData()->fixed = true;
        } else if (it.dynamicArray && !e.value.isArray()) {
            e.value = UndimensionedArray();
        }
        I.globalsDirty = true;
    }
    return Flow::Normal;
}

// ReDim Preserve: only the last dimension changes. Its rows lie one after another, so the
// array grows or is cut at its end, in place, with room doubling under the hood: appending
// one row at a time stays linear in any number of dimensions.
static void ResizeLastDimension(Variant& v, std::span<const int32_t> bounds) {
    const ArrayData& old = *v.arrayData();
    if (old.upper.size() != bounds.size())
        Throw(9);
    int64_t n = 1;
    for (size_t d = 0; d + 1 < bounds.size(); ++d) {
        if (old.upper[d] != bounds[d])
            Throw(9);
        n *= int64_t(bounds[d]) + 1;
    }
    if (bounds.back() < -1)
        Throw(9);
    n *= int64_t(bounds.back()) + 1;
    if (n > kMaxArrayElements)
        Throw(7);
    ArrayData& a = Ops::mutableArray(v);
    const size_t count = size_t(n);
    std::vector<Variant> dropped;  // released (terminates run) once the array is whole
    if (count < a.items.size())
        dropped.assign(std::make_move_iterator(a.items.begin() + count), std::make_move_iterator(a.items.end()));
    else if (count > a.items.capacity())
        a.items.reserve(std::min(std::max(count, 2 * a.items.capacity()), size_t(kMaxArrayElements)));
    a.items.resize(count);
    a.upper.back() = bounds.back();
}

// ReDim Preserve of an array that only this variable holds, growing its last dimension within
// the room it has: an append loop's step (a(n), m(1, n)), without the general path's list of
// released elements and its copies. False when any of that does not hold; the general path
// then raises what is wrong, in its order.
static bool GrowWithinRoom(Variant& v, const int32_t* bounds, size_t n) {
    ArrayData* a = v.arrayData();
    if (!a || a->upper.size() != n || a->fixed || a->pins > 0 || v.arrayPtr().use_count() != 1)
        return false;
    uint64_t rows = 1;
    for (size_t d = 0; d + 1 < n; ++d) {
        if (bounds[d] != a->upper[d])
            return false;
        rows *= uint64_t(int64_t(a->upper[d]) + 1);
    }
    const int32_t last = bounds[n - 1];
    if (last < a->upper[n - 1])
        return false;
    const uint64_t count = rows * uint64_t(int64_t(last) + 1);
    if (count > a->items.capacity() || count > uint64_t(kMaxArrayElements))
        return false;
    a->items.resize(size_t(count));
    a->upper[n - 1] = last;
    // The next steps' elements are fetched for writing ahead of them: appending one at a time
    // otherwise waits on memory for each new line.
    if (count + kAheadElements <= a->items.capacity())
        __builtin_prefetch(a->items.begin() + count + kAheadElements, 1);
    return true;
}

// The append step of ReDim Preserve: one array whose bounds are variables or literals holding
// whole numbers, read in place (reading them runs no code and raises nothing, so the general
// path's order of errors holds when this one declines).
static bool GrowStep(ReDimStmt::Item& it, Interp& I) {
    const size_t n = it.bounds.size();
    if (n > 8)
        return false;
    int32_t bounds[8];
    for (size_t d = 0; d < n; ++d) {
        const Variant* b = ReadInPlace(*it.bounds[d], I);
        if (!b || (b->type() != Variant::Integer && b->type() != Variant::Long))
            return false;
        bounds[d] = b->intValue();
    }
    Expr& target = *it.target;
    Variant* p = target.kind == Expr::Name && static_cast<NameExpr&>(target).ref.local &&
                         !static_cast<NameExpr&>(target).ref.constant
                     ? I.frame->vars[static_cast<NameExpr&>(target).ref.slot]
                     : target.lvalue(I);
    return GrowWithinRoom(*p, bounds, n);
}

__attribute__((noinline)) static Flow ReDimAll(ReDimStmt& s, Interp& I) {
    const bool preserve = s.preserve;
    for (auto& it : s.items) {
        // A fixed array refuses before its new bounds are read (ReDim s("abc") is 10 too);
        // ReDim Preserve reads them first (ReDim Preserve s("abc") is 13). The variable's
        // storage stays put while they are read (slots and module variables never move); its
        // value is checked again after.
        Variant* p = it.target->lvalue(I);
        if (!preserve && p->isArray() && p->arrayData()->fixed)
            Throw(10);
        Subscripts given;
        given.eval(I, it.bounds);
        const std::span<const int32_t> bounds(given.data, given.n);
        if (p->isArray() && (p->arrayData()->fixed || p->arrayData()->pins > 0))
            Throw(10);
        if (preserve && p->isArray() && !p->arrayData()->upper.empty()) {
            ResizeLastDimension(*p, bounds);
            continue;
        }
        *p = Variant::makeArray(std::vector<int32_t>(bounds.begin(), bounds.end()));
    }
    return Flow::Normal;
}

Flow ReDimStmt::exec(Interp& I) {
    if (preserve && items.size() == 1 && GrowStep(items[0], I))
        return Flow::Normal;
    return ReDimAll(*this, I);
}

Flow EraseStmt::exec(Interp& I) {
    // Under Option Explicit a name never declared nor assigned is no variable to erase;
    // without it the name is a new Empty variable, no array (13 below).
    if (auto* n = dynamic_cast<NameExpr*>(target.get()); n && n->ref.strict && !n->ref.local && n->ref.member < 0 &&
                                                           I.findGlobal(n->ref) < 0 &&
                                                           (n->ref.slot < 0 || I.frame->vars[n->ref.slot]->isEmpty()))
        Throw(500, QStringLiteral("'%1'").arg(n->ref.name));
    Variant* p = target->lvalue(I);
    if (!p->isArray())
        Throw(13);
    if (p->arrayData()->pins > 0)
        Throw(10);
    if (p->arrayData()->fixed) {
        Variant fresh = Variant::makeArray(p->arrayData()->upper);
        fresh.arrayData()->fixed = true;
        *p = std::move(fresh);
    } else {
        *p = UndimensionedArray();
    }
    return Flow::Normal;
}

Variant UndimensionedArray() {
    Variant none = Variant::makeArray(std::vector<int32_t>{});
    none.arrayData()->items.clear();
    return none;
}

Flow ConstStmt::exec(Interp& I) {
    Variant v = value->eval(I);
    if (module) {
        // Code run from text cannot make a constant of a variable the module already has.
        if (I.executing > 0) {
            const int g = I.findGlobal(ref.key);
            if (g >= 0 && !I.globals[size_t(g)].constant && !I.globals[size_t(g)].proc) {
                RuntimeError r{1041, ErrorDescription(1041)};
                r.source = kCompileSource;
                throw r;
            }
        }
        Global& e = I.globals[size_t(I.declareGlobal(ref.name))];
        e.proc.reset();
        assign(&e.value, std::move(v));
        e.constant = true;
        I.globalsDirty = true;
    } else {
        assign(I.frame->vars[ref.slot], std::move(v));
    }
    return Flow::Normal;
}

Flow OnErrorStmt::exec(Interp& I) {
    I.frame->resumeNext = resumeNext;
    I.clearErr();
    return Flow::Normal;
}

Flow ErrAssignStmt::exec(Interp& I) {
    const Variant v = value->eval(I);
    switch (member) {
    case ErrMemberExpr::Number: I.errNumber = v.toLong(); break;
    case ErrMemberExpr::Description: I.errDescription = v.toString(); break;
    case ErrMemberExpr::Source: I.errSource = v.toString(); break;
    case ErrMemberExpr::HelpFile: I.errHelpFile = v.toString(); break;
    case ErrMemberExpr::HelpContext: I.errHelpContext = v.toLong(); break;
    case ErrMemberExpr::Unknown: Throw(438);
    }
    return Flow::Normal;
}

namespace {
// The number Err.Raise leaves in Err.Number: the language's own numbers as they are, a
// failure code of this runtime's family or a well-known system one as the language's number,
// other failure codes unchanged; a positive number past the language's range is error 5.
int32_t RaisedNumber(int32_t n) {
    if (n >= 0)
        return n <= 0xFFFF ? n : 0;
    const uint32_t code = uint32_t(n);
    if ((code & 0xFFFF0000u) == 0x800A0000u)
        return int32_t(code & 0xFFFF);
    switch (code) {
    case 0x8007000Eu: return 7;   // out of memory
    case 0x80070057u: return 5;   // invalid argument
    case 0x80020005u: return 13;  // type mismatch
    case 0x8002000Au: return 6;   // overflow
    case 0x8002000Bu: return 9;   // bad index
    case 0x80020012u: return 11;  // division by zero
    default: return n;
    }
}
}  // namespace

Flow ErrRaiseStmt::exec(Interp& I) {
    if (args.empty() || args.size() > 5)
        Throw(450);
    std::vector<Variant> v;
    for (auto& a : args)
        v.push_back(a->eval(I));
    const int32_t number = RaisedNumber(v[0].toLong());
    if (number == 0)
        Throw(5);
    // What is not given keeps the Err object's value; an empty description becomes the
    // number's own text and an empty source the runtime's.
    RuntimeError e{number, I.errDescription.isEmpty() ? ErrorDescription(number) : I.errDescription};
    e.source = I.errSource;
    e.helpFile = I.errHelpFile;
    e.helpContext = I.errHelpContext;
    if (v.size() > 1 && !v[1].isEmpty())
        e.source = v[1].toString();
    if (v.size() > 2 && !v[2].isEmpty())
        e.description = v[2].toString();
    if (v.size() > 3 && !v[3].isEmpty())
        e.helpFile = v[3].toString();
    if (v.size() > 4 && !v[4].isEmpty())
        e.helpContext = v[4].toLong();
    throw e;
}

}  // namespace script
