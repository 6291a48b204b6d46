// The language as formula writers use it: dates and times, Rnd, the named constants, the
// fine points of literals, operators and statements, and the Chinese error texts.
#include "scriptengine.h"

#include <gtest/gtest.h>

using script::ScriptEngine;
using script::Variant;

namespace {

// "TypeName|text" of an expression, or "ERR n" for a run-time error, "COMPILE n" otherwise.
QString eval(const QString& expr) {
    ScriptEngine e;
    const QString code = QStringLiteral("Function T()\n  Dim x\n  x = ") + expr +
                         QStringLiteral("\n  T = TypeName(x) & \"|\" & x\nEnd Function\n");
    if (!e.addCode(code))
        return QStringLiteral("COMPILE %1").arg(e.lastError().number);
    Variant r;
    if (!e.run(QStringLiteral("T"), {}, &r))
        return QStringLiteral("ERR %1").arg(e.lastError().number);
    return r.toString();
}

struct Case {
    const char* expr;
    const char* expected;
};

void checkAll(const std::vector<Case>& cases) {
    for (const Case& c : cases)
        EXPECT_EQ(eval(QString::fromUtf8(c.expr)), QString::fromUtf8(c.expected)) << c.expr;
}

// Main()'s result of a program, or "ERR n" / "COMPILE n". Copy(v) assigns to its ByVal copy.
QString runMain(const QString& body) {
    ScriptEngine e;
    if (!e.addCode(QStringLiteral("Function Copy(ByVal v)\n  v = 7\n  Copy = v\nEnd Function\n") +
                   QStringLiteral("Function Main()\n") + body + QStringLiteral("\nEnd Function\n")))
        return QStringLiteral("COMPILE %1").arg(e.lastError().number);
    Variant r;
    if (!e.run(QStringLiteral("Main"), {}, &r))
        return QStringLiteral("ERR %1").arg(e.lastError().number);
    return r.toString();
}

// The same for Main in a text added after `module`; a module that does not compile fails.
QString runMainAfter(const QString& module, const char* body) {
    ScriptEngine e;
    EXPECT_TRUE(e.addCode(module));
    if (!e.addCode(QStringLiteral("Function Main()\n") + QString::fromUtf8(body) + QStringLiteral("\nEnd Function\n")))
        return QStringLiteral("COMPILE %1").arg(e.lastError().number);
    Variant r;
    if (!e.run(QStringLiteral("Main"), {}, &r))
        return QStringLiteral("ERR %1").arg(e.lastError().number);
    return r.toString();
}

template <size_t N>
void checkPrograms(const char* const (&cases)[N][2]) {
    for (const auto& c : cases)
        EXPECT_EQ(runMain(QString::fromUtf8(c[0])), QString::fromUtf8(c[1])) << c[0];
}

}  // namespace

TEST(ScriptDates, LiteralsConversionsAndChineseText) {
    checkAll({
        {"#12/10/2026#", "Date|2026/12/10"},
        {"#1/2/2026#", "Date|2026/1/2"},
        {"#2026-12-10#", "Date|2026/12/10"},
        {"#12/10/2026 14:05:09#", "Date|2026/12/10 14:05:09"},
        {"#14:05:09#", "Date|14:05:09"},
        {"#2:05:09 PM#", "Date|14:05:09"},
        {"#12/30/1899#", "Date|0:00:00"},
        {"CDate(0)", "Date|0:00:00"},
        {"CDate(2.5)", "Date|1900/1/1 12:00:00"},
        {"CDate(-1.25)", "Date|1899/12/29 6:00:00"},
        {"CDbl(#1/1/1900#)", "Double|2"},
        {"CDate(\"2026/12/10\")", "Date|2026/12/10"},
        {"CDate(\"2026-1-5 9:05\")", "Date|2026/1/5 9:05:00"},
        {"CDate(\"2026年12月10日\")", "Date|2026/12/10"},
        {"CDate(\"12/10/2026\")", "Date|2026/12/10"},
        {"CDate(\"10 December 2026\")", "Date|2026/12/10"},
        {"CDate(\"下午2:05\")", "Date|14:05:00"},
        {"CDate(\"abc\")", "ERR 13"},
        {"CDate(\"2026/2/30\")", "ERR 13"},
        {"CDate(Null)", "ERR 94"},
        {"CStr(#12/10/2026#)", "String|2026/12/10"},
        {"\"d=\" & #12/10/2026 7:00:00#", "String|d=2026/12/10 7:00:00"},
        {"VarType(#12/10/2026#)", "Integer|7"},
        {"IsDate(\"2026/12/10\")", "Boolean|True"},
        {"IsDate(#12/10/2026#)", "Boolean|True"},
        {"IsDate(\"2026/13/10\")", "Boolean|False"},
        {"IsDate(\"abc\")", "Boolean|False"},
        {"IsDate(45000)", "Boolean|False"},
        {"IsNumeric(#12/10/2026#)", "Boolean|False"},
        {"DateValue(\"2026/12/10 14:05\")", "Date|2026/12/10"},
        {"TimeValue(\"2026/12/10 14:05\")", "Date|14:05:00"},
        {"DateValue(Null)", "ERR 94"},
    });
    // A literal that is no date does not compile.
    EXPECT_EQ(eval(QStringLiteral("#13/45/2026#")), QStringLiteral("COMPILE 1002"));
    EXPECT_EQ(eval(QStringLiteral("#12/10/2026")), QStringLiteral("COMPILE 1002"));
}

TEST(ScriptDates, ArithmeticAndComparison) {
    checkAll({
        {"#12/10/2026# + 1", "Date|2026/12/11"},
        {"1 + #12/10/2026#", "Date|2026/12/11"},
        {"#12/10/2026# - 10", "Date|2026/11/30"},
        {"#12/10/2026# + 0.5", "Date|2026/12/10 12:00:00"},
        {"#12/10/2026# - #12/1/2026#", "Double|9"},
        {"#12/10/2026# * 1", "Double|46366"},
        {"#12/10/2026# > #12/9/2026#", "Boolean|True"},
        {"#12/10/2026# = DateSerial(2026, 12, 10)", "Boolean|True"},
        {"#12/10/2026# < 46367", "Boolean|True"},
        {"#12/10/2026# + Null", "Null|"},
        {"#12/31/9999# + 1", "ERR 6"},
        {"Int(#12/10/2026 14:05#)", "Date|2026/12/10"},
        {"Fix(CDate(-1.5))", "Date|1899/12/29"},
    });
}

