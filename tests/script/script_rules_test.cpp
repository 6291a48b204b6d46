// Fine points of the language that formulas meet rarely but must get right: errors in
// block headers under On Error Resume Next, the order For Each walks arrays, the errors of
// built-ins given odd arguments, calls and members, and the statement forms the parser takes.
#include "scriptengine.h"

#include <gtest/gtest.h>

#include <functional>

using script::ScriptEngine;
using script::Variant;

namespace rules {

// What a module gives: its text runs, then Main()'s value; "ERR n" for a run-time error,
// "COMPILE n" when the text does not compile.
QString runModule(const QString& module) {
    ScriptEngine e;
    if (!e.addCode(module))
        return QStringLiteral("%1 %2")
            .arg(e.lastError().source.contains(QStringLiteral("编译器")) ? QStringLiteral("COMPILE")
                                                                         : QStringLiteral("ERR"))
            .arg(e.lastError().number);
    Variant r;
    if (!e.run(QStringLiteral("Main"), {}, &r))
        return QStringLiteral("ERR %1").arg(e.lastError().number);
    return r.toString();
}

// The same with `body` as Main's body.
QString runMain(const QString& body) {
    return runModule(QStringLiteral("Function Main()\n") + body + QStringLiteral("\nEnd Function\n"));
}

struct RuleCase {
    const char* code;
    const char* expected;
};

void checkMain(const std::vector<RuleCase>& cases) {
    for (const RuleCase& c : cases)
        EXPECT_EQ(runMain(QString::fromUtf8(c.code)), QString::fromUtf8(c.expected)) << c.code;
}

void checkModules(const std::vector<RuleCase>& cases) {
    for (const RuleCase& c : cases)
        EXPECT_EQ(runModule(QString::fromUtf8(c.code)), QString::fromUtf8(c.expected)) << c.code;
}

}  // namespace rules

using namespace rules;

// Under On Error Resume Next an error in a block's header goes on with the block's first
// statement; a loop whose header failed runs its body once and then stops at Next (92, For
// Each 451); a Select whose subject fails runs no Case, one whose Case value fails that Case.
TEST(ScriptRules, OnErrorResumeNextInBlockHeaders) {
    checkMain({
        {"On Error Resume Next: x = 0: If 1 / 0 > 5 Then x = 1\nMain = x & \"|\" & Err.Number", "1|11"},
        {"On Error Resume Next\nIf 1 / 0 Then\n x = 1\nElse\n x = 2\nEnd If\nMain = x & \"|\" & Err.Number",
         "1|11"},
        {"On Error Resume Next\nIf False Then\n x = 1\nElseIf 1 / 0 Then\n x = 2\nElse\n x = 3\nEnd If\n"
         "Main = x & \"|\" & Err.Number",
         "2|11"},
        {"On Error Resume Next\nIf \"abc\" Then x = 1 Else x = 2\nMain = x & \"|\" & Err.Number", "1|13"},
        {"On Error Resume Next\nIf Null + \"a\" > 1 Or 1 / 0 Then x = 1\nMain = x & \"|\" & Err.Number", "1|11"},
        {"On Error Resume Next\nFor i = 1 To 1 / 0\n n = n + 1\nNext\nMain = n & \"|\" & Err.Number & \"|\" & IsEmpty(i)",
         "1|92|True"},
        {"On Error Resume Next\nFor i = 1 / 0 To 3\n n = n + 1\nNext\nMain = n & \"|\" & Err.Number", "1|92"},
        {"On Error Resume Next\nFor i = 1 To 3 Step \"x\"\n n = n + 1\nNext\nMain = n & \"|\" & Err.Number", "1|92"},
        {"On Error Resume Next\nFor i = 1 To Null\n n = n + 1\nNext\nMain = n & \"|\" & Err.Number", "1|92"},
        {"On Error Resume Next\nFor i = 1 To 1 / 0\n Exit For\nNext\nMain = Err.Number", "11"},
        {"On Error Resume Next\nFor Each v In 5\n n = n + 1\nNext\nMain = n & \"|\" & Err.Number", "1|451"},
        {"On Error Resume Next\nFor Each v In Empty\n n = n + 1\nNext\nMain = n & \"|\" & Err.Number", "1|451"},
        {"On Error Resume Next\nFor Each v In Split(1 / 0)\n n = n + 1\nNext\nMain = n & \"|\" & Err.Number", "1|451"},
        {"On Error Resume Next\nDo While 1 / 0\n n = n + 1\nLoop\nMain = n & \"|\" & Err.Number", "1|11"},
        {"On Error Resume Next\nDo Until 1 / 0\n n = n + 1\nLoop\nMain = n & \"|\" & Err.Number", "1|11"},
        {"On Error Resume Next\nk = 3\nDo While 6 / (3 - k) > 2\n n = n + 1: k = k - 1\nLoop\n"
         "Main = n & \"|\" & k & \"|\" & Err.Number",
         "3|0|11"},
        {"On Error Resume Next\nWhile 1 / 0\n n = n + 1\nWend\nMain = n & \"|\" & Err.Number", "1|11"},
        {"On Error Resume Next\nDo\n n = n + 1\nLoop While 1 / 0\nMain = n & \"|\" & Err.Number", "1|11"},
        {"On Error Resume Next\nSelect Case 1 / 0\nCase 5: x = \"a\"\nCase Else: x = \"e\"\nEnd Select\n"
         "Main = x & \"|\" & Err.Number",
         "|11"},
        {"On Error Resume Next\nSelect Case 1 / 0\nCase Else: x = \"e\"\nEnd Select\nx = x & \"after\"\n"
         "Main = x & \"|\" & Err.Number",
         "after|11"},
        {"On Error Resume Next\nSelect Case 1 / 0\nCase 1: r = \"one\"\nCase Else: r = \"else\"\nEnd Select\n"
         "Main = r & \"|\" & Err.Number",
         "|11"},
        {"On Error Resume Next\nSelect Case 2\nCase 1: x = \"a\"\nCase 1 / 0: x = \"b\"\nCase 2: x = \"c\"\n"
         "End Select\nMain = x & \"|\" & Err.Number",
         "b|11"},
        {"On Error Resume Next\nSelect Case 5\nCase 1: r = \"one\"\nCase 1 / 0: r = \"err\"\nCase 5: r = \"five\"\n"
         "End Select\nMain = r & \"|\" & Err.Number",
         "err|11"},
        {"On Error Resume Next\nSelect Case 5\nCase 5, 1 / 0: r = \"five\"\nCase Else: r = \"else\"\nEnd Select\n"
         "Main = r & \"|\" & Err.Number",
         "five|0"},
        {"On Error Resume Next\nWith 1 / 0\n x = 1\nEnd With\nMain = x & \"|\" & Err.Number", "1|11"},
        {"On Error Resume Next\nWith 42\n x = 1\nEnd With\nMain = x & \"|\" & Err.Number", "1|424"},
        // Without On Error Resume Next the header's error ends the call.
        {"If 1 / 0 Then x = 1\nMain = x", "ERR 11"},
        {"For i = 1 To 1 / 0: Next\nMain = 1", "ERR 11"},
        {"With 42\nEnd With\nMain = 1", "ERR 424"},
        // A header that works is unchanged by the guard.
        {"On Error Resume Next\nIf 1 > 5 Then x = 1 Else x = 2\nFor i = 1 To 3: n = n + i: Next\n"
         "Main = x & \"|\" & n & \"|\" & Err.Number",
         "2|6|0"},
    });
    // A formula that guards a division this way: the guarded branch is taken.
    checkModules({
        {"Function Main()\n On Error Resume Next\n Main = False\n If 10 / Zero() > 3 Then Main = True\nEnd Function\n"
         "Function Zero()\n Zero = 0\nEnd Function",
         "True"},
    });
}

