#pragma once
// Operators of the language over Variants (internal to the engine).
#include "variant.h"

#include <cmath>
#include <cstdint>

namespace script {

// The operators + - * share one rule (Ops::arith).
enum class Arith : uint8_t { Add, Sub, Mul };

class Ops {
public:
    static Variant add(const Variant& a, const Variant& b);
    static Variant sub(const Variant& a, const Variant& b);
    static Variant mul(const Variant& a, const Variant& b);
    static Variant div(const Variant& a, const Variant& b);
    static Variant intDiv(const Variant& a, const Variant& b);
    static Variant mod(const Variant& a, const Variant& b);
    static Variant pow(const Variant& a, const Variant& b);
    static Variant neg(const Variant& a);
    static Variant concat(const Variant& a, const Variant& b);
    static Variant notOp(const Variant& a);
    enum Logic { And, Or, Xor, Eqv, Imp };
    static Variant logic(Logic op, const Variant& a, const Variant& b);
    // -1, 0, 1, or 2 for Null. hardA/hardB mark literal operands (their types are fixed).
    static int compare(const Variant& a, const Variant& b, bool hardA, bool hardB);

    // Numeric view of an operand: Empty -> Integer 0, Boolean -> Integer, String -> Double.
    static Variant numeric(const Variant& v);
    // Integer or Long: the whole numbers the short paths take.
    static bool word(const Variant& v) { return v.t_ == Variant::Integer || v.t_ == Variant::Long; }
    // The rule of + - * over numbers. Whole operands (Byte, Integer, Long) give the wider of
    // their subtypes, widening on overflow (fromInt64); a Double operand gives a Double. The
    // general operators reach it after converting their operands (numeric); the short paths
    // (Ops::add, the interpreter's quick sums) after one type check (plainNumbers), so both
    // always agree.
    static bool plainNumbers(const Variant& a, const Variant& b) {
        const auto plain = [](Variant::Type t) { return t == Variant::Integer || t == Variant::Long || t == Variant::Double; };
        return plain(a.t_) && plain(b.t_);
    }
    __attribute__((always_inline)) static Variant arith(Arith op, const Variant& a, const Variant& b) {
        if (a.t_ != Variant::Double && b.t_ != Variant::Double)
            return fromInt64(combine(op, int64_t(a.i_), int64_t(b.i_)), wholeType(a.t_, b.t_));
        return fromDouble(combine(op, realValue(a), realValue(b)));
    }
    template <class T>
    static T combine(Arith op, T x, T y) { return op == Arith::Add ? x + y : op == Arith::Sub ? x - y : x * y; }
    // The subtype two whole operands give (Empty and Boolean count as Integer).
    static Variant::Type wholeType(Variant::Type a, Variant::Type b) {
        if (a == Variant::Long || b == Variant::Long)
            return Variant::Long;
        return a == Variant::Byte && b == Variant::Byte ? Variant::Byte : Variant::Integer;
    }
    // A numeric operand's value as a double (a Single's or Double's payload, else the whole one).
    static double realValue(const Variant& v) {
        return v.t_ == Variant::Double || v.t_ == Variant::Single ? v.d_ : double(v.i_);
    }
    // A whole-number result: an Integer when preferred and it fits (a Byte likewise), else a
    // Long when it fits, else a Double.
    static Variant fromInt64(int64_t v, Variant::Type preferred) {
        if (preferred == Variant::Byte && v >= 0 && v <= 255)
            return Variant::makeByte(uint8_t(v));
        if (preferred != Variant::Long && v >= -32768 && v <= 32767)
            return Variant::makeInteger(int16_t(v));
        if (v >= INT32_MIN && v <= INT32_MAX)
            return Variant::makeLong(int32_t(v));
        return Variant::makeDouble(double(v));
    }
    // A Double result; one that overflows is error 6 (5 for no number), raised apart so that
    // the frames of the short paths stay small.
    static Variant fromDouble(double v) {
        if (!std::isfinite(v)) [[unlikely]]
            notFinite(v);
        return Variant::makeDouble(v);
    }
    static void checkLength(qsizetype n);
    static ArrayData& mutableArray(Variant& v);
    // Appends to a String variant's text in place (amortised: the buffer grows geometrically).
    static void appendText(Variant& v, const QString& add) { v.s_.append(add); }

private:
    [[noreturn]] static void notFinite(double v);
    static Variant addOther(const Variant& a, const Variant& b);
};

}  // namespace script