TEST(ScriptDates, PartsSerialsAndNames) {
    checkAll({
        {"Year(#12/10/2026 14:05:09#)", "Integer|2026"},
        {"Month(#12/10/2026 14:05:09#)", "Integer|12"},
        {"Day(#12/10/2026 14:05:09#)", "Integer|10"},
        {"Hour(#12/10/2026 14:05:09#)", "Integer|14"},
        {"Minute(#12/10/2026 14:05:09#)", "Integer|5"},
        {"Second(#12/10/2026 14:05:09#)", "Integer|9"},
        {"Year(\"2026/12/10\")", "Integer|2026"},
        {"Year(Null)", "Null|"},
        {"Month(\"x\")", "ERR 13"},
        {"Weekday(#12/10/2026#)", "Integer|5"},
        {"Weekday(#12/10/2026#, vbMonday)", "Integer|4"},
        {"Weekday(#12/13/2026#)", "Integer|1"},
        {"WeekdayName(5)", "String|星期四"},
        {"WeekdayName(1, True)", "String|周日"},
        {"WeekdayName(1, False, vbMonday)", "String|星期一"},
        {"WeekdayName(8)", "ERR 5"},
        {"MonthName(12)", "String|十二月"},
        {"MonthName(1, True)", "String|1月"},
        {"MonthName(0)", "ERR 5"},
        {"DateSerial(2026, 12, 10)", "Date|2026/12/10"},
        {"DateSerial(2026, 13, 1)", "Date|2027/1/1"},
        {"DateSerial(2026, 3, 0)", "Date|2026/2/28"},
        {"DateSerial(2024, 2, 29 + 1)", "Date|2024/3/1"},
        {"DateSerial(26, 1, 1)", "Date|2026/1/1"},
        {"DateSerial(99, 1, 1)", "Date|1999/1/1"},
        {"TimeSerial(14, 5, 9)", "Date|14:05:09"},
        {"TimeSerial(25, 0, 0)", "Date|1899/12/31 1:00:00"},
        {"TimeSerial(0, -1, 0)", "Date|1899/12/29 23:59:00"},
        {"TimeSerial(12, 90, 0)", "Date|13:30:00"},
    });
}

TEST(ScriptDates, AddDiffPartAndFormat) {
    checkAll({
        {"DateAdd(\"d\", 1, #12/31/2026#)", "Date|2027/1/1"},
        {"DateAdd(\"m\", 1, #1/31/2026#)", "Date|2026/2/28"},
        {"DateAdd(\"m\", -1, #3/31/2024#)", "Date|2024/2/29"},
        {"DateAdd(\"yyyy\", 1, #2/29/2024#)", "Date|2025/2/28"},
        {"DateAdd(\"q\", 1, #11/15/2026#)", "Date|2027/2/15"},
        {"DateAdd(\"ww\", 2, #12/10/2026#)", "Date|2026/12/24"},
        {"DateAdd(\"h\", 25, #12/10/2026#)", "Date|2026/12/11 1:00:00"},
        {"DateAdd(\"n\", -5, #12/10/2026#)", "Date|2026/12/9 23:55:00"},
        {"DateAdd(\"s\", 61, #14:05:09#)", "Date|14:06:10"},
        {"DateAdd(\"x\", 1, #12/10/2026#)", "ERR 5"},
        {"DateDiff(\"d\", #12/1/2026#, #12/10/2026#)", "Long|9"},
        {"DateDiff(\"d\", #12/10/2026 23:59#, #12/11/2026 0:01#)", "Long|1"},
        {"DateDiff(\"m\", #12/31/2025#, #1/1/2026#)", "Long|1"},
        {"DateDiff(\"yyyy\", #12/31/2025#, #1/1/2026#)", "Long|1"},
        {"DateDiff(\"q\", #3/31/2026#, #4/1/2026#)", "Long|1"},
        {"DateDiff(\"h\", #10:59#, #11:00#)", "Long|1"},
        {"DateDiff(\"n\", #10:59:59#, #11:00:00#)", "Long|1"},
        {"DateDiff(\"s\", #10:59#, #11:00#)", "Long|60"},
        {"DateDiff(\"w\", #12/1/2026#, #12/15/2026#)", "Long|2"},
        {"DateDiff(\"ww\", #12/5/2026#, #12/6/2026#)", "Long|1"},
        {"DateDiff(\"ww\", #12/6/2026#, #12/12/2026#)", "Long|0"},
        {"DateDiff(\"d\", #12/10/2026#, #12/1/2026#)", "Long|-9"},
        {"DatePart(\"q\", #12/10/2026#)", "Integer|4"},
        {"DatePart(\"y\", #12/10/2026#)", "Integer|344"},
        {"DatePart(\"w\", #12/10/2026#)", "Integer|5"},
        {"DatePart(\"ww\", #1/1/2026#)", "Integer|1"},
        {"DatePart(\"ww\", #12/31/2026#)", "Integer|53"},
        {"DatePart(\"ww\", #1/1/2027#, vbMonday, vbFirstFourDays)", "Integer|53"},
        {"DatePart(\"ww\", #1/4/2027#, vbMonday, vbFirstFourDays)", "Integer|1"},
        {"DatePart(\"h\", #12/10/2026 14:05:09#)", "Integer|14"},
        {"FormatDateTime(#12/10/2026 14:05:09#)", "String|2026/12/10 14:05:09"},
        {"FormatDateTime(#12/10/2026 14:05:09#, vbLongDate)", "String|2026年12月10日"},
        {"FormatDateTime(#12/10/2026 14:05:09#, vbShortDate)", "String|2026/12/10"},
        {"FormatDateTime(#12/10/2026 14:05:09#, vbLongTime)", "String|14:05:09"},
        {"FormatDateTime(#12/10/2026 9:05:09#, vbShortTime)", "String|09:05"},
        {"FormatDateTime(#12/10/2026#, 7)", "ERR 5"},
    });
}

TEST(ScriptDates, ClockFunctionsAgreeWithEachOther) {
    // Today's values: consistent among themselves rather than fixed.
    EXPECT_EQ(runMain(QStringLiteral(
                  "Dim n: n = Now\n"
                  "Main = TypeName(n) & TypeName(Date) & TypeName(Time) & TypeName(Timer) & \"|\" & _\n"
                  "  (Date = DateValue(n) Or Date = DateValue(Now)) & \"|\" & (Date + Time - Now < 1 / 1440) & \"|\" & _\n"
                  "  (Timer >= 0 And Timer < 86400) & \"|\" & (Year(Date) >= 2024) & \"|\" & (Int(Date) = Date)")),
              QStringLiteral("DateDateDateSingle|True|True|True|True|True"));
}

