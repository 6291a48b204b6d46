// Dates as plain numbers and text: calendar arithmetic on OLE day numbers, the text of a
// Date, and the parsing of date text. The date functions themselves are in datefunctions.cpp.
#include "datetime.h"

#include <QDate>

#include <cmath>
#include <utility>
#include <vector>

namespace script {

namespace dates {

// ---- calendar arithmetic -------------------------------------------------------------

// Days from 1970-01-01 of a proleptic Gregorian date.
constexpr int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
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

static_assert(kEpoch == daysFromCivil(1899, 12, 30));

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

}  // namespace dates

namespace {

using dates::dateText;
using dates::dayNumber;
using dates::daysInMonth;
using dates::oleFromSeconds;
using dates::Parts;
using dates::split;
using dates::timeText;

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

struct TimeOfDay {
    bool present = false;
    int hour = 0, minute = 0, second = 0;
};

// Takes the first time out of the tokens and leaves the others in *rest; false when the time
// is out of range.
bool takeTime(const std::vector<DateTok>& t, TimeOfDay* time, std::vector<DateTok>* rest) {
    // Time: number ':' number [':' number ['.' digits]] [AM|PM], or number AM|PM.
    for (size_t i = 0; i < t.size(); ++i) {
        const bool colonTime = t[i].kind == DateTok::Num && i + 2 < t.size() && t[i + 1].kind == DateTok::Colon &&
                               t[i + 2].kind == DateTok::Num;
        const bool ampmTime = t[i].kind == DateTok::Num && i + 1 < t.size() &&
                              (t[i + 1].kind == DateTok::Am || t[i + 1].kind == DateTok::Pm);
        const bool ampmFirst = (t[i].kind == DateTok::Am || t[i].kind == DateTok::Pm) && i + 1 < t.size() &&
                               t[i + 1].kind == DateTok::Num;
        if (!time->present && (colonTime || ampmTime || ampmFirst)) {
            time->present = true;
            int ampm = 0;
            if (ampmFirst)
                ampm = t[i++].kind == DateTok::Am ? 1 : 2;
            time->hour = t[i].value;
            size_t j = i + 1;
            if (j + 1 < t.size() && t[j].kind == DateTok::Colon && t[j + 1].kind == DateTok::Num) {
                time->minute = t[j + 1].value;
                j += 2;
                if (j + 1 < t.size() && t[j].kind == DateTok::Colon && t[j + 1].kind == DateTok::Num) {
                    time->second = t[j + 1].value;
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
                if (time->hour < 1 || time->hour > 12)
                    return false;
                time->hour = time->hour % 12 + (ampm == 2 ? 12 : 0);
            }
            if (time->hour > 23 || time->minute > 59 || time->second > 59)
                return false;
            i = j - 1;
            continue;
        }
        rest->push_back(t[i]);
    }
    return true;
}

struct CalendarDate {
    bool present = false;
    int year = 0, month = 0, day = 0;
};

// The date of the tokens beside the time: the numbers and a month name, in the order the
// years, months and days can be told apart; false when they make no date.
bool readDate(const std::vector<DateTok>& rest, bool literal, CalendarDate* date) {
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
    int& y = date->year;
    int& m = date->month;
    int& d = date->day;
    date->present = !nums.empty() || monthWord;
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
    return true;
}

}  // namespace

bool ParseDateText(const QString& text, bool literal, double* ole) {
    std::vector<DateTok> t;
    if (!tokenize(text, &t) || t.empty())
        return false;
    TimeOfDay time;
    std::vector<DateTok> rest;
    if (!takeTime(t, &time, &rest))
        return false;
    CalendarDate date;
    if (!readDate(rest, literal, &date))
        return false;
    if (!date.present && !time.present)
        return false;
    int64_t day = 0;
    if (date.present) {
        if (!validDate(date.year, date.month, date.day))
            return false;
        day = dayNumber(date.year, date.month, date.day);
    }
    *ole = oleFromSeconds(day * 86400 + time.hour * 3600 + time.minute * 60 + time.second);
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

}  // namespace script
