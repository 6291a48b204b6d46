#pragma once
// Plain logic of the number-set tools: reading number files, occurrence counts over several
// files, cutting by a range of counts, and collecting numbers from free text.
#include <QString>
#include <QStringList>

#include <array>
#include <bitset>

namespace dialogs {

using NumberMarks = std::bitset<1000>;
using OccurrenceCounts = std::array<int, 1000>;

// Reads a number file (code page 936) and marks every number it holds. False when the file
// cannot be read, with its path and the reason (two lines) in error; marks are then untouched.
bool ReadNumberFile(const QString& path, NumberMarks* marks, QString* error);

// Counts, for each number, in how many of the files it occurs (at most one per file).
// False with the first unreadable file's error; counts are then untouched.
bool CountOccurrences(const QStringList& paths, OccurrenceCounts* counts, QString* error);

// Numbers "000".."999" whose count lies in low..high, ascending.
QStringList NumbersInRange(const OccurrenceCounts& counts, int low, int high);

// Numbers read out of text in reading order; without keepRepeats only the first occurrence.
QStringList CollectFromText(const QString& text, bool keepRepeats);

// The most entries the workbench's pool takes from one collection.
inline constexpr int kMaxPoolEntries = 32767;

// The text without leading and trailing space characters (line breaks and tabs stay).
QString TrimBlanks(const QString& text);

// "共计 " N " 个文件参与运算,统计数据 " m " 注。"
QString CountSummary(int files, const OccurrenceCounts& counts);

}  // namespace dialogs
