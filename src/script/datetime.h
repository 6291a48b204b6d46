#pragma once
// Dates and times of the script language: OLE automation day numbers (days since
// 1899-12-30, time as the fraction), their text as a Chinese (zh-CN) system shows it, and
// the parsing of date text. Plain numbers and text, no Variant, so that the value type can
// show a Date without reaching the date functions (datefunctions.cpp). Internal to the engine.
#include <QString>

#include <cstdint>

namespace script {

// Smallest and largest OLE values of a Date (years 100 .. 9999).
constexpr double kMinOleDate = -657434.0;
constexpr double kMaxOleDate = 2958465.0;  // whole days; times of that day are below kMaxOleDate + 1

// "2026/12/10 14:05:09"; a zero time shows only the date, a zero date only the time.
QString FormatDateGeneral(double ole);
// Parses date and/or time text. A literal (#...#) reads month/day/year; other text follows
// the Chinese order year/month/day and falls back to month/day/year. False if not a date.
bool ParseDateText(const QString& text, bool literal, double* ole);

// The calendar arithmetic the date functions build on.
namespace dates {

// Day 0 of a Date (1899-12-30) counted in days from 1970-01-01.
constexpr int64_t kEpoch = -25569;

// Division rounding towards minus infinity.
constexpr int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}
// Year, month, day of a day counted from 1970-01-01 (proleptic Gregorian).
void civilFromDays(int64_t z, int* y, int* m, int* d);
// Day number (0 = 1899-12-30) of a date.
int64_t dayNumber(int y, int m, int d);
int daysInMonth(int y, int m);

// A date broken into its parts, time rounded to the second.
struct Parts {
    int64_t day = 0;   // day number
    int64_t secs = 0;  // since day start
    int y = 1899, m = 12, d = 30;
    int hh = 0, mm = 0, ss = 0;
};
Parts split(double ole);
// The OLE value of a count of seconds from day 0.
double oleFromSeconds(int64_t secs);
// "2026/12/10" and "14:05:09".
QString dateText(const Parts& p);
QString timeText(const Parts& p);

}  // namespace dates

}  // namespace script