TEST(ScriptRnd, ClassicGeneratorSequences) {
    const char* cases[][2] = {
        {"Main = Rnd & \" \" & Rnd & \" \" & Rnd", "0.7055475 0.533424 0.5795186"},
        {"Randomize 0\nMain = Rnd & \" \" & Rnd", "0.7641413 0.3576428"},
        {"Main = Rnd(-1) & \" \" & Rnd(0)", "0.224007 0.224007"},
        {"Main = TypeName(Rnd) & \" \" & TypeName(Rnd(0))", "Single Single"},
        // Rnd(0) repeats the last value; a positive argument steps like no argument.
        {"Dim a: a = Rnd\nMain = (Rnd(0) = a) & \" \" & Rnd(5)", "True 0.533424"},
        // A negative seed always gives the same sequence.
        {"Dim a, b: a = Rnd(-7) & Rnd: b = Rnd(-7) & Rnd\nMain = (a = b)", "True"},
        // Randomize with a value is repeatable as well.
        {"Dim a, b\nRandomize 42: a = Rnd & Rnd\nRnd -1: Randomize 42: b = Rnd & Rnd\nMain = (a = b)", "False"},
        {"Randomize\nDim v: v = Rnd\nMain = (v >= 0 And v < 1)", "True"},
        {"Main = Rnd(-1E+300)", "ERR 6"},
        {"Randomize -1E+300\nMain = TypeName(Rnd)", "Single"},
    };
    checkPrograms(cases);

    // Each engine has its own generator: two engines give the same numbers.
    ScriptEngine a, b;
    const QString code = QStringLiteral("Function R()\n  R = Rnd\nEnd Function\n");
    ASSERT_TRUE(a.addCode(code));
    ASSERT_TRUE(b.addCode(code));
    Variant ra, rb;
    ASSERT_TRUE(a.run(QStringLiteral("R"), {}, &ra));
    ASSERT_TRUE(a.run(QStringLiteral("R"), {}, &ra));
    ASSERT_TRUE(b.run(QStringLiteral("R"), {}, &rb));
    EXPECT_EQ(ra.toString(), QStringLiteral("0.533424"));
    EXPECT_EQ(rb.toString(), QStringLiteral("0.7055475"));

    // reset() starts the generator over, as in a new engine.
    a.reset();
    ASSERT_TRUE(a.addCode(code));
    ASSERT_TRUE(a.run(QStringLiteral("R"), {}, &ra));
    EXPECT_EQ(ra.toString(), QStringLiteral("0.7055475"));

    // A scheme condition evaluates like a fresh engine every time, Rnd included.
    script::ScriptCondition c;
    ASSERT_TRUE(c.compile(QStringLiteral("Rnd > 0.7")));
    Variant series = Variant::makeArray(std::vector<Variant>(6));
    for (int i = 0; i < 3; ++i) {
        Variant r;
        ASSERT_TRUE(c.evaluate(series, &r));
        EXPECT_EQ(r.toString(), QStringLiteral("1"));  // 0.7055475 each time
    }
}

TEST(ScriptConstants, EveryNamedConstantHasItsValue) {
    checkAll({
        {"vbOK", "Integer|1"},           {"vbCancel", "Integer|2"},        {"vbAbort", "Integer|3"},
        {"vbRetry", "Integer|4"},        {"vbIgnore", "Integer|5"},        {"vbYes", "Integer|6"},
        {"vbNo", "Integer|7"},           {"vbOKOnly", "Integer|0"},        {"vbOKCancel", "Integer|1"},
        {"vbAbortRetryIgnore", "Integer|2"}, {"vbYesNoCancel", "Integer|3"}, {"vbYesNo", "Integer|4"},
        {"vbRetryCancel", "Integer|5"},  {"vbCritical", "Integer|16"},     {"vbQuestion", "Integer|32"},
        {"vbExclamation", "Integer|48"}, {"vbInformation", "Integer|64"},  {"vbDefaultButton2", "Integer|256"},
        {"vbDefaultButton4", "Integer|768"}, {"vbSystemModal", "Integer|4096"}, {"vbApplicationModal", "Integer|0"},
        {"Asc(vbFormFeed)", "Integer|12"}, {"Asc(vbVerticalTab)", "Integer|11"}, {"vbError", "Integer|10"},
        {"vbUseDefault", "Integer|-2"},  {"vbObjectError", "Long|-2147221504"}, {"vbObject", "Integer|9"},
        {"vbDate", "Integer|7"},         {"vbDecimal", "Integer|14"},      {"vbVariant", "Integer|12"},
        {"vbDataObject", "Integer|13"},  {"vbArray", "Integer|8192"},      {"vbCurrency", "Integer|6"},
        {"vbSunday", "Integer|1"},       {"vbSaturday", "Integer|7"},      {"vbUseSystemDayOfWeek", "Integer|0"},
        {"vbFirstJan1", "Integer|1"},    {"vbFirstFourDays", "Integer|2"}, {"vbFirstFullWeek", "Integer|3"},
        {"vbGeneralDate", "Integer|0"},  {"vbLongDate", "Integer|1"},      {"vbShortDate", "Integer|2"},
        {"vbLongTime", "Integer|3"},     {"vbShortTime", "Integer|4"},     {"vbUseSystem", "Integer|0"},
        {"vbDatabaseCompare", "Integer|2"}, {"vbTextCompare", "Integer|1"}, {"vbTrue", "Integer|-1"},
        {"vbRed", "Long|255"},           {"vbWhite", "Long|16777215"},
    });
}

