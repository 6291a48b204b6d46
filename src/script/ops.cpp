// Operators of the language over Variants: arithmetic with its subtype promotions, integer
// division, concatenation, the logical operators and comparison.
#include "ops.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace script {

Variant Ops::numeric(const Variant& v) {
    switch (v.t_) {
    case Variant::Empty: return Variant::makeInteger(0);
    case Variant::Boolean: return Variant::makeInteger(int16_t(v.i_));
    case Variant::String: case Variant::Date: return Variant::makeDouble(v.toDouble());
    case Variant::Array: Throw(13);
    case Variant::Object: return numeric(ObjectDefault(v));
    default: return v;
    }
}

void Ops::checkLength(qsizetype n) {
    if (n > kMaxStringLength)
        Throw(7);
}

ArrayData& Ops::mutableArray(Variant& v) {
    // Copy on write: pins hold extra references that are not owners.
    if (v.a_.use_count() - v.a_->pins > 1) {
        auto copy = std::make_shared<ArrayData>();
        copy->upper = v.a_->upper;
        copy->items = v.a_->items;
        copy->fixed = v.a_->fixed;
        v.a_ = std::move(copy);
    }
    return *v.a_;
}

__attribute__((noinline, cold)) void Ops::notFinite(double v) { Throw(std::isinf(v) ? 6 : 5); }

static Variant currencyArithmetic(Arith op, const Variant& a, const Variant& b);

// The subtype a Single gives in + - * and / (numeric operands): with a Byte, an Integer or
// another Single a Single while it fits; with a Long (whose digits a Single cannot hold) or a
// Double, a Double.
static bool singlePrecision(const Variant& a, const Variant& b) {
    const auto narrow = [](Variant::Type t) { return t == Variant::Single || t == Variant::Byte || t == Variant::Integer; };
    return (a.type() == Variant::Single || b.type() == Variant::Single) && narrow(a.type()) && narrow(b.type());
}
static Variant singleResult(double z) {
    if (std::isfinite(z) && std::fabs(z) <= std::numeric_limits<float>::max())
        return Variant::makeSingle(float(z));
    return Ops::fromDouble(z);
}

// + - * of any operands: plain numbers go straight to the rule (Ops::arith); others are made
// numeric first. Null propagates; Currency and Single have rules of their own.
static Variant arithmetic(Arith op, const Variant& a0, const Variant& b0) {
    if (Ops::plainNumbers(a0, b0))
        return Ops::arith(op, a0, b0);
    if (a0.type() == Variant::Null || b0.type() == Variant::Null)
        return Variant::makeNull();
    const Variant a = Ops::numeric(a0), b = Ops::numeric(b0);
    if (a.type() == Variant::Currency || b.type() == Variant::Currency)
        return currencyArithmetic(op, a, b);
    if (a.type() == Variant::Single || b.type() == Variant::Single) {
        const double z = Ops::combine(op, Ops::realValue(a), Ops::realValue(b));
        return singlePrecision(a, b) ? singleResult(z) : Ops::fromDouble(z);
    }
    return Ops::arith(op, a, b);
}

// Currency with Currency, an integer subtype or a Single stays Currency; sums and differences
// with a Double do too, a product with a Double is a Double. Results outside the range: 6.
static Variant currencyArithmetic(Arith op, const Variant& a, const Variant& b) {
    auto units = [](const Variant& v) -> __int128 {
        switch (v.type()) {
        case Variant::Currency: return v.currencyValue();
        case Variant::Integer: case Variant::Long: case Variant::Byte: return __int128(v.intValue()) * 10000;
        default: return ToCurrency(v.doubleValue());
        }
    };
    auto checked = [](__int128 z) {
        if (z > INT64_MAX || z < INT64_MIN)
            Throw(6);
        return Variant::makeCurrency(int64_t(z));
    };
    if (op != Arith::Mul)
        return checked(op == Arith::Add ? units(a) + units(b) : units(a) - units(b));
    const Variant& other = a.type() == Variant::Currency ? b : a;
    const Variant& cur = a.type() == Variant::Currency ? a : b;
    switch (other.type()) {
    case Variant::Double: return Ops::fromDouble(cur.toDouble() * other.doubleValue());
    case Variant::Currency: {
        // exact product of two four-decimal values, rounded half to even back to four
        const __int128 p = __int128(a.currencyValue()) * b.currencyValue();
        __int128 q = p / 10000, r = p % 10000;
        if (r < 0) { r += 10000; --q; }
        if (r > 5000 || (r == 5000 && (q & 1)))
            ++q;
        return checked(q);
    }
    case Variant::Single: return Variant::makeCurrency(ToCurrency(cur.toDouble() * other.doubleValue()));
    default: return checked(__int128(cur.currencyValue()) * other.intValue());
    }
}

