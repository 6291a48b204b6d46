#pragma once
// The version check of the start road: the local version log updatelog.txt against the home
// server's copy (downloaded as updatebak.txt), and the start-up error message.
#include <QString>

namespace startup {

// Error numbers shown after "错误代码：".
enum ErrorCode {
    kErrOverflow = 6,         // version outside the signed 16-bit range
    kErrTypeMismatch = 13,    // version line is no number
    kErrFileNotFound = 53,    // a file is missing (the updater, the local version log)
    kErrPastEndOfFile = 62,   // a version log with fewer than two lines
    kErrPathFileAccess = 75,  // a file cannot be read or written (draw files)
};

struct StartError {
    int code = 0;  // 0: no error
    QString description;
    bool isError() const { return code != 0; }
};

// Line 1 of a version log: blanks trimmed, converted to a signed 16-bit integer (a fraction is
// rounded, halves to even). False with the error when it is no number or out of range.
bool ParseVersionLine(const QString& line, int* version, StartError* error = nullptr);
// Reads a version log (code page 936, at least two lines) and its version.
bool ReadVersionLog(const QString& path, int* version, StartError* error = nullptr);

// The start road's version check: downloads the home server's /3d/updatelog.txt to
// updatebak.txt and compares it with the local updatelog.txt. False without error when no home server is set or it cannot be
// reached; false with *error when a version log is missing or malformed.
bool ServerHasNewerVersion(StartError* error = nullptr);

// "错误描述：" description, line break, "错误代码：" number.
QString StartErrorText(const StartError& error);
// The description shown when the updater cannot be found.
QString UpdaterMissingText();

// Web.htm, written at every start: a page that retries the board page every second.
QString WebPageText();
bool WriteWebPage(QString* error = nullptr);

}  // namespace startup
