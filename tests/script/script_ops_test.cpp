// The operators' rules hold on every path: the interpreter's short paths (operands read in
// place) and the general operators give the same subtype, value and error for a table of
// operand types, and a built-in that reads its arguments in place gives what its call gives.
#include "ops.h"
#include "scriptengine.h"

#include <gtest/gtest.h>

#include <array>

using script::Ops;
using script::ScriptEngine;
using script::Variant;

namespace {

// "Type|value" of a result, or "ERR n".
template <class F>
std::string outcome(F&& f) {
    try {
        return f().debugText().toStdString();
    } catch (const script::RuntimeError& e) {
        return "ERR " + std::to_string(e.number);
    }
}

// The operand types the rule meets: plain numbers at their limits and the values converted first.
std::vector<std::pair<const char*, Variant>> Operands() {
    return {
        {"Empty", Variant()},
        {"Null", Variant::makeNull()},
        {"True", Variant(true)},
        {"Byte 200", Variant::makeByte(200)},
        {"Integer 3", Variant::makeInteger(3)},
        {"Integer 32767", Variant::makeInteger(32767)},
        {"Integer -32768", Variant::makeInteger(-32768)},
        {"Long 2147483647", Variant::makeLong(2147483647)},
        {"Long -70000", Variant::makeLong(-70000)},
        {"Single 1.5", Variant::makeSingle(1.5f)},
        {"Double -2.5", Variant::makeDouble(-2.5)},
        {"Double 1e308", Variant::makeDouble(1e308)},
        {"Currency 1.5", Variant::makeCurrency(15000)},
        {"String 7", Variant(QStringLiteral("7"))},
        {"String x", Variant(QStringLiteral("x"))},
    };
}

}  // namespace

// The rule itself, at the points where the subtype changes (% is Mod).
TEST(ScriptOps, ArithmeticResultTypesAndOverflow) {
    struct Case {
        Variant a;
        char op;
        Variant b;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {Variant::makeInteger(32767), '+', Variant::makeInteger(1), "Long|32768"},
        {Variant::makeInteger(-32768), '-', Variant::makeInteger(1), "Long|-32769"},
        {Variant::makeInteger(300), '*', Variant::makeInteger(300), "Long|90000"},
        {Variant::makeInteger(2), '+', Variant::makeInteger(3), "Integer|5"},
        {Variant::makeLong(2), '+', Variant::makeInteger(3), "Long|5"},
        {Variant::makeLong(2147483647), '+', Variant::makeInteger(1), "Double|2147483648"},
        {Variant::makeLong(-2147483647 - 1), '*', Variant::makeLong(-1), "Double|2147483648"},
        {Variant::makeByte(200), '+', Variant::makeByte(55), "Byte|255"},
        {Variant::makeByte(200), '+', Variant::makeByte(56), "Integer|256"},
        {Variant::makeByte(1), '-', Variant::makeByte(2), "Integer|-1"},
        {Variant::makeByte(2), '*', Variant::makeInteger(3), "Integer|6"},
        {Variant(), '+', Variant(), "Integer|0"},
        {Variant(true), '+', Variant(true), "Integer|-2"},
        {Variant::makeDouble(1.5), '+', Variant::makeInteger(1), "Double|2.5"},
        {Variant::makeDouble(1e308), '*', Variant::makeInteger(10), "ERR 6"},
        {Variant::makeSingle(1.5f), '*', Variant::makeInteger(2), "Single|3"},
        {Variant::makeSingle(3e38f), '*', Variant::makeInteger(10), "Double|3.00000000549776E+39"},
        {Variant::makeSingle(1.5f), '+', Variant::makeDouble(1), "Double|2.5"},
        // A Single with a Long is a Double, whose digits hold the Long's.
        {Variant::makeLong(16777217), '+', Variant::makeSingle(0), "Double|16777217"},
        {Variant::makeLong(16777217), '-', Variant::makeSingle(0), "Double|16777217"},
        {Variant::makeLong(16777217), '*', Variant::makeSingle(1), "Double|16777217"},
        {Variant::makeSingle(0.5f), '*', Variant::makeLong(3), "Double|1.5"},
        {Variant::makeInteger(3), '+', Variant::makeSingle(0.5f), "Single|3.5"},
        {Variant::makeByte(3), '-', Variant::makeSingle(0.5f), "Single|2.5"},
        {Variant::makeSingle(0.5f), '+', Variant(true), "Single|-0.5"},
        {Variant::makeSingle(0.5f), '+', Variant(), "Single|0.5"},
        // / gives a Single for Singles with Bytes and Integers only, else a Double; ^ a Double.
        {Variant::makeLong(16777217), '/', Variant::makeSingle(1), "Double|16777217"},
        {Variant::makeInteger(3), '/', Variant::makeSingle(2), "Single|1.5"},
        {Variant::makeSingle(3), '/', Variant::makeSingle(2), "Single|1.5"},
        {Variant::makeInteger(3), '/', Variant::makeInteger(2), "Double|1.5"},
        {Variant::makeSingle(2), '^', Variant::makeInteger(2), "Double|4"},
        // \ and Mod round a Single to a Long.
        {Variant::makeSingle(7.5f), '\\', Variant::makeInteger(2), "Long|4"},
        {Variant::makeSingle(7.5f), '%', Variant::makeLong(5), "Long|3"},
        {Variant(QStringLiteral("1")), '+', Variant::makeInteger(1), "Double|2"},
        {Variant::makeNull(), '*', Variant::makeInteger(1), "Null|"},
        // \ and Mod take the same subtypes, others counting as a Long; past a Long is 6.
        {Variant::makeInteger(7), '%', Variant::makeInteger(2), "Integer|1"},
        {Variant::makeByte(7), '%', Variant::makeByte(4), "Byte|3"},
        {Variant::makeLong(7), '\\', Variant::makeInteger(2), "Long|3"},
        {Variant::makeDouble(7.5), '\\', Variant::makeInteger(2), "Long|4"},
        {Variant(true), '%', Variant::makeByte(3), "Integer|-1"},
        {Variant::makeLong(-2147483647 - 1), '\\', Variant::makeInteger(-1), "ERR 6"},
    };
    for (const Case& c : cases) {
        const std::string got = outcome([&] {
            switch (c.op) {
            case '+': return Ops::add(c.a, c.b);
            case '-': return Ops::sub(c.a, c.b);
            case '*': return Ops::mul(c.a, c.b);
            case '%': return Ops::mod(c.a, c.b);
            case '/': return Ops::div(c.a, c.b);
            case '^': return Ops::pow(c.a, c.b);
            default: return Ops::intDiv(c.a, c.b);
            }
        });
        EXPECT_EQ(got, c.expected) << c.a.debugText().toStdString() << ' ' << c.op << ' ' << c.b.debugText().toStdString();
    }
}

