#pragma once
// The script value: a tagged union with the language's subtypes and its conversion rules.
#include "errortext.h"

#include <QString>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace script {

// Longest string the engine builds; beyond it a script gets "Out of memory" instead of
// exhausting the host.
constexpr int kMaxStringLength = 1 << 22;
// Most elements one array may hold.
constexpr int64_t kMaxArrayElements = 1 << 20;

struct ArrayData;
class ObjectBase;

// Memory for an array's elements. A large block gets a mapping of its own that the system may
// back with large pages: touching a million-element array's memory one small page at a time
// was most of what building it cost. Small blocks come from the ordinary heap. A block grows
// where it is when it can (a mapping is moved by the system, not copied), and only its new
// part is filled in; the elements move with their memory (see ArrayItems).
void* AllocateElements(size_t bytes);
void* GrowElements(void* p, size_t bytes, size_t usedBytes, size_t newBytes);
void FreeElements(void* p, size_t bytes);

class Variant {
public:
    // Values are the language's VarType codes.
    enum Type : uint16_t {
        Empty = 0,
        Null = 1,
        Integer = 2,
        Long = 3,
        Single = 4,
        Double = 5,
        // money: a 64-bit integer scaled by 10,000 (four decimals)
        Currency = 6,
        // dates: OLE automation days since 1899-12-30 in the double payload
        Date = 7,
        // Object references (class instances, built-in objects, Nothing).
        Object = 9,
        String = 8,
        Boolean = 11,
        Byte = 17,
        Array = 8204,
    };

    Variant() : c_(0) {}
    Variant(const QString& s) : t_(String), c_(0), s_(s) {}
    Variant(QString&& s) noexcept : t_(String), c_(0), s_(std::move(s)) {}
    Variant(const char* s) : t_(String), c_(0), s_(QString::fromUtf8(s)) {}
    // The text and the array/object pointer share one slot (a Variant is 40 bytes, so a
    // million-element array touches far less memory); the subtype says which one lives.
    Variant(const Variant& o) : t_(o.t_), c_(o.c_) {
        if (t_ == String)
            new (&s_) QString(o.s_);
        else if (holdsPointer())
            new (&a_) std::shared_ptr<ArrayData>(o.a_);
    }
    Variant(Variant&& o) noexcept : t_(o.t_), c_(o.c_) {
        if (t_ == String)
            new (&s_) QString(std::move(o.s_));
        else if (holdsPointer())
            new (&a_) std::shared_ptr<ArrayData>(std::move(o.a_));
    }
    // Numbers, Empty and Null need nothing released or handed over: those stay inline, the
    // rest is apart so that every assignment is not built around it.
    Variant& operator=(const Variant& o) {
        if (!holdsAny() && !o.holdsAny()) {
            t_ = o.t_;
            c_ = o.c_;
        } else if (this != &o) {
            copyHolding(o);
        }
        return *this;
    }
    __attribute__((always_inline)) Variant& operator=(Variant&& o) noexcept {
        if (!holdsAny() && !o.holdsAny()) {
            t_ = o.t_;
            c_ = o.c_;
        } else if (this != &o) {
            moveHeld(std::move(o));
        }
        return *this;
    }
    ~Variant() { release(); }
    Variant(int v);  // Integer when it fits 16 bits, else Long
    Variant(double v) : t_(Double), d_(v) {}
    Variant(bool v) : t_(Boolean), c_(wholePayload(v ? -1 : 0)) {}

    static Variant makeInteger(int16_t v) { Variant r; r.t_ = Integer; r.c_ = wholePayload(v); return r; }
    static Variant makeLong(int32_t v) { Variant r; r.t_ = Long; r.c_ = wholePayload(v); return r; }
    static Variant makeByte(uint8_t v) { Variant r; r.t_ = Byte; r.c_ = wholePayload(v); return r; }
    static Variant makeSingle(float v) { Variant r; r.t_ = Single; r.d_ = v; return r; }
    static Variant makeDouble(double v) { Variant r; r.t_ = Double; r.d_ = v; return r; }
    static Variant makeNull() { Variant r; r.t_ = Null; return r; }
    // A Currency from its scaled value (units of 1/10,000).
    static Variant makeCurrency(int64_t scaled) { Variant r; r.t_ = Currency; r.c_ = scaled; return r; }
    // ---- dates ----
    // A Date from its OLE automation value; error 6 outside the years 100..9999.
    static Variant makeDate(double oleDays);
    bool isDate() const { return t_ == Date; }
    // ---- end dates ----
    // A one-dimensional array with bounds 0..items.size()-1.
    static Variant makeArray(std::vector<Variant> items);
    // An array of Empty elements with the given upper bounds (one per dimension).
    static Variant makeArray(const std::vector<int32_t>& upperBounds);

