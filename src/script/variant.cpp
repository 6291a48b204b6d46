#include "variant.h"

#include "datetime.h"
#include "ops.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace script {

void Throw(int number, const QString& detail) {
    QString d = ErrorDescription(number);
    if (!detail.isEmpty())
        d += QStringLiteral(": ") + detail;
    throw RuntimeError{number, d};
}

// ---- number text ---------------------------------------------------------------------

QString FormatNumber(double v, int sig) {
    if (v == 0)
        return QStringLiteral("0");
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, sig - 1);
    *res.ptr = 0;
    // buf: [-]d.ddddde[+-]xx
    const char* p = buf;
    bool neg = false;
    if (*p == '-') {
        neg = true;
        ++p;
    }
    std::string digits;
    while (*p && *p != 'e') {
        if (*p != '.')
            digits += *p;
        ++p;
    }
    int exp = 0;
    if (*p == 'e')
        exp = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = neg ? "-" : "";
    if (exp >= sig || exp < -4) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", exp < 0 ? '-' : '+', std::abs(exp));
        out += e;
    } else if (exp < 0) {
        out += "0.";
        out.append(size_t(-exp - 1), '0');
        out += digits;
    } else {
        if (int(digits.size()) <= exp + 1) {
            out += digits;
            out.append(size_t(exp + 1 - int(digits.size())), '0');
        } else {
            out += digits.substr(0, size_t(exp + 1));
            out += '.';
            out += digits.substr(size_t(exp + 1));
        }
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

static bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool ParseNumber(const QString& str, double* out) {
    qsizetype b = 0, e = str.size();
    while (b < e && isBlank(str[b]))
        ++b;
    while (e > b && isBlank(str[e - 1]))
        --e;
    if (b == e || e - b > 400)
        return false;
    std::string s;
    s.reserve(size_t(e - b));
    bool sign = false;  // the system's currency sign, once, before the digits ("¥12", "-¥1,234.50")
    for (qsizetype i = b; i < e; ++i) {
        char16_t c = str[i].unicode();
        if (c == u'\u00A5' && !sign && (s.empty() || s == "-" || s == "+")) {
            sign = true;
            continue;
        }
        if (c > 127)
            return false;
        s += char(c);
    }
    if (s.empty())
        return false;
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H' || s[1] == 'o' || s[1] == 'O')) {
        const bool hex = s[1] == 'h' || s[1] == 'H';
        uint64_t v = 0;
        size_t n = 0;
        for (size_t i = 2; i < s.size(); ++i, ++n) {
            int d;
            char c = s[i];
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return false;
            if (!hex && d > 7)
                return false;
            v = v * (hex ? 16 : 8) + uint64_t(d);
            if (v > 0xFFFFFFFFull)
                return false;
        }
        if (n == 0)
            return false;
        if (v <= 0xFFFF && (hex ? n <= 4 : n <= 6))
            *out = double(int16_t(uint16_t(v)));
        else
            *out = double(int32_t(uint32_t(v)));
        return true;
    }
    // [+-] digits [. digits] [e|d [+-] digits]
    size_t i = 0;
    std::string norm;
    if (s[i] == '+' || s[i] == '-')
        norm += s[i++];
    size_t digitsBefore = 0, digitsAfter = 0;
    // The system's thousands separator may stand between digits of the whole part ("1,234").
    while (i < s.size() && (std::isdigit((unsigned char)s[i]) ||
                            (s[i] == ',' && digitsBefore > 0 && i + 1 < s.size() && std::isdigit((unsigned char)s[i + 1])))) {
        if (s[i] == ',') {
            ++i;
            continue;
        }
        norm += s[i++];
        ++digitsBefore;
    }
    if (i < s.size() && s[i] == '.') {
        norm += s[i++];
        while (i < s.size() && std::isdigit((unsigned char)s[i])) {
            norm += s[i++];
            ++digitsAfter;
        }
    }
    if (digitsBefore + digitsAfter == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        norm += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            norm += s[i++];
        size_t ed = 0;
        while (i < s.size() && std::isdigit((unsigned char)s[i])) {
            norm += s[i++];
            ++ed;
        }
        if (ed == 0)
            return false;
    }
    if (i != s.size())
        return false;
    const char* first = norm.data();
    if (*first == '+')
        ++first;
    double v = 0;
    auto r = std::from_chars(first, norm.data() + norm.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Underflow gives 0; overflow cannot be represented.
        if (norm.find("e-") != std::string::npos)
            v = 0;
        else
            return false;
    } else if (r.ec != std::errc()) {
        return false;
    }
    *out = v;
    return true;
}

