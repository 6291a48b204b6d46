' A digit formula over 000-999, 100 times: sum, span and odd count of the three digits
Function Custom_GL(NUMBER)
    Dim b, s, g, hz, kd, js, mx, mn
    b = CInt(Mid(NUMBER, 1, 1))
    s = CInt(Mid(NUMBER, 2, 1))
    g = CInt(Mid(NUMBER, 3, 1))
    hz = b + s + g
    mx = b: mn = b
    If s > mx Then mx = s
    If g > mx Then mx = g
    If s < mn Then mn = s
    If g < mn Then mn = g
    kd = mx - mn
    js = (b Mod 2) + (s Mod 2) + (g Mod 2)
    Custom_GL = (hz >= 10 And hz <= 17) And kd > 3 And js <> 0
End Function
Function Main()
    Dim r, i, n
    For r = 1 To 100
        n = 0
        For i = 0 To 999
            If Custom_GL(Right("00" & i, 3)) Then n = n + 1
        Next
    Next
    Main = n
End Function