// For Each walks a many-dimensional array with the first index fastest.
TEST(ScriptRules, ForEachWalksTheFirstIndexFastest) {
    checkMain({
        {"Dim m(1, 1): m(0, 0) = 1: m(1, 0) = 2: m(0, 1) = 3: m(1, 1) = 4\nFor Each v In m: s = s & v: Next\nMain = s",
         "1234"},
        {"Dim m(2, 1)\nFor i = 0 To 2: For j = 0 To 1: m(i, j) = i & j: Next: Next\n"
         "For Each v In m: s = s & v & \" \": Next\nMain = s",
         "00 10 20 01 11 21 "},
        {"Dim m(1, 2)\nFor i = 0 To 1: For j = 0 To 2: m(i, j) = i & j: Next: Next\n"
         "For Each v In m: s = s & v & \" \": Next\nMain = s",
         "00 10 01 11 02 12 "},
        {"Dim m(1, 1, 1)\nFor i = 0 To 1: For j = 0 To 1: For k = 0 To 1: m(i, j, k) = i & j & k: Next: Next: Next\n"
         "For Each v In m: s = s & v & \" \": Next\nMain = s",
         "000 100 010 110 001 101 011 111 "},
        {"ReDim m(1, 2)\nFor i = 0 To 1: For j = 0 To 2: m(i, j) = i & j: Next: Next\nReDim Preserve m(1, 3)\n"
         "m(0, 3) = \"x\"\nFor Each v In m: s = s & v & \" \": Next\nMain = s",
         "00 10 01 11 02 12 x  "},
        {"Dim m(0, 3)\nFor j = 0 To 3: m(0, j) = j: Next\nFor Each v In m: s = s & v: Next\nMain = s", "0123"},
        {"Dim m(3, 0)\nFor i = 0 To 3: m(i, 0) = i: Next\nFor Each v In m: s = s & v: Next\nMain = s", "0123"},
        {"Dim m(1, 1): m(0, 0) = 1: m(1, 0) = 2: m(0, 1) = 3\nFor Each v In m\n s = s & v\n If v = 2 Then Exit For\nNext\n"
         "Main = s",
         "12"},
        // One dimension and arrays of arrays keep their order.
        {"For Each v In Array(3, 1, 2): s = s & v: Next\nMain = s", "312"},
        {"For Each r In Array(Array(1, 2), Array(3, 4)): For Each v In r: s = s & v: Next: Next\nMain = s", "1234"},
    });
}

