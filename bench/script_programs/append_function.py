# 1,000,000 appends to a string inside a function
def main():
    s = ""
    for i in range(1, 1000001):
        s = s + "x"
    return len(s)
