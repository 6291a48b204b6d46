// Built-in functions and constants.
#include "objects.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace script {

namespace {

enum Id {
    Len, Left, Right, Mid, InStr, InStrRev, Replace, Split, Join, Trim, LTrim, RTrim, UCase, LCase,
    Space, String, StrReverse, Asc, AscW, Chr, ChrW, CStr, CInt, CLng, CDbl, CBool, CByte, CSng,
    Int, Fix, Round, Abs, Sgn, Sqr, Exp, Log, Sin, Cos, Tan, Atn, Hex, Oct, IsNumeric, IsEmpty,
    IsNull, IsArray, IsObject, Array, UBound, LBound, TypeName, VarType, StrComp,
    Rgb, EngineName, EngineMajor, EngineMinor, EngineBuild,
    GetLocale, SetLocale,
};

// Objects, code from text and the host's boxes (the date functions take 1000 up).
enum ObjectId {
    CreateObject = 2000, GetObject, Eval, GetRef, MsgBox, InputBox, Execute, ExecuteGlobal,
};

const QHash<QString, BuiltinInfo>& table() {
    static const QHash<QString, BuiltinInfo> t = {
        {"len", {Len, 1, 1}}, {"left", {Left, 2, 2}}, {"right", {Right, 2, 2}}, {"mid", {Mid, 2, 3}},
        {"instr", {InStr, 2, 4}}, {"instrrev", {InStrRev, 2, 4}}, {"replace", {Replace, 3, 6}},
        {"split", {Split, 1, 4}}, {"join", {Join, 1, 2}}, {"trim", {Trim, 1, 1}}, {"ltrim", {LTrim, 1, 1}},
        {"rtrim", {RTrim, 1, 1}}, {"ucase", {UCase, 1, 1}}, {"lcase", {LCase, 1, 1}},
        {"space", {Space, 1, 1}}, {"string", {String, 2, 2}}, {"strreverse", {StrReverse, 1, 1}},
        {"asc", {Asc, 1, 1}}, {"ascw", {AscW, 1, 1}}, {"chr", {Chr, 1, 1}}, {"chrw", {ChrW, 1, 1}},
        {"cstr", {CStr, 1, 1}}, {"cint", {CInt, 1, 1}}, {"clng", {CLng, 1, 1}}, {"cdbl", {CDbl, 1, 1}},
        {"cbool", {CBool, 1, 1}}, {"cbyte", {CByte, 1, 1}}, {"csng", {CSng, 1, 1}}, {"int", {Int, 1, 1}},
        {"fix", {Fix, 1, 1}}, {"round", {Round, 1, 2}}, {"abs", {Abs, 1, 1}}, {"sgn", {Sgn, 1, 1}},
        {"sqr", {Sqr, 1, 1}}, {"exp", {Exp, 1, 1}}, {"log", {Log, 1, 1}}, {"sin", {Sin, 1, 1}},
        {"cos", {Cos, 1, 1}}, {"tan", {Tan, 1, 1}}, {"atn", {Atn, 1, 1}}, {"hex", {Hex, 1, 1}},
        {"oct", {Oct, 1, 1}}, {"isnumeric", {IsNumeric, 1, 1}}, {"isempty", {IsEmpty, 1, 1}},
        {"isnull", {IsNull, 1, 1}}, {"isarray", {IsArray, 1, 1}}, {"isobject", {IsObject, 1, 1}},
        {"array", {Array, 0, -1}}, {"ubound", {UBound, 1, 2}}, {"lbound", {LBound, 1, 2}},
        {"typename", {TypeName, 1, 1}}, {"vartype", {VarType, 1, 1}}, {"strcomp", {StrComp, 2, 3}},
        // colours, the engine's identity and the locale
        {"rgb", {Rgb, 3, 3}}, {"scriptengine", {EngineName, 0, 0}},
        {"scriptenginemajorversion", {EngineMajor, 0, 0}},
        {"scriptengineminorversion", {EngineMinor, 0, 0}},
        {"scriptenginebuildversion", {EngineBuild, 0, 0}},
        {"getlocale", {GetLocale, 0, 0}}, {"setlocale", {SetLocale, 0, 1}},
        // objects, code from text and the host's boxes
        {"createobject", {CreateObject, 1, 2}}, {"getobject", {GetObject, 0, 2}}, {"eval", {Eval, 1, 1}},
        {"getref", {GetRef, 1, 1}}, {"msgbox", {MsgBox, 1, 5}}, {"inputbox", {InputBox, 1, 7}},
        {"execute", {Execute, 1, 1}}, {"executeglobal", {ExecuteGlobal, 1, 1}},
    };
    return t;
}

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

// A locale id from a number or a tag ("zh-cn"); 0 (or no argument) is the system's, 2052.
// Any valid id is taken: a language id whose primary language (low 10 bits) and
// sublanguage (next 6 bits) are in the ranges the system defines. Error 5 for other ids and
// for tags not in the list.
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
    if (a[0].isString()) {
        const QString tag = a[0].stringValue().trimmed().toLower();
        if (tag.isEmpty())
            return kSystemLocale;
        const auto it = tags.constFind(tag);
        if (it == tags.constEnd())
            Throw(5);
        return *it;
    }
    const int32_t id = IntArgument(a[0]);
    if (id == 0)
        return kSystemLocale;
    const int32_t primary = id & 0x3FF, sub = (id >> 10) & 0x3F;
    if (id > 0 && id <= 0xFFFF && primary >= 0x01 && primary <= 0x94 && sub >= 1 && sub <= 0x14)
        return id;
    Throw(5);
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

const BuiltinInfo* FindBuiltin(const QString& key) {
    auto it = table().constFind(key);
    if (it != table().constEnd())
        return &*it;
    if (const BuiltinInfo* b = FindDateBuiltin(key))
        return b;
    if (const BuiltinInfo* b = FindFormatBuiltin(key))
        return b;
    return FindTextBuiltin(key);
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

Variant objectBuiltin(Interp& I, int id, std::vector<Variant>& a) {
    switch (ObjectId(id)) {
    case CreateObject: {
        const QString name = a[0].toString().trimmed();
        if (name.compare(QLatin1String("Scripting.Dictionary"), Qt::CaseInsensitive) == 0)
            return MakeObject(I, NewDictionary());
        if (name.compare(QLatin1String("VBScript.RegExp"), Qt::CaseInsensitive) == 0)
            return MakeObject(I, NewRegExp());
        Throw(429, QStringLiteral("'%1'").arg(name));
    }
    case GetObject: Throw(429);
    // Code and procedure names must be text; Eval gives any other value back as it is.
    case Eval: return a[0].isString() ? EvalText(I, a[0].stringValue()) : a[0];
    case Execute: case ExecuteGlobal:
        if (!a[0].isString())
            Throw(13);
        ExecuteText(I, a[0].stringValue(), ObjectId(id) == ExecuteGlobal);
        return Variant();
    case GetRef: {
        if (!a[0].isString())
            Throw(13);
        const int g = I.findGlobal(a[0].stringValue().toLower());
        if (g < 0 || !I.globals[size_t(g)].proc)
            Throw(5);
        return MakeObject(I, NewProcRef(I.globals[size_t(g)].proc));
    }
    case MsgBox: return HostMsgBox(I, a);
    case InputBox: return HostInputBox(I, a);
    }
    return Variant();
}

}  // namespace

Variant CallBuiltin(Interp& I, int id, std::vector<Variant>& a) {
    if (id >= 4000)
        return CallTextBuiltin(I, id, a);
    if (id >= 3000)
        return CallFormatBuiltin(I, id, a);
    if (id >= CreateObject)
        return objectBuiltin(I, id, a);
    if (id >= 1000)
        return CallDateBuiltin(I, id, a);
    switch (Id(id)) {
    case Len:
        if (a[0].isNull())
            return a[0];
        return Variant::makeLong(int32_t(text(a[0]).size()));
    case Left: case Right: {
        if (a[0].isNull())
            return a[0];
        const int32_t n = IntArgument(a[1]);
        if (n < 0)
            Throw(5);
        const QString s = text(a[0]);
        return Variant(id == Left ? s.left(n) : s.right(n));
    }
    case Mid: {
        if (a[0].isNull())
            return a[0];
        const int32_t start = IntArgument(a[1]);
        if (start <= 0)
            Throw(a.size() > 2 && a[2].isNull() ? 6 : 5);
        int32_t len = -1;
        if (a.size() > 2) {
            len = IntArgument(a[2]);
            if (len < 0)
                Throw(5);
        }
        const QString s = text(a[0]);
        if (start > s.size())
            return Variant(QString());
        return Variant(s.mid(start - 1, len));
    }
    case InStr: {
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
    case InStrRev: {
        if (a[0].isNull() || a[1].isNull())
            return Variant::makeNull();
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
    case Replace: return replaceText(a);
    case Split: return splitText(a);
    case Join: {
        if (a[0].isNull())
            Throw(94);
        const ArrayData& arr = arrayArg(a[0]);
        if (arr.upper.size() != 1)
            Throw(5);
        const QString delim = a.size() > 1 ? text(a[1]) : QStringLiteral(" ");
        QString out;
        for (size_t k = 0; k < arr.items.size(); ++k) {
            if (k)
                out += delim;
            if (!arr.items[k].isNull())
                out += text(arr.items[k]);
            Ops::checkLength(out.size());
        }
        return Variant(out);
    }
    case Trim: case LTrim: case RTrim:
        if (a[0].isNull())
            return a[0];
        return Variant(trimSpaces(text(a[0]), id != RTrim, id != LTrim));
    case UCase: case LCase:
        if (a[0].isNull())
            return a[0];
        return Variant(id == UCase ? text(a[0]).toUpper() : text(a[0]).toLower());
    case Space: {
        const int32_t n = IntArgument(a[0]);
        if (n < 0)
            Throw(5);
        Ops::checkLength(n);
        return Variant(QString(n, u' '));
    }
    case String: {
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
    case StrReverse: {
        if (a[0].isNull())
            Throw(94);
        QString s = text(a[0]);
        std::reverse(s.begin(), s.end());
        return Variant(s);
    }
    case Asc: case AscW: {
        if (a[0].isNull())
            Throw(94);
        const QString s = text(a[0]);
        if (s.isEmpty())
            Throw(5);
        const int c = s[0].unicode();
        if (id == AscW)
            return Variant::makeInteger(int16_t(uint16_t(c)));  // signed 16 bits: ChrW(65535) is -1
        return c <= 32767 ? Variant::makeInteger(int16_t(c)) : Variant::makeLong(c);
    }
    case Chr: case ChrW: {
        const int32_t c = IntArgument(a[0]);
        if (c < 0 || c > 65535)
            Throw(5);
        return Variant(QString(QChar(char16_t(c))));
    }
    case CStr: return Variant(text(a[0]));
    case CInt: return Variant::makeInteger(a[0].toInteger());
    case CLng: return Variant::makeLong(a[0].toLong());
    case CDbl: return Variant::makeDouble(a[0].toDouble());
    case CBool: return Variant(a[0].toBool());
    case CByte: {
        if (a[0].type() == Variant::Boolean)
            return Variant::makeByte(a[0].isTrue() ? 255 : 0);
        const int32_t v = a[0].toLong();
        if (v < 0 || v > 255)
            Throw(6);
        return Variant::makeByte(uint8_t(v));
    }
    case CSng: {
        const double d = a[0].toDouble();
        if (std::fabs(d) > std::numeric_limits<float>::max())
            Throw(6);
        return Variant::makeSingle(float(d));
    }
    case Int: return intOrFix(a[0], true);
    case Fix: return intOrFix(a[0], false);
    case Round: {
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
    case Abs: {
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
    case Sgn: {
        if (a[0].isNull())
            return a[0];
        const double d = a[0].toDouble();
        return Variant::makeInteger(int16_t(d < 0 ? -1 : d > 0 ? 1 : 0));
    }
    case Sqr: case Exp: case Log: case Sin: case Cos: case Tan: case Atn: {
        if (a[0].isNull())
            return a[0];
        const double d = a[0].toDouble();
        double r = 0;
        switch (Id(id)) {
        case Sqr:
            if (d < 0)
                Throw(5);
            r = std::sqrt(d);
            break;
        case Exp: r = std::exp(d); break;
        case Log:
            if (d <= 0)
                Throw(5);
            r = std::log(d);
            break;
        case Sin: r = std::sin(d); break;
        case Cos: r = std::cos(d); break;
        case Tan: r = std::tan(d); break;
        default: r = std::atan(d); break;
        }
        return Ops::fromDouble(r);
    }
    case Hex: return radixText(a[0], 16);
    case Oct: return radixText(a[0], 8);
    case IsNumeric: {
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
    case IsEmpty: return Variant(a[0].isEmpty());
    case IsNull: return Variant(a[0].isNull());
    case IsArray: return Variant(a[0].isArray());
    case IsObject: return Variant(a[0].isObject());
    case Array: return Variant::makeArray(std::move(a));
    case UBound: case LBound: {
        const ArrayData& arr = arrayArg(a[0]);
        const int32_t dim = a.size() > 1 ? IntArgument(a[1]) : 1;
        if (dim < 1 || size_t(dim) > arr.upper.size())
            Throw(9);
        return Variant::makeLong(id == UBound ? arr.upper[size_t(dim) - 1] : 0);
    }
    case TypeName: return Variant(a[0].typeName());
    case VarType:
        if (a[0].isObject() && a[0].objectValue())
            return Variant::makeInteger(int16_t(a[0].objectValue()->varType()));
        return Variant::makeInteger(int16_t(a[0].type()));
    case Rgb: {
        int32_t c[3];
        for (int k = 0; k < 3; ++k) {
            c[k] = IntArgument(a[size_t(k)]);
            if (c[k] < 0)
                Throw(5);
            c[k] = std::min(c[k], 255);
        }
        return Variant::makeLong(c[0] | (c[1] << 8) | (c[2] << 16));
    }
    case EngineName: return Variant(QStringLiteral("VBScript"));
    case EngineMajor: return Variant::makeLong(5);
    case EngineMinor: return Variant::makeLong(8);
    case EngineBuild: return Variant::makeLong(16384);
    case GetLocale: return Variant::makeLong(I.locale);
    case SetLocale: {
        const int32_t previous = I.locale;
        I.locale = localeId(a);
        return Variant::makeLong(previous);
    }
    case StrComp: {
        if (a[0].isNull() || a[1].isNull())
            return Variant::makeNull();
        const int c = text(a[0]).compare(text(a[1]), CompareMode(a, 2));
        return Variant::makeInteger(int16_t(c < 0 ? -1 : c > 0 ? 1 : 0));
    }
    }
    return Variant();
}

}  // namespace script
