# Recursive calls: fib(27) makes 635,621 calls
def fib(n):
    if n < 2:
        return n
    else:
        return fib(n - 1) + fib(n - 2)
def main():
    return fib(27)
