# 500,000 appends of a two-row column (a list per row) inside a function
def main():
    m = [[], []]
    n = 0
    for i in range(1, 500001):
        m[0].append(i)
        m[1].append(n)
        n = n + 1
    return len(m[1]) * 2