// Built-ins given Nothing, Null, Booleans or out-of-range codes raise the language's errors
// and give its subtypes.
TEST(ScriptRules, BuiltInArgumentErrorsAndSubtypes) {
    checkMain({
        {"Main = LBound(Nothing)", "ERR 91"},
        {"Main = UBound(Nothing)", "ERR 91"},
        {"Main = UBound(5)", "ERR 13"},
        {"Main = Join(Null)", "ERR 94"},
        {"Main = Join(Null, \",\")", "ERR 94"},
        {"Main = Join(Array(1, 2, 3), \"-\")", "1-2-3"},
        {"s = \"abc\": Main = Mid(s, 0, Null)", "ERR 94"},
        {"s = \"abc\": Main = Mid(s, 0)", "ERR 5"},
        {"Main = ChrB(256)", "ERR 6"},
        {"Main = ChrB(-1)", "ERR 6"},
        {"Main = AscB(ChrB(255))", "255"},
        {"Main = TypeName(AscB(\"a\")) & AscB(\"a\")", "Byte97"},
        {"Main = VarType(AscB(\"中\"))", "17"},
        {"Main = IsNull(DateAdd(\"q\", 1, Null))", "True"},
        {"Main = IsNull(DateAdd(\"d\", 1, Null))", "True"},
        {"Main = DateAdd(\"d\", Null, #1/1/2026#)", "ERR 94"},
        {"Main = DateValue(Null)", "ERR 94"},
        {"Main = TimeValue(Null)", "ERR 94"},
        {"Main = Escape(Null)", "ERR 94"},
        {"Main = Unescape(Null)", "ERR 94"},
        {"Main = FormatDateTime(Null)", "ERR 13"},
        {"Main = FormatDateTime(Null, vbShortDate)", "ERR 13"},
        {"Main = TypeName(CByte(True)) & CByte(True)", "Byte255"},
        {"Main = CByte(False)", "0"},
        {"Main = CByte(-1)", "ERR 6"},
        {"Main = CByte(256)", "ERR 6"},
        {"Main = TypeName(CDate(\"1\")) & \"|\" & CDate(\"1\")", "Date|1899/12/31"},
        {"Main = CDate(\"0.5\")", "12:00:00"},
        {"Main = CDate(\"2026/12/10\")", "2026/12/10"},
        {"Main = CDate(\"abc\")", "ERR 13"},
        {"Main = TypeName(Round(True)) & Round(True)", "BooleanTrue"},
        {"Main = TypeName(Round(False, 2))", "Boolean"},
        {"Main = TypeName(Round(CByte(7)))", "Byte"},
    });
    // An object stands for its default value in IsNumeric.
    checkModules({
        {"Class One\n Public Default Property Get V()\n  V = 1\n End Property\nEnd Class\n"
         "Class Word\n Public Default Property Get V()\n  V = \"x\"\n End Property\nEnd Class\n"
         "Class Plain\n Public P\nEnd Class\n"
         "Function Main()\n Main = IsNumeric(New One) & IsNumeric(New Word) & IsNumeric(New Plain) & IsNumeric(Nothing)\n"
         "End Function",
         "TrueFalseFalseFalse"},
    });
}

// Calls, elements and members in the forms the language takes, and its errors for the
// forms it refuses.
TEST(ScriptRules, CallsAndMembers) {
    const char* classes =
        "Class C\n Public p\n Public Sub Sub1()\n  p = \"called\"\n End Sub\nEnd Class\n"
        "Class RegExp\n Public Pattern\nEnd Class\n"
        "Function F(a)\n F = a * 2\nEnd Function\n"
        "Function Bump(n)\n n = n + 1: Bump = n\nEnd Function\n"
        "Dim g\nSub SetG(v)\n g = v\nEnd Sub\n";
    const std::vector<RuleCase> cases = {
        {"x = 5\nCall CInt(x)\nMain = 1", "ERR 458"},
        {"x = 5\nCLng x\nMain = 1", "ERR 458"},
        {"On Error Resume Next\nx = 5\nCall CStr(x)\nMain = Err.Number", "458"},
        {"Call Len(\"abc\")\nMain = 1", "1"},
        {"x = 42: t = x()\nMain = t", "ERR 13"},
        {"x = 42\nx\nMain = 1", "ERR 13"},
        {"Array(1) = Null\nMain = 1", "ERR 13"},
        {"Len(\"a\") = 1\nMain = 1", "ERR 13"},
        {"Set o = New C: o.p = 3\nMain = o.p(0)", "ERR 438"},
        {"Set o = New C: o.p = 3\nMain = o.p()", "ERR 5"},
        {"Set o = New C: o.p = Array(4, 5)\nMain = o.p(1)", "5"},
        {"Set o = Nothing: o.P = 1\nMain = 1", "ERR 424"},
        {"Set o = Nothing\nMain = o.P", "ERR 91"},
        {"With 42\nEnd With\nMain = 1", "ERR 424"},
        {"Main = .prop", "ERR 505"},
        {"On Error Resume Next\nx = .prop\nMain = Err.Number", "505"},
        {"x = Array(Array(1, 2)): x(0)(1) = 5\nMain = x(0)(1) & x(0)(0)", "51"},
        {"x = Array(Array(1, 2), Array(3, 4)): x(1)(0) = x(0)(1) + 10\nMain = x(1)(0)", "12"},
        {"x = Array(Array(1, 2)): Set x(0)(1) = New C\nMain = TypeName(x(0)(1))", "C"},
        {"x = Array(Array(1, 2)): x(0)(5) = 1\nMain = 1", "ERR 9"},
        {"Set d = CreateObject(\"Scripting.Dictionary\")\nx = Array(d): x(0)(\"k\") = 3\nMain = d(\"k\") & d.Count", "31"},
        {"n = 0\nx = Array(Array(1, 2)): x(0)(Bump(n)) = 5\nMain = n & x(0)(1)", "15"},
        {"Set o = New C: o.p = Array(1, 2): o.p(1) = 7\nMain = o.p(1)", "7"},
        {"Call (New C).Sub1()\nMain = 1", "1"},
        {"Set o = New C\nCall (o).Sub1()\nMain = o.p", "called"},
        {"call (((F))) (3)\nMain = 1", "1"},
        {"y = (F)(3)\nMain = y", "6"},
        {"y = ((F))(4) + 1\nMain = y", "9"},
        {"a = Array(7, 8)\nMain = (a)(1)", "8"},
        {"Call SetG(5)\nMain = g", "5"},
        {"Select Case 3\nCase \"a\": Main = \"a\"\nCase 3: Main = 3\nEnd Select", "3"},
        {"x = \"3\"\nSelect Case 3\nCase x: Main = \"text\"\nCase Else: Main = \"else\"\nEnd Select", "text"},
        {"Select Case \"b\"\nCase 1, \"b\": Main = \"b\"\nEnd Select", "b"},
        {"Stop\nMain = 1", "1"},
        {"If True Then Stop\nMain = 2", "2"},
        {"Dim a(2)\nReDim a(3)\nMain = 1", "ERR 10"},
        {"Dim a(2)\nReDim Preserve a(3)\nMain = 1", "ERR 10"},
        {"Erase undeclared\nMain = 1", "ERR 13"},
        {"x = Array(1, 2)\nErase x\nMain = IsArray(x)", "True"},
        {"Set o = New Undeclared\nMain = 1", "ERR 500"},
        {"vbOK = 5\nMain = vbOK", "ERR 501"},
        {"On Error Resume Next\nvbCrLf = \"x\"\nMain = Err.Number & Len(vbCrLf)", "5012"},
        {"Set r = New RegExp\nMain = TypeName(r)", "IRegExp2"},
        {"Set re = New RegExp: re.Pattern = \"b\"\nMain = re.Replace(\"abc\", True)", "a-1c"},
        {"Set re = New RegExp: re.Pattern = True\nMain = re.Test(\"x-1\") & re.Replace(\"abc\", \"b\")", "Trueabc"},
    };
    for (const RuleCase& c : cases)
        EXPECT_EQ(runModule(QString::fromUtf8(classes) + QStringLiteral("Function Main()\n") +
                            QString::fromUtf8(c.code) + QStringLiteral("\nEnd Function\n")),
                  QString::fromUtf8(c.expected))
            << c.code;
    // A module variable may still take a constant's name once declared.
    EXPECT_EQ(runModule(QStringLiteral("Dim vbOK\nvbOK = 5\nFunction Main()\n Main = vbOK\nEnd Function")),
              QStringLiteral("5"));
}