int32_t RoundToLong(double v) {
    if (std::isnan(v))
        Throw(6);
    double r = std::nearbyint(v);  // default mode: round half to even
    if (r < -2147483648.0 || r > 2147483647.0)
        Throw(6);
    return int32_t(r);
}

double RoundDecimal(double x, int decimals) {
    if (x == 0 || !std::isfinite(x))
        return x;
    const bool neg = x < 0;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    *r.ptr = 0;
    std::string digits;
    const char* p = buf;
    while (*p && *p != 'e') {
        if (*p != '.')
            digits += *p;
        ++p;
    }
    const int exp = std::atoi(p + 1);
    const int keep = exp + 1 + decimals;
    if (keep >= int(digits.size()))
        return x;
    if (keep < 0)
        return 0;
    const std::string tail = digits.substr(size_t(keep));
    const std::string half = "5" + std::string(tail.size() - 1, '0');
    bool up = tail > half;
    if (tail == half)
        up = keep > 0 && ((digits[size_t(keep) - 1] - '0') % 2 == 1);
    int64_t m = keep > 0 ? std::stoll(digits.substr(0, size_t(keep))) : 0;
    if (up)
        ++m;
    std::string s = std::to_string(m) + "e" + std::to_string(exp + 1 - keep);
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return neg ? -v : v;
}


int64_t ToCurrency(double v) {
    if (std::isnan(v))
        Throw(6);
    // 922337203685477.5807 is not a double; the nearest ones beyond the range overflow.
    if (v >= 922337203685477.5807 || v < -922337203685477.5808)
        Throw(6);
    if (std::fabs(v) < 1e11)
        return int64_t(std::nearbyint(RoundDecimal(v, 4) * 10000.0));
    // Beyond 2^53 units the product would lose digits: whole part and fraction apart.
    const double whole = std::trunc(v);
    const __int128 units = __int128(int64_t(whole)) * 10000 + int64_t(std::nearbyint((v - whole) * 10000.0));
    if (units > INT64_MAX || units < INT64_MIN)
        Throw(6);
    return int64_t(units);
}

QString CurrencyText(int64_t c) {
    const bool neg = c < 0;
    const uint64_t u = neg ? uint64_t(0) - uint64_t(c) : uint64_t(c);
    QString s = QString::number(u / 10000);
    uint64_t frac = u % 10000;
    if (frac) {
        QString f = QString::number(frac).rightJustified(4, u'0');
        while (f.endsWith(u'0'))
            f.chop(1);
        s += u'.' + f;
    }
    return neg ? u'-' + s : s;
}

// ---- Variant -------------------------------------------------------------------------

Variant::Variant(int v) : i_(v) { t_ = (v >= -32768 && v <= 32767) ? Integer : Long; }

Variant Variant::makeArray(std::vector<Variant> items) {
    auto a = std::make_shared<ArrayData>();
    a->upper = {int32_t(items.size()) - 1};
    a->items = std::move(items);
    Variant r;
    r.setArrayPtr(std::move(a));
    return r;
}

Variant Variant::makeArray(const std::vector<int32_t>& upperBounds) {
    int64_t total = 1;
    for (int32_t u : upperBounds) {
        if (u < -1)
            Throw(9);
        total *= int64_t(u) + 1;
        if (total > kMaxArrayElements)
            Throw(7);
    }
    auto a = std::make_shared<ArrayData>();
    a->upper = upperBounds;
    a->items.resize(size_t(total));
    Variant r;
    r.setArrayPtr(std::move(a));
    return r;
}

bool Variant::isNumeric() const {
    switch (t_) {
    case Empty: case Integer: case Long: case Single: case Double: case Currency: case Boolean: case Byte:
        return true;
    default:
        return false;
    }
}

QString Variant::toString() const {
    switch (t_) {
    case Empty: return QString();
    case Null: Throw(94);
    case Integer: case Long: case Byte: return QString::number(i_);
    case Boolean: return i_ ? QStringLiteral("True") : QStringLiteral("False");
    case Single: return FormatNumber(d_, 7);
    case Double: return FormatNumber(d_, 15);
    case Currency: return CurrencyText(c_);
    case Date: return FormatDateGeneral(d_);
    case String: return s_;
    case Array: Throw(13);
    case Object: return ObjectDefault(*this).toString();
    }
    return QString();
}

