// The forms of definition tools/function-lengths.py must count. Not compiled: read by
// function_lengths_test.py. Each function's first line says how many lines it must be counted
// as ("counted: N"); a line without it must open no counted function.
#include <functional>
#include <vector>

namespace forms {

const int kTable[] = {1, 2, 3};
struct Point {
    int x{0};
    int y = 0;
};
enum class Colour : int { Red, Green };

int plain(int x) {  // counted: 3
    return x;
}

int withDefault(int x = 0) {  // counted: 4
    const int y = x + 1;
    return y;
}

void bracedDefaults(std::vector<int> v = {1, 2}, Point p = {}) {  // counted: 3
    v.push_back(p.x);
}

void lambdaDefault(std::function<void()> f = [] { return; }) {  // counted: 3
    f();
}

class Holder {
public:
    Holder(int a, int b) : a_(a), b_{a, b}, c_{} {  // counted: 4
        a_ += b;
        c_.clear();
    }
    explicit Holder(int a) noexcept : a_{a}, b_(2, a) {}  // counted: 1
    int get(int i = 0) const {  // counted: 3
        return a_ + i;
    }
    Holder& operator=(const Holder& other) {  // counted: 4
        a_ = other.a_;
        return *this;
    }
    bool operator==(const Holder& other) const {  // counted: 3
        return a_ == other.a_;
    }

private:
    int a_;
    std::vector<int> b_;
    std::vector<int> c_;
};

class Window : public QObject {
    Q_OBJECT
public slots:
    void refresh(bool all = true) {  // counted: 3
        all_ = all;
    }

private:
    bool all_ = false;
};

template <class T>  // counted: 4
T twice(T x) {
    return x + x;
}

template <class T, class U = std::vector<T>>  // counted: 5
U repeated(T x, int n = 2) {
    U out(n, x);
    return out;
}

template <typename T = int>
struct Box {
    T value{};
    T get(int scale = 1) const {  // counted: 3
        return value * scale;
    }
};

[[nodiscard]] int answer() {  // counted: 3
    return 42;
}

__attribute__((noinline)) int notInlined(int x = 1) {  // counted: 3
    return x;
}

auto sum(int a, int b = 0) -> decltype(a + b) {  // counted: 3
    return a + b;
}

void takesStruct(struct Point* p) {  // counted: 3
    p->x = 1;
}

const auto kSquare = [](int x) {  // counted: 3
    return x * x;
};

}  // namespace forms

extern "C" {
int exported(int x) {  // counted: 3
    return x;
}
}