// Statement forms the language takes: procedure text on one line with other statements,
// procedures inside blocks, keywords as names, bracketed names, octal without O, literal
// subtypes, constants known before the code runs.
TEST(ScriptRules, SyntaxTheLanguageTakes) {
    checkModules({
        {"Dim R\nSub T() R = 1\nEnd Sub\nFunction Main()\n T\n Main = R\nEnd Function", "1"},
        {"Dim R\nSub T()\n R = 2 End Sub\nFunction Main()\n T\n Main = R\nEnd Function", "2"},
        {"Function F() F = 7 End Function\nFunction Main()\n Main = F()\nEnd Function", "7"},
        {"Function F(): F = 1: End Function\nFunction Main(): Main = F() + 1: End Function", "2"},
        {"Dim R\nSub T() If True Then R = 3 Else R = 4 End Sub\nFunction Main()\n T\n Main = R\nEnd Function", "3"},
        {"Sub T() R = 1 End With\nFunction Main()\nEnd Function", "COMPILE 1025"},
        {"Class C\n Public x End Class\nFunction Main()\n Set o = New C: o.x = 3\n Main = o.x\nEnd Function", "3"},
        {"Class C\n Public Property Get P() P = 4 End Property\nEnd Class\nFunction Main()\n Main = (New C).P\nEnd Function",
         "4"},
        // A procedure inside a block of module code belongs to the module from the start.
        {"Dim R\nIf False Then\n Sub Inner()\n  R = 5\n End Sub\nEnd If\nFunction Main()\n Inner\n Main = R\nEnd Function",
         "5"},
        {"Dim R\nFor i = 1 To 2\n Function Twice(x)\n  Twice = 2 * x\n End Function\nNext\n"
         "Function Main()\n Main = Twice(21)\nEnd Function",
         "42"},
        {"Function Outer()\n If True Then\n  Sub Inner()\n  End Sub\n End If\nEnd Function", "COMPILE 1024"},
        {"Dim R\nSelect Case 1\nCase 2\n Sub Q()\n  R = 9\n End Sub\nEnd Select\nFunction Main()\n Q\n Main = R\nEnd Function",
         "9"},
        {"Sub T() End Sub\nFunction Main(): T: Main = 1: End Function", "1"},
        // Keywords of declarations are names elsewhere.
        {"Function Main()\n Dim property: property = 3\n Main = property * 2\nEnd Function", "6"},
        {"Function Main()\n default = 3\n Main = default + 1\nEnd Function", "4"},
        {"Function Main()\n step = 2\n For i = 1 To 5 Step step: n = n + 1: Next\n Main = n & step\nEnd Function", "32"},
        {"Class C\n Public [rem], [end]\nEnd Class\nFunction Main()\n Set o = New C: o.rem = 4: o.End = 5\n"
         " Main = o.Rem + o.end\nEnd Function",
         "9"},
        {"Function Step(property)\n Step = property * 2\nEnd Function\nFunction Main()\n Main = Step(4)\nEnd Function", "8"},
        {"Class C\n Public step, property, default\nEnd Class\nFunction Main()\n Set o = New C\n"
         " o.step = 1: o.property = 2: o.default = 3\n Main = o.step + o.property + o.default\nEnd Function",
         "6"},
        {"Class C\n Public Default Property Get V()\n  V = 5\n End Property\n Private default\nEnd Class\n"
         "Function Main()\n Main = New C + 1\nEnd Function",
         "6"},
        {"Function Main()\n [my var] = 3\n Main = [my var] + [MY VAR]\nEnd Function", "6"},
        {"Dim R\nSub [my sub](x)\n R = x\nEnd Sub\nFunction Main()\n [my sub] 5\n Main = R\nEnd Function", "5"},
        {"Class C\n Public [x y]\nEnd Class\nFunction Main()\n Set o = New C: o.[x y] = 7\n Main = o.[x y]\nEnd Function",
         "7"},
        {"Function Main()\n [If] = 2\n Main = [if] ' a keyword in brackets is a name\nEnd Function", "2"},
        {"Function Main()\n Main = [x\nEnd Function", "COMPILE 1007"},
        // Octal without the O, and a trailing & that reads 32 bits and keeps the value's subtype.
        {"Function Main()\n Main = &17 & \"|\" & TypeName(&17) & \"|\" & &O17 & \"|\" & (&10 + 1)\nEnd Function",
         "15|Integer|15|9"},
        {"Function Main()\n Main = TypeName(&h10&) & &h10& & \"|\" & TypeName(&HFFFF&) & &HFFFF& & \"|\" & &HFFFFFFFF&\n"
         "End Function",
         "Integer16|Long65535|-1"},
        {"Function Main()\n x = 1e309\nEnd Function", "COMPILE 1031"},
        {"Function Main()\n x = &H100000000\nEnd Function", "COMPILE 1031"},
        {"Function Main()\n x = &777777777777\nEnd Function", "COMPILE 1031"},
        {"Function Main()\n x = &18\nEnd Function", "COMPILE 1002"},
        {"Function Main()\n x = -1.7e308 * 10\nEnd Function", "ERR 6"},
        // Constants take effect before the code runs, even in a branch never taken.
        {"If False Then Const c = 5\nFunction Main()\n Main = c\nEnd Function", "5"},
        {"Function Main()\n Main = c * 2\n Const c = 4\nEnd Function", "8"},
        {"Function Main()\n If False Then\n  Const k = \"k\"\n End If\n Main = k\nEnd Function", "k"},
        // Too many elements is a run-time error, not a compilation error.
        {"Function Main()\n Dim a(1000000000)\n Main = 1\nEnd Function", "ERR 7"},
        {"Function Main()\n On Error Resume Next\n Dim a(1000000000)\n Main = 1\nEnd Function", "ERR 7"},
        {"Dim a(1000000000)\nFunction Main()\n Main = 1\nEnd Function", "ERR 7"},
        {"Dim a(1000000000)", "ERR 7"},
        {"Function Main()\n Dim a(99999999999)\nEnd Function", "COMPILE 1026"},
    });
    // The compiler's own limits have a number of their own, not that of a missing word, and
    // stop exactly where the README says: its descent goes 200 levels deep (an If takes two,
    // a parenthesis two, a For one, a minus one), an expression's tree 1000 nodes tall.
    struct Limit {
        const char* what;
        int most;  // compiles; one more is 1001
        std::function<QString(int)> text;
    };
    const auto repeat = [](const char* s, int n) {
        QString r;
        for (int i = 0; i < n; ++i)
            r += QString::fromUtf8(s);
        return r;
    };
    const Limit limits[] = {
        {"If blocks in a procedure", 98,
         [&](int n) {
             return "Function Main()\n" + repeat("If True Then\n", n) + " Main = 1\n" + repeat("End If\n", n) +
                    "End Function\n";
         }},
        {"If blocks at module level", 99,
         [&](int n) { return repeat("If True Then\n", n) + repeat("End If\n", n) + "Function Main()\n Main = 1\nEnd Function\n"; }},
        {"For blocks at module level", 198,
         [&](int n) {
             QString s;
             for (int i = 0; i < n; ++i)
                 s += QStringLiteral("For i%1 = 1 To 1\n").arg(i);
             return s + repeat("Next\n", n) + "Function Main()\n Main = 1\nEnd Function\n";
         }},
        {"parentheses", 98,
         [&](int n) { return "Function Main()\n Main = " + repeat("(", n) + "1" + repeat(")", n) + "\nEnd Function\n"; }},
        {"minus signs in a procedure", 196, [&](int n) { return "Function Main()\n Main = " + repeat("-", n) + "1\nEnd Function\n"; }},
        {"operators in a sum", 999, [&](int n) { return "Function Main()\n Main = 1" + repeat(" + 1", n) + "\nEnd Function\n"; }},
    };
    for (const Limit& l : limits) {
        EXPECT_NE(runModule(l.text(l.most)).left(7), QStringLiteral("COMPILE")) << l.what;
        EXPECT_EQ(runModule(l.text(l.most + 1)), QStringLiteral("COMPILE 1001")) << l.what;
    }
}