    // ---- objects: a reference owned through a_'s control block, the pointer kept in o_ ----
    // A reference to an object (null: Nothing).
    static Variant makeObject(std::shared_ptr<ObjectBase> o);
    bool isObject() const { return t_ == Object; }
    ObjectBase* objectValue() const { return t_ == Object ? o_ : nullptr; }
    std::shared_ptr<ObjectBase> objectPtr() const;

    // Back to Empty; a value that holds no text, array or object needs no release. (An
    // object's pointer slot owns without pointing: its count says whether it holds one.)
    void clear() {
        if (!holdsAny()) {
            t_ = Empty;
            c_ = 0;
        } else {
            *this = Variant();
        }
    }

    Type type() const { return t_; }
    bool isEmpty() const { return t_ == Empty; }
    bool isNull() const { return t_ == Null; }
    bool isArray() const { return t_ == Array; }
    bool isString() const { return t_ == String; }
    // Empty, Boolean and the numeric subtypes.
    bool isNumeric() const;

    // Raw payloads; valid only for the matching subtype.
    int32_t intValue() const { return i_; }
    double doubleValue() const { return d_; }
    int64_t currencyValue() const { return c_; }
    const QString& stringValue() const { return t_ == String ? s_ : noText(); }
    // The text to change in place (a built-in's own argument); valid only for String.
    QString& stringRef() { return s_; }
    ArrayData* arrayData() const { return t_ == Array ? a_.get() : nullptr; }
    const std::shared_ptr<ArrayData>& arrayPtr() const { return t_ == Array ? a_ : noArray(); }
    void setArrayPtr(std::shared_ptr<ArrayData> a) {
        *this = Variant();
        t_ = Array;
        new (&a_) std::shared_ptr<ArrayData>(std::move(a));
    }

    // Conversions with the language's rules; they throw RuntimeError (Type mismatch,
    // Overflow, Invalid use of Null) like the script would.
    QString toString() const;   // CStr
    double toDouble() const;    // CDbl
    int32_t toLong() const;     // CLng (round half to even)
    int16_t toInteger() const;  // CInt
    bool toBool() const;        // CBool
    // What If/While/Until take as true: any non-zero number, True, a numeric or
    // "True"/"False" string. Null and Empty count as False.
    bool isTrue() const;
    // The host's test "result = True": True itself or the number -1.
    bool equalsTrue() const;

    QString typeName() const;
    // Text for logs and tests: "TypeName|value" (arrays as "Variant()|").
    QString debugText() const;

    // Elements of a one-dimensional array (empty when not an array).
    std::vector<Variant> arrayItems() const;

private:
    Type t_ = Empty;
    union {
        int32_t i_;
        double d_;
        int64_t c_;
        ObjectBase* o_;
    };
    union {
        QString s_;                     // String
        std::shared_ptr<ArrayData> a_;  // Array; Object (its control block owns the object)
    };

    // A whole number as the whole payload, written in one store: copies read all eight bytes,
    // and a value written in two parts (zero, then its low half) stalls such a read.
    static int64_t wholePayload(int32_t v) {
        int64_t c = 0;
        std::memcpy(&c, &v, sizeof v);
        return c;
    }
    bool holdsPointer() const { return t_ == Array || t_ == Object; }
    // String (8) and Object (9) are adjacent: one comparison for both.
    bool holdsAny() const { return uint16_t(t_ - String) <= 1 || t_ == Array; }
    // Plain values (numbers, Empty, Null) are handled inline; a text, array or object apart,
    // so copies and releases of plain values stay small enough to inline everywhere.
    void release() {
        if (holdsAny())
            releaseHeld();
        t_ = Empty;
    }
    __attribute__((noinline)) void releaseHeld() {
        if (t_ == String)
            s_.~QString();
        else
            a_.~shared_ptr();
    }
    __attribute__((noinline)) void copyHolding(const Variant& o) {
        Variant copy(o);
        moveHeld(std::move(copy));
    }
    __attribute__((noinline)) void moveHeld(Variant&& o) noexcept {
        // The old value goes last: releasing it may run a terminate that reads this one.
        Variant old(std::move(*this));
        release();
        t_ = o.t_;
        c_ = o.c_;
        if (t_ == String)
            new (&s_) QString(std::move(o.s_));
        else if (holdsPointer())
            new (&a_) std::shared_ptr<ArrayData>(std::move(o.a_));
    }
    static const QString& noText();
    static const std::shared_ptr<ArrayData>& noArray();

    friend class Ops;
    friend struct ArrayData;
};

// How far ahead of a walk along an array's elements their memory is fetched (about 1 KB): a
// walk over a large array otherwise waits on memory at each new line.
constexpr size_t kAheadElements = 1024 / sizeof(Variant);

