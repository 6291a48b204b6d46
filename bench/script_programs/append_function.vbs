' 1,000,000 appends to a string inside a function
Function Main()
    Dim s, i
    For i = 1 To 1000000
        s = s & "x"
    Next
    Main = Len(s)
End Function
