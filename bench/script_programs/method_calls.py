# 1,000,000 method calls on an object
class Counter:
    def __init__(self):
        self.total = 0
    def add(self, x):
        self.total = self.total + x
    def value(self):
        return self.total
def main():
    c = Counter()
    for i in range(1, 1000001):
        c.add(i)
    return c.value()
