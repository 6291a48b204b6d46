// The built-in RegExp object with its Matches, Match and SubMatches collections.
#include "objects.h"

#include <QRegularExpression>

namespace script {

namespace {

void argCount(const std::vector<Variant>& a, size_t n) {
    if (a.size() != n)
        Throw(450);
}

void readOnly(Access access) {
    if (access != Access::Get)
        Throw(438);
}

int32_t itemIndex(const std::vector<Variant>& a, size_t size) {
    argCount(a, 1);
    const int32_t i = a[0].toLong();
    if (i < 0 || size_t(i) >= size)
        Throw(5);
    return i;
}

// A read-only list reached by index (Matches, SubMatches).
class List : public ObjectBase {
public:
    explicit List(QString name) : name_(std::move(name)) {}
    std::vector<Variant> items;
    QString typeName() const override { return name_; }
    Variant invoke(Interp&, const QString& key, Access access, std::vector<Variant>& a) override {
        readOnly(access);
        if (key.isEmpty() || key == QLatin1String("item"))
            return items[size_t(itemIndex(a, items.size()))];
        if (key == QLatin1String("count")) {
            argCount(a, 0);
            return Variant::makeLong(int32_t(items.size()));
        }
        Throw(438, QStringLiteral("'%1'").arg(key));
    }
    std::vector<Variant> elements(Interp&) override { return items; }

private:
    QString name_;
};

class Match : public ObjectBase {
public:
    QString value;
    int32_t firstIndex = 0;
    Variant subMatches;  // a List
    QString typeName() const override { return QStringLiteral("IMatch2"); }
    int varType() override { return Variant::String; }
    Variant invoke(Interp& I, const QString& key, Access access, std::vector<Variant>& a) override {
        readOnly(access);
        if (key.isEmpty() || key == QLatin1String("value")) {
            argCount(a, 0);
            return Variant(value);
        }
        if (key == QLatin1String("firstindex")) {
            argCount(a, 0);
            return Variant::makeLong(firstIndex);
        }
        if (key == QLatin1String("length")) {
            argCount(a, 0);
            return Variant::makeLong(int32_t(value.size()));
        }
        if (key == QLatin1String("submatches")) {
            if (a.empty())
                return subMatches;
            return RequireObject(subMatches)->invoke(I, QString(), Access::Get, a);
        }
        Throw(438, QStringLiteral("'%1'").arg(key));
    }
};

// The pattern in the engine's syntax: \uXXXX becomes \x{XXXX}; outside Multiline, `$` is the
// very end of the text (not also before a final line end).
QString translatePattern(const QString& p, bool multiline) {
    QString out;
    out.reserve(p.size() + 8);
    bool inClass = false;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == u'\\' && i + 1 < p.size()) {
            const QChar n = p[i + 1];
            if (n == u'u' && i + 5 < p.size()) {
                bool ok = false;
                const uint code = p.mid(i + 2, 4).toUInt(&ok, 16);
                if (ok) {
                    out += QStringLiteral("\\x{%1}").arg(code, 0, 16);
                    i += 5;
                    continue;
                }
            }
            out += c;
            out += n;
            ++i;
            continue;
        }
        if (inClass) {
            if (c == u']')
                inClass = false;
        } else if (c == u'[') {
            inClass = true;
            out += c;
            // A ']' right after '[' or '[^' is a literal member.
            if (i + 1 < p.size() && p[i + 1] == u'^') {
                out += u'^';
                ++i;
            }
            if (i + 1 < p.size() && p[i + 1] == u']') {
                out += QStringLiteral("\\]");
                ++i;
            }
            continue;
        } else if (c == u'$' && !multiline) {
            out += QStringLiteral("\\z");
            continue;
        }
        out += c;
    }
    return out;
}

class RegExp : public ObjectBase {
public:
    QString typeName() const override { return QStringLiteral("IRegExp2"); }

    Variant invoke(Interp& I, const QString& key, Access access, std::vector<Variant>& a) override {
        const bool get = access == Access::Get;
        if (key == QLatin1String("pattern")) {
            if (get) {
                argCount(a, 0);
                return Variant(pattern_);
            }
            argCount(a, 1);
            pattern_ = subject(a[0]);
            return Variant();
        }
        for (auto [name, flag] : {std::pair{"ignorecase", &ignoreCase_}, std::pair{"global", &global_},
                                  std::pair{"multiline", &multiline_}}) {
            if (key != QLatin1String(name))
                continue;
            if (get) {
                argCount(a, 0);
                return Variant(*flag);
            }
            argCount(a, 1);
            *flag = a[0].toBool();
            return Variant();
        }
        readOnly(access);
        if (key == QLatin1String("test")) {
            argCount(a, 1);
            return Variant(regex().match(subject(a[0])).hasMatch());
        }
        if (key == QLatin1String("execute")) {
            argCount(a, 1);
            return execute(I, subject(a[0]));
        }
        if (key == QLatin1String("replace")) {
            argCount(a, 2);
            return Variant(replace(subject(a[0]), subject(a[1])));
        }
        Throw(438, QStringLiteral("'%1'").arg(key));
    }

private:
    QString pattern_;
    bool ignoreCase_ = false, global_ = false, multiline_ = false;
    QRegularExpression re_;
    QString compiledFor_;
    int compiledFlags_ = -1;