TEST(ScriptLanguage, LiteralsAndOperatorSpellings) {
    checkAll({
        {"&hFFFF&", "Long|65535"},
        {"&H8000&", "Long|32768"},
        {"&O177777&", "Long|65535"},
        {"&hFFFF", "Integer|-1"},
        {"&H7FFFFFFF&", "Long|2147483647"},
        {"1e-400", "Double|0"},
        {"-1e-400", "Double|0"},
        {"1e400", "COMPILE 1031"},
        {"3 => 2", "Boolean|True"},
        {"2 =< 3", "Boolean|True"},
        {"3 =< 2", "Boolean|False"},
        {"2 >< 3", "Boolean|True"},
        {"2 >< 2", "Boolean|False"},
        {"\"a\" &hi", "String|a"},
        {"\"a\" &ho & \"b\"", "String|ab"},
        {"Empty And Empty", "Long|0"},
        {"Empty Or Empty", "Long|0"},
        {"Not Empty", "Long|-1"},
        {"Empty And CInt(5)", "Long|0"},
        {"Empty Or False", "Long|0"},
        {"Empty Or 4", "Long|4"},
        {"CInt(5) Xor Empty", "Long|5"},
        {"True Imp Empty", "Long|0"},
        {"Empty Eqv CByte(1)", "Long|-2"},
        {"Empty And Null", "Long|0"},
        {"Empty Imp Null", "Long|-1"},
        {"Null Or Empty", "Null|"},
        {"CByte(170) Imp Null", "Byte|85"},
        {"CByte(255) Imp Null", "Byte|0"},
        {"CByte(0) Imp Null", "Byte|255"},
        {"Not \"#FALSE#\"", "Boolean|True"},
        {"Not \"true\"", "Boolean|False"},
        {"Not \"1\"", "Long|-2"},
        {"Not \"abc\"", "ERR 13"},
        {"\"#TRUE#\" And True", "Boolean|True"},
        {"\"False\" Or CInt(6)", "Integer|6"},
        {"True Imp Null", "Null|"},
        {"False Imp Null", "Boolean|True"},
        {"CSng(0.001 * 0.001) = 0.000001", "Boolean|True"},
        {"CSng(0.1) = 0.1", "Boolean|True"},
        {"CDbl(CSng(0.1)) = 0.1", "Boolean|False"},
        {"CLng(16777217) + CSng(0)", "Double|16777217"},
        {"CLng(16777217) - CSng(0)", "Double|16777217"},
        {"CLng(16777217) * CSng(1)", "Double|16777217"},
        {"CSng(1.5) + 1", "Single|2.5"},
        {"AscW(ChrW(65535))", "Integer|-1"},
        {"AscW(ChrW(32768))", "Integer|-32768"},
        {"AscW(\"中\")", "Integer|20013"},
        {"CBool(\"#TRUE#\")", "Boolean|True"},
        {"CBool(\"#FALSE#\")", "Boolean|False"},
    });
}

TEST(ScriptLanguage, StatementFormsAndRunTimeErrors) {
    const char* cases[][2] = {
        {"On Error Resume Next\nErr.Raise 5\nErr.Clear()\nMain = Err.Number", "0"},
        {"On Error Resume Next\nCall Err.Raise(9)\nMain = Err.Number", "9"},
        {"On Error Resume Next\nErr.Raise 9\nCall Err.Clear\nMain = Err.Number", "0"},
        {"On Error Resume Next\nErr.Raise 9\nCall Err.Clear()\nMain = Err.Number", "0"},
        {"Dim x: x = 1\nIf x = 1 Then x = 2 End If\nMain = x", "2"},
        {"Dim x: x = 1\nIf x = 5 Then x = 2 Else x = 3 End If\nMain = x", "3"},
        {"Dim x: x = 1\nIf x = 1 Then x = 2: x = x * 5 End If\nMain = x", "10"},
        {"If \"#TRUE#\" Then Main = \"yes\" Else Main = \"no\"", "yes"},
        {"If \"#FALSE#\" Then Main = \"yes\" Else Main = \"no\"", "no"},
        {"If Not \"#FALSE#\" Then Main = \"yes\" Else Main = \"no\"", "yes"},
        {"Dim a(2)\na = 5\nMain = 1", "ERR 13"},
        {"Dim a(2)\nOn Error Resume Next\na = Array(1)\nMain = Err.Number & \" \" & UBound(a)", "13 2"},
        {"Dim a()\na = Array(1)\nMain = 1", "ERR 13"},
        {"Dim a()\nReDim a(1)\na = 1\nMain = 1", "ERR 13"},
        {"Dim a(2), x\nx = a\nx = 5\nMain = x", "5"},
        {"Dim a(2)\nMain = Copy(a)", "7"},
        {"Dim a()\nMain = UBound(a)", "ERR 9"},
        {"Dim a()\nMain = LBound(a)", "ERR 9"},
        {"Dim a()\nMain = TypeName(a) & IsArray(a)", "Variant()True"},
        {"Dim a()\nReDim Preserve a(2)\na(2) = 7\nMain = UBound(a) & a(2)", "27"},
        {"Dim a\nMain = UBound(a)", "ERR 13"},
        {"On Error Resume Next\nDim x: x = Left(\"abc\")\nMain = Err.Number & \"|\" & IsEmpty(x)", "450|True"},
        {"Main = Mid(\"abc\")", "ERR 450"},
        {"On Error Resume Next\nErr.Raise\nMain = Err.Number", "450"},
        {"Err.Raise\nMain = 1", "ERR 450"},
    };
    checkPrograms(cases);
    // A module variable may take the name of a date function and hides it.
    {
        ScriptEngine e;
        ASSERT_TRUE(e.addCode(QStringLiteral("Dim Day, Time\nDay = 5\nTime = \"t\"\nFunction Main()\n"
                                             "  Main = Day * 2 & Time & Month(#1/3/2026#)\nEnd Function")))
            << e.lastError().text().toStdString();
        Variant r;
        ASSERT_TRUE(e.run(QStringLiteral("Main"), {}, &r)) << e.lastError().text().toStdString();
        EXPECT_EQ(r.toString(), QStringLiteral("10t1"));
    }
    // Module arrays take no other value, at module level or inside a procedure.
    for (const char* code : {"Dim m(1)\nm = 1", "Dim m()\nSub S()\n  m = 1\nEnd Sub\nS"}) {
        ScriptEngine e;
        EXPECT_FALSE(e.addCode(QString::fromUtf8(code))) << code;
        EXPECT_EQ(e.lastError().number, 13) << code;
    }
    // At module level too, and the dynamic array is shared by the procedures.
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral("Dim g()\nFunction F()\n  On Error Resume Next\n  F = UBound(g)\n"
                                         "  F = Err.Number\nEnd Function")));
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("F"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("9"));
}

