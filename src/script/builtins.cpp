// Built-in functions and constants.
#include "builtins.h"
#include "objects.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace script {

namespace {

QString text(const Variant& v) { return v.toString(); }


Variant makeString(QString s) {
    Ops::checkLength(s.size());
    return Variant(s);
}

QString trimSpaces(const QString& s, bool left, bool right) {
    qsizetype b = 0, e = s.size();
    if (left)
        while (b < e && s[b] == u' ')
            ++b;
    if (right)
        while (e > b && s[e - 1] == u' ')
            --e;
    return s.mid(b, e - b);
}

Variant intOrFix(const Variant& x, bool floorMode) {
    switch (x.type()) {
    case Variant::Null: return x;
    case Variant::Empty: return Variant::makeInteger(0);
    case Variant::Boolean: return Variant::makeInteger(int16_t(x.intValue()));
    case Variant::Integer: case Variant::Long: case Variant::Byte: return x;
    case Variant::Single: return Variant::makeSingle(float(floorMode ? std::floor(x.doubleValue()) : std::trunc(x.doubleValue())));
    case Variant::Date: return Variant::makeDate(floorMode ? std::floor(x.doubleValue()) : std::trunc(x.doubleValue()));
    case Variant::Currency: {
        const int64_t c = x.currencyValue(), whole = c / 10000 * 10000;
        return Variant::makeCurrency(floorMode && c < whole ? whole - 10000 : whole);
    }
    default: {
        const double d = x.toDouble();
        return Variant::makeDouble(floorMode ? std::floor(d) : std::trunc(d));
    }
    }
}

Variant radixText(const Variant& x, int base) {
    if (x.isNull())
        return x;
    const int32_t v = x.toLong();
    uint32_t u = uint32_t(v);
    const Variant::Type t = x.type();
    if (v < 0 && v >= -32768 &&
        (t == Variant::Integer || t == Variant::Byte || t == Variant::Boolean || t == Variant::Empty))
        u &= 0xFFFF;
    return Variant(QString::number(u, base).toUpper());
}

// An object argument stands for its default member's value (438 without one; a Dictionary's
// default needs a key: 450); Nothing stays, for arrayArg's 91.
Variant defaultOf(const Variant& v) {
    if (v.isObject() && v.objectValue())
        return ObjectDefault(v);
    return v;
}

const ArrayData& arrayArg(const Variant& v) {
    if (v.isObject() && !v.objectValue())
        Throw(91);
    if (!v.isArray())
        Throw(13);
    return *v.arrayData();
}

Variant splitText(const std::vector<Variant>& a) {
    if (a[0].isNull())
        Throw(94);
    const QString s = text(a[0]);
    const QString delim = a.size() > 1 ? text(a[1]) : QStringLiteral(" ");
    const int32_t count = a.size() > 2 ? IntArgument(a[2]) : -1;
    if (count < -1)
        Throw(5);
    const Qt::CaseSensitivity cs = CompareMode(a, 3);
    std::vector<Variant> parts;
    if (!s.isEmpty() && count != 0) {
        if (delim.isEmpty()) {
            parts.emplace_back(s);
        } else {
            qsizetype pos = 0;
            for (;;) {
                if (count > 0 && int32_t(parts.size()) == count - 1) {
                    parts.emplace_back(s.mid(pos));
                    break;
                }
                const qsizetype hit = s.indexOf(delim, pos, cs);
                if (hit < 0) {
                    parts.emplace_back(s.mid(pos));
                    break;
                }
                parts.emplace_back(s.mid(pos, hit - pos));
                pos = hit + delim.size();
                if (int64_t(parts.size()) > kMaxArrayElements)
                    Throw(7);
            }
        }
    }
    return Variant::makeArray(std::move(parts));
}

// A locale id from a number, number text ("1031") or a tag ("zh-cn"); 0, 1024 (the user's)
// and 2048 (the system's), or no argument, are the system's, 2052. Any valid id is taken: a
// language id whose primary language (low 10 bits) and sublanguage (next 6 bits) are in the
// ranges the system defines. A number that is no such id is error 447 (no such locale); a
// tag not in the list is error 5.
int32_t localeId(const std::vector<Variant>& a) {
    static const QHash<QString, int32_t> tags = {
        {"zh-cn", 2052}, {"zh-sg", 4100}, {"zh-tw", 1028}, {"zh-hk", 3076}, {"zh-mo", 5124},
        {"en-us", 1033}, {"en-gb", 2057}, {"ja-jp", 1041}, {"ja", 1041},    {"ko-kr", 1042},
        {"ko", 1042},    {"de-de", 1031}, {"fr-fr", 1036}, {"it-it", 1040}, {"it-ch", 2064},
        {"ru-ru", 1049}, {"nl-nl", 1043}, {"da-dk", 1030}, {"el-gr", 1032}, {"fi-fi", 1035},
        {"he-il", 1037}, {"hu", 1038},    {"is", 1039},    {"id", 1057},    {"pl", 1045},
        {"pt-br", 1046}, {"pt", 2070},    {"ro", 1048},    {"hr", 1050},    {"sk-sk", 1051},
        {"sq", 1052},    {"cs", 1029},    {"ca", 1027},    {"bg", 1026},    {"be", 1059},
        {"eu", 1069},    {"hy", 1067},    {"af", 1078},    {"hi", 1081},    {"mt", 1082},
        {"ms-my", 1086}, {"lv", 1062},    {"lt", 1063},    {"mk", 1071},    {"mr", 1102},
        {"ar-sa", 1025}, {"no-no", 1044},
    };
    if (a.empty())
        return kSystemLocale;
    double number;
    if (a[0].isString() && !ParseNumber(a[0].stringValue(), &number)) {
        const QString tag = a[0].stringValue().trimmed().toLower();
        if (tag.isEmpty())
            return kSystemLocale;
        const auto it = tags.constFind(tag);
        if (it == tags.constEnd())
            Throw(5);
        return *it;
    }
    const int32_t id = IntArgument(a[0]);
    if (id == 0 || id == 1024 || id == 2048)
        return kSystemLocale;
    const int32_t primary = id & 0x3FF, sub = (id >> 10) & 0x3F;
    if (id > 0 && id <= 0xFFFF && primary >= 0x01 && primary <= 0x94 && sub >= 1 && sub <= 0x14)
        return id;
    Throw(447);
}

Variant replaceText(const std::vector<Variant>& a) {
    for (size_t i = 0; i < 3; ++i)
        if (a[i].isNull())
            Throw(94);
    const QString s = text(a[0]), find = text(a[1]), with = text(a[2]);
    const int32_t start = a.size() > 3 ? IntArgument(a[3]) : 1;
    int32_t count = a.size() > 4 ? IntArgument(a[4]) : -1;
    const Qt::CaseSensitivity cs = CompareMode(a, 5);
    if (start < 1 || count < -1)
        Throw(5);
    if (start > s.size())
        return Variant(QString());
    const QString rest = s.mid(start - 1);
    if (find.isEmpty() || count == 0)
        return Variant(rest);
    QString out;
    qsizetype pos = 0;
    while (count != 0) {
        const qsizetype hit = rest.indexOf(find, pos, cs);
        if (hit < 0)
            break;
        out += QStringView(rest).mid(pos, hit - pos);
        out += with;
        Ops::checkLength(out.size());
        pos = hit + find.size();
        if (count > 0)
            --count;
    }
    out += QStringView(rest).mid(pos);
    return makeString(out);
}

}  // namespace

