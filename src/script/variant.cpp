#include "variant.h"

#include "datetime.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace script {

void Throw(int number, const QString& detail) {
    QString d = ErrorDescription(number);
    if (!detail.isEmpty())
        d += QStringLiteral(": ") + detail;
    throw RuntimeError{number, d};
}

// ---- number text ---------------------------------------------------------------------

QString FormatNumber(double v, int sig) {
    if (v == 0)
        return QStringLiteral("0");
    if (std::isnan(v))
        return QStringLiteral("NaN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, sig - 1);
    *res.ptr = 0;
    // buf: [-]d.ddddde[+-]xx
    const char* p = buf;
    bool neg = false;
    if (*p == '-') {
        neg = true;
        ++p;
    }
    std::string digits;
    while (*p && *p != 'e') {
        if (*p != '.')
            digits += *p;
        ++p;
    }
    int exp = 0;
    if (*p == 'e')
        exp = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = neg ? "-" : "";
    if (exp >= sig || exp < -4) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out += digits.substr(1);
        }
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", exp < 0 ? '-' : '+', std::abs(exp));
        out += e;
    } else if (exp < 0) {
        out += "0.";
        out.append(size_t(-exp - 1), '0');
        out += digits;
    } else {
        if (int(digits.size()) <= exp + 1) {
            out += digits;
            out.append(size_t(exp + 1 - int(digits.size())), '0');
        } else {
            out += digits.substr(0, size_t(exp + 1));
            out += '.';
            out += digits.substr(size_t(exp + 1));
        }
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

static bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// "&H" hexadecimal or "&O" octal digits: 16 bits when they fit in four (six) digits, else 32.
static bool parseRadixLiteral(const std::string& s, double* out) {
    const bool hex = s[1] == 'h' || s[1] == 'H';
    uint64_t v = 0;
    size_t n = 0;
    for (size_t i = 2; i < s.size(); ++i, ++n) {
        int d;
        char c = s[i];
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        if (!hex && d > 7)
            return false;
        v = v * (hex ? 16 : 8) + uint64_t(d);
        if (v > 0xFFFFFFFFull)
            return false;
    }
    if (n == 0)
        return false;
    if (v <= 0xFFFF && (hex ? n <= 4 : n <= 6))
        *out = double(int16_t(uint16_t(v)));
    else
        *out = double(int32_t(uint32_t(v)));
    return true;
}

bool ParseNumber(const QString& str, double* out) {
    // Plain digits (a digit taken out of a number's text, a counter's text) read directly.
    if (str.size() > 0 && str.size() <= 9) {
        int32_t v = 0;
        qsizetype i = 0;
        for (; i < str.size(); ++i) {
            const char16_t c = str[i].unicode();
            if (c < u'0' || c > u'9')
                break;
            v = v * 10 + int32_t(c - u'0');
        }
        if (i == str.size()) {
            *out = v;
            return true;
        }
    }
    qsizetype b = 0, e = str.size();
    while (b < e && isBlank(str[b]))
        ++b;
    while (e > b && isBlank(str[e - 1]))
        --e;
    if (b == e || e - b > 400)
        return false;
    std::string s;
    s.reserve(size_t(e - b));
    bool sign = false;  // the system's currency sign, once, before the digits ("¥12", "-¥1,234.50")
    for (qsizetype i = b; i < e; ++i) {
        char16_t c = str[i].unicode();
        if (c == u'\u00A5' && !sign && (s.empty() || s == "-" || s == "+")) {
            sign = true;
            continue;
        }
        if (c > 127)
            return false;
        s += char(c);
    }
    if (s.empty())
        return false;
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H' || s[1] == 'o' || s[1] == 'O'))
        return parseRadixLiteral(s, out);
    // [+-] digits [. digits] [e|d [+-] digits]
    size_t i = 0;
    std::string norm;
    if (s[i] == '+' || s[i] == '-')
        norm += s[i++];
    size_t digitsBefore = 0, digitsAfter = 0;
    // The system's thousands separator may stand between digits of the whole part ("1,234").
    while (i < s.size() && (std::isdigit((unsigned char)s[i]) ||
                            (s[i] == ',' && digitsBefore > 0 && i + 1 < s.size() && std::isdigit((unsigned char)s[i + 1])))) {
        if (s[i] == ',') {
            ++i;
            continue;
        }
        norm += s[i++];
        ++digitsBefore;
    }
    if (i < s.size() && s[i] == '.') {
        norm += s[i++];
        while (i < s.size() && std::isdigit((unsigned char)s[i])) {
            norm += s[i++];
            ++digitsAfter;
        }
    }
    if (digitsBefore + digitsAfter == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        norm += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            norm += s[i++];
        size_t ed = 0;
        while (i < s.size() && std::isdigit((unsigned char)s[i])) {
            norm += s[i++];
            ++ed;
        }
        if (ed == 0)
            return false;
    }
    if (i != s.size())
        return false;
    const char* first = norm.data();
    if (*first == '+')
        ++first;
    double v = 0;
    auto r = std::from_chars(first, norm.data() + norm.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Underflow gives 0; overflow cannot be represented.
        if (norm.find("e-") != std::string::npos)
            v = 0;
        else
            return false;
    } else if (r.ec != std::errc()) {
        return false;
    }
    *out = v;
    return true;
}

int32_t RoundToLong(double v) {
    if (std::isnan(v))
        Throw(6);
    double r = std::nearbyint(v);  // default mode: round half to even
    if (r < -2147483648.0 || r > 2147483647.0)
        Throw(6);
    return int32_t(r);
}

double RoundDecimal(double x, int decimals) {
    if (x == 0 || !std::isfinite(x))
        return x;
    const bool neg = x < 0;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    *r.ptr = 0;
    std::string digits;
    const char* p = buf;
    while (*p && *p != 'e') {
        if (*p != '.')
            digits += *p;
        ++p;
    }
    const int exp = std::atoi(p + 1);
    const int keep = exp + 1 + decimals;
    if (keep >= int(digits.size()))
        return x;
    if (keep < 0)
        return 0;
    const std::string tail = digits.substr(size_t(keep));
    std::string half(tail.size(), '0');  // 5000…, as long as the tail
    half.front() = '5';
    bool up = tail > half;
    if (tail == half)
        up = keep > 0 && ((digits[size_t(keep) - 1] - '0') % 2 == 1);
    int64_t m = keep > 0 ? std::stoll(digits.substr(0, size_t(keep))) : 0;
    if (up)
        ++m;
    std::string s = std::to_string(m) + "e" + std::to_string(exp + 1 - keep);
    double v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return neg ? -v : v;
}


int64_t ToCurrency(double v) {
    if (std::isnan(v))
        Throw(6);
    // 922337203685477.5807 is not a double; the nearest ones beyond the range overflow.
    if (v >= 922337203685477.5807 || v < -922337203685477.5808)
        Throw(6);
    if (std::fabs(v) < 1e11)
        return int64_t(std::nearbyint(RoundDecimal(v, 4) * 10000.0));
    // Beyond 2^53 units the product would lose digits: whole part and fraction apart.
    const double whole = std::trunc(v);
    const __int128 units = __int128(int64_t(whole)) * 10000 + int64_t(std::nearbyint((v - whole) * 10000.0));
    if (units > INT64_MAX || units < INT64_MIN)
        Throw(6);
    return int64_t(units);
}

QString CurrencyText(int64_t c) {
    const bool neg = c < 0;
    const uint64_t u = neg ? uint64_t(0) - uint64_t(c) : uint64_t(c);
    QString s = QString::number(u / 10000);
    uint64_t frac = u % 10000;
    if (frac) {
        QString f = QString::number(frac).rightJustified(4, u'0');
        while (f.endsWith(u'0'))
            f.chop(1);
        s += u'.' + f;
    }
    return neg ? u'-' + s : s;
}

// ---- array memory --------------------------------------------------------------------

// Small blocks live on the heap and grow with realloc; the elements move with their bytes.
namespace {
void* HeapBlock(void* p, size_t bytes) {
    void* q = std::realloc(p, bytes);
    if (!q)
        throw std::bad_alloc();
    return q;
}
void MoveBytes(void* to, const void* from, size_t bytes) { std::memcpy(to, from, bytes); }
}  // namespace

#if defined(__linux__)
namespace {
// A large page; blocks of at least this size are mapped on their own, aligned to it.
constexpr size_t kLargePage = size_t(2) << 20;
size_t MappedSize(size_t bytes) { return (bytes + kLargePage - 1) & ~(kLargePage - 1); }

// Only advice: where the system has no large pages the block is ordinary memory. The part is
// then filled in at once, not a page per fault (older systems ignore the advice).
void FillIn(char* p, size_t size) {
    madvise(p, size, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    madvise(p, size, MADV_POPULATE_WRITE);
#endif
}

// `size` bytes of address space starting on a large-page boundary, or null: memory, or with
// PROT_NONE only room to move a mapping to. One large page more than needed is mapped and the
// unaligned ends given back.
char* AlignedRange(size_t size, int prot) {
    const int flags = MAP_PRIVATE | MAP_ANONYMOUS | (prot == PROT_NONE ? MAP_NORESERVE : 0);
    void* m = mmap(nullptr, size + kLargePage, prot, flags, -1, 0);
    if (m == MAP_FAILED)
        return nullptr;
    char* base = static_cast<char*>(m);
    char* p = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(base) + kLargePage - 1) & ~(kLargePage - 1));
    if (p > base)
        munmap(base, size_t(p - base));
    if (char* end = p + size; base + size + kLargePage > end)
        munmap(end, size_t(base + size + kLargePage - end));
    return p;
}

// The mapping at p made `size` bytes long: where it is when the address space after it is
// free, else moved by the system to an aligned place of its own. Null when neither works.
char* RemapLonger(char* p, size_t oldSize, size_t size) {
    if (mremap(p, oldSize, size, 0) != MAP_FAILED)
        return p;
    char* to = AlignedRange(size, PROT_NONE);
    if (!to)
        return nullptr;
    if (mremap(p, oldSize, size, MREMAP_MAYMOVE | MREMAP_FIXED, to) == MAP_FAILED) {
        munmap(to, size);
        return nullptr;
    }
    return to;
}
}  // namespace

