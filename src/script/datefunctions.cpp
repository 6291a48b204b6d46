// The date and time functions of the language (Date, DateAdd, FormatDateTime ...), Timer,
// Rnd and Randomize, on the calendar arithmetic of datetime.h.
#include "builtins.h"
#include "datetime.h"
#include "nodes.h"

#include <QDateTime>

#include <cmath>
#include <cstring>

namespace script {

namespace {

using dates::civilFromDays;
using dates::dateText;
using dates::dayNumber;
using dates::daysInMonth;
using dates::floorDiv;
using dates::kEpoch;
using dates::oleFromSeconds;
using dates::Parts;
using dates::split;
using dates::timeText;

// The value CDate gives: a Date, a number, or date text; throws 13 otherwise, 94 for Null.
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

// First day of the week argument: 1 = Sunday .. 7 = Saturday; 0 is the system's, Monday on a
// Chinese system.
int firstDay(const std::vector<Variant>& a, size_t i, int fallback = 1) {
    if (i >= a.size() || a[i].isEmpty())
        return fallback;
    const int f = IntArgument(a[i]);
    if (f < 0 || f > 7)
        Throw(5);
    return f == 0 ? 2 : f;
}

int firstWeek(const std::vector<Variant>& a, size_t i) {
    if (i >= a.size() || a[i].isEmpty())
        return 1;
    const int f = IntArgument(a[i]);
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
    if (a[1].isNull())
        Throw(94);
    if (a[2].isNull())
        return a[2];
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
    // Both week arguments are checked whether the unit needs them or not.
    const int first = firstDay(a, 3);
    firstWeek(a, 4);
    if (a[1].isNull() || a[2].isNull())
        return Variant::makeNull();
    const Parts p = split(ToOleDate(a[1])), q = split(ToOleDate(a[2]));
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
        Throw(13);
    const double ole = ToOleDate(a[0]);
    const int f = a.size() > 1 ? IntArgument(a[1]) : 0;
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

Variant Time(Interp&, BuiltinArgs&) {
    const double n = nowOle();
    return Variant::makeDate(n - std::floor(n));
}

Variant DateSerial(Interp&, BuiltinArgs& a) {
    int64_t y = IntArgument(a[0]);
    const int64_t m = IntArgument(a[1]), d = IntArgument(a[2]);
    if (y >= 0 && y < 100)
        y = y < 30 ? 2000 + y : 1900 + y;
    const int64_t total = y * 12 + (m - 1);
    const int64_t yy = floorDiv(total, 12);
    const int mm = int(total - yy * 12) + 1;
    if (yy < -10000 || yy > 20000)
        Throw(5);
    return dateResult(double(dayNumber(int(yy), mm, 1) + (d - 1)));
}

Variant TimeSerial(Interp&, BuiltinArgs& a) {
    const int64_t secs = int64_t(IntArgument(a[0])) * 3600 + int64_t(IntArgument(a[1])) * 60 + IntArgument(a[2]);
    return dateResult(oleFromSeconds(secs));
}

Variant dateOrTimeValue(BuiltinArgs& a, bool date) {
    // Text or a Date only: a number is no date to read.
    if (a[0].isNumeric() && !a[0].isEmpty())
        Throw(13);
    const Parts p = split(ToOleDate(a[0]));
    return Variant::makeDate(date ? double(p.day) : oleFromSeconds(p.secs));
}

Variant Weekday(Interp&, BuiltinArgs& a) {
    const int first = firstDay(a, 1);  // checked even for a Null date
    if (a[0].isNull())
        return a[0];
    const Parts p = split(ToOleDate(a[0]));
    return Variant::makeInteger(int16_t(weekdayFrom(p.day, first)));
}

Variant WeekdayName(Interp&, BuiltinArgs& a) {
    const int wd = IntArgument(a[0]);
    const bool abbrev = a.size() > 1 && !a[1].isEmpty() && a[1].toBool();
    const int first = firstDay(a, 2);
    if (wd < 1 || wd > 7)
        Throw(5);
    const int sunday0 = (wd - 1 + first - 1) % 7;
    return Variant(QString::fromUtf16(abbrev ? kWeekdayShort[sunday0] : kWeekdayNames[sunday0]));
}

Variant MonthName(Interp&, BuiltinArgs& a) {
    // The abbreviation flag is read first: a Null one is 94 whatever the month is.
    const bool abbrev = a.size() > 1 && !a[1].isEmpty() && a[1].toBool();
    const int m = IntArgument(a[0]);
    if (m < 1 || m > 12)
        Throw(5);
    return Variant(abbrev ? QStringLiteral("%1月").arg(m) : QString::fromUtf16(kMonthNames[m - 1]));
}

Variant IsDate(Interp&, BuiltinArgs& a) {
    if (a[0].isDate())
        return Variant(true);
    double d;
    return Variant(a[0].isString() && ParseDateText(a[0].stringValue(), false, &d));
}

Variant CDate(Interp&, BuiltinArgs& a) {
    // Text that is no date but a number converts as the number ("1" is 1899/12/31).
    double day;
    if (a[0].isString() && !ParseDateText(a[0].stringValue(), false, &day) && ParseNumber(a[0].stringValue(), &day))
        return Variant::makeDate(ToOleDate(Variant::makeDouble(day)));
    return Variant::makeDate(ToOleDate(a[0]));
}

using A = BuiltinArgs;

const Builtin kDate[] = {
    {"date", 0, 0, [](Interp&, A&) { return Variant::makeDate(std::floor(nowOle())); }},
    {"time", 0, 0, Time},
    {"now", 0, 0, [](Interp&, A&) { return Variant::makeDate(nowOle()); }},
    {"timer", 0, 0, [](Interp&, A&) { return Variant::makeSingle(timerValue()); }},
    {"dateserial", 3, 3, DateSerial},
    {"timeserial", 3, 3, TimeSerial},
    {"datevalue", 1, 1, [](Interp&, A& a) { return dateOrTimeValue(a, true); }},
    {"timevalue", 1, 1, [](Interp&, A& a) { return dateOrTimeValue(a, false); }},
    {"year", 1, 1, [](Interp&, A& a) { return part(a[0], &Parts::y, false); }},
    {"month", 1, 1, [](Interp&, A& a) { return part(a[0], &Parts::m, false); }},
    {"day", 1, 1, [](Interp&, A& a) { return part(a[0], &Parts::d, false); }},
    {"hour", 1, 1, [](Interp&, A& a) { return part(a[0], &Parts::hh, true); }},
    {"minute", 1, 1, [](Interp&, A& a) { return part(a[0], &Parts::mm, true); }},
    {"second", 1, 1, [](Interp&, A& a) { return part(a[0], &Parts::ss, true); }},
    {"weekday", 1, 2, Weekday},
    {"weekdayname", 1, 3, WeekdayName},
    {"monthname", 1, 2, MonthName},
    {"dateadd", 3, 3, [](Interp&, A& a) { return dateAdd(a); }},
    {"datediff", 3, 5, [](Interp&, A& a) { return dateDiff(a); }},
    {"datepart", 2, 4, [](Interp&, A& a) { return datePart(a); }},
    {"formatdatetime", 1, 2, [](Interp&, A& a) { return formatDateTime(a); }},
    {"isdate", 1, 1, IsDate},
    {"cdate", 1, 1, CDate},
    {"rnd", 0, 1, [](Interp& I, A& a) { return rnd(I, a); }},
    {"randomize", 0, 1, [](Interp& I, A& a) { randomize(I, a); return Variant(); }},
};

}  // namespace

std::span<const Builtin> DateBuiltins() {
    return kDate;
}

}  // namespace script
