// Date and time functions, Rnd and Randomize.
#include "datetime.h"

#include "nodes.h"

#include <QDateTime>

#include <cmath>
#include <cstring>

namespace script {

namespace {

// ---- calendar arithmetic -------------------------------------------------------------

int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = floorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int* y, int* m, int* d) {
    z += 719468;
    const int64_t era = floorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    *d = int(doy - (153 * mp + 2) / 5 + 1);
    *m = int(mp < 10 ? mp + 3 : mp - 9);
    *y = int(yoe + era * 400 + (*m <= 2));
}

const int64_t kEpoch = daysFromCivil(1899, 12, 30);

// Day number (0 = 1899-12-30) of a date.
int64_t dayNumber(int y, int m, int d) { return daysFromCivil(y, m, d) - kEpoch; }

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int daysInMonth(int y, int m) {
    static const int n[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : n[m - 1];
}

// OLE values below zero count the day backwards but the time forwards (-1.25 is
// 1899-12-29 06:00); "linear" values count both forwards.
double oleToLinear(double v) {
    if (v >= 0)
        return v;
    const double d = std::trunc(v);
    return d + (d - v);
}
double linearToOle(double t) {
    if (t >= 0)
        return t;
    const double d = std::floor(t);
    const double f = t - d;
    return f == 0 ? d : d - f;
}

// A date broken into its parts, time rounded to the second.
struct Parts {
    int64_t day = 0;   // day number
    int64_t secs = 0;  // since day start
    int y = 1899, m = 12, d = 30;
    int hh = 0, mm = 0, ss = 0;
};

int64_t totalSeconds(double ole) { return std::llround(oleToLinear(ole) * 86400.0); }

Parts split(double ole) {
    Parts p;
    const int64_t all = totalSeconds(ole);
    p.day = floorDiv(all, 86400);
    p.secs = all - p.day * 86400;
    civilFromDays(p.day + kEpoch, &p.y, &p.m, &p.d);
    p.hh = int(p.secs / 3600);
    p.mm = int(p.secs / 60 % 60);
    p.ss = int(p.secs % 60);
    return p;
}

double oleFromSeconds(int64_t secs) { return linearToOle(double(secs) / 86400.0); }

QString dateText(const Parts& p) {
    return QStringLiteral("%1/%2/%3").arg(p.y, 4, 10, QLatin1Char('0')).arg(p.m).arg(p.d);
}
QString timeText(const Parts& p) {
    return QStringLiteral("%1:%2:%3").arg(p.hh).arg(p.mm, 2, 10, QLatin1Char('0')).arg(p.ss, 2, 10, QLatin1Char('0'));
}

// ---- parsing date text ---------------------------------------------------------------

struct DateTok {
    enum Kind { Num, Month, Am, Pm, DateSep, Colon, Dot } kind;
    int value = 0;
    int digits = 0;
};

int monthFromWord(const QString& w) {
    static const char* names[] = {"january", "february", "march",     "april",   "may",      "june",
                                  "july",    "august",   "september", "october", "november", "december"};
    const QString k = w.toLower();
    for (int i = 0; i < 12; ++i) {
        const QLatin1String full(names[i]);
        if (k == full || (k.size() >= 3 && full.startsWith(k)))
            return i + 1;
    }
    return 0;
}

bool tokenize(const QString& s, std::vector<DateTok>* out) {
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c == u' ' || c == u'\t' || c == u',' || c == QChar(0x3000)) {
            ++i;
        } else if (c >= u'0' && c <= u'9') {
            qsizetype j = i;
            int64_t v = 0;
            while (j < n && s[j] >= u'0' && s[j] <= u'9') {
                v = v * 10 + (s[j].unicode() - '0');
                if (j - i > 8)
                    return false;
                ++j;
            }
            out->push_back({DateTok::Num, int(v), int(j - i)});
            i = j;
        } else if (c.isLetter() && c.unicode() < 128) {
            qsizetype j = i;
            while (j < n && s[j].isLetter() && s[j].unicode() < 128)
                ++j;
            const QString w = s.mid(i, j - i).toLower();
            if (w == QLatin1String("am") || w == QLatin1String("a"))
                out->push_back({DateTok::Am});
            else if (w == QLatin1String("pm") || w == QLatin1String("p"))
                out->push_back({DateTok::Pm});
            else if (int m = monthFromWord(w))
                out->push_back({DateTok::Month, m});
            else
                return false;
            i = j;
        } else if (c == u'上' && i + 1 < n && s[i + 1] == u'午') {
            out->push_back({DateTok::Am});
            i += 2;
        } else if (c == u'下' && i + 1 < n && s[i + 1] == u'午') {
            out->push_back({DateTok::Pm});
            i += 2;
        } else if (c == u'/' || c == u'-' || c == u'年' || c == u'月') {
            out->push_back({DateTok::DateSep});
            ++i;
        } else if (c == u'.') {
            out->push_back({DateTok::Dot});
            ++i;
        } else if (c == u':' || c == u'时' || c == u'点' || c == u'分') {
            out->push_back({DateTok::Colon});
            ++i;
        } else if (c == u'日' || c == u'号' || c == u'秒') {
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

int fullYear(int y, int digits) {
    if (digits <= 2)
        return y < 30 ? 2000 + y : 1900 + y;
    return y;
}

bool validDate(int y, int m, int d) { return y >= 100 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m); }

}  // namespace

bool ParseDateText(const QString& text, bool literal, double* ole) {
    std::vector<DateTok> t;
    if (!tokenize(text, &t) || t.empty())
        return false;
    // Time: number ':' number [':' number ['.' digits]] [AM|PM], or number AM|PM.
    bool hasTime = false;
    int hh = 0, mi = 0, ss = 0;
    std::vector<DateTok> rest;
    for (size_t i = 0; i < t.size(); ++i) {
        const bool colonTime = t[i].kind == DateTok::Num && i + 2 < t.size() && t[i + 1].kind == DateTok::Colon &&
                               t[i + 2].kind == DateTok::Num;
        const bool ampmTime = t[i].kind == DateTok::Num && i + 1 < t.size() &&
                              (t[i + 1].kind == DateTok::Am || t[i + 1].kind == DateTok::Pm);
        const bool ampmFirst = (t[i].kind == DateTok::Am || t[i].kind == DateTok::Pm) && i + 1 < t.size() &&
                               t[i + 1].kind == DateTok::Num;
        if (!hasTime && (colonTime || ampmTime || ampmFirst)) {
            hasTime = true;
            int ampm = 0;
            if (ampmFirst)
                ampm = t[i++].kind == DateTok::Am ? 1 : 2;
            hh = t[i].value;
            size_t j = i + 1;
            if (j + 1 < t.size() && t[j].kind == DateTok::Colon && t[j + 1].kind == DateTok::Num) {
                mi = t[j + 1].value;
                j += 2;
                if (j + 1 < t.size() && t[j].kind == DateTok::Colon && t[j + 1].kind == DateTok::Num) {
                    ss = t[j + 1].value;
                    j += 2;
                    if (j + 1 < t.size() && t[j].kind == DateTok::Dot && t[j + 1].kind == DateTok::Num)
                        j += 2;  // fractions of a second
                }
            }
            if (j < t.size() && t[j].kind == DateTok::Colon)  // "14时05分" ends with a unit
                ++j;
            if (!ampm && j < t.size() && (t[j].kind == DateTok::Am || t[j].kind == DateTok::Pm))
                ampm = t[j++].kind == DateTok::Am ? 1 : 2;
            if (ampm) {
                if (hh < 1 || hh > 12)
                    return false;
                hh = hh % 12 + (ampm == 2 ? 12 : 0);
            }
            if (hh > 23 || mi > 59 || ss > 59)
                return false;
            i = j - 1;
            continue;
        }
        rest.push_back(t[i]);
    }
    // Date: the numbers and a month name, separated by / - . or the Chinese units.
    std::vector<const DateTok*> nums;
    int monthWord = 0;
    for (size_t i = 0; i < rest.size(); ++i) {
        const DateTok& k = rest[i];
        if (k.kind == DateTok::Num)
            nums.push_back(&k);
        else if (k.kind == DateTok::Month && !monthWord)
            monthWord = k.value;
        else if (k.kind != DateTok::DateSep && k.kind != DateTok::Dot)
            return false;
        // Two numbers with no separator between them are not a date.
        if (i > 0 && k.kind == DateTok::Num && rest[i - 1].kind == DateTok::Num)
            return false;
    }
    int y = 0, m = 0, d = 0;
    bool hasDate = !nums.empty() || monthWord;
    const int thisYear = QDate::currentDate().year();
    auto isYear = [](const DateTok* k) { return k->digits >= 3 || k->value > 31; };
    if (monthWord) {
        m = monthWord;
        if (nums.size() == 2) {
            const DateTok* a = nums[0];
            const DateTok* b = nums[1];
            if (isYear(a))
                std::swap(a, b);
            d = a->value;
            y = fullYear(b->value, b->digits);
        } else if (nums.size() == 1) {
            if (isYear(nums[0])) {
                y = fullYear(nums[0]->value, nums[0]->digits);
                d = 1;
            } else {
                y = thisYear;
                d = nums[0]->value;
            }
        } else {
            return false;
        }
    } else if (nums.size() == 3) {
        const DateTok *a = nums[0], *b = nums[1], *c = nums[2];
        if (isYear(a)) {
            y = a->value, m = b->value, d = c->value;
        } else if (literal || isYear(c)) {
            y = fullYear(c->value, c->digits), m = a->value, d = b->value;
            if (!validDate(y, m, d))
                std::swap(m, d);
        } else {
            y = fullYear(a->value, a->digits), m = b->value, d = c->value;
        }
    } else if (nums.size() == 2) {
        const DateTok *a = nums[0], *b = nums[1];
        if (isYear(a)) {
            y = a->value, m = b->value, d = 1;
        } else if (isYear(b)) {
            y = fullYear(b->value, b->digits), m = a->value, d = 1;
        } else {
            y = thisYear, m = a->value, d = b->value;
            if (!validDate(y, m, d))
                std::swap(m, d);
        }
    } else if (!nums.empty()) {
        return false;
    }
    if (!hasDate && !hasTime)
        return false;
    int64_t day = 0;
    if (hasDate) {
        if (!validDate(y, m, d))
            return false;
        day = dayNumber(y, m, d);
    }
    *ole = oleFromSeconds(day * 86400 + hh * 3600 + mi * 60 + ss);
    return true;
}

QString FormatDateGeneral(double ole) {
    const Parts p = split(ole);
    if (p.day == 0)
        return timeText(p);
    if (p.secs == 0)
        return dateText(p);
    return dateText(p) + u' ' + timeText(p);
}

double ToOleDate(const Variant& v) {
    switch (v.type()) {
    case Variant::Null: Throw(94);
    case Variant::Date: return v.doubleValue();
    case Variant::String: {
        double d;
        if (!ParseDateText(v.stringValue(), false, &d))
            Throw(13);
        return d;
    }
    case Variant::Array: Throw(13);
    default: {
        const double d = v.toDouble();
        if (!(d > kMinOleDate - 1 && d < kMaxOleDate + 1))
            Throw(6);
        return d;
    }
    }
}

Variant Variant::makeDate(double oleDays) {
    if (!(oleDays > kMinOleDate - 1 && oleDays < kMaxOleDate + 1))
        Throw(6);
    Variant r;
    r.t_ = Date;
    r.d_ = oleDays;
    return r;
}

// ---- built-in functions --------------------------------------------------------------

namespace {

enum DateId {
    kDateFirst = 1000,
    FnDate = kDateFirst, FnTime, FnNow, FnTimer, FnDateSerial, FnTimeSerial, FnDateValue, FnTimeValue,
    FnYear, FnMonth, FnDay, FnHour, FnMinute, FnSecond, FnWeekday, FnWeekdayName, FnMonthName,
    FnDateAdd, FnDateDiff, FnDatePart, FnFormatDateTime, FnIsDate, FnCDate, FnRnd, FnRandomize,
};

const QHash<QString, BuiltinInfo>& dateTable() {
    static const QHash<QString, BuiltinInfo> t = {
        {"date", {FnDate, 0, 0}}, {"time", {FnTime, 0, 0}}, {"now", {FnNow, 0, 0}}, {"timer", {FnTimer, 0, 0}},
        {"dateserial", {FnDateSerial, 3, 3}}, {"timeserial", {FnTimeSerial, 3, 3}},
        {"datevalue", {FnDateValue, 1, 1}}, {"timevalue", {FnTimeValue, 1, 1}}, {"year", {FnYear, 1, 1}},
        {"month", {FnMonth, 1, 1}}, {"day", {FnDay, 1, 1}}, {"hour", {FnHour, 1, 1}},
        {"minute", {FnMinute, 1, 1}}, {"second", {FnSecond, 1, 1}}, {"weekday", {FnWeekday, 1, 2}},
        {"weekdayname", {FnWeekdayName, 1, 3}}, {"monthname", {FnMonthName, 1, 2}},
        {"dateadd", {FnDateAdd, 3, 3}}, {"datediff", {FnDateDiff, 3, 5}}, {"datepart", {FnDatePart, 2, 4}},
        {"formatdatetime", {FnFormatDateTime, 1, 2}}, {"isdate", {FnIsDate, 1, 1}}, {"cdate", {FnCDate, 1, 1}},
        {"rnd", {FnRnd, 0, 1}}, {"randomize", {FnRandomize, 0, 1}},
    };
    return t;
}

int32_t whole(const Variant& v) {
    if (v.isNull())
        Throw(94);
    return v.toLong();
}

// First day of the week argument: 1 = Sunday .. 7 = Saturday; 0 is the system's, Monday on a
// Chinese system.
int firstDay(const std::vector<Variant>& a, size_t i, int fallback = 1) {
    if (i >= a.size() || a[i].isEmpty())
        return fallback;
    const int f = whole(a[i]);
    if (f < 0 || f > 7)
        Throw(5);
    return f == 0 ? 2 : f;
}

int firstWeek(const std::vector<Variant>& a, size_t i) {
    if (i >= a.size() || a[i].isEmpty())
        return 1;
    const int f = whole(a[i]);
    if (f < 0 || f > 3)
        Throw(5);
    return f == 0 ? 1 : f;
}

// 1 = Sunday .. 7 = Saturday of a day number (day 0 was a Saturday).
int sundayWeekday(int64_t day) { return int(((day + 6) % 7 + 7) % 7) + 1; }
int weekdayFrom(int64_t day, int first) { return (sundayWeekday(day) - first + 7) % 7 + 1; }

int weekOfYear(const Parts& p, int first, int rule) {
    const int64_t jan1 = dayNumber(p.y, 1, 1);
    const int w1 = weekdayFrom(jan1, first);  // position of Jan 1 in its week, 1..7
    const int64_t doy = p.day - jan1;
    int week = int((doy + w1 - 1) / 7) + 1;
    if ((rule == 2 && w1 > 4) || (rule == 3 && w1 > 1))
        --week;
    if (week == 0) {
        Parts prev;
        prev.day = jan1 - 1;
        civilFromDays(prev.day + kEpoch, &prev.y, &prev.m, &prev.d);
        return weekOfYear(prev, first, rule);
    }
    return week;
}

enum class Unit { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Unit unitOf(const Variant& v) {
    const QString s = v.toString().toLower();
    if (s == QLatin1String("yyyy")) return Unit::Year;
    if (s == QLatin1String("q")) return Unit::Quarter;
    if (s == QLatin1String("m")) return Unit::Month;
    if (s == QLatin1String("y")) return Unit::DayOfYear;
    if (s == QLatin1String("d")) return Unit::Day;
    if (s == QLatin1String("w")) return Unit::Weekday;
    if (s == QLatin1String("ww")) return Unit::Week;
    if (s == QLatin1String("h")) return Unit::Hour;
    if (s == QLatin1String("n")) return Unit::Minute;
    if (s == QLatin1String("s")) return Unit::Second;
    Throw(5);
}

Variant dateResult(double ole, int err = 5) {
    if (!(ole > kMinOleDate - 1 && ole < kMaxOleDate + 1))
        Throw(err);
    return Variant::makeDate(ole);
}

Variant addMonths(const Parts& p, int64_t months) {
    const int64_t total = int64_t(p.y) * 12 + (p.m - 1) + months;
    const int64_t y = floorDiv(total, 12);
    const int m = int(total - y * 12) + 1;
    if (y < 100 || y > 9999)
        Throw(5);
    const int d = std::min(p.d, daysInMonth(int(y), m));
    return dateResult(oleFromSeconds(dayNumber(int(y), m, d) * 86400 + p.secs));
}

Variant dateAdd(const std::vector<Variant>& a) {
    const Unit u = unitOf(a[0]);
    if (a[1].isNull() || a[2].isNull())
        Throw(94);
    const double n = std::nearbyint(a[1].toDouble());
    if (std::fabs(n) > 1e12)
        Throw(5);
    const Parts p = split(ToOleDate(a[2]));
    const int64_t k = int64_t(n);
    const int64_t secs = p.day * 86400 + p.secs;
    switch (u) {
    case Unit::Year: return addMonths(p, k * 12);
    case Unit::Quarter: return addMonths(p, k * 3);
    case Unit::Month: return addMonths(p, k);
    case Unit::DayOfYear: case Unit::Day: case Unit::Weekday: return dateResult(oleFromSeconds(secs + k * 86400));
    case Unit::Week: return dateResult(oleFromSeconds(secs + k * 7 * 86400));
    case Unit::Hour: return dateResult(oleFromSeconds(secs + k * 3600));
    case Unit::Minute: return dateResult(oleFromSeconds(secs + k * 60));
    case Unit::Second: return dateResult(oleFromSeconds(secs + k));
    }
    return Variant();
}

Variant dateDiff(const std::vector<Variant>& a) {
    const Unit u = unitOf(a[0]);
    if (a[1].isNull() || a[2].isNull())
        return Variant::makeNull();
    const Parts p = split(ToOleDate(a[1])), q = split(ToOleDate(a[2]));
    const int first = firstDay(a, 3);
    int64_t r = 0;
    const int64_t s1 = p.day * 86400 + p.secs, s2 = q.day * 86400 + q.secs;
    switch (u) {
    case Unit::Year: r = q.y - p.y; break;
    case Unit::Quarter: r = (q.y * 4 + (q.m - 1) / 3) - (p.y * 4 + (p.m - 1) / 3); break;
    case Unit::Month: r = (q.y * 12 + q.m) - (p.y * 12 + p.m); break;
    case Unit::DayOfYear: case Unit::Day: r = q.day - p.day; break;
    case Unit::Weekday: r = (q.day - p.day) / 7; break;
    case Unit::Week: {
        // Week starts crossed: days are counted from the chosen first day of the week.
        // day 1 (1899-12-31) was a Sunday, so weeks starting on `first` begin at days = first mod 7
        r = floorDiv(q.day - first, 7) - floorDiv(p.day - first, 7);
        break;
    }
    case Unit::Hour: r = floorDiv(s2, 3600) - floorDiv(s1, 3600); break;
    case Unit::Minute: r = floorDiv(s2, 60) - floorDiv(s1, 60); break;
    case Unit::Second: r = s2 - s1; break;
    }
    if (r < INT32_MIN || r > INT32_MAX)
        return Variant::makeDouble(double(r));
    return Variant::makeLong(int32_t(r));
}

Variant datePart(const std::vector<Variant>& a) {
    const Unit u = unitOf(a[0]);
    if (a[1].isNull())
        return Variant::makeNull();
    const Parts p = split(ToOleDate(a[1]));
    const int first = firstDay(a, 2);
    int r = 0;
    switch (u) {
    case Unit::Year: r = p.y; break;
    case Unit::Quarter: r = (p.m - 1) / 3 + 1; break;
    case Unit::Month: r = p.m; break;
    case Unit::DayOfYear: r = int(p.day - dayNumber(p.y, 1, 1)) + 1; break;
    case Unit::Day: r = p.d; break;
    case Unit::Weekday: r = weekdayFrom(p.day, first); break;
    case Unit::Week: r = weekOfYear(p, first, firstWeek(a, 3)); break;
    case Unit::Hour: r = p.hh; break;
    case Unit::Minute: r = p.mm; break;
    case Unit::Second: r = p.ss; break;
    }
    return Variant::makeInteger(int16_t(r));
}

Variant formatDateTime(const std::vector<Variant>& a) {
    if (a[0].isNull())
        Throw(94);
    const double ole = ToOleDate(a[0]);
    const int f = a.size() > 1 ? whole(a[1]) : 0;
    const Parts p = split(ole);
    switch (f) {
    case 0: return Variant(FormatDateGeneral(ole));
    case 1: return Variant(QStringLiteral("%1年%2月%3日").arg(p.y).arg(p.m).arg(p.d));
    case 2: return Variant(dateText(p));
    case 3: return Variant(timeText(p));
    case 4: return Variant(QStringLiteral("%1:%2").arg(p.hh, 2, 10, QLatin1Char('0')).arg(p.mm, 2, 10, QLatin1Char('0')));
    default: Throw(5);
    }
}

// Parts of a date argument; Null gives Null.
Variant part(const Variant& v, int Parts::*field, bool time) {
    if (v.isNull())
        return v;
    const Parts p = split(ToOleDate(v));
    (void)time;
    return Variant::makeInteger(int16_t(p.*field));
}

double nowOle() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return double(dayNumber(d.year(), d.month(), d.day())) + (t.msecsSinceStartOfDay() / 1000) / 86400.0;
}

float timerValue() {
    // Seconds since midnight, to the hundredth.
    const int ms = QTime::currentTime().msecsSinceStartOfDay();
    return float(ms / 10) / 100.0f;
}

// ---- Rnd: the classic 24-bit linear congruential generator ---------------------------

uint32_t floatBits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

void rndStep(uint32_t& x) { x = (x * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu; }
float rndValue(uint32_t x) { return float(x) / 16777216.0f; }

void reseed(uint32_t& x, uint32_t highBits) {
    x = (x & 0xFF0000FFu) | ((((highBits & 0xFFFFu) ^ (highBits >> 16)) & 0xFFFFu) << 8);
}

Variant rnd(Interp& I, const std::vector<Variant>& a) {
    uint32_t& x = I.rndState;
    if (a.empty()) {
        rndStep(x);
    } else {
        if (a[0].isNull())
            Throw(94);
        const double n = a[0].toDouble();
        if (std::fabs(n) > 3.4028234663852886e38)
            Throw(6);  // the argument is a Single
        if (n < 0) {
            uint32_t b = floatBits(float(n));
            x = (b + (b >> 24)) & 0xFFFFFFu;
            rndStep(x);
        } else if (n > 0) {
            rndStep(x);
        }
    }
    return Variant::makeSingle(rndValue(x));
}

void randomize(Interp& I, const std::vector<Variant>& a) {
    if (a.empty() || a[0].isEmpty()) {
        reseed(I.rndState, floatBits(timerValue()));
        return;
    }
    if (a[0].isNull())
        Throw(94);
    const double v = a[0].toDouble();
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    reseed(I.rndState, uint32_t(bits >> 32));
}

const char16_t* const kWeekdayNames[] = {u"星期日", u"星期一", u"星期二", u"星期三", u"星期四", u"星期五", u"星期六"};
const char16_t* const kWeekdayShort[] = {u"周日", u"周一", u"周二", u"周三", u"周四", u"周五", u"周六"};
const char16_t* const kMonthNames[] = {u"一月", u"二月", u"三月", u"四月", u"五月", u"六月",
                                       u"七月", u"八月", u"九月", u"十月", u"十一月", u"十二月"};

}  // namespace

const BuiltinInfo* FindDateBuiltin(const QString& key) {
    return FindIn(dateTable(), key);
}

Variant CallDateBuiltin(Interp& I, int id, std::vector<Variant>& a) {
    switch (DateId(id)) {
    case FnNow: return Variant::makeDate(nowOle());
    case FnDate: return Variant::makeDate(std::floor(nowOle()));
    case FnTime: {
        const double n = nowOle();
        return Variant::makeDate(n - std::floor(n));
    }
    case FnTimer: return Variant::makeSingle(timerValue());
    case FnDateSerial: {
        int64_t y = whole(a[0]);
        const int64_t m = whole(a[1]), d = whole(a[2]);
        if (y >= 0 && y < 100)
            y = y < 30 ? 2000 + y : 1900 + y;
        const int64_t total = y * 12 + (m - 1);
        const int64_t yy = floorDiv(total, 12);
        const int mm = int(total - yy * 12) + 1;
        if (yy < -10000 || yy > 20000)
            Throw(5);
        return dateResult(double(dayNumber(int(yy), mm, 1) + (d - 1)));
    }
    case FnTimeSerial: {
        const int64_t secs = int64_t(whole(a[0])) * 3600 + int64_t(whole(a[1])) * 60 + whole(a[2]);
        return dateResult(oleFromSeconds(secs));
    }
    case FnDateValue: case FnTimeValue: {
        if (a[0].isNull())
            return a[0];
        const Parts p = split(ToOleDate(a[0]));
        return Variant::makeDate(id == FnDateValue ? double(p.day) : oleFromSeconds(p.secs));
    }
    case FnYear: return part(a[0], &Parts::y, false);
    case FnMonth: return part(a[0], &Parts::m, false);
    case FnDay: return part(a[0], &Parts::d, false);
    case FnHour: return part(a[0], &Parts::hh, true);
    case FnMinute: return part(a[0], &Parts::mm, true);
    case FnSecond: return part(a[0], &Parts::ss, true);
    case FnWeekday: {
        if (a[0].isNull())
            return a[0];
        const Parts p = split(ToOleDate(a[0]));
        return Variant::makeInteger(int16_t(weekdayFrom(p.day, firstDay(a, 1))));
    }
    case FnWeekdayName: {
        const int wd = whole(a[0]);
        const bool abbrev = a.size() > 1 && !a[1].isEmpty() && a[1].toBool();
        const int first = firstDay(a, 2);
        if (wd < 1 || wd > 7)
            Throw(5);
        const int sunday0 = (wd - 1 + first - 1) % 7;
        return Variant(QString::fromUtf16(abbrev ? kWeekdayShort[sunday0] : kWeekdayNames[sunday0]));
    }
    case FnMonthName: {
        const int m = whole(a[0]);
        const bool abbrev = a.size() > 1 && !a[1].isEmpty() && a[1].toBool();
        if (m < 1 || m > 12)
            Throw(5);
        return Variant(abbrev ? QStringLiteral("%1月").arg(m) : QString::fromUtf16(kMonthNames[m - 1]));
    }
    case FnDateAdd: return dateAdd(a);
    case FnDateDiff: return dateDiff(a);
    case FnDatePart: return datePart(a);
    case FnFormatDateTime: return formatDateTime(a);
    case FnIsDate: {
        if (a[0].isDate())
            return Variant(true);
        double d;
        return Variant(a[0].isString() && ParseDateText(a[0].stringValue(), false, &d));
    }
    case FnCDate: return Variant::makeDate(ToOleDate(a[0]));
    case FnRnd: return rnd(I, a);
    case FnRandomize: randomize(I, a); return Variant();
    }
    return Variant();
}

}  // namespace script
