#pragma once
// Dates and times of the script language: OLE automation day numbers (days since
// 1899-12-30, time as the fraction), their text as a Chinese (zh-CN) system shows it,
// and the parsing of date text. Internal to the engine.
#include "variant.h"

#include <QString>

namespace script {

// Smallest and largest OLE values of a Date (years 100 .. 9999).
constexpr double kMinOleDate = -657434.0;
constexpr double kMaxOleDate = 2958465.0;  // whole days; times of that day are below kMaxOleDate + 1

// "2026/12/10 14:05:09"; a zero time shows only the date, a zero date only the time.
QString FormatDateGeneral(double ole);
// Parses date and/or time text. A literal (#...#) reads month/day/year; other text follows
// the Chinese order year/month/day and falls back to month/day/year. False if not a date.
bool ParseDateText(const QString& text, bool literal, double* ole);
// The value CDate gives: a Date, a number, or date text; throws 13 otherwise, 94 for Null.
double ToOleDate(const Variant& v);

}  // namespace script
