// Classes, object references, the built-in objects, code from text, and the boxes a script
// shows: script programs whose Main() result is checked, and tables of run-time errors.
#include "scriptengine.h"
#include "sanitized.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

using script::ScriptEngine;
using script::Variant;

namespace {

// Main()'s value as text, "ERR n" for a run-time error, "COMPILE n" when the code is refused.
QString runMain(ScriptEngine& e, const char* code) {
    if (!e.addCode(QString::fromUtf8(code)))
        return QStringLiteral("COMPILE %1 %2").arg(e.lastError().number).arg(e.lastError().description);
    Variant r;
    if (!e.run(QStringLiteral("Main"), {}, &r))
        return QStringLiteral("ERR %1").arg(e.lastError().number);
    return r.toString();
}

QString runMain(const char* code) {
    ScriptEngine e;
    return runMain(e, code);
}

struct Program {
    const char* name;
    const char* code;
    const char* expected;
};

void runAll(const std::vector<Program>& programs) {
    for (const Program& p : programs)
        EXPECT_EQ(runMain(p.code).toStdString(), p.expected) << p.name;
}

const char* kBox = R"VB(
Class Box
  Public v
End Class
)VB";

std::string withBox(const char* code) {
    return std::string(kBox) + code;
}

}  // namespace

TEST(ScriptClasses, MembersPropertiesAndMe) {
    runAll({
        {"fields, methods, Property Get/Let, Me, Class_Initialize", R"VB(
Class Counter
  Private n
  Public Name
  Private Sub Class_Initialize()
    n = 10
    Name = "c"
  End Sub
  Public Sub Add(k)
    n = n + k
  End Sub
  Public Property Get Value()
    Value = n
  End Property
  Public Property Let Value(v)
    n = v * 2
  End Property
  Public Function Twice()
    Twice = Me.Value * 2
  End Function
End Class
Function Main()
  Dim c
  Set c = New Counter
  c.Add 5
  r = c.Value & ","
  c.Value = 4
  Main = r & c.Value & "," & c.Twice() & "," & c.Name & "," & TypeName(c) & "," & VarType(c) & "," & IsObject(c)
End Function
)VB", "15,8,16,c,Counter,9,True"},
        {"Property with arguments, Property Set, array field, chains", R"VB(
Class Box
  Public v
End Class
Class Holder
  Private items(3)
  Private mObj
  Public Property Get Item(i)
    Item = items(i)
  End Property
  Public Property Let Item(i, v)
    items(i) = v
  End Property
  Public Property Set Obj(o)
    Set mObj = o
  End Property
  Public Property Get Obj()
    Set Obj = mObj
  End Property
End Class
Function Main()
  Set h = New Holder
  h.Item(2) = "z"
  Set h.Obj = New Box
  h.Obj.v = 5
  Main = h.Item(2) & h.Obj.v & TypeName(h.Obj) & IsEmpty(h.Item(1))
End Function
)VB", "z5BoxTrue"},
        {"members declared after the methods that use them; a member hides a built-in name", R"VB(
Class Text
  Public Function Replace(a)
    Replace = "[" & a & Sep & "]"
  End Function
  Public Sep
End Class
Function Main()
  Set t = New Text
  t.Sep = "-"
  Main = t.Replace("x") & Replace("aa", "a", "b")
End Function
)VB", "[x-]bb"},
        {"Default property and method, With and nested With", R"VB(
Class P
  Public Default Property Get Name()
    Name = "p" & v
  End Property
  Public v
  Public Child
End Class
Class F
  Public Default Function Twice(x)
    Twice = x * 2
  End Function
End Class
Function Main()
  Dim o
  Set o = New P
  o.v = 1
  Set o.Child = New P
  With o
    .v = 2
    With .Child
      .v = 3
    End With
    r = .Name & "," & .Child.Name
  End With
  Set f = New F
  Main = r & "," & o & "," & (o = "p2") & "," & Len(o) & "," & f(21)
End Function
)VB", "p2,p3,p2,True,2,42"},
        {"one member access used with objects of different classes, also redefined ones", R"VB(
Class A
  Public x, y
End Class
Class B
  Public y
End Class
Function GetY(o)
  GetY = o.y
End Function
Function Main()
  Set a = New A
  a.y = 1
  Set b = New B
  b.y = 2
  r = GetY(a) & GetY(b) & GetY(a)
  ExecuteGlobal "Class K : Public p, q, y : End Class"
  Set k1 = New K
  k1.y = 3
  ExecuteGlobal "Class K : Public y : End Class"
  Set k2 = New K
  k2.y = 4
  Main = r & GetY(k1) & GetY(k2) & GetY(k1)
End Function
)VB", "121343"},
        {"Exit Property and a one-line class", R"VB(
Class Q : Public a : End Class
Class R
  Public Property Get Sign(x)
    Sign = "+"
    If x < 0 Then Sign = "-" : Exit Property
    Sign = Sign & "0"
  End Property
End Class
Function Main()
  Set q = New Q
  q.a = 1
  Set r = New R
  Main = q.a & r.Sign(-1) & r.Sign(1)
End Function
)VB", "1-+0"},
    });
}