// SetLocale takes any valid locale id and remembers it (formatting stays the system's).
TEST(ScriptRules, SetLocaleTakesAnyValidId) {
    checkMain({
        {"SetLocale 1031\nMain = GetLocale", "1031"},
        {"Main = SetLocale(1040) & \" \" & GetLocale & \" \" & SetLocale(1049) & \" \" & GetLocale", "2052 1040 1040 1049"},
        {"SetLocale \"it-it\"\nMain = GetLocale & \" \" & FormatNumber(1234.5)", "1040 1,234.50"},
        {"SetLocale &H3C01\nMain = GetLocale", "15361"},
        {"Main = SetLocale(99999)", "ERR 447"},
        {"Main = SetLocale(-1)", "ERR 447"},
        {"Main = SetLocale(&H10000)", "ERR 447"},
        {"Main = SetLocale(1031) & \" \" & SetLocale(1024) & \" \" & GetLocale & \" \" & SetLocale(2048)", "2052 1031 2052 2052"},
        {"Main = SetLocale(\"1031\") & \" \" & GetLocale", "2052 1031"},
        {"Main = SetLocale(\"xx-yy\")", "ERR 5"},
    });
}

// A Case takes values, never ranges, and the language's reserved words name nothing: each of
// them fails to compile as a variable, a procedure, a constant, a parameter or a statement's
// start, while the words the grammar merely meets in passing stay names. A statement may follow
// a Case's values on their line, so a range fails where its To would start a statement.
TEST(ScriptRules, CaseRangesAndReservedWordsDoNotCompile) {
    checkModules({
        {"Function Main()\n Select Case 12\n Case 10 To 17: Main = \"in\"\n End Select\nEnd Function", "COMPILE 1024"},
        {"Function Main()\n Select Case 12\n Case 10 To 17\n Main = \"in\"\n End Select\nEnd Function", "COMPILE 1024"},
        {"Function Main()\n Select Case 12\n Case 10, 12: Main = \"in\"\n End Select\nEnd Function", "in"},
        {"Function Main()\n Select Case 1\n Case 1  r = 200\n Case 2  r = 300\n End Select\n Main = r\nEnd Function",
         "200"},
        {"Function Main()\n Select Case 2\n Case 1  r = 200\n Case 2  r = 300: r = r + 1\n Case Else r = 0\n End Select\n"
         " Main = r\nEnd Function",
         "301"},
        {"Function Main()\n Select Case 7\n Case 1, 2 r = 1\n Case Else r = 2\n End Select\n Main = r\nEnd Function", "2"},
        {"Function Main()\n Select Case 1\n Case 1 If True Then r = 5 Else r = 6\n End Select\n Main = r\nEnd Function",
         "5"},
        {"Function Main()\n Select Case 1\n Case 1 Case 2\n End Select\nEnd Function", "COMPILE 1024"},
        {"Function Main()\n Select Case 1\n Case 1 Else\n End Select\nEnd Function", "COMPILE 1014"},
        {"Function Main()\n Select Case 1\n Case 1 r = 2 3\n End Select\nEnd Function", "COMPILE 1025"},
        // The formula writer's form: the statement right after the value, one Case a line.
        {"Function Custom_GL(NUMBER)\n Select Case Left(NUMBER, 1)\n Case \"1\" Custom_GL = True\n"
         " Case \"2\", \"3\" Custom_GL = True\n End Select\nEnd Function\n"
         "Function Main()\n Main = Custom_GL(\"123\") & Custom_GL(\"307\") & Custom_GL(\"407\")\nEnd Function",
         "TrueTrue"},
    });
    // Those the grammar uses and those kept for later alike.
    const char* const reserved[] = {"As", "Boolean", "Byte", "Currency", "Debug", "Double", "Each", "EndIf",
                                    "Enum", "Event", "GoTo", "Implements", "In", "Integer", "Like", "Long",
                                    "LSet", "Optional", "ParamArray", "Preserve", "RaiseEvent", "Resume", "RSet",
                                    "Shared", "Single", "Stop", "To", "Type", "TypeOf", "Variant"};
    const struct {
        const char* form;  // %1 is the word
        int error;
    } forms[] = {
        {"Dim %1", 1010},
        {"Sub %1()\nEnd Sub", 1010},
        {"Function %1()\nEnd Function", 1010},
        {"Const %1 = 1", 1010},
        {"Sub S(%1)\nEnd Sub", 1010},
        {"Class %1\nEnd Class", 1010},
        {"%1 = 1", 1024},
        {"x = %1 + 1", 1023},
    };
    for (const char* word : reserved)
        for (const auto& f : forms) {
            const QString code = QString::fromLatin1(f.form).arg(QLatin1String(word));
            EXPECT_EQ(runModule(code), QStringLiteral("COMPILE %1").arg(f.error)) << code.toStdString();
        }
    // Bracketed, after a dot, or a word the language allows as a name, they are names.
    checkModules({
        {"Function Main()\n [To] = 2: [Type] = 3\n Main = [to] * [TYPE]\nEnd Function", "6"},
        {"Class C\n Public [In], [Long]\nEnd Class\nFunction Main()\n Set o = New C: o.In = 4: o.long = 5\n"
         " Main = o.In + o.Long\nEnd Function",
         "9"},
        {"Function Main()\n Dim Default, Error, Explicit, Property, Step\n Error = 1: Explicit = 2: Step = 3\n"
         " Main = Error + Explicit + Step\nEnd Function",
         "6"},
        {"Sub Error(x)\nEnd Sub\nFunction Explicit()\n Explicit = 7\nEnd Function\nFunction Main()\n Error 1\n"
         " Main = Explicit()\nEnd Function",
         "7"},
        {"Function Main()\n Stop\n Main = 1\nEnd Function", "1"},
    });
}

