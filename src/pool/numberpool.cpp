#include "pool/numberpool.h"

#include "common/drawtext.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace pool {

void CompactSet(NumberPool& pool) {
    pool.removeIf([](const QString& s) { return s.isEmpty(); });
}

void SortPool(NumberPool& pool) { std::sort(pool.begin(), pool.end()); }

int RemoveDuplicateNumbers(NumberPool& pool) {
    std::vector<bool> seen(1001, false);
    int removed = 0;
    for (QString& e : pool) {
        bool ok = false;
        const int v = e.toInt(&ok);
        if (!ok || v < 0 || v > 1000) continue;  // not a number: leave it for the caller to see
        if (seen[size_t(v)]) {
            e.clear();
            ++removed;
        } else {
            seen[size_t(v)] = true;
        }
    }
    CompactSet(pool);
    return removed;
}

static bool IsNumericToken(const QString& t, double* value) {
    // A text that converts to a number: an optional sign, digits with an optional decimal
    // point, and an optional exponent ("1e2", "2.5E-1").
    const qsizetype n = t.size();
    qsizetype i = 0;
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) ++i;
    bool digits = false, dot = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (common::IsAsciiDigit(c)) digits = true;
        else if (c == QLatin1Char('.') && !dot) dot = true;
        else break;
    }
    if (!digits) return false;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) ++i;
        bool expDigits = false;
        for (; i < n && common::IsAsciiDigit(t[i]); ++i) expDigits = true;
        if (!expDigits) return false;
    }
    if (i != n) return false;
    bool ok = false;
    *value = t.toDouble(&ok);
    return ok && std::isfinite(*value);
}

bool IsNumericText(const QString& text) {
    double value = 0;
    return IsNumericToken(text, &value);
}

// Rounded, halves to even; values beyond int are held at its bounds instead of overflowing.
static int RoundedListValue(double v) {
    const double r = std::nearbyint(v);
    if (r >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(r);
}

QStringList SplitCommaList(const QString& text) {
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char(',') || text[i] == QChar(0xFF0C)) {
            pieces.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    pieces.append(text.mid(start));
    return pieces;
}

QString ParseNumberList(const QString& text, int width, QList<int>* digitList) {
    if (digitList) digitList->clear();
    QString result;
    for (const QString& token : SplitCommaList(text)) {
        int b = 0, e = int(token.size());
        while (b < e && token[b] == QLatin1Char(' ')) ++b;
        while (e > b && token[e - 1] == QLatin1Char(' ')) --e;
        const QString t = token.mid(b, e - b);
        double v = 0;
        if (IsNumericToken(t, &v) && (width == 0 || t.size() == width)) {
            if (digitList) digitList->append(RoundedListValue(v));
            result += QLatin1Char(' ') + t;
        }
    }
    return result;
}

void UndoRing::store(const NumberPool& pool, const QString& description) {
    index_ += 1;
    if (index_ > kSlots) index_ = 1;
    slots_[size_t(index_ - 1)] = pool;
    descriptions_[size_t(index_ - 1)] = description;
}

NumberPool UndoRing::takeUndo(QString* description) {
    int s = index_ - 1;
    if (s < 1) s = kSlots;
    for (int step = 0; step < 2; ++step) {
        index_ -= 1;
        if (index_ < 1) index_ = kSlots;
    }
    if (description) *description = this->description(s);
    return slot(s);
}

NumberPool UndoRing::takeRedo(QString* description) {
    int s = index_ + 1;
    if (s > kSlots) s = 1;
    if (description) *description = this->description(s);
    return slot(s);
}

void WorkbenchLog::append(const QString& block) {
    if (block.isEmpty()) return;
    text_ += block;
    if (onAppend) onAppend(block);
}

void WorkbenchLog::reset() { setText(InitialText()); }

void WorkbenchLog::setText(const QString& text) {
    text_ = text;
    if (onReplace) onReplace();
}

QString FilterLogHeader(const QString& titleWithStart) { return kNewLine + titleWithStart + kNewLine; }

QString FilterLogFooter(int removed, int remaining) {
    return kNewLine + QStringLiteral("过滤") + QString::number(removed) + QStringLiteral("注") + kNewLine +
           QStringLiteral("还剩") + QString::number(remaining) + QStringLiteral("注") + kNewLine;
}

void PoolSession::CommitSet() {
    SortPool(pool);
    if (onCommit) onCommit(pool);
    ring.store(pool, setDescription);
}

void PoolSession::Undo() {
    QString description;
    pool = ring.takeUndo(&description);
    if (!description.isEmpty()) setDescription = description;
    log.append(kNewLine + QStringLiteral("返回上一步") + kNewLine);
    CommitSet();
}

void PoolSession::Redo() {
    QString description;
    pool = ring.takeRedo(&description);
    if (!description.isEmpty()) setDescription = description;
    log.append(kNewLine + QStringLiteral("返回下一步") + kNewLine);
    CommitSet();
}

QString PoolSession::CountLabel(int n) { return QStringLiteral("还剩：") + QString::number(n) + QStringLiteral("注"); }

void PoolSession::TakeNumbers(NumberPool numbers, const QString& logLine, const QString& description,
                              Duplicates duplicates) {
    pool = std::move(numbers);
    if (!logLine.isEmpty()) log.append(logLine);
    setDescription = description;
    if (duplicates == Duplicates::Remove) RemoveDuplicateNumbers(pool);
    CommitSet();
}

int PoolSession::RunFilter(const QString& titleWithStart, const QString& description,
                           const std::function<void(NumberPool&, QString& log)>& routine) {
    const int before = int(pool.size());
    QString block = FilterLogHeader(titleWithStart);
    routine(pool, block);
    const int remaining = int(pool.size());
    block += FilterLogFooter(before - remaining, remaining);
    log.append(block);
    setDescription = description;
    CommitSet();
    return before - remaining;
}

}  // namespace pool
