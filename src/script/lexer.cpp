// The lexer: names, keywords, numbers, strings, dates and operators; comments and line
// continuations are dropped here.
#include "lexer.h"
#include "datetime.h"

#include <QSet>

#include <charconv>
#include <cmath>

namespace script {

namespace {

const QHash<QString, T>& keywords() {
    static const QHash<QString, T> k = {
        {"and", T::And}, {"or", T::Or}, {"not", T::Not}, {"xor", T::Xor}, {"eqv", T::Eqv},
        {"imp", T::Imp}, {"mod", T::Mod}, {"is", T::Is}, {"dim", T::Dim}, {"redim", T::ReDim},
        {"const", T::Const}, {"erase", T::Erase}, {"if", T::If}, {"then", T::Then}, {"else", T::Else},
        {"elseif", T::ElseIf}, {"end", T::End}, {"select", T::Select}, {"case", T::Case}, {"for", T::For},
        {"next", T::Next}, {"do", T::Do}, {"loop", T::Loop}, {"while", T::While}, {"until", T::Until},
        {"wend", T::Wend}, {"exit", T::Exit}, {"function", T::Function}, {"sub", T::Sub}, {"call", T::Call},
        {"byval", T::ByVal}, {"byref", T::ByRef}, {"on", T::On}, {"true", T::True}, {"false", T::False},
        {"empty", T::Empty}, {"null", T::Null}, {"nothing", T::Nothing}, {"set", T::Set},
        {"class", T::Class}, {"new", T::New}, {"with", T::With}, {"property", T::Property},
        {"public", T::Public}, {"private", T::Private}, {"option", T::Option}, {"me", T::Me},
        {"let", T::Let}, {"get", T::Get}, {"default", T::Default}, {"static", T::Static},
    };
    return k;
}

// Reserved words without a token of their own; a bracketed name may still spell them.
bool reservedWord(const QString& key) {
    static const QSet<QString> words = {
        "as", "boolean", "byte", "currency", "debug", "double", "each", "endif", "enum", "event", "goto",
        "implements", "in", "integer", "like", "long", "lset", "optional", "paramarray", "preserve",
        "raiseevent", "resume", "rset", "shared", "single", "stop", "to", "type", "typeof", "variant",
    };
    return words.contains(key);
}

class Lexer {
public:
    explicit Lexer(const QString& s) : s_(s) {}

    std::vector<Token> run() {
        std::vector<Token> out;
        for (;;) {
            Token t = next();
            last_ = t.kind;
            // Collapse runs of line ends.
            if (t.kind == T::Newline && !out.empty() && out.back().kind == T::Newline)
                continue;
            out.push_back(std::move(t));
            if (out.back().kind == T::Eof)
                break;
        }
        return out;
    }

private:
    const QString& s_;
    qsizetype p_ = 0;
    int line_ = 1;
    qsizetype lineStart_ = 0;
    T last_ = T::Eof;  // the token before the one being read

    // A compilation error at position `at` of the current line.
    [[noreturn]] void fail(int number, qsizetype at) const {
        throw CompileError{number, ErrorDescription(number), line_, int(at - lineStart_) + 1};
    }

    QChar at(qsizetype i) const { return i < s_.size() ? s_[i] : QChar(); }
    static bool isSpace(QChar c) {
        return c == u' ' || c == u'\t' || c == QChar(0x3000) || c == QChar(0xA0) || c == QChar(0xFEFF) ||
               c == u'\f' || c == u'\v';
    }
    static bool identStart(QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c.unicode() > 127 && c.isLetter());
    }
    static bool identPart(QChar c) { return identStart(c) || (c >= u'0' && c <= u'9') || c == u'_'; }

    Token make(T k, qsizetype start) {
        Token t;
        t.kind = k;
        t.line = line_;
        t.col = int(start - lineStart_) + 1;
        return t;
    }

    void newline() {
        if (at(p_) == u'\r' && at(p_ + 1) == u'\n')
            p_ += 2;
        else
            ++p_;
        ++line_;
        lineStart_ = p_;
    }

    void skipToEol() {
        while (p_ < s_.size() && s_[p_] != u'\n' && s_[p_] != u'\r')
            ++p_;
    }