// A conversion called as a statement fails its own check first; only one that succeeds has
// nowhere to put its value (458).
TEST(ScriptRules, ConversionsCalledAsStatements) {
    checkMain({
        {"On Error Resume Next\nCall CInt(Null)\nMain = Err.Number", "94"},
        {"On Error Resume Next\nCall CStr(Nothing)\nMain = Err.Number", "91"},
        {"On Error Resume Next\nCall CByte(\"\")\nMain = Err.Number", "13"},
        {"On Error Resume Next\nCall CByte(\"-1\")\nMain = Err.Number", "6"},
        {"On Error Resume Next\nCStr(Null)\nMain = Err.Number", "94"},
        {"On Error Resume Next\nCall CByte(1)\nMain = Err.Number", "458"},
        {"On Error Resume Next\nCLng 5\nMain = Err.Number", "458"},
        {"On Error Resume Next\nCall CDate(\"abc\")\nMain = Err.Number", "13"},
    });
}

// Built-ins check their arguments in the language's order: a Null length or flag first, the
// numbers next, and only then does a Null text pass through; objects stand for their default.
TEST(ScriptRules, BuiltInArgumentOrder) {
    checkModules({
        {"Class EmptyClass\nEnd Class\n"
         "Class ArrayDefault\n Public Default Function Items()\n  Items = Array(1, 2, 3)\n End Function\nEnd Class\n"
         "Function E(code)\n On Error Resume Next\n Execute \"x = \" & code\n E = Err.Number\nEnd Function\n"
         "Function Main()\n Dim m(1, 1)\n"
         " For Each c In Array(\"Mid(\"\"test\"\", 0, Null)\", \"Mid(\"\"test\"\", \"\"a\"\", Null)\", \"Mid(Null, -1, -1)\", _\n"
         "   \"Mid(Null, 1, 1)\", \"InStrRev(\"\"abcd\"\", Null, 2, 0)\", \"InStrRev(Null, \"\"abcd\"\", 2, 0)\", _\n"
         "   \"Join(New EmptyClass)\", \"Join(Array(1, Null))\", \"Join(m)\", \"Right(Null, -1)\", \"Left(Null, -1)\", _\n"
         "   \"Right(Null, 1)\", \"Sgn(Null)\", \"DateDiff(\"\"ww\"\", Now, Now, vbSunday, Null)\", \"Weekday(Null, -1)\", _\n"
         "   \"Weekday(Null, Null)\", \"Weekday(Null, \"\"a\"\")\", \"Weekday(Null)\", \"MonthName(\"\"a\"\", Null)\", _\n"
         "   \"Randomize(0)\", \"Filter(Null, \"\"t\"\")\", \"DateValue(44000)\", \"DateValue(\"\"2026/12/10\"\")\", _\n"
         "   \"UBound(New EmptyClass)\", \"LBound(New EmptyClass)\", \"UBound(CreateObject(\"\"Scripting.Dictionary\"\"))\", _\n"
         "   \"UBound(New ArrayDefault)\")\n"
         "  s = s & E(c) & \" \"\n Next\n Main = s & UBound(New ArrayDefault)\nEnd Function",
         "94 94 5 0 94 94 438 13 13 5 5 0 94 94 5 94 13 0 94 13 94 13 0 438 438 450 0 2"},
        // A Null text of InStr gives Null; InStrRev refuses it (94), whatever the other arguments.
        {"Function Main()\n Randomize 0\n Call Randomize(1)\n Main = IsNull(Mid(Null, 2)) & Join(Array(1, \"a\"), \"-\") & _\n"
         "  IsNull(InStr(2, \"abcd\", Null, 0)) & IsNull(InStr(Null, \"abcd\"))\nEnd Function",
         "True1-aTrueTrue"},
        {"Function Main()\n On Error Resume Next\n For Each c In Array(\"InStrRev(\"\"abcd\"\", Null)\", _\n"
         "   \"InStrRev(Null, \"\"abcd\"\", 2, 0)\", \"InStrRev(Null, Null, -1, 1)\", \"InStrRev(\"\"\"\", Null)\")\n"
         "  Err.Clear: x = Eval(c): s = s & Err.Number & \" \"\n Next\n Main = s\nEnd Function",
         "94 94 94 94 "},
    });
}

