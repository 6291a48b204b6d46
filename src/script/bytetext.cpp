// Text functions beyond the basic ones: Filter, Escape/Unescape and the byte view of a
// string (LenB, LeftB, RightB, MidB, InStrB, AscB, ChrB) on its UTF-16 bytes, low byte first.
#include "ast.h"
#include "ops.h"

#include <QByteArray>

namespace script {

namespace {

enum TextId {
    kTextFirst = 4000,
    FnFilter = kTextFirst, FnEscape, FnUnescape, FnLenB, FnLeftB, FnRightB, FnMidB, FnInStrB, FnAscB, FnChrB,
};

const QHash<QString, BuiltinInfo>& textTable() {
    static const QHash<QString, BuiltinInfo> t = {
        {"filter", {FnFilter, 2, 4}}, {"escape", {FnEscape, 1, 1}}, {"unescape", {FnUnescape, 1, 1}},
        {"lenb", {FnLenB, 1, 1}}, {"leftb", {FnLeftB, 2, 2}}, {"rightb", {FnRightB, 2, 2}},
        {"midb", {FnMidB, 2, 3}}, {"instrb", {FnInStrB, 2, 4}}, {"ascb", {FnAscB, 1, 1}},
        {"chrb", {FnChrB, 1, 1}},
    };
    return t;
}

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
    Variant r = CallBuiltin(I, FindBuiltin(QString::fromLatin1(name))->id, a);
    if (packResult && r.isString())
        return Variant(textOf(r.stringValue().toLatin1()));
    return r;
}

Variant filter(const std::vector<Variant>& a) {
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

}  // namespace

const BuiltinInfo* FindTextBuiltin(const QString& key) {
    return FindIn(textTable(), key);
}

Variant CallTextBuiltin(Interp& I, int id, std::vector<Variant>& a) {
    switch (TextId(id)) {
    case FnFilter: return filter(a);
    case FnEscape: case FnUnescape:
        if (a[0].isNull())
            Throw(94);
        return Variant(id == FnEscape ? escape(a[0].toString()) : unescape(a[0].toString()));
    case FnLenB:
        if (a[0].isNull())
            return a[0];
        return Variant::makeLong(int32_t(a[0].toString().size() * 2));
    case FnLeftB: return throughChars(I, "left", a, {0}, true);
    case FnRightB: return throughChars(I, "right", a, {0}, true);
    case FnMidB: return throughChars(I, "mid", a, {0}, true);
    case FnInStrB: return throughChars(I, "instr", a, a.size() >= 3 ? std::initializer_list<size_t>{1, 2} : std::initializer_list<size_t>{0, 1}, false);
    case FnAscB: {
        if (a[0].isNull())
            Throw(94);
        const QString s = a[0].toString();
        if (s.isEmpty())
            Throw(5);
        return Variant::makeByte(uint8_t(s[0].unicode() & 0xFF));
    }
    case FnChrB: {
        const int32_t c = IntArgument(a[0]);
        if (c < 0 || c > 255)
            Throw(6);  // the code is read as a Byte
        return Variant(QString(QChar(char16_t(c))));
    }
    }
    return Variant();
}

}  // namespace script