    Token next() {
        for (;;) {
            while (p_ < s_.size() && isSpace(s_[p_]))
                ++p_;
            if (p_ >= s_.size())
                return make(T::Eof, p_);
            QChar c = s_[p_];
            if (c == u'\'') {
                skipToEol();
                continue;
            }
            if (c == u'_') {
                // Line continuation: "_" then only blanks up to the line end.
                qsizetype q = p_ + 1;
                while (q < s_.size() && isSpace(s_[q]))
                    ++q;
                if (q >= s_.size() || s_[q] == u'\n' || s_[q] == u'\r') {
                    p_ = q;
                    if (p_ < s_.size())
                        newline();
                    continue;
                }
                fail(1032, p_);
            }
            break;
        }
        const qsizetype start = p_;
        QChar c = s_[p_];
        if (c == u'\n' || c == u'\r') {
            Token t = make(T::Newline, start);
            newline();
            return t;
        }
        if (identStart(c))
            return word(start);
        if ((c >= u'0' && c <= u'9') || (c == u'.' && at(p_ + 1).isDigit() && at(p_ + 1).unicode() < 128))
            return number(start);
        if (c == u'&' && (((at(p_ + 1) == u'h' || at(p_ + 1) == u'H' || at(p_ + 1) == u'o' || at(p_ + 1) == u'O') &&
                           radixDigit(at(p_ + 2), at(p_ + 1) == u'h' || at(p_ + 1) == u'H')) ||
                          radixDigit(at(p_ + 1), false)))
            return radix(start);
        if (c == u'"')
            return string(start);
        return symbol(c, start);
    }

    // A name or a keyword; Rem starts a comment.
    Token word(qsizetype start) {
        while (p_ < s_.size() && identPart(s_[p_]))
            ++p_;
        QString spelling = s_.mid(start, p_ - start);
        QString key = spelling.toLower();
        if (last_ == T::Dot) {
            // After '.', any word is a member name: x.Rem, o.End
            Token t = make(T::Ident, start);
            t.text = spelling;
            return t;
        }
        if (key == QLatin1String("rem")) {
            skipToEol();
            return next();
        }
        auto it = keywords().constFind(key);
        Token t = make(it == keywords().constEnd() ? T::Ident : *it, start);
        t.reserved = t.kind == T::Ident && reservedWord(key);
        t.text = spelling;
        return t;
    }

    // "text" with "" for a quote, on one line.
    Token string(qsizetype start) {
        QString v;
        ++p_;
        for (;;) {
            if (p_ >= s_.size() || s_[p_] == u'\n' || s_[p_] == u'\r')
                fail(1033, start);
            if (s_[p_] == u'"') {
                if (at(p_ + 1) == u'"') {
                    v += u'"';
                    p_ += 2;
                    continue;
                }
                ++p_;
                break;
            }
            v += s_[p_++];
        }
        Token t = make(T::Str, start);
        t.text = v;
        return t;
    }

    // Punctuation, operators, #date# and [any name].
    Token symbol(QChar c, qsizetype start) {
        ++p_;
        switch (c.unicode()) {
        case ':': return make(T::Colon, start);
        case '(': return make(T::LParen, start);
        case ')': return make(T::RParen, start);
        case ',': return make(T::Comma, start);
        case '.': return make(T::Dot, start);
        case '+': return make(T::Plus, start);
        case '-': return make(T::Minus, start);
        case '*': return make(T::Star, start);
        case '/': return make(T::Slash, start);
        case '\\': return make(T::Backslash, start);
        case '^': return make(T::Caret, start);
        case '&': return make(T::Amp, start);
        case '=':
            // "=>" and "=<" are read as ">=" and "<=".
            if (at(p_) == u'>') { ++p_; return make(T::Ge, start); }
            if (at(p_) == u'<') { ++p_; return make(T::Le, start); }
            return make(T::Eq, start);
        case '<':
            if (at(p_) == u'>') { ++p_; return make(T::Ne, start); }
            if (at(p_) == u'=') { ++p_; return make(T::Le, start); }
            return make(T::Lt, start);
        case '>':
            if (at(p_) == u'=') { ++p_; return make(T::Ge, start); }
            if (at(p_) == u'<') { ++p_; return make(T::Ne, start); }
            return make(T::Gt, start);
        case '#': return dateLiteral(start);
        case '[': {
            // [any name]: a name with any characters but ']' and line ends, keywords included
            qsizetype q = p_;
            while (q < s_.size() && s_[q] != u']' && s_[q] != u'\n' && s_[q] != u'\r')
                ++q;
            if (q >= s_.size() || s_[q] != u']')
                fail(1007, start);
            Token t = make(T::Ident, start);
            t.text = s_.mid(p_, q - p_);
            p_ = q + 1;
            return t;
        }
        default:
            fail(1032, start);
        }
    }

