' 1,000,000 ReDim Preserve appends inside a function
Function Main()
    Dim a(), i, n
    n = 0
    ReDim a(-1)
    For i = 1 To 1000000
        ReDim Preserve a(n)
        a(n) = i
        n = n + 1
    Next
    Main = UBound(a) + 1
End Function
