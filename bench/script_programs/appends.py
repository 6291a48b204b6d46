# 1,000,000 list appends of one element, then a sum over the list, at top level
a = []
n = 1000000
for i in range(0, n):
    a.append(i)
total = 0
for i in range(0, len(a)):
    total = total + a[i]


def main():
    return total
