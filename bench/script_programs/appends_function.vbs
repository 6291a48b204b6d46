' 1,000,000 ReDim Preserve appends of one element, then a sum over the array, inside a function
Function Main()
    Dim a(), i, n, total
    ReDim a(-1)
    n = 1000000
    For i = 0 To n - 1
        ReDim Preserve a(i)
        a(i) = i
    Next
    total = 0
    For i = 0 To UBound(a)
        total = total + a(i)
    Next
    Main = total
End Function