// Eval and Execute take an object's default value as their text.
TEST(ScriptRules, EvalAndExecuteOfAnObject) {
    checkModules({
        {"Class Truth\n Public Default Function Text()\n  Text = \"True\"\n End Function\nEnd Class\n"
         "Function Main()\n Main = TypeName(Eval(New Truth)) & Eval(New Truth)\nEnd Function",
         "BooleanTrue"},
        {"Class Code\n Public Default Property Get Text()\n  Text = \"r = 99\"\n End Property\nEnd Class\n"
         "Dim r\nFunction Main()\n Execute New Code\n Main = r\nEnd Function",
         "99"},
        {"Class NoDefault\nEnd Class\nFunction Main()\n On Error Resume Next\n Execute New NoDefault\n"
         " Main = Err.Number\nEnd Function",
         "438"},
        {"Class NoDefault\nEnd Class\nFunction Main()\n Main = Eval(New NoDefault)\nEnd Function", "ERR 438"},
    });
}

// Members and indexes: a call statement on Nothing wants an object; an index on a plain field
// is no member use; an empty index on a field is no index; Nothing's element is no array.
TEST(ScriptRules, MembersAndIndexes) {
    const char* classes =
        "Class C\n Public scalarField, arrayField\n Public Property Get Prop()\n  Prop = 1\n End Property\nEnd Class\n";
    const std::vector<RuleCase> cases = {
        {"Set x = Nothing: x.Prop", "424"},
        {"Set x = Nothing: y = x.Prop", "91"},
        {"Set o = New C: o.scalarField = 1: o.scalarField(0) = 5", "438"},
        {"Set o = New C: o.arrayField = Array(1, 2): x = o.arrayField()", "5"},
        {"Set o = New C: o.arrayField = Array(1, 2): o.arrayField(1) = 7: x = o.arrayField(1) + 0: If x <> 7 Then Err.Raise 1",
         "0"},
        {"x = Array(Nothing): x(0)(0) = 5", "13"},
        {"Dim s(4): ReDim s(\"abc\")", "10"},
        {"Dim s(4): ReDim s(9)", "10"},
        {"Dim s(4): ReDim Preserve s(\"abc\")", "13"},
        {"Dim s(4): ReDim Preserve s(9)", "10"},
        {"Dim s(4): ReDim Preserve s(1 / 0)", "11"},
    };
    for (const RuleCase& c : cases)
        EXPECT_EQ(runModule(QString::fromUtf8(classes) + QStringLiteral("Function Main()\n On Error Resume Next\n") +
                            QString::fromUtf8(c.code) + QStringLiteral("\n Main = Err.Number\nEnd Function\n")),
                  QString::fromUtf8(c.expected))
            << c.code;
}

