Class C
  Public n
End Class
Function Custom_GL(NUMBER)
  Select Case Left(NUMBER, 1)
  Case "1" Custom_GL = True
  Case "2", "3" Custom_GL = True: Exit Function
  Case "4" If Mid(NUMBER, 2, 1) = "0" Then Custom_GL = True Else Custom_GL = False
  Case Else Custom_GL = False
  End Select
End Function
Function Main()
  Dim s(4), o
  On Error Resume Next
  ReDim Preserve s("abc")
  Main = Err.Number & InStrRev("abcd", Null, 2, 0) & Err.Number
  Execute "x = 1 2"
  Main = Main & Err.Number & Eval("1 + ")
  Set o = New C: Set o.n = o
  Main = Main & TypeName(o.n.n.n.n) & Abs(Abs(-(-(1 + (2 & 3)))))
End Function
