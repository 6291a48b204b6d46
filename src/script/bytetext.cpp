// Text functions beyond the basic ones: Filter, Escape/Unescape and the byte view of a
// string (LenB, LeftB, RightB, MidB, InStrB, AscB, ChrB) on its UTF-16 bytes, low byte first.
#include "builtins.h"
#include "ops.h"

#include <QByteArray>

namespace script {

namespace {

QByteArray bytesOf(const QString& s) {
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

// Bytes back to text; an odd last byte becomes a character of its own (high byte zero).
QString textOf(const QByteArray& b) {
    QString s;
    s.reserve((b.size() + 1) / 2);
    for (qsizetype i = 0; i < b.size(); i += 2) {
        const uint8_t lo = uint8_t(b[i]);
        const uint8_t hi = i + 1 < b.size() ? uint8_t(b[i + 1]) : 0;
        s += QChar(char16_t(lo | (hi << 8)));
    }
    return s;
}

// Characters Escape leaves as they are.
bool plain(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'@' ||
           c == u'*' || c == u'_' || c == u'+' || c == u'-' || c == u'.' || c == u'/';
}

QString escape(const QString& s) {
    static const char hex[] = "0123456789ABCDEF";
    QString out;
    out.reserve(s.size());
    for (QChar ch : s) {
        const char16_t c = ch.unicode();
        if (plain(c)) {
            out += ch;
        } else if (c < 256) {
            out += u'%';
            out += QChar(hex[c >> 4]);
            out += QChar(hex[c & 15]);
        } else {
            out += QStringLiteral("%u");
            for (int shift = 12; shift >= 0; shift -= 4)
                out += QChar(hex[(c >> shift) & 15]);
        }
        Ops::checkLength(out.size());
    }
    return out;
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// %XX and %uXXXX become their characters; anything else, broken sequences too, stays.
QString unescape(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'%') {
            const bool wide = i + 1 < s.size() && (s[i + 1] == u'u' || s[i + 1] == u'U');
            const qsizetype from = i + (wide ? 2 : 1), n = wide ? 4 : 2;
            if (from + n <= s.size()) {
                int v = 0;
                bool ok = true;
                for (qsizetype k = 0; k < n && ok; ++k) {
                    const int d = hexDigit(s[from + k]);
                    ok = d >= 0;
                    v = v * 16 + d;
                }
                if (ok) {
                    out += QChar(char16_t(v));
                    i = from + n - 1;
                    continue;
                }
            }
        }
        out += s[i];
    }
    return out;
}

// A byte function as its character namesake over strings of one character per byte; text
// results are packed back into UTF-16.
Variant throughChars(Interp& I, const char* name, std::vector<Variant>& a, std::initializer_list<size_t> texts,
                     bool packResult) {
    for (size_t k : texts)
        if (k < a.size() && !a[k].isNull())
            a[k] = Variant(QString::fromLatin1(bytesOf(a[k].toString())));
    Variant r = FindBuiltin(QString::fromLatin1(name))->call(I, a);
    if (packResult && r.isString())
        return Variant(textOf(r.stringValue().toLatin1()));
    return r;
}

Variant filter(const std::vector<Variant>& a) {
    if (a[0].isNull())
        Throw(94);
    if (!a[0].isArray() || a[0].arrayData()->upper.size() != 1)
        Throw(13);
    if (a[1].isNull())
        Throw(94);
    const QString value = a[1].toString();
    const bool include = a.size() > 2 ? a[2].toBool() : true;
    const Qt::CaseSensitivity cs = CompareMode(a, 3);
    std::vector<Variant> out;
    for (const Variant& item : a[0].arrayData()->items) {
        if (item.isNull())
            Throw(13);
        QString s = item.toString();
        if (s.contains(value, cs) == include)
            out.emplace_back(std::move(s));
    }
    return Variant::makeArray(std::move(out));
}

Variant escapeOrUnescape(BuiltinArgs& a, bool escaping) {
    if (a[0].isNull())
        Throw(94);
    return Variant(escaping ? escape(a[0].toString()) : unescape(a[0].toString()));
}

Variant LenB(Interp&, BuiltinArgs& a) {
    if (a[0].isNull())
        return a[0];
    return Variant::makeLong(int32_t(a[0].toString().size() * 2));
}

Variant InStrB(Interp& I, BuiltinArgs& a) {
    return throughChars(I, "instr", a, a.size() >= 3 ? std::initializer_list<size_t>{1, 2} : std::initializer_list<size_t>{0, 1}, false);
}

Variant AscB(Interp&, BuiltinArgs& a) {
    if (a[0].isNull())
        Throw(94);
    const QString s = a[0].toString();
    if (s.isEmpty())
        Throw(5);
    return Variant::makeByte(uint8_t(s[0].unicode() & 0xFF));
}

Variant ChrB(Interp&, BuiltinArgs& a) {
    const int32_t c = IntArgument(a[0]);
    if (c < 0 || c > 255)
        Throw(6);  // the code is read as a Byte
    return Variant(QString(QChar(char16_t(c))));
}

const Builtin kText[] = {
    {"filter", 2, 4, [](Interp&, BuiltinArgs& a) { return filter(a); }},
    {"escape", 1, 1, [](Interp&, BuiltinArgs& a) { return escapeOrUnescape(a, true); }},
    {"unescape", 1, 1, [](Interp&, BuiltinArgs& a) { return escapeOrUnescape(a, false); }},
    {"lenb", 1, 1, LenB},
    {"leftb", 2, 2, [](Interp& I, BuiltinArgs& a) { return throughChars(I, "left", a, {0}, true); }},
    {"rightb", 2, 2, [](Interp& I, BuiltinArgs& a) { return throughChars(I, "right", a, {0}, true); }},
    {"midb", 2, 3, [](Interp& I, BuiltinArgs& a) { return throughChars(I, "mid", a, {0}, true); }},
    {"instrb", 2, 4, InStrB},
    {"ascb", 1, 1, AscB},
    {"chrb", 1, 1, ChrB},
};

}  // namespace

std::span<const Builtin> TextBuiltins() {
    return kText;
}

}  // namespace script