TEST(ScriptClasses, TerminateRunsWhenTheLastReferenceGoes) {
    runAll({
        {"Set Nothing, copies, temporaries, locals, Erase", R"VB(
Dim trace
Class T
  Public Id
  Private Sub Class_Terminate()
    trace = trace & "~" & Id
  End Sub
End Class
Function Make(i)
  Set Make = New T
  Make.Id = i
End Function
Sub Scope()
  Dim t
  Set t = Make(4)
  trace = trace & "s"
End Sub
Function Main()
  Dim a, b
  Set a = Make(1)
  Set b = a
  Set a = Nothing
  trace = trace & "|"
  Set b = Nothing
  trace = trace & "|"
  Make 2
  trace = trace & "|"
  Dim arr(1)
  Set arr(0) = Make(3)
  Erase arr
  trace = trace & "|"
  Scope
  trace = trace & "|"
  Set a = Make(5)
  Set a = Make(6)
  Main = trace
End Function
)VB", "|~1|~2|~3|s~4|~5"},
        {"Me inside Class_Terminate, terminate of a chain of objects", R"VB(
Dim trace
Class Node
  Public Id, Nxt
  Private Sub Class_Terminate()
    trace = trace & TypeName(Me) & Id
  End Sub
End Class
Function Main()
  Dim head, n
  Set head = Nothing
  For i = 1 To 3
    Set n = New Node
    n.Id = i
    Set n.Nxt = head
    Set head = n
  Next
  Set n = Nothing
  Set head = Nothing
  Main = trace
End Function
)VB", "Node3Node2Node1"},
    });
}