// Err.Raise: which numbers it takes and how, and what the Err object keeps between raises.
TEST(ScriptErrors, ErrRaiseNumbersAndWhatErrKeeps) {
    const char* const cases[][2] = {
        {"Err.Raise &h10000&\nMain = 1", "ERR 5"},
        {"Err.Raise 65535\nMain = 1", "ERR 65535"},
        {"Err.Raise 0\nMain = 1", "ERR 5"},
        {"On Error Resume Next\nErr.Raise &h8007000E&\nMain = Err.Number & \"|\" & Err.Description", "7|内存不够"},
        {"On Error Resume Next\nErr.Raise &h800A000D\nMain = Err.Number & \"|\" & Err.Description", "13|类型不匹配"},
        {"On Error Resume Next\nErr.Raise vbObjectError + 1\nMain = Err.Number", "-2147221503"},
        {"On Error Resume Next\nErr.Raise -5\nMain = Err.Number", "-5"},
        // What a raise does not give keeps the Err object's value.
        {"On Error Resume Next\nErr.Raise 1, \"src\", \"desc\"\nErr.Raise 5\n"
         "Main = Err.Number & \"|\" & Err.Source & \"|\" & Err.Description",
         "5|src|desc"},
        {"On Error Resume Next\nErr.Raise 1, \"src\", \"desc\"\nErr.Clear\nErr.Raise 5\n"
         "Main = Err.Number & \"|\" & Err.Source & \"|\" & Err.Description",
         "5|Microsoft VBScript 运行时错误|无效的过程调用或参数"},
        {"On Error Resume Next\nErr.Raise 1, \"src\", \"desc\"\nErr.Raise 6, , \"new\"\n"
         "Main = Err.Number & \"|\" & Err.Source & \"|\" & Err.Description",
         "6|src|new"},
        // A member the Err object does not have is a run-time error.
        {"x = Err.unknownIdent\nMain = 1", "ERR 438"},
        {"On Error Resume Next\nx = Err.unknownIdent\nMain = Err.Number", "438"},
        {"On Error Resume Next\nErr.Foo 1, 2\nr = Err.Number\nErr.Clear\nErr.Bar = 3\nMain = r & \" \" & Err.Number",
         "438 438"},
    };
    checkPrograms(cases);
}

TEST(ScriptLanguage, StringBuildingAppendsInPlaceWithTheSameResults) {
    const char* cases[][2] = {
        {"Dim s, i\nFor i = 1 To 5: s = s & i: Next\nMain = s", "12345"},
        {"Dim s: s = \"a\"\nDim t: t = s\ns = s & \"b\"\nMain = s & \"|\" & t", "ab|a"},
        {"Dim s: s = \"x\"\ns = s & Null & \"y\" & 1 & \"z\"\nMain = s", "xy1z"},
        {"Dim s: s = 5\ns = s & \"a\"\nMain = TypeName(s) & s", "String5a"},
        {"Dim s\ns = s & Null\nMain = TypeName(s)", "String"},
        {"Dim s: s = Null\ns = s & Null\nMain = TypeName(s)", "Null"},
        // The right side changes the variable: the value read first is the one extended.
        {"s = \"a\"\ns = s & Change()\nMain = s", "ab"},
        {"Dim a(1): a(0) = \"p\"\na(0) = a(0) & \"q\"\nMain = a(0)", "pq"},
    };
    const QString module = QStringLiteral("Dim s\nFunction Change()\n  s = \"zzz\"\n  Change = \"b\"\nEnd Function\n");
    for (const auto& c : cases)
        EXPECT_EQ(runMainAfter(module, c[0]), QString::fromUtf8(c[1])) << c[0];
}

// Text functions read variables where they are and cut a text of their own in place: the
// variables they read keep their values, and arguments are taken left to right, each as it
// is when it is read.
TEST(ScriptBuiltins, TextFunctionsLeaveTheirArgumentsAsTheyWere) {
    const char* cases[][2] = {
        {"Dim v: v = \"abcdef\"\nt = Right(v, 2) & Left(v, 3) & Mid(v, 2, 3) & Len(v)\nMain = t & \"|\" & v",
         "efabcbcd6|abcdef"},
        {"s = \"abcdef\"\nt = Right(s, 2) & Left(s, 3) & Mid(s, 2, 3) & Len(s)\nMain = t & \"|\" & s",
         "efabcbcd6|abcdef"},
        {"Dim a(1): a(1) = \"xyz\"\nMain = Right(a(1), 1) & Mid(a(1), 2) & Len(a(1)) & a(1)", "zyz3xyz"},
        {"Dim v: v = \"123\"\nMain = CInt(Mid(v, 2, 1)) + CLng(v) + CDbl(Right(v, 2)) & TypeName(CInt(v)) & v",
         "148Integer123"},
        {"Dim n: n = 407\nMain = Mid(n, 1, 1) & Mid(n, 3) & Len(n) & Right(n, 2) & TypeName(n)", "47307Integer"},
        {"i = 7\nMain = Right(\"00\" & i, 3) & Left(i & \"00\", 2) & Right(\"ab\", 5) & Left(\"ab\", 0) & \"|\"",
         "00770ab|"},
        {"s = \"abc\"\nMain = Mid(s, Change(), 1) & s", "bzzz"},
        {"s = \"abc\"\nMain = Right(s, Change()) & s", "bczzz"},
        {"Dim v: v = Null\nMain = IsNull(Mid(v, 2)) & IsNull(Left(v, 1)) & IsNull(Len(v))", "TrueTrueTrue"},
        {"Dim v: v = \"abc\"\nMain = Mid(v, 0, 1)", "ERR 5"},
        {"Dim v, n: v = \"abc\": n = Null\nMain = Mid(v, 1, n)", "ERR 94"},
        {"Dim v: v = \"12a\"\nMain = CInt(v)", "ERR 13"},
        {"Dim v: v = \"70000\"\nMain = CInt(v)", "ERR 6"},
        {"s = \"1,234\"\nMain = CLng(s) & CInt(\" 12 \") & CInt(\"0012\")", "12341212"},
        {"Dim n: n = -5\nMain = \"a\" & n & \"|\" & 70000 & \"b\" & CByte(7) & (n - 32763) & Len(n & \"\")",
         "a-5|70000b7-327682"},
    };
    const QString module = QStringLiteral("Dim s\nFunction Change()\n  s = \"zzz\"\n  Change = 2\nEnd Function\n");
    for (const auto& c : cases)
        EXPECT_EQ(runMainAfter(module, c[0]), QString::fromUtf8(c[1])) << c[0];
}

