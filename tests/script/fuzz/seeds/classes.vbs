Dim trace
Class Node
  Public Id, Nxt
  Private hidden
  Public Default Property Get Name()
    Name = "n" & Id
  End Property
  Public Property Let Name(v)
    Id = v
  End Property
  Public Property Set Link(o)
    Set Nxt = o
  End Property
  Private Sub Class_Initialize()
    hidden = 1
  End Sub
  Private Sub Class_Terminate()
    trace = trace & Me.Id
  End Sub
  Public Function Walk()
    If Nxt Is Nothing Then Walk = Id Else Walk = Id & Nxt.Walk()
  End Function
End Class
Function Main()
  Dim head, n, a(2)
  Set head = Nothing
  For i = 1 To 3
    Set n = New Node
    n.Name = i
    Set n.Link = head
    Set head = n
    Set a(i - 1) = n
  Next
  With head
    .Id = 9
    With .Nxt
      .Id = 8
    End With
  End With
  Main = head.Walk() & head & TypeName(head) & VarType(head) & IsObject(a(0))
  Set head = Nothing
  Erase a
End Function