TEST(ScriptClasses, LongChainsOfObjectsAreReleasedWithoutDeepRecursion) {
    ScriptEngine e;
    EXPECT_EQ(runMain(e, R"VB(
Class Node
  Public Nxt
End Class
Function Main()
  Dim head, n
  Set head = Nothing
  For i = 1 To 200000
    Set n = New Node
    Set n.Nxt = head
    Set head = n
  Next
  Set n = Nothing
  Set head = Nothing
  Main = "ok"
End Function
)VB").toStdString(), "ok");
}

TEST(ScriptClasses, ObjectsInArraysAndArguments) {
    runAll({
        {"array elements share the object; ByRef Set reaches the caller", withBox(R"VB(
Sub Renew(o)
  Set o = New Box
  o.v = "new"
End Sub
Sub Touch(ByVal o)
  o.v = o.v & "!"
  Set o = Nothing
End Sub
Function Main()
  Dim a(2)
  For i = 0 To 2
    Set a(i) = New Box
    a(i).v = i
  Next
  Set b = a(1)
  b.v = "x"
  r = a(1).v
  Renew b
  Touch a(2)
  r = r & b.v & a(1).v & a(2).v
  n = 0
  For Each o In a
    If o Is a(0) Then n = n + 1
  Next
  Main = r & n & (a(0) Is a(1)) & (b Is Nothing)
End Function
)VB").c_str(), "xnewx2!1FalseFalse"},
    });
}

TEST(ScriptClasses, ObjectErrors) {
    struct Case {
        const char* body;
        int number;
    };
    const Case cases[] = {
        {"Dim o\nIf o Is Nothing Then x = 1", 424},
        {"Set o = Nothing\nx = o.v", 91},
        {"Set o = Nothing\nx = o + 1", 91},
        {"Set o = New Box\nx = o.Missing", 438},
        {"Set o = New Box\nx = o", 438},
        {"Set o = New Box\no.Hidden = 1", 438},
        {"x = 5\nSet y = x", 424},
        {"x = 5\nx.v = 1", 424},
        {"Set o = New Undefined", 500},
        {"Set o = New Box\nFor Each x In o\nNext", 451},
        {"Set o = CreateObject(\"Scripting.FileSystemObject\")", 429},
        {"Set o = GetObject(\"winmgmts:\")", 429},
        {"Set f = GetRef(\"NoSuchProc\")", 5},
    };
    for (const Case& c : cases) {
        const std::string code = std::string(R"VB(
Class Box
  Public v
  Private Hidden
End Class
Function Main()
)VB") + c.body + "\nEnd Function\n";
        EXPECT_EQ(runMain(code.c_str()).toStdString(), "ERR " + std::to_string(c.number)) << c.body;
    }
    // Caught like any other error, with the description in Chinese.
    EXPECT_EQ(runMain(R"VB(
Function Main()
  On Error Resume Next
  Set o = Nothing
  x = o.v
  Main = Err.Number & " " & Err.Description
End Function
)VB").toStdString(), "91 对象变量未设置");
}

TEST(ScriptObjects, Dictionary) {
    runAll({
        {"Add, Item, default Item, Key, Exists, Remove, Keys, Items, Count, For Each", R"VB(
Function Main()
  Set d = CreateObject("Scripting.Dictionary")
  d.Add "a", 1
  d.Add "b", 2
  d("c") = 3
  d.Item("a") = 10
  r = d.Count & "," & d("a") & "," & d.Exists("b") & "," & d.Exists("z")
  x = d("new")
  r = r & "," & d.Count & "," & IsEmpty(x)
  d.Key("b") = "bb"
  r = r & "," & Join(d.Keys, "") & "," & Join(d.Items, "")
  d.Remove "a"
  For Each k In d
    r = r & k
  Next
  d.RemoveAll
  Main = r & d.Count & TypeName(d)
End Function
)VB", "3,10,True,False,4,True,abbcnew,1023bbcnew0Dictionary"},
        {"keys by value and subtype, CompareMode, objects as items", R"VB(
Class Box
  Public v
End Class
Function Main()
  Set d = CreateObject("Scripting.Dictionary")
  d.Add 1, "one"
  r = d.Exists(1.0) & d.Exists(CByte(1)) & d.Exists("1")
  Set t = CreateObject("scripting.dictionary")
  t.CompareMode = vbTextCompare
  t.Add "Key", 1
  r = r & t.Exists("KEY") & t.CompareMode
  Set b = New Box
  b.v = 7
  Set d("box") = b
  d("box").v = 8
  Main = r & b.v & d.Item("box").v
End Function
)VB", "TrueTrueFalseTrue188"},
    });
    struct Case {
        const char* body;
        int number;
    };
    const Case cases[] = {
        {"d.Add \"a\", 1\nd.Add \"a\", 2", 457},
        {"d.Remove \"zz\"", 32811},
        {"d.Key(\"zz\") = \"y\"", 32811},
        {"d.Add \"a\", 1\nd.Add \"b\", 2\nd.Key(\"a\") = \"b\"", 457},
        {"d.Add \"a\", 1\nd.CompareMode = 1", 5},
        {"d.Add \"\", 1\nd.Add 0, 2\nd.Add Empty, 3", 457},
        {"d.Add Empty, 1\nd.Add \"\", 2", 457},
        {"d.Add Empty, 1\nd.Add 0, 2", 457},
        {"d.Frobnicate", 438},
        {"d.Add \"a\"", 450},
        {"x = d", 450},
    };
    for (const Case& c : cases) {
        const std::string code = std::string("Function Main()\nSet d = CreateObject(\"Scripting.Dictionary\")\n") +
                                 c.body + "\nEnd Function\n";
        EXPECT_EQ(runMain(code.c_str()).toStdString(), "ERR " + std::to_string(c.number)) << c.body;
    }
}

TEST(ScriptObjects, RegExp) {
    runAll({
        {"Execute, Matches, Match, SubMatches, Replace, Test, flags", R"VB(
Function Main()
  Set re = New RegExp
  re.Pattern = "(\d+)-(\d+)"
  re.Global = True
  Set ms = re.Execute("a 12-34 b 5-6")
  r = ms.Count & "," & ms(0) & "," & ms(0).FirstIndex & "," & ms(0).Length & "," & ms(1).SubMatches(1) & "," & ms.Item(1).Value
  For Each m In ms
    r = r & "|" & m.SubMatches(0) & m.SubMatches.Count
  Next
  r = r & "," & re.Replace("a 12-34 b 5-6", "$2:$1") & "," & re.Test("x")
  re.Global = False
  r = r & "," & re.Replace("1-2 3-4", "[$&]")
  re.Pattern = "^abc$"
  re.IgnoreCase = True
  r = r & "," & re.Test("ABC") & re.Test("abc" & vbLf)
  re.Multiline = True
  re.Pattern = "^b"
  r = r & "," & re.Test("a" & vbLf & "b") & re.Global & re.IgnoreCase & re.Pattern
  Main = r
End Function
)VB", "2,12-34,2,5,6,5-6|122|52,a 34:12 b 6:5,False,[1-2] 3-4,TrueFalse,TrueFalseTrue^b"},
        {"replacement forms, empty matches, optional groups, CreateObject", R"VB(
Function Main()
  Set re = CreateObject("VBScript.RegExp")
  re.Global = True
  re.Pattern = "b"
  r = re.Replace("abc", "[$`|$'|$$|$0]")
  re.Pattern = "x*"
  r = r & "," & re.Replace("ab", "-")
  re.Pattern = "(a)|(b)"
  Set ms = re.Execute("b")
  r = r & "," & IsEmpty(ms(0).SubMatches(0)) & ms(0).SubMatches(1)
  re.Pattern = "\u0041+"
  r = r & "," & re.Replace("xAAy", "_")
  Main = r
End Function
)VB", "a[a|c|$|$0]c,-a-b-,Trueb,x_y"},
    });
    EXPECT_EQ(runMain("Function Main()\nSet re = New RegExp\nre.Pattern = \"(\"\nMain = re.Test(\"a\")\nEnd Function\n")
                  .toStdString(),
              "ERR 5017");
}

TEST(ScriptDynamicCode, ExecuteExecuteGlobalEvalGetRef) {
    runAll({
        {"locals, module names, definitions made from text, function references", R"VB(
Dim g
Function Add2(a, b)
  Add2 = a + b
End Function
Function Main()
  Dim x
  x = 5
  Execute "x = x * 2"
  ExecuteGlobal "g = 7 : Function Tripled(n) : Tripled = n * 3 : End Function"
  Set f = GetRef("Add2")
  r = x & "," & g & "," & Tripled(2) & "," & Eval("x + g") & "," & Eval("x = 10") & "," & f(1, 2) & "," & TypeName(f)
  Execute "Class K : Public V : End Class"
  Set k = New K
  k.V = 9
  For i = 1 To 3
    s = s & Eval("i * i")
  Next
  Main = r & "," & k.V & "," & s
End Function
)VB", "10,7,6,17,True,3,Object,9,149"},
        {"Eval inside a method sees the object's members", R"VB(
Class C
  Private secret
  Private Sub Class_Initialize()
    secret = 41
  End Sub
  Public Function Peek()
    Peek = Eval("secret + 1")
  End Function
End Class
Function Main()
  Set c = New C
  Main = c.Peek()
End Function
)VB", "42"},
    });
}

// Code and names given to Eval, Execute, ExecuteGlobal and GetRef: what they take, and the
// errors of the code they compile.
TEST(ScriptDynamicCode, ArgumentsAndCompileErrorsOfCodeFromText) {
    struct Case {
        const char* body;
        const char* expected;
    };
    const Case cases[] = {
        {"Execute 123", "ERR 13"},
        {"ExecuteGlobal 123", "ERR 13"},
        {"Execute Null", "ERR 13"},
        {"Execute \"\"\nExecuteGlobal \"\"\nMain = 1", "1"},
        {"Main = IsNull(Eval(Null))", "True"},
        {"Main = TypeName(Eval(5)) & Eval(5) & TypeName(Eval(\"5\"))", "Integer5Integer"},
        {"Set f = GetRef(1)", "ERR 13"},
        {"Set f = GetRef(\"NoSuchProcedure\")", "ERR 5"},
        // A compilation error is raised where the code runs, as a compilation error.
        {"Main = Eval(\"1 +\")", "ERR 1002"},
        {"On Error Resume Next\nx = Eval(\"1 +\")\nMain = Err.Number & \"|\" & Err.Source & \"|\" & Err.Description",
         "1002|Microsoft VBScript 编译器错误|语法错误"},
        {"On Error Resume Next\nExecute \"x = 1 +\"\nMain = Err.Number & \"|\" & Err.Source",
         "1002|Microsoft VBScript 编译器错误"},
        {"On Error Resume Next\nExecute \"x = 1 / 0\"\nMain = Err.Number & \"|\" & Err.Source",
         "11|Microsoft VBScript 运行时错误"},
        // Declarations made again from text.
        {"ExecuteGlobal \"Dim a()\"\nExecuteGlobal \"Dim a()\"\nMain = 1", "ERR 13"},
        {"ExecuteGlobal \"Dim b\"\nExecuteGlobal \"Dim b\"\nMain = 1", "1"},
        {"ExecuteGlobal \"Dim k\"\nExecuteGlobal \"Const k = 5\"\nMain = k", "ERR 1041"},
        {"ExecuteGlobal \"Const c = 5\"\nExecuteGlobal \"Const c = 5\"\nMain = c", "5"},
        // Option Explicit holds for the text that says it, not for the texts that follow.
        {"ExecuteGlobal \"Option Explicit\"\nExecuteGlobal \"zz = 1\"\nMain = 1", "1"},
        {"On Error Resume Next\nExecuteGlobal \"Option Explicit\"\nExecute \"newName = 1\"\nMain = Err.Number", "0"},
        {"On Error Resume Next\nExecuteGlobal \"Option Explicit : zz = 1\"\nMain = Err.Number", "500"},
        {"ExecuteGlobal \"Option Explicit : Dim n : n = 2\"\nMain = Eval(\"n + 1\")", "3"},
    };
    for (const Case& c : cases) {
        const std::string code = std::string("Function Main()\n") + c.body + "\nEnd Function\n";
        EXPECT_EQ(runMain(code.c_str()).toStdString(), c.expected) << c.body;
    }
    // A constant cannot take the name of a variable declared in the same scope.
    for (const char* code : {"Dim k\nConst k = 5", "Function F(a)\n  Const a = 1\nEnd Function",
                             "Sub S()\n  Dim v\n  Const v = 2\nEnd Sub"})
        EXPECT_EQ(runMain(code).left(12).toStdString(), "COMPILE 1041") << code;
    // Option Explicit in one added text leaves the next text free, also its procedures.
    ScriptEngine e;
    EXPECT_FALSE(e.addCode(QStringLiteral("Option Explicit\nFunction F()\n F = 1\nEnd Function\nstrictName = 1")));
    EXPECT_EQ(e.lastError().number, 500);
    EXPECT_TRUE(e.addCode(QStringLiteral("laterName = 1\nFunction G()\n other = 2: G = other\nEnd Function")));
    Variant g;
    EXPECT_TRUE(e.run(QStringLiteral("G"), {}, &g));
    EXPECT_EQ(g.toLong(), 2);
    EXPECT_TRUE(e.addCode(QStringLiteral("Option Explicit\nFunction H()\n H = undeclaredName\nEnd Function")));
    EXPECT_FALSE(e.run(QStringLiteral("H"), {}, &g));
    EXPECT_EQ(e.lastError().number, 500);
}

namespace {
struct FakeHost : script::ScriptHost {
    QStringList seen;
    int answer = 6;
    std::optional<QString> text = QStringLiteral("abc");
    int msgBox(const QString& prompt, int buttons, const QString& title) override {
        seen << QStringLiteral("%1|%2|%3").arg(prompt).arg(buttons).arg(title);
        return answer;
    }
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& def) override {
        seen << QStringLiteral("%1|%2|%3").arg(prompt, title, def);
        return text;
    }
};
}  // namespace

TEST(ScriptHostBoxes, MsgBoxAndInputBoxGoThroughTheHost) {
    const char* code = R"VB(
Function Main()
  a = MsgBox("继续吗?", 4 + 32, "提示")
  b = InputBox("数字", "输入", "5")
  MsgBox "完成"
  Main = a & "," & b & "," & (a = 6)
End Function
)VB";
    {
        ScriptEngine e;
        EXPECT_EQ(runMain(e, code).toStdString(), "1,,False");  // no host: OK and an empty answer
    }
    FakeHost host;
    ScriptEngine e;
    e.setHost(&host);
    EXPECT_EQ(runMain(e, code).toStdString(), "6,abc,True");
    EXPECT_EQ(host.seen, (QStringList{QStringLiteral("继续吗?|36|提示"), QStringLiteral("数字|输入|5"),
                                      QStringLiteral("完成|0|")}));
    host.text.reset();  // cancelled
    host.answer = 7;
    EXPECT_EQ(runMain(e, code).toStdString(), "7,,False");
}

// Objects the module still holds are released (Class_Terminate runs) by reset() and when the
// engine goes, while the engine is still whole.
TEST(ScriptClasses, ModuleObjectsTerminateOnResetAndAtTheEnd) {
    FakeHost host;
    const QString code = QStringLiteral(R"VB(
Class T
  Public Id
  Private Sub Class_Terminate()
    MsgBox "bye " & Id
  End Sub
End Class
Set keep = New T
keep.Id = n
)VB");
    {
        ScriptEngine e;
        e.setHost(&host);
        ASSERT_TRUE(e.addCode(QStringLiteral("n = 1\n") + code));
        EXPECT_TRUE(host.seen.isEmpty());
        e.reset();
        EXPECT_EQ(host.seen, QStringList{QStringLiteral("bye 1|0|")});
        ASSERT_TRUE(e.addCode(QStringLiteral("n = 2\n") + code));
        // Replacing the reference releases the first object at once.
        ASSERT_TRUE(e.addCode(QStringLiteral("n = 3\n") + code));
        EXPECT_EQ(host.seen.size(), 2);
    }
    EXPECT_EQ(host.seen, (QStringList{QStringLiteral("bye 1|0|"), QStringLiteral("bye 2|0|"),
                                      QStringLiteral("bye 3|0|")}));
}

// Class_Terminate run between the host's calls or at the engine's end keeps the engine's
// limits: endless recursion through a default property and an endless loop both just stop.
TEST(ScriptClasses, TerminateOutsideAHostCallIsLimitedToo) {
    const char* code = R"VB(
Class Loops
  Public Default Property Get Self()
    Set Self = Me
  End Property
  Private Sub Class_Terminate()
    x = Me & ""
  End Sub
End Class
Class Spins
  Private Sub Class_Terminate()
    Do
    Loop
  End Sub
End Class
Set a = New Loops
Set b = New Spins
Function Keep()
  Set Keep = New Loops
End Function
)VB";
    Variant held;
    {
        ScriptEngine e;
        ASSERT_TRUE(e.addCode(QString::fromUtf8(code))) << e.lastError().text().toStdString();
        ASSERT_TRUE(e.run(QStringLiteral("Keep"), {}, &held));
        EXPECT_TRUE(held.isObject());
        held = Variant();  // released by the host: terminates here
        ASSERT_TRUE(e.run(QStringLiteral("Keep"), {}, &held));
    }
    held = Variant();  // the engine is gone: no script code runs
}

