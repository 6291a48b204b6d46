#include "pool/twocode.h"

#include "pool/filterwalk.h"

#include <cmath>
#include <utility>

namespace pool {

QString FormatTwoCode(const QString& code) {
    const QString t = code.trimmed();
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::abs(v) > 1e15) return code;
    const long long n = std::llround(v);
    const QString digits = QString::number(std::llabs(n)).rightJustified(2, QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

int FilterTwoCode(NumberPool& pool, QString& log, const QString& code, bool compact, int position) {
    int removed = 0;
    const QString text = FormatTwoCode(code);
    if (!text.isEmpty() && position >= 0 && position <= 3) {
        QChar x = text.front(), y = text.back();
        if (x < y) std::swap(x, y);
        // An ordered pair (larger first) equals the code.
        auto pairIs = [x, y](QChar p, QChar q) { return p < q ? (q == x && p == y) : (p == x && q == y); };
        removed = detail::BlankMatching(pool, log, [&](const QString& n, const common::Digits&) {
            const QChar h = n.at(0), t = n.at(1), u = n.at(2);
            switch (position) {
                case 1: return pairIs(h, t);
                case 2: return pairIs(t, u);
                case 3: return pairIs(h, u);
                default: {
                    QChar a = h, b = t, c = u;  // sort so that a >= b >= c
                    if (a < b) std::swap(a, b);
                    if (a < c) std::swap(a, c);
                    if (b < c) std::swap(b, c);
                    if (a == x) return b == y || c == y;
                    if (a > x) return b == x && c == y;
                    return false;
                }
            }
        });
    }
    if (compact) CompactSet(pool);
    return removed;
}

}  // namespace pool
