#pragma once
// Draw files (HAO.TXT, HAOP3.TXT, and the temporary HAOBAK.TXT and FLAG.TXT): nothing but
// 12-byte records, oldest first: an 11-character DrawText, then the flag "1" for a valid draw.
#include "common/drawhistory.h"

namespace common {
class AppState;
}  // namespace common

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace history {

inline constexpr int kRecordLength = 12;

struct DrawRecord {
    QString drawText;   // 11 characters
    QChar validFlag;    // '1' for a valid draw
};

// Encodes one record: the text's code page 936 bytes padded or cut to 11 (never inside a
// double-byte character), then the flag "1".
QByteArray EncodeDrawRecord(const QString& drawText);
// Every whole record of the bytes (a trailing partial record is not a record).
QList<DrawRecord> DecodeDrawRecords(const QByteArray& bytes);
// The text of every whole record of the bytes, in file order, whatever its flag (the scheme
// calculator reads a draw file so).
QStringList AllDrawTexts(const QByteArray& bytes);
// The valid draws (flag exactly "1") of the bytes, in file order. A record flagged valid whose
// issue or number is not digits is damaged: left out like a withdrawn one and counted in
// *damaged.
QStringList ValidDrawTexts(const QByteArray& bytes, int* damaged = nullptr);

// The bytes of a draw file, without creating it: a missing file reads as empty. False with a
// message when it cannot be read, and for a folder of that name.
bool ReadDrawFileBytes(const QString& path, QByteArray* bytes, QString* error = nullptr);
// Whether new draws may go into the draw file at path (a missing one may be created). False with
// a message for a folder of that name and for a file the user made read-only: its permission
// bits are read, since an administrator's writes would pass a plain permission check.
bool CheckDrawFileWritable(const QString& path, QString* error = nullptr);
// Reads a draw file whole. A missing file is created empty and reads as no draws.
// False with a message when the file cannot be read.
bool ReadDrawFile(const QString& path, QStringList* validDraws, QString* error = nullptr, int* damaged = nullptr);
// Damaged records (see ValidDrawTexts) of a draw file; 0 for a missing or unreadable file.
int CountDamagedRecords(const QString& path);
// The start-up notice naming each file with damaged records and how many; empty when none.
// Nothing is written: the records stay in the file.
QString DamagedRecordsNotice(const QStringList& paths);
// Replaces the whole file by the given draws (atomically).
bool WriteDrawFile(const QString& path, const QStringList& drawTexts, QString* error = nullptr);
// Appends draws after the last whole record, over a trailing partial one (the file is
// rewritten through a temporary file, so a failure leaves it as it was). A folder or a read-only
// file (CheckDrawFileWritable) is left alone and is an error.
bool AppendDrawRecords(const QString& path, const QStringList& drawTexts, QString* error = nullptr);
// The last record's DrawText, whatever its flag; empty for an empty or missing file.
QString LastDrawText(const QString& path);
// The issue of the last record, whatever its flag; damaged records (see ValidDrawTexts) are
// passed over.
QString LastIssue(const QString& path);
// True when the bytes are a well-formed draw file: a positive multiple of 12 long and every
// record "IIIIIII DDD" followed by a flag byte (whatever its value).
bool IsValidDrawFileContent(const QByteArray& bytes);

// Replaces state's history by the valid draws of its drawFilePath, which the state announces
// (historyReloaded). Returns false (history emptied) with a message when the file cannot be read.
bool LoadDrawHistory(common::AppState& state, QString* error = nullptr);

}  // namespace history