    // Text arguments as the object reads them: Null is empty and a Boolean its number
    // (True is "-1"), not the language's "True".
    static QString subject(const Variant& v) {
        if (v.type() == Variant::Boolean)
            return v.isTrue() ? QStringLiteral("-1") : QStringLiteral("0");
        return v.isNull() ? QString() : v.toString();
    }

    const QRegularExpression& regex() {
        const int flags = (ignoreCase_ ? 1 : 0) | (multiline_ ? 2 : 0);
        if (compiledFlags_ != flags || compiledFor_ != pattern_) {
            QRegularExpression::PatternOptions o;
            if (ignoreCase_)
                o |= QRegularExpression::CaseInsensitiveOption;
            if (multiline_)
                o |= QRegularExpression::MultilineOption;
            re_ = QRegularExpression(translatePattern(pattern_, multiline_), o);
            compiledFor_ = pattern_;
            compiledFlags_ = flags;
        }
        if (!re_.isValid())
            Throw(5017);
        return re_;
    }

    // Every match (or the first one) from left to right; empty matches step one character on.
    template <class F>
    void each(const QString& s, F&& f) {
        const QRegularExpression& re = regex();
        qsizetype pos = 0;
        while (pos <= s.size()) {
            QRegularExpressionMatch m = re.match(s, pos);
            if (!m.hasMatch())
                break;
            f(m);
            if (!global_)
                break;
            pos = m.capturedEnd();
            if (m.capturedEnd() == m.capturedStart()) {
                // After an empty match step one character on, never into the middle of a pair.
                pos += pos + 1 < s.size() && s[pos].isHighSurrogate() && s[pos + 1].isLowSurrogate() ? 2 : 1;
            }
        }
    }

    Variant execute(Interp& I, const QString& s) {
        auto* list = new List(QStringLiteral("IMatchCollection2"));
        Variant result = MakeObject(I, list);
        each(s, [&](const QRegularExpressionMatch& m) {
            auto* match = new Match;
            Variant mv = MakeObject(I, match);
            match->value = m.captured(0);
            match->firstIndex = int32_t(m.capturedStart());
            auto* subs = new List(QStringLiteral("ISubMatches"));
            match->subMatches = MakeObject(I, subs);
            for (int g = 1; g <= m.lastCapturedIndex() || g <= re_.captureCount(); ++g) {
                if (g > re_.captureCount())
                    break;
                subs->items.push_back(m.capturedStart(g) < 0 ? Variant() : Variant(m.captured(g)));
            }
            list->items.push_back(std::move(mv));
        });
        return result;
    }

    QString replace(const QString& s, const QString& with) {
        QString out;
        qsizetype last = 0;
        each(s, [&](const QRegularExpressionMatch& m) {
            out += QStringView(s).mid(last, m.capturedStart() - last);
            const int groups = re_.captureCount();
            for (qsizetype i = 0; i < with.size(); ++i) {
                const QChar c = with[i];
                if (c != u'$' || i + 1 >= with.size()) {
                    out += c;
                    continue;
                }
                const QChar n = with[i + 1];
                if (n == u'$') {
                    out += u'$';
                    ++i;
                } else if (n == u'&') {
                    out += m.captured(0);
                    ++i;
                } else if (n == u'`') {
                    out += QStringView(s).left(m.capturedStart());
                    ++i;
                } else if (n == u'\'') {
                    out += QStringView(s).mid(m.capturedEnd());
                    ++i;
                } else if (n.isDigit() && n.unicode() < 128) {
                    // $nn when that group exists, else $n, else the text as written.
                    int g = n.digitValue();
                    qsizetype used = 1;
                    if (i + 2 < with.size() && with[i + 2].isDigit() && with[i + 2].unicode() < 128) {
                        const int g2 = g * 10 + with[i + 2].digitValue();
                        if (g2 >= 1 && g2 <= groups) {
                            g = g2;
                            used = 2;
                        }
                    }
                    if (g >= 1 && g <= groups) {
                        out += m.captured(g);
                        i += used;
                    } else {
                        out += c;
                    }
                } else {
                    out += c;
                }
            }
            Ops::checkLength(out.size());
            last = m.capturedEnd();
        });
        out += QStringView(s).mid(last);
        Ops::checkLength(out.size());
        return out;
    }
};

}  // namespace

ObjectBase* NewRegExp() {
    return new RegExp;
}

}  // namespace script