// Every pair of operand types through a procedure's locals (the interpreter's quick sums) and
// through the general operators.
TEST(ScriptOps, ShortAndGeneralArithmeticAgree) {
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral("Function Add(a, b)\n Add = a + b\nEnd Function\n"
                                         "Function Sub_(a, b)\n Sub_ = a - b\nEnd Function\n"
                                         "Function Mul(a, b)\n Mul = a * b\nEnd Function\n")));
    const auto operands = Operands();
    for (const auto& [nameA, a] : operands)
        for (const auto& [nameB, b] : operands)
            for (const char op : {'+', '-', '*'}) {
                const QString proc = op == '+' ? QStringLiteral("Add") : op == '-' ? QStringLiteral("Sub_") : QStringLiteral("Mul");
                std::vector<Variant> args{a, b};
                Variant r;
                const std::string quick = e.run(proc, args, &r) ? r.debugText().toStdString()
                                                                 : "ERR " + std::to_string(e.lastError().number);
                // Structured bindings are named through references: older clang cannot capture them.
                const Variant& x = a;
                const Variant& y = b;
                const std::string general = outcome([&] {
                    return op == '+' ? Ops::add(x, y) : op == '-' ? Ops::sub(x, y) : Ops::mul(x, y);
                });
                EXPECT_EQ(quick, general) << nameA << ' ' << op << ' ' << nameB;
            }
}