// A terminate that keeps making objects of its own class never ends by itself: the time
// limit and the host's stop request still end the call, and the engine stays usable.
TEST(ScriptClasses, EndlessTerminatesStopAtTheLimits) {
    const QString code = QStringLiteral(
        "Class C\n  Private Sub Class_Terminate()\n    Dim x\n    Set x = New C\n  End Sub\nEnd Class\n"
        "Function Drop()\n  Set o = New C\n  Set o = Nothing\n  Drop = 1\nEnd Function\n"
        "Function Ok()\n  Ok = 7\nEnd Function\n"
        "Function Keep()\n  Set Keep = New C\nEnd Function\n");
    {
        ScriptEngine e;
        e.setTimeout(100);
        ASSERT_TRUE(e.addCode(code));
        EXPECT_FALSE(e.run(QStringLiteral("Drop"), {}));
        EXPECT_EQ(e.lastError().number, script::kErrTimeout);
        EXPECT_EQ(e.lastError().line, 9);
        Variant r;
        EXPECT_TRUE(e.run(QStringLiteral("Ok"), {}, &r));
        EXPECT_EQ(r.toLong(), 7);
        // Released by the host between its calls, twice: each release has its own limit.
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(e.run(QStringLiteral("Keep"), {}, &r));
            r = Variant();
        }
        EXPECT_TRUE(e.run(QStringLiteral("Ok"), {}, &r));
    }
    std::atomic<bool> stop{false};
    ScriptEngine e;
    e.setTimeout(0);
    e.setStopFlag(&stop);
    ASSERT_TRUE(e.addCode(code));
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop = true;
    });
    EXPECT_FALSE(e.run(QStringLiteral("Drop"), {}));
    setter.join();
    EXPECT_EQ(e.lastError().number, script::kErrStopped);
}

