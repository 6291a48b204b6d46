// Number formatting as a Chinese system shows it (FormatNumber, FormatCurrency, FormatPercent)
// and the Currency conversion CCur.
#include "builtins.h"
#include "ops.h"

#include <charconv>
#include <cmath>

namespace script {

namespace {

// The system's number settings (zh-CN): two decimals, a leading zero, "-" for negatives,
// thousands grouped with ",", money as "¥" before the amount.
constexpr int kDefaultDigits = 2;
const QChar kGroupSeparator = u',';
const QChar kDecimalPoint = u'.';
const QString kCurrencySign = QStringLiteral("¥");

// Decimal digits of |v| and the place of the point: |v| = 0.digits * 10^point.
struct Decimal {
    std::string digits;
    int point = 0;
    bool negative = false;
};

Decimal decimalOf(const Variant& v) {
    Decimal d;
    if (v.type() == Variant::Currency) {
        const int64_t c = v.currencyValue();
        d.negative = c < 0;
        const uint64_t u = d.negative ? uint64_t(0) - uint64_t(c) : uint64_t(c);
        d.digits = std::to_string(u);
        d.point = int(d.digits.size()) - 4;
        return d;
    }
    const double x = v.toDouble();
    if (!std::isfinite(x))
        Throw(6);
    d.negative = x < 0;
    if (x == 0) {
        d.digits.assign(1, '0');
        d.point = 1;
        return d;
    }
    // Fifteen significant digits, as the value reads in text.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    *r.ptr = 0;
    const char* p = buf;
    while (*p && *p != 'e') {
        if (*p != '.')
            d.digits += *p;
        ++p;
    }
    d.point = std::atoi(p + 1) + 1;
    return d;
}

// "1234.50" for |v| rounded half away from zero to `decimals` places; *zero when that is 0.
std::string fixedText(const Decimal& d, int decimals, bool* zero) {
    std::string digits = d.digits;
    int point = d.point;
    const int keep = point + decimals;
    if (keep < 0) {
        digits.clear();
    } else if (keep < int(digits.size())) {
        const bool up = digits[size_t(keep)] >= '5';
        digits.resize(size_t(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[size_t(i)] == '9')
                digits[size_t(i--)] = '0';
            if (i < 0) {
                digits.insert(digits.begin(), '1');
                ++point;
            } else {
                ++digits[size_t(i)];
            }
        }
    }
    // digits now stand for the places down to 10^-decimals (missing ones are zeros).
    const int want = point + decimals;
    if (int(digits.size()) < want)
        digits.append(size_t(want - int(digits.size())), '0');
    std::string intPart, frac;
    if (point <= 0) {
        intPart = "0";
        frac = std::string(size_t(std::min(-point, decimals)), '0') + digits;
    } else {
        intPart = digits.substr(0, size_t(point));
        frac = digits.substr(size_t(point));
    }
    frac.resize(size_t(decimals), '0');
    while (intPart.size() > 1 && intPart[0] == '0')
        intPart.erase(0, 1);
    *zero = intPart.find_first_not_of('0') == std::string::npos && frac.find_first_not_of('0') == std::string::npos;
    return frac.empty() ? intPart : intPart + '.' + frac;
}

// A tristate argument: -1 True, 0 False, -2 (vbUseDefault) the system's setting.
bool tristate(const std::vector<Variant>& a, size_t i, bool systemDefault) {
    if (i >= a.size())
        return systemDefault;
    const int32_t v = a[i].toLong();
    if (v == -2)
        return systemDefault;
    return v != 0;
}

enum class Style { Number, Currency, Percent };

Variant formatValue(Style style, const std::vector<Variant>& a) {
    if (a[0].isNull())
        Throw(13);
    Variant value = a[0];
    if (value.isObject())
        value = ObjectDefault(value);
    if (value.isString()) {
        double parsed;
        if (!ParseNumber(value.stringValue(), &parsed))
            Throw(13);
        value = Variant::makeDouble(parsed);
    } else if (!value.isNumeric() && !value.isDate()) {
        Throw(13);
    }
    int digits = kDefaultDigits;
    if (a.size() > 1) {
        const int32_t n = a[1].toLong();
        if (n < -1 || n > 255)
            Throw(5);
        if (n >= 0)
            digits = n;
    }
    const bool leading = tristate(a, 2, true);
    const bool parens = tristate(a, 3, false);
    const bool group = tristate(a, 4, true);

    Decimal d = decimalOf(value);
    if (style == Style::Percent)
        d.point += 2;
    bool zero = false;
    const std::string fixed = fixedText(d, digits, &zero);
    QString body;
    const size_t dot = fixed.find('.');
    const std::string intPart = fixed.substr(0, dot);
    if (intPart == "0" && !leading && digits > 0) {
        // ".50": no digit before the point
    } else if (group) {
        for (size_t i = 0; i < intPart.size(); ++i) {
            if (i > 0 && (intPart.size() - i) % 3 == 0)
                body += kGroupSeparator;
            body += QChar(char16_t(intPart[i]));
        }
    } else {
        body = QString::fromLatin1(intPart.data(), qsizetype(intPart.size()));
    }
    if (dot != std::string::npos)
        body += kDecimalPoint + QString::fromLatin1(fixed.data() + dot + 1, qsizetype(fixed.size() - dot - 1));
    if (style == Style::Currency)
        body = kCurrencySign + body;
    else if (style == Style::Percent)
        body += u'%';
    if (d.negative && !zero)
        body = parens ? u'(' + body + u')' : u'-' + body;
    return Variant(body);
}

Variant toCurrency(const Variant& v) {
    switch (v.type()) {
    case Variant::Null: Throw(94);
    case Variant::Currency: return v;
    case Variant::Empty: return Variant::makeCurrency(0);
    case Variant::Integer: case Variant::Long: case Variant::Byte: case Variant::Boolean:
        return Variant::makeCurrency(int64_t(v.intValue()) * 10000);
    default: return Variant::makeCurrency(ToCurrency(v.toDouble()));
    }
}

const Builtin kFormat[] = {
    {"formatnumber", 1, 5, [](Interp&, BuiltinArgs& a) { return formatValue(Style::Number, a); }},
    {"formatcurrency", 1, 5, [](Interp&, BuiltinArgs& a) { return formatValue(Style::Currency, a); }},
    {"formatpercent", 1, 5, [](Interp&, BuiltinArgs& a) { return formatValue(Style::Percent, a); }},
    {"ccur", 1, 1, [](Interp&, BuiltinArgs& a) { return toCurrency(a[0]); }},
};

}  // namespace

std::span<const Builtin> FormatBuiltins() {
    return kFormat;
}

}  // namespace script