    Token number(qsizetype start) {
        bool isFloat = false;
        while (p_ < s_.size() && s_[p_] >= u'0' && s_[p_] <= u'9')
            ++p_;
        if (at(p_) == u'.') {
            isFloat = true;
            ++p_;
            while (p_ < s_.size() && s_[p_] >= u'0' && s_[p_] <= u'9')
                ++p_;
        }
        if (at(p_) == u'e' || at(p_) == u'E') {
            qsizetype q = p_ + 1;
            if (at(q) == u'+' || at(q) == u'-')
                ++q;
            if (at(q) >= u'0' && at(q) <= u'9') {
                isFloat = true;
                p_ = q;
                while (p_ < s_.size() && s_[p_] >= u'0' && s_[p_] <= u'9')
                    ++p_;
            }
        }
        if (identPart(at(p_)) && at(p_) != u'_')
            fail(1025, p_);
        QByteArray text = s_.mid(start, p_ - start).toLatin1();
        double v = 0;
        auto r = std::from_chars(text.constData(), text.constData() + text.size(), v);
        if (r.ec == std::errc::result_out_of_range && text.contains("e-"))
            v = 0;  // too small to represent: zero, as the language reads it
        else if (r.ec != std::errc() || !std::isfinite(v))
            fail(1031, start);  // 1e309
        Token t = make(T::Number, start);
        if (!isFloat && v <= 32767)
            t.number = Variant::makeInteger(int16_t(v));
        else if (!isFloat && v <= 2147483647.0)
            t.number = Variant::makeLong(int32_t(v));
        else
            t.number = Variant::makeDouble(v);
        return t;
    }

    static bool radixDigit(QChar c, bool hex) {
        return (c >= u'0' && c <= (hex ? u'9' : u'7')) || (hex && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')));
    }

    // #...#: a date in month/day/year order, with or without a time.
    Token dateLiteral(qsizetype start) {
        qsizetype q = p_;
        while (q < s_.size() && s_[q] != u'#' && s_[q] != u'\n' && s_[q] != u'\r')
            ++q;
        double ole = 0;
        if (q >= s_.size() || s_[q] != u'#' || !ParseDateText(s_.mid(p_, q - p_), true, &ole))
            fail(1002, start);
        p_ = q + 1;
        Token t = make(T::Number, start);
        t.number = Variant::makeDate(ole);
        return t;
    }

    // &H1F, &O17 and &17 (octal without the O).
    Token radix(qsizetype start) {
        const bool hex = s_[p_ + 1] == u'h' || s_[p_ + 1] == u'H';
        p_ += s_[p_ + 1].isDigit() ? 1 : 2;
        uint64_t v = 0;
        int n = 0;
        for (; p_ < s_.size(); ++p_, ++n) {
            char16_t c = s_[p_].unicode();
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else break;
            if (!hex && d > 7)
                fail(1002, start);  // &19, &O18: no octal number, as &O8 is none
            v = v * (hex ? 16 : 8) + uint64_t(d);
            if (v > 0xFFFFFFFFull)
                fail(1031, start);
        }
        if (n == 0)
            fail(1032, start);
        // A trailing "&" reads the digits as 32 bits: &HFFFF& is 65535, not -1; the subtype is
        // then the value's (&H10& is an Integer).
        const bool wide = at(p_) == u'&';
        if (wide)
            ++p_;
        Token t = make(T::Number, start);
        const int32_t value = int32_t(uint32_t(v));
        // Without it the value alone picks the subtype, not the digits written (&H00FF is 255).
        if (wide ? value >= -32768 && value <= 32767 : v <= 0xFFFF)
            t.number = Variant::makeInteger(int16_t(wide ? value : int32_t(uint16_t(v))));
        else
            t.number = Variant::makeLong(value);
        return t;
    }
};

}  // namespace

std::vector<Token> Tokenize(const QString& code) {
    return Lexer(code).run();
}

}  // namespace script
