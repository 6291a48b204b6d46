Dim g
Function Twice(x)
  Twice = x * 2
End Function
Function Main()
  Dim x
  x = 3
  Execute "x = x + 1 : g = x"
  ExecuteGlobal "Class K : Public V : End Class : Function K2(a) : K2 = a : End Function"
  Set f = GetRef("Twice")
  Set k = New K
  k.V = Eval("x * g + f(2)")
  Main = k.V & K2(1) & f(5) & MsgBox("a", 4, "t") & InputBox("p")
End Function