// An error inside Class_Terminate is raised by the statement that released the object (Set,
// the end of a procedure with the last reference), where On Error Resume Next sees it.
TEST(ScriptClasses, ErrorsInsideTerminateReachTheReleasingStatement) {
    const char* cls = R"VB(
Class Bad
  Private Sub Class_Terminate()
    Err.Raise 1234, "Bad", "terminate failed"
  End Sub
End Class
Class Twice
  Private Sub Class_Terminate()
    x = 1 / 0
    Err.Raise 5
  End Sub
End Class
Sub Holds()
  Dim b
  Set b = New Bad
End Sub
)VB";
    struct Case {
        const char* name;
        const char* main;
        const char* expected;
    };
    const Case cases[] = {
        {"Set to Nothing fails", "Function Main()\n  Set o = New Bad\n  Set o = Nothing\n  Main = 1\nEnd Function",
         "ERR 1234"},
        {"trapped by the caller",
         "Function Main()\n  On Error Resume Next\n  Set o = New Bad\n  Set o = Nothing\n"
         "  Main = Err.Number & \"|\" & Err.Source & \"|\" & Err.Description\nEnd Function",
         "1234|Bad|terminate failed"},
        {"the terminate stops at its first error",
         "Function Main()\n  On Error Resume Next\n  Set o = New Twice\n  o = Empty\n  Main = Err.Number\nEnd Function",
         "11"},
        {"a local released at the end of a call",
         "Function Main()\n  On Error Resume Next\n  Holds\n  Main = Err.Number\nEnd Function", "1234"},
        {"the statement after the release runs on",
         "Function Main()\n  On Error Resume Next\n  Set o = New Bad\n  Set o = Nothing\n  Err.Clear\n"
         "  Main = \"on \" & Err.Number\nEnd Function",
         "on 0"},
    };
    for (const Case& c : cases) {
        const std::string code = std::string(cls) + c.main;
        EXPECT_EQ(runMain(code.c_str()).toStdString(), c.expected) << c.name;
    }
    // The host's own call fails when a terminate of its last locals does.
    ScriptEngine e;
    ASSERT_TRUE(e.addCode(QString::fromUtf8(cls)));
    EXPECT_FALSE(e.run(QStringLiteral("Holds"), {}));
    EXPECT_EQ(e.lastError().number, 1234);
    EXPECT_EQ(e.lastError().source, QStringLiteral("Bad"));
}