// A date plus or minus a number is a date; the difference of two dates is a number of days.
static Variant dateArithmetic(Arith op, const Variant& a, const Variant& b) {
    Variant r = arithmetic(op, a, b);
    if (r.isNull() || (op == Arith::Sub && a.type() == Variant::Date && b.type() == Variant::Date))
        return r;
    return Variant::makeDate(r.toDouble());
}

// Sums of plain numbers (counters, totals) stay small enough to keep inline; the rest is apart
// (addOther).
Variant Ops::add(const Variant& a, const Variant& b) {
    if (plainNumbers(a, b))
        return arith(Arith::Add, a, b);
    return addOther(a, b);
}

__attribute__((noinline)) Variant Ops::addOther(const Variant& a, const Variant& b) {
    if (a.t_ == Variant::String || b.t_ == Variant::String) {
        if (a.t_ == Variant::Null || b.t_ == Variant::Null)
            return Variant::makeNull();
        if ((a.t_ == Variant::String || a.t_ == Variant::Empty) && (b.t_ == Variant::String || b.t_ == Variant::Empty)) {
            checkLength(a.stringValue().size() + b.stringValue().size());
            return Variant(a.stringValue() + b.stringValue());
        }
    }
    if (a.t_ == Variant::Date || b.t_ == Variant::Date)
        return dateArithmetic(Arith::Add, a, b);
    return arithmetic(Arith::Add, a, b);
}

Variant Ops::sub(const Variant& a, const Variant& b) {
    if (a.t_ == Variant::Date || b.t_ == Variant::Date)
        return dateArithmetic(Arith::Sub, a, b);
    return arithmetic(Arith::Sub, a, b);
}
Variant Ops::mul(const Variant& a, const Variant& b) { return arithmetic(Arith::Mul, a, b); }

Variant Ops::div(const Variant& a0, const Variant& b0) {
    if (a0.t_ == Variant::Null || b0.t_ == Variant::Null)
        return Variant::makeNull();
    double x = a0.toDouble(), y = b0.toDouble();
    if (y == 0) {
        if (x == 0)
            Throw(6);
        Throw(11);
    }
    const double z = x / y;
    if (singlePrecision(numeric(a0), numeric(b0)))
        return singleResult(z);
    return fromDouble(z);
}

static int64_t toIntOperand(const Variant& v) {
    switch (v.type()) {
    case Variant::Empty: return 0;
    case Variant::Integer: case Variant::Long: case Variant::Byte: case Variant::Boolean: return v.intValue();
    default: return RoundToLong(v.toDouble());
    }
}

// The subtype of \, Mod and the logical operators: the rule of + - * once other subtypes count
// as a Long (they are rounded to one).
static Variant::Type intResultType(const Variant& a, const Variant& b) {
    const auto whole = [](Variant::Type t) {
        return t == Variant::Byte || t == Variant::Integer || t == Variant::Empty || t == Variant::Boolean ? t : Variant::Long;
    };
    return Ops::wholeType(whole(a.type()), whole(b.type()));
}

// The whole-number result of + - *, except that past a Long is an overflow (6), not a Double.
static Variant intResult(int64_t z, Variant::Type t) {
    if (z < INT32_MIN || z > INT32_MAX)
        Throw(6);
    return Ops::fromInt64(z, t);
}

// \ and Mod: Null propagates, both operands are rounded to whole numbers, a zero divisor is
// error 11; the quotient or the remainder takes the integer subtype of the operands.
static Variant integerDivision(const Variant& a, const Variant& b, bool remainder) {
    // Two whole numbers (n Mod 2): no rounding, no conversion.
    if (Ops::word(a) && Ops::word(b) && b.intValue() != 0) {
        const int64_t x = a.intValue(), y = b.intValue();
        return intResult(remainder ? x % y : x / y, Ops::wholeType(a.type(), b.type()));
    }
    if (a.type() == Variant::Null || b.type() == Variant::Null)
        return Variant::makeNull();
    if (a.type() == Variant::Array || b.type() == Variant::Array)
        Throw(13);
    int64_t x = toIntOperand(a), y = toIntOperand(b);
    if (y == 0)
        Throw(11);
    return intResult(remainder ? x % y : x / y, intResultType(a, b));
}

Variant Ops::intDiv(const Variant& a, const Variant& b) { return integerDivision(a, b, false); }
Variant Ops::mod(const Variant& a, const Variant& b) { return integerDivision(a, b, true); }

Variant Ops::pow(const Variant& a, const Variant& b) {
    if (a.t_ == Variant::Null || b.t_ == Variant::Null)
        return Variant::makeNull();
    double x = a.toDouble(), y = b.toDouble();
    if (x == 0 && y < 0)
        Throw(5);
    return fromDouble(std::pow(x, y));
}

