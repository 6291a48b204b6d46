' 100,000 appends to a string at module level
Dim s, i
For i = 1 To 100000
    s = s & "x"
Next
Function Main()
    Main = Len(s)
End Function