TEST(ScriptErrorTexts, DescriptionsAndSourcesAreChinese) {
    const char* cases[][2] = {
        {"x = 1 / 0", "11|除数为零"},
        {"x = CInt(\"abc\")", "13|类型不匹配"},
        {"Dim a(1): x = a(2)", "9|下标越界"},
        {"x = CInt(40000)", "6|溢出"},
        {"x = Sqr(-1)", "5|无效的过程调用或参数"},
        {"x = Foo(1)", "13|类型不匹配: 'Foo'"},
        {"x = Left(\"a\")", "450|错误的参数个数或无效的参数属性值: 'Left'"},
        {"x = Space(10000000)", "7|内存不够"},
        {"x = CInt(Null)", "94|无效使用 Null"},
        {"Err.Raise 424", "424|缺少对象"},
        {"Err.Raise 91", "91|对象变量未设置"},
        {"Err.Raise 438", "438|对象不支持此属性或方法"},
        {"Err.Raise 429", "429|ActiveX 部件不能创建对象"},
        {"Err.Raise 457", "457|该关键字已经与该集合的一个元素相关联"},
    };
    for (const auto& c : cases) {
        const QString text = runMain(QStringLiteral("On Error Resume Next\n") + QString::fromUtf8(c[0]) +
                                     QStringLiteral("\nMain = Err.Number & \"|\" & Err.Description & \"|\" & Err.Source"));
        EXPECT_EQ(text, QString::fromUtf8(c[1]) + QStringLiteral("|Microsoft VBScript 运行时错误")) << c[0];
    }
    // Undefined variable under Option Explicit, reported to the host.
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral("Option Explicit\nFunction F()\n  F = zz\nEnd Function")));
    EXPECT_FALSE(e.run(QStringLiteral("F"), {}));
    EXPECT_EQ(e.lastError().description, QStringLiteral("变量未定义: 'zz'"));
    EXPECT_EQ(e.lastError().source, script::kRuntimeSource);
    EXPECT_EQ(e.lastError().text(), QStringLiteral("变量未定义: 'zz' (500) - Microsoft VBScript 运行时错误，第 3 行"));

    // Compilation errors.
    const std::pair<const char*, const char*> compile[] = {
        {"x = ", "语法错误"}, {"x = In", "缺少表达式"}, {"Then", "缺少语句"}, {"x = \"open", "未结束的字符串常量"},
        {"x = a $ b", "无效字符"}, {"If x Then\nx = 1\n", "缺少 'End'"}, {"x = #1/2/3", "语法错误"},
    };
    for (const auto& c : compile) {
        ScriptEngine ce;
        EXPECT_FALSE(ce.addCode(QString::fromUtf8(c.first)));
        EXPECT_EQ(ce.lastError().description, QString::fromUtf8(c.second)) << c.first;
        EXPECT_EQ(ce.lastError().source, QStringLiteral("Microsoft VBScript 编译器错误"));
    }

    // Every number the engine raises has its Chinese text.
    for (int n : {5, 6, 7, 9, 10, 11, 13, 28, 35, 91, 94, 424, 429, 438, 445, 450, 451, 457, 500, 501, 9001, 32811,
                  1002, 1005, 1006, 1010, 1011, 1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022,
                  1023, 1024, 1025, 1026, 1027, 1032, 1033, 1039, 1041, 1044, 1046}) {
        const QString d = script::ErrorDescription(n);
        EXPECT_NE(d, script::ErrorDescription(-1)) << n;
        EXPECT_TRUE(std::any_of(d.begin(), d.end(), [](QChar ch) { return ch.unicode() >= 0x4E00; })) << n;
    }
}

TEST(ScriptCurrency, ConversionTextAndSubtype) {
    checkAll({
        {"CCur(1234.5)", "Currency|1234.5"},
        {"CCur(\"12.34567\")", "Currency|12.3457"},
        {"CCur(0.00005)", "Currency|0"},
        {"CCur(0.00015)", "Currency|0.0002"},
        {"CCur(0.00025)", "Currency|0.0002"},
        {"CCur(-2.5)", "Currency|-2.5"},
        {"CCur(True)", "Currency|-1"},
        {"CCur(Empty)", "Currency|0"},
        {"CCur(922337203685477)", "Currency|922337203685477"},
        {"CCur(-922337203685477)", "Currency|-922337203685477"},
        {"CCur(1E15)", "ERR 6"},
        {"CCur(Null)", "ERR 94"},
        {"CCur(\"abc\")", "ERR 13"},
        {"VarType(CCur(1))", "Integer|6"},
        {"CStr(CCur(-0.0001))", "String|-0.0001"},
        {"CDbl(CCur(1.25))", "Double|1.25"},
        {"CLng(CCur(2.5))", "Long|2"},
        {"CInt(CCur(3.5))", "Integer|4"},
        {"CCur(3) = 3", "Boolean|True"},
        {"CCur(1.5) > 1.4999", "Boolean|True"},
        {"CBool(CCur(0))", "Boolean|False"},
    });
}

TEST(ScriptCurrency, ArithmeticKeepsFourDecimalsAndOverflows) {
    checkAll({
        {"CCur(1.1) + CCur(2.2)", "Currency|3.3"},
        {"CCur(1.1) + 2", "Currency|3.1"},
        {"2 - CCur(0.0001)", "Currency|1.9999"},
        {"CCur(1.5) + CLng(100000)", "Currency|100001.5"},
        {"CCur(1.5) + 0.25", "Currency|1.75"},
        {"CCur(1) + 0.00004", "Currency|1"},
        {"CCur(1.5) * CCur(1.5)", "Currency|2.25"},
        {"CCur(0.0001) * CCur(0.5)", "Currency|0"},
        {"CCur(0.0003) * CCur(0.5)", "Currency|0.0002"},
        {"CCur(1.5) * 3", "Currency|4.5"},
        {"CCur(1.5) * 0.5", "Double|0.75"},
        {"CCur(1.5) * CSng(2)", "Currency|3"},
        {"CCur(3) / CCur(2)", "Double|1.5"},
        {"CCur(7) \\ 2", "Long|3"},
        {"CCur(7) Mod 2", "Long|1"},
        {"-CCur(2.5)", "Currency|-2.5"},
        {"CCur(900000000000000) + CCur(900000000000000)", "ERR 6"},
        {"CCur(900000000000000) * 100", "ERR 6"},
        {"CCur(1) + Null", "Null|"},
        {"CCur(1) & \"x\"", "String|1x"},
        {"Abs(CCur(-2.5))", "Currency|2.5"},
        {"Int(CCur(-2.5))", "Currency|-3"},
        {"Fix(CCur(-2.5))", "Currency|-2"},
        {"Round(CCur(2.345), 2)", "Currency|2.34"},
        {"Sgn(CCur(-0.0001))", "Integer|-1"},
    });
}