Variant Ops::neg(const Variant& a) {
    switch (a.t_) {
    case Variant::Null: return a;
    case Variant::Empty: return Variant::makeInteger(0);
    case Variant::Boolean: case Variant::Byte: case Variant::Integer:
        return fromInt64(-int64_t(a.i_), Variant::Integer);
    case Variant::Long: return fromInt64(-int64_t(a.i_), Variant::Long);
    case Variant::Single: return Variant::makeSingle(float(-a.d_));
    case Variant::Double: return Variant::makeDouble(-a.d_);
    case Variant::Currency:
        if (a.c_ == INT64_MIN)
            Throw(6);
        return Variant::makeCurrency(-a.c_);
    case Variant::Date: return Variant::makeDate(-a.d_);
    case Variant::String: return Variant::makeDouble(-a.toDouble());
    default: Throw(13);
    }
}

static bool wholeNumber(const Variant& v) {
    return v.type() == Variant::Integer || v.type() == Variant::Long || v.type() == Variant::Byte;
}

static QString concatText(const Variant& v) {
    if (v.type() == Variant::Null)
        return QString();
    return v.toString();
}

Variant Ops::concat(const Variant& a, const Variant& b) {
    if (a.t_ == Variant::Null && b.t_ == Variant::Null)
        return a;
    if (a.t_ == Variant::String && b.t_ == Variant::String) {
        checkLength(a.s_.size() + b.s_.size());
        return Variant(a.s_ + b.s_);
    }
    // Text and a whole number (a counter): one string, no text made for the number first.
    if ((a.t_ == Variant::String && wholeNumber(b)) || (wholeNumber(a) && b.t_ == Variant::String)) {
        char digits[12];
        const bool textFirst = a.t_ == Variant::String;
        const QString& t = textFirst ? a.s_ : b.s_;
        const int32_t n = textFirst ? b.i_ : a.i_;
        const qsizetype count = std::to_chars(digits, digits + sizeof digits, n).ptr - digits;
        checkLength(t.size() + count);
        QString r(t.size() + count, Qt::Uninitialized);
        QChar* out = r.data();
        QChar* number = textFirst ? out + t.size() : out;
        std::copy(t.constData(), t.constData() + t.size(), textFirst ? out : out + count);
        for (qsizetype k = 0; k < count; ++k)
            number[k] = QLatin1Char(digits[k]);
        return Variant(std::move(r));
    }
    QString x = concatText(a), y = concatText(b);
    checkLength(x.size() + y.size());
    return Variant(x + y);
}

// A string that is no number but spells a Boolean ("True", "#FALSE#") takes part in the logical
// operators as that Boolean; any other non-numeric string is a type mismatch.
static bool booleanText(const QString& s, Variant* out) {
    double d;
    if (ParseNumber(s, &d))
        return false;
    *out = Variant(Variant(s).toBool());
    return true;
}

Variant Ops::notOp(const Variant& a) {
    switch (a.t_) {
    case Variant::Null: return a;
    case Variant::Boolean: return Variant(a.i_ == 0);
    case Variant::Empty: return Variant::makeLong(-1);
    case Variant::String: {
        Variant b;
        if (booleanText(a.s_, &b))
            return Variant(!b.isTrue());
        return Variant::makeLong(~RoundToLong(a.toDouble()));
    }
    case Variant::Byte: return Variant::makeByte(uint8_t(~a.i_ & 0xFF));
    case Variant::Integer: return Variant::makeInteger(int16_t(~a.i_));
    case Variant::Long: return Variant::makeLong(~a.i_);
    case Variant::Array: Throw(13);
    default: return Variant::makeLong(~RoundToLong(a.toDouble()));
    }
}

static bool truthyBool(const Variant& v) { return v.type() == Variant::Boolean; }

// Empty takes part in the logical operators as a Long 0.
static const Variant& logicOperand(const Variant& v, Variant& tmp) {
    if (v.type() == Variant::Empty) {
        tmp = Variant::makeLong(0);
        return tmp;
    }
    if (v.type() == Variant::String && booleanText(v.toString(), &tmp))
        return tmp;
    return v;
}

// The logical operators on whole numbers: bit by bit.
static int64_t bitwise(Ops::Logic op, int64_t x, int64_t y) {
    switch (op) {
    case Ops::And: return x & y;
    case Ops::Or: return x | y;
    case Ops::Xor: return x ^ y;
    case Ops::Eqv: return ~(x ^ y);
    case Ops::Imp: return (~x) | y;
    }
    return 0;
}

