#pragma once
// The interpreter's run-time state: module variables, the running calls' frames and locals,
// the Err object, limits, objects and the code compiled by Execute/Eval. Internal to the engine.
#include "ast.h"

#include <QHash>
#include <QString>

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <vector>

namespace script {

struct InterpHandle;
class ScriptHost;

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
    // The chunk in use, at hand: its slots, their pointers (a free slot's pointer points at
    // the slot itself; a call gives back the ones it bound elsewhere) and its size.
    Variant* vars = nullptr;
    Variant** ptrs = nullptr;
    size_t size = 0;
};

// Rnd's generator state in a new engine.
constexpr uint32_t kRndStart = 0x50000;
// The locale id of a Chinese (PRC) system.
constexpr int32_t kSystemLocale = 2052;

// The machine stack's depth here. The stack pointer itself where it can be read: asking for the
// frame's address makes every function that checks keep a frame pointer.
__attribute__((always_inline)) inline const char* StackHere() {
#if defined(__x86_64__)
    const char* sp;
    asm volatile("mov %%rsp, %0" : "=r"(sp));
    return sp;
#else
    return static_cast<const char*>(__builtin_frame_address(0));
#endif
}

struct Interp {
    Interp();
    ~Interp();
    Interp(const Interp&) = delete;
    Interp& operator=(const Interp&) = delete;

    std::deque<Global> globals;
    QHash<QString, int> globalIndex;
    uint64_t generation = 0;
    bool globalsDirty = false;

    SlotStack localSlots;
    // Argument lists of the built-in calls under way, one per nesting level, kept with their
    // room so a call such as Mid(n, 1, 1) allocates nothing for its arguments.
    std::vector<std::unique_ptr<std::vector<Variant>>> builtinArgs;  // each list stays put
    size_t builtinDepth = 0;
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
    // A call's time limit starts at its first check rather than its start: reading the clock
    // costs more than a whole quick call, and hosts make tens of thousands of them. -1: started.
    int pendingTimeoutMs = -1;
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
    [[noreturn]] void raiseReleaseError();
    // Memory ran out during the running host call (an allocation threw std::bad_alloc).
    bool ranOutOfMemory = false;
    // Error 7 for an allocation that failed. Gives up the memory reserve (KeepMemoryReserve),
    // so that the script's own handler, the host and the next text find some room.
    RuntimeError outOfMemory();

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
        if (r.gen != generation)
            lookUpGlobal(r);
        return r.global;
    }
    // The module entry of a name, or nullptr.
    Global* globalEntry(NameRef& r) {
        if (r.gen != generation)
            lookUpGlobal(r);
        return r.entry;
    }
    void lookUpGlobal(NameRef& r);
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
        if (StackHere() < stackLimit)
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
        } catch (const std::bad_alloc&) {
            setErr(outOfMemory());
        }
        return false;
    }
    // Records the error of a statement under On Error Resume Next; a time-out or a stop (its
    // own or a terminate's) ends the run instead.
    void resumeAfter(const RuntimeError& e);
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
    // Runs a block's statements: each records its line; under On Error Resume Next the rest
    // of the block runs apart (execResuming), so this plain loop stays small enough to inline.
    Flow execBlock(const Block& b) {
        const StmtP* s = b.data();
        const StmtP* const end = s + b.size();
        for (; s != end; ++s) {
            if (frame->resumeNext)
                return execResuming(s, end);
            curLine = (*s)->line;
            const Flow f = (*s)->exec(*this);
            if (releaseFailed)
                raiseReleaseError();
            if (f != Flow::Normal)
                return f;
        }
        return Flow::Normal;
    }
    Flow execResuming(const StmtP* s, const StmtP* end);
};

// Holds the memory reserve back again unless it is held already (the engine's start, and the
// end of each host call that did not run out of memory).
void KeepMemoryReserve();

// The stack limit for script code started here on the calling thread: the thread's real stack
// less a reserve for the engine's own work below the last check.
const char* StackLimitHere();

}  // namespace script