// An array's elements: a vector whose room grows without copying them. A Variant holds no
// pointer into itself (a text's and an array's pointers lead to blocks of their own), so its
// bytes may move to another address as they are, as a growing mapping moves.
class ArrayItems {
public:
    ArrayItems() = default;
    ArrayItems(const ArrayItems& o) { assign(o.begin(), o.end()); }
    ArrayItems(ArrayItems&& o) noexcept { swap(o); }
    ArrayItems& operator=(const ArrayItems& o) {
        if (this != &o) {
            ArrayItems copy(o);
            swap(copy);
        }
        return *this;
    }
    ArrayItems& operator=(ArrayItems&& o) noexcept {
        ArrayItems gone(std::move(o));
        swap(gone);
        return *this;
    }
    ~ArrayItems() {
        clear();
        if (p_)
            FreeElements(p_, cap_ * sizeof(Variant));
    }
    void swap(ArrayItems& o) noexcept {
        std::swap(p_, o.p_);
        std::swap(n_, o.n_);
        std::swap(cap_, o.cap_);
    }

    size_t size() const { return n_; }
    size_t capacity() const { return cap_; }
    bool empty() const { return n_ == 0; }
    Variant* begin() { return p_; }
    Variant* end() { return p_ + n_; }
    const Variant* begin() const { return p_; }
    const Variant* end() const { return p_ + n_; }
    Variant& operator[](size_t k) { return p_[k]; }
    const Variant& operator[](size_t k) const { return p_[k]; }

    // Room for n elements; a larger block keeps the elements where the system can.
    void reserve(size_t n) {
        if (n > cap_)
            grow(n);
    }
    // n elements: new ones Empty, the ones past n released.
    void resize(size_t n) {
        reserve(n);
        while (n_ > n)
            p_[--n_].~Variant();
        for (; n_ < n; ++n_)
            new (p_ + n_) Variant();
    }
    void clear() { resize(0); }
    // Every element released, the last first, in one pass: `first(v)` sees each just before
    // its release and may take what it holds.
    template <class F>
    void clear(F&& first) {
        while (n_ > 0) {
            if (n_ > kAheadElements)
                __builtin_prefetch(p_ + n_ - kAheadElements);
            Variant& v = p_[--n_];
            first(v);
            v.~Variant();
        }
    }
    template <class It>
    void assign(It first, It last) {
        clear();
        reserve(size_t(std::distance(first, last)));
        for (; first != last; ++first, ++n_)
            new (p_ + n_) Variant(*first);
    }

private:
    void grow(size_t n) {
        p_ = static_cast<Variant*>(p_ ? GrowElements(p_, cap_ * sizeof(Variant), n_ * sizeof(Variant), n * sizeof(Variant))
                                      : AllocateElements(n * sizeof(Variant)));
        cap_ = n;
    }
    Variant* p_ = nullptr;
    size_t n_ = 0;
    size_t cap_ = 0;
};

// Array storage: the first index fastest, as the language walks an array with For Each; the
// rows of the last dimension lie one after another, so ReDim Preserve, which changes only that
// dimension, grows or cuts at the end. Lower bounds are always 0.
struct ArrayData {
    ArrayData() = default;
    ArrayData(const ArrayData&) = default;
    ~ArrayData();  // iterative, so deeply nested arrays cannot exhaust the stack
    std::vector<int32_t> upper;   // upper bound per dimension
    ArrayItems items;
    bool fixed = false;           // declared with Dim a(n): ReDim is an error
    int pins = 0;                 // elements currently bound to ByRef parameters
};

// A run-time error raised while evaluating; the engine adds the line and source.
struct RuntimeError {
    int number;
    QString description;
    bool fatal = false;  // time limit: not catchable by On Error Resume Next
    QString source;      // set by Err.Raise
    QString helpFile;    // set by Err.Raise
    int32_t helpContext = 0;
};

// The value an object stands for in an expression: its default member (Nothing: error 91,
// no default member: error 438). Other values come back unchanged.
Variant ObjectDefault(const Variant& v);
// TypeName of an object value ("Nothing" for Nothing).
QString ObjectTypeName(const Variant& v);

[[noreturn]] void Throw(int number, const QString& detail = QString());
// What an allocation that failed (std::bad_alloc) is to a script: error 7, made without
// allocating, so On Error Resume Next records it like any run-time error.
inline RuntimeError OutOfMemoryError() {
    return RuntimeError{7, ErrorDescription(7)};
}

// Number <-> text as the language formats and parses them.
QString FormatNumber(double v, int significantDigits = 15);
// Parses a numeric string (blanks around, sign, decimals, exponent, &H/&O); false if not numeric.
bool ParseNumber(const QString& s, double* out);
// Round half to even, raising Overflow outside the 32-bit range.
int32_t RoundToLong(double v);
// Round half to even at `decimals` places of the value's 15-digit decimal form (0.985 -> 0.98).
double RoundDecimal(double x, int decimals);
// A number as Currency units (value * 10,000, rounded to four decimals); Overflow outside
// -922,337,203,685,477.5808 .. 922,337,203,685,477.5807.
int64_t ToCurrency(double v);
// Currency units as text: "1234.5", "-0.0001" (no trailing zeros, no group separators).
QString CurrencyText(int64_t scaled);

}  // namespace script
