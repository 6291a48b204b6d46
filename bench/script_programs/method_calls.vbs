' 1,000,000 method calls on an object
Class Counter
    Private total
    Public Sub Add(x)
        total = total + x
    End Sub
    Public Function Value()
        Value = total
    End Function
End Class
Function Main()
    Dim c, i
    Set c = New Counter
    For i = 1 To 1000000
        c.Add i
    Next
    Main = c.Value()
End Function