void* AllocateElements(size_t bytes) {
    if (bytes < kLargePage)
        return HeapBlock(nullptr, bytes);
    const size_t size = MappedSize(bytes);
    char* p = AlignedRange(size, PROT_READ | PROT_WRITE);
    if (!p)
        throw std::bad_alloc();
    FillIn(p, size);
    return p;
}

void* GrowElements(void* p, size_t bytes, size_t usedBytes, size_t newBytes) {
    if (newBytes < kLargePage)
        return HeapBlock(p, newBytes);
    if (bytes >= kLargePage) {
        const size_t oldSize = MappedSize(bytes), size = MappedSize(newBytes);
        if (size == oldSize)
            return p;
        // Only the new part is filled in; what is there stays, neither copied nor cleared.
        if (char* q = RemapLonger(static_cast<char*>(p), oldSize, size)) {
            FillIn(q + oldSize, size - oldSize);
            return q;
        }
    }
    // From the heap to a mapping, or a mapping the system would not move: a new block.
    void* q = AllocateElements(newBytes);
    MoveBytes(q, p, usedBytes);
    FreeElements(p, bytes);
    return q;
}

void FreeElements(void* p, size_t bytes) {
    if (bytes < kLargePage)
        std::free(p);
    else
        munmap(p, MappedSize(bytes));
}
#else
void* AllocateElements(size_t bytes) { return HeapBlock(nullptr, bytes); }
void* GrowElements(void* p, size_t, size_t, size_t newBytes) { return HeapBlock(p, newBytes); }
void FreeElements(void* p, size_t) { std::free(p); }
#endif

