' Recursive calls: fib(27) makes 635,621 calls
Function Fib(n)
    If n < 2 Then
        Fib = n
    Else
        Fib = Fib(n - 1) + Fib(n - 2)
    End If
End Function
Function Main()
    Main = Fib(27)
End Function
