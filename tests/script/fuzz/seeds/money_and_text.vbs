Function Main()
  Dim c, s, a
  c = CCur("1,234.5678") * CCur(2.5) + 3 - CSng(0.5)
  s = FormatCurrency(c, , , -1) & FormatNumber(-c, 3, 0, -1, 0) & FormatPercent(c / 1000, 1)
  a = Filter(Split(Escape(s & "中"), "%"), "2", False, vbTextCompare)
  s = Unescape(Join(a, "%")) & LenB(s) & MidB(s, 3, 5) & InStrB(2, s, ChrB(44)) & AscB(LeftB(s, 3))
  s = s & RGB(300, 1, 2) & SetLocale("en-us") & GetLocale & ScriptEngine & ScriptEngineBuildVersion
  On Error Resume Next
  Err.Raise 1000, , "x", "h.chm", 7
  Main = s & Err.HelpFile & Err.HelpContext & TypeName(c) & VarType(c) & Round(c, 1) & Int(-c)
End Function
