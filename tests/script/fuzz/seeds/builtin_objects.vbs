Function Main()
  Set d = CreateObject("Scripting.Dictionary")
  d.Add "a", 1
  d("b") = 2
  d.Key("a") = "c"
  d.CompareMode = 1
  For Each k In d.Keys
    r = r & k & d(k)
  Next
  d.Remove "b"
  Set re = New RegExp
  re.Pattern = "(\w)(\d*)"
  re.Global = True
  re.IgnoreCase = True
  re.Multiline = True
  Set ms = re.Execute("a1 b22 c")
  For Each m In ms
    r = r & m.Value & m.FirstIndex & m.Length & m.SubMatches(0) & m.SubMatches.Count
  Next
  Main = r & re.Replace("a1 b22", "$2$1$&$$") & re.Test("x") & d.Exists("c") & d.Count & Join(d.Items)
End Function
