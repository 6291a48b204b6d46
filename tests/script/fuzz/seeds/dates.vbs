Function Main()
  Dim d, t, s
  d = #12/10/2026 14:05:09#
  t = #2:05 PM#
  s = CStr(d) & "|" & t & "|" & (d + 1) & "|" & (d - #1/1/2026#)
  s = s & DateAdd("m", 1, #1/31/2026#) & DateAdd("ww", -3, d) & DateAdd("s", 86401, t)
  s = s & DateDiff("ww", #12/5/2026#, d, vbMonday) & DateDiff("h", t, d) & DatePart("ww", d, 2, vbFirstFourDays)
  s = s & DateSerial(26, 14, -3) & TimeSerial(-1, 90, 30) & DateValue("2026年12月10日") & TimeValue("下午2:05")
  s = s & Year(d) & Month(d) & Day(d) & Hour(d) & Minute(d) & Second(d) & Weekday(d, 0)
  s = s & WeekdayName(3, True, vbSaturday) & MonthName(11) & FormatDateTime(d, vbLongDate) & FormatDateTime(d, 4)
  s = s & IsDate("2026-2-29") & CDate("10 Dec 2026") & CDate(-2.5) & (d > Now) & TypeName(Date + Time) & Timer
  Main = s
End Function
