' 10,000,000 additions in a function
Function Main()
    Dim t, i
    For i = 1 To 10000000
        t = t + i
    Next
    Main = t
End Function
