Dim g()
Function Main()
  Dim s, a(2), hi
  hi = "h"
  s = &hFFFF& & &H8000& & &O177777& & 1e-400 & "a" &hi
  If 3 => 2 And 2 =< 3 And 2 >< 3 Then s = s & "ops" End If
  If s = "" Then s = "x" Else s = s & "y" End If
  On Error Resume Next
  Err.Raise 5
  Err.Clear()
  Call Err.Raise(9, "src", "desc")
  Call Err.Clear
  Err.Raise
  s = s & Err.Number & Left("a") & UBound(g) & Err.Description
  a = 1
  s = s & (Empty And Empty) & (Not Empty) & (CByte(170) Imp Null) & (CSng(0.001 * 0.001) = 0.000001)
  s = s & AscW(ChrW(65535))
  If "#TRUE#" Then s = s & "t"
  For i = 1 To 100: s = s & i & "," : Next
  Main = s
End Function
