# 1,000,000 list appends inside a function
def main():
    a = []
    n = 0
    for i in range(1, 1000001):
        a.append(i)
        n = n + 1
    return len(a)