double Variant::toDouble() const {
    switch (t_) {
    case Empty: return 0;
    case Null: Throw(94);
    case Integer: case Long: case Byte: case Boolean: return i_;
    case Single: case Double: case Date: return d_;
    case Currency: return double(c_) / 10000.0;
    case String: {
        double v;
        if (!ParseNumber(s_, &v))
            Throw(13);
        return v;
    }
    case Array: Throw(13);
    case Object: return ObjectDefault(*this).toDouble();
    }
    return 0;
}

int32_t Variant::toLong() const {
    switch (t_) {
    case Integer: case Long: case Byte: case Boolean: return i_;
    case Empty: return 0;
    default: return RoundToLong(toDouble());
    }
}

int16_t Variant::toInteger() const {
    int32_t v = toLong();
    if (v < -32768 || v > 32767)
        Throw(6);
    return int16_t(v);
}

bool Variant::toBool() const {
    switch (t_) {
    case Empty: return false;
    case Null: Throw(94);
    case Integer: case Long: case Byte: case Boolean: return i_ != 0;
    case Single: case Double: case Date: return d_ != 0;
    case Currency: return c_ != 0;
    case String: {
        if (s_.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            s_.compare(QLatin1String("#true#"), Qt::CaseInsensitive) == 0)
            return true;
        if (s_.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
            s_.compare(QLatin1String("#false#"), Qt::CaseInsensitive) == 0)
            return false;
        double v;
        if (!ParseNumber(s_, &v))
            Throw(13);
        return v != 0;
    }
    case Array: Throw(13);
    case Object: return ObjectDefault(*this).toBool();
    }
    return false;
}

bool Variant::isTrue() const {
    switch (t_) {
    case Integer: case Long: case Byte: case Boolean: return i_ != 0;
    case Empty: case Null: return false;
    default: return toBool();
    }
}

bool Variant::equalsTrue() const {
    switch (t_) {
    case Integer: case Long: case Boolean: return i_ == -1;
    case Single: case Double: return d_ == -1;
    case Currency: return c_ == -10000;
    default: return false;
    }
}

QString Variant::typeName() const {
    switch (t_) {
    case Empty: return QStringLiteral("Empty");
    case Null: return QStringLiteral("Null");
    case Integer: return QStringLiteral("Integer");
    case Long: return QStringLiteral("Long");
    case Single: return QStringLiteral("Single");
    case Double: return QStringLiteral("Double");
    case Currency: return QStringLiteral("Currency");
    case Date: return QStringLiteral("Date");
    case String: return QStringLiteral("String");
    case Boolean: return QStringLiteral("Boolean");
    case Byte: return QStringLiteral("Byte");
    case Array: return QStringLiteral("Variant()");
    case Object: return ObjectTypeName(*this);
    }
    return QString();
}

QString Variant::debugText() const {
    if (t_ == Null || t_ == Array || t_ == Object)
        return typeName() + u'|';
    return typeName() + u'|' + toString();
}

std::vector<Variant> Variant::arrayItems() const {
    if (t_ != Array)
        return {};
    return a_->items;
}

// ---- operators -----------------------------------------------------------------------

int Ops::rank(Variant::Type t) {
    switch (t) {
    case Variant::Byte: return 1;
    case Variant::Empty: case Variant::Boolean: case Variant::Integer: return 2;
    case Variant::Long: return 3;
    case Variant::Single: return 4;
    default: return 5;
    }
}

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

Variant Ops::fromInt64(int64_t v, Variant::Type preferred) {
    if (preferred == Variant::Byte && v >= 0 && v <= 255)
        return Variant::makeByte(uint8_t(v));
    if (preferred != Variant::Long && v >= -32768 && v <= 32767)
        return Variant::makeInteger(int16_t(v));
    if (v >= INT32_MIN && v <= INT32_MAX)
        return Variant::makeLong(int32_t(v));
    return Variant::makeDouble(double(v));
}