TEST(ScriptFormat, NumberCurrencyAndPercentAsAChineseSystemShowsThem) {
    checkAll({
        {"FormatNumber(1234.5)", "String|1,234.50"},
        {"FormatNumber(1234567.891, 2)", "String|1,234,567.89"},
        {"FormatNumber(-1234.5)", "String|-1,234.50"},
        {"FormatNumber(2.5, 0)", "String|3"},
        {"FormatNumber(0.125, 2)", "String|0.13"},
        {"FormatNumber(0.5, 2, 0)", "String|.50"},
        {"FormatNumber(-0.5, 2, vbFalse)", "String|-.50"},
        {"FormatNumber(-1234.5, 1, -1, -1)", "String|(1,234.5)"},
        {"FormatNumber(1234.5, 2, -1, 0, 0)", "String|1234.50"},
        {"FormatNumber(1234.5, -1, -2, -2, -2)", "String|1,234.50"},
        {"FormatNumber(999.999, 2)", "String|1,000.00"},
        {"FormatNumber(1E20, 0)", "String|100,000,000,000,000,000,000"},
        {"FormatNumber(0.000001, 3)", "String|0.000"},
        {"FormatNumber(-0.001, 2)", "String|0.00"},
        {"FormatNumber(#1/1/2000#, 0)", "String|36,526"},
        {"FormatNumber(\"12.5\", 1)", "String|12.5"},
        {"FormatNumber(CCur(922337203685477.5), 4)", "String|922,337,203,685,477.5000"},
        {"FormatNumber(\"abc\")", "ERR 13"},
        {"FormatNumber(1, -2)", "ERR 5"},
        {"FormatCurrency(1234.5)", "String|¥1,234.50"},
        {"FormatCurrency(-1234.5)", "String|-¥1,234.50"},
        {"FormatCurrency(-1234.5, 0, -1, -1)", "String|(¥1,235)"},
        {"FormatCurrency(CCur(0.5), 2, 0)", "String|¥.50"},
        {"FormatCurrency(1234567, 2, -1, 0, 0)", "String|¥1234567.00"},
        {"FormatPercent(0.1234)", "String|12.34%"},
        {"FormatPercent(1.5, 0)", "String|150%"},
        {"FormatPercent(-0.005, 1)", "String|-0.5%"},
        {"FormatPercent(-0.005, 1, -1, -1)", "String|(0.5%)"},
        {"FormatPercent(12.345, 1)", "String|1,234.5%"},
        {"FormatPercent(0.005, 1, 0)", "String|.5%"},
    });
}

TEST(ScriptText, FilterEscapeAndByteFunctions) {
    const char* const cases[][2] = {
        {"Main = Join(Filter(Array(\"Mon\", \"Tue\", \"mod\"), \"Mo\"), \",\")", "Mon"},
        {"Main = Join(Filter(Array(\"Mon\", \"Tue\", \"mod\"), \"Mo\", True, vbTextCompare), \",\")", "Mon,mod"},
        {"Main = Join(Filter(Array(\"Mon\", \"Tue\", \"mod\"), \"Mo\", False), \",\")", "Tue,mod"},
        {"Main = UBound(Filter(Array(\"a\", \"b\"), \"z\"))", "-1"},
        {"Main = Join(Filter(Array(1, 12, 3), 1), \",\")", "1,12"},
        {"Main = Filter(\"abc\", \"a\")", "ERR 13"},
        {"Main = Escape(\"a b+c/d@e*f_g-h.i\")", "a%20b+c/d@e*f_g-h.i"},
        {"Main = Escape(\"100%&=?\" & ChrW(233) & \"中\")", "100%25%26%3D%3F%E9%u4E2D"},
        {"Main = Unescape(\"a%20b%u4E2D%E9\")", "a b中é"},
        {"Main = Unescape(\"%zz%4%u12\")", "%zz%4%u12"},
        {"Main = Unescape(Escape(\"你好, world! 100%\"))", "你好, world! 100%"},
        {"Main = Escape(Null)", "ERR 94"},
        {"Main = LenB(\"abc\") & \" \" & LenB(\"中文\") & \" \" & LenB(\"\")", "6 4 0"},
        {"Main = AscB(\"A\") & \" \" & AscB(\"中\") & \" \" & AscW(\"中\")", "65 45 20013"},
        {"Main = LeftB(\"abcd\", 4) & \"|\" & RightB(\"abcd\", 2) & \"|\" & MidB(\"abcd\", 3, 4)", "ab|d|bc"},
        {"Main = InStrB(\"abcb\", \"b\") & \" \" & InStrB(4, \"abcb\", \"b\") & \" \" & InStrB(\"abc\", \"z\")", "3 7 0"},
        {"Main = AscB(ChrB(200)) & \" \" & AscB(MidB(\"ab\", 3, 2))", "200 98"},
        {"Main = ChrB(256)", "ERR 6"},
        {"Main = AscB(\"\")", "ERR 5"},
        {"Main = MidB(\"ab\", 0)", "ERR 5"},
    };
    checkPrograms(cases);
}

TEST(ScriptBuiltins, EngineLocaleColourAndErrHelp) {
    const char* const cases[][2] = {
        {"Main = ScriptEngine & \" \" & ScriptEngineMajorVersion & \".\" & ScriptEngineMinorVersion", "VBScript 5.8"},
        {"Main = TypeName(ScriptEngineBuildVersion) & (ScriptEngineBuildVersion > 0)", "LongTrue"},
        {"Main = GetLocale()", "2052"},
        {"Main = SetLocale(\"en-us\") & \" \" & GetLocale & \" \" & SetLocale(2052) & \" \" & GetLocale", "2052 1033 1033 2052"},
        {"SetLocale 1033\n  Main = FormatNumber(1234.5) & \" \" & SetLocale(\"zh-cn\")", "1,234.50 1033"},
        {"Main = SetLocale(0) & GetLocale", "20522052"},
        {"Main = SetLocale(\"xx-yy\")", "ERR 5"},
        {"Main = SetLocale(99999)", "ERR 447"},
        {"Main = RGB(255, 0, 0) & \" \" & RGB(0, 128, 0) & \" \" & RGB(1, 2, 3)", "255 32768 197121"},
        {"Main = RGB(300, 300, 300) = vbWhite", "True"},
        {"Main = TypeName(RGB(0, 0, 255)) & RGB(0, 0, 255)", "Long16711680"},
        {"Main = RGB(-1, 0, 0)", "ERR 5"},
        {"On Error Resume Next\n  Err.Raise 1000, \"src\", \"d\", \"help.chm\", 42\n"
         "  Main = Err.HelpFile & \"|\" & Err.HelpContext & \"|\" & TypeName(Err.HelpContext)",
         "help.chm|42|Long"},
        {"On Error Resume Next\n  Err.Raise 1000, \"src\", \"d\", \"help.chm\", 42\n  Err.Clear\n"
         "  Main = \"[\" & Err.HelpFile & \"]\" & Err.HelpContext",
         "[]0"},
        {"On Error Resume Next\n  x = 1 / 0\n  Main = \"[\" & Err.HelpFile & \"]\" & Err.HelpContext", "[]0"},
        {"Err.Number = 5\n  Err.Description = \"说明\"\n  Err.Source = \"来源\"\n  Err.HelpFile = \"f\"\n"
         "  Err.HelpContext = 3\n  Main = Err.Number & Err.Description & Err.Source & Err.HelpFile & Err.HelpContext",
         "5说明来源f3"},
        {"Err.Number = 5\n  Err.Clear\n  Main = Err.Number & \"[\" & Err.Description & \"]\"", "0[]"},
        {"Err.Number = \"x\"", "ERR 13"},
    };
    checkPrograms(cases);
}

