# 10,000,000 additions in a function
def main():
    t = 0
    for i in range(1, 10000001):
        t = t + i
    return t