Variant Ops::fromDouble(double v) {
    if (std::isinf(v))
        Throw(6);
    if (std::isnan(v))
        Throw(5);
    return Variant::makeDouble(v);
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

enum class Arith { Add, Sub, Mul };

static inline bool isWord(Variant::Type t) { return t == Variant::Integer || t == Variant::Long; }

static Variant currencyArithmetic(Arith op, const Variant& a, const Variant& b);

static Variant arithmetic(Arith op, const Variant& a0, const Variant& b0) {
    // Common cases first: Integer/Long and Double operands need no conversion.
    const Variant::Type ta = a0.type(), tb = b0.type();
    if (isWord(ta) && isWord(tb)) {
        const int64_t x = a0.intValue(), y = b0.intValue();
        const int64_t z = op == Arith::Add ? x + y : op == Arith::Sub ? x - y : x * y;
        return Ops::fromInt64(z, ta == Variant::Long || tb == Variant::Long ? Variant::Long : Variant::Integer);
    }
    if ((ta == Variant::Double || isWord(ta)) && (tb == Variant::Double || isWord(tb))) {
        const double x = ta == Variant::Double ? a0.doubleValue() : a0.intValue();
        const double y = tb == Variant::Double ? b0.doubleValue() : b0.intValue();
        return Ops::fromDouble(op == Arith::Add ? x + y : op == Arith::Sub ? x - y : x * y);
    }
    if (ta == Variant::Null || tb == Variant::Null)
        return Variant::makeNull();
    Variant a = Ops::numeric(a0), b = Ops::numeric(b0);
    if (a.type() == Variant::Currency || b.type() == Variant::Currency)
        return currencyArithmetic(op, a, b);
    auto rk = [](Variant::Type t) {
        switch (t) {
        case Variant::Byte: return 1;
        case Variant::Integer: return 2;
        case Variant::Long: return 3;
        case Variant::Single: return 4;
        default: return 5;
        }
    };
    int r = std::max(rk(a.type()), rk(b.type()));
    if (r <= 3) {
        int64_t x = a.intValue(), y = b.intValue(), z = 0;
        switch (op) {
        case Arith::Add: z = x + y; break;
        case Arith::Sub: z = x - y; break;
        case Arith::Mul: z = x * y; break;
        }
        Variant::Type pref = r == 1 ? Variant::Byte : r == 2 ? Variant::Integer : Variant::Long;
        if (pref == Variant::Byte && (z < 0 || z > 255))
            pref = Variant::Integer;
        return Ops::fromInt64(z, pref);
    }
    double x = a.type() >= Variant::Single && a.type() <= Variant::Double ? a.doubleValue() : a.intValue();
    double y = b.type() >= Variant::Single && b.type() <= Variant::Double ? b.doubleValue() : b.intValue();
    double z = 0;
    switch (op) {
    case Arith::Add: z = x + y; break;
    case Arith::Sub: z = x - y; break;
    case Arith::Mul: z = x * y; break;
    }
    if (r == 4 && std::isfinite(z) && std::fabs(z) <= std::numeric_limits<float>::max())
        return Variant::makeSingle(float(z));
    return Ops::fromDouble(z);
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

Variant Ops::add(const Variant& a, const Variant& b) {
    if (isWord(a.t_) && isWord(b.t_)) {
        const int64_t z = int64_t(a.i_) + int64_t(b.i_);
        return fromInt64(z, a.t_ == Variant::Long || b.t_ == Variant::Long ? Variant::Long : Variant::Integer);
    }
    if (a.t_ == Variant::String || b.t_ == Variant::String) {
        if (a.t_ == Variant::Null || b.t_ == Variant::Null)
            return Variant::makeNull();
        if ((a.t_ == Variant::String || a.t_ == Variant::Empty) && (b.t_ == Variant::String || b.t_ == Variant::Empty)) {
            checkLength(a.s_.size() + b.s_.size());
            return Variant(a.s_ + b.s_);
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
    double z = x / y;
    int r = std::max(rank(numeric(a0).t_), rank(numeric(b0).t_));
    if (r == 4 && std::isfinite(z) && std::fabs(z) <= std::numeric_limits<float>::max())
        return Variant::makeSingle(float(z));
    return fromDouble(z);
}

static int64_t toIntOperand(const Variant& v) {
    switch (v.type()) {
    case Variant::Empty: return 0;
    case Variant::Integer: case Variant::Long: case Variant::Byte: case Variant::Boolean: return v.intValue();
    default: return RoundToLong(v.toDouble());
    }
}

static Variant::Type intResultType(const Variant& a, const Variant& b) {
    auto r = [](Variant::Type t) {
        switch (t) {
        case Variant::Byte: return 1;
        case Variant::Empty: case Variant::Boolean: case Variant::Integer: return 2;
        default: return 3;
        }
    };
    int m = std::max(r(a.type()), r(b.type()));
    return m == 1 ? Variant::Byte : m == 2 ? Variant::Integer : Variant::Long;
}

static Variant intResult(int64_t z, Variant::Type t) {
    if (t == Variant::Byte && z >= 0 && z <= 255)
        return Variant::makeByte(uint8_t(z));
    if (t != Variant::Long && z >= -32768 && z <= 32767)
        return Variant::makeInteger(int16_t(z));
    if (z < INT32_MIN || z > INT32_MAX)
        Throw(6);
    return Variant::makeLong(int32_t(z));
}

Variant Ops::intDiv(const Variant& a, const Variant& b) {
    if (a.t_ == Variant::Null || b.t_ == Variant::Null)
        return Variant::makeNull();
    if (a.t_ == Variant::Array || b.t_ == Variant::Array)
        Throw(13);
    int64_t x = toIntOperand(a), y = toIntOperand(b);
    if (y == 0)
        Throw(11);
    return intResult(x / y, intResultType(a, b));
}

Variant Ops::mod(const Variant& a, const Variant& b) {
    if (a.t_ == Variant::Null || b.t_ == Variant::Null)
        return Variant::makeNull();
    if (a.t_ == Variant::Array || b.t_ == Variant::Array)
        Throw(13);
    int64_t x = toIntOperand(a), y = toIntOperand(b);
    if (y == 0)
        Throw(11);
    return intResult(x % y, intResultType(a, b));
}

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
    QString x = concatText(a), y = concatText(b);
    checkLength(x.size() + y.size());
    return Variant(x + y);
}

Variant Ops::notOp(const Variant& a) {
    switch (a.t_) {
    case Variant::Null: return a;
    case Variant::Boolean: return Variant(a.i_ == 0);
    case Variant::Empty: return Variant::makeInteger(-1);
    case Variant::Byte: return Variant::makeByte(uint8_t(~a.i_ & 0xFF));
    case Variant::Integer: return Variant::makeInteger(int16_t(~a.i_));
    case Variant::Long: return Variant::makeLong(~a.i_);
    case Variant::Array: Throw(13);
    default: return Variant::makeLong(~RoundToLong(a.toDouble()));
    }
}

static bool truthyBool(const Variant& v) { return v.type() == Variant::Boolean; }

Variant Ops::logic(Logic op, const Variant& a, const Variant& b) {
    if (a.t_ == Variant::Array || b.t_ == Variant::Array)
        Throw(13);
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
            {
                int64_t nv = ~v;
                if (!truthyBool(o) && intResultType(o, o) == Variant::Byte)
                    nv &= 0xFF;
                return nv != 0 ? typed(nv) : Variant::makeNull();
            }
        default: return Variant::makeNull();
        }
    }
    int64_t x = toIntOperand(a), y = toIntOperand(b), z = 0;
    switch (op) {
    case And: z = x & y; break;
    case Or: z = x | y; break;
    case Xor: z = x ^ y; break;
    case Eqv: z = ~(x ^ y); break;
    case Imp: z = (~x) | y; break;
    }
    if (a.t_ == Variant::Boolean && b.t_ == Variant::Boolean)
        return Variant((z & 1) != 0);
    if (a.t_ == Variant::Empty && b.t_ == Variant::Empty)
        return Variant::makeLong(int32_t(z));
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
    if (a.t_ == Variant::Null || b.t_ == Variant::Null)
        return 2;
    if (a.t_ == Variant::Array || b.t_ == Variant::Array)
        Throw(13);
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

namespace script {

ArrayData::~ArrayData() {
    std::vector<std::shared_ptr<ArrayData>> work;
    auto collect = [&work](std::vector<Variant>& items) {
        for (Variant& v : items)
            if (v.t_ == Variant::Array && v.a_ && v.a_.use_count() == 1)
                work.push_back(std::move(v.a_));
        items.clear();
    };
    collect(items);
    while (!work.empty()) {
        std::shared_ptr<ArrayData> a = std::move(work.back());
        work.pop_back();
        collect(a->items);
    }
}

}  // namespace script