TEST(ScriptBuiltins, LeftOutArgumentsTakeTheFunctionsDefaults) {
    const char* const cases[][2] = {
        {"Main = FormatNumber(-1234.5, , , -1)", "(1,234.50)"},
        {"Main = FormatCurrency(1234.5, , , , 0)", "¥1234.50"},
        {"Main = FormatPercent(0.5, , 0)", "50.00%"},
        {"Main = Replace(\"aAaA\", \"a\", \"x\", , , vbTextCompare)", "xxxx"},
        {"Main = Join(Split(\"a b c\", , 2), \"|\")", "a|b c"},
        {"Main = UBound(Split(\"aXbxc\", \"x\", , vbTextCompare))", "2"},
        {"Main = InStrRev(\"abcabc\", \"B\", , 1)", "5"},
        {"Main = Join(Filter(Array(\"ab\", \"cd\"), \"A\", , 1), \",\")", "ab"},
        {"Main = DateDiff(\"ww\", #12/1/2026#, #12/31/2026#, , )", "4"},
        {"Main = FormatNumber(2, 1, )", "2.0"},
        {"MsgBox \"提示\", , \"标题\"\n  Main = MsgBox(\"提示\", , \"标题\")", "1"},
        {"On Error Resume Next\n  Err.Raise 1000, , \"说明\"\n  Main = Err.Description & \"|\" & Err.Source",
         "说明|Microsoft VBScript 运行时错误"},
        {"Main = Copy(1, , 2)", "COMPILE 1002"},
        {"Dim a(2)\n  a(1, ) = 3", "COMPILE 1002"},
    };
    checkPrograms(cases);
}

TEST(ScriptBuiltins, NumberTextReadsTheThousandsSeparatorAndCurrencySign) {
    checkAll({
        {"CDbl(\"1,234.5\")", "Double|1234.5"},
        {"CCur(\"1,234.5\")", "Currency|1234.5"},
        {"CLng(\"1,2,3\")", "Long|123"},
        {"IsNumeric(\"1,000\")", "Boolean|True"},
        {"\"1,000\" + 1", "Double|1001"},
        {"CDbl(FormatNumber(1234567.5))", "Double|1234567.5"},
        {"IsNumeric(\",1\")", "Boolean|False"},
        {"IsNumeric(\"1,\")", "Boolean|False"},
        {"IsNumeric(\"1,,2\")", "Boolean|False"},
        {"IsNumeric(\"1.2,3\")", "Boolean|False"},
        {"IsNumeric(\"1,2e3\")", "Boolean|True"},
        {"CCur(\"¥1,234.50\")", "Currency|1234.5"},
        {"CDbl(FormatCurrency(-1234.5))", "Double|-1234.5"},
        {"IsNumeric(\"¥12\")", "Boolean|True"},
        {"IsNumeric(\"¥\")", "Boolean|False"},
        {"IsNumeric(\"¥¥12\")", "Boolean|False"},
        {"IsNumeric(\"12¥\")", "Boolean|False"},
    });
}

TEST(ScriptBuiltins, RadixTextCompareModesAndSubtypeNames) {
    checkAll({
        {"Hex(CLng(-1))", "String|FFFFFFFF"},
        {"Hex(-1.5)", "String|FFFFFFFE"},
        {"Hex(CCur(-1))", "String|FFFFFFFF"},
        {"Hex(CByte(255))", "String|FF"},
        {"Oct(-1)", "String|177777"},
        {"Oct(CLng(-8))", "String|37777777770"},
        {"Hex(2147483648)", "ERR 6"},
        {"InStr(1, \"ABC\", \"b\", vbTextCompare)", "Long|2"},
        {"InStr(1, \"ABC\", \"b\", vbBinaryCompare)", "Long|0"},
        {"InStrRev(\"aXbx\", \"X\", -1, vbTextCompare)", "Long|4"},
        {"StrComp(\"a\", \"B\", vbTextCompare)", "Integer|-1"},
        {"StrComp(\"a\", \"B\")", "Integer|1"},
        {"StrComp(\"ABC\", \"abc\", 1)", "Integer|0"},
        {"Replace(\"aAbB\", \"A\", \"-\", 1, -1, vbTextCompare)", "String|--bB"},
        {"Join(Split(\"1A2a3\", \"a\", -1, 1), \",\")", "String|1,2,3"},
        {"String(2, 300)", "String|,,"},
        {"StrComp(\"a\", \"b\", 2)", "ERR 5"},
        {"TypeName(CCur(1)) & VarType(CCur(1))", "String|Currency6"},
        {"TypeName(#1/2/2026#) & VarType(#1/2/2026#)", "String|Date7"},
        {"TypeName(CByte(1)) & VarType(CByte(1))", "String|Byte17"},
        {"TypeName(CSng(1)) & VarType(CSng(1))", "String|Single4"},
        {"TypeName(Null) & VarType(Null)", "String|Null1"},
        {"TypeName(Empty) & VarType(Empty)", "String|Empty0"},
        {"TypeName(Array()) & VarType(Array())", "String|Variant()8204"},
        {"TypeName(Nothing) & VarType(Nothing)", "String|Nothing9"},
    });
}

TEST(ScriptBuiltins, ResetAndEachConditionStartWithTheSystemLocale) {
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QStringLiteral("SetLocale \"en-us\"\nFunction L()\n  L = GetLocale\nEnd Function\n")));
    Variant r;
    ASSERT_TRUE(e.run(QStringLiteral("L"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("1033"));
    e.reset();
    ASSERT_TRUE(e.addCode(QStringLiteral("Function L()\n  L = GetLocale\nEnd Function\n")));
    ASSERT_TRUE(e.run(QStringLiteral("L"), {}, &r));
    EXPECT_EQ(r.toString(), QStringLiteral("2052"));

    // The first evaluation switches the locale; the next one still starts from the system's.
    script::ScriptCondition c;
    ASSERT_TRUE(c.compile(QStringLiteral("SetLocale(1033) = 2052")));
    Variant series = Variant::makeArray(std::vector<Variant>(6, Variant(1)));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(c.evaluate(series, &r));
        EXPECT_EQ(r.toString(), QStringLiteral("1")) << i;
    }
}
