' 500,000 appends of a two-row column (ReDim Preserve of the last dimension) inside a function
Function Main()
    Dim m(), i, n
    n = 0
    ReDim m(1, -1)
    For i = 1 To 500000
        ReDim Preserve m(1, n)
        m(0, n) = i
        m(1, n) = n
        n = n + 1
    Next
    Main = (UBound(m, 2) + 1) * 2
End Function
