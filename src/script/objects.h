#pragma once
// Objects of the language: script class definitions and instances, the built-in objects
// (RegExp, Scripting.Dictionary, function references), and the expression and statement
// nodes that reach them. Internal to the engine.
#include "nodes.h"

#include <optional>

namespace script {

struct Instance;

// How a member is reached: read or called, assigned (Let), or assigned a reference (Set).
enum class Access { Get, Let, Set };

class ObjectBase : public std::enable_shared_from_this<ObjectBase> {
public:
    virtual ~ObjectBase() = default;
    virtual QString typeName() const = 0;
    // Member `key` (lower case; empty: the default member) with argument values; for Let and
    // Set the last argument is the value assigned. Unknown members raise 438.
    virtual Variant invoke(Interp& I, const QString& key, Access access, std::vector<Variant>& args);
    // The elements For Each visits; objects that are no collection raise 451.
    virtual std::vector<Variant> elements(Interp& I);
    // The script instance behind this object, if it is one.
    virtual Instance* instance() { return nullptr; }
    // VarType of the object: vbObject, or the type of its default value for built-ins that have one.
    virtual int varType() { return Variant::Object; }
    // Runs once when the last reference goes (Class_Terminate).
    virtual void finalize() {}
    // Drops the references the object holds, so cycles come apart when the engine goes.
    virtual void clearReferences() {}
    bool finalized = false;
    std::shared_ptr<InterpHandle> handle;  // set by MakeObject
    ObjectBase* nextRelease = nullptr;     // the release queue, while the object waits in it
};

// The reference-counted owner of a new object: when the last reference goes, finalize() runs
// (with the object alive again for the length of the call) and the object is deleted.
Variant MakeObject(Interp& I, ObjectBase* fresh);

// The engine an object was made by; cleared when the engine goes, so objects the host still
// holds afterwards never call into it.
struct InterpHandle {
    Interp* I = nullptr;
};

struct ClassMember {
    QString name;
    bool isPublic = true;
    int field = -1;                      // index into the instance's fields
    bool hasBounds = false;              // Dim a(n) inside the class
    std::vector<int32_t> bounds;
    std::shared_ptr<Proc> method;        // Sub or Function
    std::shared_ptr<Proc> get, let, set; // Property procedures
    bool isField() const { return field >= 0; }
};

struct ClassDef {
    ClassDef();
    const uint64_t serial;  // unique for the process: caches compare it, never an address
    QString name;
    std::vector<ClassMember> members;
    QHash<QString, int> index;  // lower-case name -> member
    int fieldCount = 0;
    int defaultMember = -1;
    std::shared_ptr<Proc> initialize, terminate;
    int find(const QString& key) const {
        auto it = index.constFind(key);
        return it == index.constEnd() ? -1 : *it;
    }
};

struct Instance : ObjectBase {
    std::shared_ptr<ClassDef> cls;
    std::vector<Variant> fields;
    QString typeName() const override { return cls->name; }
    Variant invoke(Interp& I, const QString& key, Access access, std::vector<Variant>& args) override;
    Instance* instance() override { return this; }
    int varType() override;
    void finalize() override;
    void clearReferences() override;
};

// The running object's field when the member is one (nullptr for a property or a method).
inline Variant* SelfFieldIfAny(Interp& I, int member) {
    Instance* s = I.frame->self;
    if (!s)
        return nullptr;
    const ClassMember& m = s->cls->members[size_t(member)];
    return m.isField() ? &s->fields[size_t(m.field)] : nullptr;
}

// Builds a new object of the class (Class_Initialize runs); the reference counts from here.
Variant NewInstance(Interp& I, const std::shared_ptr<ClassDef>& cls);
// Built-in objects.
ObjectBase* NewRegExp();
ObjectBase* NewDictionary();
ObjectBase* NewProcRef(std::shared_ptr<Proc> p);

// Calls a member of an object value with argument expressions (ByRef into script procedures).
Variant CallMember(Interp& I, const Variant& obj, const QString& key, const QString& name,
                   std::vector<ExprP>& args);
// Assigns to a member (Let or Set) with argument expressions.
void StoreMember(Interp& I, const Variant& obj, const QString& key, const QString& name,
                 std::vector<ExprP>& args, Variant value, bool set);
// Reads a member of the running method's own object by index (names resolved inside a class).
Variant SelfMember(Interp& I, int member, std::vector<ExprP>* args);
void StoreSelfMember(Interp& I, int member, std::vector<ExprP>* args, Variant value, bool set);
Variant* SelfField(Interp& I, int member);

// The elements For Each visits in an object.
std::vector<Variant> ObjectElements(Interp& I, const Variant& obj);
// The object of a value that must be one: 424 otherwise, 91 for Nothing when `needLive`.
ObjectBase* RequireObject(const Variant& v, bool needLive = true);

// Values of the dynamic-code functions.
Variant EvalText(Interp& I, const QString& code);
void ExecuteText(Interp& I, const QString& code, bool global);
// MsgBox and InputBox through the engine's host.
Variant HostMsgBox(Interp& I, std::vector<Variant>& a);
Variant HostInputBox(Interp& I, std::vector<Variant>& a);

// ---- nodes ---------------------------------------------------------------------------

// obj.name or obj.name(args); obj is null inside With (the innermost With object).
struct MemberExpr : Expr {
    ExprP object;
    int withDepth = -1;  // >= 0: `.name` inside With, index of the With in the procedure
    static constexpr int kNoWith = -2;  // `.name` outside any With: error 505 when reached
    QString name, key;
    std::vector<ExprP> args;
    bool hasArgs = false;
    bool statement = false;  // the call statement's own member (x.M as a statement)
    // The member found for the class of the last object, so repeated calls skip the lookup.
    uint64_t lastClass = 0;
    int lastMember = -1;
    Variant target(Interp& I);
    Variant eval(Interp& I) override;
    void store(Interp& I, Variant v, bool set) override;
};

struct MeExpr : Expr {
    Variant eval(Interp& I) override;
};

struct NewExpr : Expr {
    QString name, key;
    Variant eval(Interp& I) override;
};

struct IsExpr : Expr {
    ExprP l, r;
    Variant eval(Interp& I) override;
};

struct WithStmt : Stmt {
    ExprP object;
    Block body;
    Flow exec(Interp& I) override;
};

// Set target = value.
struct SetStmt : Stmt {
    ExprP target, value;
    Flow exec(Interp& I) override;
};

}  // namespace script