// Mid reads variables in place; with an argument of a call's making it takes the general call.
// Both give the same text or error for a table of arguments.
TEST(ScriptOps, BuiltInReadInPlaceAgreesWithItsCall) {
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral("Function Id(x)\n Id = x\nEnd Function\n"
                                         "Function InPlace(s, i, n)\n InPlace = Mid(s, i, n) & \"|\" & Len(s) & CInt(i)\nEnd Function\n"
                                         "Function Called(s, i, n)\n Called = Mid(Id(s), Id(i), Id(n)) & \"|\" & Len(Id(s)) & CInt(Id(i))\nEnd Function\n")));
    const std::vector<std::array<Variant, 3>> cases = {
        {Variant(QStringLiteral("407")), Variant::makeInteger(2), Variant::makeInteger(1)},
        {Variant(QStringLiteral("中文abc")), Variant::makeDouble(2.5), Variant::makeLong(9)},
        {Variant::makeLong(123456), Variant(QStringLiteral("3")), Variant::makeInteger(2)},
        {Variant::makeNull(), Variant::makeInteger(1), Variant::makeInteger(1)},
        {Variant(QStringLiteral("abc")), Variant::makeInteger(0), Variant::makeInteger(1)},
        {Variant(QStringLiteral("abc")), Variant::makeInteger(1), Variant::makeInteger(-1)},
        {Variant(QStringLiteral("abc")), Variant::makeNull(), Variant::makeInteger(1)},
        {Variant(), Variant::makeInteger(4), Variant()},
    };
    for (const auto& c : cases) {
        std::string got[2];
        for (int k = 0; k < 2; ++k) {
            std::vector<Variant> args(c.begin(), c.end());
            Variant r;
            got[k] = e.run(k == 0 ? QStringLiteral("InPlace") : QStringLiteral("Called"), args, &r)
                         ? r.debugText().toStdString()
                         : "ERR " + std::to_string(e.lastError().number);
        }
        EXPECT_EQ(got[0], got[1]) << c[0].debugText().toStdString() << ", " << c[1].debugText().toStdString();
    }
}

// Two Booleans take the logical operators' short path; Boolean text ("True") is converted and
// goes the general way. Every operator gives the same Boolean on both.
TEST(ScriptOps, ShortAndGeneralLogicAgree) {
    const Ops::Logic ops[] = {Ops::And, Ops::Or, Ops::Xor, Ops::Eqv, Ops::Imp};
    for (const bool x : {true, false})
        for (const bool y : {true, false})
            for (const Ops::Logic op : ops) {
                const Variant quick = Ops::logic(op, Variant(x), Variant(y));
                const Variant general = Ops::logic(op, Variant(QString::fromLatin1(x ? "True" : "False")),
                                                   Variant(QString::fromLatin1(y ? "#TRUE#" : "#FALSE#")));
                EXPECT_EQ(quick.debugText(), general.debugText()) << x << ' ' << int(op) << ' ' << y;
                const bool expected[] = {x && y, x || y, x != y, x == y, !x || y};
                EXPECT_EQ(quick.debugText(), Variant(expected[int(op)]).debugText()) << x << ' ' << int(op) << ' ' << y;
            }
}

// An If decides a comparison itself (CompareTruth); the comparison's value is made the general
// way. For every pair of operand types and every operator the If takes its Then branch exactly
// when the value counts as true, and both fail with the same error.
TEST(ScriptOps, ConditionsAgreeWithComparisonValues) {
    const char* ops[] = {"=", "<>", "<", ">", "<=", ">="};
    QString code;
    for (int k = 0; k < 6; ++k)
        code += QStringLiteral("Function If%1(a, b)\n If a %2 b Then If%1 = True Else If%1 = False\nEnd Function\n"
                               "Function Is%1(a, b)\n Is%1 = CBool(a %2 b)\nEnd Function\n")
                    .arg(k)
                    .arg(QString::fromLatin1(ops[k]));
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(code));
    const auto operands = Operands();
    for (const auto& [nameA, a] : operands)
        for (const auto& [nameB, b] : operands)
            for (int k = 0; k < 6; ++k) {
                std::string got[2];
                for (int way = 0; way < 2; ++way) {
                    std::vector<Variant> args{a, b};
                    Variant r;
                    got[way] = e.run(QStringLiteral("%1%2").arg(way == 0 ? QStringLiteral("If") : QStringLiteral("Is")).arg(k), args, &r)
                                   ? r.debugText().toStdString()
                                   : "ERR " + std::to_string(e.lastError().number);
                }
                // CBool(Null) is 94 where If takes Null as False.
                if (got[1] == "ERR 94")
                    got[1] = "Boolean|False";
                EXPECT_EQ(got[0], got[1]) << nameA << ' ' << ops[k] << ' ' << nameB;
            }
}