// ReDim Preserve grows and cuts a one-dimensional array in place: values stay, a copy held
// elsewhere keeps its own, the elements cut off go only once the array is whole again.
TEST(ScriptArrays, ReDimPreserveGrowsAndCutsInPlace) {
    runAll({
        {"append one at a time", R"VB(
Function Main()
  ReDim a(0)
  For i = 1 To 100
    ReDim Preserve a(UBound(a) + 1)
    a(UBound(a)) = i
  Next
  Main = UBound(a) & " " & a(1) & " " & a(100) & " " & IsEmpty(a(0))
End Function
)VB", "100 1 100 True"},
        {"cut and grow again", R"VB(
Function Main()
  a = Array(1, 2, 3, 4)
  ReDim Preserve a(1)
  ReDim Preserve a(3)
  Main = UBound(a) & a(0) & a(1) & IsEmpty(a(2)) & IsEmpty(a(3))
End Function
)VB", "312TrueTrue"},
        {"a copy keeps its own elements", R"VB(
Function Main()
  a = Array(1, 2, 3)
  b = a
  ReDim Preserve a(5)
  a(0) = 9
  ReDim Preserve b(0)
  Main = UBound(a) & a(0) & a(2) & " " & UBound(b) & b(0)
End Function
)VB", "593 01"},
        {"to no elements and back", R"VB(
Function Main()
  a = Array(1, 2)
  ReDim Preserve a(-1)
  n = UBound(a)
  ReDim Preserve a(0)
  Main = n & " " & UBound(a) & IsEmpty(a(0))
End Function
)VB", "-1 0True"},
        // Large arrays have memory of their own: values survive each move to a larger block,
        // a cut, a copy taken before a change and a two-dimensional Preserve.
        {"large arrays keep their values", R"VB(
Function Main()
  ReDim a(-1)
  For i = 0 To 199999
    ReDim Preserve a(i)
    a(i) = i * 3
  Next
  b = a
  a(5) = "x"
  r = UBound(a) & " " & a(0) & a(5) & b(5) & " " & a(70000) & " " & a(199999)
  ReDim Preserve a(60000)
  ReDim Preserve a(150000)
  r = r & " " & a(60000) & IsEmpty(a(60001)) & IsEmpty(a(150000)) & " " & b(199999)
  ReDim m(2, 99999)
  m(2, 99999) = 7 : m(1, 5) = 8
  ReDim Preserve m(2, 120000)
  r = r & " " & m(2, 99999) & m(1, 5) & IsEmpty(m(2, 120000))
  Erase a
  Main = r & " " & UBound(b)
End Function
)VB", "199999 0x15 210000 599997 180000TrueTrue 599997 78True 199999"},
        {"errors", R"VB(
Function Main()
  On Error Resume Next
  a = Array(1)
  ReDim Preserve a(-2)
  r = Err.Number
  Err.Clear
  ReDim Preserve a(2000000)
  Main = r & " " & Err.Number & " " & UBound(a)
End Function
)VB", "9 7 0"},
        {"a terminate of a cut element sees the array whole", R"VB(
Dim g
Class T
  Private Sub Class_Terminate()
    seen = UBound(g)
  End Sub
End Class
Dim seen
Function Main()
  ReDim g(2)
  Set g(2) = New T
  ReDim Preserve g(0)
  Main = seen & " " & UBound(g)
End Function
)VB", "0 0"},
    });
}

