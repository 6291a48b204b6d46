# A digit formula over 000-999, 100 times: sum, span and odd count of the three digits
def custom_gl(number):
    b = int(number[0:1])
    s = int(number[1:2])
    g = int(number[2:3])
    hz = b + s + g
    mx = b; mn = b
    if s > mx: mx = s
    if g > mx: mx = g
    if s < mn: mn = s
    if g < mn: mn = g
    kd = mx - mn
    js = (b % 2) + (s % 2) + (g % 2)
    return (hz >= 10 and hz <= 17) and kd > 3 and js != 0
def main():
    for r in range(1, 101):
        n = 0
        for i in range(0, 1000):
            if custom_gl(("00" + str(i))[-3:]):
                n = n + 1
    return n