// Declarations across the texts of one module: each text keeps its own constants and its own
// Option Explicit; declaring an array again from text is 13, a constant then a variable 1041;
// a variable declared over another text's constant starts Empty.
TEST(ScriptRules, DeclarationsAcrossTexts) {
    checkModules({
        {"Const c = 26\nExecuteGlobal \"Dim c\"\nExecuteGlobal \"c = 5\"\nExecuteGlobal \"d = c\"\n"
         "Function Main()\n Main = c & \" \" & d & \" \" & Eval(\"c\")\nEnd Function",
         "26 5 5"},
        // The variable a later text declares over another text's constant starts Empty.
        {"Const k = 26\nExecuteGlobal \"Dim k\"\nExecuteGlobal \"r = IsEmpty(k) & \"\" \"\" & TypeName(k)\"\n"
         "Function Main()\n Main = r & \" \" & k\nEnd Function",
         "True Empty 26"},
        {"On Error Resume Next\nExecuteGlobal \"Dim a(2)\"\nExecuteGlobal \"Dim a(2)\"\nr = Err.Number\n"
         "Function Main()\n Main = r\nEnd Function",
         "13"},
        {"On Error Resume Next\nExecuteGlobal \"Const k = 1 : Dim k\"\nr = Err.Number\nFunction Main()\n Main = r\nEnd Function",
         "1041"},
        {"Const k = 1 : Dim k", "COMPILE 1041"},
        {"ExecuteGlobal \"Option Explicit\"\nExecuteGlobal \"v = 1\"\nFunction Main()\n Main = v\nEnd Function", "1"},
        {"Dim v: v = 42\nFunction Main()\n On Error Resume Next\n Set o = New v\n Main = Err.Number\nEnd Function", "506"},
        {"Function Main()\n Dim v: v = 42\n On Error Resume Next\n Set o = New v\n Main = Err.Number\nEnd Function", "506"},
        {"Function Main()\n On Error Resume Next\n Set o = New Undeclared\n Main = Err.Number\nEnd Function", "500"},
        {"Function Main()\n On Error Resume Next\n Erase neverDeclared\n Main = Err.Number\nEnd Function", "13"},
        {"Option Explicit\nFunction Main()\n On Error Resume Next\n Erase neverDeclared\n Main = Err.Number\nEnd Function",
         "500"},
    });
}

// Literals take their subtype from their value; a negated number is no literal when compared
// with text; an array compares with nothing, not even Null; text that does not compile raises its
// compiler's own error where it runs.
TEST(ScriptRules, LiteralsComparisonsAndTextErrors) {
    checkMain({
        {"Main = TypeName(&H00000000000000FF) & &H00000000000000FF", "Integer255"},
        {"Main = TypeName(&H0000FFFF) & &H0000FFFF & TypeName(&H10000)", "Integer-1Long"},
        {"Main = (\"abc\" = -5) & (\"abc\" > -5)", "FalseTrue"},
        {"On Error Resume Next\nx = (\"abc\" = 5)\nMain = Err.Number", "13"},
        {"Main = (\"-5\" = -5) & (-5 = \"-5\")", "TrueTrue"},
        {"On Error Resume Next\nx = (Array(1) = Null)\nMain = Err.Number", "13"},
        {"On Error Resume Next\nx = (Null = Array(1))\nMain = Err.Number", "13"},
        {"On Error Resume Next\nExecute \"x = (\"\nMain = Err.Number", "1002"},
        {"On Error Resume Next\nExecuteGlobal \"If\"\nMain = Err.Number", "1002"},
        {"On Error Resume Next\nExecute \"x = 1 2\"\nMain = Err.Number & Err.Description", "1025语句未结束"},
        {"On Error Resume Next\nExecute \"Dim 5\"\nMain = Err.Number & Err.Description", "1010缺少标识符"},
        {"On Error Resume Next\nExecuteGlobal \"Sub 5 : End Sub\"\nMain = Err.Number", "1010"},
        {"On Error Resume Next\nExecute \"r = 1e309\"\nMain = Err.Number & Err.Description", "1031无效数字"},
        {"On Error Resume Next\nExecute \"x = \"\nMain = Err.Number & Err.Description", "1002语法错误"},
        {"On Error Resume Next\nx = Eval(\"1 + \")\nMain = Err.Number & Err.Description", "1002语法错误"},
        {"On Error Resume Next\nx = Eval(\"1 2\")\nMain = Err.Number", "1025"},
        {"On Error Resume Next\nx = Eval(\"&19\")\nMain = Err.Number & Err.Description", "1002语法错误"},
        {"On Error Resume Next\nx = Eval(\"&O8\")\nMain = Err.Number", "1002"},
        {"On Error Resume Next\nx = Eval(\"&O18\")\nMain = Err.Number", "1002"},
        {"Main = Eval(\"&17 + &O17\")", "30"},
        {"On Error Resume Next\nExecute \"Select Case 1\" & vbLf & \"Case 1 To 2\" & vbLf & \"End Select\"\n"
         "Main = Err.Number",
         "1024"},
        {"On Error Resume Next\nExecuteGlobal \"Sub S(\"\nMain = Err.Number & Err.Source", "1010Microsoft VBScript 编译器错误"},
    });
}