Qt::CaseSensitivity CompareMode(const std::vector<Variant>& a, size_t i) {
    if (i >= a.size())
        return Qt::CaseSensitive;
    const int32_t m = IntArgument(a[i]);
    if (m < 0 || m > 1)
        Throw(5);
    return m == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
}


QString UnsupportedReason(const QString& key) {
    static const QHash<QString, QString> r = [] {
        QHash<QString, QString> m;
        const QString ui = QStringLiteral("此脚本引擎不支持“%1”");
        for (const char* n : {"LoadPicture"})
            m.insert(QString::fromLatin1(n).toLower(), ui.arg(QLatin1String(n)));
        return m;
    }();
    return r.value(key);
}

namespace {

// ---- text ----------------------------------------------------------------------------

Variant lengthOf(const Variant& v) {
    if (v.isNull())
        return v;
    return Variant::makeLong(int32_t(v.isString() ? v.stringValue().size() : text(v).size()));
}

// A one-character result: the Latin-1 ones are shared texts made once, so taking a digit
// out of a number's text (Mid(n, 2, 1)) allocates nothing.
Variant oneChar(QChar c) {
    // Texts over static characters: a copy counts no references.
    static const std::array<char16_t, 256> latin1 = [] {
        std::array<char16_t, 256> t{};
        for (size_t k = 0; k < t.size(); ++k)
            t[k] = char16_t(k);
        return t;
    }();
    if (c.unicode() < 256)
        return Variant(QString::fromRawData(reinterpret_cast<const QChar*>(&latin1[c.unicode()]), 1));
    return Variant(QString(c));
}

Variant leftOrRight(BuiltinArgs& a, bool left) {
    // The length is checked before a Null text passes through.
    const int32_t n = IntArgument(a[1]);
    if (n < 0)
        Throw(5);
    if (a[0].isNull())
        return a[0];
    if (a[0].isString()) {
        // The argument's own text is cut where it is (a text nothing else holds is not copied).
        QString& s = a[0].stringRef();
        if (n < s.size()) {
            if (left)
                s.truncate(n);
            else
                s.remove(0, s.size() - n);
        }
        return std::move(a[0]);
    }
    const QString s = text(a[0]);
    return Variant(left ? s.left(n) : s.right(n));
}

Variant midOf(const Variant& text0, const Variant& from, const Variant* length) {
    // A Null length is 94 before anything else; start and length are checked before a Null
    // text passes through.
    if (length && length->isNull())
        Throw(94);
    const int32_t start = IntArgument(from);
    if (start <= 0)
        Throw(5);
    int32_t len = -1;
    if (length) {
        len = IntArgument(*length);
        if (len < 0)
            Throw(5);
    }
    if (text0.isNull())
        return text0;
    // Text is read where it is; only other values are converted.
    QString converted;
    const QString& s = text0.isString() ? text0.stringValue() : (converted = text(text0));
    if (start > s.size())
        return Variant(QString());
    if (len == 1 || (len < 0 && start == s.size()))
        return oneChar(s[start - 1]);
    return Variant(s.mid(start - 1, len));
}

Variant InStr(Interp&, BuiltinArgs& a) {
    int32_t start = 1;
    size_t i = 0;
    if (a.size() >= 3) {
        start = IntArgument(a[0]);
        i = 1;
    }
    if (a[i].isNull() || a[i + 1].isNull())
        return Variant::makeNull();
    if (start < 1)
        Throw(5);
    const QString s = text(a[i]), f = text(a[i + 1]);
    const Qt::CaseSensitivity cs = CompareMode(a, i + 2);
    if (start > s.size())
        return Variant::makeLong(0);
    if (f.isEmpty())
        return Variant::makeLong(start);
    return Variant::makeLong(int32_t(s.indexOf(f, start - 1, cs) + 1));
}

Variant InStrRev(Interp&, BuiltinArgs& a) {
    // Unlike InStr, a Null text is an error, not a Null result.
    if (a[0].isNull() || a[1].isNull())
        Throw(94);
    const QString s = text(a[0]), f = text(a[1]);
    int32_t start = a.size() > 2 ? IntArgument(a[2]) : -1;
    const Qt::CaseSensitivity cs = CompareMode(a, 3);
    if (start == -1)
        start = int32_t(s.size());
    if (start <= 0)
        Throw(5);
    if (start > s.size())
        return Variant::makeLong(0);
    if (f.isEmpty())
        return Variant::makeLong(start);
    const qsizetype from = qsizetype(start) - f.size();
    if (from < 0)
        return Variant::makeLong(0);
    return Variant::makeLong(int32_t(s.lastIndexOf(f, from, cs) + 1));
}

Variant Join(Interp&, BuiltinArgs& a) {
    if (a[0].isNull())
        Throw(94);
    const Variant list = defaultOf(a[0]);
    const ArrayData& arr = arrayArg(list);
    if (arr.upper.size() != 1)
        Throw(13);
    const QString delim = a.size() > 1 ? text(a[1]) : QStringLiteral(" ");
    QString out;
    for (size_t k = 0; k < arr.items.size(); ++k) {
        if (k)
            out += delim;
        // Every element must be text or convert to it: a Null one is a type mismatch.
        if (arr.items[k].isNull())
            Throw(13);
        out += text(arr.items[k]);
        Ops::checkLength(out.size());
    }
    return Variant(out);
}

Variant trimmed(BuiltinArgs& a, bool left, bool right) {
    if (a[0].isNull())
        return a[0];
    return Variant(trimSpaces(text(a[0]), left, right));
}

Variant changeCase(BuiltinArgs& a, bool upper) {
    if (a[0].isNull())
        return a[0];
    return Variant(upper ? text(a[0]).toUpper() : text(a[0]).toLower());
}

Variant Space(Interp&, BuiltinArgs& a) {
    const int32_t n = IntArgument(a[0]);
    if (n < 0)
        Throw(5);
    Ops::checkLength(n);
    return Variant(QString(n, u' '));
}

Variant String(Interp&, BuiltinArgs& a) {
    const int32_t n = IntArgument(a[0]);
    if (n < 0)
        Throw(5);
    Ops::checkLength(n);
    QChar c;
    if (a[1].isNull())
        Throw(94);
    if (a[1].isString()) {
        if (a[1].stringValue().isEmpty())
            Throw(5);
        c = a[1].stringValue()[0];
    } else {
        const int32_t code = IntArgument(a[1]);
        if (code < 0)
            Throw(5);
        c = QChar(char16_t(code % 256));
    }
    return Variant(QString(n, c));
}

Variant StrReverse(Interp&, BuiltinArgs& a) {
    if (a[0].isNull())
        Throw(94);
    QString s = text(a[0]);
    std::reverse(s.begin(), s.end());
    return Variant(s);
}

Variant StrComp(Interp&, BuiltinArgs& a) {
    if (a[0].isNull() || a[1].isNull())
        return Variant::makeNull();
    const int c = text(a[0]).compare(text(a[1]), CompareMode(a, 2));
    return Variant::makeInteger(int16_t(c < 0 ? -1 : c > 0 ? 1 : 0));
}

Variant codeOf(BuiltinArgs& a, bool wide) {
    if (a[0].isNull())
        Throw(94);
    const QString s = text(a[0]);
    if (s.isEmpty())
        Throw(5);
    const int c = s[0].unicode();
    if (wide)
        return Variant::makeInteger(int16_t(uint16_t(c)));  // signed 16 bits: ChrW(65535) is -1
    return c <= 32767 ? Variant::makeInteger(int16_t(c)) : Variant::makeLong(c);
}

Variant Chr(Interp&, BuiltinArgs& a) {
    const int32_t c = IntArgument(a[0]);
    if (c < 0 || c > 65535)
        Throw(5);
    return Variant(QString(QChar(char16_t(c))));
}

// ---- conversions and numbers ---------------------------------------------------------

Variant CByte(Interp&, BuiltinArgs& a) {
    if (a[0].type() == Variant::Boolean)
        return Variant::makeByte(a[0].isTrue() ? 255 : 0);
    const int32_t v = a[0].toLong();
    if (v < 0 || v > 255)
        Throw(6);
    return Variant::makeByte(uint8_t(v));
}

Variant CSng(Interp&, BuiltinArgs& a) {
    const double d = a[0].toDouble();
    if (std::fabs(d) > std::numeric_limits<float>::max())
        Throw(6);
    return Variant::makeSingle(float(d));
}

Variant Round(Interp&, BuiltinArgs& a) {
    const Variant& x = a[0];
    const int32_t n = a.size() > 1 ? IntArgument(a[1]) : 0;
    if (n < 0)
        Throw(5);
    switch (x.type()) {
    case Variant::Null: return x;
    case Variant::Empty: return Variant::makeInteger(0);
    case Variant::Integer: case Variant::Long: case Variant::Byte: case Variant::Boolean: return x;
    case Variant::Single: return Variant::makeSingle(float(RoundDecimal(x.doubleValue(), n)));
    case Variant::Currency: return n >= 4 ? x : Variant::makeCurrency(ToCurrency(RoundDecimal(x.toDouble(), n)));
    default: return Variant::makeDouble(RoundDecimal(x.toDouble(), n));
    }
}

Variant Abs(Interp&, BuiltinArgs& a) {
    const Variant& x = a[0];
    switch (x.type()) {
    case Variant::Null: return x;
    case Variant::Empty: return Variant::makeInteger(0);
    case Variant::Boolean: case Variant::Integer:
        return Ops::fromInt64(std::abs(int64_t(x.intValue())), Variant::Integer);
    case Variant::Byte: return x;
    case Variant::Long: return Ops::fromInt64(std::abs(int64_t(x.intValue())), Variant::Long);
    case Variant::Single: return Variant::makeSingle(float(std::fabs(x.doubleValue())));
    case Variant::Currency: return x.currencyValue() < 0 ? Ops::neg(x) : x;
    default: return Variant::makeDouble(std::fabs(x.toDouble()));
    }
}

Variant Sgn(Interp&, BuiltinArgs& a) {
    if (a[0].isNull())
        Throw(94);
    const double d = a[0].toDouble();
    return Variant::makeInteger(int16_t(d < 0 ? -1 : d > 0 ? 1 : 0));
}

// Sqr, Exp, Log and the trigonometric functions: Null stays Null, the result is a Double.
template <double (*F)(double)>
Variant math(Interp&, BuiltinArgs& a) {
    if (a[0].isNull())
        return a[0];
    return Ops::fromDouble(F(a[0].toDouble()));
}
double squareRoot(double d) {
    if (d < 0)
        Throw(5);
    return std::sqrt(d);
}
double logarithm(double d) {
    if (d <= 0)
        Throw(5);
    return std::log(d);
}
double exponent(double d) { return std::exp(d); }
double sine(double d) { return std::sin(d); }
double cosine(double d) { return std::cos(d); }
double tangent(double d) { return std::tan(d); }
double arcTangent(double d) { return std::atan(d); }

// ---- values, arrays and types --------------------------------------------------------

Variant IsNumeric(Interp&, BuiltinArgs& a) {
    Variant x = a[0];
    if (x.isObject()) {
        // An object is numeric when its default value is.
        try {
            x = ObjectDefault(x);
        } catch (const RuntimeError& e) {
            if (e.fatal)
                throw;
            return Variant(false);
        }
        if (x.isObject())
            return Variant(false);
    }
    if (x.isString()) {
        double d;
        return Variant(ParseNumber(x.stringValue(), &d));
    }
    return Variant(x.isNumeric());
}

Variant bound(BuiltinArgs& a, bool upper) {
    const Variant list = defaultOf(a[0]);
    const ArrayData& arr = arrayArg(list);
    const int32_t dim = a.size() > 1 ? IntArgument(a[1]) : 1;
    if (dim < 1 || size_t(dim) > arr.upper.size())
        Throw(9);
    return Variant::makeLong(upper ? arr.upper[size_t(dim) - 1] : 0);
}

Variant VarType(Interp&, BuiltinArgs& a) {
    if (a[0].isObject() && a[0].objectValue())
        return Variant::makeInteger(int16_t(a[0].objectValue()->varType()));
    return Variant::makeInteger(int16_t(a[0].type()));
}

Variant Rgb(Interp&, BuiltinArgs& a) {
    int32_t c[3];
    for (int k = 0; k < 3; ++k) {
        c[k] = IntArgument(a[size_t(k)]);
        if (c[k] < 0)
            Throw(5);
        c[k] = std::min(c[k], 255);
    }
    return Variant::makeLong(c[0] | (c[1] << 8) | (c[2] << 16));
}

Variant SetLocale(Interp& I, BuiltinArgs& a) {
    const int32_t previous = I.locale;
    I.locale = localeId(a);
    return Variant::makeLong(previous);
}

// ---- objects, code from text and the host's boxes ------------------------------------

Variant CreateObject(Interp& I, BuiltinArgs& a) {
    const QString name = a[0].toString().trimmed();
    if (name.compare(QLatin1String("Scripting.Dictionary"), Qt::CaseInsensitive) == 0)
        return MakeObject(I, NewDictionary());
    if (name.compare(QLatin1String("VBScript.RegExp"), Qt::CaseInsensitive) == 0)
        return MakeObject(I, NewRegExp());
    Throw(429, QStringLiteral("'%1'").arg(name));
}

// Code and procedure names must be text; Eval gives any other value back as it is.
// An object gives its default member's value as the text (438 without one).
Variant Eval(Interp& I, BuiltinArgs& a) {
    const Variant code = defaultOf(a[0]);
    return code.isString() ? EvalText(I, code.stringValue()) : code;
}

Variant executeText(Interp& I, BuiltinArgs& a, bool global) {
    const Variant code = defaultOf(a[0]);
    if (!code.isString())
        Throw(13);
    ExecuteText(I, code.stringValue(), global);
    return Variant();
}

Variant GetRef(Interp& I, BuiltinArgs& a) {
    if (!a[0].isString())
        Throw(13);
    const int g = I.findGlobal(a[0].stringValue().toLower());
    if (g < 0 || !I.globals[size_t(g)].proc)
        Throw(5);
    return MakeObject(I, NewProcRef(I.globals[size_t(g)].proc));
}

using A = BuiltinArgs;
using R = BuiltinOperands;

// The built-ins that only read their arguments (see ReadingBuiltin).
Variant ReadLength(Interp&, R a) { return lengthOf(*a[0]); }
Variant ReadMid(Interp&, R a) { return midOf(*a[0], *a[1], a.size() > 2 ? a[2] : nullptr); }
Variant ReadCInt(Interp&, R a) { return Variant::makeInteger(a[0]->toInteger()); }
Variant ReadCLng(Interp&, R a) { return Variant::makeLong(a[0]->toLong()); }
Variant ReadCDbl(Interp&, R a) { return Variant::makeDouble(a[0]->toDouble()); }

const Builtin kCore[] = {
    // text
    PureBuiltin(ReadingBuiltin<ReadLength, 1, 1>("len")),
    PureBuiltin({"left", 2, 2, [](Interp&, A& a) { return leftOrRight(a, true); }}),
    PureBuiltin({"right", 2, 2, [](Interp&, A& a) { return leftOrRight(a, false); }}),
    PureBuiltin(ReadingBuiltin<ReadMid, 2, 3>("mid")),
    PureBuiltin({"instr", 2, 4, InStr}),
    {"instrrev", 2, 4, InStrRev},
    {"replace", 3, 6, [](Interp&, A& a) { return replaceText(a); }},
    {"split", 1, 4, [](Interp&, A& a) { return splitText(a); }},
    {"join", 1, 2, Join},
    {"trim", 1, 1, [](Interp&, A& a) { return trimmed(a, true, true); }},
    {"ltrim", 1, 1, [](Interp&, A& a) { return trimmed(a, true, false); }},
    {"rtrim", 1, 1, [](Interp&, A& a) { return trimmed(a, false, true); }},
    {"ucase", 1, 1, [](Interp&, A& a) { return changeCase(a, true); }},
    {"lcase", 1, 1, [](Interp&, A& a) { return changeCase(a, false); }},
    {"space", 1, 1, Space},
    {"string", 2, 2, String},
    {"strreverse", 1, 1, StrReverse},
    {"strcomp", 2, 3, StrComp},
    {"asc", 1, 1, [](Interp&, A& a) { return codeOf(a, false); }},
    {"ascw", 1, 1, [](Interp&, A& a) { return codeOf(a, true); }},
    {"chr", 1, 1, Chr},
    {"chrw", 1, 1, Chr},
    // conversions and numbers
    PureBuiltin({"cstr", 1, 1, [](Interp&, A& a) { return Variant(text(a[0])); }}),
    PureBuiltin(ReadingBuiltin<ReadCInt, 1, 1>("cint")),
    PureBuiltin(ReadingBuiltin<ReadCLng, 1, 1>("clng")),
    PureBuiltin(ReadingBuiltin<ReadCDbl, 1, 1>("cdbl")),
    PureBuiltin({"cbool", 1, 1, [](Interp&, A& a) { return Variant(a[0].toBool()); }}),
    PureBuiltin({"cbyte", 1, 1, CByte}),
    PureBuiltin({"csng", 1, 1, CSng}),
    PureBuiltin({"int", 1, 1, [](Interp&, A& a) { return intOrFix(a[0], true); }}),
    PureBuiltin({"fix", 1, 1, [](Interp&, A& a) { return intOrFix(a[0], false); }}),
    PureBuiltin({"round", 1, 2, Round}),
    PureBuiltin({"abs", 1, 1, Abs}),
    PureBuiltin({"sgn", 1, 1, Sgn}),
    PureBuiltin({"sqr", 1, 1, math<squareRoot>}),
    PureBuiltin({"exp", 1, 1, math<exponent>}),
    PureBuiltin({"log", 1, 1, math<logarithm>}),
    {"sin", 1, 1, math<sine>},
    {"cos", 1, 1, math<cosine>},
    {"tan", 1, 1, math<tangent>},
    {"atn", 1, 1, math<arcTangent>},
    {"hex", 1, 1, [](Interp&, A& a) { return radixText(a[0], 16); }},
    {"oct", 1, 1, [](Interp&, A& a) { return radixText(a[0], 8); }},
    // values, arrays and types
    PureBuiltin({"isnumeric", 1, 1, IsNumeric}),
    PureBuiltin({"isempty", 1, 1, [](Interp&, A& a) { return Variant(a[0].isEmpty()); }}),
    PureBuiltin({"isnull", 1, 1, [](Interp&, A& a) { return Variant(a[0].isNull()); }}),
    PureBuiltin({"isarray", 1, 1, [](Interp&, A& a) { return Variant(a[0].isArray()); }}),
    {"isobject", 1, 1, [](Interp&, A& a) { return Variant(a[0].isObject()); }},
    {"array", 0, -1, [](Interp&, A& a) { return Variant::makeArray(std::move(a)); }},
    PureBuiltin({"ubound", 1, 2, [](Interp&, A& a) { return bound(a, true); }}),
    PureBuiltin({"lbound", 1, 2, [](Interp&, A& a) { return bound(a, false); }}),
    {"typename", 1, 1, [](Interp&, A& a) { return Variant(a[0].typeName()); }},
    PureBuiltin({"vartype", 1, 1, VarType}),
    // colours, the engine's identity and the locale
    {"rgb", 3, 3, Rgb},
    {"scriptengine", 0, 0, [](Interp&, A&) { return Variant(QStringLiteral("VBScript")); }},
    {"scriptenginemajorversion", 0, 0, [](Interp&, A&) { return Variant::makeLong(5); }},
    {"scriptengineminorversion", 0, 0, [](Interp&, A&) { return Variant::makeLong(8); }},
    {"scriptenginebuildversion", 0, 0, [](Interp&, A&) { return Variant::makeLong(16384); }},
    {"getlocale", 0, 0, [](Interp& I, A&) { return Variant::makeLong(I.locale); }},
    {"setlocale", 0, 1, SetLocale},
    // objects, code from text and the host's boxes
    {"createobject", 1, 2, CreateObject},
    {"getobject", 0, 2, [](Interp&, A&) -> Variant { Throw(429); }},
    TalkingBuiltin({"eval", 1, 1, Eval}),
    {"getref", 1, 1, GetRef},
    TalkingBuiltin({"msgbox", 1, 5, [](Interp& I, A& a) { return HostMsgBox(I, a); }}),
    TalkingBuiltin({"inputbox", 1, 7, [](Interp& I, A& a) { return HostInputBox(I, a); }}),
    TalkingBuiltin({"execute", 1, 1, [](Interp& I, A& a) { return executeText(I, a, false); }}),
    TalkingBuiltin({"executeglobal", 1, 1, [](Interp& I, A& a) { return executeText(I, a, true); }}),
};

}  // namespace

std::span<const Builtin> CoreBuiltins() {
    return kCore;
}

const Builtin* FindBuiltin(const QString& key) {
    static const QHash<QString, const Builtin*> index = [] {
        QHash<QString, const Builtin*> m;
        for (auto group : {CoreBuiltins(), DateBuiltins(), FormatBuiltins(), TextBuiltins()})
            for (const Builtin& b : group)
                if (!m.contains(QString::fromLatin1(b.name)))  // the first group's row wins
                    m.insert(QString::fromLatin1(b.name), &b);
        return m;
    }();
    return index.value(key, nullptr);
}

}  // namespace script
