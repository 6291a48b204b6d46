# 100,000 appends to a string at module level
s = ""
for i in range(1, 100001):
    s = s + "x"
def main():
    return len(s)
