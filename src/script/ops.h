#pragma once
// Operators of the language over Variants (internal to the engine).
#include "variant.h"

#include <cmath>
#include <cstdint>

namespace script {

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
    // A whole-number result: an Integer when preferred and it fits (a Byte likewise), else a
    // Long when it fits, else a Double. Inline: the quick sums of the interpreter use it too.
    static Variant fromInt64(int64_t v, Variant::Type preferred) {
        if (preferred == Variant::Byte && v >= 0 && v <= 255)
            return Variant::makeByte(uint8_t(v));
        if (preferred != Variant::Long && v >= -32768 && v <= 32767)
            return Variant::makeInteger(int16_t(v));
        if (v >= INT32_MIN && v <= INT32_MAX)
            return Variant::makeLong(int32_t(v));
        return Variant::makeDouble(double(v));
    }
    // A Double result; one that overflows is error 6 (5 for no number).
    static Variant fromDouble(double v) {
        if (!std::isfinite(v)) [[unlikely]]
            Throw(std::isinf(v) ? 6 : 5);
        return Variant::makeDouble(v);
    }
    static void checkLength(qsizetype n);
    static ArrayData& mutableArray(Variant& v);
    // Appends to a String variant's text in place (amortised: the buffer grows geometrically).
    static void appendText(Variant& v, const QString& add) { v.s_.append(add); }

private:
    static int rank(Variant::Type t);
    static Variant addOther(const Variant& a, const Variant& b);
};

}  // namespace script