Variant Ops::logic(Logic op, const Variant& a0, const Variant& b0) {
    // Two Booleans (conditions joined with And/Or): the bits of -1 and 0, without conversions.
    if (a0.t_ == Variant::Boolean && b0.t_ == Variant::Boolean)
        return Variant((bitwise(op, a0.i_, b0.i_) & 1) != 0);
    if (a0.t_ == Variant::Array || b0.t_ == Variant::Array)
        Throw(13);
    Variant ta, tb;
    const Variant& a = logicOperand(a0, ta);
    const Variant& b = logicOperand(b0, tb);
    const bool an = a.t_ == Variant::Null, bn = b.t_ == Variant::Null;
    if (an || bn) {
        if (an && bn)
            return Variant::makeNull();
        const Variant& o = an ? b : a;
        int64_t v = toIntOperand(o);
        auto typed = [&](int64_t x) {
            if (truthyBool(o))
                return Variant(x != 0);
            return intResult(x, intResultType(o, o));
        };
        switch (op) {
        case And: return v == 0 ? typed(0) : Variant::makeNull();
        case Or: return v == -1 ? typed(-1) : Variant::makeNull();
        case Imp:
            if (an)  // Null Imp b
                return v == -1 ? typed(-1) : Variant::makeNull();
            // a Imp Null: the bits Not a sets are known; none set gives Null
            // (a Byte's Not is taken over the wider value, so it is never Null)
            if (o.t_ == Variant::Byte)
                return Variant::makeByte(uint8_t(~v & 0xFF));
            return ~v != 0 ? typed(~v) : Variant::makeNull();
        default: return Variant::makeNull();
        }
    }
    const int64_t z = bitwise(op, toIntOperand(a), toIntOperand(b));
    if (a.t_ == Variant::Boolean && b.t_ == Variant::Boolean)
        return Variant((z & 1) != 0);
    Variant::Type t = intResultType(a, b);
    if (t == Variant::Byte)
        return Variant::makeByte(uint8_t(z & 0xFF));
    if (t == Variant::Integer)
        return Variant::makeInteger(int16_t(z));
    return Variant::makeLong(int32_t(z));
}

static int sign(double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

static int numCompare(const Variant& a, const Variant& b) {
    auto isInt = [](Variant::Type t) {
        return t == Variant::Empty || t == Variant::Boolean || t == Variant::Byte || t == Variant::Integer ||
               t == Variant::Long;
    };
    if (a.type() == Variant::Currency && b.type() == Variant::Currency)
        return a.currencyValue() < b.currencyValue() ? -1 : a.currencyValue() > b.currencyValue() ? 1 : 0;
    if (isInt(a.type()) && isInt(b.type())) {
        int32_t x = a.type() == Variant::Empty ? 0 : a.intValue();
        int32_t y = b.type() == Variant::Empty ? 0 : b.intValue();
        return x < y ? -1 : x > y ? 1 : 0;
    }
    double x = a.toDouble(), y = b.toDouble();
    // A Single against a Double compares at the Single's precision.
    if ((a.type() == Variant::Single) != (b.type() == Variant::Single) &&
        (a.type() == Variant::Double || b.type() == Variant::Double) && std::fabs(x) <= 3.4e38 &&
        std::fabs(y) <= 3.4e38) {
        x = float(x);
        y = float(y);
    }
    return sign(x - y) == 0 ? 0 : (x < y ? -1 : 1);
}

static int strCompare(const QString& a, const QString& b) {
    int c = a.compare(b, Qt::CaseSensitive);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int Ops::compare(const Variant& a, const Variant& b, bool hardA, bool hardB) {
    // An array compares with nothing, not even Null.
    if (a.t_ == Variant::Array || b.t_ == Variant::Array)
        Throw(13);
    if (a.t_ == Variant::Null || b.t_ == Variant::Null)
        return 2;
    const bool as = a.t_ == Variant::String, bs = b.t_ == Variant::String;
    if (!as && !bs)
        return numCompare(a, b);
    if (as && bs)
        return strCompare(a.s_, b.s_);
    if (a.t_ == Variant::Empty)
        return strCompare(QString(), b.s_);
    if (b.t_ == Variant::Empty)
        return strCompare(a.s_, QString());
    // One string, one number.
    const Variant& s = as ? a : b;
    const Variant& n = as ? b : a;
    const bool hs = as ? hardA : hardB, hn = as ? hardB : hardA;
    int r;
    if (hs && !hn) {
        r = strCompare(s.s_, n.toString());
    } else if (hs || hn) {
        r = numCompare(Variant::makeDouble(s.toDouble()), n);
    } else {
        r = 1;  // any string is greater than any number
    }
    return as ? r : -r;
}

}  // namespace script