// ReDim Preserve of several dimensions changes the last one only: every element keeps its
// place in every dimension through growth one column at a time, cuts, regrowth past a large
// block and a copy taken in between; the other dimensions stay fixed (9).
TEST(ScriptArrays, ReDimPreserveOfTheLastDimension) {
    runAll({
        {"two rows grown a column at a time, cut and grown again", R"VB(
Function Check(m, cols)
  Check = True
  For c = 0 To cols - 1
    If m(0, c) <> c Or m(1, c) <> -c Then Check = False
  Next
End Function
Function Main()
  ReDim m(1, -1)
  For i = 0 To 2999
    ReDim Preserve m(1, i)
    m(0, i) = i : m(1, i) = -i
  Next
  r = UBound(m, 1) & UBound(m, 2) & Check(m, 3000)
  ReDim Preserve m(1, 9)
  r = r & " " & UBound(m, 2) & Check(m, 10)
  ReDim Preserve m(1, 11)
  r = r & " " & Check(m, 10) & IsEmpty(m(0, 10)) & IsEmpty(m(1, 11))
  ReDim Preserve m(1, -1)
  r = r & " " & UBound(m, 2)
  ReDim Preserve m(1, 0)
  Main = r & IsEmpty(m(0, 0)) & IsEmpty(m(1, 0))
End Function
)VB", "12999True 9True TrueTrueTrue -1TrueTrue"},
        {"large tables keep their values; a copy keeps its own", R"VB(
Function Main()
  ReDim m(2, -1)
  For i = 0 To 299999
    ReDim Preserve m(2, i)
    m(0, i) = i : m(1, i) = i * 2 : m(2, i) = "t" & i
  Next
  c = m
  m(1, 7) = "x"
  ok = True
  For i = 0 To 299999 Step 997
    If m(0, i) <> i Or c(1, i) <> i * 2 Or m(2, i) <> "t" & i Then ok = False
  Next
  r = ok & m(1, 7) & c(1, 7) & m(2, 299999)
  ReDim Preserve m(2, 100)
  ReDim Preserve m(2, 200000)
  Main = r & " " & m(2, 100) & IsEmpty(m(0, 101)) & IsEmpty(m(2, 200000)) & " " & c(0, 299999)
End Function
)VB", "Truex14t299999 t100TrueTrue 299999"},
        {"three dimensions; For Each walks the first index fastest", R"VB(
Function Main()
  ReDim m(1, 1, 0)
  m(0, 0, 0) = "a" : m(1, 0, 0) = "b" : m(0, 1, 0) = "c" : m(1, 1, 0) = "d"
  ReDim Preserve m(1, 1, 1)
  m(0, 0, 1) = "e" : m(1, 1, 1) = "h"
  For Each v In m
    r = r & v & "."
  Next
  Main = r & m(1, 0, 0) & m(0, 1, 0)
End Function
)VB", "a.b.c.d.e...h.bc"},
        {"other dimensions stay, the last one no lower than -1", R"VB(
Function Main()
  On Error Resume Next
  ReDim m(1, 2)
  ReDim Preserve m(2, 2)
  r = Err.Number : Err.Clear
  ReDim Preserve m(1, 2, 0)
  r = r & Err.Number : Err.Clear
  ReDim Preserve m(1, -2)
  r = r & Err.Number : Err.Clear
  ReDim Preserve m(1, 600000)
  Main = r & Err.Number & UBound(m, 2)
End Function
)VB", "99972"},
    });
}

