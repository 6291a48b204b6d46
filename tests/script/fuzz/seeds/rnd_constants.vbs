Function Main()
  Dim s, i
  s = Rnd & Rnd(0) & Rnd(-1) & Rnd(5)
  Randomize 0
  Randomize
  Randomize #1/1/2026#
  For i = 1 To 10: s = s & Int(Rnd * 10): Next
  s = s & vbOK & vbCancel & vbYesNo & vbCritical & vbDefaultButton3 & vbFormFeed & vbVerticalTab & vbError
  s = s & vbUseDefault & vbObjectError & vbDate & vbDecimal & vbSaturday & vbFirstFullWeek & vbShortTime
  Main = s
End Function
