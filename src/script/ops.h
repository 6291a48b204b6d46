#pragma once
// Operators of the language over Variants (internal to the engine).
#include "variant.h"

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
    static Variant fromInt64(int64_t v, Variant::Type preferred);
    static Variant fromDouble(double v);
    static void checkLength(qsizetype n);
    static ArrayData& mutableArray(Variant& v);
    // Appends to a String variant's text in place (amortised: the buffer grows geometrically).
    static void appendText(Variant& v, const QString& add) { v.s_.append(add); }

private:
    static int rank(Variant::Type t);
    static Variant addOther(const Variant& a, const Variant& b);
};

}  // namespace script