// The append loop's own steps (ReDim Preserve a(n) with a variable or literal bound, a(i) = v
// with a plain value and subscripts) at module level and in a function: an array shared with a
// copy is copied first, every error keeps its number and order, and what falls outside the
// step (a shrink, another dimension, a fixed or pinned array, a subscript to convert) gives
// what the general statement gives.
TEST(ScriptArrays, AppendStepsKeepTheLanguagesRules) {
    const char* grow = R"VB(
Dim g(), t, k
ReDim g(-1)
For k = 0 To 99
  ReDim Preserve g(k)
  g(k) = k
Next
t = g
g(0) = k
ReDim Preserve g(k)
g(k) = "new"
)VB";
    runAll({
        {"module level: UBound after growth, a copy taken before growth unchanged",
         (std::string(grow) + R"VB(
Function Main()
  Main = UBound(g) & " " & g(0) & g(99) & g(100) & " " & UBound(t) & " " & t(0) & t(99)
End Function
)VB").c_str(), "100 10099new 99 099"},
        {"in a function, with a copy in another array and a ByVal parameter", R"VB(
Function Grow(ByVal b, n)
  ReDim Preserve b(n)
  b(n) = n
  Grow = UBound(b)
End Function
Function Main()
  Dim a(), i, n, box, s
  ReDim a(-1)
  For i = 0 To 9
    ReDim Preserve a(i)
    a(i) = i
  Next
  box = Array(a)
  n = 20
  s = Grow(a, n) & " " & UBound(a)
  ReDim Preserve a(n)
  a(n) = 7 : a(3) = 30
  Main = s & " " & UBound(a) & a(3) & a(20) & IsEmpty(a(15)) & " " & UBound(box(0)) & box(0)(3)
End Function
)VB", "20 9 20307True 93"},
        {"growth, then a shrink, then growth again", R"VB(
Function Main()
  Dim a(), i, n
  ReDim a(-1)
  For i = 0 To 999
    ReDim Preserve a(i)
    a(i) = i
  Next
  n = 2
  ReDim Preserve a(n)
  r = UBound(a) & a(2)
  n = 4
  ReDim Preserve a(n)
  Main = r & " " & UBound(a) & a(2) & IsEmpty(a(3)) & IsEmpty(a(4))
End Function
)VB", "22 42TrueTrue"},
        {"Erase, then UBound and growth from nothing", R"VB(
Dim a(), n
Function Main()
  On Error Resume Next
  n = 3
  ReDim a(0)
  ReDim Preserve a(n)
  a(n) = 5
  Erase a
  x = UBound(a)
  r = Err.Number : Err.Clear
  a(0) = 1
  r = r & " " & Err.Number : Err.Clear
  ReDim Preserve a(n)
  a(n) = 6
  Main = r & " " & UBound(a) & a(3) & IsEmpty(a(0))
End Function
)VB", "9 9 36True"},
        {"a bound or subscript to convert", R"VB(
Function Main()
  Dim a(), b, s
  ReDim a(0)
  b = 2.5
  ReDim Preserve a(b)
  r = UBound(a)
  s = "1"
  a(s) = 11
  b = 1.5
  a(b) = 22
  Main = r & " " & a(1) & a(2)
End Function
)VB", "2 1122"},
        {"errors in their order", R"VB(
Dim f(2), m(), e, p, q, n
Sub Hold(x)
  On Error Resume Next
  ReDim Preserve p(n)
  q = Err.Number
End Sub
Function Main()
  On Error Resume Next
  n = 5
  ReDim Preserve f(n)
  r = Err.Number : Err.Clear
  ReDim m(1, 2)
  ReDim Preserve m(n)
  r = r & " " & Err.Number : Err.Clear
  ReDim Preserve m(n, 2)
  r = r & " " & Err.Number : Err.Clear
  m(1, n) = 1
  r = r & " " & Err.Number : Err.Clear
  s = "abc"
  m(s, 0) = 1
  r = r & " " & Err.Number : Err.Clear
  e(0) = 1
  r = r & " " & Err.Number : Err.Clear
  n = 2000000
  ReDim Preserve f(n)
  r = r & " " & Err.Number : Err.Clear
  ReDim Preserve m(1, n)
  r = r & " " & Err.Number : Err.Clear
  ReDim p(0)
  n = 3
  Hold p(0)
  Main = r & " " & q & " " & UBound(f) & UBound(m, 2) & UBound(p)
End Function
)VB", "10 9 9 9 13 13 10 7 10 220"},
        {"two dimensions: a copy taken before growth keeps its own, other bounds stay", R"VB(
Dim m(), c, n
Function Main()
  ReDim m(1, -1)
  For n = 0 To 9
    ReDim Preserve m(1, n)
    m(0, n) = n : m(1, n) = -n
  Next
  c = m
  n = 12
  ReDim Preserve m(1, n)
  m(1, n) = 5
  r = UBound(m, 2) & m(1, 9) & m(1, 12) & IsEmpty(m(0, 12)) & " " & UBound(c, 2) & c(1, 9)
  On Error Resume Next
  k = 0
  ReDim Preserve m(k, n)
  Main = r & " " & Err.Number & UBound(m, 1)
End Function
)VB", "12-95True 9-9 91"},
        {"a procedure's name is no array to store into", R"VB(
Function F()
  F = 1
End Function
Function Main()
  On Error Resume Next
  i = 0
  F(i) = 3
  Main = Err.Number
End Function
)VB", "501"},
    });
}

// Releasing a large array releases each element once, the last first, and takes apart the
// arrays it holds; plain elements need nothing.
TEST(ScriptArrays, ReleasingAnArrayReleasesEachElementLastFirst) {
    runAll({{"objects, texts and nested arrays among plain values", R"VB(
Dim log
Class T
  Public id
  Private Sub Class_Terminate()
    log = log & id
  End Sub
End Class
Function Fill()
  Dim a(), i, o
  ReDim a(-1)
  For i = 0 To 200000
    ReDim Preserve a(i)
    a(i) = i
  Next
  For i = 1 To 3
    Set o = New T
    o.id = i
    Set a(i * 1000) = o
  Next
  a(5) = "text" & i
  a(7) = Array(1, Array(2, New T))
  a(7)(1)(1).id = "n"
  Set o = Nothing
  Fill = UBound(a)
End Function
Function Main()
  n = Fill()
  Main = n & " " & log
End Function
)VB", "200000 321n"}});
}

TEST(ScriptClasses, AppendingToMembersAndObjectOperands) {
    runAll({
        {"a field built up by s = s & x inside a method", R"VB(
Class Log
  Public s
  Sub Add(x)
    s = s & x & ","
  End Sub
End Class
Function Main()
  Set l = New Log
  For i = 1 To 3
    l.Add i
  Next
  Main = l.s
End Function
)VB", "1,2,3,"},
        {"a property built up by its own name goes through Let", R"VB(
Class Tally
  Private t
  Public lets
  Property Get Text()
    Text = t
  End Property
  Property Let Text(v)
    lets = lets + 1
    t = v
  End Property
  Sub Add(x)
    Text = Text & x
  End Sub
End Class
Function Main()
  Set o = New Tally
  o.Add "a"
  o.Add "b"
  Main = o.Text & "|" & o.lets
End Function
)VB", "ab|2"},
        {"objects with a default member in operators and comparisons", R"VB(
Class Num
  Public Default Property Get Value()
    Value = 5
  End Property
End Class
Function Main()
  Set n = New Num
  x = 2
  s = "v"
  s = s & n
  Main = (n + x) & "|" & (n > x) & "|" & s
End Function
)VB", "7|True|v5"},
    });
}
