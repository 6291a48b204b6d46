#pragma once
// The lexer: script text -> tokens. Internal to the engine.
#include "ast.h"

#include <QString>

#include <vector>

namespace script {

enum class T : uint8_t {
    Eof, Newline, Colon, Ident, Number, Str, LParen, RParen, Comma, Dot,
    Plus, Minus, Star, Slash, Backslash, Caret, Amp, Eq, Ne, Lt, Gt, Le, Ge,
    // reserved words
    And, Or, Not, Xor, Eqv, Imp, Mod, Is, Dim, ReDim, Const, Erase, If, Then, Else, ElseIf, End,
    Select, Case, For, Next, Do, Loop, While, Until, Wend, Exit, Function, Sub, Call, ByVal, ByRef,
    On, True, False, Empty, Null, Nothing, Set, Class, New, With, Property, Public, Private, Option,
    Me, Let, Get, Default, Static,
};

// One token; names keep their spelling, strings their value, numbers and dates their value.
struct Token {
    T kind = T::Eof;
    int line = 1;
    int col = 1;
    QString text;   // identifier as written, or string value
    Variant number;
    // A reserved word read as a name token: the grammar uses it only where a statement's
    // form names it (To, Each, In, Preserve...) or keeps it for later (As, Integer, Type...),
    // so it can never name a variable, procedure or class member.
    bool reserved = false;
};

// The tokens of `code`, runs of line ends read as one, ending with T::Eof; throws
// CompileError for text no token can start with.
std::vector<Token> Tokenize(const QString& code);

}  // namespace script