// ---- Variant -------------------------------------------------------------------------

Variant::Variant(int v) : c_(wholePayload(v)) { t_ = (v >= -32768 && v <= 32767) ? Integer : Long; }

Variant Variant::makeArray(std::vector<Variant> items) {
    auto a = std::make_shared<ArrayData>();
    a->upper = {int32_t(items.size()) - 1};
    a->items.assign(std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
    Variant r;
    r.setArrayPtr(std::move(a));
    return r;
}

Variant Variant::makeArray(const std::vector<int32_t>& upperBounds) {
    int64_t total = 1;
    for (int32_t u : upperBounds) {
        if (u < -1)
            Throw(9);
        total *= int64_t(u) + 1;
        if (total > kMaxArrayElements)
            Throw(7);
    }
    auto a = std::make_shared<ArrayData>();
    a->upper = upperBounds;
    a->items.resize(size_t(total));
    Variant r;
    r.setArrayPtr(std::move(a));
    return r;
}

bool Variant::isNumeric() const {
    switch (t_) {
    case Empty: case Integer: case Long: case Single: case Double: case Currency: case Boolean: case Byte:
        return true;
    default:
        return false;
    }
}

QString Variant::toString() const {
    switch (t_) {
    case Empty: return QString();
    case Null: Throw(94);
    case Integer: case Long: case Byte: return QString::number(i_);
    case Boolean: return i_ ? QStringLiteral("True") : QStringLiteral("False");
    case Single: return FormatNumber(d_, 7);
    case Double: return FormatNumber(d_, 15);
    case Currency: return CurrencyText(c_);
    case Date: return FormatDateGeneral(d_);
    case String: return s_;
    case Array: Throw(13);
    case Object: return ObjectDefault(*this).toString();
    }
    return QString();
}

double Variant::toDouble() const {
    switch (t_) {
    case Empty: return 0;
    case Null: Throw(94);
    case Integer: case Long: case Byte: case Boolean: return i_;
    case Single: case Double: case Date: return d_;
    case Currency: return double(c_) / 10000.0;
    case String: {
        double v;
        if (!ParseNumber(s_, &v))
            Throw(13);
        return v;
    }
    case Array: Throw(13);
    case Object: return ObjectDefault(*this).toDouble();
    }
    return 0;
}

int32_t Variant::toLong() const {
    switch (t_) {
    case Integer: case Long: case Byte: case Boolean: return i_;
    case Empty: return 0;
    default: return RoundToLong(toDouble());
    }
}

int16_t Variant::toInteger() const {
    int32_t v = toLong();
    if (v < -32768 || v > 32767)
        Throw(6);
    return int16_t(v);
}

bool Variant::toBool() const {
    switch (t_) {
    case Empty: return false;
    case Null: Throw(94);
    case Integer: case Long: case Byte: case Boolean: return i_ != 0;
    case Single: case Double: case Date: return d_ != 0;
    case Currency: return c_ != 0;
    case String: {
        if (s_.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            s_.compare(QLatin1String("#true#"), Qt::CaseInsensitive) == 0)
            return true;
        if (s_.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
            s_.compare(QLatin1String("#false#"), Qt::CaseInsensitive) == 0)
            return false;
        double v;
        if (!ParseNumber(s_, &v))
            Throw(13);
        return v != 0;
    }
    case Array: Throw(13);
    case Object: return ObjectDefault(*this).toBool();
    }
    return false;
}

bool Variant::isTrue() const {
    switch (t_) {
    case Integer: case Long: case Byte: case Boolean: return i_ != 0;
    case Empty: case Null: return false;
    default: return toBool();
    }
}

bool Variant::equalsTrue() const {
    switch (t_) {
    case Integer: case Long: case Boolean: return i_ == -1;
    case Single: case Double: return d_ == -1;
    case Currency: return c_ == -10000;
    default: return false;
    }
}

QString Variant::typeName() const {
    switch (t_) {
    case Empty: return QStringLiteral("Empty");
    case Null: return QStringLiteral("Null");
    case Integer: return QStringLiteral("Integer");
    case Long: return QStringLiteral("Long");
    case Single: return QStringLiteral("Single");
    case Double: return QStringLiteral("Double");
    case Currency: return QStringLiteral("Currency");
    case Date: return QStringLiteral("Date");
    case String: return QStringLiteral("String");
    case Boolean: return QStringLiteral("Boolean");
    case Byte: return QStringLiteral("Byte");
    case Array: return QStringLiteral("Variant()");
    case Object: return ObjectTypeName(*this);
    }
    return QString();
}

QString Variant::debugText() const {
    if (t_ == Null || t_ == Array || t_ == Object)
        return typeName() + u'|';
    return typeName() + u'|' + toString();
}

Variant Variant::makeDate(double oleDays) {
    if (!(oleDays > kMinOleDate - 1 && oleDays < kMaxOleDate + 1))
        Throw(6);
    Variant r;
    r.t_ = Date;
    r.d_ = oleDays;
    return r;
}

const QString& Variant::noText() {
    static const QString none;
    return none;
}

const std::shared_ptr<ArrayData>& Variant::noArray() {
    static const std::shared_ptr<ArrayData> none;
    return none;
}

std::vector<Variant> Variant::arrayItems() const {
    if (t_ != Array)
        return {};
    return std::vector<Variant>(a_->items.begin(), a_->items.end());
}

ArrayData::~ArrayData() {
    std::vector<std::shared_ptr<ArrayData>> work;
    // One pass over a million elements, not two: each is looked at once, as it is released.
    auto collect = [&work](ArrayItems& items) {
        items.clear([&work](Variant& v) {
            if (v.t_ == Variant::Array && v.a_ && v.a_.use_count() == 1) {
                try {
                    work.push_back(std::move(v.a_));
                } catch (const std::bad_alloc&) {
                    // No room to queue it (memory ran out): it goes with its element, nested.
                }
            }
        });
    };
    collect(items);
    while (!work.empty()) {
        std::shared_ptr<ArrayData> a = std::move(work.back());
        work.pop_back();
        collect(a->items);
    }
}

}  // namespace script
